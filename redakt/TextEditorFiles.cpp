// TTextEditor: loading and saving text files (HTML ones converted to and from
// plain text), the file dialogs' filter, and the scheme chosen by extension.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "Application.h"
#include "FileDialogs.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorTexts.h"

namespace {

// The text with its first "%d" or "%s" replaced by value; a text of the
// language table is never used as a format.
std::string WithValue(std::string text, const std::string& value) {
    const size_t at = text.find('%');
    if (at != std::string::npos && at + 1 < text.size() && (text[at + 1] == 'd' || text[at + 1] == 's'))
        text.replace(at, 2, value);
    return text;
}

void ShowBox(TTextEditor* editor, const std::string& text, const std::string& caption, UINT icon) {
    HWND owner = editor->HandleAllocated() ? editor->GetHandle() : nullptr;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | icon);
}

// What the reading callback of Load keeps.
struct TLineLimit {
    TTextEditor* editor;
    int maxLines;
    int linesRead;
    bool reached;
};

// Once per line read. The limit is announced, and the file cut, only when
// the file goes on after the line that reaches it.
void LineRead(int total, int done, bool& stop, void* context) {
    TLineLimit& limit = *static_cast<TLineLimit*>(context);
    if (limit.editor->OnProgressChange) limit.editor->OnProgressChange(limit.editor, total, done);
    ++limit.linesRead;
    if (limit.linesRead != limit.maxLines || done >= total) return;
    ShowBox(limit.editor, WithValue(TextEditorText(100471, "The max. number of lines (%d) has been reached"),
                                    std::to_string(limit.maxLines)),
            TextEditorText(100472, "Read file"), MB_ICONINFORMATION);
    limit.reached = true;
    stop = true;
}

void SetCursorShape(TCursor cursor) {
    if (Screen != nullptr) Screen->SetCursor(cursor);
}

TString UpperExtension(const TString& name) { return name.GetFileExt().UpperCase(); }

bool IsOneOf(const TString& extension, int firstId, int secondId) {
    return extension.str() == TextEditorText(firstId, "HTM") || extension.str() == TextEditorText(secondId, "HTML");
}

}  // namespace

// A file read only in part (a failed read, the line limit, lines cut by the
// line store) keeps no file name: saving it, or an auto-save on the next
// focus loss, would write the part over the whole file.
// A file loaded while the help shows would otherwise go into the help's
// place, and the swap back would put the old text under the new file's name.
void TTextEditor::Load(TString name, int maxLines) {
    if (helpShown) Help();
    name.Trim(' ');
    // The old lines are filled again with the new ones rather than freed.
    lines.Recycle();
    sections.DeleteAll(true);
    lines.SetReading(false);
    lines.SetTruncated(false);
    ClearUndo();
    fileName.Clear();
    ProgressChange(0, -1);
    SetCursorShape(crHourGlass);
    SetHPos(0);
    TLineLimit limit{this, maxLines, 0, false};
    bool whole = true;
    // Tabs are expanded as each line is read, and the read measures them.
    lines.SetTabExpansion(std::max(TabSize, 1));
    int longest = -1;
    try {
        // Without a handler or a limit there is nothing to do for each line.
        const bool perLine = OnProgressChange || maxLines > 0;
        longest = lines.ReadFromFileCallback(name, perLine ? &LineRead : nullptr, &limit);
    } catch (const std::exception&) {
        whole = false;
        ShowLoadError(name);
    }
    lines.SetTabExpansion(0);
    ProgressChange(0, -2);
    SetCursorShape(crDefault);
    if (lines.GetTruncated()) {
        whole = false;
        ShowBox(this, TextEditorText(100475, "Unicode characters were truncated"), TextEditorText(100463, "Load file"),
                MB_ICONINFORMATION);
    }
    const TString extension = UpperExtension(name);
    SetLang(extension);
    const bool html = extension.str() == "HTM";
    if (html) {
        HTMLToText();
        Event(1);
    } else {
        Event(2);
    }
    // Measured after tabs and entities took their final width: the read's
    // measure holds unless it failed, entities were turned into letters or
    // an event handler had the text.
    const bool measured = longest >= 0 && !html && !OnEvent;
    if (measured) SetHMax(longest);
    RefreshSettings(true, !measured);
    if (whole && !limit.reached) fileName = name;
    SetModified(false);
}

// While the help shows, the line store holds the help text, which must never
// reach the user's file.
bool TTextEditor::Save() {
    if (helpShown) return false;
    TString target = fileName;
    if (target.IsEmpty()) {
        auto dialog = std::make_unique<TSaveDialog>(this);
        dialog->SetTitle(TextEditorText(100260, "Save file"));
        FillSaveExtensions(dialog.get());
        CaretOff();
        const bool chosen = dialog->Execute();
        CaretOn();
        if (!chosen) return false;
        target = dialog->GetFileName();
        SetLang(UpperExtension(target));
        RefreshSettings(true, true);
    }
    DeleteTailSpaces();
    const bool html = IsOneOf(UpperExtension(target), 100261, 100262);
    if (html) TextToHTML();
    Event(html ? 1 : 2);
    Event(3);
    lines.SetDosLineEnds(DosFormat);
    const bool written = WriteLinesWithProgress(this, lines, target);
    if (html) HTMLToText();
    if (!written) return false;
    fileName = target;
    SetModified(false);
    return true;
}

