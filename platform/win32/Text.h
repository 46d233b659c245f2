// Text output and measurement of the Win32 subset: TextOut, ExtTextOut,
// DrawText, text extents and metrics, text colour and alignment, and the
// enumeration of the font families. Text is bytes of the Central European
// code page, drawn with the font selected in the DC.
#pragma once

#include "Gdi.h"
#include "Win32Types.h"

// ---- Text alignment (SetTextAlign) ----------------------------------------------
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_MASK (TA_BASELINE | TA_CENTER | TA_UPDATECP)

// ---- ExtTextOut options -----------------------------------------------------------
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// ---- DrawText formats ---------------------------------------------------------------
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_HIDEPREFIX 0x00100000

// ---- Text metrics -----------------------------------------------------------------
// tmPitchAndFamily bits; note that TMPF_FIXED_PITCH set means a variable pitch.
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRICA TEXTMETRIC;
typedef TEXTMETRICA* LPTEXTMETRICA;

// ---- Colour and alignment --------------------------------------------------------
// Return the previous value; CLR_INVALID (or GDI_ERROR for the alignment) on a bad DC.
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
// Any combination of the TA_ flags above; other bits are dropped.
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

// ---- Output ---------------------------------------------------------------------
// Draws count bytes at the reference point (x, y) by the text alignment, in the
// text colour, over a cell in the background colour when the background mode is
// OPAQUE. The font's escapement turns the text about the reference point
// counter-clockwise. With TA_UPDATECP the current position is the reference
// point and moves on by the text's advance. A count of 0 draws nothing and
// succeeds; a negative count or a null text with a positive count fails.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
namespace win32 {
// TextOutA (traced as such) that also gives the text's width as
// GetTextExtentPoint32A measures it, for callers that move on by the text:
// the text is measured once. -1 where TextOutA fails.
int TextOutMeasured(HDC dc, int x, int y, LPCSTR text, int count);
}  // namespace win32
// As TextOutA; ETO_OPAQUE fills rect with the background colour first (also
// with no text), ETO_CLIPPED clips the text to rect; without rect both are
// ignored. advances, when given, holds the distance from each character's
// origin to the next one instead of the font's advances.
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* advances);
// Formats text into rect: DT_LEFT/DT_CENTER/DT_RIGHT, and for a single line
// DT_TOP/DT_VCENTER/DT_BOTTOM; DT_WORDBREAK breaks lines between words (a word
// wider than the rectangle stays whole on a line of its own, spaces at a break
// are dropped); CR, LF and CR LF break lines unless DT_SINGLELINE; '&' marks
// the next character with an underline unless DT_NOPREFIX ("&&" gives '&',
// DT_HIDEPREFIX drops the underline); DT_EXPANDTABS expands tabs to 8 average
// character widths (DT_TABSTOP: bits 8-15 give the count instead). Lines are
// tmHeight apart (plus the external leading with DT_EXTERNALLEADING). Drawing
// is clipped to rect unless DT_NOCLIP; the text alignment and TA_UPDATECP are
// not used. DT_CALCRECT draws nothing and sets rect's right to fit the widest
// line and its bottom to fit all lines. A count of -1 means a zero-terminated
// text. Returns the text height (the offset from rect's top to the text's
// bottom for DT_VCENTER and DT_BOTTOM); 0 for an empty text or on error.
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);

// ---- Measurement ------------------------------------------------------------------
// Width (sum of the character advances) and height (the font's height) of
// count bytes; an empty text is 0 wide and the font's height high.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, LPSIZE size);
BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
// Advances of the characters first..last (byte values, first <= last <= 255) into widths.
BOOL GetCharWidthA(HDC dc, UINT first, UINT last, INT* widths);
BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, INT* widths);
// Copies the family name of the face in use, cut to size - 1 bytes, and returns
// the bytes copied; with a null buffer returns the size needed with the terminator.
int GetTextFaceA(HDC dc, int size, LPSTR faceName);

// ---- Font families -------------------------------------------------------------------
#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004

// Called once per family with its description (lfFaceName the family name,
// lfCharSet the character set asked for, the rest 0), a metrics record that
// holds only tmCharSet and tmPitchAndFamily (TMPF_VECTOR | TMPF_TRUETYPE), the
// font type (TRUETYPE_FONTTYPE) and the caller's value; returning 0 ends the
// enumeration.
typedef int(CALLBACK* FONTENUMPROCA)(const LOGFONTA* logFont, const TEXTMETRICA* metrics, DWORD fontType,
                                     LPARAM lParam);
// Enumerates the installed font families (those fontconfig reports, with the
// classic names that stand for one of them: Arial, Courier New, Times New
// Roman, MS Sans Serif), sorted without regard to case. An empty lfFaceName
// lists every family, another only the family of that name (compared without
// regard to case). The character set is not looked at: every family is
// offered for any set, DEFAULT_CHARSET included. The DC may be null and the
// flags are not used. Returns the last callback's value, 1 when no family was
// reported, and 0 for a null record or callback.
int EnumFontFamiliesExA(HDC dc, const LOGFONTA* logFont, FONTENUMPROCA proc, LPARAM lParam, DWORD flags);

inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutA(dc, x, y, text, count); }
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                       const INT* advances) {
    return ExtTextOutA(dc, x, y, options, rect, text, count, advances);
}
inline int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    return DrawTextA(dc, text, count, rect, format);
}
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, LPSIZE size) {
    return GetTextExtentPoint32A(dc, text, count, size);
}
inline BOOL GetTextMetrics(HDC dc, LPTEXTMETRICA metrics) { return GetTextMetricsA(dc, metrics); }
inline BOOL GetCharWidth(HDC dc, UINT first, UINT last, INT* widths) { return GetCharWidthA(dc, first, last, widths); }
inline int EnumFontFamiliesEx(HDC dc, const LOGFONTA* logFont, FONTENUMPROCA proc, LPARAM lParam, DWORD flags) {
    return EnumFontFamiliesExA(dc, logFont, proc, lParam, flags);
}
