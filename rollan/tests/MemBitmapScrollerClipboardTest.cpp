// Tests of the memory-bitmap scroller's selections as pixels: the masks of
// rectangles, ellipses and polygons against hand-computed tables, the cut of
// exactly those masks, copy and paste through the clipboard at every depth,
// the paste corner, the messages, damaged clipboard data, and selections
// left from a larger picture.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "MemBitmapFixture.h"

namespace {

using Rows = std::vector<std::string>;

enum class Shape { Rectangle, Ellipse, Polygon };

struct MaskCase {
    const char* name;
    Shape shape;
    std::vector<POINT> points;  // rectangle: two corners; ellipse: centre, then radii; polygon: its points
    Rows mask;                  // '#' inside, '.' outside
};

// Computed by hand: the midpoint ellipse's boundary points of the first
// quadrant are (0,1) (1,1) (2,0) for radii 2 and 1; (0,3) (1,3) (2,3) (3,2)
// (4,2) (5,1) (5,0) for 5 and 3; (0,4) (1,4) (2,3) (3,3) (3,2) (4,1) (4,0) for
// the circle of 4. The polygon's bottom notch has 45-degree sides; its last
// row keeps only the two vertical edges.
const MaskCase kMasks[] = {
    {"rectangle", Shape::Rectangle, {{3, 4}, {9, 6}}, {"#######", "#######", "#######"}},
    {"ellipse 2 1", Shape::Ellipse, {{12, 10}, {2, 1}}, {".###.", "#####", ".###."}},
    {"ellipse 5 3",
     Shape::Ellipse,
     {{15, 12}, {5, 3}},
     {"...#####...", ".#########.", "###########", "###########", "###########", ".#########.", "...#####..."}},
    {"circle 4",
     Shape::Ellipse,
     {{20, 14}, {4, 4}},
     {"...###...", ".#######.", ".#######.", "#########", "#########", "#########", ".#######.", ".#######.",
      "...###..."}},
    {"concave polygon",
     Shape::Polygon,
     {{3, 2}, {11, 2}, {11, 8}, {7, 4}, {3, 8}},
     {"#########", "#########", "#########", "####.####", "###...###", "##.....##", "#.......#"}},
};

class MemBitmapClipboardTest : public MemBitmapTest {
protected:
    void Select(TMemBitmapScroller* scroller, const MaskCase& c) {
        switch (c.shape) {
            case Shape::Rectangle: SelectRect(scroller, c.points[0], c.points[1]); break;
            case Shape::Ellipse: SelectEllipse(scroller, c.points[0], c.points[1].x, c.points[1].y); break;
            case Shape::Polygon: SelectPolygon(scroller, c.points); break;
        }
        ASSERT_TRUE(scroller->GetSelection());
    }
    // Where the mask's corner lies in the image.
    static POINT MaskCorner(const MaskCase& c) {
        if (c.shape == Shape::Ellipse) return POINT{c.points[0].x - c.points[1].x, c.points[0].y - c.points[1].y};
        POINT corner = c.points[0];
        for (POINT p : c.points) corner = POINT{std::min(corner.x, p.x), std::min(corner.y, p.y)};
        return corner;
    }
    // The image's pixels, row by row.
    static std::vector<int> Pixels(TMemBitmap& bitmap) {
        std::vector<int> pixels;
        for (int y = 0; y < bitmap.Height; ++y)
            for (int x = 0; x < bitmap.Width; ++x) pixels.push_back(bitmap.GetPixel(x, y));
        return pixels;
    }
    // A CF_DIB block of the given bytes alone on the clipboard.
    static void ClipboardDib(const std::vector<uint8_t>& bytes) {
        OpenClipboard(nullptr);
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(CF_DIB, block);
        CloseClipboard();
    }
};

}  // namespace

