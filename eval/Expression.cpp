// TExpression and TExpressions: compiling, copying, evaluating, formatting and storing expression objects.
#include "Expression.h"

#include <cstdio>
#include <cstring>

#include "EvaluateEngine.h"
#include "EvaluationLoop.h"
#include "ExpressionCompiler.h"
#include "ExpressionStorage.h"
#include "StraightProgram.h"

namespace {

constexpr int kResultTextCapacity = 1024;
const char kNotCompiledText[] = "???";

}  // namespace

TExpression::TExpression(TVariableList* vars) {
    TExpression::Init();
    list = vars;
}

TExpression::TExpression(const TString& text, TVariableList* vars) : TExpression(vars) { SetSource(text, nullptr); }

TExpression::TExpression(const TExpression& other) : TContainerItem(other) {
    TExpression::Init();
    TExpression::Assign(other);
}

TExpression& TExpression::operator=(const TExpression& other) {
    Assign(other);
    return *this;
}

TExpression::~TExpression() { FreeCompiled(); }

void TExpression::FreeCompiled() {
    form = nullptr;
    FreeExpression(expression);
    expression = EXPRESSION();
}

void TExpression::RunFirst(EXPRVALUE& out, bool check, void* data) {
    EvaluateExpression(GetVars(), expression, stack, out, check, data);
    if (!check) form = static_cast<TDecodedExpression*>(EvaluationCacheOf(expression));
}

void TExpression::Init() {
    FreeCompiled();
    source.Clear();
    list = nullptr;
    result.text.Reserve(kResultTextCapacity);
}

void TExpression::Assign(const TContainerItem& other) {
    const TExpression* from = dynamic_cast<const TExpression*>(&other);
    if (from == nullptr || from == this) return;
    Clear();
    if (from->Valid()) {
        expression = DuplicateExpression(from->expression);
        source = from->source;
    }
    list = from->list;
}

void TExpression::Clear() {
    FreeCompiled();
    source.Clear();
}

bool TExpression::SetSource(const TString& text, TVariableList* vars) {
    // text may be this object's own source, which Clear empties.
    const TString copy = text;
    Clear();
    if (vars != nullptr) list = vars;
    expression = CreateExpression(GetVars(), copy);
    if (Valid()) source = copy;
    return Valid();
}

bool TExpression::Recompile() { return SetSource(source, nullptr); }

EXPRVALUE TExpression::Eval(bool check, void* data) {
    EXPRVALUE out;
    Run(out, check, data);
    return out;
}

// Run's path, with the decoded form's look at its straight form made here:
// a straight run is a jump from here to its first step.
void TExpression::Eval(EXPRVALUE& out) {
    TVariableList& vars = GetVars();
    if (form == nullptr || !FastFormsHere(vars)) return RunFirst(out, false, nullptr);
    if (const TStraightProgram* straight = form->StraightFor(vars))
        return TDecodedExpression::RunStraight(*straight, vars, expression, stack, nullptr, out);
    form->EvaluateSlowly<false>(vars, expression, stack, out, nullptr);
}

int TExpression::EvalToBuf(char* buffer, size_t size) {
    if (!Valid()) {
        if (buffer != nullptr && size > 0) std::snprintf(buffer, size, "%s", kNotCompiledText);
        return 0;
    }
    Eval(result);
    if (buffer == nullptr || size == 0) return result.kind;
    const TItemValue& v = result.value;
    switch (result.kind) {
        case ekInteger: std::snprintf(buffer, size, "%lld", static_cast<long long>(v.integer)); break;
        case ekReal: std::snprintf(buffer, size, "%lf", v.real); break;
        case ekPoint:
            std::snprintf(buffer, size, "{%lld, %lld}", static_cast<long long>(v.point.x),
                          static_cast<long long>(v.point.y));
            break;
        case ekComplex: std::snprintf(buffer, size, "{%lf ,%lf}", v.complex.re, v.complex.im); break;
        default: buffer[0] = '\0'; break;
    }
    return result.kind;
}

int TExpression::EvalToBuf(char* buffer) { return EvalToBuf(buffer, kEvalBufferSize); }

void TExpression::EvalS(TString& out) {
    char buffer[kEvalBufferSize];
    const int kind = EvalToBuf(buffer, sizeof buffer);
    if (Valid() && kind == ekOwnedText) {
        out = result.text;
    } else {
        out = buffer;
    }
}

void TExpression::EvalS(std::string& out) {
    TString text;
    EvalS(text);
    out.assign(text.c_str(), static_cast<size_t>(text.Length()));
}

TString TExpression::EvalS() {
    TString text;
    EvalS(text);
    return text;
}

bool TExpression::EvalBool() {
    if (!Valid()) return false;
    EXPRVALUE out;
    Eval(out);
    if (out.kind == ekInteger) return out.value.integer != 0;
    if (out.kind == ekReal) return out.value.real != 0.0;
    return false;
}

void TExpression::WriteToMemBuffer(TMemBuffer& buffer) const {
    WriteExpression(buffer, expression);
    source.WriteToMemBuffer(buffer);
}

bool TExpression::ReadFromMemBuffer(TMemBuffer& buffer) {
    const int start = buffer.GetReadPosition();
    Clear();
    EXPRESSION read;
    if (ReadExpression(read, buffer) && source.ReadFromMemBuffer(buffer)) {
        expression = read;
        if (!Valid()) source.Clear();
        return true;
    }
    FreeExpression(read);
    source.Clear();
    buffer.SeekRead(start);
    return false;
}

// ------------------------------------------------------------------ TExpressions

TExpressions::TExpressions() { SetObjectMode(); }

TExpressions::TExpressions(const TExpressions& other) : TExpressions() { Concat(other); }

TExpressions& TExpressions::operator=(const TExpressions& other) {
    Assign(other);
    return *this;
}

TExpressions::~TExpressions() { DeleteAll(GetOwnsItems()); }

TExpression& TExpressions::operator[](int i) const {
    return *static_cast<TExpression*>(static_cast<TContainerItem*>(GetItem(i)));
}

bool TExpressions::Add(const TString& text, TVariableList* vars) {
    TExpression* e = new TExpression(nullptr);
    if (!e->SetSource(text, vars)) {
        delete e;
        return false;
    }
    return Add(e);
}

bool TExpressions::Add(TExpression* e) {
    if (e == nullptr) return false;
    TContainer::Add(static_cast<TContainerItem*>(e));
    return true;
}

bool TExpressions::Recompile() {
    bool all = true;
    for (int i = 0; i < GetCount(); ++i) all = (*this)[i].Recompile() && all;
    return all;
}

void TExpressions::Eval() {
    for (int i = 0; i < GetCount(); ++i) (*this)[i].Eval(false, nullptr);
}

int TExpressions::GetIndex(const TString& source) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i].GetSource() == source) return i;
    return -1;
}

EXPRVALUE TExpressions::Eval(const TString& source) {
    int i = GetIndex(source);
    if (i < 0) {
        // What a not-compiled expression gives, not the last one's result.
        if (!Add(source, nullptr)) return EXPRVALUE();
        i = GetCount() - 1;
    }
    return (*this)[i].Eval(false, nullptr);
}

void* TExpressions::CreateItem(int) { return static_cast<TContainerItem*>(new TExpression(nullptr)); }

void TExpressions::AssignItem(void* target, const void* source) {
    TExpression& to = *static_cast<TExpression*>(static_cast<TContainerItem*>(target));
    to = *static_cast<const TExpression*>(static_cast<const TContainerItem*>(source));
}
