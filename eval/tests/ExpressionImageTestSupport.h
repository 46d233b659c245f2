// Shared fixture pieces of the typesetting tests: character tables written into a temporary CHDIR and image probes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CHRTable.h"
#include "ImageBuffer.h"

// CHDIR set to a folder for the life of the object, then restored.
class ScopedCharacterFolder {
public:
    explicit ScopedCharacterFolder(const std::string& folder) {
        const char* value = std::getenv("CHDIR");
        had_ = value != nullptr;
        if (had_) saved_ = value;
        setenv("CHDIR", folder.c_str(), 1);
    }
    ~ScopedCharacterFolder() {
        if (had_) setenv("CHDIR", saved_.c_str(), 1);
        else unsetenv("CHDIR");
    }

private:
    bool had_ = false;
    std::string saved_;
};

inline std::string NewTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "chrXXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// A new temporary folder that CHDIR names for the life of the object; it is
// removed afterwards.
class TemporaryCharacterFolder {
public:
    TemporaryCharacterFolder() : folder_(NewTemporaryFolder()), variable_(folder_) {}
    ~TemporaryCharacterFolder() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return folder_; }
    std::string FilePath(const std::string& name) const { return folder_ + "/" + name; }

    // Writes the table as "<font>_<size>.chr".
    void Write(const TCHRTable& table, const std::string& font, int size) const {
        WriteTo(table, FilePath(font + "_" + std::to_string(size) + ".chr"));
    }
    static void WriteTo(const TCHRTable& table, const std::string& path) {
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        EXPECT_TRUE(table.Write(file));
        std::fclose(file);
    }

private:
    std::string folder_;
    ScopedCharacterFolder variable_;
};

// A table whose printable characters are solid blocks of width x height; the
// blank has the width and no glyph.
inline TCHRTable BlockTable(int width, int height) {
    TCHRTable table;
    table.SetHeight(height);
    const std::vector<uint8_t> dots(size_t(width) * height, 1);
    for (int c = '!'; c <= '~'; ++c) table.AddGlyph(uint8_t(c), width, dots);
    table.SetCharWidthOnly(' ', width);
    return table;
}

// Whether pixel (x, y) of a 24-bit image has the colour 0x00BBGGRR.
inline bool PixelIs(const TImageBuffer& image, int x, int y, uint32_t colour) {
    if (image.Data == nullptr || x < 0 || y < 0 || x >= image.Width || y >= image.Height) return false;
    const uint8_t* pixel = image.Data + (size_t(y) * image.Width + x) * 3;
    return pixel[0] == uint8_t(colour >> 16) && pixel[1] == uint8_t(colour >> 8) && pixel[2] == uint8_t(colour);
}

// Bounding box of the pixels that are not the background; empty (right <
// left) when there are none.
struct InkBox {
    int left = 0, top = 0, right = -1, bottom = -1;
};
inline InkBox InkBoxOf(const TImageBuffer& image, uint32_t background, int x0 = 0, int x1 = -1) {
    InkBox box;
    if (x1 < 0) x1 = image.Width - 1;
    bool any = false;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = x0; x <= x1 && x < image.Width; ++x) {
            if (PixelIs(image, x, y, background)) continue;
            if (!any) box = InkBox{x, y, x, y};
            any = true;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}
