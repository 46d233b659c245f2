// Run-mode evaluation of hand-built postfix expressions: arithmetic on variables, simple functions, text joining and assignment.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <vector>

#include "BinaryOperators.h"
#include "EvaluateEngine.h"

namespace {

EXPRESSION_ITEM Code(TExpressionItemType kind, int index) {
    EXPRESSION_ITEM item = MakeItem(kind);
    item.value.code.index = index;
    return item;
}

EXPRESSION_ITEM Variable(TVariableList& list, const char* name) {
    EXPRESSION_ITEM item = MakeItem(ekVariable);
    item.value.variable.reference = list.V_Index(list.GetVarIndex(name));
    return item;
}

EXPRESSION_ITEM Text(const char* text) {
    EXPRESSION_ITEM item = MakeItem(ekOwnedText);
    item.value.text.text = new TString(text);
    return item;
}

// Compiles nothing: the items are the postfix form; the check pass runs once first.
void Evaluate(benchmark::State& state, TVariableList& list, std::initializer_list<EXPRESSION_ITEM> items) {
    EXPRESSION e;
    e.count = static_cast<int>(items.size());
    e.items = new EXPRESSION_ITEM[items.size() + 1];
    int k = 0;
    for (const EXPRESSION_ITEM& item : items) e.items[k++] = item;
    TEvalStack stack;
    EXPRVALUE out;
    EvaluateExpression(list, e, stack, out, true, nullptr);
    if (out.kind == ekError) state.SkipWithError("check pass failed");
    for (auto _ : state) {
        EvaluateExpression(list, e, stack, out, false, nullptr);
        benchmark::DoNotOptimize(out.value.real);
    }
    FreeExpression(e);
}

// (x + 2.5) * y - x / 3 ^ 2
void Arithmetic(benchmark::State& state) {
    TVariableList list;
    list.NewDouble("x", false, 1.25);
    list.NewInt("y", false, 7);
    Evaluate(state, list,
             {Variable(list, "x"), MakeRealItem(2.5), Code(ekBinaryOperator, opAdd), Variable(list, "y"),
              Code(ekBinaryOperator, opMultiply), Variable(list, "x"), MakeIntegerItem(3), MakeIntegerItem(2),
              Code(ekBinaryOperator, opPower), Code(ekBinaryOperator, opDivide), Code(ekBinaryOperator, opSubtract)});
}
BENCHMARK(Arithmetic);

// sin(x) * cos(x) + sqrt(abs(x))
void SimpleFunctions(benchmark::State& state) {
    TVariableList list;
    list.NewDouble("x", false, 0.75);
    Evaluate(state, list,
             {Variable(list, "x"), Code(ekSimpleFunction, 0), Variable(list, "x"), Code(ekSimpleFunction, 1),
              Code(ekBinaryOperator, opMultiply), Variable(list, "x"), Code(ekSimpleFunction, 4),
              Code(ekSimpleFunction, 12), Code(ekBinaryOperator, opAdd)});
}
BENCHMARK(SimpleFunctions);

// s + "-suffix" == "name-suffix"
void TextJoin(benchmark::State& state) {
    TVariableList list;
    list.NewString("s", false, "name");
    Evaluate(state, list,
             {Variable(list, "s"), Text("-suffix"), Code(ekBinaryOperator, opAdd), Text("name-suffix"),
              Code(ekBinaryOperator, opEqual)});
}
BENCHMARK(TextJoin);

// i += 3
void Assignment(benchmark::State& state) {
    TVariableList list;
    list.NewInt("i", false, 0);
    Evaluate(state, list, {Variable(list, "i"), MakeIntegerItem(3), Code(ekBinaryOperator, opAddAssign)});
}
BENCHMARK(Assignment);

}  // namespace
