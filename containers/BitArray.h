// TBitArray: a growable array of bits.
#pragma once

#include <vector>

class TBitArray {
public:
    explicit TBitArray(int size = 0);

    int GetSize() const { return fSize; }
    // New bits are cleared; a negative size counts as 0.
    void SetSize(int size);
    // Bit i; false outside 0..size-1.
    bool Get(int i) const;
    bool operator[](int i) const { return Get(i); }
    // Sets bit i; does nothing outside 0..size-1.
    void Set(int i, bool value = true);
    void Clear(int i) { Set(i, false); }
    void SetAll(bool value);
    // Number of set bits.
    int Count() const;

private:
    std::vector<unsigned char> fBytes;
    int fSize = 0;
};
