// The built-in function table, the list-function table and the dispatchers that run their few available bodies.
#include "FunctionTable.h"

#include "EvaluateErrors.h"
#include "ExtensionHooks.h"
#include "StackRoutines.h"

namespace {

// One registration row: name, alias, declared result type, parameter kinds
// as digits, pushed kind.
struct TBuiltinRow {
    const char* name;
    const char* alias;
    TVariableType result;
    const char* parameters;
    TExpressionItemType pushed;
};

// ORDER: positions are identities in compiled expressions and files.
const TBuiltinRow kBuiltinRows[] = {
    {"array_count", "acount", 2, "4", 1},                  // 0
    {"array_linecount", "alinec", 2, "5", 1},              // 1
    {"array_colcount", "acolc", 2, "5", 1},                // 2
    {"array_sum", "asum", 3, "4", 3},                      // 3
    {"array_ave", "aave", 3, "4", 3},                      // 4
    {"array_min", "amin", 3, "4", 3},                      // 5
    {"array_max", "amax", 3, "4", 3},                      // 6
    {"to_point", "", 4, "00", 21},                         // 7
    {"to_complex", "", 4, "00", 22},                       // 8
    {"strlen", "str_len", 2, "3", 1},                      // 9
    {"str_int", "", 2, "3", 1},                            // 10
    {"str_double", "", 6, "3", 3},                         // 11
    {"strcmp", "str_cmp", 2, "33", 1},                     // 12
    {"strpos", "str_pos", 2, "33", 1},                     // 13
    {"strupper", "str_upper", 6, "3", 20},                 // 14
    {"strlower", "str_lower", 6, "3", 20},                 // 15
    {"strrev", "str_rev", 6, "3", 20},                     // 16
    {"substr", "str_substr", 6, "300", 20},                // 17
    {"strcat_obsolete", "str_cat", 6, "33", 20},           // 18
    {"strmul", "str_mul", 6, "30", 20},                    // 19
    {"strfilter", "str_filter", 6, "33", 20},              // 20
    {"asctime", "", 6, "", 20},                            // 21
    {"t_sec", "", 2, "", 1},                               // 22
    {"t_min", "", 2, "", 1},                               // 23
    {"t_hour", "", 2, "", 1},                              // 24
    {"t_monthday", "", 2, "", 1},                          // 25
    {"t_month", "", 2, "", 1},                             // 26
    {"t_year", "", 2, "", 1},                              // 27
    {"t_weekday", "", 2, "", 1},                           // 28
    {"t_weekdayname", "", 6, "", 20},                      // 29
    {"t_yearday", "", 2, "", 1},                           // 30
    {"messagebox", "", 2, "330", 1},                       // 31
    {"readstring", "", 2, "3330", 1},                      // 32
    {"cx_exp", "", 5, "2", 22},                            // 33
    {"cx_log", "", 5, "2", 22},                            // 34
    {"cx_sinh", "", 5, "2", 22},                           // 35
    {"cx_cosh", "", 5, "2", 22},                           // 36
    {"cx_tanh", "", 5, "2", 22},                           // 37
    {"cx_abs", "", 3, "2", 3},                             // 38
    {"cx_arcus", "", 3, "2", 3},                           // 39
    {"cx_sqrt", "", 5, "2", 22},                           // 40
    {"cx_dmul", "", 5, "20", 22},                          // 41
    {"angle", "", 3, "11", 3},                             // 42
    {"rotate_radius", "", 4, "100", 21},                   // 43
    {"rotate_point", "", 4, "110", 21},                    // 44
    {"intersection_point", "", 2, "111110", 1},            // 45
    {"point_in_polygon", "", 2, "14 (items: point)", 1},   // 46
    {"GetFileName", "", 2, "343 (items: string)", 1},      // 47
    {"OpenFile", "", 2, "300", 1},                         // 48
    {"CloseFile", "", 2, "0", 1},                          // 49
    {"WriteString", "", 2, "03", 1},                       // 50
    {"WriteLine", "", 2, "03", 1},                         // 51
    {"ReadLine", "", 2, "03", 1},                          // 52
    {"ReadFile", "", 2, "04 (items: string)", 1},          // 53
    {"pnt", "", 4, "00", 21},                              // 54
    {"cmplx", "", 5, "00", 22},                            // 55
    {"integrate", "", 3, "76 (variable: double)0000", 3},  // 56
    {"binary", "", 6, "0", 20},                            // 57
    {"octal", "", 6, "0", 20},                             // 58
    {"hexa", "", 6, "0", 20},                              // 59
    {"base", "", 6, "00", 20},                             // 60
    {"strcont", "str_cont", 2, "33", 1},                   // 61
    {"str_prev", "str_before", 6, "33", 20},               // 62
    {"str_next", "str_after", 6, "33", 20},                // 63
    {"str_trim_right", "str_trr", 6, "33", 20},            // 64
    {"str_trim_left", "str_trl", 6, "33", 20},             // 65
    {"str_trim", "strtrim", 6, "33", 20},                  // 66
    {"strcond", "str_cond", 6, "033", 20},                 // 67
    {"psubstr", "str_pos_substr", 6, "300", 20},           // 68
    {"isnumber", "is_number", 2, "3", 1},                  // 69
    {"strcheck", "str_check", 2, "33", 1},                 // 70
    {"strlcheck", "str_lcheck", 2, "3300", 1},             // 71
    {"strtok", "str_token", 6, "330", 20},                 // 72
    {"array_item", "aitem", 2, "48", 1},                   // 73
    {"strfirst", "str_first", 2, "3", 1},                  // 74
    {"strlast", "str_last", 2, "3", 1},                    // 75
};
constexpr int kBuiltinRowCount = static_cast<int>(sizeof(kBuiltinRows) / sizeof(kBuiltinRows[0]));

struct TListRow {
    const char* name;
    TFunctionParamType paramType;
    TExpressionItemType resultType;
};

// ORDER: positions are identities in compiled expressions and files.
const TListRow kListRows[] = {
    {"min", fpNumber, ekInteger},      {"dmin", fpNumber, ekReal},        {"max", fpNumber, ekInteger},
    {"dmax", fpNumber, ekReal},        {"ave", fpNumber, ekInteger},      {"dave", fpNumber, ekReal},
    {"s_item", fpString, ekInteger},   {"n_item", fpNumber, ekInteger},   {"print", fpAny, ekInteger},
    {"strmtok", fpAny, ekOwnedText},   {"mid", fpNumber, ekInteger},      {"dmid", fpNumber, ekReal},
    {"smid", fpString, ekOwnedText},   {"sum", fpNumber, ekInteger},      {"dsum", fpNumber, ekReal},
    {"ssum", fpString, ekOwnedText},   {"strtokf", fpAny, ekOwnedText},   {"gettokens", fpAny, ekInteger},
    {"rand", fpAny, ekInteger},        {"getmin", fpAny, ekInteger},      {"getmax", fpAny, ekInteger},
    {"strbtw", fpString, ekOwnedText}, {"strcat", fpString, ekOwnedText}, {"strwcat", fpAny, ekOwnedText},
    {"strall", fpString, ekInteger},   {"strany", fpString, ekInteger},   {"strnone", fpString, ekInteger},
    {"parse", fpAny, ekInteger},       {"strformat", fpAny, ekOwnedText},
};

TMultiFunctionList* builtinTable = nullptr;
TVarFunctionList* listTable = nullptr;

// A placeholder result of the kind; texts are buffered strings of the stack.
EXPRESSION_ITEM PlaceholderOf(TExpressionItemType kind, TEvalStack& stack) {
    if (kind == ekOwnedText || kind == ekBufferedText) {
        EXPRESSION_ITEM item = MakeItem(ekBufferedText);
        item.value.text.slot = stack.GetBufferedString(item.value.text.text);
        return item;
    }
    return MakeItem(kind);
}

EXPRESSION_ITEM ErrorResult(int code) {
    EvaluateErrorCode = static_cast<int8_t>(code);
    return MakeItem(ekError);
}

const TString& TextOf(EXPRESSION_ITEM* item) {
    static const TString empty;
    return item != nullptr && IsTextItem(*item) && item->value.text.text != nullptr ? *item->value.text.text : empty;
}

// The run pass of the built-ins whose bodies are available here; false for the others.
bool RunBuiltin(int position, TEvalStack& stack, EXPRESSION_ITEM& result) {
    switch (position) {
        case 7:  // to_point
            result = MakeItem(ekPoint);
            result.value.point = VPOINT{ItemAsInt(*stack.Top(1)), ItemAsInt(*stack.Top(0))};
            return true;
        case 8:  // to_complex
            result = MakeItem(ekComplex);
            result.value.complex = VCOMPLEX{ItemAsReal(*stack.Top(1)), ItemAsReal(*stack.Top(0))};
            return true;
        case 9:  // strlen
            result = MakeIntegerItem(TextOf(stack.Top(0)).Length());
            return true;
        default:
            return false;
    }
}

// The run pass of the list functions whose bodies are available here.
bool RunListFunction(int index, int count, TEvalStack& stack, EXPRESSION_ITEM& result) {
    switch (index) {
        case 0:    // min
        case 2: {  // max
            int64_t best = ItemAsInt(*stack.Top(count - 1));
            for (int k = count - 2; k >= 0; --k) {
                const int64_t value = ItemAsInt(*stack.Top(k));
                if (index == 0 ? value < best : value > best) best = value;
            }
            result = MakeIntegerItem(static_cast<int32_t>(best));
            return true;
        }
        case 13: {  // sum
            uint64_t total = 0;
            for (int k = 0; k < count; ++k) total += static_cast<uint64_t>(ItemAsInt(*stack.Top(k)));
            result = MakeIntegerItem(static_cast<int64_t>(total));
            return true;
        }
        case 14: {  // dsum
            double total = 0;
            for (int k = count - 1; k >= 0; --k) total += ItemAsReal(*stack.Top(k));
            result = MakeRealItem(total);
            return true;
        }
        case 15: {  // ssum
            result = PlaceholderOf(ekBufferedText, stack);
            for (int k = count - 1; k >= 0; --k) *result.value.text.text += TextOf(stack.Top(k));
            return true;
        }
        default:
            return false;
    }
}

// Replaces the count arguments on the stack by result (pushed without copy).
void ReplaceArguments(TEvalStack& stack, int count, EXPRESSION_ITEM& result) {
    stack.Pop(count);
    result.ref.index = -1;
    stack.Push(result, false);
}

}  // namespace

