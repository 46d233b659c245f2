// Typed variables, their value records, variable lists and the default list Variables.
//
// Edge rules: lookups that find nothing give null or -1; positions outside
// 0..count-1 give null (operator[], Last, GetVarOfType) or -1 (V_Index);
// operations on a variable of the wrong type do nothing and give null, -1 or
// false. Nothing here throws on bad input.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "Container.h"
#include "MemBuffer.h"
#include "String.h"
#include "StringContainer.h"
#include "ValueContainers.h"

// One byte; codes 2..8 are defined, every other code is "undefined" and holds no value.
typedef uint8_t TVariableType;
// ORDER: the codes are stored in variable records, property stores and compiled expressions.
constexpr TVariableType vtUndefined = 0;
constexpr TVariableType vtInt = 2;
constexpr TVariableType vtDouble = 3;
constexpr TVariableType vtPoint = 4;
constexpr TVariableType vtComplex = 5;
constexpr TVariableType vtString = 6;
constexpr TVariableType vtArray = 7;
constexpr TVariableType vtArray2 = 8;

// Each change of a variable's type, and each variable made, counts one
// (the count only grows): a decoded expression that found its variables'
// types as it expects them need not look at them again while the count
// stands. Only the library itself reads the count; it starts at 1.
extern __attribute__((visibility("hidden"))) std::atomic<uint64_t> variableTypeChanges;
void CountTypeChange();

// A variable's type byte, read and written as a TVariableType; a write of
// another type than it holds is counted.
class TVariableTypeField {
public:
    TVariableTypeField() { CountTypeChange(); }
    TVariableTypeField(const TVariableTypeField& source) : code(source.code) { CountTypeChange(); }
    TVariableTypeField& operator=(TVariableType type) {
        if (type != code) {
            code = type;
            CountTypeChange();
        }
        return *this;
    }
    TVariableTypeField& operator=(const TVariableTypeField& source) { return *this = source.code; }
    operator TVariableType() const { return code; }
    // The byte itself, for looks that compare it where it lies.
    const TVariableType* Byte() const { return &code; }

private:
    TVariableType code = vtUndefined;
};

struct VPOINT {
    int64_t x;
    int64_t y;
};

struct VCOMPLEX {
    double re;
    double im;
};

// A reference to a variable as compiled code holds it. index1/index2 -1: no
// array index; field 0 x, 1 y, 2 re, 3 im, anything else the whole value.
struct VARINFO {
    int index;
    int index1;
    int index2;
    int field;
};

// 1-D array value: count items in use out of capacity allocated. Items lie
// side by side: int64_t, double, VPOINT, VCOMPLEX or TString objects.
struct ARRAY {
    TVariableType itemtype;
    int count;
    int capacity;
    void* items;
};

// 2-D array value: rows holds linecapacity row pointers, each row colcapacity
// items; item (i, j) is rows[i] column j.
struct ARRAY2 {
    TVariableType itemtype;
    int lines;
    int linecapacity;
    int cols;
    int colcapacity;
    void** rows;
};

// Largest item count of a 1-D array and cell count of a 2-D array; sizes and
// capacities beyond it fail instead of overflowing.
constexpr int kMaxArrayItems = 1 << 27;

class TVariableList;

class TVariable : public TContainerItem {
public:
    // What a listener is told: 0 a new value was assigned, 1 the array was
    // resized or had a line or column inserted or deleted.
    enum TListenAction { laAssigned = 0, laResized = 1 };
    typedef void (*TListener)(TVariableList& list, const VARINFO& ref, TListenAction action);

    union TValue {
        int64_t i;
        double d;
        VPOINT p;
        VCOMPLEX c;
        TString* s;
        ARRAY a;
        ARRAY2 a2;
    };

    // Empty name, type 0, info 0, relative, no listeners.
    TVariable();
    TVariable(const TString& name, int64_t v, int info);
    TVariable(const TString& name, double v, int info);
    TVariable(const TString& name, VPOINT v, int info);
    TVariable(const TString& name, VCOMPLEX v, int info);
    TVariable(const TString& name, const TString& v, int info);
    // A zeroed array of a's item type and size; a's items are not copied.
    TVariable(const TString& name, const ARRAY& a, int info);
    TVariable(const TString& name, const ARRAY2& a);
    // Copies through Assign, so absolute is not copied.
    TVariable(const TVariable& source);
    TVariable& operator=(const TVariable& source);
    TVariable& operator=(const TContainerItem& source);
    ~TVariable() override;

