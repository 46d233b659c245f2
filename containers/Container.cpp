// TContainerBase and TContainer: list operations, sorting and the storage form.
#include "Container.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>

#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "ValueContainers.h"

namespace {

const int kHeaderSize = 24;  // end offset, count, increment, 12 flag bytes

std::mt19937& SharedRandom(std::unique_lock<std::mutex>& lock) {
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    lock = std::unique_lock<std::mutex>(mutex);
    return generator;
}

}  // namespace

TContainerSortRunner::~TContainerSortRunner() = default;

TContainerBase::TContainerBase() = default;

void TContainerBase::SetIncrement(int increment) { fIncrement = std::max(increment, 1); }

void TContainerBase::SetSortRunner(TContainerSortRunner* runner, int chunkSize) {
    fSortRunner = runner;
    fSortChunkSize = std::max(chunkSize, 2);
}

void TContainerBase::SetValueMode(int itemSize) {
    fValueItems = true;
    fObjectItems = false;
    fAssignItems = true;
    fItemSize = std::max(itemSize, 1);
}

void TContainerBase::SetObjectMode() {
    fValueItems = false;
    fItemSize = 0;
}

void TContainerBase::WriteFlags(TMemBuffer& buffer) const {
    buffer.AddByte(fValueItems ? 1 : 0);
    buffer.AddByte(fObjectItems ? 1 : 0);
    buffer.AddByte(fAssignItems ? 1 : 0);
    buffer.AddUInt32(static_cast<uint32_t>(fItemSize));
    buffer.AddByte(fFreeItems ? 1 : 0);
    buffer.AddByte(fOwnsItems ? 1 : 0);
    for (int i = 0; i < 3; ++i) buffer.AddByte(0);
}

TContainer::TContainer() { SetObjectMode(); }

TContainer::~TContainer() {
    // Derived classes free their own items in their destructors where FreeItem
    // is overridden; this frees what is left through the base hook.
    DeleteAll(fOwnsItems);
}

void TContainer::Init() {}

void* TContainer::ValueAt(int i) const {
    return const_cast<unsigned char*>(fValues.data()) + static_cast<size_t>(i) * static_cast<size_t>(fItemSize);
}

void* TContainer::GetItem(int i) const {
    if (i < 0 || i >= fCount) throw TSDPPBadIndex(i);
    return fValueItems ? ValueAt(i) : fPointers[static_cast<size_t>(i)];
}

void* TContainer::GetItems() const {
    if (fCount == 0) return nullptr;
    return fValueItems ? ValueAt(0) : const_cast<void**>(fPointers.data());
}

void TContainer::Reserve(int count) {
    // Grow by at least the increment so that long runs of Add stay cheap.
    const size_t wanted = static_cast<size_t>(count);
    const size_t capacity = fValueItems ? fValues.capacity() / static_cast<size_t>(fItemSize) : fPointers.capacity();
    if (wanted <= capacity) return;
    const size_t grown = std::max(wanted, capacity + std::max<size_t>(static_cast<size_t>(fIncrement), capacity / 2));
    if (fValueItems)
        fValues.reserve(grown * static_cast<size_t>(fItemSize));
    else
        fPointers.reserve(grown);
}

int TContainer::Add(void* item) {
    Insert(fCount, item);
    return fCount - 1;
}

void TContainer::Insert(int i, void* item) {
    i = std::clamp(i, 0, fCount);
    if (!fValueItems && i == fCount && fPointers.size() < fPointers.capacity()) {
        // Appending with room left, as Add mostly does.
        fPointers.push_back(item);
        ++fCount;
        return;
    }
    Reserve(fCount + 1);
    if (fValueItems) {
        const size_t at = static_cast<size_t>(i) * static_cast<size_t>(fItemSize);
        fValues.insert(fValues.begin() + static_cast<std::ptrdiff_t>(at), static_cast<size_t>(fItemSize), 0);
        if (item != nullptr) AssignItem(ValueAt(i), item);
    } else {
        fPointers.insert(fPointers.begin() + i, item);
    }
    ++fCount;
}