// At every depth: the selection's picture has the mask of the table, carries
// the image's pixels (and table) inside it, and Ctrl+X clears exactly those
// pixels to 0 and repaints them.
TEST_F(MemBitmapClipboardTest, SelectionMasksMatchTheirTablesAndTheCutClearsExactlyThem) {
    for (int bits : {8, 24, 4, 16}) {
        for (const MaskCase& c : kMasks) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(bits) + " bits");
            auto picture = MakePicture(bits, 40, 30);
            TMemBitmapScroller* scroller = MakeScroller(picture.get());
            Select(scroller, c);
            std::unique_ptr<TMemBitmap> part(scroller->GetSelectionImage());
            ASSERT_NE(part, nullptr);
            EXPECT_EQ(part->BitCount, bits);
            EXPECT_EQ(Mask(*part), c.mask);
            const POINT corner = MaskCorner(c);
            for (int y = 0; y < part->Height; ++y)
                for (int x = 0; x < part->Width; ++x) {
                    if (c.mask[y][x] != '#') continue;
                    ASSERT_EQ(part->GetPixel(x, y), picture->GetPixel(corner.x + x, corner.y + y)) << x << "," << y;
                }
            if (bits <= 8) {
                for (int i : {0, 1, 9, 15}) EXPECT_EQ(part->GetPaletteEntry(i), picture->GetPaletteEntry(i));
            }

            Ctrl('X');
            driver.PumpUntilIdle();
            TMemBitmap& image = *scroller->GetImage();
            int wrong = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    const int mx = x - corner.x, my = y - corner.y;
                    const bool inside = my >= 0 && my < int(c.mask.size()) && mx >= 0 &&
                                        mx < int(c.mask[0].size()) && c.mask[my][mx] == '#';
                    const int expected = inside ? 0 : picture->GetPixel(x, y);
                    if (image.GetPixel(x, y) != expected && wrong++ < 3)
                        ADD_FAILURE() << "image pixel " << x << "," << y << " is " << image.GetPixel(x, y);
                }
            // Shown without its inverted outline, a cleared pixel has the colour of 0.
            scroller->SetShowSelection(false);
            driver.PumpUntilIdle();
            const POINT cleared{corner.x + int(c.mask[0].find('#')), corner.y};
            EXPECT_EQ(At(scroller, cleared), ShownColour(image, cleared.x, cleared.y));
            delete scroller;
        }
    }
}

TEST_F(MemBitmapClipboardTest, MasksAreSymmetricInBothAxes) {
    auto picture = MakePicture(8, 120, 100);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    for (POINT radii : {POINT{17, 9}, POINT{9, 30}, POINT{21, 21}, POINT{1, 12}, POINT{25, 1}}) {
        SCOPED_TRACE(std::to_string(radii.x) + " x " + std::to_string(radii.y));
        scroller->SetSelectable(true);
        SelectEllipse(scroller, {55, 45}, radii.x, radii.y);
        std::unique_ptr<TMemBitmap> part(scroller->GetSelectionImage());
        ASSERT_NE(part, nullptr);
        const Rows mask = Mask(*part);
        ASSERT_EQ(mask.size(), size_t(2 * radii.y + 1));
        EXPECT_EQ(Rows(mask.rbegin(), mask.rend()), mask);
        for (const std::string& row : mask) EXPECT_EQ(std::string(row.rbegin(), row.rend()), row);
        EXPECT_EQ(mask[radii.y], std::string(2 * radii.x + 1, '#'));
    }
}

