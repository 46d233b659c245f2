// Array variables: storage of ARRAY and ARRAY2 values, resizing, line and column edits.
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "Variables.h"

namespace {

bool IsItemType(TVariableType itemtype) { return itemtype >= vtInt && itemtype <= vtString; }

// Bytes one item takes in memory (a string item is a TString object).
size_t ItemBytes(TVariableType itemtype) {
    switch (itemtype) {
        case vtInt:
        case vtDouble:
            return 8;
        case vtPoint:
        case vtComplex:
            return 16;
        case vtString:
            return sizeof(TString);
        default:
            return 0;
    }
}

void* ItemAt(TVariableType itemtype, void* items, int64_t i) {
    if (itemtype == vtString) return static_cast<TString*>(items) + i;
    return static_cast<unsigned char*>(items) + static_cast<size_t>(i) * ItemBytes(itemtype);
}

// Zeroed (empty) storage of n items; null for n <= 0, a bad item type, too
// many items or a failed allocation.
void* AllocateItems(TVariableType itemtype, int64_t n) {
    if (n <= 0 || n > kMaxArrayItems || !IsItemType(itemtype)) return nullptr;
    if (itemtype == vtString) return new (std::nothrow) TString[static_cast<size_t>(n)];
    return new (std::nothrow) unsigned char[static_cast<size_t>(n) * ItemBytes(itemtype)]();
}

void ReleaseItems(TVariableType itemtype, void* items) {
    if (items == nullptr) return;
    if (itemtype == vtString)
        delete[] static_cast<TString*>(items);
    else
        delete[] static_cast<unsigned char*>(items);
}

void CopyItem(TVariableType itemtype, void* target, const void* source) {
    if (itemtype == vtString)
        *static_cast<TString*>(target) = *static_cast<const TString*>(source);
    else
        std::memcpy(target, source, ItemBytes(itemtype));
}

// Moves an item into a place whose old content is not needed any more.
void MoveItem(TVariableType itemtype, void* target, void* source) {
    if (itemtype == vtString)
        std::swap(*static_cast<TString*>(target), *static_cast<TString*>(source));
    else
        std::memcpy(target, source, ItemBytes(itemtype));
}

void ClearItem(TVariableType itemtype, void* item) {
    if (itemtype == vtString)
        static_cast<TString*>(item)->Clear();
    else
        std::memset(item, 0, ItemBytes(itemtype));
}

// Capacity doubled from current until it holds wanted, at most
// kMaxArrayItems; -1 when wanted itself is too large.
int64_t GrownCapacity(int64_t current, int64_t wanted) {
    if (wanted > kMaxArrayItems) return -1;
    int64_t capacity = std::max<int64_t>(current, 1) * 2;
    while (capacity < wanted) capacity *= 2;
    return std::min<int64_t>(capacity, kMaxArrayItems);
}

void ReleaseRows(TVariableType itemtype, void** rows, int64_t count) {
    if (rows == nullptr) return;
    for (int64_t i = 0; i < count; ++i) ReleaseItems(itemtype, rows[i]);
    delete[] rows;
}

// A row table of lines rows of cols zeroed items each; null on failure.
void** AllocateRows(TVariableType itemtype, int64_t lines, int64_t cols) {
    if (lines < 0 || cols < 0 || lines * std::max<int64_t>(cols, 1) > kMaxArrayItems) return nullptr;
    void** rows = new (std::nothrow) void*[static_cast<size_t>(lines)]();
    if (rows == nullptr) return nullptr;
    for (int64_t i = 0; i < lines && cols > 0; ++i) {
        rows[i] = AllocateItems(itemtype, cols);
        if (rows[i] == nullptr) {
            ReleaseRows(itemtype, rows, i);
            return nullptr;
        }
    }
    return rows;
}

// Ensures room for n items, keeping items 0..count-1; false (unchanged) on failure.
bool GrowArray(ARRAY& a, int n) {
    if (a.items == nullptr || a.capacity == 0) {
        ARRAY made = TVariableList::CreateArray(a.itemtype, n);
        if (made.items == nullptr) return false;
        made.count = 0;  // nothing was in use
        a = made;
        return true;
    }
    if (a.itemtype == vtString) {
        ARRAY made = TVariableList::CreateArray(a.itemtype, n);
        if (made.items == nullptr) return false;
        for (int i = 0; i < a.count; ++i) MoveItem(vtString, ItemAt(vtString, made.items, i), ItemAt(vtString, a.items, i));
        ReleaseItems(vtString, a.items);
        a.items = made.items;
        a.capacity = made.capacity;
        return true;
    }
    const int64_t capacity = GrownCapacity(a.capacity, n);
    void* items = AllocateItems(a.itemtype, capacity);
    if (items == nullptr) return false;
    std::memcpy(items, a.items, static_cast<size_t>(a.count) * ItemBytes(a.itemtype));
    ReleaseItems(a.itemtype, a.items);
    a.items = items;
    a.capacity = static_cast<int>(capacity);
    return true;
}

// Shrinks the row table to exactly the lines in use, releasing spare rows,
// so that line and column edits never leave rows of another length behind.
bool TrimRowTable(ARRAY2& a) {
    if (a.linecapacity == a.lines) return true;
    void** rows = new (std::nothrow) void*[static_cast<size_t>(a.lines)]();
    if (rows == nullptr) return false;
    std::copy(a.rows, a.rows + a.lines, rows);
    for (int i = a.lines; i < a.linecapacity; ++i) ReleaseItems(a.itemtype, a.rows[i]);
    delete[] a.rows;
    a.rows = rows;
    a.linecapacity = a.lines;
    return true;
}

// Replaces every row in use by a row of newCols items: item j of the new row
// is item sourceColumn(j) of the old row, or zero when that is -1.
template <typename ColumnMap>
bool RebuildColumns(ARRAY2& a, int newCols, ColumnMap sourceColumn) {
    if (!TrimRowTable(a)) return false;
    std::vector<void*> fresh(static_cast<size_t>(a.lines), nullptr);
    for (int i = 0; i < a.lines && newCols > 0; ++i) {
        fresh[static_cast<size_t>(i)] = AllocateItems(a.itemtype, newCols);
        if (fresh[static_cast<size_t>(i)] == nullptr) {
            for (void* row : fresh) ReleaseItems(a.itemtype, row);
            return false;
        }
    }
    for (int i = 0; i < a.lines; ++i) {
        for (int j = 0; j < newCols; ++j) {
            const int from = sourceColumn(j);
            if (from >= 0) MoveItem(a.itemtype, ItemAt(a.itemtype, fresh[static_cast<size_t>(i)], j), ItemAt(a.itemtype, a.rows[i], from));
        }
        ReleaseItems(a.itemtype, a.rows[i]);
        a.rows[i] = fresh[static_cast<size_t>(i)];
    }
    a.cols = newCols;
    a.colcapacity = newCols;
    return true;
}

}  // namespace

