// The expression compiler: longest-match token scan, operator-precedence postfix step and the call compilers.
#include "ExpressionCompiler.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "BinaryOperators.h"
#include "EvalStack.h"
#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"
#include "StringContainer.h"

namespace {

// Compiles check their result on an evaluation stack. Making a fresh stack
// each time would re-seed the shared generators from the clock, so every
// thread keeps its stacks and reuses them; a nested compile takes another.
class TCompileStackLease {
public:
    TCompileStackLease() {
        std::vector<std::unique_ptr<TEvalStack>>& pool = Pool();
        if (pool.empty()) {
            stack.reset(new TEvalStack);
        } else {
            stack = std::move(pool.back());
            pool.pop_back();
        }
    }
    ~TCompileStackLease() {
        stack->Pop(stack->GetCount());
        Pool().push_back(std::move(stack));
    }
    TCompileStackLease(const TCompileStackLease&) = delete;
    TCompileStackLease& operator=(const TCompileStackLease&) = delete;
    TEvalStack& Stack() { return *stack; }

private:
    static std::vector<std::unique_ptr<TEvalStack>>& Pool() {
        thread_local std::vector<std::unique_ptr<TEvalStack>> pool;
        return pool;
    }
    std::unique_ptr<TEvalStack> stack;
};

thread_local int compileDepth = 0;

// Longest fixed token the scan must try: the "['\t']=" operator form.
constexpr int kLongestFixedToken = 7;

void SetError(int code) { EvaluateErrorCode = static_cast<int8_t>(code); }

// Frees what an item owns (text, nested expression, placeholder list).
void FreeItemContent(EXPRESSION_ITEM& item) {
    if (item.kind == ekOwnedText) {
        delete item.value.text.text;
        item.value.text.text = nullptr;
    } else if (item.kind == ekSubExpression && item.value.expression != nullptr) {
        FreeExpression(*item.value.expression);
        delete item.value.expression;
        item.value.expression = nullptr;
    }
    delete[] item.list;
    item.list = nullptr;
    item.listCount = 0;
}

void FreeItems(std::vector<EXPRESSION_ITEM>& items) {
    for (EXPRESSION_ITEM& item : items) FreeItemContent(item);
    items.clear();
}

// Moves the items of a compiled expression out of it; e's array is freed.
void TakeItems(EXPRESSION& e, std::vector<EXPRESSION_ITEM>& out) {
    for (int k = 0; k < e.count; ++k) out.push_back(e.items[k]);
    if (e.count >= 0) delete[] e.items;
    e.count = -1;
    e.items = nullptr;
}

bool IsIn(TExpressionItemType kind, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (kind == k) return true;
    return false;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return -1;
}

// A decimal real of digits around one point, with an optional leading
// minus, read to the nearest double; the minus negates the value read.
// Beyond the range of doubles it gives infinity, below it zero.
double DecimalReal(const std::string& s) {
    const bool negative = !s.empty() && s[0] == '-';
    const char* first = s.data() + (negative ? 1 : 0);
    const char* last = s.data() + s.size();
    // The point alone reads as 0.0.
    double value = 0.0;
    if (last - first > 1 && std::from_chars(first, last, value, std::chars_format::fixed).ec != std::errc()) {
        const char* lead = std::find_if(first, last, [](char c) { return c != '0'; });
        value = *lead != '.' ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

// Row 7: a number with its prefix or @base@ form; false if s is not one.
bool ParseNumber(const std::string& s, bool afterOperand, EXPRESSION_ITEM& token) {
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string digits = "0123456789";
    int base = 10;
    size_t start = 0;
    if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'b' || s[1] == 'o')) {
        digits = s[1] == 'x' ? "0123456789abcdefABCDEF" : s[1] == 'b' ? "01" : "01234567";
        base = s[1] == 'x' ? 16 : s[1] == 'b' ? 2 : 8;
        start = 2;
    }
    const size_t second = s.find('@', 1);
    if (!s.empty() && s[0] == '@' && second != std::string::npos && second > 1 &&
        s.find('@', second + 1) == std::string::npos) {
        if (second > 3) return false;  // more than two digits: far outside 2..36
        int explicitBase = 0;
        for (size_t k = 1; k < second; ++k) {
            if (s[k] < '0' || s[k] > '9') return false;
            explicitBase = explicitBase * 10 + (s[k] - '0');
        }
        if (explicitBase < 2 || explicitBase > 36) return false;
        base = explicitBase;
        digits.assign(kDigits, static_cast<size_t>(base));
        start = second + 1;
    }
    size_t point = std::string::npos;
    for (size_t k = start; k < s.size(); ++k) {
        const char c = s[k];
        if (digits.find(c) != std::string::npos) continue;
        if (c == '.' && point == std::string::npos) {
            point = k;
            continue;
        }
        if (c == '-' && k == start && !afterOperand) continue;
        return false;
    }
    if (point != std::string::npos) {
        if (base == 10 && start == 0) {
            token = MakeRealItem(DecimalReal(s));
            return true;
        }
        double value = 0;
        double f = 1.0 / base;
        for (size_t k = point + 1; k < s.size(); ++k, f /= base) value += DigitValue(s[k]) * f;
        f = 1;
        for (size_t k = point; k-- > start;) {
            if (s[k] == '-') {
                value = -value;
            } else {
                value += DigitValue(s[k]) * f;
                f *= base;
            }
        }
        token = MakeRealItem(value);
        return true;
    }
    const bool negative = start < s.size() && s[start] == '-';
    uint64_t value = 0;
    for (size_t k = start + (negative ? 1 : 0); k < s.size(); ++k)
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(s[k]));
    if (negative) value = 0 - value;
    token = MakeIntegerItem(static_cast<int64_t>(value));
    return true;
}