TMultiFunction::TMultiFunction(const TString& name, TVariableType result) : name(name), resultType(result) {}

TMultiFunction::TMultiFunction(const TString& name, const TString& alias, TVariableType result)
    : name(name), alias(alias), resultType(result) {}

TMultiFunction::~TMultiFunction() { DeleteAll(GetOwnsItems()); }

void TMultiFunction::FreeItem(void* item) { delete static_cast<TFunctionParamType*>(item); }

void TMultiFunction::AddParam(TFunctionParamType kind) { Add(new TFunctionParamType(kind)); }

TFunctionParamType TMultiFunction::GetParamType(int i) const {
    return i >= 0 && i < GetCount() ? *static_cast<TFunctionParamType*>(GetItem(i)) : fpAny;
}

TMultiFunctionList::TMultiFunctionList() {
    for (const TBuiltinRow& row : kBuiltinRows) {
        TMultiFunction* function = new TMultiFunction(row.name, row.alias, row.result);
        for (const char* p = row.parameters; *p != '\0'; ++p)
            function->AddParam(static_cast<TFunctionParamType>(*p - '0'));
        function->pushedKind = row.pushed;
        // Bodies that take array or variable parameters narrow these when they come.
        function->arrayItemType = 1;
        function->variableType = 1;
        Add(function);
    }
}

