// TMemSpace and TMemBuffer: a growable byte block written at its end and read
// from a read position, with typed little-endian fields and a packed form.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "ContainerItem.h"
#include "Win32Types.h"

class TString;

// Raw bytes with a read position. Every read checks what remains: a read that
// does not fit reads nothing, leaves the position and returns false.
class TMemSpace {
public:
    explicit TMemSpace(int capacity = 0);
    virtual ~TMemSpace();

    // Bytes held.
    int GetSize() const { return static_cast<int>(fData.size()); }
    int GetCapacity() const { return static_cast<int>(fData.capacity()); }
    // The bytes; null when the buffer is empty.
    const void* GetBlock() const { return fData.empty() ? nullptr : fData.data(); }
    void* GetBlock() { return fData.empty() ? nullptr : fData.data(); }

    // Appends n bytes; a null pointer or n <= 0 adds nothing.
    void Add(const void* data, int n);
    // Reads n bytes into target; false (nothing read) when fewer remain or n < 0.
    bool Read(void* target, int n);
    // Moves the read position: mode 0 from the start, 1 relative, 2 from the end.
    // A target outside 0..size is refused (false) and the position kept.
    bool SeekRead(int offset, int mode = 0);
    int GetReadPosition() const { return static_cast<int>(fReadPosition); }
    int GetRemaining() const { return static_cast<int>(fData.size() - fReadPosition); }

    // Empties the buffer and rewinds the read position.
    void Clear();
    // Keeps room for at least capacity bytes.
    void Reserve(int capacity);

protected:
    std::vector<unsigned char> fData;
    size_t fReadPosition = 0;
};

// Growable buffer of typed fields. Integers are little-endian, int is 32 bits,
// a bool one byte, floats and doubles their IEEE bits. The typed reads return 0
// (or false) when the buffer has too few bytes left and then set the read-failed
// flag, which stays set until ClearReadFailed or Clear.
class TMemBuffer : public TMemSpace, public TContainerItem {
public:
    explicit TMemBuffer(int capacity = 0);
    TMemBuffer(const TMemBuffer& source);
    TMemBuffer& operator=(const TMemBuffer& source);
    ~TMemBuffer() override;

    void AddByte(uint8_t value);
    void AddUInt32(uint32_t value);
    void AddInt(int value);
    void AddInt64(int64_t value);
    void AddFloat(float value);
    void AddDouble(double value);
    void AddBool(bool value);
    // i32 length then the bytes, no terminator; null and "" both store length 0.
    void AddString(const char* text);
    void AddString(const TString& text);
    // Appends the rest of the file from its current position; returns the bytes added.
    int AddFile(FILE* file);

    bool ReadByte(uint8_t& value);
    bool ReadUInt32(uint32_t& value);
    bool ReadInt(int& value);
    bool ReadInt64(int64_t& value);
    virtual int ReadInt();
    virtual int64_t ReadInt64();
    virtual float ReadFloat();
    virtual double ReadDouble();
    virtual bool ReadBool();
    // A new char array (terminated) that the caller deletes with delete[], or
    // null for length 0 and for a damaged length (the read-failed flag then set).
    char* ReadString();

    bool GetReadFailed() const { return fReadFailed; }
    void ClearReadFailed() { fReadFailed = false; }
    void Clear();

    // Whether WriteToMemBuffer packs the bytes with zlib.
    void SetPacked(bool packed) { fPacked = packed; }
    bool GetPacked() const { return fPacked; }

    // Item form: u32 size, u8 packed flag; packed: u32 packed size and a zlib
    // stream of that many bytes; unpacked: the bytes themselves. The reader
    // replaces the content and rewinds it; sizes are checked against what
    // remains, and a packed size must inflate to exactly the stated size.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    // FILE stream form: the same bytes as the item form.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;
    void Assign(const TContainerItem& source) override;

    // Packed outer block, as resources and help archives carry a buffer:
    // u32 unpacked size, u8 packed flag (1), u32 packed size, the zlib stream,
    // then the u32 trailer 256. With pack false the flag is 0 and the bytes
    // follow the size directly, then the trailer.
    void WriteToPackedBlock(TMemBuffer& target, bool pack = true) const;
    // Replaces the content with the bytes of a packed outer block; false (and
    // empty) when the block is damaged. A missing trailer is accepted.
    bool ReadFromPackedBlock(const void* block, int size);
    // Fills the buffer from the RCDATA resource holding a packed outer block;
    // a missing or damaged resource leaves the buffer empty and returns false.
    bool LoadFromResource(HMODULE module, const char* name);

private:
    bool ReadItemBody(TMemBuffer& source, uint32_t size, uint8_t packed);

    bool fReadFailed = false;
    bool fPacked = false;
};

// zlib helpers shared by the packed forms. Pack appends a zlib stream of the
// bytes to target; Unpack inflates exactly unpackedSize bytes or fails, and
// refuses sizes a stream of packedSize bytes cannot produce.
void PackBytes(const void* data, int size, TMemBuffer& target);
bool UnpackBytes(const void* packed, uint32_t packedSize, uint32_t unpackedSize, TMemBuffer& target);

TMemBuffer& operator<<(TMemBuffer& buffer, int value);
TMemBuffer& operator>>(TMemBuffer& buffer, int& value);
