// Helpers the fuzz targets share: the input in the forms the readers take, and an empty working folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class TMemBuffer;
class TStringContainer;

namespace fuzz {

// The input as the bytes of a memory buffer, read position 0.
void FillBuffer(TMemBuffer& buffer, const uint8_t* data, size_t size);
// A FILE stream over the input, positioned at its start; the caller closes
// it. Null only when the C library cannot make one.
FILE* OpenStream(const uint8_t* data, size_t size);
// The input's lines, split as a text file is (LF ends a line, CR LF too).
void SplitLines(const uint8_t* data, size_t size, TStringContainer& lines);
// The input as one string, zero bytes included.
inline std::string AsString(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The first byte picks one of `count` readers (its value modulo count) and is
// taken off the input; -1 for an empty input.
int PickReader(const uint8_t*& data, size_t& size, int count);

// Ends the run as a finding, naming the promise, when a reader breaks what
// its header promises (a record it wrote that it cannot read back, say).
void Require(bool holds, const char* promise);

// Reads the first and the last of `size` bytes at `bytes`, so that the
// address sanitizer sees whether a reader's claimed extent is really there.
void TouchBytes(const void* bytes, size_t size);

// The bytes a FILE writer puts into a fresh stream; empty when the C library
// cannot make one.
std::vector<uint8_t> StreamBytes(const std::function<void(FILE*)>& write);

// Makes a new empty folder under the system's temporary folder ($TMPDIR when
// set), makes it the working folder and removes it with what it holds when
// the process ends. Later calls return the same path.
const std::string& EnterEmptyFolder();
// Writes the input to the file `name` in that folder; its path.
std::string WriteInputFile(const uint8_t* data, size_t size, const char* name);

}  // namespace fuzz
