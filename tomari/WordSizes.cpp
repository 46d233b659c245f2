// TWordSizes: a hash table of measured words by font and characters.
#include "WordSizes.h"

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
