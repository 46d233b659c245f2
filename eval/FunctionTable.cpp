// The built-in function table, the list-function table and the dispatchers that run their bodies.
#include "FunctionTable.h"

#include <array>

#include "BuiltinArrays.h"
#include "BuiltinClock.h"
#include "BuiltinDialogs.h"
#include "BuiltinFiles.h"
#include "BuiltinGeometry.h"
#include "BuiltinCall.h"
#include "BuiltinNumbers.h"
#include "BuiltinRanges.h"
#include "BuiltinSearch.h"
#include "BuiltinStringEditing.h"
#include "BuiltinStrings.h"
#include "BuiltinSystem.h"
#include "BuiltinTargets.h"
#include "BuiltinTokens.h"
#include "Derivation.h"
#include "EvaluateErrors.h"
#include "ExtensionHooks.h"
#include "ListFunctions.h"
#include "StackRoutines.h"
#include "TextRoutines.h"

namespace {

// One registration row: name, alias, declared result type, parameter kinds
// as digits (TFunctionParamType codes), pushed kind, the item type an array
// parameter requires (0 or 1: any) and the type a variable parameter
// requires (1: any), and the flags.
struct TBuiltinRow {
    const char* name;
    const char* alias;
    TVariableType result;
    const char* parameters;
    TExpressionItemType pushed;
    TVariableType arrayItemType;
    TVariableType variableType;
    TBuiltinFlags flags;
};

// Flags of the rows (see bfReachesOutside and bfImpure):
// - kOutside: the clock (asctime, t_*), dialogs (messagebox, readstring,
//   GetFileName), files (OpenFile .. ReadFile, get_file_size, load_file),
//   the working folder (getcwd), the shell (system), the environment
//   (getenv). All of them are impure as well.
// - kImpure: the random generator (drand); writes through an argument
//   (intersection_point's point, tokenize's and str_gettokens' arrays,
//   aif's variable, array_convert's and array_filter's arrays).
// - kPure: everything else. The walks (summa, integrate, str_iota,
//   str_any_tok ...) are pure: their temporaries are gone when they return
//   and integrate gives its variable its value back; whatever the walked
//   sub-expression does is that sub-expression's own.
constexpr TBuiltinFlags kPure = 0;
constexpr TBuiltinFlags kImpure = bfImpure;
constexpr TBuiltinFlags kOutside = bfReachesOutside | bfImpure;

// ORDER: a built-in's position in this table is its identity in compiled
// and stored expressions; append only, never reorder or remove.
const TBuiltinRow kBuiltinRows[] = {
    {"array_count", "acount", 2, "4", 1, 0, 0, kPure},                   // 0
    {"array_linecount", "alinec", 2, "5", 1, 0, 0, kPure},               // 1
    {"array_colcount", "acolc", 2, "5", 1, 0, 0, kPure},                 // 2
    {"array_sum", "asum", 3, "4", 3, 0, 0, kPure},                       // 3
    {"array_ave", "aave", 3, "4", 3, 0, 0, kPure},                       // 4
    {"array_min", "amin", 3, "4", 3, 0, 0, kPure},                       // 5
    {"array_max", "amax", 3, "4", 3, 0, 0, kPure},                       // 6
    {"to_point", "", 4, "00", 21, 0, 0, kPure},                          // 7
    {"to_complex", "", 4, "00", 22, 0, 0, kPure},                        // 8
    {"strlen", "str_len", 2, "3", 1, 0, 0, kPure},                       // 9
    {"str_int", "", 2, "3", 1, 0, 0, kPure},                             // 10
    {"str_double", "", 6, "3", 3, 0, 0, kPure},                          // 11
    {"strcmp", "str_cmp", 2, "33", 1, 0, 0, kPure},                      // 12
    {"strpos", "str_pos", 2, "33", 1, 0, 0, kPure},                      // 13
    {"strupper", "str_upper", 6, "3", 20, 0, 0, kPure},                  // 14
    {"strlower", "str_lower", 6, "3", 20, 0, 0, kPure},                  // 15
    {"strrev", "str_rev", 6, "3", 20, 0, 0, kPure},                      // 16
    {"substr", "str_substr", 6, "300", 20, 0, 0, kPure},                 // 17
    {"strcat_obsolete", "str_cat", 6, "33", 20, 0, 0, kPure},            // 18
    {"strmul", "str_mul", 6, "30", 20, 0, 0, kPure},                     // 19
    {"strfilter", "str_filter", 6, "33", 20, 0, 0, kPure},               // 20
    {"asctime", "", 6, "", 20, 0, 0, kOutside},                          // 21
    {"t_sec", "", 2, "", 1, 0, 0, kOutside},                             // 22
    {"t_min", "", 2, "", 1, 0, 0, kOutside},                             // 23
    {"t_hour", "", 2, "", 1, 0, 0, kOutside},                            // 24
    {"t_monthday", "", 2, "", 1, 0, 0, kOutside},                        // 25
    {"t_month", "", 2, "", 1, 0, 0, kOutside},                           // 26
    {"t_year", "", 2, "", 1, 0, 0, kOutside},                            // 27
    {"t_weekday", "", 2, "", 1, 0, 0, kOutside},                         // 28
    {"t_weekdayname", "", 6, "", 20, 0, 0, kOutside},                    // 29
    {"t_yearday", "", 2, "", 1, 0, 0, kOutside},                         // 30
    {"messagebox", "", 2, "330", 1, 0, 0, kOutside},                     // 31
    {"readstring", "", 2, "3330", 1, 0, 0, kOutside},                    // 32
    {"cx_exp", "", 5, "2", 22, 0, 0, kPure},                             // 33
    {"cx_log", "", 5, "2", 22, 0, 0, kPure},                             // 34
    {"cx_sinh", "", 5, "2", 22, 0, 0, kPure},                            // 35
    {"cx_cosh", "", 5, "2", 22, 0, 0, kPure},                            // 36
    {"cx_tanh", "", 5, "2", 22, 0, 0, kPure},                            // 37
    {"cx_abs", "", 3, "2", 3, 0, 0, kPure},                              // 38
    {"cx_arcus", "", 3, "2", 3, 0, 0, kPure},                            // 39
    {"cx_sqrt", "", 5, "2", 22, 0, 0, kPure},                            // 40
    {"cx_dmul", "", 5, "20", 22, 0, 0, kPure},                           // 41
    {"angle", "", 3, "11", 3, 0, 0, kPure},                              // 42
    {"rotate_radius", "", 4, "100", 21, 0, 0, kPure},                    // 43
    {"rotate_point", "", 4, "110", 21, 0, 0, kPure},                     // 44
    {"intersection_point", "", 2, "111110", 1, 0, 0, kImpure},           // 45
    {"point_in_polygon", "", 2, "14", 1, vtPoint, 0, kPure},             // 46
    {"GetFileName", "", 2, "343", 1, vtString, 0, kOutside},             // 47
    {"OpenFile", "", 2, "300", 1, 0, 0, kOutside},                       // 48
    {"CloseFile", "", 2, "0", 1, 0, 0, kOutside},                        // 49
    {"WriteString", "", 2, "03", 1, 0, 0, kOutside},                     // 50
    {"WriteLine", "", 2, "03", 1, 0, 0, kOutside},                       // 51
    {"ReadLine", "", 2, "03", 1, 0, 0, kOutside},                        // 52
    {"ReadFile", "", 2, "04", 1, vtString, 0, kOutside},                 // 53
    {"pnt", "", 4, "00", 21, 0, 0, kPure},                               // 54
    {"cmplx", "", 5, "00", 22, 0, 0, kPure},                             // 55
    {"integrate", "", 3, "760000", 3, 0, vtDouble, kPure},               // 56
    {"binary", "", 6, "0", 20, 0, 0, kPure},                             // 57
    {"octal", "", 6, "0", 20, 0, 0, kPure},                              // 58
    {"hexa", "", 6, "0", 20, 0, 0, kPure},                               // 59
    {"base", "", 6, "00", 20, 0, 0, kPure},                              // 60
    {"strcont", "str_cont", 2, "33", 1, 0, 0, kPure},                    // 61
    {"str_prev", "str_before", 6, "33", 20, 0, 0, kPure},                // 62
    {"str_next", "str_after", 6, "33", 20, 0, 0, kPure},                 // 63
    {"str_trim_right", "str_trr", 6, "33", 20, 0, 0, kPure},             // 64
    {"str_trim_left", "str_trl", 6, "33", 20, 0, 0, kPure},              // 65
    {"str_trim", "strtrim", 6, "33", 20, 0, 0, kPure},                   // 66
    {"strcond", "str_cond", 6, "033", 20, 0, 0, kPure},                  // 67
    {"psubstr", "str_pos_substr", 6, "300", 20, 0, 0, kPure},            // 68
    {"isnumber", "is_number", 2, "3", 1, 0, 0, kPure},                   // 69
    {"strcheck", "str_check", 2, "33", 1, 0, 0, kPure},                  // 70
    {"strlcheck", "str_lcheck", 2, "3300", 1, 0, 0, kPure},              // 71
    {"strtok", "str_token", 6, "330", 20, 0, 0, kPure},                  // 72
    {"array_item", "aitem", 2, "48", 1, 0, 0, kPure},                    // 73
    {"strfirst", "str_first", 2, "3", 1, 0, 0, kPure},                   // 74
    {"strlast", "str_last", 2, "3", 1, 0, 0, kPure},                     // 75
    {"strchar", "str_char", 2, "30", 1, 0, 0, kPure},                    // 76
    {"derive", "", 6, "76", 20, 0, vtDouble, kPure},                     // 77
    {"tokenize", "", 2, "334", 1, 0, 0, kImpure},                        // 78
    {"intcond", "int_cond", 2, "000", 1, 0, 0, kPure},                   // 79
    {"get_file_size", "", 2, "3", 1, 0, 0, kOutside},                    // 80
    {"str_replace", "", 6, "333", 20, 0, 0, kPure},                      // 81
    {"time_cmp", "", 2, "33", 1, 0, 0, kPure},                           // 82
    {"dec", "", 2, "30", 1, 0, 0, kPure},                                // 83
    {"str_pad_right", "strpadr", 6, "330", 20, 0, 0, kPure},             // 84
    {"str_pad_left", "strpadl", 6, "330", 20, 0, 0, kPure},              // 85
    {"a_isum", "", 2, "50000", 1, 0, 0, kPure},                          // 86
    {"a_dsum", "", 3, "50000", 3, 0, 0, kPure},                          // 87
    {"str_noacc", "noacc", 6, "3", 20, 0, 0, kPure},                     // 88
    {"load_file", "", 2, "336", 1, 0, 1, kOutside},                      // 89
    {"strntok", "", 6, "330", 20, 0, 0, kPure},                          // 90
    {"aif", "", 2, "068", 1, 0, 1, kImpure},                             // 91
    {"str_left", "strleft", 6, "30", 20, 0, 0, kPure},                   // 92
    {"str_right", "strright", 6, "30", 20, 0, 0, kPure},                 // 93
    {"str_nums", "strnums", 6, "30", 20, 0, 0, kPure},                   // 94
    {"str_tok2", "strtok2", 6, "3300", 20, 0, 0, kPure},                 // 95
    {"str_tok3", "strtok3", 6, "33000", 20, 0, 0, kPure},                // 96
    {"str_tok_xchg", "strtokxchg", 6, "3300", 20, 0, 0, kPure},          // 97
    {"str_word", "strword", 6, "30", 20, 0, 0, kPure},                   // 98
    {"str_word_sep", "strwords", 6, "330", 20, 0, 0, kPure},             // 99
    {"str_tokn", "strtokn", 6, "330", 20, 0, 0, kPure},                  // 100
    {"str_npos", "strnpos", 2, "330", 1, 0, 0, kPure},                   // 101
    {"str_char_replace", "strcrep", 6, "333", 20, 0, 0, kPure},          // 102
    {"str_insert", "strins", 6, "330", 20, 0, 0, kPure},                 // 103
    {"str_delete", "strdel", 6, "300", 20, 0, 0, kPure},                 // 104
    {"str_token_pos", "strtokpos", 2, "330", 1, 0, 0, kPure},            // 105
    {"str_word_pos", "strwordpos", 2, "30", 1, 0, 0, kPure},             // 106
    {"str_word_pos_sep", "strwordposs", 2, "330", 1, 0, 0, kPure},       // 107
    {"str_set_token", "settok", 6, "3303", 20, 0, 0, kPure},             // 108
    {"tabs2spaces", "t2s", 6, "30", 20, 0, 0, kPure},                    // 109
    {"tabs2chars", "t2c", 6, "303", 20, 0, 0, kPure},                    // 110
    {"getcwd", "", 6, "", 20, 0, 0, kOutside},                           // 111
    {"str_set_word", "setword", 6, "303", 20, 0, 0, kPure},              // 112
    {"drand", "", 3, "", 3, 0, 0, kImpure},                              // 113
    {"system", "", 2, "3", 1, 0, 0, kOutside},                           // 114
    {"getenv", "", 6, "3", 20, 0, 0, kOutside},                          // 115
    {"str_gettokens", "get_tokens", 2, "334", 1, vtString, 0, kImpure},  // 116
    {"str_cnt", "strcnt", 2, "33", 1, 0, 0, kPure},                      // 117
    {"str_lev_dist", "strlev", 2, "33", 1, 0, 0, kPure},                 // 118
    {"isof", "", 2, "33", 1, 0, 0, kPure},                               // 119
    {"str_begins", "strbegins", 2, "33", 1, 0, 0, kPure},                // 120
    {"str_ends", "strends", 2, "33", 1, 0, 0, kPure},                    // 121
    {"capitalize", "", 6, "3", 20, 0, 0, kPure},                         // 122
    {"summa", "", 2, "007", 1, 0, 0, kPure},                             // 123
    {"product", "", 2, "007", 1, 0, 0, kPure},                           // 124
    {"strbeg", "", 6, "30", 20, 0, 0, kPure},                            // 125
    {"strend", "", 6, "30", 20, 0, 0, kPure},                            // 126
    {"xctok", "", 6, "30", 20, 0, 0, kPure},                             // 127
    {"nstrpos", "", 2, "3030", 1, 0, 0, kPure},                          // 128
    {"nstrendpos", "", 2, "3030", 1, 0, 0, kPure},                       // 129
    {"strendpos", "str_end_pos", 2, "33", 1, 0, 0, kPure},               // 130
    {"dsumma", "", 3, "0007", 3, 0, 0, kPure},                           // 131
    {"dproduct", "", 3, "0007", 3, 0, 0, kPure},                         // 132
    {"strwcont", "", 2, "33", 1, 0, 0, kPure},                           // 133
    {"strgetword", "", 6, "30", 20, 0, 0, kPure},                        // 134
    {"isupper", "", 6, "3", 1, 0, 0, kPure},                             // 135
    {"islower", "", 6, "3", 1, 0, 0, kPure},                             // 136
    {"str_any_tok", "stranytok", 6, "337", 1, 0, 0, kPure},              // 137
    {"str_all_tok", "stralltok", 6, "337", 1, 0, 0, kPure},              // 138
    {"str_none_tok", "strnonetok", 6, "337", 1, 0, 0, kPure},            // 139
    {"str_any_word", "stranyword", 6, "37", 1, 0, 0, kPure},             // 140
    {"str_all_word", "strallword", 6, "37", 1, 0, 0, kPure},             // 141
    {"str_none_word", "strnoneword", 6, "37", 1, 0, 0, kPure},           // 142
    {"strw2t", "", 6, "33", 20, 0, 0, kPure},                            // 143
    {"str_iota", "striota", 6, "07", 20, 0, 0, kPure},                   // 144
    {"str_token_convert", "strtconv", 6, "337", 20, 0, 0, kPure},        // 145
    {"str_word_convert", "strwconv", 6, "37", 20, 0, 0, kPure},          // 146
    {"array_convert", "aconvert", 2, "47", 1, 1, 0, kImpure},            // 147
    {"array_filter", "afilt", 2, "447", 1, 0, 0, kImpure},               // 148
    {"array_calc", "acalc", 2, "477", 1, 0, 0, kPure},                   // 149
    {"str_token_count", "strtcount", 2, "33", 1, 0, 0, kPure},           // 150
    {"str_word_count", "strwcount", 2, "3", 1, 0, 0, kPure},             // 151
};
static_assert(sizeof(kBuiltinRows) / sizeof(kBuiltinRows[0]) == kBuiltinFunctionCount, "one row per built-in");

struct TListRow {
    const char* name;
    TFunctionParamType paramType;
    TExpressionItemType resultType;
    TBuiltinFlags flags;
};

// Flags as for the built-ins: print writes to standard output (outside);
// gettokens, parse, getmin and getmax write the variables they name, rand
// draws from the random generator (impure); the rest are pure.
// ORDER: positions are identities in compiled expressions and files.
const TListRow kListRows[] = {
    {"min", fpNumber, ekInteger, kPure},       {"dmin", fpNumber, ekReal, kPure},
    {"max", fpNumber, ekInteger, kPure},       {"dmax", fpNumber, ekReal, kPure},
    {"ave", fpNumber, ekInteger, kPure},       {"dave", fpNumber, ekReal, kPure},
    {"s_item", fpString, ekInteger, kPure},    {"n_item", fpNumber, ekInteger, kPure},
    {"print", fpAny, ekInteger, kOutside},     {"strmtok", fpAny, ekOwnedText, kPure},
    {"mid", fpNumber, ekInteger, kPure},       {"dmid", fpNumber, ekReal, kPure},
    {"smid", fpString, ekOwnedText, kPure},    {"sum", fpNumber, ekInteger, kPure},
    {"dsum", fpNumber, ekReal, kPure},         {"ssum", fpString, ekOwnedText, kPure},
    {"strtokf", fpAny, ekOwnedText, kPure},    {"gettokens", fpAny, ekInteger, kImpure},
    {"rand", fpAny, ekInteger, kImpure},       {"getmin", fpAny, ekInteger, kImpure},
    {"getmax", fpAny, ekInteger, kImpure},     {"strbtw", fpString, ekOwnedText, kPure},
    {"strcat", fpString, ekOwnedText, kPure},  {"strwcat", fpAny, ekOwnedText, kPure},
    {"strall", fpString, ekInteger, kPure},    {"strany", fpString, ekInteger, kPure},
    {"strnone", fpString, ekInteger, kPure},   {"parse", fpAny, ekInteger, kImpure},
    {"strformat", fpAny, ekOwnedText, kPure},
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

// Replaces result by an error, giving back a text it holds from the stack.
void FailResult(TEvalStack& stack, EXPRESSION_ITEM& result, int code) {
    if (result.kind == ekBufferedText) stack.ReleaseBufferedString(result.value.text.slot);
    result = ErrorResult(code);
}

// ORDER: one entry per family unit; a family lists the positions it runs.
TBuiltinBodyRows (*const kBodyFamilies[])() = {
    ArrayBuiltinBodies,
    StringBuiltinBodies,
    StringEditingBuiltinBodies,
    TextRoutineBuiltinBodies,
    SearchBuiltinBodies,
    TokenBuiltinBodies,
    RandomBuiltinBodies,
    DeriveBuiltinBodies,
    RangeBuiltinBodies,
    NumberBuiltinBodies,
    SystemBuiltinBodies,
    GeometryBuiltinBodies,
    ClockBuiltinBodies,
    DialogBuiltinBodies,
    FileBuiltinBodies,
};

// The bodies indexed by position; null where no family has one yet.
const std::array<TBuiltinBody, kBuiltinFunctionCount>& BuiltinBodies() {
    static const std::array<TBuiltinBody, kBuiltinFunctionCount> bodies = [] {
        std::array<TBuiltinBody, kBuiltinFunctionCount> table{};
        for (auto family : kBodyFamilies) {
            const TBuiltinBodyRows rows = family();
            for (int k = 0; k < rows.count; ++k)
                if (rows.rows[k].position >= 0 && rows.rows[k].position < kBuiltinFunctionCount)
                    table[static_cast<size_t>(rows.rows[k].position)] = rows.rows[k].body;
        }
        return table;
    }();
    return bodies;
}

// The clock functions read the clock in the check pass as well.
bool RunsInCheckPass(int position) { return position >= 21 && position <= 30; }

// Built-ins that write through an argument's reference, which must
// therefore designate a value of the right type: position, argument index
// and the test.
struct TTargetRow {
    int position;
    int argument;
    bool (*designates)(const TBuiltinCall& call, int k);
};
const TTargetRow kTargetRows[] = {
    {32, 2, DesignatesStringVariable},
    {45, 4, DesignatesPointValue},
    {47, 2, DesignatesStringVariable},
    {52, 1, DesignatesStringVariable},
};

// True unless the position has a target argument that designates no value
// it could write.
bool TargetsComeFromVariables(const TBuiltinCall& call) {
    for (const TTargetRow& row : kTargetRows)
        if (row.position == call.position && !row.designates(call, row.argument)) return false;
    return true;
}

// Why an array argument no longer fits the function (0 when it fits).
int ArrayMismatch(const TVariable* v, TFunctionParamType kind, TVariableType itemType) {
    if (v == nullptr || (v->type != vtArray && v->type != vtArray2)) return eeArrayMissing;
    const TVariableType wanted = kind == fpArray ? vtArray : vtArray2;
    if (v->type != wanted) return eeArrayDimension;
    const TVariableType held = wanted == vtArray ? v->value.a.itemtype : v->value.a2.itemtype;
    return itemType > 1 && held != itemType ? eeWrongArrayItemType : 0;
}

// The variable a stored reference designates now (V_Index's rule, computed
// wide so that a damaged reference cannot overflow); null outside the list.
TVariable* StoredReferenceTarget(const TVariableList& vars, const TVariableValue& reference) {
    const int64_t position = reference.absolute ? int64_t{vars.GetBase()} + reference.reference
                                                : int64_t{vars.GetCount()} - 1 - reference.reference;
    return position >= 0 && position < vars.GetCount() ? vars[static_cast<int>(position)] : nullptr;
}

// Resolves the array and variable arguments into call.variables. Stored
// expressions outlive the variables they name, so each one is checked
// against what the function declares; the result is 0 or an error code.
int ResolveVariables(const TMultiFunction& entry, TBuiltinCall& call) {
    for (int k = 0; k < call.count && k < kMaxBuiltinParameters; ++k) {
        const TFunctionParamType kind = entry.GetParamType(k);
        if (kind != fpArray && kind != fpArray2 && kind != fpVariable) continue;
        const EXPRESSION_ITEM& item = call.Item(k);
        const TExpressionItemType expected = kind == fpArray ? ekArray : kind == fpArray2 ? ekArray2 : ekVariable;
        if (item.kind != expected) return eeWrongArgumentType;
        TVariable* v = StoredReferenceTarget(call.vars, item.value.variable);
        if (kind == fpVariable) {
            if (v == nullptr || (entry.variableType != 1 && v->type != entry.variableType)) return eeMissingVariable;
        } else if (const int code = ArrayMismatch(v, kind, entry.arrayItemType)) {
            return code;
        }
        call.variables[k] = v;
    }
    return 0;
}

// One call of a registered built-in (position below kBuiltinFunctionCount).
EXPRESSION_ITEM RunBuiltin(const TMultiFunction& entry, TBuiltinCall& call, bool check) {
    // A text result takes its buffered string first, in both passes.
    EXPRESSION_ITEM result = PlaceholderOf(entry.pushedKind, call.stack);
    if (const int code = ResolveVariables(entry, call)) {
        FailResult(call.stack, result, code);
        return result;
    }
    const TBuiltinBody body = BuiltinBodies()[static_cast<size_t>(call.position)];
    if (check) {
        if (!TargetsComeFromVariables(call))
            FailResult(call.stack, result, eeMissingVariable);
        else if (body != nullptr && RunsInCheckPass(call.position))
            body(call, result);
        return result;
    }
    if (body == nullptr)
        FailResult(call.stack, result, eeUnknownSymbol);
    else
        body(call, result);
    return result;
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
        function->arrayItemType = row.arrayItemType;
        function->variableType = row.variableType;
        function->flags = row.flags;
        Add(function);
    }
}

TMultiFunctionList::~TMultiFunctionList() { DeleteAll(GetOwnsItems()); }

TMultiFunction* TMultiFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TMultiFunction*>(GetItem(i)) : nullptr;
}

