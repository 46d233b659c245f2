// TExpressionContainer: compiled expressions without sources sharing one variable list and one evaluation stack.
#pragma once

#include "Container.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
#include "String.h"
#include "StringContainer.h"
#include "Variables.h"

// Owns its expressions: each item is a separately allocated EXPRESSION that
// the container frees, and every expression it takes is a deep copy. One
// thread at a time.
class TExpressionContainer : public TContainer {
public:
    // What AddExpressions does when a text does not compile.
    // ORDER: the values are the modes' numbers.
    enum TAddFreeMode {
        afKeepAdded = 0,    // keep what this call added before the failure
        afRemoveAdded = 1,  // remove exactly what this call added
        afDeleteAll = 2,    // empty the whole container
    };

    // A null list means the default list Variables.
    explicit TExpressionContainer(TVariableList* vars = nullptr);
    ~TExpressionContainer() override;

    // From another container: its expressions as deep copies, replacing
    // these; the list stays this container's. Another class of item, or the
    // container itself, changes nothing.
    void Assign(const TContainerItem& other) override;

    TVariableList& GetVars() const { return *list; }

    // Compiles text on the container's list and appends it; false (nothing
    // added, EvaluateErrorCode telling why) when it does not compile.
    bool AddExpression(const TString& text);
    // Appends a deep copy of e; a not-compiled e is appended too.
    bool AddExpression(const EXPRESSION& e);
    // AddExpression of each text in order; at the first failure applies mode
    // and returns false.
    bool AddExpressions(const TStringContainer& texts, TAddFreeMode mode);
    // Appends deep copies of the n expressions; n <= 0 or a null array adds
    // nothing. Returns true.
    bool AddExpressions(const EXPRESSION* array, int n);

    // Expression i; throws TSDPPBadIndex outside 0..count-1.
    EXPRESSION& operator[](int i) const;

    // Expression i evaluated (run mode, no user data); kind 0 with an empty
    // text for an index outside 0..count-1.
    EXPRVALUE Evaluate(int i);
    // Every expression in order, for its effects.
    void EvaluateAll();
    // Expression i evaluated and written by FormatResult into out; false, out
    // unchanged, for an index outside the list.
    bool EvalS(TString& out, int i, bool withType);
    // The same as a text; empty for an index outside the list.
    TString EvalS(int i, bool withType);

    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
    void AssignItem(void* target, const void* source) override;
    // Items of the container's storage form: each expression in its stored
    // form (a damaged one fails the read).
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;

private:
    TVariableList* list;
    TEvalStack stack;
};
