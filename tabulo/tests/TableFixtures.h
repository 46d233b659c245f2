// Helpers for the character-table tests: small tables, files and views.
#pragma once

#include "CHRTable.h"
#include "ImageData.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The tables generated at build time are the tests' CHDIR unless the run sets one.
#ifdef TABULO_TEST_CHR_DIR
inline const bool kGeneratedTablesByDefault = (setenv("CHDIR", TABULO_TEST_CHR_DIR, 0), true);
#endif

// Keeps CHDIR as it was before a test.
class ScopedCharacterFolder {
public:
    ScopedCharacterFolder() {
        const char* value = std::getenv("CHDIR");
        had_ = value != nullptr;
        if (had_) saved_ = value;
    }
    ~ScopedCharacterFolder() {
        if (had_) setenv("CHDIR", saved_.c_str(), 1);
        else unsetenv("CHDIR");
    }

private:
    bool had_ = false;
    std::string saved_;
};

// A table of height 4 with 'L' (3 wide, an L shape), 'I' (1 wide, full) and
// ' ' (2 wide, no dots), and 'x' with a width but no glyph.
inline TCHRTable SmallTable() {
    TCHRTable table;
    table.SetHeight(4);
    table.AddGlyph('L', 3, {1, 0, 0,
                            1, 0, 0,
                            1, 0, 0,
                            1, 1, 1});
    table.AddGlyph('I', 1, {1, 1, 1, 1});
    table.AddGlyph(' ', 2, std::vector<uint8_t>(8, 0));
    table.SetCharWidthOnly('x', 5);
    return table;
}

// The bytes a table writes.
inline std::vector<uint8_t> WrittenBytes(const TCHRTable& table) {
    FILE* file = std::tmpfile();
    std::vector<uint8_t> bytes;
    if (file == nullptr) return bytes;
    if (table.Write(file)) {
        const long size = std::ftell(file);
        std::rewind(file);
        bytes.resize(size_t(size));
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
    }
    std::fclose(file);
    return bytes;
}

// Reads a table from bytes through a temporary file.
inline bool ReadFromBytes(TCHRTable& table, const std::vector<uint8_t>& bytes) {
    FILE* file = std::tmpfile();
    if (file == nullptr) return false;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    const bool read = table.Read(file);
    std::fclose(file);
    return read;
}

// A grey image and the set of its non-zero pixels.
struct GrayCanvas {
    std::vector<uint8_t> pixels;
    IMAGEDATA view;

    GrayCanvas(int width, int height) : pixels(size_t(width) * height, 0) {
        view = MakeImageData(pixels.data(), idtGray8, width, height);
    }

    std::set<std::pair<int, int>> SetDots() const {
        std::set<std::pair<int, int>> dots;
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x)
                if (pixels[size_t(y) * view.width + x] != 0) dots.insert({x, y});
        return dots;
    }
};

using Dots = std::set<std::pair<int, int>>;
