// TSourceWords: the words of a description line and their checked readings.
#include "SourceWords.h"

#include <cctype>
#include <cstdlib>

#include "Win32.h"

bool IsColourText(const std::string& text) {
    if (text.size() != 6) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

TSourceWords::TSourceWords(const THelpSource& source, int line, const std::string& text)
    : fSource(source), fLine(line), fText(text) {
    for (size_t at = 0; at < text.size();) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        if (at == text.size()) break;
        const size_t start = at;
        while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
        fWords.push_back(text.substr(start, at - start));
        fStarts.push_back(start);
    }
}

std::string TSourceWords::RestFrom(size_t i) const { return i < fStarts.size() ? fText.substr(fStarts[i]) : ""; }

int TSourceWords::Number(size_t i, int limit) const {
    const std::string& word = fWords[i];
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || value < -limit || value > limit)
        Fail("'" + word + "' is no number from " + std::to_string(-limit) + " to " + std::to_string(limit));
    return static_cast<int>(value);
}

COLORREF TSourceWords::Colour(size_t i) const {
    const std::string& word = fWords[i];
    if (!IsColourText(word)) Fail("'" + word + "' is no colour of six hexadecimal digits RRGGBB");
    const unsigned long value = std::strtoul(word.c_str(), nullptr, 16);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

POINT TSourceWords::Point(size_t i, int limit) const {
    const std::string& word = fWords[i];
    const size_t comma = word.find(',');
    if (comma == std::string::npos) Fail("'" + word + "' is no point x,y");
    TSourceWords halves(fSource, fLine, word.substr(0, comma) + " " + word.substr(comma + 1));
    if (halves.GetCount() != 2) Fail("'" + word + "' is no point x,y");
    return POINT{halves.Number(0, limit), halves.Number(1, limit)};
}

void TSourceWords::Expect(size_t minimum, size_t maximum, const std::string& form) const {
    if (fWords.size() < minimum || fWords.size() > maximum) Fail("expected: " + form);
}
