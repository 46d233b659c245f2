// TTextEditor: the system clipboard's text, the ten clipboard buffers and the
// numbered bookmarks.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "TextEditor.h"
#include "Win32.h"

namespace {

bool IsBufferNumber(int n) { return n >= 0 && n <= 9; }

// The lines of a line block, each followed by CR LF.
std::string BlockText(const TStringContainer& lines, int first, int end) {
    size_t size = 0;
    for (int i = first; i < end; ++i) size += static_cast<size_t>(lines[i].Length()) + 2;
    std::string text;
    text.reserve(size);
    for (int i = first; i < end; ++i) {
        text += lines[i].str();
        text += "\r\n";
    }
    return text;
}

// The first c at or after from, or stop when there is none.
const char* FindByte(const char* from, const char* stop, char c) {
    const void* found = from < stop ? std::memchr(from, c, static_cast<size_t>(stop - from)) : nullptr;
    return found != nullptr ? static_cast<const char*>(found) : stop;
}

// What one pass over the clipboard text tells, so that no line needs a
// search of its own for them: whether it holds a NUL, a CR that is not the
// CR of a CR LF, a tab. The loop has no early exit, so the compiler can
// run it over many bytes at once.
struct TextFacts {
    bool nul = false;
    bool strayCR = false;
    bool tab = false;
};

TextFacts FactsOf(const char* bytes, size_t length) {
    if (length == 0) return {};
    unsigned char nul = 0, strayCR = 0, tab = 0;
    const size_t last = length - 1;
    for (size_t i = 0; i < last; ++i) {
        nul |= bytes[i] == '\0';
        strayCR |= (bytes[i] == '\r') & (bytes[i + 1] != '\n');
        tab |= bytes[i] == '\t';
    }
    nul |= bytes[last] == '\0';
    strayCR |= bytes[last] == '\r';
    tab |= bytes[last] == '\t';
    return {nul != 0, strayCR != 0, tab != 0};
}

// The clipboard text's lines: LF ends a line, CR is dropped wherever it
// stands, and the text after the last LF (empty when the text ends with a
// line break) is the last line. A line costs one search for its LF. When
// every CR is that of a CR LF (facts), a line drops the CR before its LF
// without a search; otherwise the next CR is searched for ahead, over the
// rest of the text, and again only once a line reaches it. The next tab is
// searched for likewise when the text holds one. Each line is made once,
// with the capacity rule reduce, straight into out; expandTabs(line, index)
// is called for those that hold a tab. Returns the length of the longest
// line made.
template <class ExpandTabs>
int SplitClipboardText(const char* bytes, size_t length, const TextFacts& facts, bool reduce, TStringContainer& out,
                       ExpandTabs expandTabs) {
    const char* const stop = bytes + length;
    const char* nextCR = facts.strayCR ? FindByte(bytes, stop, '\r') : stop;
    const char* nextTab = facts.tab ? FindByte(bytes, stop, '\t') : stop;
    std::vector<void*> made;
    std::string kept;  // a line with CRs inside, without them
    int longest = 0;
    for (const char* start = bytes;;) {
        const char* end = FindByte(start, stop, '\n');
        TString* line;
        if (!facts.strayCR) {
            const char* textEnd = end > start && end[-1] == '\r' ? end - 1 : end;
            line = new TString(start, static_cast<int>(textEnd - start));
        } else if (nextCR >= end) {
            line = new TString(start, static_cast<int>(end - start));
        } else {
            if (nextCR + 1 == end) {
                line = new TString(start, static_cast<int>(nextCR - start));
            } else {
                kept.assign(start, end);
                kept.erase(std::remove(kept.begin(), kept.end(), '\r'), kept.end());
                line = new TString(kept);
            }
            nextCR = FindByte(end, stop, '\r');
        }
        made.push_back(line);
        line->SetReduceCapacity(reduce);
        if (nextTab < end) {
            expandTabs(*line, static_cast<int>(made.size()) - 1);
            nextTab = FindByte(end, stop, '\t');
        }
        longest = std::max(longest, line->Length());
        if (end == stop) break;
        start = end + 1;
    }
    out.InsertItems(out.GetCount(), made.data(), static_cast<int>(made.size()));
    return longest;
}

// The text of a CF_TEXT block of size bytes: up to its first NUL and never
// past its size. A block whose last byte is its only NUL (as Copy makes
// them) needs no search for it: the pass that gathers the text's facts
// shows that no NUL comes earlier.
size_t TextLength(const char* bytes, size_t size, TextFacts& facts) {
    size_t length = size > 0 && bytes[size - 1] == '\0' ? size - 1 : size;
    facts = FactsOf(bytes, length);
    if (facts.nul) {
        length = static_cast<size_t>(static_cast<const char*>(std::memchr(bytes, '\0', length)) - bytes);
        facts = FactsOf(bytes, length);
    }
    return length;
}

// The CF_TEXT block's lines and the length of the longest; nothing (and 0)
// when the clipboard cannot be opened or holds no text.
template <class ExpandTabs>
int ReadClipboardLines(bool reduce, TStringContainer& out, ExpandTabs expandTabs) {
    if (!OpenClipboard(nullptr)) return 0;
    int longest = 0;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        const SIZE_T size = GlobalSize(block);
        if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
            TextFacts facts;
            const size_t length = TextLength(bytes, size, facts);
            // A line holds at most INT_MAX bytes: a larger text is read that far.
            longest = SplitClipboardText(bytes, std::min<size_t>(length, INT_MAX), facts, reduce, out, expandTabs);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return longest;
}

// A line the text lacks (a bookmark left below it by a load) reads as the last line.
int LineWithinText(int line, int count) { return std::clamp(line, 0, std::max(count - 1, 0)); }

}  // namespace

