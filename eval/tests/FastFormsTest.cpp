// Tests of the fast forms against the general loop: every expression the eval tests write, the benchmark's suite and seeded generated expressions evaluate alike with the fast forms on and off (for the list or for the process), evaluation after evaluation and under a host's own operators, and the switches really turn them off.
#include <gtest/gtest.h>

#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CountingPass.h"
#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "Expression.h"
#include "ExpressionCompiler.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"
#include "TestArrays.h"

namespace {

// ---- one side of a comparison: its list, its stack and what it saw

struct TSide {
    TVariableList list;
    TEvalStack stack;
    std::string events;
};

// The side evaluating now, for the host's operators of the watched runs.
TSide* watchedSide = nullptr;

void Note(TSide& side, const std::string& event) { side.events += event + ";"; }

std::string Bits(const void* value, size_t size) {
    std::string text;
    char digits[3];
    for (size_t k = 0; k < size; ++k) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<const unsigned char*>(value)[k]);
        text += digits;
    }
    return text;
}

bool IsText(TExpressionItemType kind) {
    return kind == ekOwnedText || kind == ekBorrowedText || kind == ekBufferedText;
}

// An operand or result as it is, whatever stack it lies on: a text by its
// text, an error or a sub-expression (which each side compiled) by its kind
// alone, anything else by its value's bits.
std::string ValueText(TExpressionItemType kind, const TItemValue& value, const TString* text) {
    std::string shown = std::to_string(kind) + ":";
    if (IsText(kind)) return shown + "'" + (text != nullptr ? text->c_str() : "") + "'";
    if (kind == ekError || kind == ekSubExpression) return shown;
    return shown + Bits(&value, kind == ekPoint || kind == ekComplex ? sizeof value : sizeof(int64_t));
}
std::string ItemBits(const EXPRESSION_ITEM& item) {
    return ValueText(item.kind, item.value, IsText(item.kind) ? item.value.text.text : nullptr);
}

// Every variable of a list exactly: name, type and the bits of each value.
std::string Contents(const TVariableList& list) {
    std::string text;
    for (int k = 0; k < list.GetCount(); ++k) {
        const TVariable& v = *list[k];
        text += std::string(v.name.c_str()) + " " + std::to_string(v.type) + " ";
        if (v.type >= vtInt && v.type <= vtComplex) text += Bits(&v.value, sizeof(VCOMPLEX));
        if (v.type == vtString && v.value.s != nullptr) text += v.value.s->c_str();
        if (v.type == vtArray || v.type == vtArray2) {
            const int size = v.GetItemSize();
            const int items = v.type == vtArray ? v.value.a.count : v.value.a2.lines * v.value.a2.cols;
            const TVariableType itemtype = v.type == vtArray ? v.value.a.itemtype : v.value.a2.itemtype;
            for (int i = 0; i < items && itemtype != vtString; ++i) {
                const void* item =
                    v.type == vtArray ? v.GetItem(i) : v.GetItem(i / v.value.a2.cols, i % v.value.a2.cols);
                text += (item != nullptr ? Bits(item, static_cast<size_t>(size)) : "-") + ",";
            }
        }
        text += "\n";
    }
    return text;
}

// ---- external functions: each acts on the list of the side that calls it

// A real or integer variable's value as a real, and written back in its
// own type (a real beyond what an integer holds exactly as 0).
double RealOf(const TVariable* v) {
    return v == nullptr ? 0.0 : v->type == vtInt ? static_cast<double>(v->value.i) : v->value.d;
}
int64_t IntegerOf(double value) {
    return std::isfinite(value) && std::fabs(value) < 1e15 ? static_cast<int64_t>(value) : 0;
}
void Put(TVariable* v, double value) {
    if (v == nullptr) return;
    if (v->type == vtInt)
        v->value.i = IntegerOf(value);
    else
        v->value.d = value;
}