bool TTextEditor::SaveAs(TString name) {
    if (helpShown) return false;
    lines.SetDosLineEnds(DosFormat);
    int longest = 0;
    if (!WriteLinesWithProgress(this, lines, name, &longest)) return false;
    fileName = name;
    const TString extension = UpperExtension(name);
    SetLang(extension);
    // The write measured the lines, unless a progress handler had the text
    // meanwhile.
    const bool measured = !OnProgressChange;
    if (measured) SetHMax(longest);
    RefreshSettings(true, !measured);
    Event(IsOneOf(extension, 100263, 100264) ? 1 : 2);
    SetModified(false);
    return true;
}

void TTextEditor::FillSaveExtensions(TSaveDialog* dialog) {
    if (dialog == nullptr) return;
    dialog->SetDefaultExt(TextEditorText(100255, "TXT"));
    dialog->SetFilter(FileFilter(100256, 100257, 100258, 100259));
    dialog->SetFilterIndex(filterIndex);
}

// The text files entry, each extra entry after its bar, then the any-file
// entry after its bar. The defaults carry one bar between description and
// mask, as the dialogs read them.
std::string TTextEditor::FileFilter(int textFilesId, int extraBarId, int lastBarId, int anyFileId) const {
    std::string filter = TextEditorText(textFilesId, "Text files (*.TXT)|*.TXT");
    for (int i = 0; i < extraFilters.GetCount(); ++i) filter += TextEditorText(extraBarId, "|") + extraFilters[i].str();
    filter += TextEditorText(lastBarId, "|") + TextEditorText(anyFileId, "Any file (*.*)|*.*");
    return filter;
}

void TTextEditor::SetLang(TString extension) {
    for (int i = 0; i < schemes.GetCount(); ++i) {
        TStringContainer names;
        schemes[i].extensions.UpperCase().GetTokens(';', false, names);
        for (int k = 0; k < names.GetCount(); ++k)
            if (names[k] == extension) {
                SetScheme(i);
                return;
            }
    }
    SetScheme(0);
}

void TTextEditor::SetScheme(int index) {
    if (index < 0 || index >= schemes.GetCount()) return;
    // ORDER: the scheme's field order.
    static const std::pair<bool TTextEditorScheme::*, bool TTextEditor::*> kFlags[] = {
        {&TTextEditorScheme::AutoIndent, &TTextEditor::AutoIndent},
        {&TTextEditorScheme::BackspaceUnindent, &TTextEditor::BackspaceUnindent},
        {&TTextEditorScheme::EmptyUnindent, &TTextEditor::EmptyUnindent},
        {&TTextEditorScheme::PersistentBlocks, &TTextEditor::PersistentBlocks},
        {&TTextEditorScheme::TextAtCursor, &TTextEditor::TextAtCursor},
        {&TTextEditorScheme::AllBlocks, &TTextEditor::AllBlocks},
        {&TTextEditorScheme::SmartTab, &TTextEditor::SmartTab},
        {&TTextEditorScheme::AutoLineBreak, &TTextEditor::AutoLineBreak},
        {&TTextEditorScheme::DoubleClickLine, &TTextEditor::DoubleClickLine},
        {&TTextEditorScheme::DosFormat, &TTextEditor::DosFormat},
        {&TTextEditorScheme::PresrveMarkers, &TTextEditor::PresrveMarkers},
        {&TTextEditorScheme::AutoSave, &TTextEditor::AutoSave},
        {&TTextEditorScheme::ShowBoldWords, &TTextEditor::ShowBoldWords},
        {&TTextEditorScheme::ShowStrings, &TTextEditor::ShowStrings},
        {&TTextEditorScheme::ShowChars, &TTextEditor::ShowChars},
        {&TTextEditorScheme::ShowDirectives, &TTextEditor::ShowDirectives},
        {&TTextEditorScheme::ShowRemarks, &TTextEditor::ShowRemarks},
        {&TTextEditorScheme::ShowNumbers, &TTextEditor::ShowNumbers},
        {&TTextEditorScheme::ShowSymbols, &TTextEditor::ShowSymbols},
        {&TTextEditorScheme::ShowMargin, &TTextEditor::ShowMargin},
    };
    const TTextEditorScheme& scheme = schemes[index];
    schemeIndex = index;
    boldWords = scheme.boldWords;
    SetBWLengths();
    for (const auto& flag : kFlags) this->*flag.second = scheme.*flag.first;
    IndentSize = scheme.indentSize;
}

void TTextEditor::ShowLoadError(const TString& name) {
    ShowBox(this,
            WithValue(TextEditorText(100462, "Error loading file: %s\nPossibly a memory allocation problem"), name.str()),
            TextEditorText(100463, "Load file"), MB_ICONERROR);
}

void TTextEditor::SetCommonBoldWords(TStringContainer* words) {
    commonBoldWords = words;
    SetBWLengths();
}
