// Colours, the graphics objects (font, pen, brush) and the canvas that draws
// with them on a device context of the Win32 subset.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "EnumSet.h"
#include "Object.h"
#include "Win32.h"

// ---- Colours ---------------------------------------------------------------------
// A colour is a COLORREF (0x00BBGGRR) or, with the top bit set, a system colour
// whose low byte is a COLOR_ index resolved through GetSysColor.
typedef int32_t TColor;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The COLORREF of a colour: system colours through GetSysColor, clNone as
// black, clDefault as the window colour; other values keep their low 24 bits.
COLORREF ColorToRGB(TColor color);

// Handler called with the object that changed.
typedef std::function<void(TObject* sender)> TGraphicsNotifyEvent;

// ---- Graphics objects -----------------------------------------------------------
// A font, pen or brush: a description plus a GDI handle made from it on demand.
// Every change calls OnChange; a change of what the GDI object holds also
// drops the handle (a pen's mode and a font's colour, which no GDI object
// holds, keep it, so a canvas only writes the new ROP2 or text colour).
class TGraphicsObject : public TPersistent {
    CLASSLIB_CLASS(TGraphicsObject, TPersistent)

public:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;
    ~TGraphicsObject() override;

    TGraphicsNotifyEvent OnChange;

    // Hands the handle (possibly null) to the caller, who deletes it; the next
    // use makes a new one. Calls no handler.
    HGDIOBJ ReleaseHandle();
    // The handle if one is made, without making one.
    HGDIOBJ CurrentHandle() const { return handle_; }

protected:
    // Deletes the handle (if any) and calls OnChange.
    void Changed();
    // Sets field to value and calls Changed, unless they are equal.
    template <class Value>
    void Update(Value& field, const Value& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    // The same for a field the GDI object does not hold: the handle is kept.
    template <class Value>
    void UpdateKeepingHandle(Value& field, const Value& value) {
        if (field == value) return;
        field = value;
        if (OnChange) OnChange(this);
    }
    // The handle made from the description; made on first use.
    HGDIOBJ ObjectHandle();
    virtual HGDIOBJ CreateObjectHandle() const = 0;

private:
    HGDIOBJ handle_ = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles: styles << fsBold, styles.Contains(fsItalic).
typedef TEnumSet<TFontStyle> TFontStyles;

// Scoped, so its names cannot collide with other components' constants.
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
typedef BYTE TFontCharset;

// A logical font. Defaults: "MS Sans Serif", 8 points, no styles, clWindowText,
// DEFAULT_CHARSET, fpDefault. Size and Height are two views of one value:
// Height = -MulDiv(Size, 96, 72) (negative: character height without leading),
// Size = -MulDiv(Height, 72, 96) for a negative Height, MulDiv(Height, 72, 96)
// for a positive one (cell height).
class TFont : public TGraphicsObject {
    CLASSLIB_CLASS(TFont, TGraphicsObject)

public:
    static constexpr int PixelsPerInch = 96;

    TFont();
    // Copies another font's description; a null or other source throws EConvertError.
    void Assign(const TPersistent* source) override;

    std::string GetName() const { return name_; }
    void SetName(const std::string& name);  // cut to 31 characters; empty keeps the name
    int GetSize() const;
    void SetSize(int points);
    int GetHeight() const { return height_; }
    void SetHeight(int height);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    TFontCharset GetCharset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // The HFONT of the description, owned by the font (do not delete).
    HFONT GetHandle() { return static_cast<HFONT>(ObjectHandle()); }
    // Takes the description of a logical font (the handle stays the caller's);
    // the colour is not part of a logical font and is kept. Null is ignored.
    void SetHandle(HFONT font);
    // Fills a logical font record from the description.
    LOGFONTA ToLogFont() const;
    // Take a logical font record or a colour without calling OnChange.
    void ReadLogFont(const LOGFONTA& logFont);
    void ReadColor(TColor color) { color_ = color; }

protected:
    HGDIOBJ CreateObjectHandle() const override;

private:
    std::string name_ = "MS Sans Serif";
    int height_;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Pen modes in the order of the classic library; each maps to an R2_ code.
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
// The R2_ code of a pen mode.
int PenModeToRop2(TPenMode mode);
// The pen mode of an R2_ code; pmCopy for an unknown code.
TPenMode Rop2ToPenMode(int rop2);

// A pen. Defaults: clBlack, psSolid, width 1, pmCopy. A width below 1 becomes 1.
// The mode is not part of the GDI pen: a canvas sets it as the DC's ROP2.
class TPen : public TGraphicsObject {
    CLASSLIB_CLASS(TPen, TGraphicsObject)

public:
    // Copies another pen; a null or other source throws EConvertError.
    void Assign(const TPersistent* source) override;

    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle style);
    int GetWidth() const { return width_; }
    void SetWidth(int width);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode mode);

    HPEN GetHandle() { return static_cast<HPEN>(ObjectHandle()); }
    // Takes the description of a GDI pen (the handle stays the caller's).
    void SetHandle(HPEN pen);
    // Takes a pen record and mode without calling OnChange.
    void ReadLogPen(const LOGPEN& logPen);
    void ReadMode(TPenMode mode) { mode_ = mode; }

protected:
    HGDIOBJ CreateObjectHandle() const override;

private:
    TColor color_ = clBlack;
    TPenStyle style_ = psSolid;
    int width_ = 1;
    TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// A brush. Defaults: clWhite, bsSolid. bsClear draws no interior.
class TBrush : public TGraphicsObject {
    CLASSLIB_CLASS(TBrush, TGraphicsObject)

public:
    // Copies another brush; a null or other source throws EConvertError.
    void Assign(const TPersistent* source) override;

    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle style);

    HBRUSH GetHandle() { return static_cast<HBRUSH>(ObjectHandle()); }
    // Takes the description of a solid, hollow or hatched GDI brush (the handle
    // stays the caller's); a pattern brush reads as bsSolid of its colour.
    void SetHandle(HBRUSH brush);
    // Takes a brush record without calling OnChange.
    void ReadLogBrush(const LOGBRUSH& logBrush);

protected:
    HGDIOBJ CreateObjectHandle() const override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// ---- Canvas ----------------------------------------------------------------------
class TGraphic;

// Drawing on a device context with a pen, brush and font. The canvas's objects
// are written through to the DC the moment they change (the GDI objects are
// selected, the pen mode becomes the ROP2, the font colour the text colour; a
// bsSolid brush sets an opaque background of its colour, other styles a
// transparent one), and
// drawing calls use what the DC holds, so raw GDI calls on GetHandle() and
// canvas calls see one state. Reading Pen, Brush or Font first takes over any
// object or mode that raw GDI calls selected meanwhile.
// Drawing with no handle asks CreateHandle for one; when there is none, the
// canvas throws EInvalidOperation ("Canvas does not allow drawing").
class TCanvas : public TPersistent {
    CLASSLIB_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas() override;

    // The DC, made on demand by CreateHandle; null when none can be made.
    HDC GetHandle();
    // Binds the canvas to dc (null unbinds): the DC's first objects are put back
    // into the old DC and the canvas's objects selected into the new one. The
    // DC stays the caller's.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TPen* GetPen();
    TBrush* GetBrush();
    TFont* GetFont();
    // Copy the given object's description into the canvas's own (and so into
    // the DC); null throws EConvertError.
    void SetPen(const TPen* pen);
    void SetBrush(const TBrush* brush);
    void SetFont(const TFont* font);

    // Raster operation of CopyRect and Draw; SRCCOPY by default.
    DWORD GetCopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD mode) { copyMode_ = mode; }
    POINT GetPenPos();
    void SetPenPos(POINT position);
    // The clip box in logical coordinates; empty without a handle.
    RECT GetClipRect();
    // The pixel colour; clNone outside the visible area or without a handle.
    TColor GetPixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Inline: painters call these two thousands of times a paint.
    void MoveTo(int x, int y) { MoveToEx(DrawingHandle(), x, y, nullptr); }
    void LineTo(int x, int y) {
        HDC dc = DrawingHandle();
        Changing();
        ::LineTo(dc, x, y);
        Changed();
    }
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const RECT& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    // Fewer than 2 points draw nothing.
    void Polygon(const std::vector<POINT>& points);
    void Polygon(const POINT* points, int count);
    void Polyline(const std::vector<POINT>& points);
    void Polyline(const POINT* points, int count);
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    void Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    void Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    // With the canvas's brush; bsClear fills nothing.
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);

