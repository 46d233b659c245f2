// The software GDI of the Win32 subset (without text): device contexts, bitmaps
// and DIBs, blits, pens, brushes, shapes, regions, clipping and logical fonts.
// Surfaces are 32 bits per pixel, 0x00RRGGBB in memory. Only MM_TEXT mapping.
#pragma once

#include <string>
#include <vector>

#include "Win32Types.h"

// ---- Colours ---------------------------------------------------------------
#define RGB(r, g, b)                                                                                \
    (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<DWORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(c) (static_cast<BYTE>(static_cast<DWORD>(c) & 0xFF))
#define GetGValue(c) (static_cast<BYTE>((static_cast<DWORD>(c) >> 8) & 0xFF))
#define GetBValue(c) (static_cast<BYTE>((static_cast<DWORD>(c) >> 16) & 0xFF))
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(-1)))

// ---- Stock objects and object types ------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// ---- Device capabilities and mapping -------------------------------------------
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define DT_RASDISPLAY 1
#define MM_TEXT 1

// ---- Pens, brushes, modes ------------------------------------------------------
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3

#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

#define TRANSPARENT 1
#define OPAQUE 2

#define ALTERNATE 1
#define WINDING 2

// Binary raster operations: code - 1 is the truth table of pen P and
// destination D, bit (P ? 2 : 0) + (D ? 1 : 0).
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

// Ternary raster operations: bits 16-23 are the truth table of pattern (0xF0),
// source (0xCC) and destination (0xAA).
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

// ---- Regions -------------------------------------------------------------------
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// ---- Bitmaps and DIBs ----------------------------------------------------------
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 4

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: rows bottom-up; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;  // colour table entries; 0 means the full table at 1, 4 and 8 bits
    DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

// The colour table follows the header; with BI_BITFIELDS it is three DWORD
// masks (red, green, blue).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;  // null for device bitmaps; the pixels of a DIB section
};
typedef BITMAP* LPBITMAP;

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

// ---- Logical fonts (stored here; realised into glyphs by the text code) ---------
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define EASTEUROPE_CHARSET 238
#define OEM_CHARSET 255

#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

struct LOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTA LOGFONT;
typedef LOGFONTA* LPLOGFONTA;

// Stores the logical font as given (a face name is cut to 31 characters);
// nothing is looked up until the font is used for text. Null for a null record.
HFONT CreateFontIndirectA(const LOGFONTA* logFont);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName);
inline HFONT CreateFontIndirect(const LOGFONTA* logFont) { return CreateFontIndirectA(logFont); }

// ---- Objects -----------------------------------------------------------------
// Stock objects live for the whole process; an index outside the table gives null.
HGDIOBJ GetStockObject(int index);
// Selects a pen, brush, font or bitmap and returns the one it replaces; a region
// becomes the clip region (a copy) and the result is its complexity cast to a
// handle. Null for a bad DC or object, or a bitmap already selected into another
// DC (or a bitmap into a DC that is not a memory DC).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Pen, brush, font or bitmap selected in the DC (OBJ_ constants); null otherwise.
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// Deleting a stock object does nothing and succeeds. An object still selected
// into a DC (or saved by SaveDC) stops being a valid handle for new selections
// and is freed once the last DC lets go of it. FALSE for an unknown handle.
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's record (LOGPEN, LOGBRUSH, LOGFONTA, BITMAP or DIBSECTION),
// at most size bytes; with a null buffer returns the full record size. 0 for a
// bad handle or a region.
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int size, LPVOID buffer) { return GetObjectA(object, size, buffer); }
// OBJ_ constant of a handle (OBJ_DC or OBJ_MEMDC for device contexts); 0 if unknown.
DWORD GetObjectType(HGDIOBJ handle);