// An in-line selection is read from its own line (selLine) and only as far
// as that line's text goes.
void TTextEditor::Copy() {
    const TTextEditorSelection& s = selection;
    if (s.selStartLine != s.selEndLine) {
        const int first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
        const int end = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount());
        const std::string text = BlockText(lines, first, end);
        Copy(text.data(), static_cast<int>(text.size()));
    } else if (s.selStartCol != s.selEndCol) {
        const TString& text = GetLineText(s.selLine);
        const int start = std::clamp(std::min(s.selStartCol, s.selEndCol), 0, text.Length());
        const int end = std::clamp(std::max(s.selStartCol, s.selEndCol), start, text.Length());
        Copy(text.c_str() + start, end - start);
    }
}

void TTextEditor::Copy(const TString& text) { Copy(text.c_str(), text.Length()); }

// The block is the clipboard's once SetClipboardData takes it; until then a
// failure frees it here.
void TTextEditor::Copy(const char* text, int length) {
    if (text == nullptr || length < 0) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(length) + 1);
    if (block == nullptr) return;
    char* bytes = static_cast<char*>(GlobalLock(block));
    if (bytes == nullptr) {
        GlobalFree(block);
        return;
    }
    std::memcpy(bytes, text, static_cast<size_t>(length));
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    CloseClipboard();
}

// The clipboard is closed before the text goes in, so that the handlers the
// insertion fires may use it. Tabs are expanded in the pasted lines alone,
// before they go in (the rest of the text holds none), so the caret and the
// selection fall on the expanded text; an empty clipboard text pastes nothing.
void TTextEditor::Paste() {
    if (ReadOnly || !IsClipboardFormatAvailable(CF_TEXT)) return;
    TStringContainer text;
    // The first line goes in at the caret column, the others at column 0.
    const int longest = ReadClipboardLines(lines.GetReduceCapacity(), text, [this](TString& line, int index) {
        ExpandTabs(line, index == 0 ? CurCol : 0);
    });
    if (text.GetCount() == 0 || (text.GetCount() == 1 && text[0].IsEmpty())) return;
    InsertTextTaking(text, longest);
}

void TTextEditor::GetClipboardLines(TStringContainer& out) {
    ReadClipboardLines(lines.GetReduceCapacity(), out, [](TString&, int) {});
}

void TTextEditor::CopyToBuffer(int n) {
    if (IsBufferNumber(n)) GetSelectedText(buffers[n]);
}

void TTextEditor::PasteFromBuffer(int n) {
    if (IsBufferNumber(n)) InsertText(buffers[n]);
}

// Every bookmark of the number goes (there is at most one); when none of
// them was on the caret line, the bookmark is set there, last in the list.
// Only the digits name bookmarks: another number changes nothing.
void TTextEditor::MakeMarker(int number) {
    if (!IsBufferNumber(number)) return;
    bool toggledOff = false;
    for (int i = markers.GetCount() - 1; i >= 0; --i) {
        if (markers[i].number != number) continue;
        const int line = markers[i].line;
        markers.Delete(i);
        if (line >= 0) RepaintLine(line);
        toggledOff = toggledOff || line == CurLine;
    }
    if (toggledOff) return;
    markers += TEXT_EDITOR_MARKER{CurLine, number};
    RepaintLine(CurLine);
}

void TTextEditor::MarkerPress(int number) {
    for (int i = 0; i < markers.GetCount(); ++i)
        if (markers[i].number == number && markers[i].line >= 0) {
            CurLine = LineWithinText(markers[i].line, lines.GetCount());
            SetCaretPos(CurCol, CurLine);
            return;
        }
}

// Both go by the order in which the bookmarks were set, not by their lines.
void TTextEditor::PrevMarker() {
    int target = -1, lastSet = -1;
    for (int i = 0; i < markers.GetCount(); ++i) {
        const int line = markers[i].line;
        if (line < 0) continue;
        if (target < 0 && line < CurLine) target = line;
        lastSet = line;
    }
    if (target < 0) target = lastSet;
    if (target < 0) return;
    CurLine = LineWithinText(target, lines.GetCount());
    SetCaretPos(CurCol, CurLine);
}

void TTextEditor::NextMarker() {
    int target = -1, firstSet = -1;
    for (int i = 0; i < markers.GetCount(); ++i) {
        const int line = markers[i].line;
        if (line < 0) continue;
        if (firstSet < 0) firstSet = line;
        if (line > CurLine) {
            target = line;
            break;
        }
    }
    if (target < 0) target = firstSet;
    if (target < 0) return;
    CurLine = LineWithinText(target, lines.GetCount());
    SetCaretPos(CurCol, CurLine);
}

void TTextEditor::ClearMarkers() {
    markers.Clear();
    Repaint();
}