EXPRESSION_ITEM TextItem(const std::string& text) {
    EXPRESSION_ITEM item = MakeItem(ekOwnedText);
    item.value.text.text = new TString(text);
    return item;
}

// Whether the square brackets of s[first..last) outside quotes pair up; an
// inner text whose brackets do not can never compile, so the costly nested
// compilation of such a candidate is skipped.
bool BracketsBalance(const std::string& s, size_t first, size_t last) {
    int depth = 0;
    bool quoted = false;
    for (size_t k = first; k < last; ++k) {
        if (s[k] == '\'') quoted = !quoted;
        if (quoted) continue;
        if (s[k] == '[') ++depth;
        if (s[k] == ']' && --depth < 0) return false;
    }
    return depth == 0;
}

// Name filter: bit min(length, 63) of the entries of a name's first, second
// and last characters is set for every name added, so a candidate whose
// bits are missing cannot be one of them (the reverse does not hold).
struct TNameFilter {
    uint64_t byFirst[256] = {};
    uint64_t bySecond[256] = {};
    uint64_t byLast[256] = {};

    static uint64_t LengthBit(size_t length) { return uint64_t{1} << (length < 63 ? length : 63); }
    static size_t At(const char* s, size_t k) { return static_cast<unsigned char>(s[k]); }

    void Add(const char* name, size_t length) {
        if (length == 0) return;
        const uint64_t bit = LengthBit(length);
        byFirst[At(name, 0)] |= bit;
        bySecond[At(name, length > 1 ? 1 : 0)] |= bit;
        byLast[At(name, length - 1)] |= bit;
    }
    bool MayHold(const char* candidate, size_t length) const {
        const uint64_t bit = LengthBit(length);
        return (byFirst[At(candidate, 0)] & bit) != 0 && (bySecond[At(candidate, length > 1 ? 1 : 0)] & bit) != 0 &&
               (byLast[At(candidate, length - 1)] & bit) != 0;
    }
};

// The symbols of the operator table and the names of the simple functions
// with their lengths, and the filter of all fixed names; built once.
struct TFixedNames {
    std::vector<size_t> operatorLengths;
    std::vector<size_t> functionLengths;
    TNameFilter filter;

    void Add(const char* name) { filter.Add(name, std::strlen(name)); }
    TFixedNames() {
        for (const char* fixed : {"pi", "Pi", "PI", "qm", "bs", "dot", ".x", ".y", ".re", ".im"}) Add(fixed);
        // The bracket operators; the quoted character is neither first, second nor last.
        for (const char* form : {"[w]=", "[w]!=", "['c']=", "['\\t']="}) Add(form);
        for (int k = 0; k < kOperatorCount; ++k) {
            operatorLengths.push_back(std::strlen(GetOperatorInfo(k)->symbol));
            Add(GetOperatorInfo(k)->symbol);
        }
        for (int k = 0; k < kSimpleFunctionCount; ++k) {
            functionLengths.push_back(std::strlen(GetSimpleFunctionInfo(k)->name));
            Add(GetSimpleFunctionInfo(k)->name);
        }
    }
};

const TFixedNames& FixedNames() {
    static const TFixedNames names;
    return names;
}

bool Equals(const std::string& s, const char* name, size_t length) {
    return s.size() == length && s[0] == name[0] && std::memcmp(s.data(), name, length) == 0;
}

// Row 13: operator table symbols and the three bracket forms.
bool ParseOperator(const std::string& s, EXPRESSION_ITEM& token) {
    const TFixedNames& fixed = FixedNames();
    for (int i = 0; i < kOperatorCount; ++i) {
        const TOperatorInfo* info = GetOperatorInfo(i);
        if (Equals(s, info->symbol, fixed.operatorLengths[static_cast<size_t>(i)])) {
            token = MakeItem(info->operands == 1 ? ekUnaryOperator : ekBinaryOperator);
            token.value.code.index = i;
            return true;
        }
    }
    const bool tabForm = s.size() == 7 && s[2] == '\\' && s[3] == 't';
    if ((s.size() == 6 || tabForm) && s.compare(0, 2, "['") == 0 && s.compare(s.size() - 3, 3, "']=") == 0) {
        token = MakeItem(ekBinaryOperator);
        token.value.code.index = 34;
        token.value.code.character = tabForm ? '\t' : s[s.size() - 4];
        return true;
    }
    if (s == "[w]=" || s == "[w]!=") {
        token = MakeItem(ekBinaryOperator);
        token.value.code.index = s == "[w]=" ? 35 : 36;
        return true;
    }
    return false;
}

