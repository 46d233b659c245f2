// TContainerBase and TContainer: an ordered list of owned items, either object
// pointers or fixed-size values stored side by side, with its storage forms.
//
// Index rules: GetItem and operator[] throw TSDPPBadIndex outside 0..count-1;
// Insert clips its position to 0..count; Delete, Exchange and the range
// operations ignore indices outside the list; an inverted range does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ContainerErrors.h"
#include "ContainerItem.h"

class TIntContainer;
class TMemBuffer;

// Runs the work of a background sort. A task dispatcher implements it; a
// container with a runner set hands its Sort to it and returns at once.
class TContainerSortRunner {
public:
    using TJob = std::function<void()>;
    virtual ~TContainerSortRunner();
    // Runs the stages one after another as tasks of the group; the jobs of one
    // stage may run in parallel, and a stage starts when the one before it has
    // finished. Returns without waiting.
    virtual void RunStages(int group, std::vector<std::vector<TJob>> stages) = 0;
};

// Conditions of GetItemsIf and RemoveIf: an item matches when CompareItems(item,
// value) relates to 0 as named. ORDER: callers pass the numbers.
enum TItemCondition {
    icEqual = 0,
    icNotEqual = 1,
    icLess = 2,
    icLessOrEqual = 3,
    icGreater = 4,
    icGreaterOrEqual = 5,
};

// Comparison for Sort: negative, 0 or positive as a sorts before, with or after b.
typedef int (*TCompareItemsFunction)(const void* a, const void* b, void* context);

// Mode settings of a container; they are its class's own and are written as the
// 12 flag bytes of the storage form: value items, object items, assign items,
// u32 item size, free items, owns items, three reserved zero bytes.
class TContainerBase : public TContainerItem {
public:
    TContainerBase();

    bool GetValueItems() const { return fValueItems; }
    int GetItemSize() const { return fItemSize; }
    bool GetFreeItems() const { return fFreeItems; }
    // With free items off, deleting never frees an item (the container only lends them).
    void SetFreeItems(bool freeItems) { fFreeItems = freeItems; }
    bool GetOwnsItems() const { return fOwnsItems; }
    // With owns items off, the destructor leaves the items alone.
    void SetOwnsItems(bool ownsItems) { fOwnsItems = ownsItems; }
    // Growth step of the storage (at least 1); also the storage form's header word.
    int GetIncrement() const { return fIncrement; }
    virtual void SetIncrement(int increment);

    // Background sorting: with a runner set, Sort runs as its jobs of group 0 in
    // stages over chunks of chunkSize items (at least 2) and returns at once; the
    // caller must leave the container alone until the group has finished.
    void SetSortRunner(TContainerSortRunner* runner, int chunkSize = 4096);
    TContainerSortRunner* GetSortRunner() const { return fSortRunner; }
    int GetSortChunkSize() const { return fSortChunkSize; }

    void WriteFlags(TMemBuffer& buffer) const;

protected:
    // Value mode: items are copies of itemSize bytes each.
    void SetValueMode(int itemSize);
    void SetObjectMode();

    bool fValueItems = false;
    bool fObjectItems = false;
    bool fAssignItems = false;
    int fItemSize = 0;
    bool fFreeItems = true;
    bool fOwnsItems = true;
    int fIncrement = 16;
    TContainerSortRunner* fSortRunner = nullptr;
    int fSortChunkSize = 4096;
};

class TContainer : public TContainerBase {
public:
    TContainer();
    TContainer(const TContainer&) = delete;
    TContainer& operator=(const TContainer&) = delete;
    // Frees the items when the container owns them and free items is on. A
    // derived class whose FreeItem differs calls DeleteAll in its own destructor,
    // since the base destructor reaches only the base FreeItem.
    ~TContainer() override;

    int GetCount() const { return fCount; }
    void* GetItem(int i) const;
    void* operator[](int i) const { return GetItem(i); }
    // The raw storage: an array of item pointers, or the values side by side; null when empty.
    void* GetItems() const;

    // Object mode: appends the pointer and takes it over. Value mode: appends a
    // copy of the itemSize bytes at item (zeros for null). Returns the index.
    int Add(void* item);
    void Insert(int i, void* item);
    // As count calls of Insert(i + k, items[k]), i clipped to 0..count; in
    // object mode with one move of the items after i, however many go in.
    void InsertItems(int i, void* const* items, int count);
    // Appends a new item made by CreateItem (zeros in value mode); null when
    // CreateItem makes none.
    void* AddNew();

