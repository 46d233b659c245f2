// TImageBuffer: owned top-down pixels, BMP files and the TMemBuffer record.
#include "ImageBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "DibBlock.h"
#include "ImageColors.h"
#include "MemBuffer.h"

using namespace dib_block;

namespace {

constexpr int64_t kMaximumCapacity = 0x7FFFFFFF;

int PixelWidthOf(int format) {
    switch (format) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 3;
        case 4:
            return 4;
        default:
            return 0;
    }
}

int ViewTypeOf(int format) {
    static const int kTypes[] = {idtGray8, idtRgb565, idtBgr24, idtGray8, idtBytes4};
    return format >= 0 && format <= 4 ? kTypes[format] : idtGray8;
}

// One buffer row as B, G, R bytes of a 24-bit file row.
void WriteColourRow(const uint8_t* from, int width, int format, uint8_t* to) {
    for (int x = 0; x < width; ++x, to += 3) {
        if (format == 1) {
            const unsigned word = from[2 * x] | from[2 * x + 1] << 8;
            to[0] = uint8_t(word << 3);
            to[1] = uint8_t((word & 0x7E0) >> 3);
            to[2] = uint8_t((word >> 11) << 3);
        } else {
            std::memcpy(to, from + x * PixelWidthOf(format), 3);
        }
    }
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr) return false;
    uint8_t chunk[65536];
    size_t got = 0;
    bool fits = true;
    while (fits && (got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        fits = int64_t(bytes.size() + got) <= kMaximumBlockSize;
        if (fits) bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return fits;
}

}  // namespace

TImageBuffer::TImageBuffer(const TImageBuffer& source) { Assign(source); }

TImageBuffer::TImageBuffer(int width, int height, int format) { Create(width, height, format); }

TImageBuffer::TImageBuffer(const char* path) { Load(path, false); }

TImageBuffer::~TImageBuffer() { ReleaseData(); }

void TImageBuffer::ReleaseData() {
    delete[] Data;
    Data = nullptr;
}

int TImageBuffer::GetPixelWidth() const { return PixelWidthOf(PixelFormat); }

void TImageBuffer::Assign(const TImageBuffer& source) {
    if (&source == this) return;
    ReleaseData();
    Width = Height = 0;
    PixelFormat = source.PixelFormat;
    if (source.Data != nullptr && Resize(source.Width, source.Height))
        std::memcpy(Data, source.Data, size_t(GetCapacity()));
}

TImageBuffer& TImageBuffer::operator=(const TImageBuffer& source) {
    Assign(source);
    return *this;
}

void TImageBuffer::Assign(const IMAGEDATA& view) {
    ReleaseData();
    Width = Height = 0;
    if (!ImageHasPixels(view) || (view.type != idtGray8 && view.type != idtBgr24)) return;
    PixelFormat = view.type == idtGray8 ? 0 : 2;
    if (Resize(view.width, view.height)) CopyImage(GetImageData(), view);
}

TImageBuffer& TImageBuffer::operator=(const IMAGEDATA& view) {
    if (view.data == nullptr || view.data != Data) Assign(view);
    return *this;
}

bool TImageBuffer::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const int64_t capacity = int64_t(width) * height * GetPixelWidth();
    // A row past the limit is refused too, even with no rows at all, since
    // line sizes are ints.
    if (capacity > kMaximumCapacity || int64_t(width) * GetPixelWidth() > kMaximumCapacity) return false;
    if (width == Width && height == Height && (Data != nullptr) == (capacity > 0)) return true;
    uint8_t* fresh = capacity > 0 ? new uint8_t[size_t(capacity)]() : nullptr;
    const int oldLine = GetLineSize();
    const int newLine = width * GetPixelWidth();
    if (Data != nullptr && fresh != nullptr) {
        for (int y = 0; y < std::min(Height, height); ++y)
            std::memcpy(fresh + size_t(y) * newLine, Data + size_t(y) * oldLine, size_t(std::min(oldLine, newLine)));
    }
    ReleaseData();
    Data = fresh;
    Width = width;
    Height = height;
    return true;
}

void TImageBuffer::SetPixelFormat(int format) {
    if (PixelWidthOf(format) == GetPixelWidth() || Data == nullptr) {
        PixelFormat = format;
        return;
    }
    const int width = Width;
    const int height = Height;
    ReleaseData();
    Width = Height = 0;
    PixelFormat = format;
    Resize(width, height);
}

void TImageBuffer::Create(int width, int height, int format) {
    ReleaseData();
    Width = Height = 0;
    PixelFormat = format;
    Resize(width, height);
}

