// TString: text operations, number conversions, token splitting and storage forms.
#include "String.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>
#include <vector>

#include "CharClass.h"
#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "StringContainer.h"

const char* const TString::WhiteSpace = " \t\r\n\v\f";

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Bounds of the text without surrounding blanks and tabs.
void BlankFreeBounds(const std::string& text, size_t& begin, size_t& end) {
    begin = 0;
    end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
}

bool IsOpening(char c) { return c == '(' || c == '[' || c == '{'; }
bool IsClosing(char c) { return c == ')' || c == ']' || c == '}'; }
char ClosingPartner(char c) { return c == '(' ? ')' : c == '[' ? ']' : '}'; }

// The next tab in [from, end), or end.
const char* NextTab(const char* from, const char* end) {
    const void* tab = std::memchr(from, '\t', static_cast<size_t>(end - from));
    return tab != nullptr ? static_cast<const char*>(tab) : end;
}

// The column that [text, end) reaches when its first character stands at
// column, each tab reaching the next multiple of step.
size_t ColumnAfter(const char* text, const char* end, size_t column, size_t step) {
    for (;;) {
        const char* tab = NextTab(text, end);
        column += static_cast<size_t>(tab - text);
        if (tab == end) return column;
        column += step - column % step;
        text = tab + 1;
    }
}

// Writes [text, end), its first character at column, with its tabs
// expanded to out. out may lie below text in the same storage when the
// writing never overtakes the reading.
void WriteExpanded(const char* text, const char* end, size_t column, size_t step, char* out) {
    for (;;) {
        const char* tab = NextTab(text, end);
        const size_t length = static_cast<size_t>(tab - text);
        std::memmove(out, text, length);
        out += length;
        column += length;
        if (tab == end) return;
        const size_t blanks = step - column % step;
        std::memset(out, ' ', blanks);
        out += blanks;
        column += blanks;
        text = tab + 1;
    }
}

// A short tail (most lines' are) is expanded in one pass through buffers on
// the stack, eight bytes at a time: each word is stored whole and the tab in
// it, if any, found from its bits, so that no byte needs a branch of its own
// and no segment a library call. The input buffer is padded so that words
// may reach past the tail; the output has room for a word past each tab's
// blanks. Returns the expanded length, or npos when the tail is too long,
// the step too wide or the bytes' order not the one the bit search assumes.
constexpr size_t kShortTail = 256;
constexpr size_t kShortStep = 16;
constexpr size_t kShortOut = kShortTail * kShortStep + 16;

size_t ExpandShortTail(const char* text, size_t length, size_t column, size_t step, char* out) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (length > kShortTail || step > kShortStep) return std::string::npos;
    char in[kShortTail + 8];
    std::memcpy(in, text, length);
    std::memset(in + length, 0, 8);
    const uint64_t ones = 0x0101010101010101u, low7 = ones * 0x7F, tabs = ones * '\t', blanks = ones * ' ';
    const char* from = in;
    const char* const end = in + length;
    char* to = out;
    while (from < end) {
        uint64_t word;
        std::memcpy(&word, from, 8);
        std::memcpy(to, &word, 8);
        const uint64_t x = word ^ tabs;
        const uint64_t tabBytes = ~(((x & low7) + low7) | x | low7);  // 0x80 in each tab byte
        const size_t before = tabBytes == 0 ? 8 : static_cast<size_t>(__builtin_ctzll(tabBytes) >> 3);
        if (before >= static_cast<size_t>(end - from)) {
            to += end - from;
            break;
        }
        from += before;
        to += before;
        column += before;
        if (before == 8) continue;
        const size_t n = step - column % step;
        std::memcpy(to, &blanks, 8);
        std::memcpy(to + 8, &blanks, 8);
        to += n;
        column += n;
        ++from;
    }
    return static_cast<size_t>(to - out);
#else
    (void)text, (void)length, (void)column, (void)step, (void)out;
    return std::string::npos;
#endif
}