// Copy at one selection, paste at another: the same pixels arrive there
// through the real clipboard, the rest stays.
TEST_F(MemBitmapClipboardTest, ACopyPastesTheSamePixelsAtAnotherSelectionAtEveryDepth) {
    for (int bits : {8, 24, 4, 16}) {
        SCOPED_TRACE(std::to_string(bits) + " bits");
        auto picture = MakePicture(bits, 40, 30);
        TMemBitmapScroller* scroller = MakeScroller(picture.get());
        SelectRect(scroller, {2, 3}, {9, 8});
        Ctrl('C');
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
        SelectRect(scroller, {25, 20}, {35, 27});
        ASSERT_TRUE(scroller->Paste());
        TMemBitmap& image = *scroller->GetImage();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool pasted = x >= 25 && x < 33 && y >= 20 && y < 26;
                ASSERT_EQ(image.GetPixel(x, y), pasted ? picture->GetPixel(x - 23, y - 17) : picture->GetPixel(x, y))
                    << x << "," << y;
            }
        driver.PumpUntilIdle();
        EXPECT_EQ(At(scroller, {27, 22}), ShownColour(*picture, 4, 5));
        delete scroller;
    }
}

TEST_F(MemBitmapClipboardTest, APasteGoesToTheSelectionsTopLeftCutToTheImage) {
    auto picture = MakePicture(8, 40, 30);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    auto square = MakePicture(8, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) square->SetPixel(x, y, 251);
    auto cornerOfPaste = [&]() {
        square->CopyToClipboard();
        scroller->SetImage(*picture);
        EXPECT_TRUE(scroller->Paste());
        TMemBitmap& image = *scroller->GetImage();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (image.GetPixel(x, y) == 251) return std::to_string(x) + "," + std::to_string(y);
        return std::string("none");
    };
    EXPECT_EQ(cornerOfPaste(), "0,0");
    SelectEllipse(scroller, {20, 15}, 5, 3);
    EXPECT_EQ(cornerOfPaste(), "15,12");
    scroller->SetSelectable(true);
    SelectPolygon(scroller, {{30, 5}, {33, 20}, {24, 12}});
    EXPECT_EQ(cornerOfPaste(), "24,5");
    // Past the image's edge the pasted picture is cut.
    scroller->SetSelectable(true);
    SelectRect(scroller, {37, 27}, {45, 35});
    EXPECT_EQ(cornerOfPaste(), "37,27");
    EXPECT_EQ(scroller->GetImage()->GetPixel(39, 29), 251);
}

// Without a selection CopyImage takes the whole picture; the keys act only
// while a selection exists.
TEST_F(MemBitmapClipboardTest, CtrlCAndCtrlXActOnlyWhileASelectionExists) {
    auto picture = MakePicture(24, 40, 30);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    TMessageLog log;
    ClipboardText("kept");
    Ctrl('C');
    Ctrl('X');
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ(Pixels(*scroller->GetImage()), Pixels(*picture));
    EXPECT_TRUE(log.boxes.empty());

    ASSERT_TRUE(scroller->CopyImage(false));
    TMemBitmap whole;
    ASSERT_TRUE(whole.CopyFromClipboard());
    EXPECT_EQ(Pixels(whole), Pixels(*picture));
    ASSERT_TRUE(scroller->CopyImage(true));
    EXPECT_EQ(Pixels(*scroller->GetImage()), std::vector<int>(40 * 30, 0));
}

TEST_F(MemBitmapClipboardTest, NoPictureOfTheSelectionShowsCannotCopy) {
    auto large = MakePicture(8, 40, 30);
    TMemBitmapScroller* scroller = MakeScroller(large.get());
    SelectRect(scroller, {25, 20}, {35, 28});
    auto small = MakePicture(8, 20, 15);
    scroller->SetImage(*small);
    ASSERT_TRUE(scroller->GetSelection());
    TMessageLog log;
    Ctrl('X');
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, "Cannot copy to the clipboard");
    EXPECT_EQ(log.boxes[0].caption, "Copy to clipboard");
    EXPECT_EQ(log.boxes[0].style & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(Pixels(*scroller->GetImage()), Pixels(*small));
}

