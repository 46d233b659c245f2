// The field writer and reader of the editor's stored records (the state
// stream, the settings record, the macro file) on an open C stream:
// integers 4 bytes little-endian, flags one byte (0 or 1), nested items
// their own stream forms.
#pragma once

#include <cstdint>
#include <cstdio>

class TTextEditorStreamWriter {
public:
    explicit TTextEditorStreamWriter(FILE* file) : file_(file) {}

    void Flag(bool value) { Byte(value ? 1 : 0); }
    void Byte(uint8_t value) { Raw(&value, 1); }
    void Int(int value) {
        const auto bits = static_cast<uint32_t>(value);
        const uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                  static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
        Raw(bytes, 4);
    }
    template <class Item>
    void Nested(const Item& item) {
        item.SaveToStream(file_);
    }
    void Raw(const void* data, size_t size) {
        if (std::fwrite(data, 1, size, file_) != size) ok_ = false;
    }
    // Buffered bytes only fail when they reach the file: flush first.
    bool Finish() { return ok_ && std::fflush(file_) == 0 && std::ferror(file_) == 0; }

private:
    FILE* file_;
    bool ok_ = true;
};

// Each read gives false at the stream's end; a flag byte other than 0 or 1
// is refused.
class TTextEditorStreamReader {
public:
    explicit TTextEditorStreamReader(FILE* file) : file_(file) {}

    bool Flag(bool& value) {
        uint8_t byte = 0;
        if (!Byte(byte) || byte > 1) return false;
        value = byte == 1;
        return true;
    }
    bool Byte(uint8_t& value) { return std::fread(&value, 1, 1, file_) == 1; }
    bool Int(int& value) {
        uint8_t bytes[4];
        if (std::fread(bytes, 1, 4, file_) != 4) return false;
        value = static_cast<int>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                 static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
        return true;
    }
    template <class Item>
    bool Nested(Item& item) {
        return item.LoadFromStream(file_);
    }
    bool Raw(void* data, size_t size) { return std::fread(data, 1, size, file_) == size; }

private:
    FILE* file_;
};
