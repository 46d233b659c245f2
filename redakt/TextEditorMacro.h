// Recorded input of the editor's macros: one event, a macro of events with a
// name, and the list of named macros, with their memory-buffer and stream forms.
#pragma once

#include <cstdint>
#include <cstdio>

#include "Events.h"
#include "ObjectContainer.h"
#include "String.h"

// ORDER: kinds are stored in macro files.
enum TTextEditorMacroItemKind : uint8_t { mkKeyDown = 0, mkCharacter = 1, mkParameter = 2 };

// One recorded event: a key-down with its modifiers, a typed character, or
// the place where a parameter's text is typed.
class TTextEditorMacroItem : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override;

    // Stream record, 11 bytes: kind (u8), key (u16), ch (u8), param (i32),
    // then one byte each for Shift, Ctrl and Alt held (1 or 0). A modifier
    // byte that is not 0 adds its modifier. The buffer forms hold the same
    // bytes. A kind above 2 or a param outside 0..9 is damaged; the readers
    // then read nothing into the item.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;
    void WriteStreamRecord(TMemBuffer& buffer) const;
    bool ReadStreamRecord(TMemBuffer& buffer);
    // Memory-buffer form: the first four fields only (8 bytes); reading it
    // leaves no modifier held.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    uint8_t kind = mkKeyDown;
    uint16_t key = 0;
    char ch = 0;
    int param = 0;
    // Only Shift, Alt and Ctrl are recorded.
    TShiftState shift;
};

// A macro: its events in order and, for a named macro, its name (empty for
// the ten keyboard macros). The copy constructor copies the events only;
// assignment and Assign copy the name too.
class TTextEditorMacro : public TObjectContainer<TTextEditorMacroItem> {
public:
    TTextEditorMacro() = default;
    TTextEditorMacro(const TTextEditorMacro& source);
    TTextEditorMacro& operator=(const TTextEditorMacro& source);

    void Assign(const TContainerItem& source) override;

    // Memory-buffer form: the container's form with 8-byte events, then the
    // name's record. Stream form (FILE and the *StreamForm buffer calls): the
    // container's form with 11-byte events, without the name. Readers replace
    // the macro only when the whole form reads well.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;
    void WriteStreamForm(TMemBuffer& buffer) const;
    bool ReadStreamForm(TMemBuffer& buffer);

    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;

    void TakeContentOf(TTextEditorMacro& other);

    TString name;

private:
    // Whether the next form written or read is the stream form.
    mutable bool fStreamForm = false;
};

// The named macros, in creation order. Stream form: the container's stream
// form of the macros (their events only), then each macro's name as a
// TString stream record, in list order. Memory-buffer form: the container's,
// each macro in its own memory-buffer form (with its name). Readers replace
// the list only when the whole form reads well.
class TTextEditorMacros : public TObjectContainer<TTextEditorMacro> {
public:
    TTextEditorMacros() = default;
    TTextEditorMacros(const TTextEditorMacros& source) : TObjectContainer<TTextEditorMacro>(source) {}
    TTextEditorMacros& operator=(const TTextEditorMacros& source) {
        Assign(source);
        return *this;
    }

    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;

    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;

    void TakeContentOf(TTextEditorMacros& other);

private:
    bool LoadStreamForm(FILE* file);

    mutable bool fStreamForm = false;
};