void TContainer::InsertItems(int i, void* const* items, int count) {
    if (items == nullptr || count <= 0) return;
    i = std::clamp(i, 0, fCount);
    if (fValueItems || fPointers.capacity() - fPointers.size() < static_cast<size_t>(count)) Reserve(fCount + count);
    if (fValueItems) {
        for (int k = 0; k < count; ++k) Insert(i + k, items[k]);
        return;
    }
    if (i == fCount) {
        for (int k = 0; k < count; ++k) fPointers.push_back(items[k]);
    } else {
        fPointers.insert(fPointers.begin() + i, items, items + count);
    }
    fCount += count;
}

void* TContainer::AddNew() {
    if (fValueItems) return GetItem(Add(nullptr));
    void* item = CreateItem(fCount);
    if (item == nullptr) return nullptr;
    Add(item);
    return item;
}

void TContainer::RemoveAt(int first, int count, bool free) {
    if (count <= 0) return;
    if (fValueItems) {
        const auto begin = fValues.begin() + static_cast<std::ptrdiff_t>(first) * fItemSize;
        fValues.erase(begin, begin + static_cast<std::ptrdiff_t>(count) * fItemSize);
    } else if (!free || !fFreeItems) {
        fPointers.erase(fPointers.begin() + first, fPointers.begin() + first + count);
    } else if (count == 1) {
        // As below, without a list for the one item.
        void* item = fPointers[static_cast<size_t>(first)];
        fPointers.erase(fPointers.begin() + first);
        --fCount;
        if (item != nullptr) FreeItem(item);
        return;
    } else {
        // Take the pointers out first, so FreeItem never sees a half-changed
        // list. Emptying the list takes its storage whole, so that a
        // container can still be emptied (and destroyed) when memory is out.
        std::vector<void*> removed;
        if (count == fCount) {
            removed.swap(fPointers);
        } else {
            removed.assign(fPointers.begin() + first, fPointers.begin() + first + count);
            fPointers.erase(fPointers.begin() + first, fPointers.begin() + first + count);
        }
        fCount -= count;
        for (void* item : removed)
            if (item != nullptr) FreeItem(item);
        return;
    }
    fCount -= count;
}

void TContainer::Delete(int i, bool free) {
    if (i >= 0 && i < fCount) RemoveAt(i, 1, free);
}

void TContainer::DeleteLast(bool free) { Delete(fCount - 1, free); }

void TContainer::DeleteFirst(bool free) { Delete(0, free); }

void TContainer::DeleteSection(int first, int last, bool free) {
    first = std::max(first, 0);
    last = std::min(last, fCount - 1);
    if (first <= last) RemoveAt(first, last - first + 1, free);
}

bool TContainer::DeleteItem(void* item, bool free) {
    for (int i = 0; i < fCount; ++i)
        if (GetItem(i) == item) {
            Delete(i, free);
            return true;
        }
    return false;
}

void TContainer::DeleteAll(bool free) { RemoveAt(0, fCount, free); }

bool TContainer::SameMode(const TContainer& other) const {
    return fValueItems == other.fValueItems && (!fValueItems || fItemSize == other.fItemSize);
}

void TContainer::Assign(const TContainerItem& source) {
    const TContainer* other = dynamic_cast<const TContainer*>(&source);
    if (other == nullptr || other == this || !SameMode(*other)) return;
    DeleteAll(true);
    Concat(*other);
}

bool TContainer::Concat(const TContainer& other) {
    if (!SameMode(other)) return false;
    const int count = other.fCount;  // other may be this container
    Reserve(fCount + count);
    for (int i = 0; i < count; ++i) {
        if (fValueItems) {
            Add(other.GetItem(i));
        } else {
            const void* item = other.GetItem(i);
            Add(item == nullptr ? nullptr : DuplicateItem(item));
        }
    }
    return true;
}

int TContainer::IndexOf(const void* item) const {
    for (int i = 0; i < fCount; ++i)
        if (CompareItems(GetItem(i), item) == 0) return i;
    return -1;
}

void TContainer::SetAll(const void* value) {
    if (!fValueItems || value == nullptr) return;
    for (int i = 0; i < fCount; ++i) AssignItem(ValueAt(i), value);
}

