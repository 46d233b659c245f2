// TExpressionContainer: adding compiled expressions by text or copy, the failure modes, and evaluation by index.
#include "ExpressionContainer.h"

#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"
#include "ExpressionStorage.h"

TExpressionContainer::TExpressionContainer(TVariableList* vars)
    : list(vars != nullptr ? vars : &Variables) {
    SetObjectMode();
}

TExpressionContainer::~TExpressionContainer() { DeleteAll(GetOwnsItems()); }

void TExpressionContainer::Assign(const TContainerItem& other) {
    const TExpressionContainer* from = dynamic_cast<const TExpressionContainer*>(&other);
    if (from == nullptr || from == this) return;
    DeleteAll(true);
    for (int i = 0; i < from->GetCount(); ++i) AddExpression((*from)[i]);
}

bool TExpressionContainer::AddExpression(const TString& text) {
    EXPRESSION compiled = CreateExpression(*list, text);
    if (compiled.count == -1) return false;
    // The compiled expression becomes the item itself: a copy of it would
    // be freed again at once.
    TContainer::Add(new EXPRESSION(compiled));
    return true;
}

bool TExpressionContainer::AddExpression(const EXPRESSION& e) {
    TContainer::Add(new EXPRESSION(DuplicateExpression(e)));
    return true;
}

bool TExpressionContainer::AddExpressions(const TStringContainer& texts, TAddFreeMode mode) {
    const int before = GetCount();
    for (int i = 0; i < texts.GetCount(); ++i) {
        if (AddExpression(texts[i])) continue;
        if (mode == afRemoveAdded) DeleteSection(before, GetCount() - 1, true);
        if (mode == afDeleteAll) DeleteAll(true);
        return false;
    }
    return true;
}

bool TExpressionContainer::AddExpressions(const EXPRESSION* array, int n) {
    for (int i = 0; array != nullptr && i < n; ++i) AddExpression(array[i]);
    return true;
}

EXPRESSION& TExpressionContainer::operator[](int i) const { return *static_cast<EXPRESSION*>(GetItem(i)); }

EXPRVALUE TExpressionContainer::Evaluate(int i) {
    EXPRVALUE out;
    if (i < 0 || i >= GetCount()) {
        out.kind = ekNone;
        return out;
    }
    EvaluateExpression(*list, (*this)[i], stack, out, false, nullptr);
    return out;
}

void TExpressionContainer::EvaluateAll() {
    EXPRVALUE out;
    for (int i = 0; i < GetCount(); ++i) EvaluateExpression(*list, (*this)[i], stack, out, false, nullptr);
}

bool TExpressionContainer::EvalS(TString& out, int i, bool withType) {
    if (i < 0 || i >= GetCount()) return false;
    FormatResult(Evaluate(i), out, withType);
    return true;
}

TString TExpressionContainer::EvalS(int i, bool withType) {
    TString out;
    EvalS(out, i, withType);
    return out;
}

void* TExpressionContainer::CreateItem(int) { return new EXPRESSION; }

void TExpressionContainer::FreeItem(void* item) {
    EXPRESSION* e = static_cast<EXPRESSION*>(item);
    FreeExpression(*e);
    delete e;
}

void TExpressionContainer::AssignItem(void* target, const void* source) {
    EXPRESSION& to = *static_cast<EXPRESSION*>(target);
    const EXPRESSION& from = *static_cast<const EXPRESSION*>(source);
    if (&to == &from) return;
    EXPRESSION copy = DuplicateExpression(from);
    FreeExpression(to);
    to = copy;
}

void TExpressionContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    WriteExpression(buffer, *static_cast<const EXPRESSION*>(item));
}

bool TExpressionContainer::ReadItem(TMemBuffer& buffer, void* item) {
    return ReadExpression(*static_cast<EXPRESSION*>(item), buffer);
}
