// What the visualizer tests share: a visualizer that opens its state to the
// tests, and word sizes and call traces to compare with (the memory device
// context is the platform tests' GdiCanvas).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VGTVisualizer.h"
#include "Win32.h"
#include "win32/tests/GdiCanvas.h"

// The lines of a markup text, split at '\n'.
inline TStringContainer MarkupLines(const std::string& markup) {
    TStringContainer lines;
    size_t start = 0;
    for (size_t end; (end = markup.find('\n', start)) != std::string::npos; start = end + 1)
        lines.Add(TString(markup.substr(start, end - start)));
    lines.Add(TString(markup.substr(start)));
    return lines;
}

struct Measured {
    bool ok = false;
    int height = 0;
    int maxWidth = 0;
};

// A visualizer whose state the tests may read, which records every font it
// selects.
class ProbeVisualizer : public TVGTVisualizer {
public:
    using TVGTVisualizer::fColumns;
    using TVGTVisualizer::fIndents;
    using TVGTVisualizer::fLeftKeeps;
    using TVGTVisualizer::fListNumbers;
    using TVGTVisualizer::fRightKeeps;
    using TVGTVisualizer::fX;
    using TVGTVisualizer::fY;

    void SelectFont() override {
        TVGTVisualizer::SelectFont();
        fonts.push_back(fFont);
    }

    void SetMarkup(const std::string& markup) { AssignSource(MarkupLines(markup)); }

    // The measure pass from left to right at top, the max width starting at 0.
    Measured Measure(HDC dc, int left = 8, int top = 0, int right = 500) {
        Measured result;
        result.ok = MeasureTopic(dc, left, top, right, result.height, result.maxWidth, true, true);
        return result;
    }
    Measured Measure(HDC dc, const std::string& markup, int left = 8, int top = 0, int right = 500) {
        SetMarkup(markup);
        return Measure(dc, left, top, right);
    }

    // A measure pass, then the paint pass with the call trace on; the trace.
    std::vector<std::string> Paint(HDC dc, const std::string& markup, int left = 8, int top = 0, int right = 500,
                                   bool withBackground = false) {
        Measure(dc, markup, left, top, right);
        EnableCallTrace(dc, true);
        paintOk = PaintTopic(dc, left, top, right, false, true, withBackground);
        std::vector<std::string> trace = GetCallTrace(dc);
        EnableCallTrace(dc, false);
        return trace;
    }

    std::vector<HFONT> fonts;
    bool paintOk = false;
};

// Size of a word in a font made as the visualizer makes its fonts.
inline SIZE WordSize(HDC dc, const std::string& word, int points = 10, int weight = FW_NORMAL,
                     const char* face = "Arial") {
    HFONT font = CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, word.data(), static_cast<int>(word.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    return size;
}
inline int WordWidth(HDC dc, const std::string& word, int weight = FW_NORMAL) {
    return WordSize(dc, word, 10, weight).cx;
}

// The trace entry of TextOutA drawing word at (x, y).
inline std::string TextAt(int x, int y, const std::string& word) {
    return "TextOutA(" + std::to_string(x) + ", " + std::to_string(y) + ", \"" + word + "\", " +
           std::to_string(word.size()) + ")";
}

// The entries of a trace that begin with one of the names.
inline std::vector<std::string> Only(const std::vector<std::string>& trace, std::initializer_list<const char*> names) {
    std::vector<std::string> out;
    for (const std::string& entry : trace)
        for (const char* name : names)
            if (entry.rfind(name, 0) == 0) {
                out.push_back(entry);
                break;
            }
    return out;
}