IMAGEDATA TImageBuffer::GetImageData() {
    IMAGEDATA view;
    view.data = Data;
    view.type = ViewTypeOf(PixelFormat);
    view.width = Data != nullptr ? Width : 0;
    view.height = Data != nullptr ? Height : 0;
    view.pixelStep = GetPixelWidth();
    view.lineStep = GetLineSize();
    return view;
}

uint8_t* TImageBuffer::GetLine(int y) {
    if (Data == nullptr || y < 0 || y >= Height) return nullptr;
    return Data + size_t(y) * GetLineSize();
}

bool TImageBuffer::Save(const char* path) const {
    if (Data == nullptr || GetPixelWidth() == 0 || path == nullptr) return false;
    const bool gray = PixelFormat == 0;
    const int tableSize = gray ? 1024 : 0;
    const int fileLine = LineSizeFor(Width, gray ? 8 : 24);
    const int64_t offset = kFileHeaderSize + kInfoHeaderSize + tableSize;
    const int64_t fileSize = offset + int64_t(fileLine) * Height;
    if (fileSize > kMaximumBlockSize) return false;
    std::vector<uint8_t> bytes(size_t(fileSize), 0);
    WriteU16(bytes.data(), 0x4D42);
    WriteU32(bytes.data() + 2, uint32_t(fileSize));
    WriteU32(bytes.data() + 10, uint32_t(offset));
    WriteInfoHeader(bytes.data() + kFileHeaderSize, Width, Height, gray ? 8 : 24);
    for (int i = 0; gray && i < 256; ++i) std::memset(bytes.data() + kFileHeaderSize + kInfoHeaderSize + 4 * i, i, 3);
    for (int y = 0; y < Height; ++y) {
        const uint8_t* from = Data + size_t(y) * GetLineSize();
        uint8_t* to = bytes.data() + offset + size_t(Height - 1 - y) * fileLine;
        if (gray)
            std::memcpy(to, from, size_t(Width));
        else
            WriteColourRow(from, Width, PixelFormat, to);
    }
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool TImageBuffer::Load(const char* path, bool) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() < size_t(kFileHeaderSize + kInfoHeaderSize)) return false;
    const uint8_t* header = bytes.data() + kFileHeaderSize;
    const int64_t offset = ReadU32(bytes.data() + 10);
    const int bitCount = HeaderBitCount(header);
    const int32_t width = HeaderWidth(header);
    const int32_t height = HeaderHeight(header);
    if (ReadU16(bytes.data()) != 0x4D42 || ReadU32(header) < uint32_t(kInfoHeaderSize)) return false;
    if ((bitCount != 8 && bitCount != 24) || HeaderCompression(header) != BI_RGB) return false;
    if (width <= 0 || height <= 0 || width > kMaximumDimension || height > kMaximumDimension) return false;
    const int fileLine = LineSizeFor(width, bitCount);
    if (offset < kFileHeaderSize + kInfoHeaderSize || offset + int64_t(fileLine) * height > int64_t(bytes.size()))
        return false;
    TImageBuffer loaded(0, 0, bitCount == 8 ? 0 : 2);
    if (!loaded.Resize(width, height)) return false;
    for (int y = 0; y < height; ++y)
        std::memcpy(loaded.GetLine(height - 1 - y), bytes.data() + offset + size_t(y) * fileLine,
                    size_t(loaded.GetLineSize()));
    std::swap(Data, loaded.Data);
    std::swap(Width, loaded.Width);
    std::swap(Height, loaded.Height);
    std::swap(PixelFormat, loaded.PixelFormat);
    return true;
}

void TImageBuffer::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddInt(Width);
    buffer.AddInt(Height);
    buffer.AddInt(PixelFormat);
    if (Data != nullptr) buffer.Add(Data, GetCapacity());
}

bool TImageBuffer::ReadFromMemBuffer(TMemBuffer& buffer) {
    ReleaseData();
    Width = Height = 0;
    int width = 0, height = 0, format = 0;
    if (!buffer.ReadInt(width) || !buffer.ReadInt(height) || !buffer.ReadInt(format)) return false;
    if (width < 0 || height < 0) return false;
    // The sizes' product fits 64 bits; times the pixel width it may not, so
    // it is compared with the pixels the remaining bytes can hold.
    const int64_t pixels = int64_t(width) * height;
    const int pixelWidth = PixelWidthOf(format);
    if (pixelWidth > 0 && pixels > buffer.GetRemaining() / pixelWidth) return false;
    PixelFormat = format;
    if (!Resize(width, height)) return false;
    if (Data != nullptr) buffer.Read(Data, GetCapacity());
    return true;
}
