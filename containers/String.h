// TString: a text of code-page bytes with positions from 0, and its storage forms.
//
// Edge rules shared by all members: a position below 0 or at or past the end
// never reads or writes outside the text. Ranges (first, last) include both ends
// and are clipped to the text; a range that is empty after clipping changes
// nothing and reads as the empty text. Searches give -1 when nothing is found.
#pragma once

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <string>

class TMemBuffer;
class TStringContainer;

class TString {
public:
    // Alignment modes of Align. ORDER: the numbers are stored by callers.
    enum TAlignMode { amLeft = 0, amRight = 1, amMiddle = 2, amCenter = 3 };

    // The white-space set of the package: blank, tab, CR, LF, vertical tab, form feed.
    static const char* const WhiteSpace;

    TString() = default;
    TString(const char* text);  // null gives the empty text
    TString(const char* text, int length);
    TString(const std::string& text) : fText(text) {}
    explicit TString(char c);
    // Decimal text of value, right-aligned with blanks to at least width characters.
    explicit TString(int value, int width = 0);
    explicit TString(int64_t value);
    // Fixed notation without exponent, the shortest text that reads back to the
    // same double; infinities and NaN give "inf", "-inf" and "nan".
    explicit TString(double value);

    TString& operator=(const char* text);
    TString& operator=(const std::string& text);
    // Replaces the text with length characters from text, as the constructor
    // makes them (none when text is null or length below 1).
    TString& Assign(const char* text, int length);

    const char* c_str() const { return fText.c_str(); }
    const std::string& str() const { return fText; }
    int Length() const { return static_cast<int>(fText.size()); }
    bool IsEmpty() const { return fText.empty(); }
    // The first length characters of text follow the text (none for length < 1).
    TString& Append(const char* text, int length) {
        if (length > 0) fText.append(text, static_cast<size_t>(length));
        return *this;
    }

    // Character at i; 0 outside the text.
    char operator[](int i) const { return i >= 0 && i < Length() ? fText[static_cast<size_t>(i)] : '\0'; }
    // Writable character at i; outside the text it reads 0 and a write goes nowhere.
    char& operator[](int i) { return i >= 0 && i < Length() ? fText[static_cast<size_t>(i)] : OutsideSlot(); }
    char GetChar(int i) const { return (*this)[i]; }
    // Writable character at i; throws TSDPPBadIndex outside the text.
    char& At(int i);
    // Sets character i; does nothing outside the text.
    void SetChar(int i, char c);

    // Storage: Reserve keeps room for capacity characters. With reduce capacity
    // on (the default), shrinking operations give memory back; off keeps it.
    void Reserve(int capacity);
    int GetCapacity() const { return static_cast<int>(fText.capacity()); }
    void SetReduceCapacity(bool reduce) { fReduceCapacity = reduce; }
    bool GetReduceCapacity() const { return fReduceCapacity; }
    void Clear();

    TString& operator+=(const TString& text);
    TString& operator+=(const char* text);
    TString& operator+=(char c);
    // Removes every occurrence of text (left to right, not overlapping); "" removes nothing.
    TString& operator-=(const TString& text);
    // Repeats the text n times; n < 1 gives the empty text.
    TString& operator*=(int n);
    TString operator*(int n) const;

    // Byte-wise comparison of unsigned characters: -1, 0 or 1.
    int Compare(const TString& other) const;
    static int Compare(const TString& a, const TString& b) { return a.Compare(b); }
    static int Compare(const TString* a, const TString* b);

    // First position of c or text at or after start; -1 when absent. An empty
    // text is found at start when start lies within 0..Length.
    int Pos(char c, int start = 0) const;
    int Pos(const TString& text, int start = 0) const;
    int LastPos(char c) const;
    // Position of occurrence n (counted from 0) of text at or after start;
    // occurrences do not overlap. -1 when there are fewer, n < 0 or text is empty.
    int NthPos(const TString& text, int n, int start = 0) const;
    // Number of non-overlapping occurrences; 0 for an empty text.
    int Count(const TString& text) const;
    int Count(char c) const;
    bool StartsWith(const TString& text) const;
    bool EndsWith(const TString& text) const;
    bool Contains(const TString& text) const { return Pos(text) >= 0; }

    TString Substring(int first, int last) const;
    TString Left(int n) const { return Substring(0, n - 1); }
    TString Right(int n) const { return Substring(Length() - n, Length() - 1); }

    // In place. Insert before pos (clipped to 0..Length); Delete a range.
    TString& Insert(int pos, const TString& text);
    TString& Delete(int first, int last);

    // Code-page case mapping and accents (see CharClass.h).
    TString& ToUpper();
    TString& ToLower();
    TString UpperCase() const;
    TString LowerCase() const;
    // Upper-cases each letter that follows a blank or starts the text.
    TString& Capitalize();
    TString& RemoveAccents();
    // True when the text holds a letter and none of its letters is lower-case
    // (upper-case); IsLower the other way round. No letter gives false.
    bool IsUpper() const;
    bool IsLower() const;

    TString& Rev();
    TString& Reverse() { return Rev(); }

