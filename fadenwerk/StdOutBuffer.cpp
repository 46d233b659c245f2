// The buffered writer to standard output.
#include "StdOutBuffer.h"

#include <algorithm>

namespace {

const int defaultCapacity = 65536;
const int smallestCapacity = 2;

}  // namespace

TStdOutBuffer::TStdOutBuffer() : TStdOutBuffer(defaultCapacity) {}

TStdOutBuffer::TStdOutBuffer(int capacity) : fBuffer(static_cast<size_t>(std::max(capacity, smallestCapacity))) {}

TStdOutBuffer::~TStdOutBuffer() { Flush(); }

void TStdOutBuffer::Init(int capacity) {
    Flush();
    fBuffer.assign(static_cast<size_t>(std::max(capacity, smallestCapacity)), '\0');
}

void TStdOutBuffer::SetOutput(FILE* file) {
    Flush();
    fOutput = file;
}

void TStdOutBuffer::AddCharacter(char c) {
    fBuffer[fLength++] = c;
    if (fLength >= fBuffer.size() - 1) Flush();
}

void TStdOutBuffer::Add(const char* text, bool newline) {
    for (const char* at = text; at && *at; ++at) AddCharacter(*at);
    if (newline) AddCharacter('\n');
}

void TStdOutBuffer::Write(const char* text, bool newlineFirst) {
    if (newlineFirst) AddCharacter('\n');
    Add(text, false);
}

void TStdOutBuffer::Write(int n, bool newlineFirst) { Write(std::to_string(n), newlineFirst); }

void TStdOutBuffer::Write(const std::string& text, bool newlineFirst) { Write(text.c_str(), newlineFirst); }

void TStdOutBuffer::WriteLine(const char* text) { Add(text, true); }

void TStdOutBuffer::Flush() {
    if (fLength == 0) return;
    std::fwrite(fBuffer.data(), 1, fLength, fOutput ? fOutput : stdout);
    fLength = 0;
}
