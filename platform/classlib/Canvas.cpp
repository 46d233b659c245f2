// TCanvas: drawing on a device context with state written through to it.
#include "Exceptions.h"
#include "Graphics.h"

#include <algorithm>

TCanvas::TCanvas() {
    pen_.OnChange = [this](TObject*) { SelectPen(); };
    brush_.OnChange = [this](TObject*) { SelectBrush(); };
    font_.OnChange = [this](TObject*) { SelectFont(); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

// ---- Handle and write-through ---------------------------------------------------------

HDC TCanvas::GetHandle() {
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    if (dc_) RestoreFirstObjects();
    dc_ = dc;
    if (!dc_) return;
    SelectPen();
    SelectBrush();
    SelectFont();
}

void TCanvas::RestoreFirstObjects() {
    if (firstPen_) SelectObject(dc_, firstPen_);
    if (firstBrush_) SelectObject(dc_, firstBrush_);
    if (firstFont_) SelectObject(dc_, firstFont_);
    firstPen_ = firstBrush_ = firstFont_ = nullptr;
    for (HGDIOBJ handle : retiredHandles_) DeleteObject(handle);
    retiredHandles_.clear();
}

void TCanvas::SelectPen() {
    if (!dc_) return;
    HGDIOBJ previous = SelectObject(dc_, pen_.GetHandle());
    if (!firstPen_) firstPen_ = previous;
    SetROP2(dc_, PenModeToRop2(pen_.GetMode()));
}

void TCanvas::SelectBrush() {
    if (!dc_) return;
    HGDIOBJ previous = SelectObject(dc_, brush_.GetHandle());
    if (!firstBrush_) firstBrush_ = previous;
    // Only a solid brush paints an opaque background (text cells, pen gaps);
    // hatches keep the gaps transparent.
    bool solid = brush_.GetStyle() == bsSolid;
    COLORREF colour = ColorToRGB(brush_.GetColor());
    SetBkColor(dc_, solid ? colour : ~colour & 0x00FFFFFF);
    SetBkMode(dc_, solid ? OPAQUE : TRANSPARENT);
}

void TCanvas::SelectFont() {
    if (!dc_) return;
    HGDIOBJ previous = SelectObject(dc_, font_.GetHandle());
    if (!firstFont_) firstFont_ = previous;
    SetTextColor(dc_, ColorToRGB(font_.GetColor()));
}

void TCanvas::RetireHandle(HGDIOBJ handle) {
    if (handle) retiredHandles_.push_back(handle);
}

// Raw GDI code may have selected another object of the type: the canvas's
// object takes its description (read as Record by read). The canvas's own
// handle is kept alive until the DC is unbound, since raw code may select it
// back; a new one is made when the canvas changes the object again. An
// object that cannot be read is one the canvas replaced and freed while a
// SaveDC kept it, selected again by RestoreDC: the canvas's own goes back in
// (select).
template <class Record, class Object, class Reader>
void TCanvas::TakeOverObject(UINT type, Object& object, Reader read, void (TCanvas::*select)()) {
    HGDIOBJ current = GetCurrentObject(dc_, type);
    if (!current || current == object.CurrentHandle()) return;
    Record record{};
    if (GetObjectA(current, sizeof record, &record) != static_cast<int>(sizeof record)) {
        (this->*select)();
        return;
    }
    RetireHandle(object.ReleaseHandle());
    (object.*read)(record);
}

void TCanvas::TakeOverPen() {
    if (!dc_) return;
    TakeOverObject<LOGPEN>(OBJ_PEN, pen_, &TPen::ReadLogPen, &TCanvas::SelectPen);
    pen_.ReadMode(Rop2ToPenMode(GetROP2(dc_)));
}

void TCanvas::TakeOverBrush() {
    if (!dc_) return;
    TakeOverObject<LOGBRUSH>(OBJ_BRUSH, brush_, &TBrush::ReadLogBrush, &TCanvas::SelectBrush);
}

void TCanvas::TakeOverFont() {
    if (!dc_) return;
    TakeOverObject<LOGFONTA>(OBJ_FONT, font_, &TFont::ReadLogFont, &TCanvas::SelectFont);
    COLORREF textColor = GetTextColor(dc_);
    if (textColor != CLR_INVALID && textColor != ColorToRGB(font_.GetColor()))
        font_.ReadColor(static_cast<TColor>(textColor));
}

TPen* TCanvas::GetPen() {
    TakeOverPen();
    return &pen_;
}

TBrush* TCanvas::GetBrush() {
    TakeOverBrush();
    return &brush_;
}

TFont* TCanvas::GetFont() {
    TakeOverFont();
    return &font_;
}

void TCanvas::SetPen(const TPen* pen) { pen_.Assign(pen); }
void TCanvas::SetBrush(const TBrush* brush) { brush_.Assign(brush); }
void TCanvas::SetFont(const TFont* font) { font_.Assign(font); }

// ---- Drawing ------------------------------------------------------------------------

HDC TCanvas::MakeDrawingHandle() {
    HDC dc = GetHandle();
    if (!dc) throw EInvalidOperation("Canvas does not allow drawing");
    return dc;
}

template <class Operation>
void TCanvas::Drawing(Operation operation) {
    HDC dc = DrawingHandle();
    Changing();
    operation(dc);
    Changed();
}

POINT TCanvas::GetPenPos() {
    POINT position{0, 0};
    if (GetHandle()) GetCurrentPositionEx(dc_, &position);
    return position;
}

void TCanvas::SetPenPos(POINT position) { MoveTo(position.x, position.y); }

RECT TCanvas::GetClipRect() {
    RECT box{0, 0, 0, 0};
    if (GetHandle()) GetClipBox(dc_, &box);
    return box;
}

TColor TCanvas::GetPixels(int x, int y) {
    if (!GetHandle()) return clNone;
    COLORREF colour = GetPixel(dc_, x, y);
    return colour == CLR_INVALID ? clNone : static_cast<TColor>(colour);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Drawing([&](HDC dc) { SetPixel(dc, x, y, ColorToRGB(color)); });
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    Drawing([&](HDC dc) { ::Rectangle(dc, left, top, right, bottom); });
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    Drawing([&](HDC dc) { ::Ellipse(dc, left, top, right, bottom); });
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    Drawing([&](HDC dc) { ::RoundRect(dc, left, top, right, bottom, ellipseWidth, ellipseHeight); });
}

void TCanvas::Polygon(const std::vector<POINT>& points) { Polygon(points.data(), static_cast<int>(points.size())); }

void TCanvas::Polygon(const POINT* points, int count) {
    if (!points || count < 2) return;
    Drawing([&](HDC dc) { ::Polygon(dc, points, count); });
}

void TCanvas::Polyline(const std::vector<POINT>& points) { Polyline(points.data(), static_cast<int>(points.size())); }

void TCanvas::Polyline(const POINT* points, int count) {
    if (!points || count < 2) return;
    Drawing([&](HDC dc) { ::Polyline(dc, points, count); });
}

void TCanvas::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Drawing([&](HDC dc) { ::Arc(dc, left, top, right, bottom, xStart, yStart, xEnd, yEnd); });
}

void TCanvas::Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Drawing([&](HDC dc) { ::Pie(dc, left, top, right, bottom, xStart, yStart, xEnd, yEnd); });
}