// Puts length expanded bytes in place of text's tail from firstTab on: in
// text's own storage when that has room, otherwise in new storage of the
// exact size.
void ReplaceTail(std::string& text, size_t firstTab, const char* expanded, size_t length) {
    if (firstTab + length <= text.capacity()) {
        text.resize(firstTab + length);
        std::memcpy(&text[firstTab], expanded, length);
        return;
    }
    std::string grown(firstTab + length, ' ');
    std::memcpy(&grown[0], text.data(), firstTab);
    std::memcpy(&grown[firstTab], expanded, length);
    text.swap(grown);
}

// Expands text's tail from firstTab on (its first character at column),
// measured first so that it grows once. With room in its own storage the
// tail is moved to the end and expanded forwards from there, the writing
// never overtaking the reading.
void ExpandLongTail(std::string& text, size_t firstTab, size_t column, size_t step) {
    const size_t tail = text.size() - firstTab;
    const char* start = text.data() + firstTab;
    const size_t expanded = firstTab + ColumnAfter(start, start + tail, column, step) - column;
    if (expanded <= text.capacity()) {
        text.resize(expanded);
        char* const data = &text[0];
        char* const moved = data + expanded - tail;
        std::memmove(moved, data + firstTab, tail);
        WriteExpanded(moved, moved + tail, column, step, data + firstTab);
        return;
    }
    std::string grown(expanded, ' ');
    std::memcpy(&grown[0], text.data(), firstTab);
    WriteExpanded(start, start + tail, column, step, &grown[firstTab]);
    text.swap(grown);
}

}  // namespace

TString::TString(const char* text) : fText(text == nullptr ? "" : text) {}

// Made at its exact length, as a copy is: no room to spare, and no first
// assignment into the empty text.
TString::TString(const char* text, int length)
    : fText(text != nullptr && length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string()) {}

TString::TString(char c) : fText(1, c) {}

TString::TString(int value, int width) {
    fText = std::to_string(value);
    ExtendLeft(width, ' ');
}

TString::TString(int64_t value) : fText(std::to_string(value)) {}

TString::TString(double value) {
    if (std::isnan(value)) {
        fText = "nan";
        return;
    }
    if (std::isinf(value)) {
        fText = value < 0 ? "-inf" : "inf";
        return;
    }
    char text[400];
    const auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed);
    fText.assign(text, result.ptr);
}

TString& TString::operator=(const char* text) {
    fText = text == nullptr ? "" : text;
    ShrinkIfWanted();
    return *this;
}

TString& TString::operator=(const std::string& text) {
    fText = text;
    ShrinkIfWanted();
    return *this;
}

TString& TString::Assign(const char* text, int length) {
    if (text != nullptr && length > 0)
        fText.assign(text, static_cast<size_t>(length));
    else
        fText.clear();
    ShrinkIfWanted();
    return *this;
}

char& TString::OutsideSlot() {
    thread_local char slot;
    slot = '\0';
    return slot;
}

char& TString::At(int i) {
    if (i < 0 || i >= Length()) throw TSDPPBadIndex(i);
    return fText[static_cast<size_t>(i)];
}

void TString::SetChar(int i, char c) {
    if (i >= 0 && i < Length()) fText[static_cast<size_t>(i)] = c;
}

void TString::Reserve(int capacity) {
    if (capacity > 0) fText.reserve(static_cast<size_t>(capacity));
}

void TString::Clear() {
    fText.clear();
    ShrinkIfWanted();
}

void TString::ShrinkIfWanted() {
    // Give memory back only when much of it is unused, so small edits stay cheap.
    if (fReduceCapacity && fText.capacity() > 64 && fText.capacity() > 2 * fText.size()) fText.shrink_to_fit();
}

// A text made aside goes into the storage already held when it fits, so
// that a line changed in place stays where it is in memory; otherwise its
// own storage is taken over.
void TString::TakeText(std::string& text) {
    if (text.size() <= fText.capacity())
        fText.assign(text);
    else
        fText.swap(text);
    ShrinkIfWanted();
}

bool TString::ClipRange(int& first, int& last) const {
    first = std::max(first, 0);
    last = std::min(last, Length() - 1);
    return first <= last;
}

