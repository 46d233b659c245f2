// TEvalStack: pushing and popping operands, text ownership, buffered strings and the buffer pool.
#include "EvalStack.h"

#include <cstdlib>
#include <ctime>
#include <new>

namespace {

// ORDER: the characters in the order they are set (the set is what counts).
const char kSeparatorChars[] = " ,?;.:-*<>#&@{}~'\"+!%^$/=()[]\t\r\n";

// Stands in for a text whose copy could not be made; borrowed, never written.
TString& EmptyBorrowedText() {
    static TString empty;
    return empty;
}

}  // namespace

TEvalStack::TEvalStack()
    : items(new EXPRESSION_ITEM[32]), stringHeap(16), scratchBuffer(1024), outside(MakeItem(ekError)) {
    for (const char* c = kSeparatorChars; *c != '\0'; ++c) separators[static_cast<unsigned char>(*c)] = true;
    scratchText.Reserve(1024);
    const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
    std::srand(now);
    firstRandom.reset(new MTRand_int32(&now, 1));
    secondRandom.reset(new MTRand);
}

TEvalStack::~TEvalStack() = default;

void TEvalStack::Grow() {
    const int newCapacity = capacity * 2;
    std::unique_ptr<EXPRESSION_ITEM[]> grown(new EXPRESSION_ITEM[static_cast<size_t>(newCapacity)]);
    for (int i = 0; i < count; ++i) grown[i] = items[i];
    items = std::move(grown);
    capacity = newCapacity;
}

void TEvalStack::PushSlowly(const EXPRESSION_ITEM& source, bool copy) {
    // A copy first: source may be one of this stack's own items, which Grow moves.
    const EXPRESSION_ITEM item = source;
    if (count == capacity) Grow();
    EXPRESSION_ITEM& pushed = items[count];
    pushed = item;
    if (item.kind == ekOwnedText && (copy || item.value.text.text == nullptr)) {
        const TString* source = item.value.text.text;
        pushed.value.text.text = new (std::nothrow) TString(source != nullptr ? *source : TString());
        if (pushed.value.text.text == nullptr) {
            pushed.kind = ekBorrowedText;
            pushed.value.text.text = &EmptyBorrowedText();
        }
    }
    ++count;
}

void TEvalStack::Pop(int n) {
    if (n > count) n = count;
    for (int i = 0; i < n; ++i) ReleaseItem(items[--count]);
}

EXPRESSION_ITEM* TEvalStack::Outside() {
    outside = MakeItem(ekError);
    return &outside;
}

void TEvalStack::ReleaseItem(EXPRESSION_ITEM& item) {
    if (item.kind == ekOwnedText) {
        delete item.value.text.text;
        item.value.text.text = nullptr;
    } else if (item.kind == ekBufferedText) {
        stringHeap.Release(item.value.text.slot);
        item.value.text.slot = -1;
    }
}

int TEvalStack::GetBufferedString(TString*& text) { return stringHeap.Get(text); }

void TEvalStack::ReleaseBufferedString(int slot) { stringHeap.Release(slot); }

void TEvalStack::ClearWordSeparators() { wordSeparators.fill(false); }

int TEvalStack::GetBuffer(int size, TMemBuffer*& buffer) {
    for (int i = 0; i < bufferPool.GetCount(); ++i) {
        if (bufferLent.Get(i) || bufferPool[i].GetCapacity() < size) continue;
        bufferLent.Set(i, true);
        buffer = &bufferPool[i];
        buffer->Clear();
        return i;
    }
    TMemBuffer* created = new TMemBuffer(size > 0 ? size : 0);
    const int index = bufferPool.TContainer::Add(static_cast<TContainerItem*>(created));
    bufferLent.SetSize(bufferPool.GetCount());
    bufferLent.Set(index, true);
    buffer = created;
    return index;
}

void TEvalStack::ReleaseBuffer(TMemBuffer* buffer) {
    for (int i = 0; i < bufferPool.GetCount(); ++i)
        if (&bufferPool[i] == buffer) bufferLent.Set(i, false);
}