// Turns an integer variable into a real one of the same value, and back.
void Retype(TVariable* v) {
    if (v == nullptr) return;
    if (v->type == vtInt) {
        const double value = static_cast<double>(v->value.i);
        v->type = vtDouble;
        v->value.d = value;
    } else if (v->type == vtDouble) {
        const double value = v->value.d;
        v->type = vtInt;
        v->value.i = IntegerOf(value);
    }
}

// What each external function does to the list and gives.
EXPRESSION_ITEM Half(TVariableList&, const EXPRESSION_ITEM* arguments) {
    return MakeRealItem(arguments[0].value.real / 2);
}
EXPRESSION_ITEM SetX(TVariableList& list, const EXPRESSION_ITEM* arguments) {
    const EXPRESSION_ITEM before = MakeRealItem(RealOf(list.GetVar("x")));
    Put(list.GetVar("x"), arguments[0].value.real);
    return before;
}
EXPRESSION_ITEM Bump(TVariableList& list, const EXPRESSION_ITEM*) {
    TVariable* i = list.GetVar("i");
    Put(i, RealOf(i) + 1);
    return MakeIntegerItem(IntegerOf(RealOf(i)));
}
EXPRESSION_ITEM Mix(TVariableList& list, const EXPRESSION_ITEM* arguments) {
    Put(list.GetVar("y"), arguments[0].value.real);
    return MakeRealItem(arguments[0].value.real + static_cast<double>(arguments[1].value.integer));
}
EXPRESSION_ITEM Flip(TVariableList& list, const EXPRESSION_ITEM*) {
    Retype(list.GetVar("k"));
    return MakeIntegerItem(1);
}
EXPRESSION_ITEM Grow(TVariableList& list, const EXPRESSION_ITEM*) {
    list.NewInt("grown", false, list.GetCount());
    return MakeIntegerItem(list.GetCount());
}

// fx_half(a): a / 2, nothing else. fx_setx(a): x becomes a, the result is
// x's value before. fx_bump(): i one more, the result i. fx_mix(a, n): y
// becomes a, the result a + n. fx_flip(): k changes type. fx_grow(): a
// variable more at the end of the list.
struct TExternalRow {
    const char* name;
    TExpressionItemType result;
    std::vector<TExpressionItemType> parameters;
    EXPRESSION_ITEM (*act)(TVariableList& list, const EXPRESSION_ITEM* arguments);
};
const TExternalRow kExternals[] = {
    {"fx_half", ekReal, {ekReal}, Half},         {"fx_setx", ekReal, {ekReal}, SetX},
    {"fx_bump", ekInteger, {}, Bump},            {"fx_mix", ekReal, {ekReal, ekInteger}, Mix},
    {"fx_flip", ekInteger, {}, Flip},            {"fx_grow", ekInteger, {}, Grow},
};

// The handler of them all: acts on the list of the side that calls (the
// user data) and notes the call, its arguments and its result there.
EXPRESSION_ITEM External(EXPRESSION_ITEM* arguments, int functionIndex, void* userData) {
    TSide& side = *static_cast<TSide*>(userData);
    const TExtFunction& function = *ExtFunctions()[functionIndex];
    EXPRESSION_ITEM result = MakeIntegerItem(0);
    for (const TExternalRow& row : kExternals)
        if (function.name == TString(row.name)) result = row.act(side.list, arguments);
    std::string event = std::string(function.name.c_str()) + "(";
    for (int k = 0; k < function.GetCount(); ++k) event += ItemBits(arguments[k]) + ",";
    Note(side, event + ")=" + ItemBits(result));
    return result;
}

// ---- a host's own operators, which see every operation

TEvaluateOperations libraryOperations;

EXPRESSION_ITEM WatchedBinary(TVariableList& list, TEvalStack& stack, EXPRESSION_ITEM& left, EXPRESSION_ITEM& right,
                              int op, char flag, bool check) {
    if (!check) Note(*watchedSide, "op" + std::to_string(op) + "(" + ItemBits(left) + "," + ItemBits(right) + ")");
    return libraryOperations.binaryOperator(list, stack, left, right, op, flag, check);
}
EXPRESSION_ITEM WatchedUnary(EXPRESSION_ITEM& operand, int op, TEvalStack& stack, bool check) {
    if (!check) Note(*watchedSide, "unary" + std::to_string(op) + "(" + ItemBits(operand) + ")");
    return libraryOperations.unaryOperator(operand, op, stack, check);
}
void WatchedFunction(EXPRESSION_ITEM& function, TEvalStack& stack, bool check) {
    if (!check) Note(*watchedSide, "function" + std::to_string(function.value.code.index));
    libraryOperations.simpleFunction(function, stack, check);
}

