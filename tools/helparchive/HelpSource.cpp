// THelpSource: reading a UTF-8 help source file into code-page lines.
#include "HelpSource.h"

#include <fstream>
#include <sstream>

#include "CodePage.h"
#include "HelpSourceError.h"

namespace {

// The code point of the UTF-8 sequence at text[at], its length in length;
// false for a malformed or overlong sequence.
bool DecodeUtf8(const std::string& text, size_t at, char32_t& codePoint, size_t& length) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        codePoint = lead;
        length = 1;
        return true;
    }
    if (lead >= 0xF5 || (lead & 0xC0) == 0x80) return false;
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (at + length > text.size()) return false;
    codePoint = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return false;
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return codePoint >= kSmallest[length] && codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

}  // namespace

bool ConvertToCodePage(const std::string& utf8, std::string& text, size_t& position) {
    text.clear();
    for (size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        size_t length = 0;
        const int byte = DecodeUtf8(utf8, at, codePoint, length) ? win32::UnicodeToCodePage(codePoint) : -1;
        if (byte < 0 || (byte < 0x20 && byte != '\t')) {
            position = at;
            return false;
        }
        text += static_cast<char>(byte);
        at += length;
    }
    return true;
}

THelpSource::THelpSource(const std::string& path, const std::string& name) : fName(name) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw THelpSourceError(name, 0, "cannot be read");
    std::ostringstream content;
    content << in.rdbuf();
    std::string bytes = content.str();
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string text;
        size_t position = 0;
        if (!ConvertToCodePage(line, text, position))
            Fail(static_cast<int>(fLines.size()) + 1,
                 "column " + std::to_string(position + 1) +
                     ": malformed UTF-8, a control character or a character outside the code page");
        fLines.push_back(text);
    }
}

TStringContainer THelpSource::AsStringContainer() const {
    TStringContainer lines;
    for (const std::string& line : fLines) lines.Add(TString(line));
    return lines;
}

void THelpSource::Fail(int line, const std::string& message) const { throw THelpSourceError(fName, line, message); }
