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
            if (entry.key.font == nullptr) continue;
            size_t at = entry.key.hash & mask;
            while (fEntries[at].key.font != nullptr) at = (at + 1) & mask;
            fEntries[at] = entry;
        }
    }
    const TKey key = KeyOf(font, word, length);
    const size_t mask = fEntries.size() - 1;
    size_t at = key.hash & mask;
    for (; fEntries[at].key.font != nullptr; at = (at + 1) & mask)
        if (Holds(fEntries[at], key, word)) return;
    TEntry& entry = fEntries[at];
    entry.key = key;
    entry.size = size;
    // Only words compared character by character need their characters kept.
    entry.offset = static_cast<uint32_t>(fWords.size());
    if (length > kKnownByGroups) fWords.append(word, static_cast<size_t>(length));
    ++fCount;
}

void TWordSizes::Clear() {
    if (fCount == 0) return;
    for (TEntry& entry : fEntries) entry = TEntry();
    fWords.clear();
    fCount = 0;
}
