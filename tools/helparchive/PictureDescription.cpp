// Drawing picture descriptions on memory bitmaps: the statements and their table.
#include "PictureDescription.h"

#include <cstring>
#include <vector>

#include "SourceWords.h"
#include "Win32.h"

namespace {

// Coordinates may reach past the picture; the picture itself stays small, as
// help pictures are, so that no description can make drawing take long.
constexpr int kSideLimit = 4096;
constexpr int kPictureSideLimit = 1024;
constexpr int kFontSizeLimit = 200;

// What the statements draw on, and the font the text statements use.
struct TCanvasState {
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    int fontSize = 9;
    int weight = FW_NORMAL;
    bool italic = false;
    std::string face = "Arial";
};

void FillArea(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Pen and brush of one colour, or the pen alone, for the call of draw.
template <class Draw>
void WithColour(HDC dc, COLORREF colour, bool filled, Draw draw) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = filled ? CreateSolidBrush(colour) : nullptr;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, filled ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    draw();
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    if (brush != nullptr) DeleteObject(brush);
}

RECT ReadRect(const TSourceWords& words) {
    return RECT{words.Number(1, kSideLimit), words.Number(2, kSideLimit), words.Number(3, kSideLimit),
                words.Number(4, kSideLimit)};
}

void DrawFill(TCanvasState& state, const TSourceWords& words) {
    words.Expect(2, 2, "fill RRGGBB");
    FillArea(state.dc, RECT{0, 0, state.width, state.height}, words.Colour(1));
}

void DrawRect(TCanvasState& state, const TSourceWords& words) {
    words.Expect(6, 6, "rect LEFT TOP RIGHT BOTTOM RRGGBB");
    FillArea(state.dc, ReadRect(words), words.Colour(5));
}

void DrawFrame(TCanvasState& state, const TSourceWords& words) {
    words.Expect(6, 6, "frame LEFT TOP RIGHT BOTTOM RRGGBB");
    const RECT area = ReadRect(words);
    WithColour(state.dc, words.Colour(5), false, [&] { Rectangle(state.dc, area.left, area.top, area.right, area.bottom); });
}

void DrawEllipse(TCanvasState& state, const TSourceWords& words) {
    words.Expect(6, 6, "ellipse LEFT TOP RIGHT BOTTOM RRGGBB");
    const RECT area = ReadRect(words);
    WithColour(state.dc, words.Colour(5), true, [&] { Ellipse(state.dc, area.left, area.top, area.right, area.bottom); });
}

void DrawLine(TCanvasState& state, const TSourceWords& words) {
    words.Expect(6, 6, "line X1 Y1 X2 Y2 RRGGBB");
    const RECT ends = ReadRect(words);
    WithColour(state.dc, words.Colour(5), false, [&] {
        MoveToEx(state.dc, ends.left, ends.top, nullptr);
        LineTo(state.dc, ends.right, ends.bottom);
    });
}

void DrawPolygon(TCanvasState& state, const TSourceWords& words) {
    if (words.GetCount() < 5) words.Fail("expected: polygon RRGGBB and at least three points X,Y");
    std::vector<POINT> points;
    for (size_t i = 2; i < words.GetCount(); ++i) points.push_back(words.Point(i, kSideLimit));
    WithColour(state.dc, words.Colour(1), true,
               [&] { Polygon(state.dc, points.data(), static_cast<int>(points.size())); });
}

void SetFont(TCanvasState& state, const TSourceWords& words) {
    if (words.GetCount() < 3) words.Fail("expected: font SIZE [bold] [italic] FACE");
    const int size = words.Number(1, kFontSizeLimit);
    if (size < 1) words.Fail("a font size must be at least 1");
    size_t next = 2;
    state.weight = FW_NORMAL;
    state.italic = false;
    for (; next < words.GetCount(); ++next) {
        if (words[next] == "bold")
            state.weight = FW_BOLD;
        else if (words[next] == "italic")
            state.italic = true;
        else
            break;
    }
    if (next == words.GetCount()) words.Fail("the font has no face name");
    state.fontSize = size;
    state.face = words.RestFrom(next);
}

void DrawTextLine(TCanvasState& state, const TSourceWords& words) {
    if (words.GetCount() < 5) words.Fail("expected: text X Y RRGGBB TEXT");
    const int x = words.Number(1, kSideLimit), y = words.Number(2, kSideLimit);
    const COLORREF colour = words.Colour(3);
    const std::string text = words.RestFrom(4);
    HFONT font = CreateFontA(-MulDiv(state.fontSize, 96, 72), 0, 0, 0, state.weight, state.italic, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, state.face.c_str());
    HGDIOBJ oldFont = SelectObject(state.dc, font);
    SetBkMode(state.dc, TRANSPARENT);
    SetTextColor(state.dc, colour);
    TextOutA(state.dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(state.dc, oldFont);
    DeleteObject(font);
}

// ORDER: none; the drawing statements by their first word.
const struct {
    const char* name;
    void (*draw)(TCanvasState& state, const TSourceWords& words);
} kStatements[] = {
    {"fill", DrawFill},       {"rect", DrawRect}, {"frame", DrawFrame}, {"ellipse", DrawEllipse},
    {"line", DrawLine},       {"polygon", DrawPolygon}, {"font", SetFont}, {"text", DrawTextLine},
};

// The statements that are not comments or blank, with their line numbers.
std::vector<std::pair<int, std::string>> Statements(const THelpSource& source) {
    std::vector<std::pair<int, std::string>> statements;
    for (size_t i = 0; i < source.GetLines().size(); ++i) {
        const std::string& line = source.GetLines()[i];
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#') statements.emplace_back(static_cast<int>(i) + 1, line);
    }
    return statements;
}

// "picture WIDTH HEIGHT BITS", then the palette statements of an 8-bit picture.
size_t MakeBlankPicture(const THelpSource& source, const std::vector<std::pair<int, std::string>>& statements,
                        TMemBitmap& picture) {
    if (statements.empty()) source.Fail(0, "describes no picture");
    const TSourceWords head(source, statements[0].first, statements[0].second);
    if (head.GetCount() == 0 || head[0] != "picture") head.Fail("the description must begin: picture WIDTH HEIGHT BITS");
    head.Expect(4, 4, "picture WIDTH HEIGHT BITS");
    const int width = head.Number(1, kPictureSideLimit), height = head.Number(2, kPictureSideLimit);
    const int bits = head.Number(3, 24);
    if (width < 1 || height < 1) head.Fail("a picture must be at least 1 x 1");
    if (bits != 8 && bits != 24) head.Fail("a picture has 8 or 24 bits per pixel");
    if (!picture.NewBitmap(width, height, bits)) head.Fail("the picture cannot be made");
    std::vector<RGBQUAD> palette;
    size_t next = 1;
    for (; next < statements.size(); ++next) {
        const TSourceWords words(source, statements[next].first, statements[next].second);
        if (words[0] != "palette") break;
        if (bits != 8) words.Fail("only an 8-bit picture has a palette");
        for (size_t i = 1; i < words.GetCount(); ++i) {
            const COLORREF colour = words.Colour(i);
            palette.push_back(RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0});
        }
        if (palette.size() > 256) words.Fail("a palette holds at most 256 colours");
    }
    if (bits == 8 && palette.empty()) head.Fail("an 8-bit picture needs a palette statement");
    if (bits == 8) {
        palette.resize(256, RGBQUAD{0, 0, 0, 0});
        picture.SetPalette(palette.data());
    }
    return next;
}

}  // namespace

void DrawPictureDescription(const THelpSource& source, TMemBitmap& picture) {
    const std::vector<std::pair<int, std::string>> statements = Statements(source);
    const size_t first = MakeBlankPicture(source, statements, picture);
    TCanvasState state;
    state.width = picture.Width;
    state.height = picture.Height;
    state.dc = picture.BeginPaint(true, nullptr);
    if (state.dc == nullptr) source.Fail(0, "the picture cannot be drawn on");
    try {
        for (size_t i = first; i < statements.size(); ++i) {
            const TSourceWords words(source, statements[i].first, statements[i].second);
            bool known = false;
            for (const auto& statement : kStatements) {
                if (words[0] != statement.name) continue;
                statement.draw(state, words);
                known = true;
            }
            if (!known) words.Fail("unknown statement '" + words[0] + "'");
        }
    } catch (...) {
        picture.EndPaint();
        throw;
    }
    picture.EndPaint();
}
