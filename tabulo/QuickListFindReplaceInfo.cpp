// The quick list's cell matcher: exact, contained and case-folded comparison
// of cell texts with the text to find.
#include "QuickListFindReplaceInfo.h"

#include <cstring>

#include "CharClass.h"

namespace {

// Each byte's upper-case partner in the code page, as TString::ToUpper maps it.
const std::array<uint8_t, 256>& UpperCaseTable() {
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> upper{};
        for (int code = 0; code < 256; ++code) upper[size_t(code)] = uint8_t(mystr_upper_char(char(code)));
        return upper;
    }();
    return table;
}

}  // namespace

TQuickListCellMatcher::TQuickListCellMatcher(const std::string& text, bool caseSensitive, bool wholeText)
    : pattern_(text), fold_(!caseSensitive), wholeText_(wholeText), upper_(UpperCaseTable()) {
    if (fold_)
        for (char& c : pattern_) c = char(upper_[uint8_t(c)]);
}

// The first length bytes of cell, folded, equal the (folded) pattern.
bool TQuickListCellMatcher::Folds(const char* cell, const char* pattern, size_t length) const {
    for (size_t i = 0; i < length; ++i)
        if (upper_[uint8_t(cell[i])] != uint8_t(pattern[i])) return false;
    return true;
}

bool TQuickListCellMatcher::Contains(const std::string& cell) const {
    const size_t length = pattern_.size();
    if (length == 0) return true;
    if (cell.size() < length) return false;
    if (!fold_) return memmem(cell.data(), cell.size(), pattern_.data(), length) != nullptr;
    const uint8_t first = uint8_t(pattern_[0]);
    const char* text = cell.data();
    const size_t last = cell.size() - length;
    for (size_t i = 0; i <= last; ++i)
        if (upper_[uint8_t(text[i])] == first && Folds(text + i + 1, pattern_.data() + 1, length - 1)) return true;
    return false;
}

bool TQuickListCellMatcher::Matches(const std::string& cell) const {
    if (!wholeText_) return Contains(cell);
    if (cell.size() != pattern_.size()) return false;
    return fold_ ? Folds(cell.data(), pattern_.data(), cell.size()) : cell == pattern_;
}
