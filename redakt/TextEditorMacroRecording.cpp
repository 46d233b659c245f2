// TTextEditor: recording and playing keyboard and named macros, and the
// private messages through which a macro plays.
#include <algorithm>
#include <memory>
#include <string>

#include "ComboBox.h"
#include "Edit.h"
#include "TextEditor.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorTexts.h"
#include "Win32.h"

// Playback posts the items to the editor's own window, so that they queue
// behind input that came earlier and pass through the key handling one by
// one. A playback whose messages are still queued refuses another, which
// would interleave with it.
void TTextEditor::PlayMacro(TTextEditorMacro macro, TStringContainer params) {
    if (macroPlaying || !HandleAllocated()) return;
    macroPlaying = true;
    HWND window = GetHandle();
    for (int i = 0; i < macro.GetCount(); ++i) {
        const TTextEditorMacroItem& item = macro[i];
        if (item.kind == mkKeyDown) {
            const LPARAM modifiers = (item.shift.Contains(ssShift) ? 1 : 0) | (item.shift.Contains(ssCtrl) ? 2 : 0) |
                                     (item.shift.Contains(ssAlt) ? 4 : 0);
            PostMessageA(window, WM_USER, item.key, modifiers);
        } else if (item.kind == mkCharacter) {
            PostMessageA(window, WM_USER + 1, static_cast<unsigned char>(item.ch), 0);
        } else if (item.param >= 0 && item.param < params.GetCount()) {
            const TString& text = params[item.param];
            for (int c = 0; c < text.Length(); ++c) PostMessageA(window, WM_USER + 1, static_cast<unsigned char>(text[c]), 0);
        }
    }
    PostMessageA(window, WM_USER + 2, 0, 0);
}

void TTextEditor::StartMacro() {
    if (OnMacro) OnMacro(this, meChordPending, 0);
}

// A named recording still running ends first, as its index would name the slot.
void TTextEditor::RecordMacro(int slot) {
    if (slot < 0 || slot > 9) return;
    if (paramMacroRecording) StopMacroRecording(false);
    macros[slot].Clear();
    macroRecording = true;
    macroSlot = slot;
    if (OnMacro) OnMacro(this, meRecordingStarted, slot);
}

void TTextEditor::StopMacroRecording(bool suppress) {
    const bool keyboardMacro = macroRecording;
    const bool namedMacro = paramMacroRecording;
    macroRecording = paramMacroRecording = false;
    if (suppress) suppressKeyPress = true;
    chordM = false;
    if (keyboardMacro) {
        if (OnMacro) OnMacro(this, meRecordingEnded, macroSlot);
    } else if (namedMacro && OnParamMacro) {
        OnParamMacro(this, meRecordingEnded, macroSlot);
    }
}

// The slot being recorded does not play: its items would go into itself.
void TTextEditor::PlayMacro(int slot) {
    if (slot < 0 || slot > 9 || macros[slot].GetCount() == 0) return;
    if (macroRecording && slot == macroSlot) return;
    PlayMacro(macros[slot], TStringContainer());
}

TTextEditorMacro* TTextEditor::RecordingMacro() {
    if (macroRecording) return macroSlot >= 0 && macroSlot <= 9 ? &macros[macroSlot] : nullptr;
    if (paramMacroRecording && macroSlot >= 0 && macroSlot < paramMacros.GetCount()) return &paramMacros[macroSlot];
    return nullptr;
}

// A keyboard recording still running ends first: its items would otherwise
// go into the keyboard slot that the named macro's index names.
void TTextEditor::RecordParamMacro() {
    TTextEditorMacroNameDlg* dialog = SharedMacroNameDlg();
    if (dialog == nullptr) return;
    SetupDlgPos(dialog);
    dialog->SetActiveControl(dialog->edName);
    if (dialog->ShowModal() != mrOk) return;
    const TString name(dialog->edName->GetText());
    if (name.IsEmpty()) return;
    if (macroRecording || paramMacroRecording) StopMacroRecording(false);
    int index = IndexOfParamMacro(name);
    if (index >= 0) {
        paramMacros[index].Clear();
    } else {
        paramMacros.NewItem()->name = name;
        index = paramMacros.GetCount() - 1;
    }
    paramMacroRecording = true;
    macroSlot = index;
    paramMacroName = name;
    if (OnParamMacro) OnParamMacro(this, meRecordingStarted, index);
}