// A temporary variable some built-ins bind while one argument compiles.
struct TTemporary {
    const char* name;
    TVariableType type;  // 0: the item type of the array arguments compiled before
};
struct TTemporaryRule {
    const char* function;
    int beforeArgument;
    std::vector<TTemporary> variables;
};
const std::vector<TTemporaryRule>& TemporaryRules() {
    static const std::vector<TTemporaryRule> rules = {
        {"summa", 2, {{"i", vtInt}}},
        {"product", 2, {{"i", vtInt}}},
        {"dsumma", 3, {{"d", vtDouble}, {"i", vtInt}}},
        {"dproduct", 3, {{"d", vtDouble}, {"i", vtInt}}},
        {"str_any_tok", 2, {{"token", vtString}, {"tx", vtInt}}},
        {"str_all_tok", 2, {{"token", vtString}, {"tx", vtInt}}},
        {"str_none_tok", 2, {{"token", vtString}, {"tx", vtInt}}},
        {"str_token_convert", 2, {{"token", vtString}, {"tx", vtInt}}},
        {"str_any_word", 1, {{"word", vtString}, {"wx", vtInt}}},
        {"str_all_word", 1, {{"word", vtString}, {"wx", vtInt}}},
        {"str_none_word", 1, {{"word", vtString}, {"wx", vtInt}}},
        {"str_word_convert", 1, {{"word", vtString}, {"wx", vtInt}}},
        {"str_iota", 1, {{"cx", vtInt}}},
        {"array_convert", 1, {{"item", vtUndefined}}},
        {"array_filter", 2, {{"item", vtUndefined}}},
    };
    return rules;
}

class TCompiler {
public:
    TCompiler(TVariableList& list, const std::string& framed) : list(list), text(framed) {
        operators.PushNew(ekLeftParenthesis);
        longestName = kLongestFixedToken;
        IndexNames(true);
    }
    ~TCompiler() {
        for (int k = 0; k < output.GetCount(); ++k) FreeItemContent(*output.ItemAt(k));
        for (int k = 0; k < operators.GetCount(); ++k) FreeItemContent(*operators.ItemAt(k));
        FreeItems(pendingArguments);
    }

    bool Run(EXPRESSION& result);

private:
    // measure: also take the longest name (only at the start of a compile).
    void IndexNames(bool measure);
    bool MayBeName(int i, int j) const;
    bool MayBeToken(int i, int j, bool numberRun);
    // numberRun: whether text[i..j] consists of number characters only,
    // without which it cannot be a number.
    bool Recognize(int i, int j, bool numberRun, EXPRESSION_ITEM& token, bool& endScan);
    bool CompileCall(int j, const TMultiFunction* function, std::vector<EXPRESSION_ITEM>& items, int& end);
    bool CompileListCall(int j, int index, std::vector<EXPRESSION_ITEM>& items, int& end, int& count,
                         std::vector<int32_t>& placeholders);
    bool CompileArgument(const TString& argument, TFunctionParamType type, TVariableType arrayItemType,
                         TVariableType variableType, std::vector<EXPRESSION_ITEM>& items);
    bool Step(EXPRESSION_ITEM& token, bool& consumed);
    bool StepOperator(EXPRESSION_ITEM& token);
    bool StepClose(EXPRESSION_ITEM& token);
    bool StepComma();
    int DeclaredParameters(const EXPRESSION_ITEM& function) const;
    void Append(const EXPRESSION_ITEM& item) { *output.PushNew(ekNone) = item; }
    void MoveTop() { Append(operators.PopItem()); }
    void FlushUnary() {
        while (operators.LastItem() != nullptr && operators.LastItem()->kind == ekUnaryOperator) MoveTop();
    }
    bool Fail(int code) {
        SetError(code);
        return false;
    }

    TVariableList& list;
    std::string text;
    TExpressionItemList output;
    TExpressionItemList operators;
    bool afterOperand = false;
    TExpressionItemType previous = ekLeftParenthesis;
    int longestName = 0;
    // Every name some recognizer accepts; rebuilt after anything that may
    // run code and so change the tables.
    TNameFilter names;
    bool namesStale = false;
    // Items of the call being recognised, held until it is placed, and the
    // position of the last character its arguments consumed.
    std::vector<EXPRESSION_ITEM> pendingArguments;
    int callEnd = 0;
};

// Fills the filter with every fixed word, operator symbol and function,
// variable and custom operator name the recognizers look up.
void TCompiler::IndexNames(bool measure) {
    names = FixedNames().filter;
    const auto add = [this, measure](const TString& name) {
        names.Add(name.c_str(), static_cast<size_t>(name.Length()));
        if (measure && name.Length() > longestName) longestName = name.Length();
    };
    for (int k = 0; k < list.GetCount(); ++k) add(list[k]->name);
    const TMultiFunctionList& builtins = MultiFunctions();
    for (int k = 0, count = builtins.GetCount(); k < count; ++k) {
        const TMultiFunction* function = builtins[k];
        add(function->name);
        add(function->alias);
    }
    const TVarFunctionList& listFunctions = VarFunctions();
    for (int k = 0, count = listFunctions.GetCount(); k < count; ++k) add(listFunctions[k]->name);
    for (int k = 0; k < ExtFunctions().GetCount(); ++k) add(ExtFunctions()[k]->name);
    for (int k = 0; k < CustomFunctions().GetCount(); ++k) add(CustomFunctions()[k]->name);
    for (int k = 0; k < CustomOperators().GetCount(); ++k) add(CustomOperators()[k]->symbol);
    namesStale = false;
}