// ------------------------------------------------------------ value storage

int TVariableList::GetArrayItemSize(TVariableType itemtype) {
    // A string item counts as a 4-byte reference here; its storage is a TString object.
    return itemtype == vtString ? 4 : static_cast<int>(ItemBytes(itemtype));
}

ARRAY TVariableList::CreateArray(TVariableType itemtype, int count) {
    ARRAY a{itemtype, 0, 0, nullptr};
    count = std::max(count, 0);
    if (count > kMaxArrayItems) return a;
    const int64_t capacity = count == 0 ? 16 : std::min<int64_t>(2 * static_cast<int64_t>(count), kMaxArrayItems);
    a.items = AllocateItems(itemtype, capacity);
    if (a.items == nullptr) return a;
    a.count = count;
    a.capacity = static_cast<int>(capacity);
    return a;
}

ARRAY2 TVariableList::CreateArray2(TVariableType itemtype, int lines, int cols) {
    ARRAY2 a{itemtype, 0, 0, 0, 0, nullptr};
    lines = std::max(lines, 1);
    cols = std::max(cols, 1);
    if (!IsItemType(itemtype) || static_cast<int64_t>(lines) * cols > kMaxArrayItems) return a;
    int64_t lineCapacity = 2 * static_cast<int64_t>(lines);
    int64_t colCapacity = 2 * static_cast<int64_t>(cols);
    if (lineCapacity * colCapacity > kMaxArrayItems) {
        lineCapacity = lines;
        colCapacity = cols;
    }
    a.rows = AllocateRows(itemtype, lineCapacity, colCapacity);
    if (a.rows == nullptr) return a;
    a.lines = lines;
    a.cols = cols;
    a.linecapacity = static_cast<int>(lineCapacity);
    a.colcapacity = static_cast<int>(colCapacity);
    return a;
}

