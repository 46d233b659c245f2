// TJavaParser: the hooks that collect classes and method signatures, and the outline records.
#include "JavaParser.h"

#include <typeinfo>

#include "SymbolScan.h"

namespace {

// Parameter lists are short; the string list's default growth step of 256
// would give every method record kilobytes of unused room.
const int kParamIncrement = 4;

// Settings of a container that a record made by the parser starts with.
bool SameSettings(const TContainer& a, const TContainer& b) {
    return a.GetFreeItems() == b.GetFreeItems() && a.GetOwnsItems() == b.GetOwnsItems() &&
           a.GetIncrement() == b.GetIncrement() && a.GetSortRunner() == b.GetSortRunner() &&
           a.GetSortChunkSize() == b.GetSortChunkSize();
}

bool SameSettings(const TStringContainer& a, const TStringContainer& b) {
    return SameSettings(static_cast<const TContainer&>(a), static_cast<const TContainer&>(b)) &&
           a.GetReduceCapacity() == b.GetReduceCapacity() && a.GetMaxLineLength() == b.GetMaxLineLength() &&
           a.GetTruncated() == b.GetTruncated() && a.GetReading() == b.GetReading() &&
           a.GetDosLineEnds() == b.GetDosLineEnds();
}

// A record that a new one of its class can be made from: of that very class,
// freeing what it holds, with the settings it was made with.
bool Reusable(const TJavaMethodData& method) {
    static const TJavaMethodData made;
    return typeid(method) == typeid(TJavaMethodData) && SameSettings(method.params, made.params);
}

bool Reusable(const TJavaClassData& record) {
    static const TJavaClassData made;
    return typeid(record) == typeid(TJavaClassData) && SameSettings(record, made);
}

// to holds copies of the lines of from; its own lines are reused.
void CopyLines(const TStringContainer& from, TStringContainer& to) {
    const int count = from.GetCount();
    if (to.GetCount() > count) to.DeleteSection(count, to.GetCount() - 1);
    for (int i = 0; i < to.GetCount(); ++i) to[i] = from[i];
    for (int i = to.GetCount(); i < count; ++i) to.TContainer::Add(to.DuplicateItem(&from[i]));
}

}  // namespace

TJavaMethodData::TJavaMethodData() { params.SetIncrement(kParamIncrement); }

TJavaMethodData::TJavaMethodData(const TJavaMethodData& source)
    : TContainerItem(source), line(source.line), name(source.name) {
    params.SetIncrement(kParamIncrement);
    params = source.params;
}

TJavaMethodData& TJavaMethodData::operator=(const TJavaMethodData& source) {
    if (this != &source) {
        line = source.line;
        name = source.name;
        params = source.params;
    }
    return *this;
}

void TJavaMethodData::Assign(const TContainerItem& source) {
    if (const auto* method = dynamic_cast<const TJavaMethodData*>(&source)) *this = *method;
}

bool TJavaMethodData::Compatible(const TContainerItem& source) const {
    return dynamic_cast<const TJavaMethodData*>(&source) != nullptr;
}

TString TJavaMethodData::AsString() const { return name + "(" + params.GetText(", ") + ")"; }

void TJavaClassData::Assign(const TContainerItem& source) {
    const auto* other = dynamic_cast<const TJavaClassData*>(&source);
    if (other == nullptr || other == this) return;
    TObjectContainer<TJavaMethodData>::Assign(source);
    name = other->name;
}

TJavaMethodData* TJavaClassData::operator[](int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return &TObjectContainer<TJavaMethodData>::operator[](i);
}

TJavaParser::TJavaParser() {
    fLookahead = 1;
    fBlockMask = btParenthesis | btCurly;
}

TJavaParser::~TJavaParser() = default;

void TJavaParser::KeepRecords() {
    fSpareClasses.erase(fSpareClasses.begin(), fSpareClasses.begin() + std::ptrdiff_t(fSpareClassesTaken));
    fSpareMethods.erase(fSpareMethods.begin(), fSpareMethods.begin() + std::ptrdiff_t(fSpareMethodsTaken));
    fSpareClassesTaken = fSpareMethodsTaken = 0;
    // Clear frees nothing when the items are not freed.
    if (!GetFreeItems()) {
        Clear();
        return;
    }
    TObjectContainer<TJavaClassData>& classes = *this;
    for (int i = 0; i < classes.GetCount(); ++i) {
        if (GetItem(i) == nullptr) continue;
        TJavaClassData& record = classes[i];
        if (!Reusable(record)) {
            FreeItem(&record);
            continue;
        }
        TObjectContainer<TJavaMethodData>& methods = record;
        for (int m = 0; m < methods.GetCount(); ++m) {
            if (methods.GetItem(m) == nullptr) continue;
            TJavaMethodData& method = methods[m];
            if (Reusable(method))
                fSpareMethods.emplace_back(&method);
            else
                record.FreeItem(&method);
        }
        record.DeleteAll(false);
        fSpareClasses.emplace_back(&record);
    }
    DeleteAll(false);
}

TJavaClassData* TJavaParser::MakeClass(const TString& name) {
    if (fSpareClassesTaken == fSpareClasses.size()) return new TJavaClassData(name);
    TJavaClassData* record = fSpareClasses[fSpareClassesTaken++].release();
    record->name = name;
    return record;
}

TJavaMethodData* TJavaParser::MakeMethod() {
    if (fSpareMethodsTaken == fSpareMethods.size()) return new TJavaMethodData(fMethod);
    TJavaMethodData* method = fSpareMethods[fSpareMethodsTaken++].release();
    method->line = fMethod.line;
    method->name = fMethod.name;
    CopyLines(fMethod.params, method->params);
    return method;
}

TJavaClassData* TJavaParser::operator[](int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return &TObjectContainer<TJavaClassData>::operator[](i);
}

bool TJavaParser::Parse(TStringContainer& lines) {
    KeepRecords();
    fAfterAssignment = false;
    fParamPending = false;
    bool ok = ParseAs(*this, lines);
    fCurrentClass = nullptr;
    return ok;
}

bool TJavaParser::IsParamBlock(int type) const {
    return type == btParenthesis && GetBlockDepth() == 2 && !fAfterAssignment && fCommentState == csNone;
}

void TJavaParser::NewParam() {
    const int count = RecentSymbolCount();
    if (count < 2) return;
    const std::string_view type = RecentSymbol(count - 2);
    fMethod.params.Add(TString(type.data(), int(type.size())));
}

void TJavaParser::NewClass() {
    const int nameIndex = GetCurrentBufferIndex() + 1;
    const std::string_view name =
        nameIndex >= 0 && nameIndex < RecentSymbolCount() ? RecentSymbol(nameIndex) : std::string_view();
    fCurrentClass = MakeClass(TString(name.data(), int(name.size())));
    Add(fCurrentClass);
}

void TJavaParser::ParseBlockStart(int type) {
    if (!IsParamBlock(type)) return;
    fParamPending = false;
    fMethod.line = fLineIndex;
    const int count = RecentSymbolCount();
    const std::string_view name = count > 0 ? RecentSymbol(count - 1) : std::string_view();
    fMethod.name.Assign(name.data(), int(name.size()));
    fMethod.params.Clear();
}

void TJavaParser::ParseBlockEnd(int type) {
    if (IsParamBlock(type)) {
        if (fParamPending) NewParam();
        if (fCurrentClass != nullptr) fCurrentClass->Add(MakeMethod());
    }
    if (type == btCurly && GetBlockDepth() == 1) fCurrentClass = nullptr;
}
