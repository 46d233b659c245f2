// Shared by the component tests: a shown form and the test driver, a folder
// of small character tables made for the test and set as CHDIR, and readers
// of a component's buffer bitmap.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ChartBase.h"
#include "Form.h"
#include "TableFixtures.h"
#include "display/TestDriver.h"

// A table of height 5 with digits, '.', '%' and A-F, each glyph followed by
// an empty column so that glyphs stand apart.
inline TCHRTable TinyTable() {
    static const std::map<char, std::vector<std::string>> kGlyphs = {
        {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
        {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
        {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
        {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
        {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
        {'.', {".", ".", ".", ".", "#"}},           {'%', {"#.#", "..#", ".#.", "#..", "#.#"}},
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
        {'C', {"###", "#..", "#..", "#..", "###"}}, {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
        {'E', {"###", "#..", "##.", "#..", "###"}}, {'F', {"###", "#..", "##.", "#..", "#.."}},
    };
    TCHRTable table;
    table.SetHeight(5);
    for (const auto& glyph : kGlyphs) {
        const int width = int(glyph.second[0].size()) + 1;
        std::vector<uint8_t> dots;
        for (const std::string& row : glyph.second) {
            for (char dot : row) dots.push_back(dot == '#');
            dots.push_back(0);
        }
        table.AddGlyph(uint8_t(glyph.first), width, dots);
    }
    table.SetCharWidthOnly(' ', 2);
    return table;
}

// A fresh folder holding a table (TinyTable unless given) as
// "courier-new_10.chr" (what new charts load), "arial_10.chr" (what new
// grids and statistics views load) and "tiny_5.chr", set as CHDIR for the
// test's life.
class TinyTableFolder {
public:
    explicit TinyTableFolder(const TCHRTable& table = TinyTable()) {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/tabulo-chr-XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr) return;
        folder_ = pattern;
        for (const char* name : kNames) Write(table, folder_ + "/" + name);
        setenv("CHDIR", folder_.c_str(), 1);
    }
    ~TinyTableFolder() {
        if (folder_.empty()) return;
        for (const char* name : kNames) std::remove((folder_ + "/" + name).c_str());
        rmdir(folder_.c_str());
    }
    const std::string& Folder() const { return folder_; }

private:
    static constexpr const char* kNames[] = {"courier-new_10.chr", "arial_10.chr", "tiny_5.chr"};
    static void Write(const TCHRTable& table, const std::string& path) {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return;
        table.Write(file);
        std::fclose(file);
    }
    ScopedCharacterFolder saved_;
    std::string folder_;
};

// A visible 400 x 300 form at (50, 50) on a fresh window layer, with the
// tiny tables as CHDIR.
class TabuloTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(50, 50, 400, 300);
        form->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    // A chart of class T on the form with the given bounds.
    template <class T>
    T* Place(int left, int top, int width, int height) {
        T* chart = new T(form);
        chart->SetParent(form);
        chart->SetBounds(left, top, width, height);
        return chart;
    }

    TinyTableFolder tables;
    win32::TestDriver driver;
    TForm* form = nullptr;
};

// Pixel (x, y) of a buffer bitmap as a TColor (0x00BBGGRR).
inline TColor BufferPixel(TBitmap* buffer, int x, int y) {
    const auto* pixel = static_cast<const uint8_t*>(buffer->ScanLine(y)) + 4 * x;
    return TColor(pixel[2] | pixel[1] << 8 | pixel[0] << 16);
}
inline TColor BufferPixel(TChartBase* chart, int x, int y) { return BufferPixel(chart->GetBuffer(), x, y); }

// The buffer points of one colour.
inline Dots PixelsOfColour(TBitmap* buffer, TColor colour) {
    Dots dots;
    for (int y = 0; y < buffer->GetHeight(); ++y)
        for (int x = 0; x < buffer->GetWidth(); ++x)
            if (BufferPixel(buffer, x, y) == colour) dots.insert({x, y});
    return dots;
}
inline Dots PixelsOfColour(TChartBase* chart, TColor colour) { return PixelsOfColour(chart->GetBuffer(), colour); }

// The points a drawing routine sets on a grey canvas of the given size.
template <class Draw>
Dots DrawnDots(int width, int height, Draw draw) {
    GrayCanvas canvas(width, height);
    draw(TSetIDPixel(canvas.view, 255, 1, 0, 0));
    return canvas.SetDots();
}
template <class Draw>
Dots DrawnDots(TChartBase* chart, Draw draw) {
    return DrawnDots(chart->GetWidth(), chart->GetHeight(), draw);
}