    // Copies name, type, info, listeners and a deep copy of the value from
    // another TVariable (absolute stays); other items and self do nothing.
    void Assign(const TContainerItem& source) override;
    // Takes over type, value, info, absolute and listeners of source, which is
    // left undefined without a value; the name stays.
    void MoveFrom(TVariable& source);
    // Releases the value (string, array storage) and makes the variable undefined.
    void FreeValue();

    TVariableList* OwnerList() const;
    // Zero value for int, double, point, complex and string; others unchanged.
    void Reset();

    // Appends fn unless present; null is ignored.
    void AddListener(TListener fn);
    void RemoveListener(TListener fn);
    // Null outside 0..count-1.
    TListener GetListener(int i) const;
    int GetListenerCount() const { return listeners.GetCount(); }
    // Calls every listener, first to last, with the owning list; nothing
    // when the variable belongs to no list.
    void FireListeners(const VARINFO& ref, TListenAction action);

    // Text of the value; items of a 1-D array joined by separator; 2-D arrays
    // and undefined types give "".
    TString AsString(char separator) const;

    // 1-D resize (negative taken as 0); returns the items, null for 0, for a
    // variable that is not a 1-D array and when growth fails (array unchanged).
    void* Resize(int n, bool notify);
    // 2-D resize; returns the row table, null when both sizes are 0, the
    // variable is not a 2-D array or growth fails (array unchanged).
    void** Resize(int lines, int cols, bool notify);
    // 1-D: inserts one zero item at i (0..count); other positions and types do nothing.
    void InsertLine(int i);
    // 1-D: removes item i; 2-D: removes line i; out of range does nothing.
    void DeleteLine(int i);
    // Column edits are list operations; these do nothing.
    void InsertCol(int) {}
    void DeleteCol(int) {}
    // 2-D edits behind the list's line and column operations: an index
    // outside the range, or another type, does nothing.
    void InsertArray2Line(int line);
    void InsertArray2Col(int col);
    void DeleteArray2Col(int col);
    // 1-D item i; -count..-1 count from the end; null outside or for other types.
    void* GetItem(int i) const;
    // 2-D item (i, j); null outside 0..lines-1 x 0..cols-1 or for other types.
    void* GetItem(int i, int j) const;
    // GetArrayItemSize of the item type for arrays, 0 otherwise.
    int GetItemSize() const;
    // 1-D: whether some item in use equals *v (TString equality for strings).
    bool IsArrayItem(const void* v) const;
    void ArrayResized();
    void Array2Resized();

    // Variable records: type u8, info i32, name, value by type. Readers
    // release the old value first, check every count against what remains
    // and return false, leaving the variable undefined, on damaged data.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    TString name;
    TVariableTypeField type;
    TValue value;
    bool absolute = false;
    int info = 0;
    TValueContainer<TListener> listeners;

private:
    void CopyValueFrom(const TVariable& source);
    void NotifyResized(int index1, int index2);
};

typedef TVariable::TListener TVariableListener;

class TVariableList : public TContainer {
public:
    TVariableList();
    ~TVariableList() override;

    // Origin of absolute references; Eval never changes it, the script language does.
    int GetBase() const { return base; }
    void SetBase(int newBase) { base = newBase; }
    // Count of new 1-D arrays and lines and columns of new 2-D arrays.
    int GetArraySize() const { return arraySize; }
    void SetArraySize(int size) { arraySize = size; }
    // Whether run-mode evaluations on the list may take the fast forms
    // (see SetFastForms in EvaluateEngine.h); on for a new list, and not
    // changed by what the list holds (assigning, reading, clearing).
    bool FastForms() const { return fastForms; }
    void SetFastForms(bool on) { fastForms = on; }

