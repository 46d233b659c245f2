// Reading the words of a line of a picture or image-link description:
// blank-separated words, numbers, colours and points.
#pragma once

#include <string>
#include <vector>

#include "HelpSource.h"
#include "Win32Types.h"

// The words of one line of a description, with the place errors name.
class TSourceWords {
public:
    TSourceWords(const THelpSource& source, int line, const std::string& text);

    size_t GetCount() const { return fWords.size(); }
    const std::string& operator[](size_t i) const { return fWords[i]; }
    // The text from word i to the end of the line, as written.
    std::string RestFrom(size_t i) const;
    // Word i as an integer within -limit..limit; fails otherwise.
    int Number(size_t i, int limit) const;
    // Word i as six hexadecimal digits RRGGBB; fails otherwise.
    COLORREF Colour(size_t i) const;
    // Word i as "x,y" with both within -limit..limit.
    POINT Point(size_t i, int limit) const;
    // Fails unless there are at least minimum and at most maximum words.
    void Expect(size_t minimum, size_t maximum, const std::string& form) const;
    [[noreturn]] void Fail(const std::string& message) const { fSource.Fail(fLine, message); }

private:
    const THelpSource& fSource;
    int fLine;
    std::string fText;
    std::vector<std::string> fWords;
    std::vector<size_t> fStarts;
};

// True when text is exactly six hexadecimal digits.
bool IsColourText(const std::string& text);
