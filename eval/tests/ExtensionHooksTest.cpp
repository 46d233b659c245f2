// Tests of the extension registries: declarations and hiding, argument checks and conversion, handlers, custom
// operators and added built-ins.
#include <gtest/gtest.h>

#include <vector>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExpressionCompiler.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"

namespace {

std::vector<EXPRESSION_ITEM> received;  // the arguments the last handler call saw

EXPRESSION_ITEM RecordingHandler(EXPRESSION_ITEM* arguments, int functionIndex, void*) {
    received.assign(arguments, arguments + 2);
    return MakeIntegerItem(100 + functionIndex);
}
EXPRESSION_ITEM ReturnsOne(EXPRESSION_ITEM*) { return MakeIntegerItem(1); }
EXPRESSION_ITEM ReturnsTwo(EXPRESSION_ITEM*) { return MakeIntegerItem(2); }
// left * 10 + right
EXPRESSION_ITEM Concatenate(EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, bool) {
    return MakeIntegerItem(left.value.integer * 10 + right.value.integer);
}

class ExtensionHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewInt("a", false, 7);
        list.NewString("txt", false, "t");
        list.NewArray("v", vtInt, false);
        received.clear();
    }
    void TearDown() override {
        ExtFunctions().DeleteAll();
        CustomFunctions().DeleteAll();
        CustomOperators().DeleteAll();
        ExtFuncHandler = nullptr;
        EXPECT_EQ(list.GetCount(), 3);
    }

    // Compiles and runs text; kind 0 when it does not compile.
    EXPRVALUE Run(const char* text) {
        EXPRESSION e = CreateExpression(list, text);
        EXPRVALUE value;
        value.kind = ekNone;
        if (e.count >= 0) {
            TEvalStack stack;
            value = EvaluateExpression(list, e, stack, false, nullptr);
            EXPECT_EQ(stack.GetCount(), 0);
            EXPECT_EQ(stack.GetLentStringCount(), 0);
        }
        FreeExpression(e);
        return value;
    }
    EXPRESSION Compile(const char* text) { return CreateExpression(list, text); }

    TVariableList list;
};

TEST_F(ExtensionHooksTest, LaterCustomFunctionHidesEarlierUntilDeleted) {
    RegisterCustomFunction(901, ReturnsOne);
    RegisterCustomFunction(902, ReturnsTwo);
    RegisterCustomFunction(901, ReturnsTwo);  // a second record for an id: the first one counts
    CustomFunctions().Add(new TCustomFunction("f", ekInteger, 901));
    CustomFunctions().Add(new TCustomFunction("other", ekInteger, 903));
    CustomFunctions().Add(new TCustomFunction("f", ekInteger, 902));
    for (int k = 0; k < 3; ++k) static_cast<TCustomFunction*>(CustomFunctions()[k])->AddParam(ekInteger, false, 0);
    EXPECT_EQ(Run("f(0)").value.integer, 2);

    TStringContainer names;
    names.Add(TString("missing"));
    names.Add(TString("f"));
    CustomFunctions().DeleteFunctions(names);
    ASSERT_EQ(CustomFunctions().GetCount(), 2);
    EXPECT_EQ(CustomFunctions()[1]->name, TString("other"));
    EXPECT_EQ(Run("f(0)").value.integer, 1);
}

TEST_F(ExtensionHooksTest, ArgumentChecksOfTheCheckPass) {
    TExtFunction* byRef = new TExtFunction("byref", ekInteger);
    byRef->AddParam(ekArray, true, vtInt);
    ExtFunctions().Add(byRef);
    TExtFunction* text = new TExtFunction("text", ekOwnedText);
    text->AddParam(ekOwnedText, false, 0);
    ExtFunctions().Add(text);
    TExtFunction* number = new TExtFunction("number", ekReal);
    number->AddParam(ekReal, false, 0);
    ExtFunctions().Add(number);
    struct {
        const char* text;
        int code;  // -1: compiles
    } cases[] = {
        {"byref(5)", eeMissingVariable},
        {"byref(v)", -1},
        {"byref(a)", eeWrongArgumentType},
        {"text('x')", -1},
        {"text(txt)", -1},
        {"text(text('x'))", -1},
        {"text(1)", eeWrongArgumentType},
        {"number('x')", eeWrongArgumentType},
        {"number(a)", -1},
        {"number(1,2)", eeArgumentCount},
        {"number()", eeRightParenthesisPlace},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPRESSION e = Compile(c.text);
        if (c.code < 0) {
            EXPECT_GE(e.count, 0);
        } else {
            EXPECT_EQ(e.count, -1);
            EXPECT_EQ(EvaluateErrorCode, c.code);
        }
        FreeExpression(e);
    }
}

