// Drawing shared by the standard controls.
#include "ControlDrawing.h"

#include <algorithm>
#include <cctype>

namespace {

void FillSolid(TCanvas* canvas, const RECT& rect, TColor color) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(rect);
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2, TColor color) {
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(1);
    canvas->GetPen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

}  // namespace

void DrawFrame3D(TCanvas* canvas, RECT& rect, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) return;
        Line(canvas, rect.left, rect.bottom - 2, rect.left, rect.top, topLeft);
        Line(canvas, rect.left, rect.top, rect.right - 1, rect.top, topLeft);
        Line(canvas, rect.right - 1, rect.top, rect.right - 1, rect.bottom - 1, bottomRight);
        Line(canvas, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, bottomRight);
        rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    }
}

void DrawButtonFace(TCanvas* canvas, RECT& rect, bool pressed, bool isDefault) {
    if (isDefault) DrawFrame3D(canvas, rect, clBlack, clBlack);
    if (pressed) {
        DrawFrame3D(canvas, rect, clBtnShadow, clBtnShadow);
    } else {
        DrawFrame3D(canvas, rect, clBtnHighlight, clBlack);
        DrawFrame3D(canvas, rect, clBtnFace, clBtnShadow);
    }
    FillSolid(canvas, rect, clBtnFace);
}

void DrawSunkenBorder(TCanvas* canvas, RECT& rect) {
    DrawFrame3D(canvas, rect, clBtnShadow, clBtnHighlight);
    DrawFrame3D(canvas, rect, clBlack, clSilver);
}

void DrawFocusFrame(TCanvas* canvas, const RECT& rect) {
    HDC dc = canvas->GetHandle();
    if (!dc) return;
    COLORREF black = 0;
    for (int x = rect.left; x < rect.right; x += 2) {
        SetPixel(dc, x, rect.top, black);
        SetPixel(dc, x, rect.bottom - 1, black);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(dc, rect.left, y, black);
        SetPixel(dc, rect.right - 1, y, black);
    }
}

void DrawCheckMark(TCanvas* canvas, int x, int y, int state, bool enabled) {
    RECT box{x, y, x + 13, y + 13};
    DrawSunkenBorder(canvas, box);
    FillSolid(canvas, box, state == 2 || !enabled ? clBtnFace : clWindow);
    if (state == 0) return;
    TColor mark = state == 2 || !enabled ? clBtnShadow : clBlack;
    // A tick of three-pixel-high strokes: down from (x+3, y+5) to (x+5, y+7),
    // then up to (x+9, y+3).
    for (int i = 0; i < 7; ++i) {
        int column = x + 3 + i;
        int row = i < 3 ? y + 5 + i : y + 7 - (i - 2);
        Line(canvas, column, row, column, row + 3, mark);
    }
}

void DrawRadioMark(TCanvas* canvas, int x, int y, bool checked, bool enabled) {
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(enabled ? clWindow : clBtnFace);
    canvas->Ellipse(x, y, x + 12, y + 12);
    canvas->GetPen()->SetColor(clBlack);
    canvas->Arc(x + 1, y + 1, x + 11, y + 11, x + 10, y + 1, x + 1, y + 10);
    if (!checked) return;
    canvas->GetPen()->SetColor(enabled ? clBlack : clBtnShadow);
    canvas->GetBrush()->SetColor(enabled ? clBlack : clBtnShadow);
    canvas->Ellipse(x + 4, y + 4, x + 8, y + 8);
}

void DrawControlText(TCanvas* canvas, RECT& rect, const std::string& text, UINT flags, bool enabled) {
    canvas->GetBrush()->SetStyle(bsClear);
    HDC dc = canvas->GetHandle();
    if (!dc) return;
    int length = static_cast<int>(text.size());
    if (enabled || (flags & DT_CALCRECT)) {
        DrawTextA(dc, text.c_str(), length, &rect, flags);
        return;
    }
    TColor saved = canvas->GetFont()->GetColor();
    RECT shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, text.c_str(), length, &shadow, flags);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextA(dc, text.c_str(), length, &rect, flags);
    SetTextColor(dc, ColorToRGB(saved));
}

SIZE MeasureText(TFont* font, const std::string& text, UINT flags, int width) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font->GetHandle());
    RECT rect{0, 0, std::max(width, 0), 0};
    // An empty text measures as one line, as a caption of one space would.
    std::string measured = text.empty() ? std::string(" ") : text;
    DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &rect, flags | DT_CALCRECT);
    SelectObject(dc, previous);
    DeleteDC(dc);
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    if (text.empty()) size.cx = 0;
    return size;
}

int FontLineHeight(TFont* font) { return MeasureText(font, "Wg", DT_SINGLELINE | DT_NOPREFIX, 0).cy; }

char AcceleratorOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool IsAcceleratorKey(const std::string& caption, char key) {
    char accelerator = AcceleratorOf(caption);
    return accelerator != 0 && std::toupper(static_cast<unsigned char>(key)) == static_cast<unsigned char>(accelerator);
}