void TContainer::Exchange(int i, int j) {
    if (i < 0 || j < 0 || i >= fCount || j >= fCount || i == j) return;
    if (!fValueItems) {
        std::swap(fPointers[static_cast<size_t>(i)], fPointers[static_cast<size_t>(j)]);
        return;
    }
    unsigned char* a = static_cast<unsigned char*>(ValueAt(i));
    unsigned char* b = static_cast<unsigned char*>(ValueAt(j));
    std::swap_ranges(a, a + fItemSize, b);
}

void TContainer::Exchange(int first1, int last1, int first2, int last2) {
    if (first1 > first2) {
        std::swap(first1, first2);
        std::swap(last1, last2);
    }
    if (first1 < 0 || first1 > last1 || last1 >= first2 || first2 > last2 || last2 >= fCount) return;
    // New order: second range, the items between, first range.
    std::vector<int> order;
    for (int i = first2; i <= last2; ++i) order.push_back(i);
    for (int i = last1 + 1; i < first2; ++i) order.push_back(i);
    for (int i = first1; i <= last1; ++i) order.push_back(i);
    ApplyOrder(order, first1);
}

bool TContainer::Swap(TContainer& other) {
    if (!SameMode(other)) return false;
    fPointers.swap(other.fPointers);
    fValues.swap(other.fValues);
    std::swap(fCount, other.fCount);
    return true;
}

void TContainer::Shuffle(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, fCount - 1);
    if (first >= last) return;
    std::vector<int> order;
    for (int i = first; i <= last; ++i) order.push_back(i);
    {
        std::unique_lock<std::mutex> lock;
        std::shuffle(order.begin(), order.end(), SharedRandom(lock));
    }
    ApplyOrder(order, first);
}

// Position first+k takes the former item order[k].
void TContainer::ApplyOrder(const std::vector<int>& order, int first) {
    if (fValueItems) {
        std::vector<unsigned char> moved(order.size() * static_cast<size_t>(fItemSize));
        for (size_t k = 0; k < order.size(); ++k)
            std::memcpy(&moved[k * static_cast<size_t>(fItemSize)], ValueAt(order[k]), static_cast<size_t>(fItemSize));
        std::memcpy(ValueAt(first), moved.data(), moved.size());
    } else {
        std::vector<void*> moved(order.size());
        for (size_t k = 0; k < order.size(); ++k) moved[k] = fPointers[static_cast<size_t>(order[k])];
        std::copy(moved.begin(), moved.end(), fPointers.begin() + first);
    }
}

bool TContainer::Rearrange(const int* order) {
    if (order == nullptr) return false;
    std::vector<bool> seen(static_cast<size_t>(fCount), false);
    for (int k = 0; k < fCount; ++k) {
        if (order[k] < 0 || order[k] >= fCount || seen[static_cast<size_t>(order[k])]) return false;
        seen[static_cast<size_t>(order[k])] = true;
    }
    ApplyOrder(std::vector<int>(order, order + fCount), 0);
    return true;
}

void TContainer::Sort() { Sort(0, fCount - 1); }

void TContainer::Sort(int first, int last) {
    Sort(first, last, [](const void* a, const void* b, void* self) {
        return static_cast<const TContainer*>(self)->CompareItems(a, b);
    }, this);
}

namespace {

// Shared state of one sort: the positions of the range in their sorted order.
struct SortJob {
    std::vector<int> order;
    std::vector<int> scratch;
    std::function<bool(int, int)> less;
};

void MergeRuns(SortJob& job, size_t begin, size_t middle, size_t end) {
    std::merge(job.order.begin() + static_cast<std::ptrdiff_t>(begin),
               job.order.begin() + static_cast<std::ptrdiff_t>(middle),
               job.order.begin() + static_cast<std::ptrdiff_t>(middle),
               job.order.begin() + static_cast<std::ptrdiff_t>(end),
               job.scratch.begin() + static_cast<std::ptrdiff_t>(begin), job.less);
    std::copy(job.scratch.begin() + static_cast<std::ptrdiff_t>(begin),
              job.scratch.begin() + static_cast<std::ptrdiff_t>(end),
              job.order.begin() + static_cast<std::ptrdiff_t>(begin));
}

}  // namespace

