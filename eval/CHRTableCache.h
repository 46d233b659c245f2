// TCHRTableCache: the character tables read during one formula, and the text images drawn with them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "ExpressionImageProps.h"
#include "ImageBuffer.h"

class TCHRTable;

// Owns the tables it has looked up, keyed by font name and size; they are
// freed with the cache.
class TCHRTableCache {
public:
    TCHRTableCache();
    ~TCHRTableCache();
    TCHRTableCache(const TCHRTableCache&) = delete;
    TCHRTableCache& operator=(const TCHRTableCache&) = delete;

    // The table of (font, size). The first request reads "<font>_<size>.chr"
    // from the CHDIR folder; a missing, unreadable or damaged file gives an
    // empty table (height 0, every width 0), which is kept and not read again.
    TCHRTable& Get(const std::string& font, int size);
    // Number of tables looked up so far.
    int Count() const { return int(tables_.size()); }

private:
    std::map<std::pair<std::string, int>, std::unique_ptr<TCHRTable>> tables_;
};

// The table of (props.Font, size) from the cache.
TCHRTable& GetCachedCHRTable(TCHRTableCache& cache, const TExpressionImageProps& props, int size);

// out becomes a 24-bit image of the text in props.Font at props.FontSize: as
// wide as the sum of the characters' widths, as high as the table, painted
// with BkColor, glyph dots in TextColor. A character without glyph only
// advances. Null or empty text gives width 0 and the table's height; an empty
// table gives 0 x 0; a text too large for an image gives 0 x 0.
void CreateTextImage(const char* text, TImageBuffer& out, const TExpressionImageProps& props, TCHRTableCache& cache);
