// The text editor's key table: what each key with its modifiers or after a
// chord prefix runs, as rows matched top-down, the first that applies winning.
#pragma once

#include <cstdint>

#include "Events.h"

class TTextEditor;

// When a row applies besides its key. "Ctrl*" is Ctrl held while the
// key-down before this one was made without Alt (lastAlt false), so that a
// character typed with AltGr, which arrives as Ctrl+Alt, does not trigger it.
// A chord condition holds while that chord prefix is pending.
enum TTextEditorKeyCondition : uint8_t {
    kcAlways,
    kcCtrl,
    kcCtrlStar,
    kcCtrlStarShift,
    kcCtrlStarNoShift,
    kcCtrlNoAlt,
    kcCtrlNoAltNoShift,
    kcAlt,
    kcAltNoCtrl,
    kcChordK,
    kcChordQ,
    kcChordL,
    kcChordD,
};

// What a row does around its action.
enum TTextEditorKeyFlag : uint8_t {
    // RO: the action does not run while ReadOnly is set.
    kfReadOnly = 1,
    // (s): the character that follows the key-down is dropped.
    kfSuppress = 2,
    // The final step (caret, clearing the K, Q and M chords, remembering the
    // key) is skipped.
    kfReturn = 4,
    // The chord that the condition names ends.
    kfEndsChord = 8,
};

// A key-down as the steps and a row's action see it.
struct TTextEditorKeyEvent {
    WORD key = 0;
    TShiftState shift;
    bool shiftHeld = false;
    bool ctrl = false;
    bool alt = false;
    // How many times the key acts (a repeat count's r; 1 without one).
    int repeat = 1;
    // Set by an action that ends the key-down there, as a row's return does.
    bool stop = false;

    static TTextEditorKeyEvent Of(WORD key, TShiftState shift) {
        TTextEditorKeyEvent event;
        event.key = key;
        event.shift = shift;
        event.shiftHeld = shift.Contains(ssShift);
        event.ctrl = shift.Contains(ssCtrl);
        event.alt = shift.Contains(ssAlt);
        return event;
    }
};

struct TTextEditorKeyRow {
    WORD key;
    TTextEditorKeyCondition condition;
    uint8_t flags;
    void (*action)(TTextEditor& editor, TTextEditorKeyEvent& event);
    // The key as the user presses it and the operation, "Ctrl+Q, E: ExchangeSelection".
    const char* name;
};
