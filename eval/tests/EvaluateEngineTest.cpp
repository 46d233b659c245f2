// Tests of the evaluation engine over hand-built postfix: numbers, texts, variables, elements, fields, modes and results.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "OpenFiles.h"
#include "StackRoutines.h"

namespace {

// A compiled expression put together item by item; frees itself.
class Postfix {
public:
    explicit Postfix(TVariableList& list) : list(list) {}
    ~Postfix() { FreeExpression(Get()); }
    Postfix(const Postfix&) = delete;

    Postfix& Int(int64_t v) { return Add(MakeIntegerItem(v)); }
    Postfix& Real(double v) { return Add(MakeRealItem(v)); }
    Postfix& Text(const char* v) {
        EXPRESSION_ITEM item = MakeItem(ekOwnedText);
        item.value.text.text = new TString(v);
        return Add(item);
    }
    Postfix& Var(const char* name) { return Add(VariableItem(ekVariable, name)); }
    Postfix& Element(const char* name) { return Add(VariableItem(ekElement, name)); }
    Postfix& Element2(const char* name) { return Add(VariableItem(ekElement2, name)); }
    Postfix& Field(int field) {
        EXPRESSION_ITEM item = MakeItem(ekFieldSelector);
        item.value.field = field;
        return Add(item);
    }
    Postfix& Operator(int op) {
        EXPRESSION_ITEM item = MakeItem(ekBinaryOperator);
        item.value.code.index = op;
        return Add(item);
    }
    Postfix& Builtin(int index) {
        EXPRESSION_ITEM item = MakeItem(ekBuiltinFunction);
        item.value.code.index = index;
        return Add(item);
    }

    // Built once, on first use; items added later are ignored.
    EXPRESSION& Get() {
        if (expression.count < 0) {
            expression.count = static_cast<int>(items.size());
            expression.items = new EXPRESSION_ITEM[items.size() + 1];
            for (size_t k = 0; k < items.size(); ++k) expression.items[k] = items[k];
        }
        return expression;
    }

private:
    Postfix& Add(const EXPRESSION_ITEM& item) {
        items.push_back(item);
        return *this;
    }
    EXPRESSION_ITEM VariableItem(TExpressionItemType kind, const char* name) {
        EXPRESSION_ITEM item = MakeItem(kind);
        const int position = list.GetVarIndex(name);
        item.value.variable.reference = list.V_Index(position);
        item.value.variable.absolute = list[position]->absolute;
        return item;
    }
    TVariableList& list;
    std::vector<EXPRESSION_ITEM> items;
    EXPRESSION expression;
};

// Hooks standing in for the operator units: "+" adds integers or joins texts
// into an owned text; check mode rejects a text with a number (code 21).
EXPRESSION_ITEM FakeBinary(TVariableList&, TEvalStack&, EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, int op, char,
                           bool check) {
    if (op != 0) return MakeItem(ekError);
    if (IsTextItem(left) != IsTextItem(right)) {
        if (check) {
            EvaluateErrorCode = eeWrongOperand;
            return MakeItem(ekError);
        }
    }
    if (IsTextItem(left)) {
        EXPRESSION_ITEM result = MakeItem(ekOwnedText);
        result.value.text.text = new TString(*left.value.text.text + *right.value.text.text);
        return result;
    }
    return MakeIntegerItem(ItemAsInt(left) + ItemAsInt(right));
}

class EvaluateEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = EvaluateOperations();
        EvaluateOperations().binaryOperator = FakeBinary;
        list.NewInt("i", false, 7);
        list.NewDouble("d", false, 2.5);
        VPOINT* p = list.NewPoint("p", false);
        *p = VPOINT{3, -4};
        VCOMPLEX* c = list.NewComplex("c", false);
        *c = VCOMPLEX{1.5, -0.25};
        list.NewString("s", false, "text");
        list.NewArray("a", vtInt, false);
        list.ResizeArray("a", 5);
        for (int k = 0; k < 5; ++k) *static_cast<int64_t*>(list.GetArrayItem("a", k)) = 10 * (k + 1);
        list.NewArray("t", vtString, false);
        list.ResizeArray("t", 2);
        *static_cast<TString*>(list.GetArrayItem("t", 1)) = "second";
        list.NewArray2("m", vtInt, false);
        list.ResizeArray2("m", 3, 4);
        for (int l = 0; l < 3; ++l)
            for (int k = 0; k < 4; ++k) *static_cast<int64_t*>(list.GetArray2Item("m", l, k)) = 10 * l + k;
    }
    void TearDown() override {
        EvaluateOperations() = saved;
        EXPECT_EQ(stack.GetCount(), 0);
        EXPECT_EQ(stack.GetLentStringCount(), 0);
    }
    EXPRVALUE Run(Postfix& postfix, bool check = false) {
        return EvaluateExpression(list, postfix.Get(), stack, check, nullptr);
    }

    TEvaluateOperations saved;
    TVariableList list;
    TEvalStack stack;
};

