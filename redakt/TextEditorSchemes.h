// Syntax schemes: named sets of editor settings for one kind of file, and
// the editor's list of them.
#pragma once

#include <array>

#include "ObjectContainer.h"
#include "String.h"
#include "StringContainer.h"

// A scheme carries the editor settings of the same names. A new scheme has
// the editor's own construction values: only EmptyUnindent, AllBlocks,
// DosFormat and ShowMargin set, indentSize 1, marginPos 80, no keywords.
class TTextEditorScheme : public TContainerItem {
public:
    TTextEditorScheme() = default;
    TTextEditorScheme(const TTextEditorScheme& source);
    TTextEditorScheme& operator=(const TTextEditorScheme& source);
    ~TTextEditorScheme() override;

    // Copies extensions, boldWords, the twenty flags, indentSize and marginPos
    // from another scheme; other items change nothing.
    void Assign(const TContainerItem& source) override;

    // Memory-buffer form: extensions (TString record), boldWords (string list
    // record), the twenty flags in Flags() order (one byte each), indentSize,
    // marginPos (i32 each). The reader replaces the scheme only when the whole
    // form reads well; an indentation size outside 0..kMaxIndentSize or a
    // negative margin column is damaged.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    void TakeContentOf(TTextEditorScheme& other) { Assign(other); }

    // ORDER: the twenty flags in the order the settings file stores them.
    using TFlag = bool TTextEditorScheme::*;
    static const std::array<TFlag, 20>& Flags();

    static constexpr int kMaxIndentSize = 1024;

    // The name shown to the user and the file extensions, separated by ';'
    // (compared upper-case, without the dot).
    TString extensions;
    bool AutoIndent = false;
    bool BackspaceUnindent = false;
    bool EmptyUnindent = true;
    bool PersistentBlocks = false;
    bool TextAtCursor = false;
    bool AllBlocks = true;
    bool SmartTab = false;
    bool AutoLineBreak = false;
    bool DoubleClickLine = false;
    bool DosFormat = true;
    bool PresrveMarkers = false;
    bool AutoSave = false;
    bool ShowBoldWords = false;
    bool ShowStrings = false;
    bool ShowChars = false;
    bool ShowDirectives = false;
    bool ShowRemarks = false;
    bool ShowNumbers = false;
    bool ShowSymbols = false;
    bool ShowMargin = true;
    int indentSize = 1;
    // Kept, copied and stored; applying a scheme leaves the editor's margin.
    int marginPos = 80;
    // The keywords drawn bold while ShowBoldWords is on.
    TStringContainer boldWords;
};

// The editor's schemes; the first, "Default", serves every file no other
// scheme names. Copies copy every scheme.
class TTextEditorSchemes : public TObjectContainer<TTextEditorScheme> {
public:
    TTextEditorSchemes() = default;
    TTextEditorSchemes(const TTextEditorSchemes& source) : TObjectContainer<TTextEditorScheme>(source) {}
    TTextEditorSchemes& operator=(const TTextEditorSchemes& source) {
        Assign(source);
        return *this;
    }
};
