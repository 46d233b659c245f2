// TTextEditor: recording and playing keyboard and named macros, and the
// private messages through which a macro plays.
#include "TextEditor.h"
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

void TTextEditor::RecordMacro(int slot) {
    if (slot < 0 || slot > 9) return;
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

// Not built yet: named macros are neither recorded nor played until they are done.
void TTextEditor::RecordParamMacro() {}
void TTextEditor::PlayParamMacro() {}
void TTextEditor::PlayParamMacro(TString) {}
void TTextEditor::DeleteParamMacro() {}

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