bool TVariableList::CreateStoredArray2(TVariableType itemtype, int lines, int cols, ARRAY2& out) {
    out = ARRAY2{itemtype, 0, 0, 0, 0, nullptr};
    if (!IsItemType(itemtype) || lines < 0 || cols < 0 || static_cast<int64_t>(lines) * cols > kMaxArrayItems)
        return false;
    if (lines == 0 || cols == 0) return true;
    out = CreateArray2(itemtype, lines, cols);
    out.lines = lines;
    out.cols = cols;
    return out.rows != nullptr;
}

void TVariableList::FreeArray(ARRAY& a) {
    ReleaseItems(a.itemtype, a.items);
    a.items = nullptr;
    a.count = 0;
    a.capacity = 0;
}

void TVariableList::FreeArray2(ARRAY2& a) {
    ReleaseRows(a.itemtype, a.rows, a.linecapacity);
    a.rows = nullptr;
    a.lines = a.cols = a.linecapacity = a.colcapacity = 0;
}

void TVariableList::AssignArray(ARRAY& dst, const ARRAY& src) {
    if (&dst == &src) return;
    if (src.items == nullptr) {
        dst = ARRAY{src.itemtype, 0, 0, nullptr};
        return;
    }
    dst = CreateArray(src.itemtype, src.count);
    if (dst.items == nullptr) return;
    for (int i = 0; i < src.count; ++i)
        CopyItem(src.itemtype, ItemAt(src.itemtype, dst.items, i), ItemAt(src.itemtype, src.items, i));
}

void TVariableList::AssignArray2(ARRAY2& dst, const ARRAY2& src) {
    if (&dst == &src) return;
    dst = ARRAY2{src.itemtype, 0, 0, 0, 0, nullptr};
    if (src.rows == nullptr) return;
    dst = CreateArray2(src.itemtype, src.lines, src.cols);
    if (dst.rows == nullptr) return;
    dst.lines = src.lines;
    dst.cols = src.cols;
    for (int i = 0; i < src.lines; ++i)
        for (int j = 0; j < src.cols; ++j)
            CopyItem(src.itemtype, ItemAt(src.itemtype, dst.rows[i], j), ItemAt(src.itemtype, src.rows[i], j));
}

// --------------------------------------------------------- TVariable arrays

void* TVariable::Resize(int n, bool notify) {
    if (type != vtArray) return nullptr;
    ARRAY& a = value.a;
    n = std::max(n, 0);
    if (n == 0) {
        TVariableList::FreeArray(a);
        return nullptr;
    }
    if (n > a.capacity && !GrowArray(a, n)) return nullptr;
    a.count = n;
    if (notify) ArrayResized();
    return a.items;
}

