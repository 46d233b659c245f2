// Logical fonts: CreateFontA/CreateFontIndirectA store the record; stock fonts.
#include "LogicalFont.h"

#include <cstring>
#include <sstream>

namespace {

LOGFONTA MakeLogFont(LONG height, LONG weight, const char* face) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

}  // namespace

void LogicalFont::CopyRecord(void* buffer, int size) const {
    std::memcpy(buffer, &logFont, static_cast<size_t>(size < RecordSize() ? size : RecordSize()));
}

std::string LogicalFont::Describe() const {
    std::ostringstream out;
    out << "Font(" << logFont.lfHeight << ", " << logFont.lfWidth << ", " << logFont.lfEscapement << ", "
        << logFont.lfOrientation << ", " << logFont.lfWeight << ", " << int(logFont.lfItalic) << ", "
        << int(logFont.lfUnderline) << ", " << int(logFont.lfStrikeOut) << ", " << int(logFont.lfCharSet) << ", \""
        << logFont.lfFaceName << "\")";
    return out.str();
}

LogicalFont* LookupFont(HFONT font) { return LookupGdiObjectAs<LogicalFont>(font, GdiKind::Font); }

LogicalFont* MakeStockFont(int index) {
    if (index == DEFAULT_GUI_FONT) return new LogicalFont(MakeLogFont(-11, FW_NORMAL, "MS Sans Serif"));
    return new LogicalFont(MakeLogFont(16, FW_BOLD, "System"));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (logFont == nullptr) return nullptr;
    LOGFONTA record = *logFont;
    record.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(RegisterGdiObject(new LogicalFont(record)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA record{};
    record.lfHeight = height;
    record.lfWidth = width;
    record.lfEscapement = escapement;
    record.lfOrientation = orientation;
    record.lfWeight = weight;
    record.lfItalic = static_cast<BYTE>(italic);
    record.lfUnderline = static_cast<BYTE>(underline);
    record.lfStrikeOut = static_cast<BYTE>(strikeOut);
    record.lfCharSet = static_cast<BYTE>(charSet);
    record.lfOutPrecision = static_cast<BYTE>(outPrecision);
    record.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    record.lfQuality = static_cast<BYTE>(quality);
    record.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName != nullptr) std::strncpy(record.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&record);
}
