// Character tables: the file reader and writer, the glyph bits and the
// lookup of table files through CHDIR.
#include "CHRTable.h"

#include <cstdlib>
#include <memory>

namespace {

// No real font needs glyph blocks or sizes anywhere near these.
const int32_t kMaxDimension = 4096;
const int64_t kMaxBlockBytes = 64 * 1024 * 1024;

bool ReadInt32(FILE* file, int32_t& value) {
    uint8_t bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) {
        return false;
    }
    value = int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
    return true;
}

bool WriteInt32(FILE* file, int32_t value) {
    const uint32_t bits = uint32_t(value);
    const uint8_t bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
    return std::fwrite(bytes, 1, 4, file) == 4;
}

int64_t GlyphBytes(int64_t width, int64_t height) { return (width * height + 7) / 8; }

// Bytes left between the current position and the end, or -1 when the
// stream cannot tell.
int64_t RemainingBytes(FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end < here ? -1 : int64_t(end - here);
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

TCHRTable::TCHRTable() {
    extension = "chr";
    Clear();
}

TCHRTable::TCHRTable(const std::string& font, int size) : TCHRTable() { LoadCHRTable(*this, font, size); }

void TCHRTable::Clear() {
    height_ = 0;
    for (int c = 0; c < kCharacterCount; ++c) {
        widths_[c] = 0;
        offsets_[c] = kNoGlyph;
    }
    block_.clear();
    block_.shrink_to_fit();
}

bool TCHRTable::Read(FILE* file) {
    Clear();
    if (file == nullptr) {
        return false;
    }
    int32_t height = 0;
    int32_t widths[kCharacterCount], offsets[kCharacterCount];
    if (!ReadInt32(file, height) || height < 0 || height > kMaxDimension) {
        return false;
    }
    int64_t blockLength = 0;
    for (int c = 0; c < kCharacterCount; ++c) {
        if (!ReadInt32(file, widths[c]) || !ReadInt32(file, offsets[c])) {
            return false;
        }
        if (widths[c] < 0 || widths[c] > kMaxDimension || offsets[c] < kNoGlyph) {
            return false;
        }
        if (offsets[c] != kNoGlyph) {
            blockLength += GlyphBytes(widths[c], height);
        }
    }
    if (blockLength > kMaxBlockBytes) {
        return false;
    }
    // Every glyph must lie inside the block.
    for (int c = 0; c < kCharacterCount; ++c) {
        if (offsets[c] != kNoGlyph && int64_t(offsets[c]) + GlyphBytes(widths[c], height) > blockLength) {
            return false;
        }
    }
    const int64_t remaining = RemainingBytes(file);
    if (remaining >= 0 && remaining < blockLength) {
        return false;
    }
    std::vector<uint8_t> block(static_cast<size_t>(blockLength));
    if (blockLength > 0 && std::fread(block.data(), 1, block.size(), file) != block.size()) {
        return false;
    }
    height_ = height;
    for (int c = 0; c < kCharacterCount; ++c) {
        widths_[c] = widths[c];
        offsets_[c] = offsets[c];
    }
    block_.swap(block);
    return true;
}

bool TCHRTable::Write(FILE* file) const {
    if (file == nullptr || !WriteInt32(file, height_)) {
        return false;
    }
    for (int c = 0; c < kCharacterCount; ++c) {
        if (!WriteInt32(file, widths_[c]) || !WriteInt32(file, offsets_[c])) {
            return false;
        }
    }
    return block_.empty() || std::fwrite(block_.data(), 1, block_.size(), file) == block_.size();
}

bool TCHRTable::GlyphDot(uint8_t character, int column, int row) const {
    const int width = widths_[character];
    if (offsets_[character] == kNoGlyph || column < 0 || row < 0 || column >= width || row >= height_) {
        return false;
    }
    const int64_t bit = int64_t(row) * width + column;
    const size_t byte = size_t(offsets_[character] + bit / 8);
    return byte < block_.size() && (block_[byte] & (0x80 >> (bit % 8))) != 0;
}

void TCHRTable::SetHeight(int height) {
    Clear();
    height_ = height < 0 ? 0 : height;
}

bool TCHRTable::AddGlyph(uint8_t character, int width, const std::vector<uint8_t>& dots) {
    if (width < 0 || int64_t(dots.size()) != int64_t(width) * height_) {
        return false;
    }
    const size_t start = block_.size();
    block_.resize(start + size_t(GlyphBytes(width, height_)), 0);
    for (size_t bit = 0; bit < dots.size(); ++bit) {
        if (dots[bit] != 0) {
            block_[start + bit / 8] |= uint8_t(0x80 >> (bit % 8));
        }
    }
    widths_[character] = width;
    offsets_[character] = int32_t(start);
    return true;
}

void TCHRTable::SetCharWidthOnly(uint8_t character, int width) {
    widths_[character] = width < 0 ? 0 : width;
    offsets_[character] = kNoGlyph;
}

std::string CHRFilePath(const std::string& fileName) {
    const char* folder = std::getenv("CHDIR");
    if (folder == nullptr) {
        return std::string();
    }
    std::string path = folder;
    if (path.empty() || path.back() != '\\') {
        path += '/';
    }
    return path + fileName;
}

bool ReadCHRFile(TCHRTable& table, const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    return table.Read(file.get());
}

bool LoadCHRTable(TCHRTable& table, const std::string& font, int size) {
    table.name = font;
    const std::string fileName = font + "_" + std::to_string(size) + "." + table.extension;
    return ReadCHRFile(table, CHRFilePath(fileName));
}
