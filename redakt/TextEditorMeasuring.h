// A device context for measuring the editor's font before and after its window exists.
#pragma once

#include "Win32.h"

class TTextEditor;

// The canvas's DC once the window exists (the canvas font is selected in
// it); before that a screen-compatible DC with the canvas font selected,
// freed again by the destructor. Measuring never makes the window.
class TTextEditorMeasuringDC {
public:
    explicit TTextEditorMeasuringDC(TTextEditor& editor);
    ~TTextEditorMeasuringDC();
    TTextEditorMeasuringDC(const TTextEditorMeasuringDC&) = delete;
    TTextEditorMeasuringDC& operator=(const TTextEditorMeasuringDC&) = delete;

    HDC Handle() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HDC own_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};
