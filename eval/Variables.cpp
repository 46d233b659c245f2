// TVariable values and copies, TVariableList lookups and references, and the default list.
#include "Variables.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

// ---------------------------------------------------------------- TVariable

std::atomic<uint64_t> variableTypeChanges{1};

void CountTypeChange() { variableTypeChanges.fetch_add(1, std::memory_order_relaxed); }

TVariable::TVariable() { std::memset(&value, 0, sizeof value); }

TVariable::TVariable(const TString& name, int64_t v, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtInt;
    value.i = v;
}

TVariable::TVariable(const TString& name, double v, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtDouble;
    value.d = v;
}

TVariable::TVariable(const TString& name, VPOINT v, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtPoint;
    value.p = v;
}

TVariable::TVariable(const TString& name, VCOMPLEX v, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtComplex;
    value.c = v;
}

TVariable::TVariable(const TString& name, const TString& v, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtString;
    value.s = new TString(v);
}

TVariable::TVariable(const TString& name, const ARRAY& a, int info) : TVariable() {
    this->name = name;
    this->info = info;
    type = vtArray;
    value.a = TVariableList::CreateArray(a.itemtype, a.count);
}

TVariable::TVariable(const TString& name, const ARRAY2& a) : TVariable() {
    this->name = name;
    type = vtArray2;
    value.a2 = TVariableList::CreateArray2(a.itemtype, a.lines, a.cols);
}

TVariable::TVariable(const TVariable& source) : TVariable() { Assign(source); }

TVariable& TVariable::operator=(const TVariable& source) {
    Assign(source);
    return *this;
}

TVariable& TVariable::operator=(const TContainerItem& source) {
    Assign(source);
    return *this;
}

TVariable::~TVariable() { FreeValue(); }

void TVariable::FreeValue() {
    if (type == vtString)
        delete value.s;
    else if (type == vtArray)
        TVariableList::FreeArray(value.a);
    else if (type == vtArray2)
        TVariableList::FreeArray2(value.a2);
    std::memset(&value, 0, sizeof value);
    type = vtUndefined;
}

void TVariable::Assign(const TContainerItem& source) {
    const TVariable* other = dynamic_cast<const TVariable*>(&source);
    // Copying onto itself would free the value it is about to read.
    if (other == nullptr || other == this) return;
    FreeValue();
    name = other->name;
    info = other->info;
    listeners.Assign(other->listeners);
    CopyValueFrom(*other);
}

void TVariable::CopyValueFrom(const TVariable& source) {
    type = source.type;
    switch (type) {
        case vtString:
            value.s = new TString(source.value.s != nullptr ? *source.value.s : TString());
            break;
        case vtArray:
            TVariableList::AssignArray(value.a, source.value.a);
            break;
        case vtArray2:
            TVariableList::AssignArray2(value.a2, source.value.a2);
            break;
        default:
            value = source.value;
            break;
    }
}

void TVariable::MoveFrom(TVariable& source) {
    if (&source == this) return;
    FreeValue();
    type = source.type;
    value = source.value;
    info = source.info;
    absolute = source.absolute;
    listeners.Assign(source.listeners);
    source.listeners.Clear();
    std::memset(&source.value, 0, sizeof source.value);
    source.type = vtUndefined;
}

TVariableList* TVariable::OwnerList() const { return dynamic_cast<TVariableList*>(GetOwner()); }

void TVariable::Reset() {
    switch (type) {
        case vtInt:
            value.i = 0;
            break;
        case vtDouble:
            value.d = 0;
            break;
        case vtPoint:
            value.p = VPOINT{0, 0};
            break;
        case vtComplex:
            value.c = VCOMPLEX{0, 0};
            break;
        case vtString:
            if (value.s != nullptr) value.s->Clear();
            break;
        default:
            break;
    }
}

void TVariable::AddListener(TListener fn) {
    if (fn != nullptr && listeners.IndexOf(fn) < 0) listeners.Add(fn);
}

void TVariable::RemoveListener(TListener fn) {
    const int at = listeners.IndexOf(fn);
    if (at >= 0) listeners.Delete(at);
}

TVariable::TListener TVariable::GetListener(int i) const {
    return i >= 0 && i < listeners.GetCount() ? listeners[i] : nullptr;
}

void TVariable::FireListeners(const VARINFO& ref, TListenAction action) {
    TVariableList* list = OwnerList();
    if (list == nullptr) return;
    for (int i = 0; i < listeners.GetCount(); ++i) listeners[i](*list, ref, action);
}

void TVariable::NotifyResized(int index1, int index2) {
    TVariableList* list = OwnerList();
    if (list == nullptr) return;
    const VARINFO ref{list->IndexOf(static_cast<TContainerItem*>(this)), index1, index2, -1};
    FireListeners(ref, laResized);
}

void TVariable::ArrayResized() {
    if (type == vtArray) NotifyResized(value.a.count, -1);
}

void TVariable::Array2Resized() {
    if (type == vtArray2) NotifyResized(value.a2.lines, value.a2.cols);
}

// ------------------------------------------------------------ TVariableList

TVariableList::TVariableList() {
    SetIncrement(64);
    Touch();
}

