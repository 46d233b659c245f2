// TStdOutBuffer: text gathered in a buffer and written to standard output in
// large pieces.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class TStdOutBuffer {
public:
    // A buffer of 65536 characters.
    TStdOutBuffer();
    // A buffer of `capacity` characters, at least 2 (one stays for the terminator).
    explicit TStdOutBuffer(int capacity);
    // Flushes what waits, then writes to standard output no more.
    virtual ~TStdOutBuffer();
    TStdOutBuffer(const TStdOutBuffer&) = delete;
    TStdOutBuffer& operator=(const TStdOutBuffer&) = delete;

    // Flushes what waits, then sets a new capacity (at least 2).
    void Init(int capacity);
    // Sends output to `file` instead of standard output (null: standard output).
    void SetOutput(FILE* file);

    // Appends the text (null: nothing), then a line feed when `newline`; the
    // buffer is flushed whenever capacity - 1 characters wait.
    void Add(const char* text, bool newline);
    // A line feed first when `newlineFirst`, then the text.
    void Write(const char* text, bool newlineFirst);
    void Write(int n, bool newlineFirst);
    void Write(const std::string& text, bool newlineFirst);
    // Add(text, true).
    void WriteLine(const char* text);
    // Writes the waiting characters, when there are any.
    void Flush();
    // The number of characters waiting.
    int GetPos() const { return static_cast<int>(fLength); }

private:
    void AddCharacter(char c);

    std::vector<char> fBuffer;
    size_t fLength = 0;
    FILE* fOutput = nullptr;
};