    // Text at (x, y) by the DC's text alignment; the pen position moves to the
    // end of the text.
    void TextOut(int x, int y, const std::string& text);
    // Text at (x, y) clipped to rect, whose background is filled with the
    // brush colour unless the brush is bsClear.
    void TextRect(const RECT& rect, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);

    // Copies source's rectangle into this canvas's by the copy mode; stretches
    // when the sizes differ. A null source copies nothing.
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect);
    // Draws a graphic at its size (null draws nothing).
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const RECT& rect, TGraphic* graphic);

    TGraphicsNotifyEvent OnChange;
    TGraphicsNotifyEvent OnChanging;

protected:
    // Asked for a DC when drawing finds none; the base makes none. Derived
    // canvases call SetHandle from here.
    virtual void CreateHandle() {}
    // Calls OnChanging before and OnChange after each drawing operation.
    void Changing() {
        if (OnChanging) OnChanging(this);
    }
    void Changed() {
        if (OnChange) OnChange(this);
    }
    // The DC for drawing; throws when there is none. Inline, since every
    // drawing call asks for it.
    HDC DrawingHandle() { return dc_ ? dc_ : MakeDrawingHandle(); }

private:
    HDC MakeDrawingHandle();
    void SelectPen();
    void SelectBrush();
    void SelectFont();
    template <class Record, class Object, class Reader>
    void TakeOverObject(UINT type, Object& object, Reader read, void (TCanvas::*select)());
    void TakeOverPen();
    void TakeOverBrush();
    void TakeOverFont();
    void RetireHandle(HGDIOBJ handle);
    void RestoreFirstObjects();
    template <class Operation>
    void Drawing(Operation operation);

    HDC dc_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    DWORD copyMode_ = SRCCOPY;
    HGDIOBJ firstPen_ = nullptr;
    HGDIOBJ firstBrush_ = nullptr;
    HGDIOBJ firstFont_ = nullptr;
    // Handles of the canvas's objects replaced while raw GDI code may still
    // hold them; deleted when the DC is unbound.
    std::vector<HGDIOBJ> retiredHandles_;
};

// A picture that draws itself on a canvas (TBitmap is one).
class TGraphic : public TPersistent {
    CLASSLIB_CLASS(TGraphic, TPersistent)

public:
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool Empty() const { return GetWidth() == 0 || GetHeight() == 0; }
    // Draws the picture stretched into rect on the canvas.
    virtual void Draw(TCanvas* canvas, const RECT& rect) = 0;

    TGraphicsNotifyEvent OnChange;
};
