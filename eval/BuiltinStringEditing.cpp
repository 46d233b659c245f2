// Built-in functions that edit strings: characters, padding, cutting, inserting, deleting, digit groups, tabs, capitals.
#include "BuiltinStringEditing.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "CharClass.h"
#include "TextRoutines.h"

namespace {

constexpr int kPadLeft = 85;
constexpr int kTabsToChars = 110;

// The first character of a pad or fill argument; a blank when it is empty.
char FillCharacter(const TString& text) { return text.IsEmpty() ? ' ' : text[0]; }

bool FitsResult(int64_t length) { return length <= kMaxBuiltinTextLength; }

// The last min(n, length) characters; nothing for n below 1.
int TailLength(const TBuiltinCall& call) {
    return static_cast<int>(std::clamp<int64_t>(call.Int32(1), 0, call.Text(0).Length()));
}

void StrChar(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int32_t i = call.Int32(1);
    result.value.integer = i >= 0 && i < s.Length() ? static_cast<int8_t>(s[i]) : 0;
}

void StrReplace(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    (ResultText(result) = call.Text(0)).SubstituteAll(call.Text(1), call.Text(2));
}

// str_pad_right and str_pad_left.
void StrPad(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int32_t width = call.Int32(2);
    if (!FitsResult(width)) return;
    TString& text = ResultText(result);
    text = call.Text(0);
    if (call.position == kPadLeft)
        text.ExtendLeft(width, FillCharacter(call.Text(1)));
    else
        text.ExtendRight(width, FillCharacter(call.Text(1)));
}

void StrNoAccents(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    (ResultText(result) = call.Text(0)).RemoveAccents();
}

// str_left and strbeg.
void StrLeft(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    ResultText(result) = call.Text(0).Substring(0, TailLength(call) - 1);
}

void StrRight(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    ResultText(result) = s.Substring(s.Length() - TailLength(call), s.Length() - 1);
}

void StrEnd(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int tail = TailLength(call);
    ResultText(result) = TString(s.c_str() + s.Length() - tail, tail);
}

// Groups of k characters counted from the end, separated by blanks.
void StrNums(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int32_t k = call.Int32(1);
    if (k < 1) return;
    const TString& s = call.Text(0);
    TString& text = ResultText(result);
    int inGroup = 0;
    for (int i = s.Length() - 1; i >= 0; --i) {
        text += s[i];
        if (++inGroup == k && i > 0) {
            text += ' ';
            inGroup = 0;
        }
    }
    text.Reverse();
}

// Each character of s found in from becomes the character of to at the same
// place; a character listed twice takes its last partner.
void StrCharReplace(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& from = call.Text(1);
    const TString& to = call.Text(2);
    std::array<unsigned char, 256> map{};
    for (int c = 0; c < 256; ++c) map[static_cast<size_t>(c)] = static_cast<unsigned char>(c);
    for (int j = 0; j < std::min(from.Length(), to.Length()); ++j)
        map[static_cast<unsigned char>(from[j])] = static_cast<unsigned char>(to[j]);
    TString& text = ResultText(result);
    text = call.Text(0);
    for (int i = 0; i < text.Length(); ++i) text[i] = static_cast<char>(map[static_cast<unsigned char>(text[i])]);
}

// t inserted at p; before the start a negative p pads t with blanks to
// width -p, past the end blanks fill the gap.
void StrInsert(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const TString& t = call.Text(1);
    const int64_t p = call.Int32(2);
    const int64_t gap = p < 0 ? std::max<int64_t>(-p - t.Length(), 0) : std::max<int64_t>(p - s.Length(), 0);
    if (!FitsResult(s.Length() + t.Length() + gap)) return;
    TString& text = ResultText(result);
    const TString blanks = TString(' ') * static_cast<int>(gap);
    if (p < 0) {
        text = t;
        text += blanks;
        text += s;
    } else if (p <= s.Length()) {
        (text = s).Insert(static_cast<int>(p), t);
    } else {
        text = s;
        text += blanks;
        text += t;
    }
}

// s without the n characters from p; p outside the text gives the empty text.
void StrDelete(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int32_t p = call.Int32(1);
    if (p < 0 || p >= s.Length()) return;
    const int n = static_cast<int>(std::clamp<int64_t>(call.Int32(2), 0, s.Length() - p));
    TString& text = ResultText(result);
    text = s;
    text.Delete(p, p + n - 1);
}

// tabs2spaces and tabs2chars; a width below 1 means 4.
void TabsToChars(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int32_t requested = call.Int32(1);
    const int width = requested < 1 ? 4 : requested;
    if (!FitsResult(s.Length() + static_cast<int64_t>(s.Count('\t')) * width)) return;
    const char fill = call.position == kTabsToChars ? FillCharacter(call.Text(2)) : ' ';
    TString& text = ResultText(result);
    text = s;
    EvalReplaceTabs(text, width, fill, call.stack.ScratchBuffer());
}

// Letters that start the text or follow a blank become capitals.
void Capitalize(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TString& text = ResultText(result);
    text = call.Text(0);
    char previous = ' ';
    for (int i = 0; i < text.Length(); ++i) {
        const char c = text[i];
        if (previous == ' ' && mystr_ishchar(c)) text[i] = mystr_upper_char(c);
        previous = c;
    }
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kStringEditingBodies[] = {
    {76, StrChar},         {81, StrReplace},   {84, StrPad},     {85, StrPad},        {88, StrNoAccents},
    {92, StrLeft},         {93, StrRight},     {94, StrNums},    {102, StrCharReplace}, {103, StrInsert},
    {104, StrDelete},      {109, TabsToChars}, {110, TabsToChars}, {122, Capitalize}, {125, StrLeft},
    {126, StrEnd},
};

}  // namespace

TBuiltinBodyRows StringEditingBuiltinBodies() { return RowsOf(kStringEditingBodies); }
