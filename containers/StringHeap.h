// TStringHeap: a growable pool of TStrings lent out by slot number.
#pragma once

#include <memory>
#include <vector>

#include "String.h"

class TStringHeap {
public:
    explicit TStringHeap(int initialSlots = 16);

    // Lends a free string (emptied) and returns its slot; the pool grows when
    // every string is lent. The string stays valid until its slot is released.
    int Get(TString*& text);
    // Gives the slot back; a slot that is out of range or not lent is ignored.
    void Release(int slot);
    int GetSlotCount() const { return static_cast<int>(fStrings.size()); }
    int GetLentCount() const { return fLent; }

private:
    std::vector<std::unique_ptr<TString>> fStrings;
    std::vector<bool> fInUse;
    std::vector<int> fFree;
    int fLent = 0;
};
