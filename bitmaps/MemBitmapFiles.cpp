// TMemBitmap: BMP and JPEG files, image files in memory and module resources.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DibBlock.h"
#include "JpegCoder.h"
#include "MemBitmap.h"
#include "MemBitmapAccess.h"

using namespace dib_block;

namespace {

constexpr int kModeJpeg = 1;
constexpr int kModeGif = 2;
constexpr size_t kMaximumFileSize = size_t(kMaximumBlockSize) + kFileHeaderSize;

std::string UpperExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return std::string();
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = char(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// An 8-bit table that maps every index to the gray of that value: the indexes
// themselves can then be coded as a gray picture.
bool IsIdentityGray(const uint8_t* block) {
    if (TableEntries(block) != 256) return false;
    for (int i = 0; i < 256; ++i) {
        const uint8_t* quad = block + kInfoHeaderSize + 4 * i;
        if (quad[0] != i || quad[1] != i || quad[2] != i) return false;
    }
    return true;
}

// The bytes of an RCDATA resource; null when missing.
const uint8_t* ResourceBytes(const TString& name, HINSTANCE module, size_t& size) {
    HRSRC resource = FindResourceA(module, name.c_str(), RT_RCDATA);
    if (resource == nullptr) return nullptr;
    size = SizeofResource(module, resource);
    return static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
}

// Decoded rows go straight into their final rows of a new DIB block, bottom
// row last: 8 bits with the gray table for one component, 24 bits for three.
// The block is not cleared first (that would write the picture twice): the
// header, the table and the padding of each row are written here.
class JpegDibTarget : public TJpegRowTarget {
public:
    ~JpegDibTarget() override { Abandon(); }

    bool Begin(int type, int pictureWidth, int pictureHeight) noexcept override {
        bitCount = type == idtGray8 ? 8 : 24;
        width = pictureWidth;
        height = pictureHeight;
        const int64_t size = NewBlockSize(width, height, bitCount);
        block_ = size > 0 ? GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size)) : nullptr;
        if (block_ == nullptr) return false;
        bits_ = static_cast<uint8_t*>(GlobalLock(block_));
        WriteInfoHeader(bits_, width, height, bitCount);
        for (int i = 0; bitCount == 8 && i < 256; ++i) {
            std::memset(bits_ + kInfoHeaderSize + 4 * i, i, 3);
            bits_[kInfoHeaderSize + 4 * i + 3] = 0;
        }
        lineSize_ = LineSizeFor(width, bitCount);
        pixelBytes_ = size_t(width) * size_t(bitCount / 8);
        rowsGiven_ = 0;
        return true;
    }
    uint8_t* Row(int y) noexcept override {
        uint8_t* row = RowStart(height - 1 - y);
        std::memset(row + pixelBytes_, 0, size_t(lineSize_) - pixelBytes_);
        rowsGiven_ = std::max(rowsGiven_, y + 1);
        return row;
    }
    void Abandon() noexcept override {
        if (block_ == nullptr) return;
        GlobalUnlock(block_);
        GlobalFree(block_);
        block_ = nullptr;
    }
    // The filled block, unlocked; the target lets go of it. Rows the decoder
    // never asked for (none, unless it stopped early) are black.
    HGLOBAL Release() {
        if (rowsGiven_ < height) std::memset(RowStart(0), 0, size_t(height - rowsGiven_) * size_t(lineSize_));
        HGLOBAL block = block_;
        GlobalUnlock(block_);
        block_ = nullptr;
        return block;
    }

    int bitCount = 0;
    int width = 0;
    int height = 0;

private:
    uint8_t* RowStart(int row) const { return bits_ + RowsOffset(bitCount, 0) + std::ptrdiff_t(row) * lineSize_; }

    HGLOBAL block_ = nullptr;
    uint8_t* bits_ = nullptr;
    int lineSize_ = 0;
    size_t pixelBytes_ = 0;
    int rowsGiven_ = 0;
};

// The file's length, the file left at its start; -1 when it cannot be told.
long FileLength(FILE* file) {
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    return size;
}

// The 14-byte file header of a BMP holding `blockSize` bytes of DIB block.
void ComposeFileHeader(uint8_t* header, size_t blockSize, int bitCount, int gap) {
    std::memset(header, 0, kFileHeaderSize);
    WriteU16(header, 0x4D42);
    WriteU32(header + 2, uint32_t(blockSize + kFileHeaderSize));
    WriteU32(header + 10, uint32_t(kFileHeaderSize + RowsOffset(bitCount, gap)));
}

// The gap a BMP file header declares for its DIB; false when out of range.
bool GapOfFile(const uint8_t* fileHeader, const uint8_t* infoHeader, int& gap) {
    if (ReadU16(fileHeader) != 0x4D42) return false;
    const int64_t offset = ReadU32(fileHeader + 10);
    const int64_t fileGap = offset - kFileHeaderSize - kInfoHeaderSize - PaletteSizeFor(HeaderBitCount(infoHeader));
    if (fileGap <= -kMaximumBlockSize || fileGap >= kMaximumBlockSize) return false;
    gap = int(fileGap);
    return true;
}

}  // namespace