// Without named macros the list is emptied, so that OK chooses nothing.
void TTextEditor::SetupSelectParamMacroDlg() {
    TTextEditorSelectParamMacroDlg* dialog = SharedSelectParamMacroDlg();
    if (dialog == nullptr) return;
    SetupDlgPos(dialog);
    TComboBox* combo = dialog->cmbMacros;
    const int count = paramMacros.GetCount();
    const int previous = combo->GetItemIndex();
    combo->GetItems()->Clear();
    if (count == 0) return;
    for (int i = 0; i < count; ++i) combo->GetItems()->Add(paramMacros[i].name.str());
    combo->SetItemIndex(std::max(std::min(previous, count - 1), 0));
    dialog->SetActiveControl(combo);
}

// While a playback's messages are queued nothing plays: a macro that holds
// Alt+P would otherwise post itself for ever.
void TTextEditor::PlayParamMacro() {
    if (macroPlaying) return;
    TString name;
    if (ChooseParamMacro(100448, "Play paramterized macro", name)) PlayParamMacro(name);
}

// The macro being recorded does not play into itself.
void TTextEditor::PlayParamMacro(TString name) {
    if (paramMacroRecording && name == paramMacroName) return;
    for (int m = 0; m < paramMacros.GetCount() && !macroPlaying; ++m) {
        if (paramMacros[m].name != name) continue;
        const TTextEditorMacro macro(paramMacros[m]);
        TStringContainer params;
        if (!AskMacroParameters(macro, params)) return;
        PlayMacro(macro, params);
    }
}

// A recording into the deleted macro ends; one into a later macro follows
// its place.
void TTextEditor::DeleteParamMacro() {
    TString name;
    if (!ChooseParamMacro(100450, "Delete parameterized macro", name)) return;
    const int index = IndexOfParamMacro(name);
    if (index < 0) return;
    if (paramMacroRecording && index == macroSlot) StopMacroRecording(false);
    if (paramMacroRecording && index < macroSlot) --macroSlot;
    paramMacros.Delete(index, true);
}

bool TTextEditor::ChooseParamMacro(int captionId, const char* caption, TString& name) {
    SetupSelectParamMacroDlg();
    TTextEditorSelectParamMacroDlg* dialog = SharedSelectParamMacroDlg();
    if (dialog == nullptr) return false;
    dialog->SetCaption(TextEditorText(captionId, caption));
    if (dialog->ShowModal() != mrOk) return false;
    const TStrings* items = dialog->cmbMacros->GetItems();
    const int index = dialog->cmbMacros->GetItemIndex();
    if (index < 0 || index >= items->GetCount()) return false;
    name = TString(items->GetStrings(index));
    return true;
}

// One text per place up to the highest place the macro holds (at most
// ten); a macro without places asks nothing.
bool TTextEditor::AskMacroParameters(const TTextEditorMacro& macro, TStringContainer& params) {
    int places = 0;
    for (int i = 0; i < macro.GetCount(); ++i)
        if (macro[i].kind == mkParameter) places = std::max(places, macro[i].param + 1);
    places = std::min(places, TTextEditorParamMacroDlg::kMaxEdits);
    if (places == 0) return true;
    auto dialog = std::make_unique<TTextEditorParamMacroDlg>(nullptr);
    dialog->AddParameterEdits(places);
    SetupDlgPos(dialog.get());
    if (dialog->ShowModal() != mrOk) return false;
    for (const std::string& text : dialog->GetParameterTexts()) params.Add(TString(text));
    return true;
}

int TTextEditor::IndexOfParamMacro(const TString& name) const {
    for (int i = 0; i < paramMacros.GetCount(); ++i)
        if (paramMacros[i].name == name) return i;
    return -1;
}

// A played key-down: lParam bits 1, 2 and 4 are Shift, Ctrl and Alt. No
// character message follows it, which the key handling must know.
void TTextEditor::WMMacroKeyDown(TMessage& message) {
    TShiftState shift;
    if (message.LParam & 1) shift << ssShift;
    if (message.LParam & 2) shift << ssCtrl;
    if (message.LParam & 4) shift << ssAlt;
    WORD key = static_cast<WORD>(message.WParam);
    const bool wasReplayed = keyDownReplayed;
    keyDownReplayed = true;
    try {
        KeyDown(key, shift);
    } catch (...) {
        keyDownReplayed = wasReplayed;
        throw;
    }
    keyDownReplayed = wasReplayed;
}

// A played character: the low byte, so a code-page letter above 127 arrives
// whole however it was widened.
void TTextEditor::WMMacroKeyPress(TMessage& message) {
    char key = static_cast<char>(message.WParam & 0xFF);
    KeyPress(key);
}

void TTextEditor::WMMacroPlayEnd(TMessage&) { macroPlaying = false; }
