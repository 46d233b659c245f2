// TTextEditor: painting its lines with the gutter (line numbers, bookmark
// and section marks), the selection, the line-end marks, and the overlays
// (tab-stop guides, bookmarks, the dotted right margin).
//
// Drawing happens on the canvas in scrolled-area coordinates (the base's
// PrepareDC shifts the viewport), mixing canvas pens and brushes with GDI
// calls on its handle. Rectangles cover [left, right) x [top, bottom) and
// lines leave out their end point.
#include <algorithm>
#include <string>

#include "TextEditor.h"
#include "TextEditorSyntaxColouring.h"

namespace {

const TColor kSectionColor = 0xC0C0C0;
const TColor kSectionNumberColor = 0x000000;
const TColor kLineEndColor = 0x0000FF;  // red, as a TColor (0x00BBGGRR)

void SelectSolid(TCanvas* canvas, TColor colour) {
    TBrush* brush = canvas->GetBrush();
    brush->SetColor(colour);
    brush->SetStyle(bsSolid);
    TPen* pen = canvas->GetPen();
    pen->SetColor(colour);
    pen->SetStyle(psSolid);
}

// A box in one colour: pen and brush alike fill [left, right) x [top, bottom).
void FillBox(TCanvas* canvas, TColor colour, int left, int top, int right, int bottom) {
    SelectSolid(canvas, colour);
    Rectangle(canvas->GetHandle(), left, top, right, bottom);
}

void SetColour(HDC dc, TColor colour) { SetTextColor(dc, ColorToRGB(colour)); }

void DrawText(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

// A return symbol after the line's end: a stroke with an upward tail at its
// right end and a three-row arrowhead pointing left.
void DrawLineEndMark(TCanvas* canvas, int x0, int y) {
    TPen* pen = canvas->GetPen();
    pen->SetColor(kLineEndColor);
    pen->SetStyle(psSolid);
    HDC dc = canvas->GetHandle();
    MoveToEx(dc, x0, y, nullptr);
    LineTo(dc, x0 + 15, y);
    LineTo(dc, x0 + 15, y - 5);
    for (int k = 0; k < 3; ++k) {
        MoveToEx(dc, x0 + 3 + 3 * k, y - 1 - k, nullptr);
        LineTo(dc, x0 + 10, y - 1 - k);
        MoveToEx(dc, x0 + 3 + 3 * k, y + 1 + k, nullptr);
        LineTo(dc, x0 + 10, y + 1 + k);
    }
}

// The index of the first section holding the line, or -1.
int SectionOf(const TIntPairContainer& sections, int line) {
    for (int i = 0; i < sections.GetCount(); ++i)
        if (sections[i].first <= line && line <= sections[i].second) return i;
    return -1;
}

}  // namespace

void TTextEditor::Paint() {
    HWND window = GetHandle();
    HideCaret(window);
    TScrollControl::Paint();
    if (IsDesigning()) return;
    const int h = GetLineHeight();
    lineNumbersWidth = GetLineNumbersWidth();
    RECT strip = FStripRect;
    const int scrolled = VPos * VScrollStep;
    strip.top += scrolled;
    strip.bottom += scrolled;
    const int clientHeight = GetClientHeight();
    for (int k = 0; k * h < clientHeight; ++k) {
        const int line = VPos + k;
        if (!FPaintingStrip || (line * h <= strip.bottom && (line + 1) * h >= strip.top)) PaintLine(line);
    }
    DrawTabs();
    PaintMarkers();
    DrawMargin();
    if (!ReadOnly) ShowCaret(window);
}

void TTextEditor::PaintLineBk(int line) { FillLineBk(line, BkColor); }

void TTextEditor::FillLineBk(int line, TColor color) {
    const RECT r = GetLineRect(line);
    FillBox(GetCanvas(), color, r.left, r.top, r.right + 1, r.bottom + 1);
}

bool TTextEditor::DrawLineText(int line, int lineHeight, const TString& text) {
    if (text.IsEmpty()) return false;
    HDC dc = GetCanvas()->GetHandle();
    const int first = [&text] {
        int i = 0;
        while (i < text.Length() && text[i] == ' ') ++i;
        return i;
    }();
    const bool directive = ShowDirectives && text[first] == '#';
    if (directive) SetColour(dc, DirectiveColor);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, GetColGap(), line * lineHeight, text.c_str(), text.Length());
    return directive;
}