void TCanvas::Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Drawing([&](HDC dc) { ::Chord(dc, left, top, right, bottom, xStart, yStart, xEnd, yEnd); });
}

// The brush passed on must be one that can be used: a freed one the DC got
// back from RestoreDC is replaced first.
void TCanvas::FillRect(const RECT& rect) {
    Drawing([&](HDC dc) {
        TakeOverBrush();
        ::FillRect(dc, &rect, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    });
}

void TCanvas::FrameRect(const RECT& rect) {
    Drawing([&](HDC dc) {
        TakeOverBrush();
        ::FrameRect(dc, &rect, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    });
}

// ---- Text -----------------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Drawing([&](HDC dc) {
        // The pen moves on by the width the drawing measured.
        const int width = win32::TextOutMeasured(dc, x, y, text.data(), static_cast<int>(text.size()));
        MoveToEx(dc, x + std::max(width, 0), y, nullptr);
    });
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
    Drawing([&](HDC dc) {
        UINT options = ETO_CLIPPED;
        if (GetBkMode(dc) == OPAQUE) options |= ETO_OPAQUE;
        ExtTextOutA(dc, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
    });
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(DrawingHandle(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

int TCanvas::TextWidth(const std::string& text) { return TextExtent(text).cx; }

int TCanvas::TextHeight(const std::string& text) { return TextExtent(text).cy; }

// ---- Copies and pictures ------------------------------------------------------------

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect) {
    if (!source) return;
    HDC sourceDc = source->DrawingHandle();
    Drawing([&](HDC dc) {
        StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, sourceDc, sourceRect.left,
                   sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, copyMode_);
    });
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(RECT{x, y, x + graphic->GetWidth(), y + graphic->GetHeight()}, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    DrawingHandle();
    Changing();
    graphic->Draw(this, rect);
    Changed();
}