// ---- Loading ----

void TMemBitmap::LoadFromFile(const TString& path, int mode) {
    const std::string extension = UpperExtension(path.str());
    if (mode == kModeJpeg || extension == "JPG" || extension == "JPEG") {
        try {
            LoadFromJpeg(path);
        } catch (const TJPEGFileException&) {
            ClearPicture();
        }
        IsJpeg = 1;
        return;
    }
    if (mode == kModeGif || extension == "GIF") {
        LoadFromGif(path);
        return;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ClearPicture();
        return;
    }
    LoadBmpFile(file);
    std::fclose(file);
}

bool TMemBitmap::LoadBmpFile(FILE* file) {
    const long length = FileLength(file);
    if (length < 0 || size_t(length) > kMaximumFileSize) return FinishBmpLoad(false);
    IsJpeg = 0;
    uint8_t header[kFileHeaderSize + kInfoHeaderSize];
    int gap = 0;
    HGLOBAL block = nullptr;
    // Everything after the file header goes into the DIB block in one read.
    if (length >= long(sizeof(header)) && std::fread(header, 1, kFileHeaderSize, file) == size_t(kFileHeaderSize) &&
        ReadU16(header) == 0x4D42)
        block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(length - kFileHeaderSize));
    if (block != nullptr) {
        auto* bits = static_cast<uint8_t*>(GlobalLock(block));
        const size_t size = size_t(length - kFileHeaderSize);
        const bool read = std::fread(bits, 1, size, file) == size && GapOfFile(header, bits, gap);
        GlobalUnlock(block);
        if (!read) {
            GlobalFree(block);
            block = nullptr;
        }
    }
    return FinishBmpLoad(block != nullptr && InstallDIBBlock(block, gap));
}

bool TMemBitmap::LoadBmpBytes(const uint8_t* data, size_t length) {
    IsJpeg = 0;
    int gap = 0;
    HGLOBAL block = nullptr;
    if (data != nullptr && length >= size_t(kFileHeaderSize + kInfoHeaderSize) && length <= kMaximumFileSize &&
        GapOfFile(data, data + kFileHeaderSize, gap))
        block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(length - kFileHeaderSize));
    if (block != nullptr) {
        std::memcpy(GlobalLock(block), data + kFileHeaderSize, length - kFileHeaderSize);
        GlobalUnlock(block);
    }
    return FinishBmpLoad(block != nullptr && InstallDIBBlock(block, gap));
}

bool TMemBitmap::FinishBmpLoad(bool installed) {
    if (!installed) {
        ClearPicture();
        return false;
    }
    FinishLoad();
    return Valid != 0;
}

bool TMemBitmap::LoadJpegBytes(const uint8_t* data, size_t length) {
    return LoadJpegRows([data, length](TJpegRowTarget& target) {
        if (length > size_t(0x7FFFFFFF)) throw TJPEGFileException();
        ReadJPEGRows(data, int(length), target);
    });
}

bool TMemBitmap::LoadJpegRows(const std::function<void(TJpegRowTarget&)>& decode) {
    JpegDibTarget target;
    try {
        decode(target);
    } catch (const TJPEGFileException&) {
        ClearPicture();
        return false;
    }
    InstallDIB(target.Release(), target.width, target.height, target.bitCount, 0);
    if (Valid) FinishLoad();
    return Valid != 0;
}

bool TMemBitmap::LoadJpegFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    const long length = file != nullptr ? FileLength(file) : -1;
    if (length < 0 || size_t(length) > kMaximumFileSize) {
        if (file != nullptr) std::fclose(file);
        return false;
    }
    // Read in pieces, so that the coded file never sits in memory beside the picture.
    LoadJpegRows([file](TJpegRowTarget& target) { ReadJPEGRows(file, target); });
    std::fclose(file);
    return true;
}

void TMemBitmap::LoadFromJpeg(const TString& path) {
    if (!LoadJpegFile(path.c_str())) throw TJPEGFileException();
}

void TMemBitmap::LoadFromGif(const TString&) { ClearPicture(); }

void TMemBitmap::LoadFromMemory(const void* data, int length, int mode) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (bytes == nullptr || length < 0) {
        ClearPicture();
    } else if (mode == kModeJpeg) {
        LoadJpegBytes(bytes, size_t(length));
        IsJpeg = 1;
    } else if (mode == kModeGif) {
        LoadFromGif(TString());
    } else {
        LoadBmpBytes(bytes, size_t(length));
    }
}

void TMemBitmap::LoadFromResource(const TString& name, HINSTANCE module) {
    HBITMAP bitmap = LoadBitmapA(module, name.c_str());
    if (bitmap == nullptr) {
        ClearPicture();
        return;
    }
    const uint8_t keepDIB = KeepDIB;
    KeepDIB = 0;
    Assign(bitmap);
    KeepDIB = keepDIB;
    DeleteObject(bitmap);
    SetLockState();
}

