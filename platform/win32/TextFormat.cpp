// DrawTextA: prefix marks, line breaks, word wrapping, tab expansion and the
// placement of the lines in a rectangle.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "DeviceContext.h"
#include "Text.h"
#include "TextOutput.h"

using win32::RealizedFont;

namespace {

const int kDefaultTabCharacters = 8;

// The text as shown: prefix marks removed, with the characters they mark.
struct ShownText {
    std::string bytes;
    std::vector<bool> marked;
};

ShownText RemovePrefixes(const char* text, size_t count, UINT format) {
    ShownText shown;
    shown.bytes.reserve(count);
    const bool prefixes = !(format & DT_NOPREFIX);
    bool markNext = false;
    for (size_t i = 0; i < count; ++i) {
        if (prefixes && text[i] == '&' && !markNext) {
            markNext = true;
            continue;
        }
        shown.bytes += text[i];
        shown.marked.push_back(markNext && text[i] != '&' && !(format & DT_HIDEPREFIX));
        markNext = false;
    }
    return shown;
}

struct Line {
    size_t begin;
    size_t end;
    long long width;
};

class LineBreaker {
public:
    LineBreaker(const std::string& text, RealizedFont& font, UINT format, long long maxWidth)
        : text_(text), font_(font), format_(format), maxWidth_(maxWidth) {
        int tabCharacters = (format & DT_TABSTOP) ? int((format >> 8) & 0xFF) : kDefaultTabCharacters;
        if (tabCharacters == 0) tabCharacters = kDefaultTabCharacters;
        tabWidth_ = std::max(1LL, static_cast<long long>(tabCharacters) * font.Metrics().averageCharWidth);
    }

    // x of the character after one at `x`.
    long long NextX(long long x, char character) const {
        if (character == '\t' && (format_ & DT_EXPANDTABS)) return (x / tabWidth_ + 1) * tabWidth_;
        return x + font_.Advance(static_cast<unsigned char>(character));
    }

    long long Width(size_t begin, size_t end) const {
        long long x = 0;
        for (size_t i = begin; i < end; ++i) x = NextX(x, text_[i]);
        return x;
    }

