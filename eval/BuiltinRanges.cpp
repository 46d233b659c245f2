// Built-in functions that evaluate a sub-expression repeatedly, with temporaries that say where the walk is.
#include "BuiltinRanges.h"

#include <vector>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "StackRoutines.h"
#include "TextRoutines.h"

namespace {

constexpr int kProduct = 124;
constexpr int kDoubleProduct = 132;
constexpr int kAnyToken = 137;
constexpr int kAnyWord = 140;

// Temporaries appended at the end of the list for one call; the destructor
// removes them on every way out of the call, exceptions included.
class TTemporaryScope {
public:
    explicit TTemporaryScope(TVariableList& vars) : vars(vars) {}
    ~TTemporaryScope() {
        for (; appended > 0 && vars.GetCount() > 0; --appended) vars.DeleteLast(true);
    }
    TTemporaryScope(const TTemporaryScope&) = delete;
    TTemporaryScope& operator=(const TTemporaryScope&) = delete;

    int64_t* Int(const char* name) { return Counted(vars.NewInt(name, false, 0)); }
    double* Double(const char* name) { return Counted(vars.NewDouble(name, false, 0.0)); }
    TString* Text(const char* name) { return Counted(vars.NewString(name, false, TString())); }
    // A text temporary and its counter ("token" and "tx", "word" and "wx");
    // false when either could not be made.
    bool TextAndCounter(const char* textName, const char* counterName, TString*& text, int64_t*& counter) {
        text = Text(textName);
        counter = Int(counterName);
        return text != nullptr && counter != nullptr;
    }
    // A zero-valued variable of an array item type (2..6); null otherwise.
    TVariable* OfType(const char* name, TVariableType type) { return Counted(vars.NewVar(name, type, false)); }

private:
    template <typename T>
    T* Counted(T* added) {
        if (added != nullptr) ++appended;
        return added;
    }

    TVariableList& vars;
    int appended = 0;
};

// The arguments a walk needs, copied off the stack before the first
// evaluation (which may grow the stack and move its items).
struct TWalk {
    TVariableList& vars;
    TEvalStack& stack;
    EXPRESSION* expression;

    EXPRVALUE Evaluate() const { return EvaluateExpression(vars, *expression, stack, false, nullptr); }
};

// Replaces result by an error item, giving back a text it holds from the stack.
void Fail(const TBuiltinCall& call, EXPRESSION_ITEM& result, int code) {
    if (result.kind == ekBufferedText) call.stack.ReleaseBufferedString(result.value.text.slot);
    EvaluateErrorCode = static_cast<int8_t>(code);
    result = MakeItem(ekError);
}

// The walk over argument k's sub-expression; false (result set to an
// error) when that argument is no compiled sub-expression.
bool PrepareWalk(const TBuiltinCall& call, int k, EXPRESSION_ITEM& result, EXPRESSION*& expression) {
    const EXPRESSION_ITEM& item = call.Item(k);
    expression = item.kind == ekSubExpression ? item.value.expression : nullptr;
    if (expression != nullptr) return true;
    Fail(call, result, eeWrongArgumentType);
    return false;
}

uint64_t Unsigned(int64_t value) { return static_cast<uint64_t>(value); }
int64_t Signed(uint64_t value) { return static_cast<int64_t>(value); }

// summa and product: i from..to; an assignment to i inside e moves the loop.
void SumOrProduct(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int64_t from = call.Int(0);
    const int64_t to = call.Int(1);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 2, result, expression)) return;
    const bool product = call.position == kProduct;
    uint64_t accumulator = product ? 1 : 0;
    TTemporaryScope temporaries(call.vars);
    int64_t* i = temporaries.Int("i");
    if (i == nullptr) return;
    const TWalk walk{call.vars, call.stack, expression};
    for (*i = from; *i <= to; ++*i) {
        const EXPRVALUE value = walk.Evaluate();
        if (value.kind == ekInteger)
            accumulator = product ? accumulator * Unsigned(value.value.integer) : accumulator + Unsigned(value.value.integer);
        // Testing before the step keeps i from passing the largest integer.
        if (*i >= to) break;
    }
    result.value.integer = Signed(accumulator);
}

