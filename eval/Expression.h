// TExpression, one compiled expression with its source, list, stack and result, and TExpressions, an owning list of them.
#pragma once

#include <cstddef>
#include <string>

#include "Container.h"
#include "DecodedExpression.h"
#include "EvalStack.h"
#include "EvaluateEngine.h"
#include "ExpressionModel.h"
#include "MemBuffer.h"
#include "String.h"
#include "Variables.h"

// Size of the buffer that EvalToBuf(char*) fills at most, terminator
// included; any value it formats fits ("%lf" of a large real takes 317
// characters, a complex value twice that and four more).
constexpr size_t kEvalBufferSize = 1024;

// One expression. A null list means the default list Variables, for the
// constructors and for SetVars alike. Two objects may be used on two threads
// at once when their lists differ.
class TExpression : public TContainerItem {
public:
    explicit TExpression(TVariableList* vars = nullptr);
    TExpression(const TString& text, TVariableList* vars = nullptr);
    TExpression(const TExpression& other);
    // Assigning an object to itself changes nothing.
    TExpression& operator=(const TExpression& other);
    ~TExpression() override;

    // From another TExpression: a deep copy of its compiled expression and
    // source (nothing when it is invalid) and always its list pointer.
    // Another class of item, or the object itself, changes nothing.
    void Assign(const TContainerItem& other) override;
    // Frees the compiled expression; not compiled, empty source, default list.
    void Init() override;

    // Evaluates on another list from now on, without compiling again; the
    // list must hold the referenced variables at the same positions.
    void SetVars(TVariableList* vars) { list = vars; }
    TVariableList& GetVars() const { return list != nullptr ? *list : Variables; }

    // Frees the compiled expression and empties the source.
    void Clear();
    TString GetSource() const { return source; }
    // Compiles text on vars (kept when null); on failure the object is not
    // compiled, its source empty, and EvaluateErrorCode / EvaluateErrorPos
    // tell why. Returns Valid().
    bool SetSource(const TString& text, TVariableList* vars = nullptr);
    // Compiles the source again on the current list; returns Valid().
    bool Recompile();
    bool Valid() const { return expression.count != -1; }
    // A deep copy of the compiled expression, which the caller frees.
    EXPRESSION GetExpr() const { return DuplicateExpression(expression); }
    // The compiled expression itself, owned by the object.
    const EXPRESSION& GetExpression() const { return expression; }

    // One evaluation on the object's list and stack; data goes to ext
    // functions. Not compiled: the integer 0.
    EXPRVALUE Eval(bool check = false, void* data = nullptr);
    void Eval(EXPRVALUE& out);
    // Writes the value of an evaluation into buffer: "%lld", "%lf",
    // "{%lld, %lld}", "{%lf ,%lf}", an empty text for a text result, "???"
    // when not compiled. Returns the result kind (0 when not compiled). The
    // sized form writes at most size characters with the terminator (cutting
    // the text; size 0 writes nothing); the other assumes kEvalBufferSize.
    int EvalToBuf(char* buffer, size_t size);
    int EvalToBuf(char* buffer);
    // The result as text: a string result's own text, otherwise what
    // EvalToBuf writes ("???" when not compiled).
    void EvalS(TString& out);
    void EvalS(std::string& out);
    TString EvalS();
    // False when not compiled; an integer result is true when non-zero, a
    // real when it is not 0.0 (-0.0 is 0.0); other kinds false.
    bool EvalBool();
    // The result of the last EvalToBuf or EvalS.
    const EXPRVALUE& GetResult() const { return result; }

    // Record: the compiled expression in the stored form, then the source.
    // The list is not stored; a read object keeps its own. Damaged data
    // leaves the object not compiled, the read position where it was, and
    // returns false.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

private:
    void FreeCompiled();
    // Run mode takes the decoded form that the compiled expression keeps
    // (what EvaluateExpression does, without the detour) where the fast
    // forms are on.
    void Run(EXPRVALUE& out, bool check, void* data) {
        if (!check && form != nullptr && FastFormsOn(GetVars()))
            form->Evaluate(GetVars(), expression, stack, out, data);
        else
            RunFirst(out, check, data);
    }
    // Check mode, or run mode before the form was found.
    [[gnu::noinline]] void RunFirst(EXPRVALUE& out, bool check, void* data);

    EXPRESSION expression;
    // The decoded form the compiled expression keeps, once found there;
    // null again whenever the compiled expression is freed.
    TDecodedExpression* form = nullptr;
    TString source;
    TVariableList* list = nullptr;
    TEvalStack stack;
    EXPRVALUE result;
};

// An ordered list that owns its expressions.
class TExpressions : public TContainer {
public:
    TExpressions();
    TExpressions(const TExpressions& other);
    // Deep copies of every expression; assigning a list to itself changes nothing.
    TExpressions& operator=(const TExpressions& other);
    ~TExpressions() override;

    // Expression i; throws TSDPPBadIndex outside 0..count-1.
    TExpression& operator[](int i) const;
    // Compiles text (on vars, or the default list) and appends it when it
    // compiles; returns whether it did.
    bool Add(const TString& text, TVariableList* vars = nullptr);
    // Appends e, which the list owns from then on; a null e adds nothing and
    // gives false.
    bool Add(TExpression* e);
    // Recompiles every expression, all of them even after a failure; true
    // when all compiled.
    bool Recompile();
    // Evaluates every expression in order for its effects.
    void Eval();
    // Index of the first expression with that source; -1 when none.
    int GetIndex(const TString& source) const;
    // Evaluates the expression with that source, adding it first when none
    // has it. A text that does not compile gives what a not-compiled
    // expression gives (the integer 0), with EvaluateErrorCode telling why.
    EXPRVALUE Eval(const TString& source);

    void* CreateItem(int index) override;
    void AssignItem(void* target, const void* source) override;
};