void TContainer::Sort(int first, int last, TCompareItemsFunction compare, void* context) {
    first = std::max(first, 0);
    last = std::min(last, fCount - 1);
    if (first >= last || compare == nullptr) return;
    auto job = std::make_shared<SortJob>();
    for (int i = first; i <= last; ++i) job->order.push_back(i);
    job->less = [this, compare, context](int a, int b) { return compare(GetItem(a), GetItem(b), context) < 0; };
    if (fSortRunner == nullptr) {
        std::stable_sort(job->order.begin(), job->order.end(), job->less);
        ApplyOrder(job->order, first);
        return;
    }
    // Stage 0 sorts chunks; each later stage merges neighbouring runs; the last
    // stage moves the items. Every job touches its own part of the order only.
    job->scratch.resize(job->order.size());
    const size_t size = job->order.size();
    const size_t chunk = static_cast<size_t>(fSortChunkSize);
    std::vector<std::vector<TContainerSortRunner::TJob>> stages(1);
    for (size_t begin = 0; begin < size; begin += chunk) {
        const size_t end = std::min(size, begin + chunk);
        stages[0].push_back([job, begin, end] {
            std::stable_sort(job->order.begin() + static_cast<std::ptrdiff_t>(begin),
                             job->order.begin() + static_cast<std::ptrdiff_t>(end), job->less);
        });
    }
    for (size_t run = chunk; run < size; run *= 2) {
        stages.emplace_back();
        for (size_t begin = 0; begin + run < size; begin += 2 * run) {
            const size_t middle = begin + run, end = std::min(size, begin + 2 * run);
            stages.back().push_back([job, begin, middle, end] { MergeRuns(*job, begin, middle, end); });
        }
    }
    stages.push_back({[this, job, first] { ApplyOrder(job->order, first); }});
    fSortRunner->RunStages(0, std::move(stages));
}

bool TContainer::Matches(const void* item, const void* value, int condition) const {
    const int order = CompareItems(item, value);
    switch (condition) {
        case icEqual: return order == 0;
        case icNotEqual: return order != 0;
        case icLess: return order < 0;
        case icLessOrEqual: return order <= 0;
        case icGreater: return order > 0;
        case icGreaterOrEqual: return order >= 0;
        default: return false;
    }
}

int TContainer::GetItemsIf(const void* value, int condition, TIntContainer& out) const {
    int found = 0;
    for (int i = 0; i < fCount; ++i)
        if (Matches(GetItem(i), value, condition)) {
            out.Add(i);
            ++found;
        }
    return found;
}

int TContainer::GetItemsIf(const void* value, int condition) const {
    TIntContainer ignored;
    return GetItemsIf(value, condition, ignored);
}

int TContainer::RemoveIf(const void* value, int condition, TIntContainer& out) {
    TIntContainer found;
    GetItemsIf(value, condition, found);
    for (int k = found.GetCount() - 1; k >= 0; --k) Delete(found[k], true);
    out += found;
    return found.GetCount();
}

int TContainer::RemoveIf(const void* value, int condition) {
    TIntContainer ignored;
    return RemoveIf(value, condition, ignored);
}

void* TContainer::CreateItem(int) {
    if (!fValueItems) return nullptr;
    return new unsigned char[static_cast<size_t>(fItemSize)]();
}

void TContainer::FreeItem(void* item) {
    if (fValueItems)
        delete[] static_cast<unsigned char*>(item);
    else
        delete static_cast<TContainerItem*>(item);
}

void* TContainer::DuplicateItem(const void* item) {
    void* copy = CreateItem(-1);
    if (copy != nullptr) AssignItem(copy, item);
    return copy;
}

void TContainer::AssignItem(void* target, const void* source) {
    if (fValueItems)
        std::memmove(target, source, static_cast<size_t>(fItemSize));
    else
        static_cast<TContainerItem*>(target)->Assign(*static_cast<const TContainerItem*>(source));
}

