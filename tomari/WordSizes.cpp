// TWordSizes: a hash table of measured words by font and characters.
#include "WordSizes.h"

#include <cstring>

uint32_t TWordSizes::Hash(HFONT font, const char* word, int length) {
    // FNV-1a over the characters, started from the font handle.
    const auto handle = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(font));
    uint32_t hash = 2166136261u ^ static_cast<uint32_t>(handle ^ (handle >> 32));
    for (int i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned char>(word[i])) * 16777619u;
    return hash;
}

bool TWordSizes::Holds(const TEntry& entry, HFONT font, uint32_t hash, const char* word, int length) const {
    return entry.hash == hash && entry.font == font && entry.length == static_cast<uint32_t>(length) &&
           std::memcmp(fWords.data() + entry.offset, word, static_cast<size_t>(length)) == 0;
}

const SIZE* TWordSizes::Find(HFONT font, const char* word, int length) const {
    if (fCount == 0 || font == nullptr || length < 0 || length > kLongestWord) return nullptr;
    const uint32_t hash = Hash(font, word, length);
    const size_t mask = fEntries.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const TEntry& entry = fEntries[at];
        if (entry.font == nullptr) return nullptr;
        if (Holds(entry, font, hash, word, length)) return &entry.size;
    }
}

void TWordSizes::Add(HFONT font, const char* word, int length, const SIZE& size) {
    if (font == nullptr || length < 0 || length > kLongestWord) return;
    if (fCount >= kMostWords) Clear();
    if (fEntries.empty()) fEntries.resize(1024);
    if (2 * (fCount + 1) > fEntries.size()) {
        // Twice the room, the kept words entered anew.
        std::vector<TEntry> old(fEntries.size() * 2);
        old.swap(fEntries);
        const size_t mask = fEntries.size() - 1;
        for (const TEntry& entry : old) {
            if (entry.font == nullptr) continue;
            size_t at = entry.hash & mask;
            while (fEntries[at].font != nullptr) at = (at + 1) & mask;
            fEntries[at] = entry;
        }
    }
    const uint32_t hash = Hash(font, word, length);
    const size_t mask = fEntries.size() - 1;
    size_t at = hash & mask;
    for (; fEntries[at].font != nullptr; at = (at + 1) & mask)
        if (Holds(fEntries[at], font, hash, word, length)) return;
    TEntry& entry = fEntries[at];
    entry.font = font;
    entry.hash = hash;
    entry.offset = static_cast<uint32_t>(fWords.size());
    entry.length = static_cast<uint32_t>(length);
    entry.size = size;
    fWords.append(word, static_cast<size_t>(length));
    ++fCount;
}

void TWordSizes::Clear() {
    if (fCount == 0) return;
    for (TEntry& entry : fEntries) entry = TEntry();
    fWords.clear();
    fCount = 0;
}