// dsumma and dproduct: n points d from a to b, both ends included.
void DoubleSumOrProduct(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const double a = call.Real(0);
    const double b = call.Real(1);
    const int64_t n = call.Int32(2);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 3, result, expression)) return;
    const bool product = call.position == kDoubleProduct;
    double accumulator = product ? 1.0 : 0.0;
    result.value.real = accumulator;
    if (n < 1) return;
    TTemporaryScope temporaries(call.vars);
    double* d = temporaries.Double("d");
    int64_t* i = temporaries.Int("i");
    if (d == nullptr || i == nullptr) return;
    const double step = n > 1 ? (b - a) / static_cast<double>(n - 1) : 0.0;
    const TWalk walk{call.vars, call.stack, expression};
    for (*i = 0; *i < n; ++*i) {
        *d = n > 1 && *i == n - 1 ? b : a + static_cast<double>(*i) * step;
        const EXPRVALUE value = walk.Evaluate();
        if (value.kind == ekReal) accumulator = product ? accumulator * value.value.real : accumulator + value.value.real;
        if (*i >= n - 1) break;
    }
    result.value.real = accumulator;
}

// The separator of the token functions: the first character of argument 1, '|' when it is empty.
char TokenSeparator(const TBuiltinCall& call) { return FirstCharacterOr(call.Text(1), '|'); }

// The tokens a walk over argument 0 visits, as copies.
std::vector<TString> TokensToVisit(const TBuiltinCall& call) {
    std::vector<TString> tokens;
    VisitedTokens(call.Text(0), TokenSeparator(call), tokens);
    return tokens;
}

// The answer of a quantifier when no token decides.
int64_t UndecidedAnswer(int position) { return position == kAnyToken || position == kAnyWord ? 0 : 1; }

// str_any_tok, str_all_tok, str_none_tok over a copy of the tokens.
void TokenQuantifier(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 2, result, expression)) return;
    result.value.integer = UndecidedAnswer(call.position);
    const std::vector<TString> tokens = TokensToVisit(call);
    if (tokens.empty()) return;
    TTemporaryScope temporaries(call.vars);
    TString* token = nullptr;
    int64_t* index = nullptr;
    if (!temporaries.TextAndCounter("token", "tx", token, index)) return;
    TTokenPredicateContext context{call.position, token, expression, &call.stack, &call.vars, index,
                                   result.value.integer};
    bool stop = false;
    for (size_t k = 0; k < tokens.size() && !stop; ++k) TokenPredicateCallback(tokens[k], stop, &context);
    result.value.integer = context.result;
}

// str_any_word, str_all_word, str_none_word over a copy of the text.
void WordQuantifier(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString text = call.Text(0);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 1, result, expression)) return;
    result.value.integer = UndecidedAnswer(call.position);
    const TSeparatorFlags flags = FixedSeparatorFlags(call.stack);
    TTemporaryScope temporaries(call.vars);
    TString* word = nullptr;
    int64_t* index = nullptr;
    if (!temporaries.TextAndCounter("word", "wx", word, index)) return;
    TTokenPredicateContext context{call.position, word, expression, &call.stack, &call.vars, index,
                                   result.value.integer};
    ForEachWord(text.c_str(), flags.data(), TokenPredicateCallback, &context, nullptr, nullptr);
    result.value.integer = context.result;
}

// str_iota: the text results for cx = 0..n-1, joined.
void StrIota(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int64_t n = call.Int(0);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 1, result, expression)) return;
    if (n < 1) return;
    TTemporaryScope temporaries(call.vars);
    int64_t* cx = temporaries.Int("cx");
    if (cx == nullptr) return;
    TString& out = ResultText(result);
    const TWalk walk{call.vars, call.stack, expression};
    for (*cx = 0; *cx < n; ++*cx) {
        const EXPRVALUE value = walk.Evaluate();
        if (value.kind == ekOwnedText) {
            if (value.text.Length() > kMaxBuiltinTextLength - out.Length()) {
                out.Clear();
                return;
            }
            out += value.text;
        }
        if (*cx >= n - 1) break;
    }
}

// The conversion walks: the library's callbacks plus a guard on the length
// of the text built, and the separators copied from the walked copy.
struct TGuardedConvert {
    TConvertContext convert;
    int sourceLength;
    bool tooLong;
};

void StopWhenTooLong(TGuardedConvert& walk, bool& stop) {
    if (walk.convert.output->Length() <= kMaxBuiltinTextLength) return;
    walk.tooLong = true;
    stop = true;
}

void GuardedTokenConvert(const TString& token, bool& stop, void* context) {
    TGuardedConvert& walk = *static_cast<TGuardedConvert*>(context);
    TokenConvertCallback(token, stop, &walk.convert);
    StopWhenTooLong(walk, stop);
}

void GuardedWordConvert(const TString& word, bool& stop, void* context) {
    TGuardedConvert& walk = *static_cast<TGuardedConvert*>(context);
    WordConvertCallback(word, stop, &walk.convert);
    StopWhenTooLong(walk, stop);
}