    // Appends a zero-valued variable; null for a type outside 2..8 or an
    // array item type outside 2..6.
    TVariable* AddVar(const TString& name, TVariableType type, TVariableType itemtype);
    // Appends a copy of v.
    TVariable* AddVar(const TVariable& v);
    // As AddVar for types 2..6 (null otherwise), then sets absolute.
    TVariable* NewVar(const TString& name, TVariableType type, bool absolute);
    int64_t* NewInt(const TString& name, bool absolute, int64_t v);
    double* NewDouble(const TString& name, bool absolute, double v);
    VPOINT* NewPoint(const TString& name, bool absolute);
    VCOMPLEX* NewComplex(const TString& name, bool absolute);
    TString* NewString(const TString& name, bool absolute, const TString& v);
    // Returns the items (row table); null when the item type is not 2..6.
    void* NewArray(const TString& name, TVariableType itemtype, bool absolute);
    void** NewArray2(const TString& name, TVariableType itemtype, bool absolute);
    // Delete and free the last variable of that name / that entry; nothing if none.
    void DeleteVar(const TString& name);
    void DeleteVar(TVariable* v);
    // The last variable of that name (later names hide earlier ones).
    TVariable* GetVar(const TString& name) const;
    int GetVarIndex(const TString& name) const;
    TVariable* operator[](int i) const;
    TVariable* Last() const;
    // The variable at i when it has that type; null otherwise. Compiled
    // references go through this, since the list may have changed under them.
    TVariable* GetVarOfType(int i, TVariableType type) const;
    // Stored reference of the variable at position (-1 outside the list).
    int V_Index(int position) const;
    // Position that a stored reference designates now.
    int V_Index(int stored, bool absolute) const;
    static TString GetTypeName(int type);

    // Array storage; these read no list state and are safe on distinct data
    // from any thread. CreateArray: count (negative taken as 0) zeroed items,
    // capacity 2 x count or 16 for 0 (at most kMaxArrayItems); a bad item type
    // or a count beyond kMaxArrayItems gives items null and count 0.
    // CreateArray2: at least 1 x 1, capacities twice each (exact when the
    // doubled cells would pass kMaxArrayItems); failure gives rows null.
    static ARRAY CreateArray(TVariableType itemtype, int count);
    static ARRAY2 CreateArray2(TVariableType itemtype, int lines, int cols);
    // For readers of stored arrays: exactly lines x cols zeroed cells; a size
    // of 0 gives an array without storage. False (out without storage) for a
    // bad item type, a negative size or more than kMaxArrayItems cells.
    static bool CreateStoredArray2(TVariableType itemtype, int lines, int cols, ARRAY2& out);
    // Release the storage; sizes and capacities become 0, the item type stays.
    static void FreeArray(ARRAY& a);
    static void FreeArray2(ARRAY2& a);
    // dst becomes a deep copy of src's items in use (a source without storage
    // gives a destination without storage). dst's old storage is not
    // released: free it first. dst == src does nothing.
    static void AssignArray(ARRAY& dst, const ARRAY& src);
    static void AssignArray2(ARRAY2& dst, const ARRAY2& src);
    // 8 for int and double, 16 for point and complex, 4 for string (its
    // storage is a TString object), 0 otherwise.
    static int GetArrayItemSize(TVariableType itemtype);

    // Array operations by position and by name: a position outside the list,
    // a name that no variable has or a variable of another type does nothing
    // and gives null or -1. Line and column edits act on 2-D arrays only
    // (DeleteArrayLine also on 1-D), rebuild the rows at exactly the new size
    // and notify the listeners with action 1.
    int GetArrayCount(int index) const;
    int GetArrayCount(const TString& name) const;
    void* ResizeArray(int index, int n);
    void* ResizeArray(const TString& name, int n);
    void** ResizeArray2(int index, int lines, int cols);
    void** ResizeArray2(const TString& name, int lines, int cols);
    void* GetArrayItem(int index, int i) const;
    void* GetArrayItem(const TString& name, int i) const;
    void* GetArray2Item(int index, int i, int j) const;
    void* GetArray2Item(const TString& name, int i, int j) const;
    void InsertArrayLine(int index, int line);
    void InsertArrayLine(const TString& name, int line);
    void InsertArrayCol(int index, int col);
    void InsertArrayCol(const TString& name, int col);
    void DeleteArrayLine(int index, int line);
    void DeleteArrayLine(const TString& name, int line);
    void DeleteArrayCol(int index, int col);
    void DeleteArrayCol(const TString& name, int col);
    // False when no 1-D array of strings (ints) has the name.
    bool FillStringArray(const TString& name, const TStringContainer& source);
    bool FillIntArray(const TString& name, const TIntContainer& source);

