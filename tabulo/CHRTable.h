// Bitmap character tables: one font family at one size, read from and
// written to ".chr" files, and found through the CHDIR folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Base of the character tables: a file extension and a table name.
class TCHBase {
public:
    std::string extension;
    std::string name;

    virtual ~TCHBase() = default;
    // Both return false when the stream fails or holds no valid table.
    virtual bool Write(FILE* file) const = 0;
    virtual bool Read(FILE* file) = 0;
};

// File layout, little-endian: int32 glyph height; 256 records {int32 width,
// int32 offset (-1 = no glyph)}; then the glyph block, whose length is the sum
// of ceil(width * height / 8) over the records with a glyph. Glyph bits run
// row after row, most significant bit first, rows unpadded.
class TCHRTable : public TCHBase {
public:
    static constexpr int kCharacterCount = 256;
    static constexpr int32_t kNoGlyph = -1;

    TCHRTable();
    // Empties, then loads "<font>_<size>.chr" from the CHDIR folder; stays
    // empty when the file is missing or damaged.
    TCHRTable(const std::string& font, int size);

    // Reading first empties the table; a short or inconsistent stream (negative
    // sizes, a glyph outside the block, a block too large) leaves it empty and
    // gives false.
    bool Read(FILE* file) override;
    bool Write(FILE* file) const override;
    // The same operations under the names the evaluator uses.
    bool Load(FILE* file) { return Read(file); }
    bool Save(FILE* file) const { return Write(file); }

    // Height 0, every width 0, every offset -1, no glyph block.
    void Clear();

    int GetHeight() const { return height_; }
    int GetCharWidth(uint8_t character) const { return widths_[character]; }
    int GetCharOffset(uint8_t character) const { return offsets_[character]; }
    bool HasGlyph(uint8_t character) const { return offsets_[character] != kNoGlyph; }
    // Whether dot (column, row) of the character's glyph is set; false outside
    // the glyph or for a character without one.
    bool GlyphDot(uint8_t character, int column, int row) const;
    const std::vector<uint8_t>& GlyphBlock() const { return block_; }

    // Building a table: the height first (it clears the table), then glyphs.
    void SetHeight(int height);
    // Appends a glyph of width x height dots (row by row, non-zero = set) and
    // points the character at it. False for a negative width or a dot count
    // other than width x height.
    bool AddGlyph(uint8_t character, int width, const std::vector<uint8_t>& dots);
    // A width without glyph: the character advances the pen and draws nothing.
    void SetCharWidthOnly(uint8_t character, int width);

private:
    int32_t height_ = 0;
    int32_t widths_[kCharacterCount];
    int32_t offsets_[kCharacterCount];
    std::vector<uint8_t> block_;
};

// The path of a table file: CHDIR, then "/" unless CHDIR ends in a backslash,
// then the file name. Empty when CHDIR is not set.
std::string CHRFilePath(const std::string& fileName);

// Opens path and reads the table. A file that does not open gives false and
// keeps the table as it was; a damaged file gives false and an empty table.
bool ReadCHRFile(TCHRTable& table, const std::string& path);

// Names the table after font and reads "<font>_<size>.chr" from CHDIR.
bool LoadCHRTable(TCHRTable& table, const std::string& font, int size);