    // Remove every leading and/or trailing c.
    TString& Trim(char c = ' ');
    TString& TrimLeft(char c = ' ');
    TString& TrimRight(char c = ' ');

    // Replaces every character from by to.
    TString& Substitute(char from, char to);
    // Replaces the first occurrence of from by to; "" changes nothing.
    TString& Substitute(const TString& from, const TString& to);
    // Replaces every occurrence, left to right, without rescanning replaced
    // text; an empty search text changes nothing.
    TString& SubstituteAll(const TString& from, const TString& to);
    // out = this text with every from replaced by to (SubstituteAll).
    void ReplaceAll(const char* from, const char* to, TString& out) const;

    // Each tab becomes blanks up to the next multiple of width (a width below
    // 1 counts as 1), a whole width when it stands on one; the first
    // character stands at column startColumn (a negative one counts as 0).
    TString& ExpandTabs(int width, int startColumn = 0);
    // Appends length characters of text to out with their tabs expanded as
    // ExpandTabs does, the first of them standing at column startColumn plus
    // out's length.
    static void AppendExpandingTabs(std::string& out, const char* text, int length, int width, int startColumn = 0);

    // Pads with c to width characters; a longer text is never cut.
    TString& ExtendLeft(int width, char c = ' ');
    TString& ExtendRight(int width, char c = ' ');
    // Trims blanks at both ends, then places the text in width columns: left
    // (no padding), right (blanks before), middle (centred: (width-length)/2
    // blanks before, none after), center (centred and padded with blanks to
    // exactly width). A text of width or more characters is only trimmed.
    TString& Align(TAlignMode mode, int width);

    // Edit distance (insert, delete, replace each 1).
    int LevenshteinDist(const TString& other) const;

    // Swaps [first, mid) with [mid, last] (last included); nothing unless
    // 0 <= first <= mid <= last < Length.
    TString& Exchange(int first, int mid, int last);
    // Swaps the ranges [first1, last1] and [first2, last2] (in either order);
    // nothing when a range is empty, outside the text, or the ranges overlap.
    TString& Exchange(int first1, int last1, int first2, int last2);

    // With remove true deletes the characters of set, otherwise keeps only them;
    // text between double quotes (quotes included) is kept unchanged either way.
    TString& DoFilter(const char* set, bool remove);

    // Extension after the last '.' of the last path part, without the dot; "" when none.
    TString GetFileExt() const;

    // Cuts at the first separator: key before it, value after it. Without a
    // separator both key and value receive the whole text, so a bare word
    // ("BACKGROUND") can serve as a flag key.
    void Split(char separator, TString& key, TString& value) const;

    // Appends the pieces between separators to list (the list is not emptied).
    // An empty text gives no piece; otherwise n separators give n+1 pieces,
    // empty pieces included.
    void GetTokens(char separator, TStringContainer& list) const;
    // topLevel false: as above. topLevel true: separators inside (), [], {}
    // or inside single or double quotes do not split, and the text ends at the
    // first closing bracket without an opening partner; pieces are not trimmed.
    void GetTokens(char separator, bool topLevel, TStringContainer& list) const;
    // keepEmpty false drops empty pieces, so a run of separators counts as one.
    void GetTokens(char separator, bool topLevel, bool keepEmpty, TStringContainer& list) const;

    // Numbers. ToInt/ToDouble read a leading number after blanks and give 0
    // when there is none. Parse* accept only a whole number (blanks around it
    // allowed), set value and return true; otherwise value is unchanged.
    int ToInt() const;
    int64_t ToInt64() const;
    double ToDouble() const;
    bool ParseInt(int& value) const;
    bool ParseInt64(int64_t& value) const;
    bool ParseDouble(double& value) const;
    bool IsInt() const;

    // Storage form (memory buffer and FILE stream): u32 length, byte 1, the
    // characters. Readers replace the text and return false on damaged or short
    // data, leaving the text empty.
    void WriteToMemBuffer(TMemBuffer& buffer) const;
    bool ReadFromMemBuffer(TMemBuffer& buffer);
    void SaveToStream(FILE* file) const;
    bool LoadFromStream(FILE* file);
    void WriteToStdStream(std::ostream& stream) const;
    bool ReadFromStdStream(std::istream& stream);

    friend bool operator==(const TString& a, const TString& b) { return a.fText == b.fText; }
    friend bool operator!=(const TString& a, const TString& b) { return a.fText != b.fText; }
    friend bool operator<(const TString& a, const TString& b) { return a.Compare(b) < 0; }
    friend bool operator>(const TString& a, const TString& b) { return a.Compare(b) > 0; }
    friend bool operator<=(const TString& a, const TString& b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const TString& a, const TString& b) { return a.Compare(b) >= 0; }
    friend TString operator+(const TString& a, const TString& b);

private:
    void ShrinkIfWanted();
    void TakeText(std::string& text);
    static char& OutsideSlot();
    bool ClipRange(int& first, int& last) const;

    std::string fText;
    bool fReduceCapacity = true;
};

std::ostream& operator<<(std::ostream& stream, const TString& text);