// A selection kept from a larger picture reaches past the smaller one: its
// picture holds 0 there, and the cut changes only pixels of the image.
TEST_F(MemBitmapClipboardTest, ASelectionFromALargerPictureReadsAndCutsOnlyInsideTheImage) {
    auto large = MakePicture(8, 40, 30);
    auto small = MakePicture(8, 20, 15);
    const struct {
        const char* name;
        Shape shape;
        std::vector<POINT> points;
        int width, height;
    } cases[] = {
        {"rectangle", Shape::Rectangle, {{15, 10}, {30, 25}}, 5, 5},
        {"ellipse", Shape::Ellipse, {{18, 12}, {6, 4}}, 13, 9},
        {"polygon", Shape::Polygon, {{14, 9}, {35, 9}, {35, 28}, {14, 28}}, 22, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemBitmapScroller* scroller = MakeScroller(large.get());
        switch (c.shape) {
            case Shape::Rectangle: SelectRect(scroller, c.points[0], c.points[1]); break;
            case Shape::Ellipse: SelectEllipse(scroller, c.points[0], c.points[1].x, c.points[1].y); break;
            case Shape::Polygon: SelectPolygon(scroller, c.points); break;
        }
        scroller->SetImage(*small);
        std::unique_ptr<TMemBitmap> part(scroller->GetSelectionImage());
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->Width, c.width);
        EXPECT_EQ(part->Height, c.height);
        const POINT corner = c.shape == Shape::Rectangle ? c.points[0]
                             : c.shape == Shape::Ellipse
                                 ? POINT{c.points[0].x - c.points[1].x, c.points[0].y - c.points[1].y}
                                 : c.points[0];
        for (int y = 0; y < part->Height; ++y)
            for (int x = 0; x < part->Width; ++x) {
                if (corner.x + x < 20 && corner.y + y < 15) continue;
                ASSERT_EQ(part->GetPixel(x, y), 0) << x << "," << y;
            }
        EXPECT_NE(part->GetPixel(20 - 1 - corner.x, 15 - 1 - corner.y), 0);
        Ctrl('X');
        EXPECT_EQ(scroller->GetImage()->Width, 20);
        EXPECT_EQ(scroller->GetImage()->GetPixel(19, 14), 0);
        EXPECT_EQ(scroller->GetImage()->GetPixel(0, 0), small->GetPixel(0, 0));
        delete scroller;
    }
}

// Whatever the clipboard holds that is no picture of the image's depth,
// Paste changes nothing; only another depth is worth a message.
TEST_F(MemBitmapClipboardTest, APasteOfNoPictureOrOfAnotherDepthChangesNothing) {
    auto picture = MakePicture(8, 40, 30);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    std::vector<uint8_t> header(40, 0);
    auto field = [&](int at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) header[size_t(at + i)] = uint8_t(value >> (8 * i));
    };
    field(0, 40, 4);
    field(4, 1000, 4);
    field(8, 1000, 4);
    field(12, 1, 2);
    field(14, 8, 2);
    std::vector<uint8_t> rowsMissing = header;  // 1000 x 1000 announced, no table, no rows
    std::vector<uint8_t> compressed = header;
    compressed.resize(40 + 1024 + 64, 0);
    compressed[16] = 1;  // BI_RLE8
    const struct {
        const char* name;
        std::function<void()> fill;
        bool message;
    } cases[] = {
        {"text only", [] { ClipboardText("no picture"); }, false},
        {"rows missing", [&] { ClipboardDib(rowsMissing); }, false},
        {"run-length compressed", [&] { ClipboardDib(compressed); }, false},
        {"a 24-bit picture", [] { MakePicture(24, 5, 5)->CopyToClipboard(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fill();
        TMessageLog log;
        EXPECT_FALSE(scroller->Paste());
        EXPECT_EQ(Pixels(*scroller->GetImage()), Pixels(*picture));
        ASSERT_EQ(log.boxes.size(), c.message ? 1u : 0u);
        if (!c.message) continue;
        EXPECT_EQ(log.boxes[0].text, "The images are not compatible with each other");
        EXPECT_EQ(log.boxes[0].caption, "Paste image");
        EXPECT_EQ(log.boxes[0].style & MB_ICONMASK, UINT(MB_ICONERROR));
    }
}