bool TCompiler::MayBeName(int i, int j) const {
    return names.MayHold(text.data() + i, static_cast<size_t>(j - i + 1));
}

// Whether any recognizer could accept text[i..j] or act on it; false only
// where Recognize would reject the candidate without any effect.
bool TCompiler::MayBeToken(int i, int j, bool numberRun) {
    const char first = text[static_cast<size_t>(i)];
    const char last = text[static_cast<size_t>(j)];
    if (i == j && first != '\0' && std::strchr("()[],", first) != nullptr) return true;
    if (first == ' ' || numberRun) return true;
    if (j > i && first == '\'' && last == '\'') return true;
    const auto at = [this](int k) { return text[static_cast<size_t>(k)]; };
    if (j - i >= 4 && first == '[' && at(i + 1) == '[' && at(j - 1) == ']' && last == ']') return true;
    if (namesStale) IndexNames(false);
    return MayBeName(i, j);
}

bool TCompiler::Recognize(int i, int j, bool numberRun, EXPRESSION_ITEM& token, bool& endScan) {
    const std::string s = text.substr(static_cast<size_t>(i), static_cast<size_t>(j - i + 1));
    if (s.size() == 1) {
        const char* kSingles = "()[],";
        const TExpressionItemType kKinds[] = {ekLeftParenthesis, ekRightParenthesis, ekLeftBracket, ekRightBracket,
                                              ekComma};
        const char* at = std::strchr(kSingles, s[0]);
        if (at != nullptr && s[0] != '\0') {
            token = MakeItem(kKinds[at - kSingles]);
            return true;
        }
    }
    if (s.find_first_not_of(' ') == std::string::npos) {
        token = MakeItem(ekBlank);
        return true;
    }
    if (numberRun && ParseNumber(s, afterOperand, token)) return true;
    const bool shortWord = s.size() == 2 || s.size() == 3;
    if (shortWord && (s == "pi" || s == "Pi" || s == "PI")) {
        token = MakeRealItem(M_PI);
        return true;
    }
    if (shortWord && (s == "qm" || s == "bs" || s == "dot")) {
        token = TextItem(s == "qm" ? "\"" : s == "bs" ? "\\" : ".");
        return true;
    }
    const bool nameLength = static_cast<int>(s.size()) <= longestName;
    if (nameLength) {
        const TString name(s);
        const int position = list.GetVarIndex(name);
        if (position >= 0) {
            token = MakeItem(ekVariable);
            token.value.variable.reference = list.V_Index(position);
            token.value.variable.absolute = list[position]->absolute;
            return true;
        }
        if (ParseOperator(s, token)) return true;
        if (const TCustomOperator* op = CustomOperators().FindSymbol(name)) {
            token = MakeItem(ekCustomOperator);
            token.value.code.index = op->id;
            return true;
        }
        const std::vector<size_t>& functionLengths = FixedNames().functionLengths;
        for (int k = 0; k < kSimpleFunctionCount; ++k)
            if (Equals(s, GetSimpleFunctionInfo(k)->name, functionLengths[static_cast<size_t>(k)])) {
                token = MakeItem(ekSimpleFunction);
                token.value.code.index = k;
                return true;
            }
        const int builtin = MultiFunctions().Find(name);
        if (builtin >= 0) {
            int end = 0;
            std::vector<EXPRESSION_ITEM> items;
            namesStale = true;
            if (!CompileCall(j, MultiFunctions()[builtin], items, end)) return false;
            callEnd = end;
            token = MakeItem(ekBuiltinFunction);
            token.value.code.index = builtin;
            FreeItems(pendingArguments);
            pendingArguments.swap(items);
            endScan = true;
            return true;
        }
        const int listIndex = VarFunctions().Find(name);
        if (listIndex >= 0) {
            int end = 0;
            int count = 0;
            std::vector<EXPRESSION_ITEM> items;
            std::vector<int32_t> placeholders;
            namesStale = true;
            if (!CompileListCall(j, listIndex, items, end, count, placeholders)) return false;
            callEnd = end;
            token = MakeItem(ekListFunction);
            token.value.code.index = listIndex;
            token.value.code.argumentCount = count;
            if (!placeholders.empty()) {
                token.listCount = static_cast<int>(placeholders.size());
                token.list = new int32_t[placeholders.size()];
                std::memcpy(token.list, placeholders.data(), placeholders.size() * sizeof(int32_t));
            }
            FreeItems(pendingArguments);
            pendingArguments.swap(items);
            endScan = true;
            return true;
        }
    }
    if (s.size() >= 2 && s.front() == '\'' && s.back() == '\'' && s.find('\'', 1) == s.size() - 1) {
        token = TextItem(s.substr(1, s.size() - 2));
        return true;
    }
    if (s == ".x" || s == ".y" || s == ".re" || s == ".im") {
        token = MakeItem(ekFieldSelector);
        token.value.field = s == ".x" ? kFieldX : s == ".y" ? kFieldY : s == ".re" ? kFieldRe : kFieldIm;
        return true;
    }
    if (nameLength) {
        const int ext = ExtFunctions().FindLast(TString(s));
        if (ext >= 0) {
            token = MakeItem(ekExternalFunction);
            token.value.code.index = ext;
            return true;
        }
        if (const TCustomFunction* custom = CustomFunctions().FindLast(TString(s))) {
            token = MakeItem(ekCustomFunction);
            token.value.code.index = custom->id;
            return true;
        }
    }
    if (s.size() >= 5 && s[0] == '[' && s[1] == '[' && s[s.size() - 2] == ']' && s.back() == ']' &&
        BracketsBalance(s, 2, s.size() - 2)) {
        namesStale = true;
        EXPRESSION inner = CreateExpression(list, TString(s.substr(2, s.size() - 4)));
        if (inner.count < 0) return false;
        token = MakeItem(ekSubExpression);
        token.value.expression = new EXPRESSION(inner);
        return true;
    }
    return false;
}