// While it lives, the operations are the watching ones.
class TWatchedOperations {
public:
    TWatchedOperations() {
        libraryOperations = EvaluateOperations();
        TEvaluateOperations& operations = EvaluateOperations();
        operations.binaryOperator = WatchedBinary;
        operations.unaryOperator = WatchedUnary;
        operations.simpleFunction = WatchedFunction;
    }
    ~TWatchedOperations() { EvaluateOperations() = libraryOperations; }
    TWatchedOperations(const TWatchedOperations&) = delete;
    TWatchedOperations& operator=(const TWatchedOperations&) = delete;
};

// ---- comparing the two ways

// The variables of both sides. A list that grows during an evaluation
// (fx_grow) moves what its relative references designate towards its end:
// the numbers come last, so that a moved reference still finds a number.
void Fill(TVariableList& list) {
    list.NewPoint("p", false);
    list.NewString("s", false, "text");
    AddTestArrays(list);
    for (const char* name : {"a", "b", "c", "d", "x", "y", "z"}) list.NewDouble(name, false, 1.25);
    list.GetVar("a")->value.d = 0.75;
    list.GetVar("b")->value.d = -2.5;
    list.NewInt("i", false, 17);
    list.NewInt("j", false, -4);
    list.NewInt("k", false, 3);
    list.NewInt("n", false, 5);
    list.NewInt("big", false, INT64_MAX);
}

// The functions whose results do not follow from the expression and the
// variables (the clock, files, dialogs, the stack's own random generators)
// cannot be compared; an expression that calls one is left out.
bool Comparable(const EXPRESSION& e) {
    for (int k = 0; k < e.count; ++k) {
        const EXPRESSION_ITEM& item = e.items[k];
        if (item.kind == ekBuiltinFunction) {
            const TMultiFunction* f = MultiFunctions()[item.value.code.index];
            if (f == nullptr || (f->flags & bfReachesOutside) != 0 || f->name == TString("drand")) return false;
        } else if (item.kind == ekListFunction) {
            const TVarFunction* f = VarFunctions()[item.value.code.index];
            if (f == nullptr || (f->flags & bfReachesOutside) != 0 || f->name == TString("rand")) return false;
        } else if (item.kind == ekSubExpression && !Comparable(*item.value.expression)) {
            return false;
        }
    }
    return true;
}

// Which switch turns the fast forms off for the general side, and which
// part of the generated expressions is compared.
enum TSwitch { swList, swProcess };
struct TWay {
    TSwitch which;
    int part;
};

std::vector<TWay> Ways(int parts) {
    std::vector<TWay> ways;
    for (const TSwitch which : {swList, swProcess})
        for (int part = 0; part < parts; ++part) ways.push_back(TWay{which, part});
    return ways;
}
void PrintTo(const TWay& way, std::ostream* out) {
    *out << (way.which == swProcess ? "process" : "list") << " switch, part " << way.part;
}
std::string SwitchName(const testing::TestParamInfo<TWay>& info) {
    return info.param.which == swList ? "ForTheList" : "ForTheProcess";
}
std::string PartName(const testing::TestParamInfo<TWay>& info) {
    return SwitchName(info) + "Part" + std::to_string(info.param.part);
}