    std::vector<Line> Break() const {
        std::vector<Line> lines;
        if (format_ & DT_SINGLELINE) {
            lines.push_back(Line{0, text_.size(), Width(0, text_.size())});
            return lines;
        }
        size_t begin = 0;
        while (true) {
            size_t end = text_.find_first_of("\r\n", begin);
            size_t hardEnd = end == std::string::npos ? text_.size() : end;
            if (format_ & DT_WORDBREAK) {
                WrapWords(begin, hardEnd, lines);
            } else {
                lines.push_back(Line{begin, hardEnd, Width(begin, hardEnd)});
            }
            if (end == std::string::npos) break;
            begin = end + ((text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ? 2 : 1);
        }
        return lines;
    }

private:
    // Greedy wrapping between words; a word wider than the line stays whole.
    void WrapWords(size_t begin, size_t end, std::vector<Line>& lines) const {
        size_t lineBegin = begin;
        do {
            size_t fitEnd = lineBegin;
            long long fitWidth = 0;
            long long x = 0;
            size_t i = lineBegin;
            while (i < end) {
                while (i < end && text_[i] == ' ') x = NextX(x, text_[i++]);
                if (i == end) break;
                while (i < end && text_[i] != ' ') x = NextX(x, text_[i++]);
                if (x > maxWidth_ && fitEnd != lineBegin) break;
                fitEnd = i;
                fitWidth = x;
                if (x > maxWidth_) break;
            }
            if (fitEnd == lineBegin) fitEnd = end;  // nothing but spaces
            if (fitEnd == end) fitWidth = Width(lineBegin, end);
            lines.push_back(Line{lineBegin, fitEnd, fitWidth});
            lineBegin = fitEnd;
            while (lineBegin < end && text_[lineBegin] == ' ') ++lineBegin;
        } while (lineBegin < end);
    }

    const std::string& text_;
    RealizedFont& font_;
    UINT format_;
    long long maxWidth_;
    long long tabWidth_;
};

LONG Clamped(long long value) { return LONG(std::min<long long>(std::max<long long>(value, INT32_MIN), INT32_MAX)); }

LONG LineLeft(const RECT& rect, long long width, UINT format) {
    if (format & DT_CENTER) return Clamped(rect.left + (static_cast<long long>(rect.right) - rect.left - width) / 2);
    if (format & DT_RIGHT) return Clamped(rect.right - width);
    return rect.left;
}

// Draws one line as runs between tabs, each character where the breaker put it.
void DrawLine(DeviceContext& dc, RealizedFont& font, const ShownText& shown, const LineBreaker& breaker,
              const Line& line, LONG left, LONG top, const RECT& clip, UINT format) {
    size_t runBegin = line.begin;
    long long runX = 0;
    long long x = 0;
    for (size_t i = line.begin; i <= line.end; ++i) {
        const bool runEnds = i == line.end || (shown.bytes[i] == '\t' && (format & DT_EXPANDTABS));
        if (!runEnds) {
            x = breaker.NextX(x, shown.bytes[i]);
            continue;
        }
        win32::TextRun run;
        run.reference = POINT{Clamped(left + runX), top};
        run.align = TA_LEFT | TA_TOP;
        run.options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
        run.rect = &clip;
        run.text = shown.bytes.data() + runBegin;
        run.count = i - runBegin;
        for (size_t k = runBegin; k < i; ++k) {
            if (shown.marked[k]) run.underlinedIndex = static_cast<long long>(k - runBegin);
        }
        if (run.count > 0) win32::DrawTextRun(dc, font, run);
        if (i == line.end) break;
        x = breaker.NextX(x, shown.bytes[i]);
        runX = x;
        runBegin = i + 1;
    }
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext* dc = LookupDeviceContext(hdc);
    if (!dc || !rect || count < -1 || (count != 0 && !text)) return 0;
    const size_t length = count == -1 ? std::strlen(text) : size_t(count);
    Trace(dc, "DrawTextA", TraceText{text, count}, count, static_cast<const RECT*>(rect), format);
    if (format & DT_TABSTOP) format &= ~0xFF00u;  // those bits hold the tab size

    std::shared_ptr<RealizedFont> font = win32::SelectedFont(*dc);
    const ShownText shown = RemovePrefixes(text, length, format);
    const LineBreaker breaker(shown.bytes, *font, format, static_cast<long long>(rect->right) - rect->left);
    const std::vector<Line> lines = shown.bytes.empty() && length == 0 ? std::vector<Line>() : breaker.Break();

    const win32::FontMetrics& metrics = font->Metrics();
    const long long lineHeight = metrics.height + ((format & DT_EXTERNALLEADING) ? metrics.externalLeading : 0);
    const long long textHeight = lineHeight * static_cast<long long>(lines.size());
    long long top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = rect->top + (static_cast<long long>(rect->bottom) - rect->top - textHeight) / 2;
        else if (format & DT_BOTTOM) top = rect->bottom - textHeight;
    }
    if (format & DT_CALCRECT) {
        long long widest = 0;
        for (const Line& line : lines) widest = std::max(widest, line.width);
        rect->right = Clamped(rect->left + widest);
        rect->bottom = Clamped(rect->top + textHeight);
        return int(Clamped(textHeight));
    }
    const RECT clip = *rect;
    for (size_t i = 0; i < lines.size(); ++i) {
        const long long lineTop = top + static_cast<long long>(i) * lineHeight;
        if (lineTop > INT32_MAX) break;
        DrawLine(*dc, *font, shown, breaker, lines[i], LineLeft(clip, lines[i].width, format), Clamped(lineTop), clip,
                 format);
    }
    return int(Clamped(top - rect->top + textHeight));
}