TEST_F(EvaluateEngineTest, UncompiledAndEmptyExpressionsGiveZero) {
    EXPRESSION uncompiled;
    EXPRVALUE v = EvaluateExpression(list, uncompiled, stack, false, nullptr);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, 0);
    EXPRESSION empty{0, nullptr};
    EXPECT_EQ(EvaluateExpression(list, empty, stack, true, nullptr).kind, ekInteger);
}

TEST_F(EvaluateEngineTest, NumbersAndVariablesInRunMode) {
    Postfix number(list);
    number.Real(0.5);
    EXPRVALUE v = Run(number);
    EXPECT_EQ(v.kind, ekReal);
    EXPECT_EQ(v.value.real, 0.5);
    EXPECT_EQ(v.ref.index, -1);

    Postfix variable(list);
    variable.Var("i");
    v = Run(variable);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, 7);
    EXPECT_EQ(v.ref.index, list.GetVarIndex("i"));

    Postfix point(list);
    point.Var("p");
    v = Run(point);
    EXPECT_EQ(v.kind, ekPoint);
    EXPECT_EQ(v.value.point.y, -4);

    Postfix sum(list);
    sum.Var("i").Int(5).Operator(0);
    v = Run(sum);
    EXPECT_EQ(v.value.integer, 12);
}

TEST_F(EvaluateEngineTest, StringResultsHaveKind18InRunMode) {
    Postfix constant(list);
    constant.Text("abc");
    EXPRVALUE v = Run(constant);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, TString("abc"));

    Postfix variable(list);
    variable.Var("s");
    v = Run(variable);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, TString("text"));

    Postfix element(list);
    element.Int(1).Element("t");
    v = Run(element);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, TString("second"));

    // An owned text made by an operator, and the operand texts it was made from, are all released.
    Postfix joined(list);
    joined.Text("ab").Var("s").Operator(0);
    v = Run(joined);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, TString("abtext"));
}

TEST_F(EvaluateEngineTest, StringResultsKeepStackKindInCheckMode) {
    Postfix variable(list);
    variable.Var("s");
    EXPRVALUE v = Run(variable, true);
    EXPECT_EQ(v.kind, ekBorrowedText);
    Postfix element(list);
    element.Int(0).Element("t");
    v = Run(element, true);
    EXPECT_EQ(v.kind, ekBufferedText);
    Postfix joined(list);
    joined.Text("x").Text("y").Operator(0);
    v = Run(joined, true);
    EXPECT_EQ(v.kind, ekOwnedText);  // its owned text is freed all the same
}

TEST_F(EvaluateEngineTest, OneDimensionalIndices) {
    const struct {
        int64_t index;
        int64_t want;
        int wantRef;
    } cases[] = {{0, 10, 0}, {4, 50, 4}, {-1, 50, 4}, {-5, 10, 0}, {-6, 0, -6}, {5, 0, 5}, {INT64_MAX, 0, INT32_MAX}};
    for (const auto& c : cases) {
        Postfix element(list);
        element.Int(c.index).Element("a");
        EXPRVALUE v = Run(element);
        EXPECT_EQ(v.kind, ekInteger) << c.index;
        EXPECT_EQ(v.value.integer, c.want) << c.index;
        EXPECT_EQ(v.ref.index, list.GetVarIndex("a"));
        EXPECT_EQ(v.ref.index1, c.wantRef) << c.index;
    }
    Postfix real(list);
    real.Real(-1.9).Element("a");
    EXPECT_EQ(Run(real).value.integer, 50);
    Postfix outside(list);
    outside.Int(9).Element("t");
    EXPRVALUE v = Run(outside);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_TRUE(v.text.IsEmpty());
}