class FastFormsTest : public testing::TestWithParam<TWay> {
protected:
    void SetUp() override {
        savedHandler = ExtFuncHandler;
        ExtFuncHandler = External;
        externalsBefore = ExtFunctions().GetCount();
        for (const TExternalRow& row : kExternals) {
            TExtFunction* function = new TExtFunction(row.name, row.result);
            for (TExpressionItemType parameter : row.parameters) function->AddParam(parameter, false, 0);
            ExtFunctions().Add(function);
        }
        Fill(fast.list);
        Fill(general.list);
        listCount = fast.list.GetCount();
        if (GetParam().which == swList) general.list.SetFastForms(false);
    }
    void TearDown() override {
        while (ExtFunctions().GetCount() > externalsBefore) ExtFunctions().DeleteLast(true);
        ExtFuncHandler = savedHandler;
        SetFastForms(true);
    }

    // One evaluation on a side: its result, error code and what it saw;
    // valueOnly: through the path of callers that read only the value.
    std::string Evaluate(TSide& side, EXPRESSION& e, bool valueOnly, bool generally) {
        side.events.clear();
        watchedSide = &side;
        std::srand(87);
        EvaluateErrorCode = 99;
        if (generally && GetParam().which == swProcess) SetFastForms(false);
        EXPRVALUE out;
        out.kind = ekOwnedText;
        out.text = "left over";
        if (valueOnly)
            EvaluateExpressionValue(side.list, e, side.stack, out, &side);
        else
            EvaluateExpression(side.list, e, side.stack, out, false, &side);
        SetFastForms(true);
        std::string text = "code " + std::to_string(EvaluateErrorCode) + " stack " +
                           std::to_string(side.stack.GetCount()) + " " + ValueText(out.kind, out.value, &out.text);
        // A number's reference counts where the whole result is asked for.
        if (!valueOnly) text += " ref " + Bits(&out.ref, sizeof out.ref);
        text += "\nevents " + side.events + "\n" + Contents(side.list);
        while (side.list.GetCount() > listCount) side.list.DeleteLast(true);
        return text;
    }

    // Compiles text (declaring the names it lacks, for this text alone),
    // evaluates it on both sides four times with variables moved and types
    // changed in between, then once each under a host's own operators, and
    // expects the same every time. False when text is no expression that
    // can be compared.
    bool Compare(const std::string& text) {
        const int filled = listCount;
        EXPRESSION e;
        EXPRESSION g;
        CompileDeclaring(text, e, g);
        EXPECT_EQ(g.count, e.count) << text;
        const bool comparable = e.count >= 1 && g.count == e.count && Comparable(e);
        for (int round = 0; comparable && round < 4; ++round) {
            const bool valueOnly = round % 2 == 1;
            const std::string byFastForms = Evaluate(fast, e, valueOnly, false);
            EXPECT_EQ(Evaluate(general, g, valueOnly, true), byFastForms) << text << " round " << round;
            for (TSide* side : {&fast, &general}) Move(side->list, round);
        }
        if (comparable) {
            const TWatchedOperations watching;
            const std::string byFastForms = Evaluate(fast, e, false, false);
            EXPECT_EQ(Evaluate(general, g, false, true), byFastForms) << text << " watched";
        }
        FreeExpression(e);
        FreeExpression(g);
        for (TSide* side : {&fast, &general})
            while (side->list.GetCount() > filled) side->list.DeleteLast(true);
        listCount = filled;
        return comparable;
    }

    // Between rounds the same changes on both sides: values move, and k and
    // c change type.
    static void Move(TVariableList& list, int round) {
        Put(list.GetVar("a"), RealOf(list.GetVar("a")) + 0.375);
        Put(list.GetVar("i"), RealOf(list.GetVar("i")) - 3);
        if (round == 1) Retype(list.GetVar("k"));
        if (round == 2) Retype(list.GetVar("c"));
    }

