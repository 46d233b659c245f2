// TWordSizes: the sizes of the words a layout pass has measured, by font and
// word, so that the pass measures each word once per font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Win32.h"

// Keeps what GetTextExtentPoint32A gave for a word in a font on the device
// context of one pass; it holds only while that font lives and the context's
// text settings stay as they are. Words longer than kLongestWord are not kept;
// once kMostWords words are kept, all are dropped before the next is added.
class TWordSizes {
public:
    static constexpr int kLongestWord = 64;
    static constexpr size_t kMostWords = 16384;

    // The size kept for the length characters at word in font; null when none.
    const SIZE* Find(HFONT font, const char* word, int length) const;
    // Keeps size for the word in font (a word too long to keep is left out).
    void Add(HFONT font, const char* word, int length, const SIZE& size);
    void Clear();

private:
    struct TEntry {
        HFONT font = nullptr;  // null marks a free entry
        uint32_t hash = 0;
        uint32_t offset = 0;  // where the word's characters start in fWords
        uint32_t length = 0;
        SIZE size{0, 0};
    };
    static uint32_t Hash(HFONT font, const char* word, int length);
    bool Holds(const TEntry& entry, HFONT font, uint32_t hash, const char* word, int length) const;

    // Open addressing over a power-of-two table, at most half full.
    std::vector<TEntry> fEntries;
    std::string fWords;
    size_t fCount = 0;
};
