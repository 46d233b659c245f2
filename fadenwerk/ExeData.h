// Reading named entries that a build step appended to an executable file.
//
// Layout (integers 4 bytes little-endian, offsets from the start of the file):
// the file ends with the 19-byte marker "trelmoxabin_entries"; the 8 bytes
// before it hold the offset of the first entry (0: none) and 4 unread bytes.
// Each entry holds the offset of the next entry (0 ends the chain), the name
// length n, n bytes of name, the data size s and s bytes of data.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// The file name and, per entry name, the data's offset and size.
struct TReadFromExeContext {
    std::string fileName;
    std::map<std::string, std::pair<long, long>> entries;
};

// The marker text.
const char* FileUtilsExeAppendID();

// Reads the entry table of the file at `path` into `context` (a later entry of
// a name replaces an earlier one). False, with the map empty, when the file
// cannot be opened, is a directory, lacks the marker, or its table is damaged:
// an entry or its data outside the file before the trailer, or a chain that
// returns to an entry already read.
bool ReadFromExeInit(const std::string& path, TReadFromExeContext& context);

// A copy of the entry's data in a new byte array (new[]) that the caller
// frees with delete[]; an empty entry gives a one-byte array and size 0. False
// when the map has no such name or the data cannot be read in full.
bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, void*& data, long& size);
bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, char*& data, long& size);
// The entry's data as lines, appended: carriage returns are dropped, a line
// feed ends a line, and text after the last line feed is a line.
bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, std::vector<std::string>& lines);
