// TJavaParser: the hooks that collect classes and method signatures, and the outline records.
#include "JavaParser.h"

#include "SymbolScan.h"

namespace {

// Parameter lists are short; the string list's default growth step of 256
// would give every method record kilobytes of unused room.
const int kParamIncrement = 4;

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

TJavaClassData* TJavaParser::operator[](int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return &TObjectContainer<TJavaClassData>::operator[](i);
}

bool TJavaParser::Parse(TStringContainer& lines) {
    Clear();
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
    int count = fSymbolHistory.GetCount();
    if (count >= 2) fMethod.params.Add(fSymbolHistory[count - 2]);
}

void TJavaParser::NewClass() {
    int nameIndex = GetCurrentBufferIndex() + 1;
    TString name = nameIndex >= 0 && nameIndex < fSymbolHistory.GetCount() ? fSymbolHistory[nameIndex] : TString();
    fCurrentClass = new TJavaClassData(name);
    Add(fCurrentClass);
}

void TJavaParser::ParseBlockStart(int type) {
    if (!IsParamBlock(type)) return;
    fParamPending = false;
    fMethod.line = fLineIndex;
    int count = fSymbolHistory.GetCount();
    fMethod.name = count > 0 ? fSymbolHistory[count - 1] : TString();
    fMethod.params.Clear();
}

void TJavaParser::ParseBlockEnd(int type) {
    if (IsParamBlock(type)) {
        if (fParamPending) NewParam();
        if (fCurrentClass != nullptr) fCurrentClass->Add(new TJavaMethodData(fMethod));
    }
    if (type == btCurly && GetBlockDepth() == 1) fCurrentClass = nullptr;
}
