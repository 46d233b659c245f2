// The editor's one-line syntax colouring: the passes that draw a line's
// comment, bold words, quoted texts, numbers and symbols over its plain text.
#pragma once

#include "Graphics.h"
#include "String.h"
#include "Win32.h"

class TTextEditor;

// Where a line's characters go: column c at x = c x charWidth + gap, on y.
struct TLineGeometry {
    HDC dc;
    int y;
    int gap;
    int charWidth;
};

// Draws characters [first, first + count) of text at their columns, transparent.
void DrawColumns(const TLineGeometry& at, const TString& text, int first, int count);

// The column where a comment (two slashes outside double quotes) starts, or
// the text's length without one. Two slashes that end the line start none.
int FindCommentStart(const TString& text);

// Each pass looks only at the columns before commentEnd and draws over the
// text already drawn.
// The words of the scheme's keyword list (or, with only the common switch
// on, of the common list) drawn once more one pixel to the right in colour.
void DrawBoldWords(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd,
                   TColor colour);
// Double-quoted strings and single-quoted characters, quotes included; an
// odd last quote pairs with nothing. No escape character.
void DrawQuotedTexts(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd);
// Runs of digits (not touching a letter) and runs of symbol characters.
void DrawCharacterRuns(const TTextEditor& editor, const TLineGeometry& at, const TString& text, int commentEnd);
