// TMemSpace and TMemBuffer: typed fields, the item form and the packed outer block.
#include "MemBuffer.h"

#include <zlib.h>

#include <cstring>

#include "Module.h"
#include "String.h"

namespace {

const uint32_t kPackedBlockTrailer = 256;
// zlib cannot inflate more than about 1032 bytes per input byte.
const uint64_t kMaxInflateRatio = 1032;
const int kFileChunk = 65536;

}  // namespace

TMemSpace::TMemSpace(int capacity) { Reserve(capacity); }

TMemSpace::~TMemSpace() = default;

void TMemSpace::Add(const void* data, int n) {
    if (data == nullptr || n <= 0) return;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    fData.insert(fData.end(), bytes, bytes + n);
}

bool TMemSpace::Read(void* target, int n) {
    if (n < 0 || static_cast<size_t>(n) > fData.size() - fReadPosition) return false;
    if (n > 0) std::memcpy(target, fData.data() + fReadPosition, static_cast<size_t>(n));
    fReadPosition += static_cast<size_t>(n);
    return true;
}

bool TMemSpace::SeekRead(int offset, int mode) {
    int64_t base = 0;
    if (mode == 1) base = static_cast<int64_t>(fReadPosition);
    if (mode == 2) base = static_cast<int64_t>(fData.size());
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(fData.size())) return false;
    fReadPosition = static_cast<size_t>(target);
    return true;
}

void TMemSpace::Clear() {
    fData.clear();
    fReadPosition = 0;
}

void TMemSpace::Reserve(int capacity) {
    if (capacity > 0) fData.reserve(static_cast<size_t>(capacity));
}

TMemBuffer::TMemBuffer(int capacity) : TMemSpace(capacity) {}

TMemBuffer::TMemBuffer(const TMemBuffer& source) : TMemSpace(source), TContainerItem(source) {
    fPacked = source.fPacked;
}

TMemBuffer& TMemBuffer::operator=(const TMemBuffer& source) {
    if (this != &source) {
        fData = source.fData;
        fReadPosition = source.fReadPosition;
        fPacked = source.fPacked;
        fReadFailed = false;
    }
    return *this;
}

TMemBuffer::~TMemBuffer() = default;

void TMemBuffer::AddByte(uint8_t value) { fData.push_back(value); }

void TMemBuffer::AddUInt32(uint32_t value) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    Add(bytes, 4);
}

void TMemBuffer::AddInt(int value) { AddUInt32(static_cast<uint32_t>(value)); }

void TMemBuffer::AddInt64(int64_t value) {
    const uint64_t bits = static_cast<uint64_t>(value);
    AddUInt32(static_cast<uint32_t>(bits));
    AddUInt32(static_cast<uint32_t>(bits >> 32));
}

void TMemBuffer::AddFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    AddUInt32(bits);
}

void TMemBuffer::AddDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    AddInt64(static_cast<int64_t>(bits));
}

void TMemBuffer::AddBool(bool value) { AddByte(value ? 1 : 0); }

void TMemBuffer::AddString(const char* text) {
    const size_t length = text == nullptr ? 0 : std::strlen(text);
    AddInt(static_cast<int>(length));
    Add(text, static_cast<int>(length));
}

void TMemBuffer::AddString(const TString& text) {
    AddInt(text.Length());
    Add(text.c_str(), text.Length());
}

int TMemBuffer::AddFile(FILE* file) {
    if (file == nullptr) return 0;
    int added = 0;
    std::vector<unsigned char> chunk(kFileChunk);
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) {
        Add(chunk.data(), static_cast<int>(got));
        added += static_cast<int>(got);
    }
    return added;
}

bool TMemBuffer::ReadByte(uint8_t& value) {
    if (!Read(&value, 1)) {
        fReadFailed = true;
        return false;
    }
    return true;
}