// emplace keeps the first position a name was added at, so the earliest
// function whose name or alias matches wins, as in a scan by position.
int TMultiFunctionList::Find(const TString& word) const {
    const auto build = [this](auto add) {
        for (int i = 0; i < GetCount(); ++i) {
            const TMultiFunction* function = (*this)[i];
            add(function->name, i);
            if (function->alias.Length() > 0) add(function->alias, i);
        }
    };
    const auto stillNamed = [this](int i, const TString& name) {
        const TMultiFunction* function = (*this)[i];
        return function != nullptr &&
               (function->name == name || (function->alias.Length() > 0 && function->alias == name));
    };
    return index.Find(word, GetCount(), build, stillNamed);
}

int BuiltinFunctionCount() { return kBuiltinFunctionCount; }

TVarFunction::TVarFunction(const TString& name, TFunctionParamType paramType, TExpressionItemType resultType,
                           TBuiltinFlags flags)
    : name(name), paramType(paramType), resultType(resultType), flags(flags) {}

TVarFunctionList::TVarFunctionList() {
    for (const TListRow& row : kListRows) Add(new TVarFunction(row.name, row.paramType, row.resultType, row.flags));
}

TVarFunctionList::~TVarFunctionList() { DeleteAll(GetOwnsItems()); }

TVarFunction* TVarFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TVarFunction*>(GetItem(i)) : nullptr;
}

