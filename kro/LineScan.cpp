// Character scans of script lines, all aware of single- and double-quoted text.
#include "LineScan.h"

#include <cstring>

bool IsIdentifierChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_') return true;
    // á é í ó ö ő ú ü ű and their capitals in code page 1250.
    static const unsigned char accented[] = {0xE1, 0xE9, 0xED, 0xF3, 0xF6, 0xF5, 0xFA, 0xFC, 0xFB,
                                             0xC1, 0xC9, 0xCD, 0xD3, 0xD6, 0xD5, 0xDA, 0xDC, 0xDB};
    for (unsigned char a : accented)
        if (u == a) return true;
    return false;
}

bool IsWordSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\r'; }

bool TQuoteState::Feed(char c) {
    if (quote != 0) {
        if (c == quote) quote = 0;
        return true;
    }
    if (c == '\'' || c == '"') {
        quote = c;
        return true;
    }
    return false;
}

void CutComment(TString& line) {
    TQuoteState quotes;
    for (int i = 0; i + 1 < line.Length(); ++i) {
        if (quotes.Feed(line[i])) continue;
        if (line[i] == '/' && line[i + 1] == '/') {
            line = line.Left(i);
            return;
        }
    }
}

namespace {
bool IsPackageWhiteSpace(char c) { return c != '\0' && std::strchr(TString::WhiteSpace, c) != nullptr; }
}  // namespace

void TrimLineEnd(TString& line) {
    int n = line.Length();
    while (n > 0 && IsPackageWhiteSpace(line[n - 1])) --n;
    if (n < line.Length()) line = line.Left(n);
}

TString TrimWhiteSpace(const TString& text) {
    int first = 0, last = text.Length() - 1;
    while (first <= last && IsPackageWhiteSpace(text[first])) ++first;
    while (last >= first && IsPackageWhiteSpace(text[last])) --last;
    return text.Substring(first, last);
}

TString RemoveWhiteSpace(const TString& text) {
    std::string kept;
    kept.reserve(static_cast<size_t>(text.Length()));
    TQuoteState quotes;
    for (int i = 0; i < text.Length(); ++i) {
        const char c = text[i];
        if (quotes.Feed(c) || !IsPackageWhiteSpace(c)) kept += c;
    }
    return TString(kept);
}

bool IsBlankLine(const TString& line) {
    for (int i = 0; i < line.Length(); ++i)
        if (!IsPackageWhiteSpace(line[i])) return false;
    return true;
}

namespace {

bool IsWholeWordAt(const TString& line, int at, const TString& name) {
    if (std::strncmp(line.c_str() + at, name.c_str(), static_cast<size_t>(name.Length())) != 0) return false;
    if (at > 0 && IsIdentifierChar(line[at - 1])) return false;
    return !IsIdentifierChar(line[at + name.Length()]);
}

void SubstituteOne(TString& line, const TString& name, const TString& value) {
    if (name.Length() == 0) return;
    TQuoteState quotes;
    for (int i = 0; i < line.Length();) {
        if (quotes.Feed(line[i])) {
            ++i;
            continue;
        }
        if (IsWholeWordAt(line, i, name)) {
            line.Delete(i, i + name.Length() - 1);
            line.Insert(i, value);
            i += value.Length();
            continue;
        }
        ++i;
    }
}

}  // namespace

void SubstituteConstants(TString& line, const TStringContainer& names, const TStringContainer& values) {
    for (int k = 0; k < names.GetCount() && k < values.GetCount(); ++k) SubstituteOne(line, names[k], values[k]);
}

void SplitTopLevel(const TString& text, char separator, TStringContainer& parts) {
    parts.Clear();
    if (text.Length() == 0) return;
    TQuoteState quotes;
    int depth = 0, start = 0;
    for (int i = 0; i < text.Length(); ++i) {
        const char c = text[i];
        if (quotes.Feed(c)) continue;
        if (c == '(' || c == '[' || c == '{') ++depth;
        if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
        if (c == separator && depth == 0) {
            parts.Add(text.Substring(start, i - 1));
            start = i + 1;
        }
    }
    parts.Add(text.Substring(start, text.Length() - 1));
}

int FindClosingBracket(const TString& text, int open) {
    std::string expected;
    TQuoteState quotes;
    for (int i = open; i < text.Length(); ++i) {
        const char c = text[i];
        if (quotes.Feed(c)) continue;
        if (c == '[') expected += ']';
        else if (c == '(') expected += ')';
        else if (c == '{') expected += '}';
        else if (c == ']' || c == ')' || c == '}') {
            if (expected.empty() || expected.back() != c) return -1;
            expected.pop_back();
            if (expected.empty()) return i;
        }
    }
    return -1;
}

int FindOutsideQuotes(const TString& text, char c, int start) {
    TQuoteState quotes;
    for (int i = 0; i < text.Length(); ++i) {
        if (quotes.Feed(text[i])) continue;
        if (i >= start && text[i] == c) return i;
    }
    return -1;
}