// Splits the argument list that follows position j + 1 ("(") at its top-level commas.
void SplitArguments(const std::string& text, int j, TStringContainer& arguments) {
    TString(text.substr(static_cast<size_t>(j) + 2)).GetTokens(',', true, arguments);
}

bool TCompiler::CompileCall(int j, const TMultiFunction* function, std::vector<EXPRESSION_ITEM>& items, int& end) {
    const int length = static_cast<int>(text.size());
    if (j >= length - 2) return Fail(eeTooFewArguments);
    if (text[static_cast<size_t>(j) + 1] != '(') return Fail(eeLeftParenthesisMissing);
    if (function->GetCount() == 0) {
        if (text[static_cast<size_t>(j) + 2] != ')') return Fail(eeUnknownError);
        end = j + 1;
        return true;
    }
    TStringContainer arguments;
    SplitArguments(text, j, arguments);
    if (arguments.GetCount() != function->GetCount()) return Fail(eeTooFewArguments);
    end = j;
    for (int k = 0; k < arguments.GetCount(); ++k) {
        int bound = 0;
        for (const TTemporaryRule& rule : TemporaryRules()) {
            if (rule.beforeArgument != k || !(function->name == rule.function)) continue;
            for (const TTemporary& temporary : rule.variables) {
                TVariableType type = temporary.type;
                if (type == vtUndefined) {
                    // The item type of the arrays compiled before; they must agree.
                    for (const EXPRESSION_ITEM& item : items) {
                        const TVariable* array =
                            list[list.V_Index(item.value.variable.reference, item.value.variable.absolute)];
                        if (item.kind != ekArray || array == nullptr) continue;
                        if (type != vtUndefined && type != array->value.a.itemtype)
                            type = vtArray;  // mismatch
                        else if (type == vtUndefined)
                            type = array->value.a.itemtype;
                    }
                }
                TVariable* added = type >= vtInt && type <= vtString ? list.AddVar(temporary.name, type, 0) : nullptr;
                if (added == nullptr) {
                    for (; bound > 0; --bound) list.DeleteVar(list.Last());
                    FreeItems(items);
                    return Fail(eeWrongArrayItemType);
                }
                added->absolute = false;
                ++bound;
            }
        }
        TString argument = arguments[k];
        argument.Trim();
        const bool accepted = CompileArgument(argument, function->GetParamType(k), function->arrayItemType,
                                              function->variableType, items);
        for (; bound > 0; --bound) list.DeleteVar(list.Last());
        if (!accepted) {
            FreeItems(items);
            return false;
        }
        end += arguments[k].Length() + 1;
    }
    return true;
}

bool TCompiler::CompileListCall(int j, int index, std::vector<EXPRESSION_ITEM>& items, int& end, int& count,
                                std::vector<int32_t>& placeholders) {
    if (j + 1 >= static_cast<int>(text.size()) || text[static_cast<size_t>(j) + 1] != '(') return false;
    if (j + 2 >= static_cast<int>(text.size())) return false;
    TStringContainer arguments;
    SplitArguments(text, j, arguments);
    if (arguments.GetCount() == 0) return false;
    const TFunctionParamType type = VarFunctions()[index]->paramType;
    end = j;
    for (int k = 0; k < arguments.GetCount(); ++k) {
        TString argument = arguments[k];
        argument.Trim();
        if (!CompileArgument(argument, type, 1, 0, items)) {
            FreeItems(items);
            return false;
        }
        end += arguments[k].Length() + 1;
        if (index == kStrFormatListIndex && k == 0 && argument.Length() >= 2 && argument[0] == '\'' &&
            items.size() == 1 && items[0].kind == ekOwnedText) {
            // Placeholders {N}: recorded as (position in the copied text, N) and cut out.
            const std::string format = argument.c_str();
            std::string copied;
            for (size_t p = 1; p < format.size(); ++p) {
                size_t close = p + 1;
                while (close < format.size() && format[close] >= '0' && format[close] <= '9') ++close;
                if (format[p] == '{' && close > p + 1 && close < format.size() && format[close] == '}') {
                    placeholders.push_back(static_cast<int32_t>(copied.size()));
                    int64_t number = 0;
                    for (size_t d = p + 1; d < close; ++d)
                        number = std::min<int64_t>(number * 10 + (format[d] - '0'), INT32_MAX);
                    placeholders.push_back(static_cast<int32_t>(number));
                    p = close;
                } else {
                    copied += format[p];
                }
            }
            if (!placeholders.empty()) {
                if (!copied.empty() && copied.back() == '\'') copied.pop_back();
                *items[0].value.text.text = TString(copied);
            }
        }
    }
    count = arguments.GetCount();
    return true;
}