int TVarFunctionList::Find(const TString& word) const {
    const auto build = [this](auto add) {
        for (int i = 0; i < GetCount(); ++i) add((*this)[i]->name, i);
    };
    const auto stillNamed = [this](int i, const TString& name) {
        const TVarFunction* function = (*this)[i];
        return function != nullptr && function->name == name;
    };
    return index.Find(word, GetCount(), build, stillNamed);
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
    // A stored position outside the table, or more parameters than items, pops nothing.
    if (entry == nullptr || entry->GetCount() > stack.GetCount()) {
        EXPRESSION_ITEM error = ErrorResult(eeUnknownSymbol);
        ReplaceArguments(stack, 0, error);
        return;
    }
    const int count = entry->GetCount();
    EXPRESSION_ITEM result = MakeItem(ekNone);
    if (position < kBuiltinFunctionCount) {
        TBuiltinCall call(list, stack, position, count);
        result = RunBuiltin(*entry, call, check);
    } else if (!RunMultiFunctionHandlers(list, function, stack, check, result)) {
        result = check ? ErrorResult(eeUnknownSymbol) : MakeIntegerItem(0);
    }
    ReplaceArguments(stack, count, result);
}

void EvaluateVarFunction(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) {
    const TVarFunction* entry = VarFunctions()[function.value.code.index];
    const int count = function.value.code.argumentCount;
    EXPRESSION_ITEM result = MakeItem(ekNone);
    if (entry == nullptr || count < 1 || count > stack.GetCount()) {
        result = ErrorResult(17);
    } else if (check) {
        result = PlaceholderOf(entry->resultType, stack);
    } else if (!RunListFunction(list, function, stack, result)) {
        result = ErrorResult(17);
    }
    ReplaceArguments(stack, count == 0 || count > stack.GetCount() ? 0 : count, result);
}