// The source's length is known here, so no per-character length scan.
void CopyKnownSeparator(int position, bool&, void* context) {
    TGuardedConvert& walk = *static_cast<TGuardedConvert*>(context);
    if (position >= 0 && position < walk.sourceLength) *walk.convert.output += walk.convert.source[position];
}

void FinishConvert(const TGuardedConvert& walk) {
    if (walk.tooLong) walk.convert.output->Clear();
}

// str_token_convert: each token replaced by its text result, joined by the separator.
void StrTokenConvert(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 2, result, expression)) return;
    const std::vector<TString> tokens = TokensToVisit(call);
    if (tokens.empty()) return;
    TTemporaryScope temporaries(call.vars);
    TString* token = nullptr;
    int64_t* index = nullptr;
    if (!temporaries.TextAndCounter("token", "tx", token, index)) return;
    TString& out = ResultText(result);
    out.Reserve(call.Text(0).Length());
    // Tokens need no separator copying: the callback writes the separator itself.
    TGuardedConvert walk{{index, expression, &call.stack, &call.vars, &out, token, TokenSeparator(call), nullptr},
                         0, false};
    bool stop = false;
    for (size_t k = 0; k < tokens.size() && !stop; ++k) GuardedTokenConvert(tokens[k], stop, &walk);
    FinishConvert(walk);
}

// str_word_convert: each word replaced by its text result, separators kept.
void StrWordConvert(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString text = call.Text(0);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 1, result, expression)) return;
    const TSeparatorFlags flags = FixedSeparatorFlags(call.stack);
    TTemporaryScope temporaries(call.vars);
    TString* word = nullptr;
    int64_t* index = nullptr;
    if (!temporaries.TextAndCounter("word", "wx", word, index)) return;
    TString& out = ResultText(result);
    out.Reserve(text.Length());
    TGuardedConvert walk{{index, expression, &call.stack, &call.vars, &out, word, ' ', text.c_str()}, text.Length(),
                         false};
    ForEachWord(text.c_str(), flags.data(), GuardedWordConvert, &walk, CopyKnownSeparator, &walk);
    FinishConvert(walk);
}

// One array element held outside the array, so that it survives resizes.
struct THeldElement {
    TVariableType type = vtUndefined;
    TVariable::TValue value{};
    TString text;
};

void ReadElement(const void* item, TVariableType type, THeldElement& held) {
    held.type = type;
    switch (type) {
        case vtInt: held.value.i = *static_cast<const int64_t*>(item); break;
        case vtDouble: held.value.d = *static_cast<const double*>(item); break;
        case vtPoint: held.value.p = *static_cast<const VPOINT*>(item); break;
        case vtComplex: held.value.c = *static_cast<const VCOMPLEX*>(item); break;
        case vtString: held.text = *static_cast<const TString*>(item); break;
        default: break;
    }
}

void WriteElement(const THeldElement& held, void* item) {
    switch (held.type) {
        case vtInt: *static_cast<int64_t*>(item) = held.value.i; break;
        case vtDouble: *static_cast<double*>(item) = held.value.d; break;
        case vtPoint: *static_cast<VPOINT*>(item) = held.value.p; break;
        case vtComplex: *static_cast<VCOMPLEX*>(item) = held.value.c; break;
        case vtString: *static_cast<TString*>(item) = held.text; break;
        default: break;
    }
}

// The "item" temporary takes the held element's value, and back.
void StoreInTemporary(const THeldElement& held, TVariable& temporary) {
    if (held.type == vtString)
        *temporary.value.s = held.text;
    else if (held.type != vtUndefined)
        WriteElement(held, &temporary.value);
}

void LoadFromTemporary(const TVariable& temporary, THeldElement& held) {
    held.type = temporary.type;
    if (temporary.type == vtString)
        held.text = *temporary.value.s;
    else
        ReadElement(&temporary.value, temporary.type, held);
}

// Element k of a 1-D array as it is now; null when it no longer exists.
void* ElementNow(const TVariable& array, int k) {
    return array.type == vtArray && k < array.value.a.count ? array.GetItem(k) : nullptr;
}