// ---- Device contexts -----------------------------------------------------------
// A memory DC starts with a 1x1 monochrome bitmap, the black pen, white brush,
// system font. The reference DC may be null.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);
// GetDC(NULL) gives a DC on the virtual screen surface (1920x1080 unless set by
// the display layer); a window's DC comes from GetDCEx. ReleaseDC deletes
// screen and window DCs (0 for memory DCs and bad handles).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// Pushes the DC's state (objects, clip, origins, colours, modes, position) and
// returns its level (1 for the first); 0 on a bad DC.
int SaveDC(HDC dc);
// Restores level n (n > 0) or the n-th most recent (n < 0), dropping the levels
// above it; FALSE when that level does not exist.
BOOL RestoreDC(HDC dc, int savedLevel);
// LOGPIXELSX/Y are 96, BITSPIXEL 32, HORZRES/VERTRES the surface size; 0 for
// indexes not served.
int GetDeviceCaps(HDC dc, int index);
// a * b / c rounded half away from zero; -1 when c is 0 or the result overflows.
int MulDiv(int a, int b, int c);

int SetMapMode(HDC dc, int mode);  // only MM_TEXT is accepted
int GetMapMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
// Extents are stored and returned; they have no effect in MM_TEXT.
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetViewportExtEx(HDC dc, LPSIZE extent);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetWindowExtEx(HDC dc, LPSIZE extent);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);

COLORREF SetBkColor(HDC dc, COLORREF colour);  // CLR_INVALID on a bad DC
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);  // TRANSPARENT or OPAQUE; 0 on bad input
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);  // R2_BLACK..R2_WHITE; 0 on bad input
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);  // ALTERNATE or WINDING
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);  // every mode stretches by pixel replication or deletion
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
// Flushes drawing into DIB sections of other than 32 bits per pixel (see CreateDIBSection).
BOOL GdiFlush();

// ---- Pens and brushes ---------------------------------------------------------
// Styles other than solid draw solid when wider than 1; a width of 0 draws 1.
HPEN CreatePen(int style, int width, COLORREF colour);
HPEN CreatePenIndirect(const LOGPEN* logPen);
HBRUSH CreateSolidBrush(COLORREF colour);
HBRUSH CreateHatchBrush(int hatch, COLORREF colour);  // null for an unknown style
// The bitmap's pixels are copied; a 1-bpp bitmap paints its black pixels in the
// text colour and its white pixels in the background colour.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);

// ---- Bitmaps ------------------------------------------------------------------
// Device bitmaps hold 32-bit pixels. bits, when given, are rows of width *
// bitsPerPixel bits padded to 16 bits (1, 24 and 32 bpp are read; others start
// black). A 1-bpp bitmap holds 32-bit pixels too; as a blit source or pattern
// its black pixels count as 0 and all others as 1.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// A 32-bit bitmap of the given size, black; null for a size below 1 or too large.
// It is a colour bitmap even for a memory DC that still holds its first 1x1
// monochrome bitmap (where the original platform would make a monochrome one).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A compatible bitmap of the header's size, filled from the DIB when init is CBM_INIT.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage);
// A bitmap whose pixels live in memory the caller reads and writes through
// *bits (zeroed). 32-bit sections are drawn into directly. Sections of 1, 4, 8,
// 16 or 24 bits are drawn through a 32-bit copy: the bits are read in when the
// section is selected into a DC and written back when it is deselected, when the
// DC is deleted, and on GdiFlush. Section handle and offset are ignored.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
// Copies scan lines [start, start + lines) of the bitmap into a DIB of the
// caller's format (1, 4, 8 bits by nearest colour of the caller's table, squared
// RGB distance, first on ties; 16 bits 5-5-5 or by BI_BITFIELDS masks; 24; 32).
// With null bits only the header is filled in (size, 32 bits when biBitCount is 0).
// Returns the lines copied, 0 on error.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
// Writes scan lines [start, start + lines) of the DIB into the bitmap (bottom-up
// scan lines count from the bitmap's bottom row); returns the lines written, 0
// on error. Works whether or not the bitmap is selected into a DC.
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
// Draws part of a DIB: the source rectangle's origin is the DIB's lower-left
// corner for bottom-up DIBs, upper-left for top-down ones; bits hold scan lines
// [startScan, startScan + lines). Returns the lines drawn.
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
// Stretches a DIB rectangle (origin as for SetDIBitsToDevice) onto the DC with
// a ternary raster operation; returns the source height, 0 on error.
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// A BITMAP resource (a packed DIB) as a device bitmap; null when missing or damaged.
HBITMAP LoadBitmapA(HMODULE module, LPCSTR name);

