// What the fuzz targets that compile and run expressions or scripts let through.
#include "EvaluationGuard.h"

#include <algorithm>
#include <cctype>

#include "ExpressionCompiler.h"
#include "FunctionTable.h"
#include "FuzzSupport.h"

namespace fuzz {

namespace {

// Lower case, without the blanks and control characters that the compilers
// drop or might drop between the letters of a name.
std::string Folded(const std::string& text) {
    std::string folded;
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

// How one walk or text builder is bounded: which argument (counted back from
// the call, 1 = the last) holds the count, and what it counts.
enum TBound {
    kRange,        // summa, product: from at 3, to at 2
    kCount,        // a number of steps at `argument`
    kRepeat,       // a repeat count or width of a text builder at `argument`
    kLiteralText,  // tokens or words of the text at `argument`
    kArray,        // the elements of an array the target made
};

struct TBoundRow {
    const char* name;
    TBound bound;
    int argument;
    long limit;  // largest count accepted
};

// Walks and text builders by name; names, not positions, so a moved or
// added built-in is found where it is.
const TBoundRow kBoundRows[] = {
    {"summa", kRange, 2, kMaxWalkSteps},
    {"product", kRange, 2, kMaxWalkSteps},
    {"dsumma", kCount, 2, kMaxWalkSteps},
    {"dproduct", kCount, 2, kMaxWalkSteps},
    {"str_iota", kCount, 2, kMaxWalkSteps},
    {"integrate", kCount, 2, kMaxWalkSteps},
    {"str_any_tok", kLiteralText, 3, kMaxEvaluatedInput},
    {"str_all_tok", kLiteralText, 3, kMaxEvaluatedInput},
    {"str_none_tok", kLiteralText, 3, kMaxEvaluatedInput},
    {"str_token_convert", kLiteralText, 3, kMaxEvaluatedInput},
    {"str_any_word", kLiteralText, 2, kMaxEvaluatedInput},
    {"str_all_word", kLiteralText, 2, kMaxEvaluatedInput},
    {"str_none_word", kLiteralText, 2, kMaxEvaluatedInput},
    {"str_word_convert", kLiteralText, 2, kMaxEvaluatedInput},
    {"array_convert", kArray, 2, 0},
    {"array_filter", kArray, 3, 0},
    {"array_calc", kArray, 3, 0},
    {"strmul", kRepeat, 1, kMaxTextRepeat},
    {"str_pad_right", kRepeat, 1, kMaxTextRepeat},
    {"str_pad_left", kRepeat, 1, kMaxTextRepeat},
    {"tabs2spaces", kRepeat, 1, kMaxTextRepeat},
    {"tabs2chars", kRepeat, 2, kMaxTextRepeat},
};

// Built-ins that can fill an array with as many items as a text has tokens.
const char* const kArrayFillers[] = {"tokenize", "str_gettokens"};

// Elements an array walk is taken to visit: the targets' arrays are small,
// and nothing but the fillers makes them long.
constexpr long kArrayWalkSteps = 16;

// An item that takes nothing off the stack: one such item is one whole argument.
bool IsLeaf(const EXPRESSION_ITEM& item) {
    switch (item.kind) {
        case ekInteger:
        case ekReal:
        case ekOwnedText:
        case ekVariable:
        case ekArray:
        case ekArray2:
        case ekSubExpression: return true;
        default: return false;
    }
}

// The constant that argument `back` (1 = last) of the call at `at` is, when
// it and every argument after it are single items; false otherwise.
bool ConstantArgument(const EXPRESSION& e, int at, int back, long double& value) {
    if (at - back < 0) return false;
    for (int k = 1; k < back; ++k)
        if (!IsLeaf(e.items[at - k])) return false;
    const EXPRESSION_ITEM& item = e.items[at - back];
    if (item.kind == ekInteger)
        value = static_cast<long double>(item.value.integer);
    else if (item.kind == ekReal)
        value = item.value.real;
    else
        return false;
    return true;
}

bool LiteralTextArgument(const EXPRESSION& e, int at, int back, long& length) {
    if (at - back < 0) return false;
    for (int k = 1; k < back; ++k)
        if (!IsLeaf(e.items[at - k])) return false;
    const EXPRESSION_ITEM& item = e.items[at - back];
    if (item.kind != ekOwnedText || item.value.text.text == nullptr) return false;
    length = item.value.text.text->Length();
    return true;
}

// Steps the bounded call at `at` makes (each one evaluation of its
// sub-expressions); -1 when the call is not bounded.
long StepsOf(const EXPRESSION& e, int at, const TBoundRow& row) {
    long double a = 0, b = 0;
    long length = 0;
    switch (row.bound) {
        case kRange:
            if (!ConstantArgument(e, at, row.argument, b) || !ConstantArgument(e, at, row.argument + 1, a)) return -1;
            if (b - a >= row.limit) return -1;
            return b < a ? 0 : static_cast<long>(b - a) + 1;
        case kCount:
        case kRepeat:
            if (!ConstantArgument(e, at, row.argument, a) || a > row.limit) return -1;
            return a < 1 ? 0 : static_cast<long>(a);
        case kLiteralText:
            if (!LiteralTextArgument(e, at, row.argument, length)) return -1;
            return length + 1;
        case kArray: return kArrayWalkSteps;
    }
    return -1;
}

const TBoundRow* BoundRowOf(const EXPRESSION_ITEM& item) {
    if (item.kind != ekBuiltinFunction) return nullptr;
    const TMultiFunction* function = MultiFunctions()[item.value.code.index];
    if (function == nullptr) return nullptr;
    for (const TBoundRow& row : kBoundRows)
        if (function->name == row.name) return &row;
    return nullptr;
}

bool IsArrayFiller(const EXPRESSION_ITEM& item) {
    if (item.kind != ekBuiltinFunction) return false;
    const TMultiFunction* function = MultiFunctions()[item.value.code.index];
    if (function == nullptr) return false;
    for (const char* name : kArrayFillers)
        if (function->name == name) return true;
    return false;
}

struct TWalkCount {
    long steps = 0;
    long textGrowth = 1;
    bool bounded = true;
    bool fillsArrays = false;
    bool walksArrays = false;
};

// Adds the steps of e's walks, each multiplied by `times`, the evaluations of
// e that the walks around it make.
void CountWalks(const EXPRESSION& e, long times, TWalkCount& count) {
    // The most steps any walk of e makes: what a sub-expression of e is
    // taken to cost, whichever call it belongs to.
    long mostSteps = 1;
    for (int i = 0; i < e.count && count.bounded; ++i) {
        const EXPRESSION_ITEM& item = e.items[i];
        if (IsArrayFiller(item)) count.fillsArrays = true;
        const TBoundRow* row = BoundRowOf(item);
        if (row == nullptr) continue;
        if (row->bound == kArray) count.walksArrays = true;
        const long steps = StepsOf(e, i, *row);
        if (steps < 0) {
            count.bounded = false;
            return;
        }
        if (row->bound == kRepeat) {
            // Builders may feed each other: their counts multiply.
            count.textGrowth *= std::max(1L, steps);
            if (count.textGrowth > kMaxTextGrowth) count.bounded = false;
            continue;
        }
        mostSteps = std::max(mostSteps, steps);
        count.steps += times * steps;
        if (count.steps > kMaxWalkSteps) count.bounded = false;
    }
    for (int i = 0; i < e.count && count.bounded; ++i) {
        const EXPRESSION_ITEM& item = e.items[i];
        if (item.kind == ekSubExpression && item.value.expression != nullptr)
            CountWalks(*item.value.expression, times * mostSteps, count);
    }
}

}  // namespace

std::vector<std::string> OutsideBuiltinNames() {
    std::vector<std::string> names;
    const auto take = [&names](const TString& name) {
        if (name.Length() > 0) names.emplace_back(name.c_str());
    };
    for (int i = 0; i < MultiFunctions().GetCount(); ++i) {
        const TMultiFunction* function = MultiFunctions()[i];
        if ((function->flags & bfReachesOutside) == 0) continue;
        take(function->name);
        take(function->alias);
    }
    for (int i = 0; i < VarFunctions().GetCount(); ++i) {
        const TVarFunction* function = VarFunctions()[i];
        if ((function->flags & bfReachesOutside) != 0) take(function->name);
    }
    return names;
}

bool NamesOutsideBuiltin(const std::string& text) {
    const std::string folded = Folded(text);
    for (const std::string& name : OutsideBuiltinNames())
        if (folded.find(Folded(name)) != std::string::npos) return true;
    return false;
}

bool WalksAreBounded(const EXPRESSION& e) {
    TWalkCount count;
    CountWalks(e, 1, count);
    return count.bounded && !(count.fillsArrays && count.walksArrays);
}

void AddTargetVariables(TVariableList& list) {
    list.NewInt("n", false, 3);
    list.NewDouble("x", false, 0.5);
    list.NewString("s", false, "a|b,c d");
    list.NewPoint("p", false);
    list.NewComplex("z", false);
    for (const TVariableType type : {vtInt, vtDouble, vtPoint, vtString}) {
        const std::string name = std::string("a") + char('0' + type);
        list.NewArray(name.c_str(), type, false);
        list.ResizeArray(name.c_str(), 4);
    }
    list.NewArray2("m", vtInt, false);
    list.ResizeArray2("m", 2, 3);
}

bool AcceptsEvaluatedText(const std::string& text) {
    if (text.size() > kMaxEvaluatedInput || NamesOutsideBuiltin(text)) return false;
    EnterEmptyFolder();
    return true;
}

bool CompileGuardedExpression(const uint8_t* data, size_t size, TVariableList& list, EXPRESSION& e) {
    const std::string text = AsString(data, size);
    if (!AcceptsEvaluatedText(text)) return false;
    AddTargetVariables(list);
    e = CreateExpression(list, TString(text.data(), static_cast<int>(text.size())));
    return true;
}

}  // namespace fuzz