// Visits the elements of a 1-D array through the "item" temporary, which
// lives as long as the walk.
class TElementWalk {
public:
    TElementWalk(const TBuiltinCall& call, TVariable& array, EXPRESSION* expression)
        : array(array),
          type(array.value.a.itemtype),
          countAtStart(array.value.a.count),
          temporaries(call.vars),
          walk{call.vars, call.stack, expression} {
        item = temporaries.OfType("item", type);
    }
    bool Ready() const { return item != nullptr; }
    // Only elements present at the start are visited, each at most once.
    int CountAtStart() const { return countAtStart; }
    // Puts element k into "item" and evaluates; false when element k no
    // longer exists (the sub-expression may shorten the array).
    bool Visit(int k, EXPRVALUE& value) {
        const void* element = ElementNow(array, k);
        if (element == nullptr) return false;
        ReadElement(element, type, visited);
        StoreInTemporary(visited, *item);
        value = walk.Evaluate();
        return true;
    }
    // The element as it was when visited.
    const THeldElement& Visited() const { return visited; }
    // Element k takes the value of "item"; false when it no longer exists.
    bool StoreItemBack(int k) {
        void* target = ElementNow(array, k);
        if (target == nullptr) return false;
        THeldElement changed;
        LoadFromTemporary(*item, changed);
        WriteElement(changed, target);
        return true;
    }

private:
    TVariable& array;
    const TVariableType type;
    const int countAtStart;
    TTemporaryScope temporaries;
    const TWalk walk;
    TVariable* item = nullptr;
    THeldElement visited;
};

// array_convert: each element passes through "item" and the sub-expression.
void ArrayConvert(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TVariable* array = call.Variable(0);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 1, result, expression) || array == nullptr) return;
    TElementWalk walk(call, *array, expression);
    if (!walk.Ready()) return;
    int converted = 0;
    EXPRVALUE value;
    while (converted < walk.CountAtStart() && walk.Visit(converted, value) && walk.StoreItemBack(converted))
        ++converted;
    result.value.integer = converted;
}

bool IsInteger(const EXPRVALUE& value, bool nonZero) {
    return value.kind == ekInteger && (value.value.integer != 0) == nonZero;
}

// Appends a copy of the element to a 1-D array of its item type; false when it cannot grow.
bool AppendElement(TVariable& destination, const THeldElement& element) {
    const int count = destination.value.a.count;
    if (destination.type != vtArray || destination.value.a.itemtype != element.type ||
        destination.Resize(count + 1, false) == nullptr)
        return false;
    WriteElement(element, destination.GetItem(count));
    return true;
}

// In place: an integer 0 removes the element, and the walk goes on with the
// one that moves into its place. The number removed.
int FilterInPlace(TVariable& array, TElementWalk& walk) {
    int removed = 0;
    int k = 0;
    EXPRVALUE value;
    for (int visits = 0; visits < walk.CountAtStart() && walk.Visit(k, value); ++visits) {
        if (IsInteger(value, false) && ElementNow(array, k) != nullptr) {
            array.DeleteLine(k);
            ++removed;
        } else {
            ++k;
        }
    }
    return removed;
}

// Into another array: an integer other than 0 appends the element there.
// The number of elements not appended.
int FilterInto(TVariable& destination, TElementWalk& walk) {
    int rejected = 0;
    int appended = 0;
    EXPRVALUE value;
    for (int k = 0; k < walk.CountAtStart() && walk.Visit(k, value); ++k) {
        if (IsInteger(value, true) && AppendElement(destination, walk.Visited()))
            ++appended;
        else
            ++rejected;
    }
    if (appended > 0) destination.ArrayResized();
    return rejected;
}

void ArrayFilter(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TVariable* array = call.Variable(0);
    TVariable* destination = call.Variable(1);
    EXPRESSION* expression = nullptr;
    if (!PrepareWalk(call, 2, result, expression) || array == nullptr || destination == nullptr) return;
    if (destination != array && destination->value.a.itemtype != array->value.a.itemtype) {
        Fail(call, result, eeWrongArrayItemType);
        return;
    }
    TElementWalk walk(call, *array, expression);
    if (!walk.Ready()) return;
    result.value.integer = destination == array ? FilterInPlace(*array, walk) : FilterInto(*destination, walk);
}

// array_calc is registered but defines no computation.
void ArrayCalc(const TBuiltinCall&, EXPRESSION_ITEM& result) { result.value.integer = 0; }

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kRangeBodies[] = {
    {123, SumOrProduct},     {124, SumOrProduct},   {131, DoubleSumOrProduct}, {132, DoubleSumOrProduct},
    {137, TokenQuantifier},  {138, TokenQuantifier}, {139, TokenQuantifier},   {140, WordQuantifier},
    {141, WordQuantifier},   {142, WordQuantifier}, {144, StrIota},            {145, StrTokenConvert},
    {146, StrWordConvert},   {147, ArrayConvert},   {148, ArrayFilter},        {149, ArrayCalc},
};

}  // namespace

TBuiltinBodyRows RangeBuiltinBodies() { return RowsOf(kRangeBodies); }