// ---- Blits --------------------------------------------------------------------
// Everything is clipped to source, destination and clip region before a pixel
// is touched. A source area outside its surface is not drawn. Overlapping copies
// within one surface work in any direction. A 1-bpp source paints its black
// pixels in the destination's text colour and its white ones in its background
// colour; a colour source blitted into a 1-bpp bitmap gives white where it has
// the source DC's background colour and black elsewhere (masks).
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop);
// A negative size mirrors that side, which then runs from its start pixel
// backwards (x, x - 1, ..., x + width + 1); destination pixels take the source
// pixel under their centre.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);
// Raster operations without source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
// WHITENESS and others of pattern and destination) with the selected brush.
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

// ---- Lines and shapes ---------------------------------------------------------
// Lines omit their last pixel. Rectangle, Ellipse, RoundRect, Pie and Chord
// cover [left,right) x [top,bottom) with the pen inside; with a null pen the
// interior is one pixel narrower and shorter, as on the original platform.
// Pens and filled interiors use the DC's ROP2; hatch gaps and gaps of styled
// pens take the background colour in OPAQUE mode.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);
BOOL LineTo(HDC dc, int x, int y);
// Joints are drawn once; fewer than 2 points draw nothing and fail.
BOOL Polyline(HDC dc, const POINT* points, int count);
// Closed, filled with the brush by the DC's fill mode; fewer than 2 points fail.
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
// Counter-clockwise (as seen on screen) from the radial through (xStart, yStart)
// to the radial through (xEnd, yEnd); equal radials give the whole ellipse.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
// FillRect, FrameRect and InvertRect ignore the ROP2. FrameRect draws a
// one-pixel border with the brush; InvertRect inverts the pixels.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
// Returns the colour set (CLR_INVALID outside the clip area or surface).
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);

// ---- Regions and clipping -----------------------------------------------------
// Regions hold device pixels; empty rectangles give empty regions. Polygon and
// elliptic regions are cut to coordinates within +-65536.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// Pixels whose centre lies inside the polygon by the fill mode; fewer than 3
// points give an empty region, null points or a bad mode give null.
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
// destination = source1 op source2 (RGN_COPY uses source1 only); the destination
// may be one of the sources. Returns the complexity or ERROR.
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN region1, HRGN region2);
// Bounding box; an empty region gives an empty rectangle and NULLREGION.
int GetRgnBox(HRGN region, LPRECT box);
// Region coordinates are logical here (moved by the origins), as for shapes.
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL PaintRgn(HDC dc, HRGN region);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC dc, HRGN region);
// The clip region is in device coordinates whatever the origins; NULL removes
// it. Returns the complexity of the resulting visible area or ERROR.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
// 1 and a copy in region when a clip region is set, 0 when none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
// Logical rectangles, intersected with or cut out of the clip area.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// Bounding box of the visible area in logical coordinates.
int GetClipBox(HDC dc, LPRECT box);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// ---- Call trace ---------------------------------------------------------------
// While on, every GDI call made on the DC is recorded as "Name(arg, arg, ...)":
// integers in decimal, colours as 0x00BBGGRR in hex, objects by their contents
// ("Pen(PS_SOLID, 1, 0x00000000)"), strings in double quotes. Switching on clears it.
void EnableCallTrace(HDC dc, bool on);
std::vector<std::string> GetCallTrace(HDC dc);
void ClearCallTrace(HDC dc);
