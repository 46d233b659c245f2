// A topic that uses every text tag, painted into a memory bitmap and saved as
// a BMP file; a few pixels show that colours, frames and blocks land.
#include <cstdio>
#include <string>
#include <vector>

#include "MemBitmap.h"
#include "ShowcaseTopic.h"
#include "VisualizerFixture.h"

namespace {

// The x and y of the TextOutA that drew word; (-1, -1) when none did.
POINT DrawnAt(const std::vector<std::string>& trace, const std::string& word) {
    const std::string tail = ", \"" + word + "\", " + std::to_string(word.size()) + ")";
    for (const std::string& entry : trace) {
        if (entry.rfind("TextOutA(", 0) != 0 || entry.size() < tail.size() ||
            entry.compare(entry.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        int x = 0, y = 0;
        std::sscanf(entry.c_str(), "TextOutA(%d, %d", &x, &y);
        return POINT{x, y};
    }
    return POINT{-1, -1};
}

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }

TEST(VGTVisualizerPicture, EveryTextTagPaintedIntoAMemoryBitmap) {
    const int width = 600, height = 560;
    TMemBitmap picture;
    ASSERT_TRUE(picture.NewBitmap(width, height, 24));
    HDC dc = picture.BeginPaint(false, nullptr);
    ASSERT_NE(dc, nullptr);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    ProbeVisualizer topic;
    topic.SetMarkup(kShowcase);
    int topicHeight = 0, maxWidth = width - 9;
    ASSERT_TRUE(topic.MeasureTopic(dc, 8, 8, width - 9, topicHeight, maxWidth, true, true));
    ASSERT_LT(topicHeight, height - 16);
    ASSERT_EQ(topic.GetColorBlocks().GetCount(), 1);
    const TColorBlock block = topic.GetColorBlocks()[0];
    const SIZE redSize = WordSize(dc, "RED", 14, FW_BOLD);
    EnableCallTrace(dc, true);
    ASSERT_TRUE(topic.PaintTopic(dc, 8, 8, width - 9, false, true, true));
    const std::vector<std::string> trace = GetCallTrace(dc);
    EnableCallTrace(dc, false);
    picture.EndPaint();

    const std::string path = ::testing::TempDir() + "tomari_topic_picture.bmp";
    ASSERT_TRUE(picture.SaveToFile(TString(path)));
    TMemBitmap saved;
    saved.LoadFromFile(TString(path), -1);
    ASSERT_TRUE(saved.Valid);

    // The red word: some pixel of its glyphs is red.
    const POINT red = DrawnAt(trace, "RED");
    ASSERT_GE(red.x, 0);
    bool redFound = false;
    for (int y = red.y; y < red.y + redSize.cy && !redFound; ++y)
        for (int x = red.x; x < red.x + redSize.cx && !redFound; ++x) redFound = IsRed(saved.GetPixel(x, y));
    EXPECT_TRUE(redFound);

    // The frame's top-left corner lies in the frame's line colour.
    POINT corner{-1, -1};
    for (size_t i = 0; i + 1 < trace.size(); ++i)
        if (trace[i] == "SelectObject(Pen(PS_SOLID, 1, 0x00803020))" && trace[i + 1].rfind("MoveToEx", 0) == 0) {
            std::sscanf(trace[i + 1].c_str(), "MoveToEx(%d, %d", &corner.x, &corner.y);
            break;
        }
    ASSERT_GE(corner.x, 0);
    EXPECT_EQ(saved.GetPixel(corner.x, corner.y), 0x803020);

    // The highlighted stretch: its block's top-left pixel holds the PAINTBK colour.
    EXPECT_EQ(saved.GetPixel(block.left, block.top), 0x70E0FF);
    EXPECT_EQ(saved.GetPixel(block.right, block.bottom), 0x70E0FF);

    // The background lies under the text and ends at the max width.
    EXPECT_EQ(saved.GetPixel(10, 8 + topicHeight - 2), 0xE8F0F4);
    EXPECT_EQ(saved.GetPixel(4, 4), 0xFFFFFF);
}

}  // namespace