TEST_F(ExtensionHooksTest, RunPassConvertsNumbersToTheParameterType) {
    TExtFunction* function = new TExtFunction("conv", ekInteger);
    function->AddParam(ekReal, false, 0);
    function->AddParam(ekInteger, false, 0);
    ExtFunctions().Add(new TExtFunction("unused", ekInteger));
    ExtFunctions().Add(function);
    ExtFuncHandler = RecordingHandler;
    EXPECT_EQ(Run("conv(5,2.9)").value.integer, 101);  // index 1 in ExtFunctions
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].kind, ekReal);
    EXPECT_EQ(received[0].value.real, 5.0);
    EXPECT_EQ(received[1].kind, ekInteger);
    EXPECT_EQ(received[1].value.integer, 2);
}

TEST_F(ExtensionHooksTest, MissingHandlersAndFunctionsGiveAnErrorResult) {
    TExtFunction* function = new TExtFunction("ext", ekInteger);
    function->AddParam(ekInteger, false, 0);
    ExtFunctions().Add(function);
    EXPECT_EQ(Run("ext(1)+1").kind, ekError);  // ExtFuncHandler is null

    CustomFunctions().Add(new TCustomFunction("nohandler", ekInteger, 911));
    EXPECT_EQ(Run("nohandler()").kind, ekError);

    RegisterCustomFunction(912, ReturnsOne);
    CustomFunctions().Add(new TCustomFunction("gone", ekInteger, 912));
    EXPRESSION e = Compile("gone()");
    ASSERT_GE(e.count, 0);
    TStringContainer names;
    names.Add(TString("gone"));
    CustomFunctions().DeleteFunctions(names);
    TEvalStack stack;
    EXPECT_EQ(EvaluateExpression(list, e, stack, false, nullptr).kind, ekError);
    EXPECT_EQ(EvaluateExpression(list, e, stack, true, nullptr).kind, ekError);
    EXPECT_EQ(stack.GetCount(), 0);
    FreeExpression(e);
}

TEST_F(ExtensionHooksTest, CustomOperatorsRankByTheirLevel) {
    RegisterCustomOperator(921, Concatenate);
    RegisterCustomOperator(922, Concatenate);
    CustomOperators().Add(TCustomOperator(921, 40, false, "##"));  // tighter than * (30)
    CustomOperators().Add(TCustomOperator(922, 10, false, "$$"));  // looser than + (25)
    EXPECT_EQ(CustomOperators().GetIndex(922), 1);
    EXPECT_EQ(CustomOperators().GetIndex(5), -1);
    EXPECT_EQ(Run("2*1##3").value.integer, 26);
    EXPECT_EQ(Run("1+1$$3").value.integer, 23);
    EXPECT_EQ(Run("1##2##3").value.integer, 123);

    CustomOperators().Add(TCustomOperator(929, 40, false, "@@"));  // no handler
    EXPRESSION e = Compile("1@@2");
    EXPECT_EQ(e.count, -1);
    EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
}

bool TwiceHandler(TVariableList&, EXPRESSION_ITEM& function, TEvalStack& stack, bool, EXPRESSION_ITEM& result) {
    if (!(MultiFunctions()[function.value.code.index]->name == "twice")) return false;
    result = MakeIntegerItem(stack.Top(0)->value.integer * 2);
    return true;
}

TEST_F(ExtensionHooksTest, AddedBuiltinsRunThroughTheMultiFunctionHandlers) {
    TMultiFunction* twice = new TMultiFunction("twice", vtInt);
    twice->AddParam(fpNumber);
    const int position = AddMultiFunction(twice);
    EXPECT_EQ(position, BuiltinFunctionCount());
    TMultiFunction* orphan = new TMultiFunction("orphan", vtInt);
    AddMultiFunction(orphan);
    RegisterMultiFunctionHandler(TwiceHandler);
    EXPECT_EQ(Run("twice(4)+1").value.integer, 9);
    EXPECT_EQ(Run("orphan()").kind, ekNone);  // no handler accepts it: does not compile
}

}  // namespace

namespace {

// The temporaries a call binds exist only while its argument compiles, on
// every path; a rejected call leaves no output behind.
TEST_F(ExtensionHooksTest, CallTemporariesAreRemovedOnEveryPath) {
    // The built-in summa takes its expression as a sub-expression.
    EXPRESSION e = Compile("summa(1,3,[[i*2]])+a");
    ASSERT_EQ(e.count, 6);  // 1 3 [[i 2 *]] summa a +
    EXPECT_EQ(e.items[3].kind, ekBuiltinFunction);
    FreeExpression(e);
    EXPECT_EQ(list.GetCount(), 3);

    EvaluateErrorPos = -1;
    EXPRESSION rejected = Compile("a+summa(1,3,[[i+]])");
    EXPECT_EQ(rejected.count, -1);
    EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
    EXPECT_EQ(EvaluateErrorPos, 2);  // at the name
    EXPECT_EQ(list.GetCount(), 3);
    EXPRESSION outside = Compile("summa(1,i,[[3]])");  // i exists only in the third argument
    EXPECT_EQ(outside.count, -1);
    EXPECT_EQ(list.GetCount(), 3);
}

}  // namespace
