// Logical fonts as plain data: the LOGFONTA a font handle stands for. Turning it
// into glyphs is the text code's business. Internal to the Win32 subset.
#pragma once

#include <memory>

#include "GdiObject.h"

class LogicalFont : public GdiObject {
public:
    explicit LogicalFont(const LOGFONTA& record) : GdiObject(GdiKind::Font), logFont(record) {}
    int RecordSize() const override { return static_cast<int>(sizeof(LOGFONTA)); }
    void CopyRecord(void* buffer, int size) const override;
    std::string Describe() const override;

    LOGFONTA logFont;
    // Free for the text code to cache the realised font (faces, metrics).
    mutable std::shared_ptr<void> realisation;
};

// The logical font of a handle; null for a bad handle.
LogicalFont* LookupFont(HFONT font);
// Stock fonts: SYSTEM_FONT {16, weight 700, "System"}, DEFAULT_GUI_FONT {-11, 400, "MS Sans Serif"}.
LogicalFont* MakeStockFont(int index);
