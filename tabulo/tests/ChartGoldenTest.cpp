// Golden pictures of chart buffers drawn from fixed inputs with the tiny
// tables, kept as 24-bit BMP files in golden/. With TABULO_WRITE_GOLDEN set
// the tests write the pictures anew instead (look at them before keeping them).
#include <cstdio>
#include <cstdlib>

#include "BarChart.h"
#include "TabuloFixtures.h"
#include "PieChart.h"

namespace {

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}

uint32_t GetLittleEndian(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint32_t(bytes[at + size_t(i)]) << (8 * i);
    return value;
}

// The buffer as a bottom-up 24-bit BMP file.
bool WriteBmp(const std::string& path, TChartBase* chart) {
    const int width = chart->GetBuffer()->GetWidth(), height = chart->GetBuffer()->GetHeight();
    const uint32_t rowBytes = uint32_t(width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    PutLittleEndian(bytes, 54 + rowBytes * uint32_t(height), 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 54, 4);
    for (uint32_t field : {40u, uint32_t(width), uint32_t(height)}) PutLittleEndian(bytes, field, 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 24, 2);
    for (int i = 0; i < 6; ++i) PutLittleEndian(bytes, i == 1 ? rowBytes * uint32_t(height) : 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const TColor pixel = BufferPixel(chart, x, y);
            bytes.insert(bytes.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
        }
        bytes.resize(bytes.size() + rowBytes - uint32_t(width) * 3, 0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// The pixels of a 24-bit BMP file as TColor values, top row first; empty
// when the file is missing or not such a picture.
std::vector<TColor> ReadBmp(const std::string& path, int& width, int& height) {
    std::vector<uint8_t> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + got);
        std::fclose(file);
    }
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || GetLittleEndian(bytes, 28, 2) != 24) return {};
    width = int(GetLittleEndian(bytes, 18, 4));
    height = int(GetLittleEndian(bytes, 22, 4));
    const size_t offset = GetLittleEndian(bytes, 10, 4), rowBytes = size_t(width * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || offset + rowBytes * size_t(height) > bytes.size()) return {};
    std::vector<TColor> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &bytes[offset + rowBytes * size_t(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const uint8_t* pixel = row + 3 * x;
            pixels[size_t(y) * size_t(width) + size_t(x)] = TColor(pixel[2] | pixel[1] << 8 | pixel[0] << 16);
        }
    }
    return pixels;
}

class ChartGoldenTest : public TabuloTest {
protected:
    // The values of every golden chart: one solid, then one of each hatch.
    void Fill(TChartBase* chart) {
        struct Value {
            double value;
            TColor colour;
            TBrushStyle style;
            const char* caption;
        };
        const Value values[] = {
            {9, clRed, bsSolid, "A"},           {4.5, clGreen, bsHorizontal, "BE"}, {7, clBlue, bsVertical, "CAFE"},
            {2.25, clPurple, bsFDiagonal, "D"}, {6, clMaroon, bsBDiagonal, "FED"},  {3, clTeal, bsCross, "BAD"},
            {5, clOlive, bsDiagCross, "ACE"},
        };
        chart->SetBkColor(clWhite);
        chart->SetValueColor(clBlack);
        for (const Value& value : values)
            chart->AddValue(value.value, value.colour, value.style, value.caption, TColor(0xF0D0B0), false);
        chart->Refresh();
    }

    void Compare(TChartBase* chart, const std::string& name) {
        const std::string path = "golden/" + name + ".bmp";
        if (std::getenv("TABULO_WRITE_GOLDEN") != nullptr) {
            ASSERT_TRUE(WriteBmp(path, chart)) << path;
            return;
        }
        int width = 0, height = 0;
        const std::vector<TColor> golden = ReadBmp(path, width, height);
        ASSERT_FALSE(golden.empty()) << path << " is missing or damaged";
        ASSERT_EQ(width, chart->GetBuffer()->GetWidth());
        ASSERT_EQ(height, chart->GetBuffer()->GetHeight());
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differing += BufferPixel(chart, x, y) != golden[size_t(y) * size_t(width) + size_t(x)];
        EXPECT_EQ(differing, 0) << name;
    }
};

TEST_F(ChartGoldenTest, BarChartsWithEveryTextPosition) {
    struct Case {
        const char* name;
        TBarChartTextPos valuePos, captionPos;
        bool fillBackgrounds;
    };
    const Case cases[] = {
        {"bar_inbar_bottom", bccpInBar, bccpBottom, false},
        {"bar_overbar_top", bccpOverBar, bccpTop, true},
    };
    for (const Case& c : cases) {
        auto* chart = Place<TBarChart>(10, 10, 230, 120);
        chart->SetValuePos(c.valuePos);
        chart->SetCaptionPos(c.captionPos);
        chart->SetFillValueBk(c.fillBackgrounds);
        chart->SetFillCaptionBk(c.fillBackgrounds);
        // White captions (the bar chart's own) over a white box would not show.
        if (c.fillBackgrounds) chart->SetCaptionColor(clNavy);
        chart->SetUpperGap(12);
        Fill(chart);
        Compare(chart, c.name);
        delete chart;
    }
}

TEST_F(ChartGoldenTest, PieChartsWithValuesAndPercentages) {
    struct Case {
        const char* name;
        TPieChartShowMode mode;
        bool fillValueBackground;
    };
    const Case cases[] = {{"pie_percent", pcsmPercent, false}, {"pie_value", pcsmValue, true}};
    for (const Case& c : cases) {
        auto* chart = Place<TPieChart>(10, 10, 200, 160);
        chart->SetShowMode(c.mode);
        chart->SetFillValueBk(c.fillValueBackground);
        chart->SetGap(20);
        Fill(chart);
        Compare(chart, c.name);
        delete chart;
    }
}

}  // namespace