bool TCompiler::CompileArgument(const TString& argument, TFunctionParamType type, TVariableType arrayItemType,
                                TVariableType variableType, std::vector<EXPRESSION_ITEM>& items) {
    if (type == fpVariable) {
        const int position = list.GetVarIndex(argument);
        if (position < 0 || (variableType != 1 && list[position]->type != variableType)) return false;
        EXPRESSION_ITEM item = MakeItem(ekVariable);
        item.value.variable.reference = list.V_Index(position);
        item.value.variable.absolute = list[position]->absolute;
        item.value.variable.byReference = true;
        items.push_back(item);
        return true;
    }
    if (type == fpArray || type == fpArray2) {
        int position = -1;
        for (int k = list.GetCount() - 1; k >= 0 && position < 0; --k)
            if (list[k]->name == argument && (list[k]->type == vtArray || list[k]->type == vtArray2)) position = k;
        if (position < 0) return Fail(eeArrayMissing);
        const TVariable* array = list[position];
        const TVariableType wanted = type == fpArray ? vtArray : vtArray2;
        if (array->type != wanted) return Fail(eeArrayDimension);
        const TVariableType itemtype = wanted == vtArray ? array->value.a.itemtype : array->value.a2.itemtype;
        if (arrayItemType > 1 && arrayItemType != itemtype) return Fail(eeWrongArrayItemType);
        EXPRESSION_ITEM item = MakeItem(type == fpArray ? ekArray : ekArray2);
        item.value.variable.reference = list.V_Index(position);
        item.value.variable.absolute = array->absolute;
        items.push_back(item);
        return true;
    }
    EXPRESSION compiled = CreateExpression(list, argument);
    if (compiled.count < 0) return false;
    if (type == fpExpression) {
        const bool sub = compiled.count >= 1 && compiled.items[0].kind == ekSubExpression;
        if (sub) {
            items.push_back(compiled.items[0]);
            compiled.items[0] = MakeItem(ekNone);
        }
        FreeExpression(compiled);
        return sub;
    }
    if (type != fpAny) {
        TCompileStackLease lease;
        const EXPRVALUE value = EvaluateExpression(list, compiled, lease.Stack(), false, nullptr);
        const TExpressionItemType kind = value.kind;
        const bool fits = type == fpNumber    ? kind == ekInteger || kind == ekReal
                          : type == fpPoint   ? kind == ekPoint
                          : type == fpComplex ? kind == ekComplex
                                              : kind == ekOwnedText || kind == ekBorrowedText;
        if (!fits) {
            FreeExpression(compiled);
            return type == fpNumber ? false : Fail(eeWrongArgumentType);
        }
    }
    TakeItems(compiled, items);
    return true;
}

int TCompiler::DeclaredParameters(const EXPRESSION_ITEM& function) const {
    if (function.kind == ekExternalFunction) {
        const TExtFunction* declared = ExtFunctions()[function.value.code.index];
        return declared != nullptr ? declared->GetCount() : 0;
    }
    const TCustomFunction* declared = FindCustomFunction(function.value.code.index);
    return declared != nullptr ? declared->GetCount() : 0;
}

