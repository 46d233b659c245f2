// Whole-file and buffered line reading with CR, LF and CR LF line ends.
#include "FileReader.h"

#include <algorithm>
#include <climits>
#include <new>

#include "Paths.h"

namespace {

const int64_t largestWholeFileBuffer = int64_t(64) << 20;

// Opens a file for reading; null for a directory.
FILE* OpenForReading(const std::string& path) {
    if (IsDirectory(path)) return nullptr;
    return std::fopen(path.c_str(), "rb");
}

int64_t SizeOf(FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    const int64_t size = ftello(file);
    if (fseeko(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

bool ReadAll(const std::string& path, std::string& contents) {
    FILE* file = OpenForReading(path);
    if (!file) return false;
    char chunk[65536];
    size_t read;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) contents.append(chunk, read);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

template <class Lines>
bool ReadLinesOf(const std::string& path, Lines& lines) {
    std::string contents;
    if (!ReadAll(path, contents)) return false;
    lines.clear();
    if (contents.empty()) return true;
    std::string line;
    for (size_t index = 0; index < contents.size(); ++index) {
        const char c = contents[index];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && index + 1 < contents.size() && contents[index + 1] == '\n') ++index;
        lines.push_back(line);
        line.clear();
    }
    lines.push_back(line);
    return true;
}

}  // namespace

bool ReadFile(const std::string& path, std::vector<std::string>& lines) { return ReadLinesOf(path, lines); }

bool ReadFile(const std::string& path, std::list<std::string>& lines) { return ReadLinesOf(path, lines); }

TFileReader::TFileReader(const std::string& path, int bufferSize) : fFileName(path) {
    fFile = OpenForReading(path);
    if (!fFile) return;
    fFileSize = SizeOf(fFile);
    if (fFileSize < 0) {
        std::fclose(fFile);
        fFile = nullptr;
        return;
    }
    int64_t size = bufferSize > 0 ? bufferSize : std::min(fFileSize, largestWholeFileBuffer);
    for (size = std::max<int64_t>(size, 1);; size = std::max<int64_t>(size / 2, 1)) {
        try {
            fBuffer.resize(static_cast<size_t>(size));
            break;
        } catch (const std::bad_alloc&) {
            if (size == 1) throw;
        }
    }
    fLine.reserve(1024);
}

TFileReader::~TFileReader() {
    if (fFile) std::fclose(fFile);
}

void TFileReader::RereadBuffer() {
    if (!fFile || fBufferPos < fBufferLength) return;
    fBufferLength = std::fread(fBuffer.data(), 1, fBuffer.size(), fFile);
    fBufferPos = 0;
}

bool TFileReader::PeekByte(char& c) {
    if (fConsumed >= fFileSize) return false;
    RereadBuffer();
    if (fBufferPos >= fBufferLength) {
        fFileSize = fConsumed;  // the file became shorter while we read it
        return false;
    }
    c = fBuffer[fBufferPos];
    return true;
}

bool TFileReader::NextByte(char& c) {
    if (!PeekByte(c)) return false;
    ++fBufferPos;
    ++fConsumed;
    return true;
}

// Consumes the line feed of a CR LF pair whose carriage return ended a line.
void TFileReader::SkipPairedLineFeed() {
    char c;
    if (fLastChar != '\r' || !PeekByte(c) || c != '\n') return;
    NextByte(c);
    fLastChar = '\n';
}

void TFileReader::ReadNextLine() {
    fLine.clear();
    SkipPairedLineFeed();
    if (fConsumed >= fFileSize) {
        if (fLastChar == '\r' || fLastChar == '\n') fLastChar = 0;
        return;
    }
    char c;
    while (NextByte(c)) {
        fLastChar = c;
        if (c == '\r' || c == '\n') break;
        fLine += c;
    }
    ++fLineCount;
    fLongestLine = std::max(fLongestLine, static_cast<int>(std::min<size_t>(fLine.size(), INT_MAX)));
}

void TFileReader::ReadLine(std::string& line) {
    ReadNextLine();
    line = fLine;
}

const char* TFileReader::ReadLineBuffer() {
    ReadNextLine();
    return fLine.c_str();
}

// A carriage return at the end counts as a line end just as a line feed does,
// so that CR, LF and CR LF files give the same lines.
bool TFileReader::Eof() {
    if (fLastChar == '\r' && fFileSize - fConsumed == 1) {
        SkipPairedLineFeed();
        if (fLastChar == '\n') return false;
    }
    return !(fConsumed < fFileSize || fLastChar == '\n' || fLastChar == '\r');
}

void TFileReader::Restart() {
    fConsumed = 0;
    fBufferLength = fBufferPos = 0;
    fLastChar = 0;
    if (fFile) fseeko(fFile, 0, SEEK_SET);
}