void** TVariable::Resize(int lines, int cols, bool notify) {
    if (type != vtArray2) return nullptr;
    ARRAY2& a = value.a2;
    lines = std::max(lines, 0);
    cols = std::max(cols, 0);
    if (lines == 0 && cols == 0) {
        TVariableList::FreeArray2(a);
        if (notify) Array2Resized();
        return nullptr;
    }
    if (a.rows != nullptr && lines < a.linecapacity && cols < a.colcapacity) {
        a.lines = lines;
        a.cols = cols;
    } else if (a.rows == nullptr || a.linecapacity == 0 || a.colcapacity == 0) {
        // No cell holds a value: start afresh.
        ARRAY2 made = TVariableList::CreateArray2(a.itemtype, lines, cols);
        if (made.rows == nullptr) return nullptr;
        TVariableList::FreeArray2(a);
        a = made;
        a.lines = lines;
        a.cols = cols;
    } else {
        int64_t lineCapacity = GrownCapacity(a.linecapacity, lines);
        int64_t colCapacity = GrownCapacity(a.colcapacity, cols);
        if (lineCapacity < 0 || colCapacity < 0) return nullptr;
        if (lineCapacity * colCapacity > kMaxArrayItems) {
            lineCapacity = std::max(lines, 1);
            colCapacity = std::max(cols, 1);
        }
        void** rows = AllocateRows(a.itemtype, lineCapacity, colCapacity);
        if (rows == nullptr) return nullptr;
        const int keepLines = static_cast<int>(std::min<int64_t>(a.lines, lineCapacity));
        const int keepCols = static_cast<int>(std::min<int64_t>(a.cols, colCapacity));
        for (int i = 0; i < keepLines; ++i)
            for (int j = 0; j < keepCols; ++j)
                MoveItem(a.itemtype, ItemAt(a.itemtype, rows[i], j), ItemAt(a.itemtype, a.rows[i], j));
        ReleaseRows(a.itemtype, a.rows, a.linecapacity);
        a.rows = rows;
        a.lines = lines;
        a.cols = cols;
        a.linecapacity = static_cast<int>(lineCapacity);
        a.colcapacity = static_cast<int>(colCapacity);
    }
    if (notify) Array2Resized();
    return a.rows;
}

void TVariable::InsertLine(int i) {
    if (type != vtArray) return;
    ARRAY& a = value.a;
    if (i < 0 || i > a.count) return;
    if (a.count == a.capacity && !GrowArray(a, a.count + 1)) return;
    const TVariableType t = a.itemtype;
    for (int k = a.count; k > i; --k) MoveItem(t, ItemAt(t, a.items, k), ItemAt(t, a.items, k - 1));
    ClearItem(t, ItemAt(t, a.items, i));
    ++a.count;
    ArrayResized();
}

void TVariable::DeleteLine(int i) {
    if (type == vtArray) {
        ARRAY& a = value.a;
        if (i < 0 || i >= a.count) return;
        const TVariableType t = a.itemtype;
        // The removed item is emptied and travels to the first spare place.
        ClearItem(t, ItemAt(t, a.items, i));
        for (int k = i; k < a.count - 1; ++k) {
            if (t == vtString)
                MoveItem(t, ItemAt(t, a.items, k), ItemAt(t, a.items, k + 1));
            else
                std::memcpy(ItemAt(t, a.items, k), ItemAt(t, a.items, k + 1), ItemBytes(t));
        }
        ClearItem(t, ItemAt(t, a.items, a.count - 1));
        --a.count;
        ArrayResized();
        return;
    }
    if (type != vtArray2) return;
    ARRAY2& a = value.a2;
    if (i < 0 || i >= a.lines || !TrimRowTable(a)) return;
    ReleaseItems(a.itemtype, a.rows[i]);
    std::copy(a.rows + i + 1, a.rows + a.lines, a.rows + i);
    --a.lines;
    a.rows[a.lines] = nullptr;
    // The table keeps one unused slot; it counts as a spare row.
    a.linecapacity = a.lines + 1;
    TrimRowTable(a);
    Array2Resized();
}

void TVariable::InsertArray2Line(int line) {
    if (type != vtArray2) return;
    ARRAY2& a = value.a2;
    if (line < 0 || line > a.lines) return;
    void* fresh = a.colcapacity > 0 ? AllocateItems(a.itemtype, a.colcapacity) : nullptr;
    if (a.colcapacity > 0 && fresh == nullptr) return;
    void** rows = new (std::nothrow) void*[static_cast<size_t>(a.lines) + 1]();
    if (rows == nullptr) {
        ReleaseItems(a.itemtype, fresh);
        return;
    }
    std::copy(a.rows, a.rows + line, rows);
    rows[line] = fresh;
    std::copy(a.rows + line, a.rows + a.lines, rows + line + 1);
    for (int i = a.lines; i < a.linecapacity; ++i) ReleaseItems(a.itemtype, a.rows[i]);
    delete[] a.rows;
    a.rows = rows;
    ++a.lines;
    a.linecapacity = a.lines;
    Array2Resized();
}