void TTextEditor::PaintLine(int line) {
    static const TString kNoText;
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    const int h = GetLineHeight();
    const int w = GetCharWidth();
    const int gap = GetColGap();
    const int count = lines.GetCount();
    const TString& text = line >= 0 && line < count ? lines[line] : kNoText;
    const TTextEditorSelection& s = selection;
    const bool inBlock = s.selStartLine <= line && line < s.selEndLine;
    const bool inColumns = !inBlock && s.selStartCol != s.selEndCol && line == s.selLine;
    const int top = line * h;
    const int bottom = top + h;
    const int bandRight = GetClientWidth() + HMax * HScrollStep + gap;
    const int sectionIndex = SectionOf(sections, line);

    // Background and the text colour.
    TColor textColour = TextColor;
    if (inBlock) {
        FillBox(canvas, GetSelBkColor(line), gap, top, bandRight, bottom);
        FillBox(canvas, BkColor, 0, top, gap, bottom);  // the gutter stays unselected
        SelectSolid(canvas, GetSelBkColor(line));
        textColour = SelTextColor;
    } else if (inColumns) {
        PaintLineBk(line);
        const int mark = selMark == -1 ? s.selEndCol : std::min(std::max(selMark, s.selStartCol), s.selEndCol);
        FillBox(canvas, SelBkColor, s.selStartCol * w + gap, top, mark * w + gap, bottom);
        if (mark < s.selEndCol) FillBox(canvas, selBkColor2, mark * w + gap, top, s.selEndCol * w + gap, bottom);
    } else if (sectionIndex != -1) {
        // The gutter is cleared as well: a repaint outside the paint cycle
        // would otherwise draw the numbers over the old ones.
        FillBox(canvas, BkColor, 0, top, gap, bottom);
        FillBox(canvas, kSectionColor, gap, top, bandRight, bottom);
    } else {
        PaintLineBk(line);
    }
    SetBkMode(dc, TRANSPARENT);
    SetColour(dc, textColour);

    const TLineGeometry at{dc, top, gap, w};
    if (inColumns) {
        // No colouring here. Only the characters the line has are drawn
        // selected; the band may reach past its end.
        DrawColumns(at, text, 0, text.Length());
        const int selectedEnd = std::min(s.selEndCol, text.Length());
        SetColour(dc, SelTextColor);
        DrawColumns(at, text, s.selStartCol, selectedEnd - s.selStartCol);
    } else {
        const int commentStart = ShowRemarks && !inBlock ? FindCommentStart(text) : text.Length();
        bool directive;
        if (commentStart == text.Length()) {
            directive = DrawLineText(line, h, text);
        } else {
            directive = DrawLineText(line, h, text.Left(commentStart));
            SetColour(dc, RemarkColor);
            DrawColumns(at, text, commentStart, text.Length() - commentStart);
        }
        if (!directive) {
            if (ShowBoldWords || ShowCommonBoldWords) DrawBoldWords(*this, at, text, commentStart, textColour);
            DrawQuotedTexts(*this, at, text, commentStart);
            DrawCharacterRuns(*this, at, text, commentStart);
        }
    }

    if (ShowLineEnds && line < count) DrawLineEndMark(canvas, text.Length() * w + gap, top + h / 2);
    if (sectionIndex != -1) {
        SetColour(dc, kSectionNumberColor);
        DrawText(dc, gap - 2 - h + (h - w) / 2, top, std::to_string(sectionIndex));
    }
    if (ShowLineNumbers && line >= 0 && line < count) {
        SetColour(dc, TextColor);
        DrawText(dc, 0, top, std::to_string(line));
    }
}

void TTextEditor::DrawTabs() {
    if (!ShowTabs || tabStops.GetCount() == 0) return;
    TCanvas* canvas = GetCanvas();
    TPen* pen = canvas->GetPen();
    pen->SetStyle(psSolid);
    pen->SetColor(TabColor);
    HDC dc = canvas->GetHandle();
    const int top = VPos * GetLineHeight();
    const int bottom = top + GetClientHeight();
    for (int i = 0; i < tabStops.GetCount(); ++i) {
        const int x = GetColGap() + tabStops[i] * GetCharWidth();
        MoveToEx(dc, x, top, nullptr);
        LineTo(dc, x, bottom);
    }
}

void TTextEditor::PaintMarkers() {
    if (markers.GetCount() == 0) return;
    TCanvas* canvas = GetCanvas();
    SelectSolid(canvas, MarkerBkColor);
    canvas->GetPen()->SetWidth(1);
    HDC dc = canvas->GetHandle();
    const int h = GetLineHeight();
    const int w = GetCharWidth();
    const int right = GetColGap() - 2;
    for (int i = 0; i < markers.GetCount(); ++i) {
        const TEXT_EDITOR_MARKER marker = markers[i];
        if (marker.line < 0) continue;  // unset
        Rectangle(dc, right - h, marker.line * h, right, (marker.line + 1) * h);
        SetBkMode(dc, TRANSPARENT);
        SetColour(dc, MarkerTextColor);
        DrawText(dc, right - h + (h - w) / 2, marker.line * h, std::to_string(marker.number).substr(0, 1));
    }
}

// On a window DC of its own, in client coordinates, whatever the canvas's
// viewport and clipping: the gaps of the dotted pen take that DC's
// background colour.
void TTextEditor::DrawMargin() {
    if (!ShowMargin || !HandleAllocated()) return;
    HDC dc = SelectMarginPen(PS_DOT);
    SetBkMode(dc, OPAQUE);
    const int x = (MarginPos - HPos) * GetCharWidth() + GetColGap();
    MoveToEx(dc, x, 0, nullptr);
    LineTo(dc, x, GetClientHeight());
    ReleaseMarginPen(dc);
}

HDC TTextEditor::SelectMarginPen(int penStyle) {
    HDC dc = GetDC(GetHandle());
    marginPen = CreatePen(penStyle, 1, ColorToRGB(MarginColor));
    SelectObject(dc, marginPen);
    return dc;
}

void TTextEditor::ReleaseMarginPen(HDC dc) {
    ReleaseDC(GetHandle(), dc);
    DeleteObject(marginPen);
    marginPen = nullptr;
}
