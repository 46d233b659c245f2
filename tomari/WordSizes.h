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
    // (Defined here: a pass looks up every word.)
    const SIZE* Find(HFONT font, const char* word, int length) const {
        if (fCount == 0 || font == nullptr || length < 0 || length > kLongestWord) return nullptr;
        const uint32_t hash = Hash(font, word, length);
        const size_t mask = fEntries.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const TEntry& entry = fEntries[at];
            if (entry.font == nullptr) return nullptr;
            if (Holds(entry, font, hash, word, length)) return &entry.size;
        }
    }
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
    static uint32_t Hash(HFONT font, const char* word, int length) {
        // The characters eight at a time, each group mixed in by one
        // multiplication, after the font handle and the length.
        uint64_t hash = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(font)) ^ static_cast<uint64_t>(length);
        for (int at = 0; at < length; at += 8) {
            uint64_t group = 0;
            const int end = length - at < 8 ? length - at : 8;
            for (int i = 0; i < end; ++i) group |= static_cast<uint64_t>(static_cast<unsigned char>(word[at + i])) << (8 * i);
            hash = (hash ^ group) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        return static_cast<uint32_t>(hash ^ (hash >> 32));
    }
    bool Holds(const TEntry& entry, HFONT font, uint32_t hash, const char* word, int length) const {
        if (entry.hash != hash || entry.font != font || entry.length != static_cast<uint32_t>(length)) return false;
        const char* kept = fWords.data() + entry.offset;
        for (int i = 0; i < length; ++i)
            if (kept[i] != word[i]) return false;
        return true;
    }

    // Open addressing over a power-of-two table, at most half full.
    std::vector<TEntry> fEntries;
    std::string fWords;
    size_t fCount = 0;
};
