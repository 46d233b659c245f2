// Sorting comparisons of the editor unit, the file writer with progress,
// and the readers of command numbers and keywords.
#include "TextEditorFunctions.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "TextEditor.h"
#include "TextEditorTexts.h"
#include "Win32.h"

namespace {

template <class T>
int Order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

void NoteComparison(void* context) {
    const auto* sort = static_cast<const TTextEditorSortContext*>(context);
    if (sort != nullptr && !sort->quiet && sort->editor != nullptr) sort->editor->ProgressChange(0, -3);
}

// 64 bits, so that keys beyond 32 bits order by their values.
int64_t NumberOf(const TString* text) {
    int64_t value = 0;
    if (text != nullptr) text->ParseInt64(value);
    return value;
}

void ForwardProgress(int total, int done, void* context) { static_cast<TTextEditor*>(context)->ProgressChange(total, done); }

}  // namespace

int CompareInts(const int* a, const int* b) { return Order(*a, *b); }

int CompareLines(const TString* a, const TString* b, void* context) {
    NoteComparison(context);
    return TString::Compare(a, b);
}

int CompareLineNumbers(const TString* a, const TString* b, void* context) {
    NoteComparison(context);
    return Order(NumberOf(a), NumberOf(b));
}

bool WriteLinesWithProgress(TTextEditor* editor, TStringContainer& lines, const TString& fileName, int* longest) {
    editor->ProgressChange(0, -1);
    bool written = true;
    try {
        // Without a handler there is nothing to forward for each line.
        const int measured =
            lines.WriteToFileCallback(fileName, editor->OnProgressChange ? &ForwardProgress : nullptr, editor);
        if (longest != nullptr) *longest = measured;
    } catch (...) {
        written = false;
        const std::string text = TextEditorText(100221, "Error with saving (Read Only ?)");
        const std::string caption = TextEditorText(100222, "Save file");
        HWND owner = editor->HandleAllocated() ? editor->GetHandle() : nullptr;
        MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    editor->ProgressChange(0, -2);
    return written;
}

bool ReadLeadingNumber(const std::string& text, int& number) {
    const char* start = text.c_str();
    char* end = nullptr;
    const long value = std::strtol(start, &end, 10);
    if (end == start) return false;
    number = static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    return true;
}

int MatchKeyword(const TString& word, const char* const* keywords, int count) {
    if (word.IsEmpty()) return -1;
    for (int i = 0; i < count; ++i)
        if (std::string(keywords[i]).compare(0, word.str().size(), word.str()) == 0) return i;
    return -1;
}