    // Object mode only, for lists that lend out items for a while: the item
    // pointers; appending count pointers at the end and taking the last
    // count off without freeing them (what InsertItems at the end and
    // DeleteSection(count - n, count - 1, false) do), inline.
    void* const* PointerItems() const { return fPointers.data(); }
    void AppendPointers(void* const* items, int count) {
        if (fPointers.capacity() - fPointers.size() < static_cast<size_t>(count)) Reserve(fCount + count);
        for (int k = 0; k < count; ++k) fPointers.push_back(items[k]);
        fCount += count;
    }
    void DropLastPointers(int count) {
        fPointers.resize(fPointers.size() - static_cast<size_t>(count));
        fCount -= count;
    }

    // Removes item i; it is freed when free is true and the free-items setting is on.
    void Delete(int i, bool free = true);
    void DeleteLast(bool free = true);
    void DeleteFirst(bool free = true);
    void DeleteSection(int first, int last, bool free = true);
    void DeleteRange(int first, int last, bool free = true) { DeleteSection(first, last, free); }
    // Removes the item at this address (the first one); false when it is not held.
    bool DeleteItem(void* item, bool free = true);
    virtual void DeleteAll(bool free = true);
    void Clear() { DeleteAll(true); }

    // Replaces the content with copies of the source's items (a container of the
    // same mode and item size); other sources leave it unchanged.
    void Assign(const TContainerItem& source) override;
    // Appends copies of the other container's items; false when its mode or item
    // size differs.
    bool Concat(const TContainer& other);
    // First index whose item CompareItems finds equal to item; -1 when none.
    int IndexOf(const void* item) const;
    // Sets every value item to a copy of value (value mode only).
    void SetAll(const void* value);

    void Exchange(int i, int j);
    // Swaps the inclusive ranges [first1, last1] and [first2, last2]; nothing
    // when a range is empty, outside the list, or the ranges overlap.
    void Exchange(int first1, int last1, int first2, int last2);
    // Swaps the whole content (items, count, storage) with other when both have
    // the same mode and item size; false otherwise.
    bool Swap(TContainer& other);
    // Random order of the items first..last (clipped).
    void Shuffle(int first, int last);
    // Position k takes the former item order[k]; order must hold each index
    // 0..count-1 once, otherwise nothing changes and the result is false.
    bool Rearrange(const int* order);

    // Ascending by CompareItems, or by compare with context, over first..last
    // (clipped). The sort is stable. With a sort runner set, see SetSortRunner.
    void Sort();
    void Sort(int first, int last);
    void Sort(int first, int last, TCompareItemsFunction compare, void* context);

    // Indices of the items matching (condition, value), appended to out;
    // returns how many. RemoveIf deletes them (freeing) and appends their former
    // indices. An unknown condition matches nothing.
    int GetItemsIf(const void* value, int condition, TIntContainer& out) const;
    int GetItemsIf(const void* value, int condition) const;
    int RemoveIf(const void* value, int condition, TIntContainer& out);
    int RemoveIf(const void* value, int condition);

    // Storage form: u32 end offset (from the start of the buffer, also when
    // containers nest), u32 count, u32 increment, the 12 flag bytes, then the
    // items: value items by WriteItem; object items as the marks 01 and
    // GetItemMark() followed by WriteItem, or 00 00 for a null item. The reader
    // replaces the content; on damaged data it returns false and keeps the items
    // read so far. It refuses a form whose value mode or item size differs; the
    // header word and the other flags stay the reader's own class settings.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    // FILE forms: the same bytes, the end offset counted from where the
    // container starts in the stream.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;

    // Hooks for derived containers.
    // A new item for position index (index -1: a free-standing copy target);
    // the base makes zeroed storage in value mode and nothing in object mode.
    virtual void* CreateItem(int index);
    virtual void FreeItem(void* item);
    virtual void* DuplicateItem(const void* item);
    virtual void AssignItem(void* target, const void* source);
    // The base compares values byte by byte and objects by address.
    virtual int CompareItems(const void* a, const void* b) const;
    // Item bodies of the storage form. The base writes value items as their
    // raw bytes and object items through TContainerItem's memory-buffer form.
    virtual void WriteItem(TMemBuffer& buffer, const void* item) const;
    virtual bool ReadItem(TMemBuffer& buffer, void* item);
    // Second mark byte written before each object item.
    virtual uint8_t GetItemMark() const { return 0; }
    // Whether a stored null item (00 00) is sound here; a container whose
    // items are always objects (string lists, object containers) refuses one
    // as damage.
    virtual bool AcceptsNullItems() const { return true; }

    // Puts the container into its class's mode; called by constructors.
    void Init() override;

protected:
    void* ValueAt(int i) const;

private:
    bool SameMode(const TContainer& other) const;
    void Reserve(int count);
    void RemoveAt(int first, int count, bool free);
    void ApplyOrder(const std::vector<int>& order, int first);
    bool Matches(const void* item, const void* value, int condition) const;
    bool ReadOneItem(TMemBuffer& buffer);

    std::vector<void*> fPointers;
    std::vector<unsigned char> fValues;
    int fCount = 0;
};