TEST_F(EvaluateEngineTest, TwoDimensionalIndices) {
    const struct {
        int line;
        int column;
        int64_t want;
    } cases[] = {{-1, -1, 23}, {0, 0, 0}, {2, 3, 23}, {1, -4, 10}, {3, 0, 0}, {0, -5, 0}};
    for (const auto& c : cases) {
        Postfix element(list);
        element.Int(c.line).Int(c.column).Element2("m");
        EXPRVALUE v = Run(element);
        EXPECT_EQ(v.value.integer, c.want) << c.line << "," << c.column;
    }
    Postfix last(list);
    last.Int(-1).Int(-1).Element2("m");
    EXPRVALUE v = Run(last);
    EXPECT_EQ(v.ref.index1, 2);
    EXPECT_EQ(v.ref.index2, 3);
}

TEST_F(EvaluateEngineTest, FieldSelectors) {
    Postfix y(list);
    y.Var("p").Field(kFieldY);
    EXPRVALUE v = Run(y);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, -4);
    EXPECT_EQ(v.ref.index, list.GetVarIndex("p"));
    EXPECT_EQ(v.ref.field, kFieldY);
    Postfix im(list);
    im.Var("c").Field(kFieldIm);
    v = Run(im, false);
    EXPECT_EQ(v.kind, ekReal);
    EXPECT_EQ(v.value.real, -0.25);
    EXPECT_EQ(Run(im, true).kind, ekReal);
}

TEST_F(EvaluateEngineTest, CheckModeErrorsStopAndUnwind) {
    const struct {
        const char* name;
        int field;
        int code;
    } fieldCases[] = {{"i", kFieldX, eeWrongStruct}, {"p", kFieldRe, eeWrongStruct}, {"c", kFieldY, eeWrongStruct}};
    for (const auto& c : fieldCases) {
        EvaluateErrorCode = 0;
        Postfix field(list);
        field.Int(1).Var(c.name).Field(c.field);
        EXPRVALUE v = Run(field, true);
        EXPECT_EQ(v.kind, ekError) << c.name;
        EXPECT_EQ(EvaluateErrorCode, c.code);
        EXPECT_EQ(stack.GetCount(), 0);
    }
    EvaluateErrorCode = 0;
    Postfix textIndex(list);
    textIndex.Text("x").Element("a");
    EXPECT_EQ(Run(textIndex, true).kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeWrongArrayIndex);
    EvaluateErrorCode = 0;
    Postfix pointIndex(list);
    pointIndex.Var("p").Int(0).Element2("m");
    EXPECT_EQ(Run(pointIndex, true).kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeWrongArrayIndex);
    Postfix wrong(list);
    wrong.Int(0).Element("t").Int(2).Operator(0);
    EXPECT_EQ(Run(wrong, true).kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeWrongOperand);
}

TEST_F(EvaluateEngineTest, EvaluationLeavesWhatOthersPushed) {
    stack.Push(MakeIntegerItem(99), false);
    Postfix sum(list);
    sum.Int(1).Int(2).Operator(0);
    EXPECT_EQ(Run(sum).value.integer, 3);
    Postfix failing(list);
    failing.Int(1).Var("i").Field(kFieldX);
    EXPECT_EQ(Run(failing, true).kind, ekError);
    ASSERT_EQ(stack.GetCount(), 1);
    EXPECT_EQ(stack.Top(0)->value.integer, 99);
    stack.Pop(1);
}