bool TMemBuffer::ReadUInt32(uint32_t& value) {
    unsigned char bytes[4];
    if (!Read(bytes, 4)) {
        fReadFailed = true;
        return false;
    }
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

bool TMemBuffer::ReadInt(int& value) {
    uint32_t bits;
    if (!ReadUInt32(bits)) return false;
    value = static_cast<int>(static_cast<int32_t>(bits));
    return true;
}

bool TMemBuffer::ReadInt64(int64_t& value) {
    if (GetRemaining() < 8) {
        fReadFailed = true;
        return false;
    }
    uint32_t low = 0, high = 0;
    ReadUInt32(low);
    ReadUInt32(high);
    value = static_cast<int64_t>(static_cast<uint64_t>(high) << 32 | low);
    return true;
}

int TMemBuffer::ReadInt() {
    int value = 0;
    return ReadInt(value) ? value : 0;
}

int64_t TMemBuffer::ReadInt64() {
    int64_t value = 0;
    return ReadInt64(value) ? value : 0;
}

float TMemBuffer::ReadFloat() {
    uint32_t bits = 0;
    if (!ReadUInt32(bits)) return 0.0f;
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

double TMemBuffer::ReadDouble() {
    int64_t bits = 0;
    if (!ReadInt64(bits)) return 0.0;
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

bool TMemBuffer::ReadBool() {
    uint8_t value = 0;
    return ReadByte(value) && value != 0;
}

char* TMemBuffer::ReadString() {
    int length = 0;
    if (!ReadInt(length)) return nullptr;
    if (length < 0 || length > GetRemaining()) {
        fReadFailed = true;
        return nullptr;
    }
    if (length == 0) return nullptr;
    char* text = new char[static_cast<size_t>(length) + 1];
    Read(text, length);
    text[length] = 0;
    return text;
}

void TMemBuffer::Clear() {
    TMemSpace::Clear();
    fReadFailed = false;
}

void PackBytes(const void* data, int size, TMemBuffer& target) {
    uLongf packedSize = compressBound(static_cast<uLong>(size));
    std::vector<Bytef> packed(packedSize);
    compress2(packed.data(), &packedSize, static_cast<const Bytef*>(data), static_cast<uLong>(size),
              Z_DEFAULT_COMPRESSION);
    target.Add(packed.data(), static_cast<int>(packedSize));
}

bool UnpackBytes(const void* packed, uint32_t packedSize, uint32_t unpackedSize, TMemBuffer& target) {
    if (static_cast<uint64_t>(unpackedSize) > static_cast<uint64_t>(packedSize) * kMaxInflateRatio + 64) return false;
    std::vector<Bytef> unpacked(unpackedSize + 1u);
    uLongf producedSize = unpackedSize + 1u;  // one spare byte shows a stream longer than stated
    uLong consumedSize = packedSize;
    const int result = uncompress2(unpacked.data(), &producedSize, static_cast<const Bytef*>(packed), &consumedSize);
    if (result != Z_OK || producedSize != unpackedSize) return false;
    target.Add(unpacked.data(), static_cast<int>(unpackedSize));
    return true;
}

void TMemBuffer::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddUInt32(static_cast<uint32_t>(GetSize()));
    buffer.AddByte(fPacked ? 1 : 0);
    if (!fPacked) {
        buffer.Add(GetBlock(), GetSize());
        return;
    }
    TMemBuffer packed;
    PackBytes(GetBlock(), GetSize(), packed);
    buffer.AddUInt32(static_cast<uint32_t>(packed.GetSize()));
    buffer.Add(packed.GetBlock(), packed.GetSize());
}

bool TMemBuffer::ReadItemBody(TMemBuffer& source, uint32_t size, uint8_t packed) {
    Clear();
    if (packed > 1) return false;
    if (packed == 0) {
        if (size > static_cast<uint32_t>(source.GetRemaining())) return false;
        fData.resize(size);
        return source.Read(fData.data(), static_cast<int>(size));
    }
    uint32_t packedSize = 0;
    if (!source.ReadUInt32(packedSize) || packedSize > static_cast<uint32_t>(source.GetRemaining())) return false;
    const unsigned char* start = static_cast<const unsigned char*>(source.GetBlock()) + source.GetReadPosition();
    if (!UnpackBytes(start, packedSize, size, *this)) return false;
    source.SeekRead(static_cast<int>(packedSize), 1);
    return true;
}

bool TMemBuffer::ReadFromMemBuffer(TMemBuffer& buffer) {
    uint32_t size = 0;
    uint8_t packed = 0;
    if (!buffer.ReadUInt32(size) || !buffer.ReadByte(packed)) return false;
    if (!ReadItemBody(buffer, size, packed)) {
        Clear();
        return false;
    }
    fPacked = packed == 1;
    return true;
}

void TMemBuffer::SaveToStream(FILE* file) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    if (form.GetSize() > 0) std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool TMemBuffer::LoadFromStream(FILE* file) {
    TMemBuffer head;
    if (!ReadStreamBlock(file, 5, head)) return false;
    uint32_t size = 0;
    uint8_t packed = 0;
    head.ReadUInt32(size);
    head.ReadByte(packed);
    if (packed == 1) {
        if (!ReadStreamBlock(file, 4, head)) return false;
        uint32_t packedSize = 0;
        head.ReadUInt32(packedSize);
        if (!ReadStreamBlock(file, packedSize, head)) return false;
        head.SeekRead(5);
    } else if (!ReadStreamBlock(file, size, head)) {
        return false;
    }
    head.SeekRead(0);
    return ReadFromMemBuffer(head);
}

void TMemBuffer::Assign(const TContainerItem& source) {
    if (const TMemBuffer* buffer = dynamic_cast<const TMemBuffer*>(&source)) *this = *buffer;
}

void TMemBuffer::WriteToPackedBlock(TMemBuffer& target, bool pack) const {
    const bool packed = fPacked;
    const_cast<TMemBuffer*>(this)->fPacked = pack;
    WriteToMemBuffer(target);
    const_cast<TMemBuffer*>(this)->fPacked = packed;
    target.AddUInt32(kPackedBlockTrailer);
}

bool TMemBuffer::ReadFromPackedBlock(const void* block, int size) {
    TMemBuffer source;
    source.Add(block, size);
    const bool packed = fPacked;
    if (!ReadFromMemBuffer(source)) return false;
    fPacked = packed;
    return true;
}

bool TMemBuffer::LoadFromResource(HMODULE module, const char* name) {
    Clear();
    HRSRC resource = FindResourceA(module, name, RT_RCDATA);
    if (resource == nullptr) return false;
    const void* data = LockResource(LoadResource(module, resource));
    const DWORD size = SizeofResource(module, resource);
    if (data == nullptr || size > 0x7FFFFFFFu) return false;
    return ReadFromPackedBlock(data, static_cast<int>(size));
}

TMemBuffer& operator<<(TMemBuffer& buffer, int value) {
    buffer.AddInt(value);
    return buffer;
}

TMemBuffer& operator>>(TMemBuffer& buffer, int& value) {
    value = buffer.ReadInt();
    return buffer;
}