TVariableList::~TVariableList() { DeleteAll(true); }

namespace {
// Layout stamps of all lists come from one count, so that no two share one;
// each thread takes a block of it at a time and hands out the block's
// stamps without waiting for other threads.
constexpr uint64_t kStampBlock = uint64_t{1} << 24;
std::atomic<uint64_t> stampBlocks{0};
__attribute__((tls_model("initial-exec"))) thread_local uint64_t lastStamp = 0;
__attribute__((tls_model("initial-exec"))) thread_local uint64_t stampsLeft = 0;

// The first of count new stamps in a row.
uint64_t NewStamps(uint64_t count) {
    if (stampsLeft < count) {
        lastStamp = stampBlocks.fetch_add(kStampBlock, std::memory_order_relaxed);
        stampsLeft = kStampBlock;
    }
    stampsLeft -= count;
    lastStamp += count;
    return lastStamp - count + 1;
}

}  // namespace

void TVariableList::ReserveStamps(int count) {
    if (count <= stampCapacity && countStamps != nullptr) return;
    const int capacity = std::max({count, 2 * stampCapacity, 64});
    std::unique_ptr<uint64_t[]> stamps(new uint64_t[static_cast<size_t>(capacity) + 1]);
    std::unique_ptr<TAppendRecord[]> records(new TAppendRecord[static_cast<size_t>(capacity)]);
    if (stampCapacity > 0) {
        std::copy(countStamps.get(), countStamps.get() + stampCapacity + 1, stamps.get());
        std::copy(appendRecords.get(), appendRecords.get() + stampCapacity, records.get());
    }
    countStamps = std::move(stamps);
    appendRecords = std::move(records);
    stampCapacity = capacity;
}

// No record below the new high-water mark can match again: their stamps
// of the count below are all older than the new one.
void TVariableList::Touch() {
    const int count = GetCount();
    ReserveStamps(count);
    std::fill(countStamps.get(), countStamps.get() + count + 1, NewStamps(1));
    Track(count);
    highWater = count;
}

// Until the list's own next append or cut follows it again, every look
// gives a stamp never seen before (nothing here changes the list, so that
// looking stays safe wherever reading the list is).
uint64_t TVariableList::UntrackedStamp() const { return NewStamps(1); }

void TVariableList::AppendedSlowly(int from, void* const* items, int n) {
    if (from != trackedCount) {
        Touch();
        return;
    }
    ReserveStamps(from + n);
    for (int k = 0; k < n; ++k) StampAppended(from + k, items[k]);
    Track(from + n);
}

void TVariableList::NewAppendStamp(TAppendRecord& record, const void* item, uint64_t below) {
    record = TAppendRecord{item, below, NewStamps(1)};
}

// The variables below first stay where they were: the counts up to first
// keep their stamps. Freeing what is cut off is part of the cut.
void TVariableList::CutTail(int first, bool free) {
    const int count = GetCount();
    first = std::max(first, 0);
    if (first >= count) return;
    cuttingTail = true;
    TContainer::DeleteSection(first, count - 1, free);
    cuttingTail = false;
    if (first <= trackedCount) Track(first);
}

bool TVariableList::Swap(TContainer& other) {
    const bool swapped = TContainer::Swap(other);
    Touch();
    if (TVariableList* list = dynamic_cast<TVariableList*>(&other)) list->Touch();
    return swapped;
}

void* TVariableList::CreateItem(int) {
    Touch();
    TVariable* v = new TVariable;
    v->SetOwner(this);
    return static_cast<TContainerItem*>(v);
}

TVariable* TVariableList::Append(TVariable* v) {
    v->SetOwner(this);
    Add(static_cast<TContainerItem*>(v));
    return v;
}

static bool IsItemType(TVariableType itemtype) { return itemtype >= vtInt && itemtype <= vtString; }

TVariable* TVariableList::AddVar(const TString& name, TVariableType type, TVariableType itemtype) {
    if (type < vtInt || type > vtArray2) return nullptr;
    if ((type == vtArray || type == vtArray2) && !IsItemType(itemtype)) return nullptr;
    TVariable* v = new TVariable;
    v->name = name;
    v->type = type;
    if (type == vtString)
        v->value.s = new TString;
    else if (type == vtArray)
        v->value.a = CreateArray(itemtype, arraySize);
    else if (type == vtArray2)
        v->value.a2 = CreateArray2(itemtype, arraySize, arraySize);
    return Append(v);
}

TVariable* TVariableList::AddVar(const TVariable& v) { return Append(new TVariable(v)); }

TVariable* TVariableList::NewVar(const TString& name, TVariableType type, bool absolute) {
    if (type < vtInt || type > vtString) return nullptr;
    TVariable* v = AddVar(name, type, vtUndefined);
    v->absolute = absolute;
    return v;
}

int64_t* TVariableList::NewInt(const TString& name, bool absolute, int64_t v) {
    TVariable* variable = NewVar(name, vtInt, absolute);
    variable->value.i = v;
    return &variable->value.i;
}

