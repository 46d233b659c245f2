// Reading text files as lines: the whole file at once (ReadFile) or buffered
// line by line (TFileReader). A carriage return, a line feed, or the two in a
// row end a line; a file that ends with a line end yields one final empty line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <list>
#include <string>
#include <vector>

// False when the file cannot be opened or is a directory; otherwise the
// container is cleared and receives the lines (an empty file gives none).
bool ReadFile(const std::string& path, std::vector<std::string>& lines);
bool ReadFile(const std::string& path, std::list<std::string>& lines);

class TFileReader {
public:
    // Opens the file for reading. The buffer holds `bufferSize` bytes, or the
    // whole file (at most 64 MiB) when it is 0 or less; it is halved while it
    // cannot be allocated, down to 1 byte. A directory or a file that cannot
    // be opened leaves the reader closed.
    TFileReader(const std::string& path, int bufferSize);
    ~TFileReader();
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    bool IsOpen() const { return fFile != nullptr; }
    // The next line (without its end) into `line`; empty at the end of data.
    void ReadLine(std::string& line);
    // The next line in the reader's own buffer, terminated; valid until the
    // next read. An empty text at the end of data.
    const char* ReadLineBuffer();
    // True when no line is left. After a final line end, one empty line is
    // still left.
    bool Eof();
    // Reading starts again at the first byte; the line count and the longest
    // line stay.
    void Restart();
    // Refills the buffer when it is used up.
    void RereadBuffer();

    std::string GetFileName() const { return fFileName; }
    int GetLineCount() const { return fLineCount; }
    // Length of the longest line read so far.
    int GetLongestLine() const { return fLongestLine; }

private:
    bool PeekByte(char& c);
    bool NextByte(char& c);
    void SkipPairedLineFeed();
    void ReadNextLine();

    std::string fFileName;
    FILE* fFile = nullptr;
    int64_t fFileSize = 0;
    int64_t fConsumed = 0;
    std::vector<char> fBuffer;
    size_t fBufferLength = 0;  // valid bytes in fBuffer
    size_t fBufferPos = 0;
    std::string fLine;
    int fLineCount = 0;
    char fLastChar = 0;
    int fLongestLine = 0;
};
