// TWordSizes: the sizes of the words a layout pass has measured, by font and
// word, so that the pass measures each word once per font.
#pragma once

#include <cstdint>
#include <cstring>
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
        const TKey key = KeyOf(font, word, length);
        const size_t mask = fEntries.size() - 1;
        for (size_t at = key.hash & mask;; at = (at + 1) & mask) {
            const TEntry& entry = fEntries[at];
            if (entry.key.font == nullptr) return nullptr;
            if (Holds(entry, key, word)) return &entry.size;
        }
    }
    // Keeps size for the word in font (a word too long to keep is left out).
    void Add(HFONT font, const char* word, int length, const SIZE& size);
    void Clear();

private:
    // A word of up to 16 characters is known by its length and two groups of
    // eight bytes that hold all its characters (overlapping for words of
    // fewer than 16); a longer word is compared character by character too.
    static constexpr int kKnownByGroups = 16;
    struct TKey {
        HFONT font = nullptr;  // null marks a free entry
        uint64_t head = 0;
        uint64_t tail = 0;
        uint32_t length = 0;
        uint32_t hash = 0;
    };
    struct TEntry {
        TKey key;
        uint32_t offset = 0;  // where the word's characters start in fWords
        SIZE size{0, 0};
    };
    static uint64_t Load(const char* at, size_t bytes) {
        uint64_t value = 0;
        if (bytes == 8) std::memcpy(&value, at, 8);
        if (bytes == 4) {
            uint32_t half = 0;
            std::memcpy(&half, at, 4);
            value = half;
        }
        return value;
    }
    static TKey KeyOf(HFONT font, const char* word, int length) {
        TKey key;
        key.font = font;
        key.length = static_cast<uint32_t>(length);
        const auto byte = [&](int i) { return static_cast<uint64_t>(static_cast<unsigned char>(word[i])); };
        if (length >= 8) {
            key.head = Load(word, 8);
            key.tail = Load(word + length - 8, 8);
        } else if (length >= 4) {
            key.head = Load(word, 4) | Load(word + length - 4, 4) << 32;
        } else if (length > 0) {
            key.head = byte(0) | byte(length / 2) << 8 | byte(length - 1) << 16;
        }
        uint64_t hash = (key.head ^ static_cast<uint64_t>(reinterpret_cast<uintptr_t>(font))) * 0x9E3779B97F4A7C15ull;
        hash ^= (key.tail + static_cast<uint64_t>(length)) * 0xC2B2AE3D27D4EB4Full;
        hash ^= hash >> 32;
        key.hash = static_cast<uint32_t>(hash);
        return key;
    }
    bool Holds(const TEntry& entry, const TKey& key, const char* word) const {
        if (entry.key.hash != key.hash || entry.key.font != key.font || entry.key.length != key.length ||
            entry.key.head != key.head || entry.key.tail != key.tail)
            return false;
        if (key.length <= static_cast<uint32_t>(kKnownByGroups)) return true;
        return std::memcmp(fWords.data() + entry.offset, word, key.length) == 0;
    }

    // Open addressing over a power-of-two table, at most half full.
    std::vector<TEntry> fEntries;
    std::string fWords;
    size_t fCount = 0;
};
