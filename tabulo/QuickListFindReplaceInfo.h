// TQuickListFindReplaceInfo: what a quick list keeps between searches (the
// options and texts of the last search, both histories and the position of
// the next cell to look at), and TQuickListCellMatcher, which tests cell
// texts against the text to find under those options.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TQuickListFindReplaceInfo {
    // At most this many entries in each history, newest first.
    static constexpr int kHistorySize = 16;

    // The search position: the next cell to look at.
    int line = 0;
    int col = 0;
    // The search replaces what it finds; confirm asks before each replacement.
    bool replace = false;
    bool confirm = false;
    // A cell matches only when its whole text equals the text to find;
    // otherwise when it contains it.
    bool wholeText = false;
    // Off: the text and the cells are compared in upper case (code page 1250).
    bool caseSensitive = false;
    std::string findText;
    std::string replaceText;
    std::vector<std::string> findHistory;
    std::vector<std::string> replaceHistory;
};

// Matches cell texts against the text to find. Without case sensitivity
// both sides are folded byte by byte through the code page's upper-case
// table as they are compared, which gives what upper-casing both copies
// would. An empty text to find is contained in every cell and is the whole
// text of empty cells.
class TQuickListCellMatcher {
public:
    TQuickListCellMatcher(const std::string& text, bool caseSensitive, bool wholeText);
    bool Matches(const std::string& cell) const;

private:
    bool Folds(const char* cell, const char* pattern, size_t length) const;
    bool Contains(const std::string& cell) const;

    std::string pattern_;
    bool fold_;
    bool wholeText_;
    const std::array<uint8_t, 256>& upper_;
};