bool TCompiler::Step(EXPRESSION_ITEM& token, bool& consumed) {
    consumed = false;
    const TExpressionItemType kind = token.kind;
    switch (kind) {
        case ekBlank:
            return true;
        case ekInteger:
        case ekReal:
        case ekVariable: {
            if (!IsIn(previous, {5, 6, 8, 10, 13})) return Fail(kind == ekVariable ? eeVariablePlace : eeConstantPlace);
            if (kind == ekVariable) {
                const TVariable* v = list[list.V_Index(token.value.variable.reference, token.value.variable.absolute)];
                if (v != nullptr && (v->type == vtArray || v->type == vtArray2)) {
                    token.kind = v->type == vtArray ? ekArray : ekArray2;
                    token.value.variable.commas = 0;
                    operators.PushCopy(token);
                    previous = token.kind;
                    return true;
                }
            }
            Append(token);
            afterOperand = true;
            FlushUnary();
            break;
        }
        case ekBinaryOperator:
        case ekCustomOperator:
            if (!IsIn(previous, {1, 3, 4, 9, 11, 12, 16, 18})) return Fail(eeOperatorPlace);
            if (!StepOperator(token)) return false;
            previous = ekBinaryOperator;
            return true;
        case ekUnaryOperator:
            if (!IsIn(previous, {5, 8, 10, 13})) return Fail(eeUnaryOperatorPlace);
            operators.PushCopy(token);
            afterOperand = false;
            break;
        case ekSimpleFunction:
        case ekBuiltinFunction:
        case ekListFunction:
        case ekExternalFunction:
        case ekCustomFunction:
            if (!IsIn(previous, {5, 6, 8, 10, 13})) return Fail(eeFunctionNamePlace);
            if (kind == ekBuiltinFunction || kind == ekListFunction) operators.PushNew(ekLeftParenthesis);
            operators.PushCopy(token);
            token.list = nullptr;  // the operator stack now owns the placeholder list
            token.listCount = 0;
            for (const EXPRESSION_ITEM& item : pendingArguments) Append(item);
            pendingArguments.clear();
            break;
        case ekLeftParenthesis:
            if (!IsIn(previous, {5, 6, 7, 8, 10, 13, 25, 26})) return Fail(eeLeftParenthesisPlace);
            operators.PushCopy(token);
            afterOperand = false;
            break;
        case ekLeftBracket: {
            EXPRESSION_ITEM* top = operators.LastItem();
            if (!IsIn(previous, {16, 17}) || top == nullptr || !IsIn(top->kind, {16, 17}))
                return Fail(eeLeftBracketPlace);
            top->kind = top->kind == ekArray ? ekElement : ekElement2;
            operators.PushCopy(token);
            afterOperand = false;
            break;
        }
        case ekRightParenthesis:
        case ekRightBracket:
            if (!StepClose(token)) return false;
            break;
        case ekFieldSelector:
            if (!IsIn(previous, {4, 6, 9, 11})) return Fail(eeFieldNamePlace);
            Append(token);
            if (output.SecondToLast() != nullptr && output.SecondToLast()->kind == ekUnaryOperator)
                output.Exchange(output.GetCount() - 1, output.GetCount() - 2);
            afterOperand = true;
            break;
        case ekComma:
            if (!IsIn(previous, {1, 3, 4, 9, 11, 12, 16, 17, 18})) return Fail(eeCommaPlace);
            if (!StepComma()) return false;
            break;
        case ekOwnedText:
            if (!IsIn(previous, {5, 6, 8, 13})) return Fail(eeStringConstantPlace);
            Append(token);
            consumed = true;
            afterOperand = true;
            FlushUnary();
            break;
        case ekSubExpression:
            Append(token);
            consumed = true;
            afterOperand = true;
            break;
        default:
            return true;
    }
    previous = kind;
    return true;
}

bool TCompiler::StepOperator(EXPRESSION_ITEM& token) {
    EXPRESSION_ITEM* top = operators.LastItem();
    if (previous == ekArray && top != nullptr && top->kind == ekArray) {
        if (token.kind != ekBinaryOperator || !IsOperatorAdmissible(ekArray, token.value.code.index))
            return Fail(eeOperatorPlace);
        MoveTop();
    }
    if (operators.LastItem() == nullptr) return Fail(eeFirstOperandMissing);
    auto levelOf = [](const EXPRESSION_ITEM& item, bool& right) {
        if (item.kind == ekCustomOperator) {
            const int at = CustomOperators().GetIndex(item.value.code.index);
            right = at >= 0 && CustomOperators()[at]->right;
            return at >= 0 ? CustomOperators()[at]->level : 0;
        }
        const TOperatorInfo* info = GetOperatorInfo(item.value.code.index);
        right = info != nullptr && info->right;
        return GetOperatorLevel(item.value.code.index);
    };
    bool right = false;
    const int level = levelOf(token, right);
    auto isOperator = [](const EXPRESSION_ITEM* item) {
        return item != nullptr && (item->kind == ekBinaryOperator || item->kind == ekCustomOperator);
    };
    top = operators.LastItem();
    const bool sameRight = top->kind == token.kind && top->value.code.index == token.value.code.index && right;
    if (isOperator(top) && !sameRight) {
        bool ignored = false;
        while (isOperator(operators.LastItem()) && levelOf(*operators.LastItem(), ignored) >= level) MoveTop();
    }
    operators.PushCopy(token);
    afterOperand = false;
    return true;
}

bool TCompiler::StepClose(EXPRESSION_ITEM& token) {
    const bool parenthesis = token.kind == ekRightParenthesis;
    const int misplaced = parenthesis ? eeRightParenthesisPlace : eeRightBracketPlace;
    const EXPRESSION_ITEM* below = operators.SecondToLast();
    const bool emptyCall = below != nullptr && IsIn(below->kind, {25, 26}) && DeclaredParameters(*below) == 0;
    const bool placed = IsIn(previous, {1, 3, 4, 9, 11, 12, 14, 15, 18, 28}) ||
                        (parenthesis && IsIn(previous, {16, 17})) || (previous == ekLeftParenthesis && emptyCall);
    if (!placed) return Fail(misplaced);
    if (emptyCall && previous != ekLeftParenthesis) return Fail(eeArgumentCount);
    const TExpressionItemType opening = parenthesis ? ekLeftParenthesis : ekLeftBracket;
    const TExpressionItemType other = parenthesis ? ekLeftBracket : ekLeftParenthesis;
    while (operators.LastItem() != nullptr && operators.LastItem()->kind != opening) {
        // A bracket of the other shape in between: the brackets cross.
        if (operators.LastItem()->kind == other) return Fail(misplaced);
        MoveTop();
    }
    if (operators.LastItem() == nullptr) return Fail(parenthesis ? eeLeftParenthesisMissing : eeLeftBracketMissing);
    operators.DeleteLast();
    afterOperand = true;
    EXPRESSION_ITEM* top = operators.LastItem();
    if (top != nullptr) {
        if (top->kind == ekSimpleFunction &&
            top->value.code.commas != GetSimpleFunctionInfo(top->value.code.index)->operands - 1)
            return Fail(eeArgumentCount);
        if (IsIn(top->kind, {25, 26})) {
            const int declared = DeclaredParameters(*top);
            if (declared != 0 && top->value.code.commas != declared - 1) return Fail(eeArgumentCount);
        }
        if (IsIn(top->kind, {7, 14, 15, 25, 26, 23, 24})) MoveTop();
    }
    FlushUnary();
    return true;
}

