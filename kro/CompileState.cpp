// The compiler's state for one compilation: the compile stack, units and line reading.
#include "CompileState.h"

#include "LineScan.h"
#include "Variables.h"

// ---- TCompileStack

TCompileStack::~TCompileStack() { DeleteAll(true); }

TCompileStackItem* TCompileStack::Push(int kind, int tokenIndex) {
    TCompileStackItem* item = new TCompileStackItem;
    item->kind = kind;
    item->tokenIndex = tokenIndex;
    Add(item);
    return item;
}

void TCompileStack::DropTopVariables() {
    TCompileStackItem* top = Top();
    if (top == nullptr) return;
    for (; top->variableCount > 0 && Variables.GetCount() > 0; --top->variableCount)
        Variables.Delete(Variables.GetCount() - 1, true);
    top->variableCount = 0;
}

void TCompileStack::Pop() {
    if (GetCount() == 0) return;
    DropTopVariables();
    DeleteLast(true);
}

TCompileStackItem* TCompileStack::Top() const { return At(GetCount() - 1); }

TCompileStackItem* TCompileStack::At(int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TCompileStackItem*>(GetItem(i)) : nullptr;
}

bool TCompileStack::Encloses(std::initializer_list<int> kinds) const {
    for (int i = GetCount() - 1; i >= 1; --i)
        for (int kind : kinds)
            if (At(i)->kind == kind) return true;
    return false;
}

void TCompileStack::FreeItem(void* item) { delete static_cast<TCompileStackItem*>(item); }

// ---- units

void TUnitSubsInfo::Assign(const TContainerItem& source) {
    const TUnitSubsInfo* other = dynamic_cast<const TUnitSubsInfo*>(&source);
    if (other == nullptr || other == this) return;
    name = other->name;
    lines = other->lines;
}

void TUnitSubsInfo::WriteToMemBuffer(TMemBuffer& buffer) const {
    name.WriteToMemBuffer(buffer);
    lines.WriteToMemBuffer(buffer);
}

bool TUnitSubsInfo::ReadFromMemBuffer(TMemBuffer& buffer) {
    return name.ReadFromMemBuffer(buffer) && lines.ReadFromMemBuffer(buffer);
}

TUnitSubsList::TUnitSubsList(const TUnitSubsList& other) : TContainer() {
    for (int i = 0; i < other.GetCount(); ++i) *this += *other[i];
}

TUnitSubsList::~TUnitSubsList() { DeleteAll(true); }

TUnitSubsInfo* TUnitSubsList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TUnitSubsInfo*>(GetItem(i)) : nullptr;
}

TUnitSubsInfo* TUnitSubsList::NewItem() { return static_cast<TUnitSubsInfo*>(AddNew()); }

TUnitSubsList& TUnitSubsList::operator+=(const TUnitSubsInfo& unit) {
    TUnitSubsInfo* copy = new TUnitSubsInfo;
    copy->Assign(unit);
    Add(copy);
    return *this;
}

TUnitSubsInfo* TUnitSubsList::Find(const TString& name) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->name == name) return (*this)[i];
    return nullptr;
}

bool TUnitSubsList::NewUnitFromResource(const TString& name, const TString& resourceName) {
    TStringContainer lines;
    // A null module searches the program first, then every loaded library.
    if (!lines.LoadFromResource(nullptr, resourceName.c_str())) return false;
    TUnitSubsInfo* unit = NewItem();
    unit->name = name;
    unit->lines = lines;
    return true;
}

void* TUnitSubsList::CreateItem(int) { return new TUnitSubsInfo; }
void TUnitSubsList::FreeItem(void* item) { delete static_cast<TUnitSubsInfo*>(item); }

TStringContainerList::~TStringContainerList() { DeleteAll(true); }

TStringContainer* TStringContainerList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TStringContainer*>(GetItem(i)) : nullptr;
}

void TStringContainerList::AddStrings(const TStringContainer& lines) { Add(new TStringContainer(lines)); }

void TStringContainerList::FreeItem(void* item) { delete static_cast<TStringContainer*>(item); }

// ---- TCompileState

TCompileState::TCompileState(const TStringContainer& source, const TStringContainer& directories,
                             const TUnitSubsList& unitList)
    : unitDirectories(directories), units(unitList) {
    sources.AddStrings(source);
    unitNames.Add("program");
    lineCounters.Add(0);
    stack.Push(bkProgram, -1);
}

void TCompileState::PushUnit(const TStringContainer& lines, const TString& name) {
    sources.AddStrings(lines);
    unitNames.Add(name);
    lineCounters.Add(0);
}

bool TCompileState::IsUnitOpen(const TString& name) const {
    // A unit pushed by the same import line but not yet begun is no ancestor.
    for (int i = 1; i < unitNames.GetCount(); ++i)
        if (unitNames[i] == name && lineCounters[i] > 0) return true;
    return false;
}

int TCompileState::CurrentLine() const { return lineCounters.Last(); }

TString TCompileState::CurrentUnitName() const { return unitNames.Last(); }

bool TCompileState::ReadRawLine(TString& line) {
    const TStringContainer& lines = *sources.Last();
    int& counter = lineCounters.Last();
    if (counter >= lines.GetCount()) {
        if (sources.GetCount() == 1) return false;
        sources.DeleteLast(true);
        unitNames.DeleteLast(true);
        lineCounters.DeleteLast(true);
        line = TString();
        return true;
    }
    line = lines[counter++];
    return true;
}

bool TCompileState::ReadLine(TString& line) {
    if (!ReadRawLine(line)) return false;
    CutComment(line);
    TrimLineEnd(line);
    // A backslash at the end joins the next line; at the end of the text
    // the line is taken without it.
    while (line.Length() > 0 && line[line.Length() - 1] == '\\') {
        line = line.Left(line.Length() - 1);
        TString next;
        if (!ReadRawLine(next)) break;
        CutComment(next);
        TrimLineEnd(next);
        line += next;
    }
    return true;
}
