// THelpSource: one help source file read as lines of the suite's code page.
#pragma once

#include <string>
#include <vector>

#include "StringContainer.h"

// The file is UTF-8 (a leading byte-order mark is dropped); lines end at LF,
// a CR before it is dropped. Reading stops with a THelpSourceError naming the
// file and line for malformed UTF-8, a character the code page lacks, or a
// control character other than a tab.
class THelpSource {
public:
    // name is what errors call the file (the builder gives its path).
    THelpSource(const std::string& path, const std::string& name);

    const std::string& GetName() const { return fName; }
    // The lines, code-page bytes; line i is line number i + 1.
    const std::vector<std::string>& GetLines() const { return fLines; }
    TStringContainer AsStringContainer() const;
    // An error at a line of this file.
    [[noreturn]] void Fail(int line, const std::string& message) const;

private:
    std::string fName;
    std::vector<std::string> fLines;
};

// UTF-8 text to code-page bytes; false, and position the byte offset of the
// first character that has no code-page byte or is malformed, on failure.
bool ConvertToCodePage(const std::string& utf8, std::string& text, size_t& position);