bool TCompiler::StepComma() {
    while (operators.LastItem() != nullptr && !IsIn(operators.LastItem()->kind, {8, 10})) MoveTop();
    if (operators.GetCount() < 2) return Fail(eeCommaPlace);
    const EXPRESSION_ITEM* t = operators.LastItem();
    EXPRESSION_ITEM* u = operators.SecondToLast();
    if (t->kind == ekLeftParenthesis && u->kind == ekSimpleFunction) {
        if (u->value.code.commas == GetSimpleFunctionInfo(u->value.code.index)->operands - 1)
            return Fail(eeArgumentCount);
        ++u->value.code.commas;
    } else if (t->kind == ekLeftBracket && u->kind == ekElement2) {
        if (u->value.variable.commas != 0) return Fail(eeCommaPlace);
        u->value.variable.commas = 1;
    } else if (t->kind == ekLeftParenthesis && IsIn(u->kind, {25, 26})) {
        if (u->value.code.commas == DeclaredParameters(*u) - 1) return Fail(eeArgumentCount);
        ++u->value.code.commas;
    } else {
        return Fail(eeCommaPlace);
    }
    afterOperand = false;
    return true;
}

bool IsNumberCharacter(char c) { return DigitValue(c) >= 0 || c == '.' || c == '@' || c == '-'; }

bool TCompiler::Run(EXPRESSION& result) {
    const int length = static_cast<int>(text.size());
    int i = 0;
    while (i < length) {
        EXPRESSION_ITEM best = MakeItem(ekNone);
        int bestEnd = -1;
        const char first = text[static_cast<size_t>(i)];
        const bool subExpression = first == '[' && text[static_cast<size_t>(i) + 1] == '[';
        bool numberRun = (first >= '0' && first <= '9') || first == '.' || first == '@' || first == '-';
        bool quoteOpen = first == '\'';
        for (int j = i; j < length; ++j) {
            const char c = text[static_cast<size_t>(j)];
            numberRun = numberRun && IsNumberCharacter(c);
            if (j - i >= longestName && !numberRun && !subExpression && !quoteOpen) break;
            EXPRESSION_ITEM token = MakeItem(ekNone);
            bool endScan = false;
            if (MayBeToken(i, j, numberRun) && Recognize(i, j, numberRun, token, endScan)) {
                FreeItemContent(best);
                best = token;
                // A call compiler consumed the arguments: resume at the call's ")".
                bestEnd = endScan ? callEnd : j;
                if (endScan) break;
            }
            if (quoteOpen && j > i && c == '\'') quoteOpen = false;
        }
        if (bestEnd < 0) {
            EvaluateErrorPos = i;
            return Fail(eeUnknownSymbol);
        }
        bool consumed = false;
        if (!Step(best, consumed)) {
            EvaluateErrorPos = i;
            if (!consumed) FreeItemContent(best);
            FreeItems(pendingArguments);
            return false;
        }
        if (!consumed) FreeItemContent(best);
        i = bestEnd + 1;
    }
    if (operators.GetCount() != 0) return Fail(eeUnclosedExpression);
    result.count = output.GetCount();
    result.items = new EXPRESSION_ITEM[static_cast<size_t>(result.count) + 1];
    for (int k = 0; k < result.count; ++k) result.items[k] = *output.ItemAt(k);
    output.DeleteAll();  // records only: their content passed to the expression
    TCompileStackLease lease;
    const EXPRVALUE checked = EvaluateExpression(list, result, lease.Stack(), true, nullptr);
    if (checked.kind == ekError) {
        FreeExpression(result);
        result.count = -1;
        result.items = nullptr;
        return false;
    }
    return true;
}

// Blanks outside single quotes dropped, then the framing ")".
std::string Frame(const TString& text) {
    std::string framed;
    bool quoted = false;
    for (int k = 0; k < text.Length(); ++k) {
        const char c = text[k];
        if (c == '\'') quoted = !quoted;
        if (c != ' ' || quoted) framed += c;
    }
    return framed + ")";
}

}  // namespace

EXPRESSION CreateExpression(TVariableList& list, TString text) {
    EXPRESSION result;
    if (compileDepth >= kMaxCompileDepth) {
        SetError(eeUnknownSymbol);
        return result;
    }
    ++compileDepth;
    {
        TCompiler compiler(list, Frame(text));
        if (!compiler.Run(result)) {
            result.count = -1;
            result.items = nullptr;
        }
    }
    --compileDepth;
    return result;
}

EXPRESSION CreateExpression(TString text) { return CreateExpression(Variables, text); }
