// TCHRTableCache: the character tables read during one formula, and the text images drawn with them.
#include "CHRTableCache.h"

#include "CHRTable.h"
#include "CHRText.h"
#include "ExpressionImageCanvas.h"

TCHRTableCache::TCHRTableCache() = default;
TCHRTableCache::~TCHRTableCache() = default;

TCHRTable& TCHRTableCache::Get(const std::string& font, int size) {
    std::unique_ptr<TCHRTable>& table = tables_[std::make_pair(font, size)];
    if (!table) {
        table.reset(new TCHRTable(font, size));
    }
    return *table;
}

TCHRTable& GetCachedCHRTable(TCHRTableCache& cache, const TExpressionImageProps& props, int size) {
    return cache.Get(props.Font.str(), size);
}

namespace {

// Sum of the widths of the text's bytes, without overflowing an int.
int64_t TextWidth(const TCHRTable& table, const char* text) {
    int64_t width = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        width += table.GetCharWidth(*c);
    }
    return width;
}

}  // namespace

void CreateTextImage(const char* text, TImageBuffer& out, const TExpressionImageProps& props, TCHRTableCache& cache) {
    if (text == nullptr) {
        text = "";
    }
    const TCHRTable& table = GetCachedCHRTable(cache, props, props.FontSize);
    const int64_t width = TextWidth(table, text);
    const int height = table.GetHeight();
    CreateBlankImage(out, width, height, props.BkColor);
    if (out.Data == nullptr) {
        return;
    }
    DrawCHRText(table, 0, 0, text, InkSetter(out, props.TextColor), chrRotate0, 0, 1, 1, 0.0);
}