TEST_F(EvaluateEngineTest, MissingOperatorsFailWithUnknownSymbol) {
    EvaluateOperations().binaryOperator = nullptr;
    Postfix sum(list);
    sum.Int(1).Int(2).Operator(0);
    EXPECT_EQ(Run(sum, true).kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
    EvaluateOperations().builtinFunction = nullptr;
    Postfix builtin(list);
    builtin.Int(1).Builtin(3);
    EXPECT_EQ(Run(builtin, true).kind, ekError);
}

TEST_F(EvaluateEngineTest, TextContainmentShortcut) {
    EvaluateOperations().binaryOperator = nullptr;  // the shortcut needs no operator
    const struct {
        const char* part;
        bool isOperator;
        int op;
        int64_t want;
    } cases[] = {{"ex", true, 29, 1}, {"xx", true, 29, 0}, {"ex", true, 30, 0}, {"", true, 29, 1}, {"xt", false, 0, 1}};
    for (const auto& c : cases) {
        Postfix test(list);
        test.Var("s").Text(c.part);
        if (c.isOperator) {
            test.Operator(c.op);
        } else {
            test.Builtin(kStrContBuiltinIndex);
        }
        EXPRVALUE v = Run(test);
        EXPECT_EQ(v.kind, ekInteger) << c.part;
        EXPECT_EQ(v.value.integer, c.want) << c.part;
    }
}

TEST_F(EvaluateEngineTest, SubExpressionStaysOwnedByTheExpression) {
    EXPRESSION nested;
    nested.count = 1;
    nested.items = new EXPRESSION_ITEM[2];
    nested.items[0] = MakeIntegerItem(3);
    EXPRESSION_ITEM item = MakeItem(ekSubExpression);
    item.value.expression = new EXPRESSION(nested);
    EXPRESSION e{1, new EXPRESSION_ITEM[2]};
    e.items[0] = item;
    EXPRVALUE v = EvaluateExpression(list, e, stack, false, nullptr);
    EXPECT_EQ(v.kind, ekSubExpression);
    FreeExpression(e);  // ASan: freed once, by its owner
}

TEST(FormatResultTest, Texts) {
    const struct {
        TExpressionItemType kind;
        double real;
        int64_t a;
        int64_t b;
        bool withType;
        const char* want;
    } cases[] = {
        {ekInteger, 0, 42, 0, true, "int,42"},   {ekInteger, 0, -7, 0, false, "-7"},
        {ekReal, 0.5, 0, 0, false, "0.500000"}, {ekReal, 0.5, 0, 0, true, "double,0.500000"},
        {ekPoint, 0, 1, 2, true, "point,1, 2"}, {ekError, 0, 0, 0, true, ","},
    };
    for (const auto& c : cases) {
        EXPRVALUE v;
        v.kind = c.kind;
        if (c.kind == ekReal) {
            v.value.real = c.real;
        } else {
            v.value.point = VPOINT{c.a, c.b};
        }
        EXPECT_EQ(FormatResult(v, c.withType), TString(c.want)) << c.want;
    }
    EXPRVALUE complex;
    complex.kind = ekComplex;
    complex.value.complex = VCOMPLEX{1.5, -2};
    EXPECT_EQ(FormatResult(complex, true), TString("complex,1.500000, -2.000000"));
    EXPRVALUE text;
    text.kind = ekOwnedText;
    text.text = "hi";
    TString out("x=");
    FormatResult(text, out, false);
    EXPECT_EQ(out, TString("x=hi"));
    FormatResult(text, out, true);
    EXPECT_EQ(out, TString("string,hi"));
    EXPRVALUE huge;
    huge.kind = ekReal;
    huge.value.real = 1e300;
    EXPECT_EQ(FormatResult(huge, false).Length(), 308);
}

TEST(GetVarAddressTest, AddressesOfValuesItemsAndFields) {
    TVariableList list;
    int64_t* i = list.NewInt("i", false, 1);
    VPOINT* p = list.NewPoint("p", false);
    TString* s = list.NewString("s", false, "x");
    list.NewArray("a", vtComplex, false);
    list.ResizeArray("a", 3);
    list.NewArray2("m", vtPoint, false);
    list.ResizeArray2("m", 2, 2);
    const int ai = list.GetVarIndex("a");
    const int mi = list.GetVarIndex("m");
    EXPECT_EQ(GetVarAddress(list, VARINFO{0, -1, -1, -1}), i);
    EXPECT_EQ(GetVarAddress(list, VARINFO{1, -1, -1, kFieldY}), &p->y);
    EXPECT_EQ(GetVarAddress(list, VARINFO{1, -1, -1, kFieldX}), &p->x);
    EXPECT_EQ(GetVarAddress(list, VARINFO{2, -1, -1, -1}), s);
    auto* item = static_cast<VCOMPLEX*>(list.GetArrayItem(ai, 2));
    EXPECT_EQ(GetVarAddress(list, VARINFO{ai, 2, -1, kFieldIm}), &item->im);
    auto* cell = static_cast<VPOINT*>(list.GetArray2Item(mi, 1, 1));
    EXPECT_EQ(GetVarAddress(list, VARINFO{mi, 1, 1, kFieldY}), &cell->y);
    // Nothing to address: a missing variable, an index outside, a field the value lacks, a whole array.
    EXPECT_EQ(GetVarAddress(list, VARINFO{99, -1, -1, -1}), nullptr);
    EXPECT_EQ(GetVarAddress(list, VARINFO{ai, 3, -1, -1}), nullptr);
    EXPECT_EQ(GetVarAddress(list, VARINFO{mi, 0, 2, -1}), nullptr);
    EXPECT_EQ(GetVarAddress(list, VARINFO{0, -1, -1, kFieldY}), nullptr);
    EXPECT_EQ(GetVarAddress(list, VARINFO{ai, 0, -1, kFieldY}), nullptr);
    EXPECT_EQ(GetVarAddress(list, VARINFO{ai, -1, -1, -1}), nullptr);
}

TEST(SharedEvaluationTest, DefaultListAndSharedStack) {
    TVariable* v = NewVar("sharedEngineTest", vtInt, false);
    v->value.i = 11;
    EXPRESSION e{1, new EXPRESSION_ITEM[2]};
    e.items[0] = MakeItem(ekVariable);
    e.items[0].value.variable.reference = V_Index(GetVarIndex("sharedEngineTest"));
    e.items[0].value.variable.absolute = false;
    e.items[0].value.variable.byReference = false;
    EXPRVALUE r = EvaluateExpression(e, false, nullptr);
    EXPECT_EQ(r.value.integer, 11);
    EXPECT_EQ(SharedEvalStack().GetCount(), 0);
    FreeExpression(e);
    DeleteVar("sharedEngineTest");
}

// Each thread evaluates on its own stack and list (run under ThreadSanitizer).
TEST(EvaluateThreadsTest, TwoThreadsOnTheirOwnStacks) {
    auto work = [](int seed, int64_t* result) {
        TVariableList list;
        list.NewArray("a", vtString, false);
        list.ResizeArray("a", 3);
        *static_cast<TString*>(list.GetArrayItem("a", 2)) = "abc";
        list.NewInt("n", false, seed);
        TEvalStack stack;
        // a[-1] and n, as two expressions.
        EXPRESSION element{2, new EXPRESSION_ITEM[3]};
        element.items[0] = MakeIntegerItem(-1);
        element.items[1] = MakeItem(ekElement);
        element.items[1].value.variable = TVariableValue{1, false, 0, false};
        EXPRESSION variable{1, new EXPRESSION_ITEM[2]};
        variable.items[0] = MakeItem(ekVariable);
        variable.items[0].value.variable = TVariableValue{0, false, 0, false};
        int64_t sum = 0;
        for (int round = 0; round < 2000; ++round) {
            EXPRVALUE check = EvaluateExpression(list, element, stack, true, nullptr);
            EXPRVALUE text = EvaluateExpression(list, element, stack, false, nullptr);
            EXPRVALUE number = EvaluateExpression(list, variable, stack, false, nullptr);
            if (check.kind != ekBufferedText || text.text != TString("abc") || stack.GetCount() != 0) break;
            sum += number.value.integer;
            EvaluateErrorCode = static_cast<int8_t>(seed);
            stack.SecondRandom().Next();
        }
        FreeExpression(element);
        FreeExpression(variable);
        *result = sum;
    };
    int64_t first = 0;
    int64_t second = 0;
    std::thread a(work, 1, &first);
    std::thread b(work, 2, &second);
    a.join();
    b.join();
    EXPECT_EQ(first, 2000);
    EXPECT_EQ(second, 4000);
}

TEST(OpenFilesTest, FreeIdsAndLookups) {
    TCFileInfoList files;
    EXPECT_EQ(files.GetFreeID(), 0);
    EXPECT_EQ(files.GetFile(0), -1);
    for (int id : {0, 2}) {
        TCFileInfo* info = new TCFileInfo;
        info->id = id;
        files.AddFile(info);
    }
    EXPECT_EQ(files.GetFreeID(), 1);
    EXPECT_EQ(files.GetFile(2), 1);
    EXPECT_EQ(files[5], nullptr);
    EXPECT_EQ(files[0]->id, 0);
    TCFileInfoList full;
    for (int id = 0; id < 65536; ++id) {
        TCFileInfo* info = new TCFileInfo;
        info->id = id;
        full.AddFile(info);
    }
    EXPECT_EQ(full.GetFreeID(), 65536);
    ASSERT_NE(OpenFiles, nullptr);
}

TEST(OpenFilesTest, EntryClosesItsStream) {
    TCFileInfoList files;
    TCFileInfo* info = new TCFileInfo;
    info->file = std::tmpfile();
    ASSERT_NE(info->file, nullptr);
    files.AddFile(info);
    files.Clear();  // ASan/LSan would report a stream left open
    EXPECT_EQ(files.GetCount(), 0);
}

}  // namespace