    // A new empty variable owned by this list (how stored lists are read back).
    void* CreateItem(int index) override;

    // A value for the list as it stands at its present count: two states of
    // the same count share one only when they hold the very same variables
    // below that count, so decoded expressions keep the variables they found
    // while it and the count stay the same. No two lists share one, and none
    // is 0; two counts of one list may share one.
    // Appending (Add, InsertItems at the end) onto a count never reached
    // since the last change below the end keeps the stamp; appending where
    // the very variable that was last there comes back onto the same
    // variables below gives the longer count its stamp of before again;
    // every other append gives it a stamp never seen before. Deleting from
    // the end (DeleteLast, DeleteSection or Delete reaching the last one)
    // gives the shorter count the stamp it had, since the variables below it
    // are the very ones it held then. Every other change through the list
    // (inserting or deleting before the end, freeing, exchanging, sorting,
    // shuffling, reading back, assigning, swapping, clearing) gives every
    // count a new stamp. Through a reference to the list's container base,
    // variables added are noticed at the next look (a new stamp) and every
    // free is; a change that only reorders variables, or takes one out
    // without freeing it and puts another in its place, is not.
    uint64_t GetLayoutStamp() const {
        const int count = GetCount();
        return __builtin_expect(count == trackedCount, 1) ? countStamps[count] : UntrackedStamp();
    }
    // Whether GetLayoutStamp would give stamp while the list holds count
    // variables, without making the new stamp a list changed behind its back
    // gives (which is never stamp): for the looks of every evaluation.
    [[gnu::always_inline]] bool HasLayoutStamp(int count, uint64_t stamp) const {
        return GetCount() == count && trackedCount == count && trackedStamp == stamp;
    }

    int Add(void* item) {
        const int at = TContainer::Add(item);
        Appended(at, &item, 1);
        return at;
    }
    void InsertItems(int i, void* const* items, int count) {
        const int before = GetCount();
        TContainer::InsertItems(i, items, count);
        if (i < before)
            Touch();
        else if (items != nullptr && count > 0)
            Appended(before, items, count);
    }

    // Appending n variables at the end and taking the last n off without
    // freeing them, as InsertItems and DeleteSection do there (n at most
    // the count for the second), for callers that lend variables for a while.
    void AppendVariables(void* const* items, int n) {
        const int before = GetCount();
        AppendPointers(items, n);
        Appended(before, items, n);
    }
    void TakeOffVariables(int n) {
        DropLastPointers(n);
        if (GetCount() < trackedCount) Track(GetCount());
    }

