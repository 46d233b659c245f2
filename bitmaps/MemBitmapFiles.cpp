// TMemBitmap: BMP and JPEG files, image files in memory and module resources.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DibBlock.h"
#include "JpegCoder.h"
#include "MemBitmap.h"
#include "MemBitmap2ImageData.h"
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

// The whole file; false when it cannot be opened, read or is larger than any block.
bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    const bool fits = size >= 0 && size_t(size) <= kMaximumFileSize;
    if (fits) bytes.resize(size_t(size));
    const bool read = fits && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return read;
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

// Decoded rows go straight into a new DIB block: 8 bits with the gray table
// for one component, 24 bits for three.
class JpegDibTarget : public TJpegRowTarget {
public:
    ~JpegDibTarget() override { Abandon(); }

    bool Begin(int type, int pictureWidth, int pictureHeight) noexcept override {
        bitCount = type == idtGray8 ? 8 : 24;
        width = pictureWidth;
        height = pictureHeight;
        const int64_t size = NewBlockSize(width, height, bitCount);
        block_ = size > 0 ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
        if (block_ == nullptr) return false;
        bits_ = static_cast<uint8_t*>(GlobalLock(block_));
        WriteInfoHeader(bits_, width, height, bitCount);
        for (int i = 0; bitCount == 8 && i < 256; ++i) std::memset(bits_ + kInfoHeaderSize + 4 * i, i, 3);
        lineSize_ = LineSizeFor(width, bitCount);
        return true;
    }
    uint8_t* Row(int y) noexcept override {
        return bits_ + RowsOffset(bitCount, 0) + std::ptrdiff_t(height - 1 - y) * lineSize_;
    }
    void Abandon() noexcept override {
        if (block_ == nullptr) return;
        GlobalUnlock(block_);
        GlobalFree(block_);
        block_ = nullptr;
    }
    // The filled block, unlocked; the target lets go of it.
    HGLOBAL Release() {
        HGLOBAL block = block_;
        GlobalUnlock(block_);
        block_ = nullptr;
        return block;
    }

    int bitCount = 0;
    int width = 0;
    int height = 0;

private:
    HGLOBAL block_ = nullptr;
    uint8_t* bits_ = nullptr;
    int lineSize_ = 0;
};

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
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path.c_str(), bytes)) {
        ClearPicture();
        return;
    }
    LoadBmpBytes(bytes.data(), bytes.size());
}

bool TMemBitmap::LoadBmpBytes(const uint8_t* data, size_t length) {
    IsJpeg = 0;
    bool loaded = false;
    if (data != nullptr && length >= size_t(kFileHeaderSize + kInfoHeaderSize) && length <= kMaximumFileSize &&
        ReadU16(data) == 0x4D42) {
        const int64_t offset = ReadU32(data + 10);
        const int bitCount = HeaderBitCount(data + kFileHeaderSize);
        const int64_t gap = offset - kFileHeaderSize - kInfoHeaderSize - PaletteSizeFor(bitCount);
        std::vector<uint8_t> block(data + kFileHeaderSize, data + length);
        loaded = gap > -kMaximumBlockSize && gap < kMaximumBlockSize && InstallDIBBytes(block, int(gap));
    }
    if (!loaded) {
        ClearPicture();
        return false;
    }
    FinishLoad();
    return Valid != 0;
}

bool TMemBitmap::LoadJpegBytes(const uint8_t* data, size_t length) {
    JpegDibTarget target;
    try {
        if (length > size_t(0x7FFFFFFF)) throw TJPEGFileException();
        ReadJPEGRows(data, int(length), target);
    } catch (const TJPEGFileException&) {
        ClearPicture();
        return false;
    }
    InstallDIB(target.Release(), target.width, target.height, target.bitCount, 0);
    if (Valid) FinishLoad();
    return Valid != 0;
}

void TMemBitmap::LoadFromJpeg(const TString& path) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path.c_str(), bytes)) throw TJPEGFileException();
    LoadJpegBytes(bytes.data(), bytes.size());
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
    std::vector<uint8_t> bytes;
    if (name != nullptr && ReadFileBytes(name, bytes)) {
        LoadJpegBytes(bytes.data(), bytes.size());
    } else {
        ClearPicture();
    }
    if (name != nullptr) DeleteFileA(name);
}

// ---- Saving ----

bool TMemBitmap::EncodeBmp(std::vector<uint8_t>& bytes) {
    if (!Valid) return false;
    const bool madeDIB = DIB == nullptr;
    const uint8_t keepDIB = KeepDIB;
    const uint8_t jpeg = IsJpeg;
    if (madeDIB) DIBCreate();
    bool encoded = false;
    {
        PixelAccess access(*this);
        if (access.Bits() != nullptr) {
            const size_t size = GlobalSize(DIB);
            bytes.assign(kFileHeaderSize + size, 0);
            WriteU16(bytes.data(), 0x4D42);
            WriteU32(bytes.data() + 2, uint32_t(size + kFileHeaderSize));
            WriteU32(bytes.data() + 10, uint32_t(kFileHeaderSize + RowsOffset(BitCount, Gap)));
            std::memcpy(bytes.data() + kFileHeaderSize, access.Bits(), size);
            encoded = true;
        }
    }
    if (madeDIB) {
        FreeDIB();
        KeepDIB = keepDIB;
        IsJpeg = jpeg;
    }
    return encoded;
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
    const IMAGEDATA view = MB2ID(*source);
    void* block = nullptr;
    int length = 0;
    const bool encoded = CreateJPEG(view, &block, &length, JpegQuality);
    source->Unlock();
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
    std::vector<uint8_t> bytes;
    return EncodeBmp(bytes) && WriteFileBytes(path.c_str(), bytes);
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
