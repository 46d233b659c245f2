// The sort command's records: the keyed items that a numeric or keyed sort
// orders, and the thread that tells the user-interface thread when a sort
// on worker threads has finished.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ClassThread.h"
#include "ObjectContainer.h"
#include "String.h"
#include "TaskDispatcher.h"

class TTextEditor;

// A line's index before the sort and its key: the key's text, and for an
// integer sort its value (0 when the key is no whole number), computed once.
class TExprSortItem : public TContainerItem {
public:
    TExprSortItem() { TExprSortItem::Init(); }
    TExprSortItem(const TExprSortItem& source);
    TExprSortItem(int index, const TString& key);
    TExprSortItem& operator=(const TExprSortItem& source);

    void Assign(const TContainerItem& source) override;
    // Index 0, empty key, value 0.
    void Init() override;

    int index = 0;
    TString key;
    int64_t number = 0;

private:
    friend class TExprSortItems;
    // The first eight bytes of key, big-endian, zeros past its end; set
    // by TExprSortItems::PrepareKeys.
    uint64_t prefix = 0;
    // Made in the list's own storage (see TExprSortItems).
    bool pooled = false;
};

// The keyed items of one sort. Sort() orders them, stably, by number when
// numeric is set, else by key as TString::Compare does; each comparison
// first reports ProgressChange(0, -3) on the editor when the items have no
// sort runner (a sort on this thread). The items it makes (NewItem) live in
// blocks of its own storage, side by side in the order made, and go with
// the list; items handed to it by Add are deleted as usual.
class TExprSortItems : public TObjectContainer<TExprSortItem> {
public:
    TExprSortItems() = default;
    TExprSortItems(const TExprSortItems& source);
    TExprSortItems& operator=(const TExprSortItems& source);
    ~TExprSortItems() override;

    // Notes the first bytes of every item's key, so that most comparisons
    // of a text sort end there. Call it after the keys are set and before
    // Sort; a key changed afterwards needs it again (without it, whole keys
    // are compared).
    void PrepareKeys();

    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
    int CompareItems(const void* a, const void* b) const override;

    TTextEditor* editor = nullptr;
    bool numeric = false;

private:
    static constexpr size_t kBlockItems = 4096;
    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    size_t usedInBlock = kBlockItems;
};

// Waits for group 0 of a dispatcher-thread-mode dispatcher, then sets the
// event. It starts at once and frees itself when it ends: its maker must not
// touch it after the constructor. The dispatcher and the event must outlive
// the wait (the event's owner waits for it before closing it).
class TSortWaitThread : public TThread {
public:
    TSortWaitThread(TTaskDispatcher* dispatcher, HANDLE event);

protected:
    void Execute() override;

private:
    TTaskDispatcher* dispatcher;
    HANDLE event;
};