int TContainer::CompareItems(const void* a, const void* b) const {
    if (fValueItems) {
        const int order = std::memcmp(a, b, static_cast<size_t>(fItemSize));
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    return std::less<const void*>()(a, b) ? -1 : (a == b ? 0 : 1);
}

void TContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    if (fValueItems)
        buffer.Add(item, fItemSize);
    else
        static_cast<const TContainerItem*>(item)->WriteToMemBuffer(buffer);
}

bool TContainer::ReadItem(TMemBuffer& buffer, void* item) {
    if (fValueItems) return buffer.Read(item, fItemSize);
    return static_cast<TContainerItem*>(item)->ReadFromMemBuffer(buffer);
}

void TContainer::WriteToMemBuffer(TMemBuffer& buffer) const {
    const int start = buffer.GetSize();
    buffer.AddUInt32(0);  // end offset, filled in below
    buffer.AddUInt32(static_cast<uint32_t>(fCount));
    buffer.AddUInt32(static_cast<uint32_t>(fIncrement));
    WriteFlags(buffer);
    for (int i = 0; i < fCount; ++i) {
        const void* item = GetItem(i);
        if (!fValueItems) {
            buffer.AddByte(item != nullptr ? 1 : 0);
            buffer.AddByte(item != nullptr ? GetItemMark() : 0);
            if (item == nullptr) continue;
        }
        WriteItem(buffer, item);
    }
    const uint32_t end = static_cast<uint32_t>(buffer.GetSize());
    unsigned char* head = static_cast<unsigned char*>(buffer.GetBlock()) + start;
    for (int k = 0; k < 4; ++k) head[k] = static_cast<unsigned char>(end >> (8 * k));
}

bool TContainer::ReadFromMemBuffer(TMemBuffer& buffer) {
    DeleteAll(true);
    const uint32_t start = static_cast<uint32_t>(buffer.GetReadPosition());
    uint32_t end = 0, count = 0, increment = 0, itemSize = 0;
    uint8_t flags[3];
    if (!buffer.ReadUInt32(end) || !buffer.ReadUInt32(count) || !buffer.ReadUInt32(increment) ||
        !buffer.Read(flags, 3) || !buffer.ReadUInt32(itemSize) || !buffer.SeekRead(5, 1))
        return false;
    if (end < start + kHeaderSize || end > static_cast<uint32_t>(buffer.GetSize())) return false;
    if ((flags[0] != 0) != fValueItems || (fValueItems && itemSize != static_cast<uint32_t>(fItemSize))) return false;
    // Each item needs at least one byte (two marks for objects): a count beyond
    // what remains is damaged, which also bounds the memory reserved below.
    const uint32_t minimum = fValueItems ? static_cast<uint32_t>(fItemSize) : 2;
    if (count > (end - static_cast<uint32_t>(buffer.GetReadPosition())) / minimum) return false;
    Reserve(static_cast<int>(count));
    for (uint32_t i = 0; i < count; ++i)
        if (!ReadOneItem(buffer)) return false;
    return static_cast<uint32_t>(buffer.GetReadPosition()) == end;
}

bool TContainer::ReadOneItem(TMemBuffer& buffer) {
    if (fValueItems) {
        Add(nullptr);
        if (ReadItem(buffer, ValueAt(fCount - 1))) return true;
        DeleteLast(true);
        return false;
    }
    uint8_t marks[2];
    if (!buffer.Read(marks, 2)) return false;
    if (marks[0] == 0 && marks[1] == 0) {
        if (!AcceptsNullItems()) return false;
        Add(nullptr);
        return true;
    }
    if (marks[0] != 1 || marks[1] != GetItemMark()) return false;
    void* item = CreateItem(fCount);
    if (item == nullptr) return false;
    if (!ReadItem(buffer, item)) {
        FreeItem(item);
        return false;
    }
    Add(item);
    return true;
}

void TContainer::SaveToStream(FILE* file) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool TContainer::LoadFromStream(FILE* file) {
    DeleteAll(true);
    TMemBuffer form;
    if (!ReadStreamBlock(file, 4, form)) return false;
    uint32_t end = 0;
    form.ReadUInt32(end);
    if (end < kHeaderSize || !ReadStreamBlock(file, end - 4, form)) return false;
    form.SeekRead(0);
    return ReadFromMemBuffer(form);
}
