// The stored layout of a help archive, read byte by byte for tests: the outer
// packed block and the container form with its entries. Each step records
// what it found, so a test can compare it with the layout the viewer expects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MemBuffer.h"

namespace help_archive {

inline uint32_t U32(const std::string& bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0xFFFFFFFF;
    uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(k)]);
    return value;
}

inline std::string Bytes(const TMemBuffer& buffer) {
    return std::string(static_cast<const char*>(buffer.GetBlock()), static_cast<size_t>(buffer.GetSize()));
}

// The outer block: u32 unpacked size, the packed flag, u32 packed size, the
// zlib stream, the u32 trailer; inner receives the inflated bytes.
struct TOuterBlock {
    uint32_t unpackedSize = 0;
    uint8_t packedFlag = 0;
    uint32_t packedSize = 0;
    std::string streamStart;
    std::string trailer;
    bool sizeAgrees = false;  // 9 + packed size + 4 bytes in all
    bool inflates = false;    // to exactly the unpacked size
    std::string inner;
};

inline TOuterBlock ReadOuterBlock(const std::string& block) {
    TOuterBlock outer;
    if (block.size() < 13) return outer;
    outer.unpackedSize = U32(block, 0);
    outer.packedFlag = static_cast<uint8_t>(block[4]);
    outer.packedSize = U32(block, 5);
    outer.streamStart = block.substr(9, 2);
    outer.trailer = block.substr(block.size() - 4);
    outer.sizeAgrees = block.size() == 9 + static_cast<size_t>(outer.packedSize) + 4;
    TMemBuffer inflated;
    outer.inflates = outer.sizeAgrees && UnpackBytes(block.data() + 9, outer.packedSize, outer.unpackedSize, inflated);
    if (outer.inflates) outer.inner = Bytes(inflated);
    return outer;
}

// One entry as stored: its marks, name, size, packed flag and stored bytes
// (the zlib stream when packed); data holds the entry's bytes unpacked.
struct TStoredEntry {
    std::string itemMarks;
    std::string name;
    std::string marks;
    uint32_t size = 0;
    bool packed = false;
    std::string streamStart;
    std::string data;
};

// The container form: header and entries; complete when the entries end
// exactly at the end offset, which is the block's size.
struct TInnerBlock {
    uint32_t endOffset = 0;
    uint32_t count = 0;
    uint32_t headerWord = 0;
    std::string flags;
    std::vector<TStoredEntry> entries;
    bool complete = false;
};

inline TInnerBlock ReadInnerBlock(const std::string& bytes) {
    TInnerBlock inner;
    if (bytes.size() < 24) return inner;
    inner.endOffset = U32(bytes, 0);
    inner.count = U32(bytes, 4);
    inner.headerWord = U32(bytes, 8);
    inner.flags = bytes.substr(12, 12);
    size_t at = 24;
    for (uint32_t i = 0; i < inner.count && at + 7 <= bytes.size(); ++i) {
        TStoredEntry entry;
        entry.itemMarks = bytes.substr(at, 2);
        const uint32_t length = U32(bytes, at + 2);
        if (bytes[at + 6] != '\x01' || at + 7 + length + 7 > bytes.size()) return inner;
        entry.name = bytes.substr(at + 7, length);
        at += 7 + length;
        entry.marks = bytes.substr(at, 2);
        entry.size = U32(bytes, at + 2);
        entry.packed = bytes[at + 6] != 0;
        at += 7;
        if (entry.packed) {
            const uint32_t packedSize = U32(bytes, at);
            if (at + 4 + static_cast<size_t>(packedSize) > bytes.size()) return inner;
            entry.streamStart = bytes.substr(at + 4, 2);
            TMemBuffer unpacked;
            if (!UnpackBytes(bytes.data() + at + 4, packedSize, entry.size, unpacked)) return inner;
            entry.data = Bytes(unpacked);
            at += 4 + packedSize;
        } else {
            if (at + entry.size > bytes.size()) return inner;
            entry.data = bytes.substr(at, entry.size);
            at += entry.size;
        }
        inner.entries.push_back(entry);
    }
    inner.complete = inner.entries.size() == inner.count && at == bytes.size() && inner.endOffset == bytes.size();
    return inner;
}

// The flags of an archive's container header and of a string list's.
const std::string kContainerFlags("\x00\x01\x01\x00\x00\x00\x00\x01\x01\x00\x00\x00", 12);

}  // namespace help_archive