    // The container's operations that may move or free variables, each
    // giving every count a new stamp.
    void Insert(int i, void* item) {
        TContainer::Insert(i, item);
        Touch();
    }
    void* AddNew() {
        void* item = TContainer::AddNew();
        Touch();
        return item;
    }
    void Delete(int i, bool free = true) {
        if (i == GetCount() - 1) {
            CutTail(i, free);
            return;
        }
        TContainer::Delete(i, free);
        Touch();
    }
    void DeleteLast(bool free = true) { CutTail(GetCount() - 1, free); }
    void DeleteFirst(bool free = true) {
        TContainer::DeleteFirst(free);
        Touch();
    }
    void DeleteSection(int first, int last, bool free = true) {
        if (last >= GetCount() - 1) {
            CutTail(first, free);
            return;
        }
        TContainer::DeleteSection(first, last, free);
        Touch();
    }
    void DeleteRange(int first, int last, bool free = true) { DeleteSection(first, last, free); }
    bool DeleteItem(void* item, bool free = true) {
        const bool deleted = TContainer::DeleteItem(item, free);
        Touch();
        return deleted;
    }
    void DeleteAll(bool free = true) override {
        TContainer::DeleteAll(free);
        Touch();
    }
    void Clear() { DeleteAll(true); }
    void Assign(const TContainerItem& source) override {
        TContainer::Assign(source);
        Touch();
    }
    bool Concat(const TContainer& other) {
        const bool done = TContainer::Concat(other);
        Touch();
        return done;
    }
    void Exchange(int i, int j) {
        TContainer::Exchange(i, j);
        Touch();
    }
    void Exchange(int first1, int last1, int first2, int last2) {
        TContainer::Exchange(first1, last1, first2, last2);
        Touch();
    }
    bool Swap(TContainer& other);
    void Shuffle(int first, int last) {
        TContainer::Shuffle(first, last);
        Touch();
    }
    bool Rearrange(const int* order) {
        const bool done = TContainer::Rearrange(order);
        Touch();
        return done;
    }
    void Sort() {
        TContainer::Sort();
        Touch();
    }
    void Sort(int first, int last) {
        TContainer::Sort(first, last);
        Touch();
    }
    void Sort(int first, int last, TCompareItemsFunction compare, void* context) {
        TContainer::Sort(first, last, compare, context);
        Touch();
    }
    int RemoveIf(const void* value, int condition, TIntContainer& out) {
        const int removed = TContainer::RemoveIf(value, condition, out);
        Touch();
        return removed;
    }
    int RemoveIf(const void* value, int condition) {
        const int removed = TContainer::RemoveIf(value, condition);
        Touch();
        return removed;
    }
    bool ReadFromMemBuffer(TMemBuffer& buffer) override {
        const bool read = TContainer::ReadFromMemBuffer(buffer);
        Touch();
        return read;
    }
    bool LoadFromStream(FILE* file) override {
        const bool read = TContainer::LoadFromStream(file);
        Touch();
        return read;
    }
    void FreeItem(void* item) override {
        if (!cuttingTail) Touch();
        TContainer::FreeItem(item);
    }

    int base = 0;
    int arraySize = 0;

private:
    // What the last append at a position put there: the variable, the stamp
    // of the count below then, and the stamp it gave the longer count.
    struct TAppendRecord {
        const void* item;
        uint64_t below;
        uint64_t stamp;
    };
    // Every count up to the present one takes one new stamp.
    void Touch();
    // Removes the variables from first (clipped to 0) to the end; the
    // counts up to first keep their stamps.
    void CutTail(int first, bool free);
    // After n variables, items, were appended at position from on: the
    // stamps of the longer counts.
    [[gnu::always_inline]] void Appended(int from, void* const* items, int n) {
        if (__builtin_expect(from != trackedCount || from + n > stampCapacity, 0)) {
            AppendedSlowly(from, items, n);
            return;
        }
        for (int k = 0; k < n; ++k) StampAppended(from + k, items[k]);
        Track(from + n);
    }
    // The list follows its count again at count.
    [[gnu::always_inline]] void Track(int count) {
        trackedCount = count;
        trackedStamp = countStamps[count];
    }
    [[gnu::always_inline]] void StampAppended(int position, const void* item) {
        const uint64_t below = countStamps[position];
        TAppendRecord& record = appendRecords[position];
        if (position >= highWater) {
            highWater = position + 1;
            record = TAppendRecord{item, below, below};
        } else if (record.item != item || record.below != below) {
            NewAppendStamp(record, item, below);
        }
        countStamps[position + 1] = record.stamp;
    }
    [[gnu::noinline]] void AppendedSlowly(int from, void* const* items, int n);
    [[gnu::noinline]] void NewAppendStamp(TAppendRecord& record, const void* item, uint64_t below);
    // Room for the stamps of counts up to count.
    void ReserveStamps(int count);
    // The list was changed behind its back: a new stamp at every look.
    [[gnu::noinline]] uint64_t UntrackedStamp() const;

