// TEvalStack: the operand stack of an evaluation with its string heap, separator flags, buffer pool and random generators.
#pragma once

#include <array>
#include <memory>

#include "BitArray.h"
#include "ExpressionModel.h"
#include "MemBuffer.h"
#include "MemBufferContainer.h"
#include "RandomNumbers.h"
#include "String.h"
#include "StringBuffer.h"
#include "StringHeap.h"

// Serves one evaluation at a time (nested evaluations on the same thread
// included); give each thread its own stack.
//
// Ownership of texts by stack kind: 18 the item owns its TString and whoever
// removes the item deletes it; 19 is borrowed and never deleted here; 20 is
// lent by the string heap and whoever removes the item releases its slot.
class TEvalStack {
public:
    TEvalStack();
    ~TEvalStack();
    TEvalStack(const TEvalStack&) = delete;
    TEvalStack& operator=(const TEvalStack&) = delete;

    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }

    // Appends a copy of item, doubling the capacity when full (items keep
    // their values; addresses from Top do not survive a push). Kind 18: copy
    // true pushes a new copy of the text, false takes over the caller's text.
    // A pushed text is never null (a missing text becomes an empty one).
    void Push(const EXPRESSION_ITEM& item, bool copy) {
        if (item.kind == ekOwnedText || count == capacity) {
            PushSlowly(item, copy);
            return;
        }
        items[count++] = item;
    }
    // Moves the top item out; an owned or buffered text passes to the caller.
    // An empty stack gives an error item (kind 255) and stays empty.
    void Pop(EXPRESSION_ITEM& item) {
        if (count == 0) {
            item = MakeItem(ekError);
            return;
        }
        item = items[--count];
    }
    // Removes the top n items (at most count) and releases what they own.
    void Pop(int n);
    // The item i places below the top (0 = top). Outside the stack it gives a
    // scratch error item (kind 255) that belongs to the stack.
    EXPRESSION_ITEM* Top(int i = 0) {
        if (i < 0 || i >= count) return Outside();
        return &items[count - 1 - i];
    }
    // Sets the top item's ref.index to -1; nothing on an empty stack.
    void SetNoVar() {
        if (count > 0) items[count - 1].ref.index = -1;
    }

    // For the evaluation loop, which keeps count in view: the top n items
    // without tests, and dropping items that own nothing without releasing.
    EXPRESSION_ITEM* TopUnchecked(int i) { return &items[count - 1 - i]; }
    void DropUnowned(int n) { count -= n; }
    // A new top item for the loop to fill field by field (its fields hold
    // whatever the slot held before).
    EXPRESSION_ITEM* PushSlot() {
        if (count == capacity) Grow();
        return &items[count++];
    }

    // Releases what a removed item owns: deletes a kind-18 text, gives a
    // kind-20 slot back; other kinds are left alone.
    void ReleaseItem(EXPRESSION_ITEM& item);

    // Lends an emptied TString and returns its slot; the heap grows as needed.
    int GetBufferedString(TString*& text);
    // A slot that is not lent is ignored.
    void ReleaseBufferedString(int slot);
    int GetLentStringCount() const { return stringHeap.GetLentCount(); }

    // The 32 fixed separators of the whole-word tests.
    bool IsSeparator(unsigned char c) const { return separators[c]; }
    bool IsWordSeparator(unsigned char c) const { return wordSeparators[c]; }
    void SetWordSeparator(unsigned char c, bool on) { wordSeparators[c] = on; }
    void ClearWordSeparators();

    // Lends the first pool buffer that is not lent and whose capacity is at
    // least size (emptied), or appends a new one; returns its pool index.
    int GetBuffer(int size, TMemBuffer*& buffer);
    // Clears the lent mark of every pool entry that is buffer; others ignored.
    void ReleaseBuffer(TMemBuffer* buffer);
    int GetBufferPoolSize() const { return bufferPool.GetCount(); }

    TString& ScratchText() { return scratchText; }
    TStringBuffer& ScratchBuffer() { return scratchBuffer; }
    // The key-seeded generator (list function rand) and the default one (drand).
    MTRand_int32& FirstRandom() { return *firstRandom; }
    MTRand_int32& SecondRandom() { return *secondRandom; }

private:
    void Grow();
    void PushSlowly(const EXPRESSION_ITEM& item, bool copy);
    EXPRESSION_ITEM* Outside();

    std::unique_ptr<EXPRESSION_ITEM[]> items;
    int count = 0;
    int capacity = 32;
    TStringHeap stringHeap;
    std::array<bool, 256> separators{};
    std::array<bool, 256> wordSeparators{};
    TString scratchText;
    TStringBuffer scratchBuffer;
    std::unique_ptr<MTRand_int32> firstRandom;
    std::unique_ptr<MTRand_int32> secondRandom;
    TMemBufferContainer bufferPool;
    TBitArray bufferLent;
    EXPRESSION_ITEM outside;
};
