// The colouring passes of a painted line: comment start, bold words, quoted
// texts, digit and symbol runs.
#include "TextEditorSyntaxColouring.h"

#include <cstring>
#include <vector>

#include "TextEditor.h"
#include "TextEditorCharacters.h"

void DrawColumns(const TLineGeometry& at, const TString& text, int first, int count) {
    if (count <= 0) return;
    TextOutA(at.dc, first * at.charWidth + at.gap, at.y, text.c_str() + first, count);
}

int FindCommentStart(const TString& text) {
    const char* s = text.c_str();
    const int length = text.Length();
    bool inString = false;
    for (int i = 0; i < length - 2; ++i) {
        if (s[i] == '"') inString = !inString;
        if (!inString && s[i] == '/' && s[i + 1] == '/') return i;
    }
    return length;
}

namespace {

void SetColour(HDC dc, TColor colour) { SetTextColor(dc, ColorToRGB(colour)); }

// Whether the word is in the list: the stored length first (when the length
// table belongs to the list), then the bytes.
bool IsListed(const TStringContainer& words, const TIntContainer& lengths, const char* word, int length) {
    const bool lengthsFit = lengths.GetCount() == words.GetCount();
    for (int i = 0; i < words.GetCount(); ++i) {
        if (lengthsFit && lengths[i] != length) continue;
        const TString& entry = words[i];
        if (entry.Length() == length && std::memcmp(entry.c_str(), word, static_cast<size_t>(length)) == 0) return true;
    }
    return false;
}

}  // namespace

void DrawBoldWords(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd,
                   TColor colour) {
    const bool scheme = editor.GetShowBoldWords();
    if (!scheme && (!editor.GetShowCommonBoldWords() || editor.commonBoldWords == nullptr)) return;
    const TStringContainer& words = scheme ? editor.boldWords : *editor.commonBoldWords;
    const TIntContainer& lengths = scheme ? editor.boldWordLengths : editor.commonBoldWordLengths;
    const char* s = text.c_str();
    SetColour(at.dc, colour);
    bool inString = false;
    int pos = 0;
    while (pos < commentEnd) {
        for (; pos < commentEnd && IsWordSeparator(s[pos]); ++pos)
            if (s[pos] == '"') inString = !inString;
        int end = pos;
        while (end < commentEnd && !IsWordSeparator(s[end])) ++end;
        if (end > pos && !inString && IsListed(words, lengths, s + pos, end - pos))
            TextOutA(at.dc, pos * at.charWidth + at.gap + 1, at.y, s + pos, end - pos);
        pos = end;
    }
}

void DrawQuotedTexts(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd) {
    const struct {
        bool on;
        char quote;
        TColor colour;
    } kPasses[] = {
        {editor.GetShowStrings(), '"', editor.GetStringColor()},
        {editor.GetShowChars(), '\'', editor.GetCharColor()},
    };
    static std::vector<int> quotes;  // painting runs on the user-interface thread only
    const char* s = text.c_str();
    for (const auto& pass : kPasses) {
        if (!pass.on) continue;
        quotes.clear();
        for (int i = 0; i < commentEnd; ++i)
            if (s[i] == pass.quote) quotes.push_back(i);
        if (quotes.size() < 2) continue;
        SetColour(at.dc, pass.colour);
        for (size_t k = 0; k + 1 < quotes.size(); k += 2)
            DrawColumns(at, text, quotes[k], quotes[k + 1] - quotes[k] + 1);
    }
}

void DrawCharacterRuns(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd) {
    const struct {
        bool on;
        bool (*test)(char);
        bool digits;
        TColor colour;
    } kPasses[] = {
        {editor.GetShowNumbers(), &TTextEditor::IsDigit, true, editor.GetNumberColor()},
        {editor.GetShowSymbols(), &TTextEditor::IsSymbol, false, editor.GetSymbolColor()},
    };
    const char* s = text.c_str();
    const int length = text.Length();
    for (const auto& pass : kPasses) {
        if (!pass.on) continue;
        SetColour(at.dc, pass.colour);
        for (int i = 0; i < commentEnd; ++i) {
            if (!pass.test(s[i])) continue;
            const int start = i;
            // A run is measured to its end, also past the comment's start.
            while (i < length && pass.test(s[i])) ++i;
            const bool touchesLetter =
                (start > 0 && TTextEditor::IsCharacter(s[start - 1])) || (i < length && TTextEditor::IsCharacter(s[i]));
            if (!pass.digits || !touchesLetter) DrawColumns(at, text, start, i - start);
            // The character that ended the run is not tested again.
        }
    }
}
