// TTextEditorTextFinder: exact and case-blind text search within one line.
#include "TextEditorTextFinder.h"

#include <algorithm>
#include <cstring>

#include "CharClass.h"
#include "TextEditorCharacters.h"

namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

using TFoldTable = std::array<unsigned char, 256>;

// The identity and the code page's upper-case map, made once.
const TFoldTable& FoldTable(bool caseSensitive) {
    static const TFoldTable identity = [] {
        TFoldTable table{};
        for (size_t b = 0; b < table.size(); ++b) table[b] = static_cast<unsigned char>(b);
        return table;
    }();
    static const TFoldTable upper = [] {
        TFoldTable table{};
        for (size_t b = 0; b < table.size(); ++b) table[b] = Byte(mystr_upper_char(static_cast<char>(b)));
        return table;
    }();
    return caseSensitive ? identity : upper;
}

}  // namespace

// Candidates are found with memchr, one stream per byte that folds to the
// text's first character; with more such bytes than kept, a byte loop.
TTextEditorTextFinder::TTextEditorTextFinder(const TString& text, bool caseSensitive, bool wholeWords)
    : pattern_(text.str()), caseSensitive_(caseSensitive), wholeWords_(wholeWords), fold_(&FoldTable(caseSensitive)) {
    for (char& c : pattern_) c = static_cast<char>((*fold_)[Byte(c)]);
    if (pattern_.empty()) return;
    for (size_t b = 0; b < fold_->size(); ++b) {
        if ((*fold_)[b] != Byte(pattern_[0])) continue;
        if (firstByteCount_ < kMaxFirstBytes) firstBytes_[firstByteCount_] = static_cast<char>(b);
        ++firstByteCount_;
    }
}

bool TTextEditorTextFinder::IsWholeWord(const char* line, int length, int pos, int hitLength) {
    const int end = pos + hitLength;
    return (pos == 0 || IsWordSeparator(line[pos - 1])) && (end >= length || IsWordSeparator(line[end]));
}

bool TTextEditorTextFinder::MatchesAt(const char* line, int pos) const {
    const char* at = line + pos;
    if (caseSensitive_) return std::memcmp(at, pattern_.data(), pattern_.size()) == 0;
    for (size_t i = 0; i < pattern_.size(); ++i)
        if ((*fold_)[Byte(at[i])] != Byte(pattern_[i])) return false;
    return true;
}

bool TTextEditorTextFinder::Counts(const char* line, int length, int pos) const {
    return !wholeWords_ || IsWholeWord(line, length, pos, Length());
}

int TTextEditorTextFinder::NextOccurrence(const char* line, int length, int from) const {
    const int last = length - Length();
    if (from > last) return -1;
    if (firstByteCount_ > kMaxFirstBytes) {
        for (int pos = from; pos <= last; ++pos)
            if ((*fold_)[Byte(line[pos])] == Byte(pattern_[0]) && MatchesAt(line, pos)) return pos;
        return -1;
    }
    // next[i]: the next place of firstBytes_[i] at or after the candidate
    // being looked at, -1 once it has none up to `last`.
    int next[kMaxFirstBytes];
    const auto find = [&](size_t i, int start) {
        if (start > last) return -1;
        const void* at = std::memchr(line + start, firstBytes_[i], static_cast<size_t>(last - start + 1));
        return at != nullptr ? static_cast<int>(static_cast<const char*>(at) - line) : -1;
    };
    for (size_t i = 0; i < firstByteCount_; ++i) next[i] = find(i, from);
    for (;;) {
        int candidate = -1;
        for (size_t i = 0; i < firstByteCount_; ++i)
            if (next[i] >= 0 && (candidate < 0 || next[i] < candidate)) candidate = next[i];
        if (candidate < 0) return -1;
        if (MatchesAt(line, candidate)) return candidate;
        for (size_t i = 0; i < firstByteCount_; ++i)
            if (next[i] == candidate) next[i] = find(i, candidate + 1);
    }
}

int TTextEditorTextFinder::FindForward(const TString& line, int from) const {
    if (pattern_.empty()) return -1;
    const char* text = line.c_str();
    const int length = line.Length();
    for (int pos = NextOccurrence(text, length, std::max(from, 0)); pos >= 0;
         pos = NextOccurrence(text, length, pos + 1))
        if (Counts(text, length, pos)) return pos;
    return -1;
}

int TTextEditorTextFinder::FindBackward(const TString& line, int from) const {
    if (pattern_.empty()) return -1;
    const char* text = line.c_str();
    const int length = line.Length();
    const unsigned char first = Byte(pattern_[0]);
    for (int pos = std::min(from, length - Length()); pos >= 0; --pos)
        if ((*fold_)[Byte(text[pos])] == first && MatchesAt(text, pos) && Counts(text, length, pos)) return pos;
    return -1;
}
