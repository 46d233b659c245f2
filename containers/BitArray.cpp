// TBitArray: bits packed eight to a byte.
#include "BitArray.h"

#include <cstddef>

TBitArray::TBitArray(int size) { SetSize(size); }

void TBitArray::SetSize(int size) {
    if (size < 0) size = 0;
    // Clear the spare bits of the last byte so that growing shows them cleared.
    for (int i = size; i < fSize && (i & 7) != 0; ++i) Set(i, false);
    fSize = size;
    fBytes.resize(static_cast<std::size_t>((size + 7) / 8), 0);
}

bool TBitArray::Get(int i) const {
    if (i < 0 || i >= fSize) return false;
    return (fBytes[static_cast<std::size_t>(i >> 3)] >> (i & 7)) & 1;
}

void TBitArray::Set(int i, bool value) {
    if (i < 0 || i >= fSize) return;
    unsigned char& byte = fBytes[static_cast<std::size_t>(i >> 3)];
    const unsigned char mask = static_cast<unsigned char>(1u << (i & 7));
    byte = value ? static_cast<unsigned char>(byte | mask) : static_cast<unsigned char>(byte & ~mask);
}

void TBitArray::SetAll(bool value) {
    for (unsigned char& byte : fBytes) byte = value ? 0xFF : 0;
    if (value && (fSize & 7) != 0) fBytes.back() = static_cast<unsigned char>((1u << (fSize & 7)) - 1);
}

int TBitArray::Count() const {
    int count = 0;
    for (int i = 0; i < fSize; ++i) count += Get(i) ? 1 : 0;
    return count;
}