TMultiFunctionList::~TMultiFunctionList() { DeleteAll(GetOwnsItems()); }

TMultiFunction* TMultiFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TMultiFunction*>(GetItem(i)) : nullptr;
}

int TMultiFunctionList::Find(const TString& word) const {
    for (int i = 0; i < GetCount(); ++i) {
        const TMultiFunction* function = (*this)[i];
        if (function->name == word || (function->alias.Length() > 0 && function->alias == word)) return i;
    }
    return -1;
}

int BuiltinFunctionCount() { return kBuiltinRowCount; }

TVarFunction::TVarFunction(const TString& name, TFunctionParamType paramType, TExpressionItemType resultType)
    : name(name), paramType(paramType), resultType(resultType) {}

TVarFunctionList::TVarFunctionList() {
    for (const TListRow& row : kListRows) Add(new TVarFunction(row.name, row.paramType, row.resultType));
}

TVarFunctionList::~TVarFunctionList() { DeleteAll(GetOwnsItems()); }

TVarFunction* TVarFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TVarFunction*>(GetItem(i)) : nullptr;
}

int TVarFunctionList::Find(const TString& word) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->name == word) return i;
    return -1;
}

TMultiFunctionList& MultiFunctions() { return *builtinTable; }
TVarFunctionList& VarFunctions() { return *listTable; }

void CreateFunctionTables() {
    builtinTable = new TMultiFunctionList;
    listTable = new TVarFunctionList;
}

void DestroyFunctionTables() {
    delete listTable;
    listTable = nullptr;
    delete builtinTable;
    builtinTable = nullptr;
}

int AddMultiFunction(TMultiFunction* function) { return MultiFunctions().Add(function); }

void EvaluateMultiFunction(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) {
    const int position = function.value.code.index;
    const TMultiFunction* entry = MultiFunctions()[position];
    const int count = entry != nullptr ? entry->GetCount() : 0;
    EXPRESSION_ITEM result = MakeItem(ekNone);
    if (entry == nullptr || count > stack.GetCount()) {
        result = ErrorResult(17);
    } else if (position >= BuiltinFunctionCount()) {
        if (!RunMultiFunctionHandlers(list, function, stack, check, result)) result = ErrorResult(17);
    } else if (check) {
        result = PlaceholderOf(entry->pushedKind, stack);
    } else if (!RunBuiltin(position, stack, result)) {
        result = ErrorResult(17);
    }
    ReplaceArguments(stack, count > stack.GetCount() ? 0 : count, result);
}

void EvaluateVarFunction(TVariableList&, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) {
    const TVarFunction* entry = VarFunctions()[function.value.code.index];
    const int count = function.value.code.argumentCount;
    EXPRESSION_ITEM result = MakeItem(ekNone);
    if (entry == nullptr || count < 1 || count > stack.GetCount()) {
        result = ErrorResult(17);
    } else if (check) {
        result = PlaceholderOf(entry->resultType, stack);
    } else if (!RunListFunction(function.value.code.index, count, stack, result)) {
        result = ErrorResult(17);
    }
    ReplaceArguments(stack, count == 0 || count > stack.GetCount() ? 0 : count, result);
}
