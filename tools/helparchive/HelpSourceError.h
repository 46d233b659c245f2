// THelpSourceError: a help source that the archive builder refuses, named by
// its file and line.
#pragma once

#include <stdexcept>
#include <string>

// what() reads "file:line: message", or "file: message" for line 0 (the
// file as a whole).
class THelpSourceError : public std::runtime_error {
public:
    THelpSourceError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message),
          fFile(file),
          fLine(line) {}

    const std::string& GetFile() const { return fFile; }
    int GetLine() const { return fLine; }

private:
    std::string fFile;
    int fLine;
};