    // Compiles text for both sides, each its own (compiling may run an
    // argument); a name the text reads that no list holds is declared on
    // both sides first: an array where an index follows it, an integer
    // where it starts with i to n, else a real.
    void CompileDeclaring(const std::string& text, EXPRESSION& e, EXPRESSION& g) {
        for (int attempt = 0;; ++attempt) {
            e = CreateExpression(fast.list, TString(text));
            const int8_t code = EvaluateErrorCode;
            const int position = EvaluateErrorPos;
            g = CreateExpression(general.list, TString(text));
            const std::string name = NameAt(text, position);
            if (e.count >= 1 || code != eeUnknownSymbol || attempt == 4 || name.empty() ||
                fast.list.GetVar(TString(name)) != nullptr)
                return;
            FreeExpression(e);
            FreeExpression(g);
            const size_t after = text.find_first_not_of(' ', static_cast<size_t>(position) + name.size());
            const bool array = after != std::string::npos && text[after] == '[';
            for (TSide* side : {&fast, &general}) {
                if (array) {
                    side->list.NewArray(TString(name), vtInt, false);
                    side->list.ResizeArray(TString(name), 4);
                } else if (name[0] >= 'i' && name[0] <= 'n') {
                    side->list.NewInt(TString(name), false, 6);
                } else {
                    side->list.NewDouble(TString(name), false, 2.5);
                }
            }
            listCount = fast.list.GetCount();
        }
    }
    static std::string NameAt(const std::string& text, int position) {
        if (position < 0 || static_cast<size_t>(position) >= text.size()) return std::string();
        size_t end = static_cast<size_t>(position);
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
        const std::string name = text.substr(static_cast<size_t>(position), end - static_cast<size_t>(position));
        return name.empty() || std::isdigit(static_cast<unsigned char>(name[0])) ? std::string() : name;
    }

    TSide fast;
    TSide general;
    int listCount = 0;
    TExtFuncHandler savedHandler = nullptr;
    int externalsBefore = 0;
};

// The string literals of C++ source text, escapes read.
std::vector<std::string> StringLiterals(const std::string& source) {
    std::vector<std::string> literals;
    for (size_t k = 0; k < source.size(); ++k) {
        const char c = source[k];
        if (c == '/' && k + 1 < source.size() && source[k + 1] == '/') {
            k = source.find('\n', k);
            if (k == std::string::npos) break;
        } else if (c == '/' && k + 1 < source.size() && source[k + 1] == '*') {
            k = source.find("*/", k + 2);
            if (k == std::string::npos) break;
            ++k;
        } else if (c == '\'') {
            for (++k; k < source.size() && source[k] != '\''; ++k)
                if (source[k] == '\\') ++k;
        } else if (c == '"') {
            std::string literal;
            for (++k; k < source.size() && source[k] != '"'; ++k) {
                if (source[k] == '\\' && k + 1 < source.size()) {
                    ++k;
                    literal += source[k] == 'n' ? '\n' : source[k] == 't' ? '\t' : source[k];
                } else {
                    literal += source[k];
                }
            }
            literals.push_back(literal);
        }
    }
    return literals;
}

// Every string literal of the eval tests (run in their folder) that is an
// expression, and every expression of the benchmark's suite.
TEST_P(FastFormsTest, EveryExpressionOfTheTestsEvaluatesAlikeBothWays) {
    std::set<std::string> texts;
    for (const auto& file : std::filesystem::directory_iterator(".")) {
        const std::string extension = file.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        std::ifstream in(file.path(), std::ios::binary);
        std::stringstream source;
        source << in.rdbuf();
        for (const std::string& literal : StringLiterals(source.str())) texts.insert(literal);
    }
    std::ifstream suite(EVAL_EXPRESSION_SUITE);
    std::string line;
    while (std::getline(suite, line)) texts.insert(line.substr(0, line.find('\t')));
    int compared = 0;
    for (auto text = texts.begin(); text != texts.end() && !HasFailure(); ++text) compared += Compare(*text);
    // The suite's 1200 and most of what the tests write.
    EXPECT_GT(compared, 2000);
}

// ---- generated expressions

// Seeded expressions of numbers, variables, elements, every operator, the
// simple functions, assignments inside, and the external functions: ones
// that change a variable the expression reads before or after the call,
// change a variable's type or grow the list.
class TExpressionGenerator {
public:
    explicit TExpressionGenerator(uint32_t seed) : random(seed) {}