void TVariable::InsertArray2Col(int col) {
    if (type != vtArray2) return;
    ARRAY2& a = value.a2;
    if (col < 0 || col > a.cols) return;
    if (!RebuildColumns(a, a.cols + 1, [col](int j) { return j < col ? j : j == col ? -1 : j - 1; })) return;
    Array2Resized();
}

void TVariable::DeleteArray2Col(int col) {
    if (type != vtArray2) return;
    ARRAY2& a = value.a2;
    if (col < 0 || col >= a.cols) return;
    if (!RebuildColumns(a, a.cols - 1, [col](int j) { return j < col ? j : j + 1; })) return;
    Array2Resized();
}

void* TVariable::GetItem(int i) const {
    if (type != vtArray || value.a.items == nullptr) return nullptr;
    const ARRAY& a = value.a;
    if (i < 0) i += a.count;
    if (i < 0 || i >= a.count) return nullptr;
    return ItemAt(a.itemtype, a.items, i);
}

void* TVariable::GetItem(int i, int j) const {
    if (type != vtArray2 || value.a2.rows == nullptr) return nullptr;
    const ARRAY2& a = value.a2;
    if (i < 0 || i >= a.lines || j < 0 || j >= a.cols || a.rows[i] == nullptr) return nullptr;
    return ItemAt(a.itemtype, a.rows[i], j);
}

int TVariable::GetItemSize() const {
    if (type == vtArray) return TVariableList::GetArrayItemSize(value.a.itemtype);
    if (type == vtArray2) return TVariableList::GetArrayItemSize(value.a2.itemtype);
    return 0;
}

bool TVariable::IsArrayItem(const void* v) const {
    if (type != vtArray || v == nullptr) return false;
    const TVariableType t = value.a.itemtype;
    for (int i = 0; i < value.a.count; ++i) {
        const void* item = ItemAt(t, value.a.items, i);
        if (t == vtString ? *static_cast<const TString*>(item) == *static_cast<const TString*>(v)
                          : std::memcmp(item, v, ItemBytes(t)) == 0)
            return true;
    }
    return false;
}

// ------------------------------------------------------- list array operations

int TVariableList::GetArrayCount(int index) const {
    const TVariable* v = GetVarOfType(index, vtArray);
    return v != nullptr ? v->value.a.count : -1;
}
int TVariableList::GetArrayCount(const TString& name) const { return GetArrayCount(GetVarIndex(name)); }

void* TVariableList::ResizeArray(int index, int n) {
    TVariable* v = GetVarOfType(index, vtArray);
    return v != nullptr ? v->Resize(n, true) : nullptr;
}
void* TVariableList::ResizeArray(const TString& name, int n) { return ResizeArray(GetVarIndex(name), n); }

void** TVariableList::ResizeArray2(int index, int lines, int cols) {
    TVariable* v = GetVarOfType(index, vtArray2);
    return v != nullptr ? v->Resize(lines, cols, true) : nullptr;
}
void** TVariableList::ResizeArray2(const TString& name, int lines, int cols) {
    return ResizeArray2(GetVarIndex(name), lines, cols);
}

void* TVariableList::GetArrayItem(int index, int i) const {
    const TVariable* v = GetVarOfType(index, vtArray);
    return v != nullptr ? v->GetItem(i) : nullptr;
}
void* TVariableList::GetArrayItem(const TString& name, int i) const { return GetArrayItem(GetVarIndex(name), i); }

void* TVariableList::GetArray2Item(int index, int i, int j) const {
    const TVariable* v = GetVarOfType(index, vtArray2);
    return v != nullptr ? v->GetItem(i, j) : nullptr;
}
void* TVariableList::GetArray2Item(const TString& name, int i, int j) const {
    return GetArray2Item(GetVarIndex(name), i, j);
}

void TVariableList::InsertArrayLine(int index, int line) {
    if (TVariable* v = GetVarOfType(index, vtArray2)) v->InsertArray2Line(line);
}
void TVariableList::InsertArrayLine(const TString& name, int line) { InsertArrayLine(GetVarIndex(name), line); }

void TVariableList::InsertArrayCol(int index, int col) {
    if (TVariable* v = GetVarOfType(index, vtArray2)) v->InsertArray2Col(col);
}
void TVariableList::InsertArrayCol(const TString& name, int col) { InsertArrayCol(GetVarIndex(name), col); }

