// Code page 1250 to Unicode and back.
#include "CodePage.h"

namespace win32 {
namespace {

// Unicode for bytes 0x80-0xFF; 0 marks a byte the code page leaves undefined.
const char16_t kUpperHalf[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; a bad or cut sequence gives kBadSequence
// and advances by one byte.
constexpr char32_t kBadSequence = 0xFFFFFFFF;

char32_t DecodeUtf8(const std::string& s, size_t& pos) {
    const unsigned char lead = s[pos];
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + extra >= s.size()) {
        ++pos;
        return kBadSequence;
    }
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = s[pos + i];
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kBadSequence;
        }
        c = (c << 6) | (next & 0x3F);
    }
    pos += extra + 1;
    return c;
}

}  // namespace

char32_t CodePageToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    const char16_t mapped = kUpperHalf[byte - 0x80];
    return mapped ? mapped : byte;
}

int UnicodeToCodePage(char32_t codePoint) {
    if (codePoint < 0x80) return int(codePoint);
    for (int i = 0; i < 128; ++i)
        if (CodePageToUnicode(static_cast<unsigned char>(0x80 + i)) == codePoint) return 0x80 + i;
    return -1;
}

std::string Utf8ToCodePage(const std::string& utf8, char missing) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        const int byte = c == kBadSequence ? -1 : UnicodeToCodePage(c);
        out += byte < 0 ? missing : char(byte);
    }
    return out;
}

std::string CodePageToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char byte : text) AppendUtf8(out, CodePageToUnicode(byte));
    return out;
}

}  // namespace win32