    // A grown list moves what the references after the growth designate:
    // the growth is the whole expression's first act.
    std::string Whole() {
        if (Chance(3)) return "fx_grow()+" + Pick(kGrown) + Pick(kOperators) + Expression(2);
        return Expression();
    }

private:
    std::string Expression(int depth = 0) {
        if (depth > 3 || Chance(20)) return Operand();
        switch (Below(10)) {
            case 0: return Call(depth);
            case 1: return Pick(kFunctionsOfOne) + "(" + Expression(depth + 1) + ")";
            case 2: return Pick(kFunctionsOfTwo) + "(" + Expression(depth + 1) + "," + Expression(depth + 1) + ")";
            case 3: return "(" + Assignment(depth + 1) + ")";
            case 4: return "(" + Integer(depth + 1) + ")";
            default:
                return "(" + Expression(depth + 1) + Pick(kOperators) + Expression(depth + 1) + ")";
        }
    }

    int Below(int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <size_t N>
    std::string Pick(const char* const (&from)[N]) { return from[Below(static_cast<int>(N))]; }

    static constexpr const char* kReals[] = {"a", "b", "c", "d", "x", "y", "z", "w[1]", "w[i%4]", "w[-1]", "0.5",
                                             "2.25", "-1.5", "0.0", "3.0", "1e300", "-0.0"};
    static constexpr const char* kIntegers[] = {"i", "j", "k", "n", "v[2]", "v[j]", "v[-1]", "m[1,2]", "big", "0",
                                                "1", "3", "-7", "12", "5000000000"};
    static constexpr const char* kOperators[] = {"+", "-", "*", "/", "^", "<", ">", "<=", ">=", "==", "!=", "<>",
                                                 "&&", "||"};
    static constexpr const char* kIntegerOperators[] = {"%", "|", "&", ">>", "<<", "+", "*", "-"};
    static constexpr const char* kFunctionsOfOne[] = {"sin", "cos", "sqrt", "abs", "neg", "round", "floor", "ceil",
                                                      "exp", "ln", "frac", "sgn", "not", "sqr"};
    static constexpr const char* kFunctionsOfTwo[] = {"pow", "atan2", "root", "logn"};
    static constexpr const char* kTargets[] = {"a", "x", "y", "i", "k", "v[1]", "v[i%5]", "w[2]", "c"};
    static constexpr const char* kAssignments[] = {"=", "+=", "-=", "*=", "/="};
    static constexpr const char* kGrown[] = {"a", "x", "z", "i", "big", "0.5"};

    std::string Operand() { return Chance(55) ? Pick(kReals) : Pick(kIntegers); }
    std::string Integer(int depth) {
        if (depth > 3 || Chance(40)) return Chance(20) ? "fx_bump()" : Pick(kIntegers);
        return "(" + Integer(depth + 1) + Pick(kIntegerOperators) + Integer(depth + 1) + ")";
    }
    std::string Assignment(int depth) { return Pick(kTargets) + Pick(kAssignments) + Expression(depth); }
    // Calls beside constants and beside the variables they change.
    std::string Call(int depth) {
        switch (Below(7)) {
            case 0: return "fx_half(" + Expression(depth + 1) + ")";
            case 1: return "x" + Pick(kOperators) + "fx_setx(" + Expression(depth + 1) + ")";
            case 2: return "fx_setx(" + Operand() + ")" + Pick(kOperators) + "x";
            case 3: return "i*fx_bump()-i";
            case 4: return "fx_mix(" + Expression(depth + 1) + "," + Integer(depth + 1) + ")+y";
            case 5: return "k+fx_flip()*k";
            default: return Operand() + Pick(kOperators) + "fx_setx(" + Operand() + ")";
        }
    }

    std::mt19937 random;
};

// In parts of a seed each that run as tests of their own; under the
// sanitizers a quarter of them, which keeps the part within a minute there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kGeneratedExpressions = 5000;
#else
constexpr int kGeneratedExpressions = 20000;
#endif
constexpr int kExpressionParts = 4;

class FastFormsGeneratedTest : public FastFormsTest {};

TEST_P(FastFormsGeneratedTest, SeededExpressionsEvaluateAlikeBothWays) {
    TExpressionGenerator generator(static_cast<uint32_t>(87 + GetParam().part));
    constexpr int kPart = kGeneratedExpressions / kExpressionParts;
    int compared = 0;
    for (int k = 0; compared < kPart && k < 2 * kPart && !HasFailure(); ++k) compared += Compare(generator.Whole());
    EXPECT_EQ(compared, kPart);
}

// ---- the switches

// fx_pure_twice(n): 2n, declared pure, so that the decoded form computes it
// once when it is made; calls that reach it are counted.
int pureCalls = 0;
bool PureTwice(TVariableList&, EXPRESSION_ITEM& function, TEvalStack& stack, bool check, EXPRESSION_ITEM& result) {
    if (!(MultiFunctions()[function.value.code.index]->name == "fx_pure_twice")) return false;
    if (!check) ++pureCalls;
    result = MakeIntegerItem(stack.Top(0)->value.integer * 2);
    return true;
}

// Off for the list or for the process, every evaluation runs the general
// loop, also of an expression whose decoded form was made before (which
// called a folded function no more) and of an expression object; a counting
// pass leaves the loop's step and test to the evaluations.
TEST(FastFormsSwitchTest, OffEveryEvaluationRunsTheGeneralLoop) {
    TMultiFunction* twice = new TMultiFunction("fx_pure_twice", vtInt);
    twice->AddParam(fpNumber);
    twice->flags = 0;
    AddMultiFunction(twice);
    RegisterMultiFunctionHandler(PureTwice);
    TVariableList list;
    list.NewInt("i", false, 1);
    EXPRESSION e = CreateExpression(list, "fx_pure_twice(4)+i");
    TExpression object(TString("fx_pure_twice(4)+i"), &list);
    ASSERT_GE(e.count, 1);
    TEvalStack stack;
    // Calls in four evaluations, each way.
    const auto callsInFour = [&](bool byObject) {
        pureCalls = 0;
        for (int k = 0; k < 4; ++k) {
            EXPRVALUE out;
            if (byObject)
                k % 2 == 0 ? object.Eval(out) : static_cast<void>(out = object.Eval(false, nullptr));
            else
                EvaluateExpression(list, e, stack, out, false, nullptr);
            EXPECT_EQ(out.value.integer, 9);
        }
        return pureCalls;
    };
    for (const bool byObject : {false, true}) {
        EXPECT_EQ(callsInFour(byObject), 1 + 2) << byObject;  // the first; the folding's two
        list.SetFastForms(false);
        EXPECT_FALSE(FastFormsOn(list));
        EXPECT_EQ(callsInFour(byObject), 4) << byObject;
        list.SetFastForms(true);
        SetFastForms(false);
        EXPECT_FALSE(FastFormsOn());
        EXPECT_FALSE(FastFormsOn(list));
        EXPECT_EQ(callsInFour(byObject), 4) << byObject;
        SetFastForms(true);
        EXPECT_EQ(callsInFour(byObject), 0) << byObject;
    }
    EXPRESSION step = CreateExpression(list, "i = i + 1");
    EXPRESSION test = CreateExpression(list, "i < 5");
    TCountingPass pass;
    list.SetFastForms(false);
    EXPECT_EQ(pass.Run(step, test, list), -1);
    EXPECT_EQ(list.GetVar("i")->value.i, 1);
    list.SetFastForms(true);
    EXPECT_EQ(pass.Run(step, test, list), 1);
    EXPECT_EQ(list.GetVar("i")->value.i, 2);
    for (EXPRESSION* compiled : {&e, &step, &test}) FreeExpression(*compiled);
    MultiFunctions().DeleteLast(true);
}

INSTANTIATE_TEST_SUITE_P(Switches, FastFormsTest, testing::ValuesIn(Ways(1)), SwitchName);
INSTANTIATE_TEST_SUITE_P(Switches, FastFormsGeneratedTest, testing::ValuesIn(Ways(kExpressionParts)), PartName);

}  // namespace