void TVariableList::DeleteArrayLine(int index, int line) {
    if (TVariable* v = (*this)[index]) v->DeleteLine(line);
}
void TVariableList::DeleteArrayLine(const TString& name, int line) { DeleteArrayLine(GetVarIndex(name), line); }

void TVariableList::DeleteArrayCol(int index, int col) {
    if (TVariable* v = GetVarOfType(index, vtArray2)) v->DeleteArray2Col(col);
}
void TVariableList::DeleteArrayCol(const TString& name, int col) { DeleteArrayCol(GetVarIndex(name), col); }

bool TVariableList::FillStringArray(const TString& name, const TStringContainer& source) {
    TVariable* v = VarOfType(name, vtArray);
    if (v == nullptr || v->value.a.itemtype != vtString) return false;
    const int n = source.GetCount();
    if (v->Resize(n, true) == nullptr && n > 0) return false;
    for (int k = 0; k < n; ++k) *static_cast<TString*>(v->GetItem(k)) = source[k];
    return true;
}

bool TVariableList::FillIntArray(const TString& name, const TIntContainer& source) {
    TVariable* v = VarOfType(name, vtArray);
    if (v == nullptr || v->value.a.itemtype != vtInt) return false;
    const int n = source.GetCount();
    if (v->Resize(n, true) == nullptr && n > 0) return false;
    for (int k = 0; k < n; ++k) *static_cast<int64_t*>(v->GetItem(k)) = static_cast<int64_t>(source[k]);
    return true;
}

// ------------------------------------------------ free functions on Variables

ARRAY CreateArray(TVariableType itemtype, int count) { return TVariableList::CreateArray(itemtype, count); }
ARRAY2 CreateArray2(TVariableType itemtype, int lines, int cols) {
    return TVariableList::CreateArray2(itemtype, lines, cols);
}
void FreeArray(ARRAY& a) { TVariableList::FreeArray(a); }
void FreeArray2(ARRAY2& a) { TVariableList::FreeArray2(a); }
void AssignArray(ARRAY& dst, const ARRAY& src) { TVariableList::AssignArray(dst, src); }
void AssignArray2(ARRAY2& dst, const ARRAY2& src) { TVariableList::AssignArray2(dst, src); }
int GetArrayItemSize(TVariableType itemtype) { return TVariableList::GetArrayItemSize(itemtype); }
void* ResizeArray(int index, int n) { return Variables.ResizeArray(index, n); }
void* ResizeArray(const TString& name, int n) { return Variables.ResizeArray(name, n); }
void** ResizeArray2(int index, int lines, int cols) { return Variables.ResizeArray2(index, lines, cols); }
void** ResizeArray2(const TString& name, int lines, int cols) { return Variables.ResizeArray2(name, lines, cols); }
void* GetArrayItem(int index, int i) { return Variables.GetArrayItem(index, i); }
void* GetArrayItem(const TString& name, int i) { return Variables.GetArrayItem(name, i); }
void* GetArray2Item(int index, int i, int j) { return Variables.GetArray2Item(index, i, j); }
void* GetArray2Item(const TString& name, int i, int j) { return Variables.GetArray2Item(name, i, j); }
void InsertArrayLine(int index, int line) { Variables.InsertArrayLine(index, line); }
void InsertArrayLine(const TString& name, int line) { Variables.InsertArrayLine(name, line); }
void InsertArrayCol(int index, int col) { Variables.InsertArrayCol(index, col); }
void InsertArrayCol(const TString& name, int col) { Variables.InsertArrayCol(name, col); }
void DeleteArrayLine(int index, int line) { Variables.DeleteArrayLine(index, line); }
void DeleteArrayLine(const TString& name, int line) { Variables.DeleteArrayLine(name, line); }
void DeleteArrayCol(int index, int col) { Variables.DeleteArrayCol(index, col); }
void DeleteArrayCol(const TString& name, int col) { Variables.DeleteArrayCol(name, col); }
bool FillStringArray(const TString& name, const TStringContainer& source) {
    return Variables.FillStringArray(name, source);
}
bool FillIntArray(const TString& name, const TIntContainer& source) { return Variables.FillIntArray(name, source); }