double* TVariableList::NewDouble(const TString& name, bool absolute, double v) {
    TVariable* variable = NewVar(name, vtDouble, absolute);
    variable->value.d = v;
    return &variable->value.d;
}

VPOINT* TVariableList::NewPoint(const TString& name, bool absolute) {
    return &NewVar(name, vtPoint, absolute)->value.p;
}

VCOMPLEX* TVariableList::NewComplex(const TString& name, bool absolute) {
    return &NewVar(name, vtComplex, absolute)->value.c;
}

TString* TVariableList::NewString(const TString& name, bool absolute, const TString& v) {
    TVariable* variable = NewVar(name, vtString, absolute);
    *variable->value.s = v;
    return variable->value.s;
}

void* TVariableList::NewArray(const TString& name, TVariableType itemtype, bool absolute) {
    TVariable* v = AddVar(name, vtArray, itemtype);
    if (v == nullptr) return nullptr;
    v->absolute = absolute;
    return v->value.a.items;
}

void** TVariableList::NewArray2(const TString& name, TVariableType itemtype, bool absolute) {
    TVariable* v = AddVar(name, vtArray2, itemtype);
    if (v == nullptr) return nullptr;
    v->absolute = absolute;
    return v->value.a2.rows;
}

void TVariableList::DeleteVar(const TString& name) {
    const int at = GetVarIndex(name);
    if (at >= 0) Delete(at, true);
}

void TVariableList::DeleteVar(TVariable* v) {
    if (v != nullptr) DeleteItem(static_cast<TContainerItem*>(v), true);
}

int TVariableList::GetVarIndex(const TString& name) const {
    for (int i = GetCount() - 1; i >= 0; --i)
        if ((*this)[i]->name == name) return i;
    return -1;
}

TVariable* TVariableList::GetVar(const TString& name) const { return (*this)[GetVarIndex(name)]; }

TVariable* TVariableList::operator[](int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return static_cast<TVariable*>(static_cast<TContainerItem*>(GetItem(i)));
}

TVariable* TVariableList::Last() const { return (*this)[GetCount() - 1]; }

TVariable* TVariableList::GetVarOfType(int i, TVariableType type) const {
    TVariable* v = (*this)[i];
    return v != nullptr && v->type == type ? v : nullptr;
}

TVariable* TVariableList::VarOfType(const TString& name, TVariableType type) const {
    return GetVarOfType(GetVarIndex(name), type);
}

int TVariableList::V_Index(int position) const {
    const TVariable* v = (*this)[position];
    if (v == nullptr) return -1;
    return v->absolute ? position - base : GetCount() - 1 - position;
}

int TVariableList::V_Index(int stored, bool absolute) const {
    return absolute ? base + stored : GetCount() - 1 - stored;
}

TString TVariableList::GetTypeName(int type) {
    // ORDER: indexed by TVariableType code.
    static const char* const names[] = {"undefined", "undefined", "int",     "double", "point",
                                        "complex",   "string",    "array_1", "array_2"};
    return TString(type >= 0 && type <= vtArray2 ? names[type] : "undefined");
}

// ------------------------------------------------------ the default list

namespace {
alignas(TVariableList) unsigned char variablesStorage[sizeof(TVariableList)];
bool variablesAlive = false;
}  // namespace

TVariableList& Variables = *reinterpret_cast<TVariableList*>(variablesStorage);

// Called by the library's initialisation, once.
void CreateDefaultVariables() {
    if (variablesAlive) return;
    new (variablesStorage) TVariableList;
    variablesAlive = true;
}

void DestroyDefaultVariables() {
    if (!variablesAlive) return;
    Variables.~TVariableList();
    variablesAlive = false;
}

TVariableList* GetVariables() { return variablesAlive ? &Variables : nullptr; }

TVariable* NewVar(const TString& name, TVariableType type, bool absolute) {
    return Variables.NewVar(name, type, absolute);
}
int64_t* NewInt(const TString& name, bool absolute, int64_t v) { return Variables.NewInt(name, absolute, v); }
double* NewDouble(const TString& name, bool absolute, double v) { return Variables.NewDouble(name, absolute, v); }
VPOINT* NewPoint(const TString& name, bool absolute) { return Variables.NewPoint(name, absolute); }
VCOMPLEX* NewComplex(const TString& name, bool absolute) { return Variables.NewComplex(name, absolute); }
TString* NewString(const TString& name, bool absolute, const TString& v) {
    return Variables.NewString(name, absolute, v);
}
void* NewArray(const TString& name, TVariableType itemtype, bool absolute) {
    return Variables.NewArray(name, itemtype, absolute);
}
void** NewArray2(const TString& name, TVariableType itemtype, bool absolute) {
    return Variables.NewArray2(name, itemtype, absolute);
}
void DeleteVar(const TString& name) { Variables.DeleteVar(name); }
void DeleteVar(TVariable* v) { Variables.DeleteVar(v); }
TVariable* GetVar(const TString& name) { return Variables.GetVar(name); }
int GetVarIndex(const TString& name) { return Variables.GetVarIndex(name); }
int V_Index(int position) { return Variables.V_Index(position); }
int V_Index(int stored, bool absolute) { return Variables.V_Index(stored, absolute); }
