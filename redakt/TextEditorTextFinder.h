// TTextEditorTextFinder: finds one text in lines, exactly or without regard
// to case (the code page's case map), and optionally only as a whole word.
// The text is prepared once; each line is scanned in place.
#pragma once

#include <array>
#include <string>

#include "String.h"

class TTextEditorTextFinder {
public:
    // An empty text is found nowhere.
    TTextEditorTextFinder(const TString& text, bool caseSensitive, bool wholeWords);

    int Length() const { return static_cast<int>(pattern_.size()); }

    // The first hit at from or after it (a negative from counts as 0); -1
    // when there is none.
    int FindForward(const TString& line, int from) const;
    // The last hit at from or before it (a from past length - Length()
    // counts as that); -1 when there is none.
    int FindBackward(const TString& line, int from) const;

    // True when a hit of Length() characters at pos stands between word
    // separators: pos is 0 or follows a separator, and the hit ends the line
    // or a separator follows it.
    static bool IsWholeWord(const char* line, int length, int pos, int hitLength);

private:
    // The text occurs at pos (pos and pos + Length() inside the line).
    bool MatchesAt(const char* line, int pos) const;
    // The next occurrence at from (at least 0) or after it, whole word or
    // not; -1 when none.
    int NextOccurrence(const char* line, int length, int from) const;
    bool Counts(const char* line, int length, int pos) const;

    // The text, upper-cased through the case map when not case-sensitive.
    std::string pattern_;
    bool caseSensitive_;
    bool wholeWords_;
    // The case map, byte for byte (identity when case-sensitive); shared.
    const std::array<unsigned char, 256>* fold_;
    // The bytes that fold to the text's first character; more than
    // kMaxFirstBytes of them are not kept (firstByteCount says how many).
    static constexpr size_t kMaxFirstBytes = 4;
    std::array<char, kMaxFirstBytes> firstBytes_{};
    size_t firstByteCount_ = 0;
};