    // The stamps of counts 0..trackedCount (trackedCount is the list's
    // count unless the list was changed behind its back) and the records of
    // positions 0..stampCapacity-1.
    std::unique_ptr<uint64_t[]> countStamps;
    std::unique_ptr<TAppendRecord[]> appendRecords;
    int stampCapacity = 0;
    int trackedCount = 0;
    // The stamp of trackedCount (what the looks of every evaluation compare).
    uint64_t trackedStamp = 0;
    // Positions at or beyond it held no variable since the last Touch.
    int highWater = 0;
    bool cuttingTail = false;
    bool fastForms = true;

    TVariable* Append(TVariable* v);
    TVariable* VarOfType(const TString& name, TVariableType type) const;
};

// The default list, alive from library load to unload.
extern TVariableList& Variables;
TVariableList* GetVariables();

TVariable* NewVar(const TString& name, TVariableType type, bool absolute);
int64_t* NewInt(const TString& name, bool absolute, int64_t v);
double* NewDouble(const TString& name, bool absolute, double v);
VPOINT* NewPoint(const TString& name, bool absolute);
VCOMPLEX* NewComplex(const TString& name, bool absolute);
TString* NewString(const TString& name, bool absolute, const TString& v);
void* NewArray(const TString& name, TVariableType itemtype, bool absolute);
void** NewArray2(const TString& name, TVariableType itemtype, bool absolute);
void DeleteVar(const TString& name);
void DeleteVar(TVariable* v);
TVariable* GetVar(const TString& name);
int GetVarIndex(const TString& name);
int V_Index(int position);
int V_Index(int stored, bool absolute);

ARRAY CreateArray(TVariableType itemtype, int count);
ARRAY2 CreateArray2(TVariableType itemtype, int lines, int cols);
void FreeArray(ARRAY& a);
void FreeArray2(ARRAY2& a);
void AssignArray(ARRAY& dst, const ARRAY& src);
void AssignArray2(ARRAY2& dst, const ARRAY2& src);
int GetArrayItemSize(TVariableType itemtype);
void* ResizeArray(int index, int n);
void* ResizeArray(const TString& name, int n);
void** ResizeArray2(int index, int lines, int cols);
void** ResizeArray2(const TString& name, int lines, int cols);
void* GetArrayItem(int index, int i);
void* GetArrayItem(const TString& name, int i);
void* GetArray2Item(int index, int i, int j);
void* GetArray2Item(const TString& name, int i, int j);
void InsertArrayLine(int index, int line);
void InsertArrayLine(const TString& name, int line);
void InsertArrayCol(int index, int col);
void InsertArrayCol(const TString& name, int col);
void DeleteArrayLine(int index, int line);
void DeleteArrayLine(const TString& name, int line);
void DeleteArrayCol(int index, int col);
void DeleteArrayCol(const TString& name, int col);
bool FillStringArray(const TString& name, const TStringContainer& source);
bool FillIntArray(const TString& name, const TIntContainer& source);

// "int", "double", "point", "complex", "string"; arrays add "[]" or "[][]"
// to their item type's text; undefined types give "".
TString GetVarTypeName(TVariableType type, TVariableType itemtype);
TString GetVarTypeName(const TVariable* v);
// Display form: C formats "%lld", "%lf", "{%lld, %lld}", "{%lf, %lf}";
// 2-D lines joined by CR LF, items right-aligned per column when aligned.
TString GetVariableAsString(const TVariable* v, bool aligned);

// Display form of one array item of that type ("" for other types).
TString GetItemAsString(const void* item, TVariableType itemtype);

// A whole decimal int (blanks around it allowed); false and 0 otherwise.
bool EvalParseInt(const char* text, int& value);
// Blanks anywhere are skipped, one '-' may precede the first digit; any other
// character or a value beyond 64 bits gives false and 0. "" gives true and 0.
bool EvalParseInt(const char* text, int64_t& value);

// Single items of the record forms (string items are TString records).
void SaveArrayItem(const void* item, TVariableType itemtype, FILE* file);
bool LoadArrayItem(void* item, TVariableType itemtype, FILE* file);
void WriteArrayItemToMemBuffer(const void* item, TVariableType itemtype, TMemBuffer& buffer);
bool ReadArrayItemFromMemBuffer(void* item, TVariableType itemtype, TMemBuffer& buffer);