TString& TString::operator+=(const TString& text) {
    fText += text.fText;
    return *this;
}

TString& TString::operator+=(const char* text) {
    if (text != nullptr) fText += text;
    return *this;
}

TString& TString::operator+=(char c) {
    fText += c;
    return *this;
}

TString& TString::operator-=(const TString& text) { return SubstituteAll(text, TString()); }

TString& TString::operator*=(int n) {
    *this = *this * n;
    return *this;
}

TString TString::operator*(int n) const {
    TString result;
    if (n < 1 || fText.empty()) return result;
    result.fText.reserve(fText.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) result.fText += fText;
    return result;
}

TString operator+(const TString& a, const TString& b) {
    TString result(a);
    result += b;
    return result;
}

int TString::Compare(const TString& other) const {
    const int result = fText.compare(other.fText);  // char_traits<char> compares as unsigned bytes
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

int TString::Compare(const TString* a, const TString* b) {
    if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
    return a->Compare(*b);
}

int TString::Pos(char c, int start) const {
    if (start < 0) start = 0;
    if (start >= Length()) return -1;
    const size_t found = fText.find(c, static_cast<size_t>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int TString::Pos(const TString& text, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    const size_t found = fText.find(text.fText, static_cast<size_t>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int TString::LastPos(char c) const {
    const size_t found = fText.rfind(c);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int TString::NthPos(const TString& text, int n, int start) const {
    if (n < 0 || text.IsEmpty()) return -1;
    int position = Pos(text, start);
    for (int k = 0; k < n && position >= 0; ++k) position = Pos(text, position + text.Length());
    return position;
}

int TString::Count(const TString& text) const {
    if (text.IsEmpty()) return 0;
    int count = 0;
    for (int position = Pos(text); position >= 0; position = Pos(text, position + text.Length())) ++count;
    return count;
}

int TString::Count(char c) const { return static_cast<int>(std::count(fText.begin(), fText.end(), c)); }

bool TString::StartsWith(const TString& text) const { return fText.compare(0, text.fText.size(), text.fText) == 0; }

bool TString::EndsWith(const TString& text) const {
    return text.fText.size() <= fText.size() &&
           fText.compare(fText.size() - text.fText.size(), text.fText.size(), text.fText) == 0;
}

TString TString::Substring(int first, int last) const {
    if (!ClipRange(first, last)) return TString();
    return TString(fText.substr(static_cast<size_t>(first), static_cast<size_t>(last - first + 1)));
}

TString& TString::Insert(int pos, const TString& text) {
    pos = std::clamp(pos, 0, Length());
    fText.insert(static_cast<size_t>(pos), text.fText);
    return *this;
}

TString& TString::Delete(int first, int last) {
    if (ClipRange(first, last)) {
        fText.erase(static_cast<size_t>(first), static_cast<size_t>(last - first + 1));
        ShrinkIfWanted();
    }
    return *this;
}

TString& TString::ToUpper() {
    for (char& c : fText) c = mystr_upper_char(c);
    return *this;
}

TString& TString::ToLower() {
    for (char& c : fText) c = mystr_lower_char(c);
    return *this;
}

TString TString::UpperCase() const {
    TString result(*this);
    return result.ToUpper();
}

TString TString::LowerCase() const {
    TString result(*this);
    return result.ToLower();
}

TString& TString::Capitalize() {
    char previous = ' ';
    for (char& c : fText) {
        if (previous == ' ') c = mystr_upper_char(c);
        previous = c;
    }
    return *this;
}

TString& TString::RemoveAccents() {
    for (char& c : fText) c = mystr_noaccent_char(c);
    return *this;
}

bool TString::IsUpper() const {
    bool letter = false;
    for (char c : fText) {
        if (mystr_islower(c)) return false;
        letter = letter || mystr_ishchar(c);
    }
    return letter;
}

bool TString::IsLower() const {
    bool letter = false;
    for (char c : fText) {
        if (mystr_isupper(c)) return false;
        letter = letter || mystr_ishchar(c);
    }
    return letter;
}

TString& TString::Rev() {
    std::reverse(fText.begin(), fText.end());
    return *this;
}

TString& TString::Trim(char c) { return TrimLeft(c).TrimRight(c); }

TString& TString::TrimLeft(char c) {
    const size_t first = fText.find_first_not_of(c);
    fText.erase(0, first == std::string::npos ? fText.size() : first);
    ShrinkIfWanted();
    return *this;
}

TString& TString::TrimRight(char c) {
    const size_t last = fText.find_last_not_of(c);
    fText.erase(last == std::string::npos ? 0 : last + 1);
    ShrinkIfWanted();
    return *this;
}

TString& TString::Substitute(char from, char to) {
    std::replace(fText.begin(), fText.end(), from, to);
    return *this;
}

TString& TString::Substitute(const TString& from, const TString& to) {
    const int position = from.IsEmpty() ? -1 : Pos(from);
    if (position >= 0) fText.replace(static_cast<size_t>(position), from.fText.size(), to.fText);
    return *this;
}

TString& TString::SubstituteAll(const TString& from, const TString& to) {
    if (from.IsEmpty()) return *this;
    size_t found = fText.find(from.fText);
    if (found == std::string::npos) return *this;
    std::string result;
    result.reserve(fText.size());
    size_t copied = 0;
    for (; found != std::string::npos; found = fText.find(from.fText, copied)) {
        result.append(fText, copied, found - copied);
        result += to.fText;
        copied = found + from.fText.size();
    }
    result.append(fText, copied, std::string::npos);
    TakeText(result);
    return *this;
}

void TString::ReplaceAll(const char* from, const char* to, TString& out) const {
    out = *this;
    out.SubstituteAll(TString(from), TString(to));
}

// Most lines are short: their tail from the first tab on is expanded in
// one pass on the stack; a long one is measured first and then written.
// Either way the line grows once, to its exact size.
TString& TString::ExpandTabs(int width, int startColumn) {
    const size_t firstTab = fText.find('\t');
    if (firstTab == std::string::npos) return *this;
    const size_t step = static_cast<size_t>(std::max(width, 1));
    const size_t column = static_cast<size_t>(std::max(startColumn, 0)) + firstTab;
    char shortOut[kShortOut];
    const size_t shortLength = ExpandShortTail(fText.data() + firstTab, fText.size() - firstTab, column, step, shortOut);
    if (shortLength != std::string::npos)
        ReplaceTail(fText, firstTab, shortOut, shortLength);
    else
        ExpandLongTail(fText, firstTab, column, step);
    ShrinkIfWanted();
    return *this;
}

void TString::AppendExpandingTabs(std::string& out, const char* text, int length, int width, int startColumn) {
    if (text == nullptr || length <= 0) return;
    const char* const end = text + length;
    const size_t step = static_cast<size_t>(std::max(width, 1));
    const size_t column = static_cast<size_t>(std::max(startColumn, 0)) + out.size();
    const size_t at = out.size();
    out.resize(at + ColumnAfter(text, end, column, step) - column);
    WriteExpanded(text, end, column, step, &out[at]);
}

TString& TString::ExtendLeft(int width, char c) {
    if (width > Length()) fText.insert(0, static_cast<size_t>(width - Length()), c);
    return *this;
}

TString& TString::ExtendRight(int width, char c) {
    if (width > Length()) fText.append(static_cast<size_t>(width - Length()), c);
    return *this;
}

TString& TString::Align(TAlignMode mode, int width) {
    Trim(' ');
    const int spare = width - Length();
    if (spare <= 0) return *this;
    switch (mode) {
        case amRight:
            return ExtendLeft(width);
        case amMiddle:
            return ExtendLeft(Length() + spare / 2);
        case amCenter:
            ExtendLeft(Length() + spare / 2);
            return ExtendRight(width);
        default:
            return *this;
    }
}

int TString::LevenshteinDist(const TString& other) const {
    const std::string& a = fText;
    const std::string& b = other.fText;
    std::vector<int> previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const int replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
        }
        previous.swap(current);
    }
    return previous[b.size()];
}

TString& TString::Exchange(int first, int mid, int last) {
    if (first < 0 || first > mid || mid > last || last >= Length()) return *this;
    std::rotate(fText.begin() + first, fText.begin() + mid, fText.begin() + last + 1);
    return *this;
}

TString& TString::Exchange(int first1, int last1, int first2, int last2) {
    if (first1 > first2) {
        std::swap(first1, first2);
        std::swap(last1, last2);
    }
    if (first1 < 0 || first1 > last1 || last1 >= first2 || first2 > last2 || last2 >= Length()) return *this;
    const std::string second = fText.substr(static_cast<size_t>(first2), static_cast<size_t>(last2 - first2 + 1));
    const std::string between = fText.substr(static_cast<size_t>(last1 + 1), static_cast<size_t>(first2 - last1 - 1));
    const std::string firstPart = fText.substr(static_cast<size_t>(first1), static_cast<size_t>(last1 - first1 + 1));
    fText.replace(static_cast<size_t>(first1), static_cast<size_t>(last2 - first1 + 1), second + between + firstPart);
    return *this;
}

TString& TString::DoFilter(const char* set, bool remove) {
    if (set == nullptr) set = "";
    std::string result;
    result.reserve(fText.size());
    bool quoted = false;
    for (char c : fText) {
        if (c == '"') quoted = !quoted;
        const bool inSet = c != 0 && std::strchr(set, c) != nullptr;
        if (quoted || c == '"' || inSet != remove) result += c;
    }
    fText.swap(result);
    ShrinkIfWanted();
    return *this;
}

TString TString::GetFileExt() const {
    const size_t dot = fText.rfind('.');
    const size_t separator = fText.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return TString();
    return TString(fText.substr(dot + 1));
}

void TString::Split(char separator, TString& key, TString& value) const {
    const int position = Pos(separator);
    if (position < 0) {
        const TString whole(*this);  // key or value may be this text itself
        key = whole;
        value = whole;
        return;
    }
    TString whole(*this);  // key or value may be this text itself
    key = whole.Substring(0, position - 1);
    value = whole.Substring(position + 1, whole.Length() - 1);
}

void TString::GetTokens(char separator, TStringContainer& list) const { GetTokens(separator, false, true, list); }

void TString::GetTokens(char separator, bool topLevel, TStringContainer& list) const {
    GetTokens(separator, topLevel, true, list);
}

void TString::GetTokens(char separator, bool topLevel, bool keepEmpty, TStringContainer& list) const {
    if (fText.empty()) return;
    std::string closers;  // expected closing brackets, innermost last
    char quote = 0;
    size_t start = 0;
    size_t end = fText.size();
    for (size_t i = 0; i < fText.size(); ++i) {
        const char c = fText[i];
        const bool nested = topLevel && (quote != 0 || !closers.empty());
        if (c == separator && !nested) {
            if (keepEmpty || i > start) list.Add(TString(fText.substr(start, i - start)));
            start = i + 1;
            continue;
        }
        if (!topLevel) continue;
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (IsOpening(c)) {
            closers += ClosingPartner(c);
        } else if (IsClosing(c)) {
            if (closers.empty()) {
                end = i;
                break;
            }
            if (closers.back() == c) closers.pop_back();
        }
    }
    if (keepEmpty || end > start) list.Add(TString(fText.substr(start, end - start)));
}

namespace {

// Reads an optionally signed decimal integer at text[begin..end); returns the
// end of the digits, or begin when there are none. Overflow is reported.
size_t ReadInteger(const std::string& text, size_t begin, size_t end, int64_t& value, bool& overflow) {
    size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t digits = i;
    uint64_t magnitude = 0;
    overflow = false;
    for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (overflow) continue;
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        overflow = magnitude > (uint64_t(1) << 63);
    }
    if (i == digits) return begin;
    if (!negative && magnitude > static_cast<uint64_t>(INT64_MAX)) overflow = true;
    if (overflow)
        value = negative ? INT64_MIN : INT64_MAX;
    else
        value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return i;
}

size_t ReadDouble(const std::string& text, size_t begin, size_t end, double& value) {
    size_t i = begin;
    if (i < end && text[i] == '+') ++i;  // from_chars takes no plus sign
    if (i < end && text[i] == '+') return begin;
    const auto result = std::from_chars(text.data() + i, text.data() + end, value);
    if (result.ec == std::errc::invalid_argument) return begin;
    return static_cast<size_t>(result.ptr - text.data());
}

}  // namespace

int64_t TString::ToInt64() const {
    size_t begin, end;
    BlankFreeBounds(fText, begin, end);
    int64_t value = 0;
    bool overflow = false;
    if (ReadInteger(fText, begin, end, value, overflow) == begin) return 0;
    return value;
}

int TString::ToInt() const { return static_cast<int>(ToInt64()); }

double TString::ToDouble() const {
    size_t begin, end;
    BlankFreeBounds(fText, begin, end);
    double value = 0;
    return ReadDouble(fText, begin, end, value) == begin ? 0.0 : value;
}

bool TString::ParseInt64(int64_t& value) const {
    size_t begin, end;
    BlankFreeBounds(fText, begin, end);
    int64_t read = 0;
    bool overflow = false;
    if (begin == end || ReadInteger(fText, begin, end, read, overflow) != end || overflow) return false;
    value = read;
    return true;
}

bool TString::ParseInt(int& value) const {
    int64_t read = 0;
    if (!ParseInt64(read) || read < INT32_MIN || read > INT32_MAX) return false;
    value = static_cast<int>(read);
    return true;
}

bool TString::IsInt() const {
    int value = 0;
    return ParseInt(value);
}

bool TString::ParseDouble(double& value) const {
    size_t begin, end;
    BlankFreeBounds(fText, begin, end);
    double read = 0;
    if (begin == end || ReadDouble(fText, begin, end, read) != end) return false;
    value = read;
    return true;
}

void TString::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddUInt32(static_cast<uint32_t>(fText.size()));
    buffer.AddByte(1);
    buffer.Add(fText.data(), Length());
}

bool TString::ReadFromMemBuffer(TMemBuffer& buffer) {
    fText.clear();
    uint32_t length = 0;
    uint8_t mark = 0;
    if (!buffer.ReadUInt32(length) || !buffer.ReadByte(mark)) return false;
    if (mark != 1 || length > static_cast<uint32_t>(buffer.GetRemaining())) return false;
    fText.resize(length);
    return buffer.Read(fText.data(), static_cast<int>(length));
}

void TString::SaveToStream(FILE* file) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool TString::LoadFromStream(FILE* file) {
    fText.clear();
    TMemBuffer form;
    if (!ReadStreamBlock(file, 5, form)) return false;
    uint32_t length = 0;
    form.ReadUInt32(length);
    if (!ReadStreamBlock(file, length, form)) return false;
    form.SeekRead(0);
    return ReadFromMemBuffer(form);
}

void TString::WriteToStdStream(std::ostream& stream) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    stream.write(static_cast<const char*>(form.GetBlock()), form.GetSize());
}

bool TString::ReadFromStdStream(std::istream& stream) {
    fText.clear();
    unsigned char head[5];
    if (!stream.read(reinterpret_cast<char*>(head), 5) || head[4] != 1) return false;
    const uint32_t length = static_cast<uint32_t>(head[0]) | static_cast<uint32_t>(head[1]) << 8 |
                            static_cast<uint32_t>(head[2]) << 16 | static_cast<uint32_t>(head[3]) << 24;
    // Read in pieces so that a damaged length cannot allocate more than the stream holds.
    char chunk[4096];
    for (uint32_t left = length; left > 0;) {
        const uint32_t piece = std::min<uint32_t>(left, sizeof(chunk));
        if (!stream.read(chunk, piece)) {
            fText.clear();
            return false;
        }
        fText.append(chunk, piece);
        left -= piece;
    }
    return true;
}

std::ostream& operator<<(std::ostream& stream, const TString& text) { return stream << text.str(); }
