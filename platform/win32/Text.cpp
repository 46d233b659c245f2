// TextOutA, ExtTextOutA, text extents, metrics, character widths, text colour
// and alignment on the DCs of the GDI subset.
#include "Text.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "DeviceContext.h"
#include "FontLookup.h"
#include "LogicalFont.h"
#include "TextOutput.h"
#include "TextPainter.h"

using win32::RealizedFont;
using win32::SelectedFont;

namespace {

// The text's bytes are readable: a positive count needs a text.
bool ValidText(LPCSTR text, long long count) { return count >= 0 && (count == 0 || text != nullptr); }

// Moves the current position along the baseline after a TA_UPDATECP run.
void AdvanceCurrentPosition(DeviceContext& dc, RealizedFont& font, long long width) {
    const UINT align = dc.state.textAlign;
    if ((align & TA_CENTER) == TA_CENTER) return;
    const double distance = (align & TA_RIGHT) ? -double(width) : double(width);
    const win32::TextDirection direction = win32::TextDirection::FromEscapement(font.Escapement());
    dc.state.currentPosition.x += LONG(std::lround(direction.DeviceX(distance, 0)));
    dc.state.currentPosition.y += LONG(std::lround(direction.DeviceY(distance, 0)));
}

// Draws the run and gives its width.
long long OutputText(DeviceContext& dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                     const INT* advances) {
    std::shared_ptr<RealizedFont> font = SelectedFont(dc);
    const bool updatePosition = (dc.state.textAlign & TA_UPDATECP) != 0;
    win32::TextRun run;
    run.reference = updatePosition ? dc.state.currentPosition : POINT{x, y};
    run.align = dc.state.textAlign;
    run.options = options;
    run.rect = rect;
    run.text = text;
    run.count = count;
    run.advances = advances;
    long long width = win32::DrawTextRun(dc, *font, run);
    if (updatePosition) AdvanceCurrentPosition(dc, *font, width);
    return width;
}

void FillTextMetrics(const win32::FontMetrics& metrics, const LOGFONTA& logFont, TEXTMETRICA& out) {
    std::memset(&out, 0, sizeof(out));
    out.tmHeight = metrics.height;
    out.tmAscent = metrics.ascent;
    out.tmDescent = metrics.descent;
    out.tmInternalLeading = metrics.internalLeading;
    out.tmExternalLeading = metrics.externalLeading;
    out.tmAveCharWidth = metrics.averageCharWidth;
    out.tmMaxCharWidth = metrics.maxCharWidth;
    out.tmWeight = metrics.weight;
    out.tmOverhang = 0;
    out.tmDigitizedAspectX = 96;
    out.tmDigitizedAspectY = 96;
    out.tmFirstChar = 0x20;
    out.tmLastChar = 0xFF;
    out.tmDefaultChar = 0x1F;
    out.tmBreakChar = 0x20;
    out.tmItalic = metrics.italic ? 255 : 0;
    out.tmUnderlined = metrics.underline ? 255 : 0;
    out.tmStruckOut = metrics.strikeOut ? 255 : 0;
    out.tmPitchAndFamily =
        BYTE((logFont.lfPitchAndFamily & 0xF0) | TMPF_TRUETYPE | TMPF_VECTOR | (metrics.fixedPitch ? 0 : TMPF_FIXED_PITCH));
    out.tmCharSet = EASTEUROPE_CHARSET;
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc) return CLR_INVALID;
    Trace(dc, "SetTextColor", TraceColour{colour});
    COLORREF previous = dc->state.textColour;
    dc->state.textColour = colour & 0x00FFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC hdc) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc) return CLR_INVALID;
    Trace(dc, "GetTextColor");
    return dc->state.textColour;
}

UINT SetTextAlign(HDC hdc, UINT align) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc) return UINT(GDI_ERROR);
    Trace(dc, "SetTextAlign", align);
    UINT previous = dc->state.textAlign;
    dc->state.textAlign = align & TA_MASK;
    return previous;
}

UINT GetTextAlign(HDC hdc) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc) return UINT(GDI_ERROR);
    Trace(dc, "GetTextAlign");
    return dc->state.textAlign;
}

int win32::TextOutMeasured(HDC hdc, int x, int y, LPCSTR text, int count) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || !ValidText(text, count)) return -1;
    Trace(dc, "TextOutA", x, y, TraceText{text, count}, count);
    return int(std::min<long long>(OutputText(*dc, x, y, 0, nullptr, text, UINT(count), nullptr), INT_MAX));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    return win32::TextOutMeasured(hdc, x, y, text, count) >= 0;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* advances) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || count > UINT(INT_MAX) || !ValidText(text, count)) return FALSE;
    Trace(dc, "ExtTextOutA", x, y, options, rect, TraceText{text, int(count)}, count);
    OutputText(*dc, x, y, options, rect, text, count, advances);
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || !size || !ValidText(text, count)) return FALSE;
    Trace(dc, "GetTextExtentPoint32A", TraceText{text, count}, count);
    std::shared_ptr<RealizedFont> font = SelectedFont(*dc);
    size->cx = font->TextWidth(text, size_t(count));
    size->cy = font->Metrics().height;
    return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    return GetTextExtentPoint32A(hdc, text, count, size);
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || !metrics) return FALSE;
    Trace(dc, "GetTextMetricsA");
    FillTextMetrics(SelectedFont(*dc)->Metrics(), dc->state.font->logFont, *metrics);
    return TRUE;
}

BOOL GetCharWidthA(HDC hdc, UINT first, UINT last, INT* widths) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || !widths || first > last || last > 0xFF) return FALSE;
    Trace(dc, "GetCharWidthA", first, last);
    std::shared_ptr<RealizedFont> font = SelectedFont(*dc);
    for (UINT character = first; character <= last; ++character) {
        widths[character - first] = font->Advance(static_cast<unsigned char>(character));
    }
    return TRUE;
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) { return GetCharWidthA(hdc, first, last, widths); }

int GetTextFaceA(HDC hdc, int size, LPSTR faceName) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || (faceName && size <= 0)) return 0;
    Trace(dc, "GetTextFaceA", size);
    const std::string& name = SelectedFont(*dc)->Metrics().faceName;
    if (!faceName) return int(name.size()) + 1;
    size_t copied = std::min(name.size(), size_t(size) - 1);
    std::memcpy(faceName, name.data(), copied);
    faceName[copied] = '\0';
    return int(copied);
}

namespace {

bool SameFaceName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

int EnumFontFamiliesExA(HDC, const LOGFONTA* logFont, FONTENUMPROCA proc, LPARAM lParam, DWORD) {
    if (logFont == nullptr || proc == nullptr) return 0;
    char wanted[LF_FACESIZE + 1] = {};
    std::memcpy(wanted, logFont->lfFaceName, LF_FACESIZE);
    int result = 1;
    for (const std::string& family : win32::ListFontFamilies()) {
        if (wanted[0] != '\0' && !SameFaceName(family, wanted)) continue;
        LOGFONTA description{};
        description.lfCharSet = logFont->lfCharSet;
        std::memcpy(description.lfFaceName, family.c_str(), std::min<size_t>(family.size(), LF_FACESIZE - 1));
        TEXTMETRICA metrics{};
        metrics.tmCharSet = logFont->lfCharSet;
        metrics.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;
        result = proc(&description, &metrics, TRUETYPE_FONTTYPE, lParam);
        if (result == 0) break;
    }
    return result;
}
