// TStringHeap: lending and returning pooled strings.
#include "StringHeap.h"

TStringHeap::TStringHeap(int initialSlots) {
    for (int i = 0; i < initialSlots; ++i) {
        fStrings.push_back(std::make_unique<TString>());
        fInUse.push_back(false);
        fFree.push_back(initialSlots - 1 - i);
    }
}

int TStringHeap::Get(TString*& text) {
    if (fFree.empty()) {
        fFree.push_back(static_cast<int>(fStrings.size()));
        fStrings.push_back(std::make_unique<TString>());
        fInUse.push_back(false);
    }
    const int slot = fFree.back();
    fFree.pop_back();
    fInUse[static_cast<size_t>(slot)] = true;
    ++fLent;
    text = fStrings[static_cast<size_t>(slot)].get();
    text->Clear();
    return slot;
}

void TStringHeap::Release(int slot) {
    if (slot < 0 || slot >= GetSlotCount() || !fInUse[static_cast<size_t>(slot)]) return;
    fInUse[static_cast<size_t>(slot)] = false;
    fFree.push_back(slot);
    --fLent;
}