void TMemBitmap::LoadResourceBytes(const TString& name, HINSTANCE module,
                                   bool (TMemBitmap::*load)(const uint8_t*, size_t)) {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(name, module, size);
    if (bytes == nullptr)
        ClearPicture();
    else
        (this->*load)(bytes, size);
}

void TMemBitmap::LoadFromBMPResource(const TString& name, HINSTANCE module) {
    LoadResourceBytes(name, module, &TMemBitmap::LoadBmpBytes);
}

void TMemBitmap::LoadFromJPEGResource(const TString& name, HINSTANCE module) {
    LoadResourceBytes(name, module, &TMemBitmap::LoadJpegBytes);
}

void TMemBitmap::LoadFromTempJpegFile(const char* name) {
    if (name == nullptr || !LoadJpegFile(name)) ClearPicture();
    if (name != nullptr) DeleteFileA(name);
}

// ---- Saving ----

bool TMemBitmap::WriteBmp(const BmpWriter& write) {
    if (!Valid) return false;
    const bool madeDIB = DIB == nullptr;
    const uint8_t keepDIB = KeepDIB;
    const uint8_t jpeg = IsJpeg;
    if (madeDIB) DIBCreate();
    bool written = false;
    {
        PixelAccess access(*this);
        if (access.Bits() != nullptr) {
            const size_t size = GlobalSize(DIB);
            uint8_t header[kFileHeaderSize];
            ComposeFileHeader(header, size, BitCount, Gap);
            written = write(header, access.Bits(), size);
        }
    }
    if (madeDIB) {
        FreeDIB();
        KeepDIB = keepDIB;
        IsJpeg = jpeg;
    }
    return written;
}

bool TMemBitmap::EncodeBmp(std::vector<uint8_t>& bytes) {
    return WriteBmp([&bytes](const uint8_t* header, const uint8_t* block, size_t size) {
        bytes.resize(kFileHeaderSize + size);
        std::memcpy(bytes.data(), header, kFileHeaderSize);
        std::memcpy(bytes.data() + kFileHeaderSize, block, size);
        return true;
    });
}

bool TMemBitmap::EncodeJpeg(std::vector<uint8_t>& bytes) {
    if (!Valid) return false;
    // Views exist for 8 bits (coded as gray) and 24 bits; anything else, and an
    // 8-bit picture whose table is not the gray ramp, is coded from a 24-bit copy.
    TMemBitmap copy;
    TMemBitmap* source = this;
    bool direct = DIB != nullptr && (BitCount == 24 || BitCount == 8);
    if (direct && BitCount == 8) {
        PixelAccess access(*this);
        direct = IsIdentityGray(access.Bits());
    }
    if (!direct) {
        std::vector<uint8_t> bmp;
        if (!EncodeBmp(bmp) || !copy.LoadBmpBytes(bmp.data(), bmp.size())) return false;
        copy.ConvertTo24Bit();
        source = &copy;
    }
    void* block = nullptr;
    int length = 0;
    bool encoded = false;
    {
        // Read through the bits, not a view's lock, which would drop the device bitmap.
        PixelAccess access(*source);
        const IMAGEDATA view = DIBView(*source, access.Bits(), RECT{0, 0, source->Width - 1, source->Height - 1});
        encoded = CreateJPEG(view, &block, &length, JpegQuality);
    }
    if (!encoded) return false;
    bytes.assign(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + length);
    std::free(block);
    return true;
}

bool TMemBitmap::SaveToFile(const TString& path) {
    if (!Valid) return false;
    if (IsJpeg) {
        try {
            SaveToJpeg(path);
            return true;
        } catch (const TJPEGFileException&) {
            return false;
        }
    }
    // The header and the DIB block go out as they are, in two writes.
    return WriteBmp([&path](const uint8_t* header, const uint8_t* block, size_t size) {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return false;
        const bool written = std::fwrite(header, 1, kFileHeaderSize, file) == size_t(kFileHeaderSize) &&
                             std::fwrite(block, 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    });
}

void TMemBitmap::SaveToJpeg(const TString& path) {
    std::vector<uint8_t> bytes;
    if (!EncodeJpeg(bytes) || !WriteFileBytes(path.c_str(), bytes)) throw TJPEGFileException();
}

bool TMemBitmap::SaveToTempJpegFile(char* name, int size) {
    char folder[256];
    char path[MAX_PATH];
    const DWORD folderLength = GetTempPathA(sizeof(folder), folder);
    if (name == nullptr || folderLength == 0 || folderLength >= sizeof(folder)) return false;
    if (GetTempFileNameA(folder, "JTM", 0, path) == 0) return false;
    std::vector<uint8_t> bytes;
    const size_t pathLength = std::strlen(path);
    if (size <= 0 || pathLength >= size_t(size) || !EncodeJpeg(bytes) || !WriteFileBytes(path, bytes)) {
        DeleteFileA(path);
        return false;
    }
    std::memcpy(name, path, pathLength + 1);
    return true;
}
