// The line variables an expression over the editor's lines sees.
#include <string>
#include <vector>

#include "Expression.h"
#include "RedaktFixture.h"
#include "TextEditorRuntimeVars.h"

namespace {

std::string Text(const TTextEditorRuntimeVars& vars, const char* name) {
    const TVariable* variable = vars.GetVar(name);
    return variable != nullptr && variable->type == vtString ? variable->value.s->str() : "?";
}

int64_t Number(const TTextEditorRuntimeVars& vars, const char* name) {
    const TVariable* variable = vars.GetVar(name);
    return variable != nullptr && variable->type == vtInt ? variable->value.i : -999;
}

std::vector<std::string> Recent(const TTextEditorRuntimeVars& vars) {
    std::vector<std::string> texts;
    const TVariable* lines = vars.GetVar("lines");
    if (lines == nullptr || lines->type != vtArray) return texts;
    for (int i = 0; i < lines->value.a.count; ++i) texts.push_back(static_cast<TString*>(lines->value.a.items)[i].str());
    return texts;
}

}  // namespace

TEST(TextEditorRuntimeVars, NewLineShiftsTheRecentLinesAndSetsTheNumbers) {
    TTextEditorRuntimeVars vars;
    ASSERT_EQ(Recent(vars).size(), 8u);
    const TTextEditorSelection none;
    vars.NewLine(0, none, "a");
    vars.NewLine(1, none, "b");
    vars.NewLine(2, none, "c");
    EXPECT_EQ(Text(vars, "line"), "c");
    EXPECT_EQ(Recent(vars), (std::vector<std::string>{"c", "b", "a", "", "", "", "", ""}));
    for (const char* name : {"line_number", "ln", "sel_number", "sn"}) EXPECT_EQ(Number(vars, name), 2) << name;

    // The ninth line pushes the first one out.
    for (int i = 3; i < 9; ++i) vars.NewLine(i, none, std::string(1, char('a' + i)));
    EXPECT_EQ(Recent(vars), (std::vector<std::string>{"i", "h", "g", "f", "e", "d", "c", "b"}));

    const TTextEditorSelection block{0, 0, 0, 10, 21};
    vars.NewLine(12, block, "x");
    EXPECT_EQ(Number(vars, "sel_number"), 2);
    EXPECT_EQ(Number(vars, "sn"), 2);
    EXPECT_EQ(Number(vars, "line_number"), 12);
    const TTextEditorSelection columns{2, 5, 12, 12, 12};  // an in-line selection is no block
    vars.NewLine(12, columns, "x");
    EXPECT_EQ(Number(vars, "sn"), 12);
}

TEST(TextEditorRuntimeVars, ACopyHasVariablesOfItsOwn) {
    TTextEditorRuntimeVars source;
    source.NewLine(4, TTextEditorSelection(), "first");
    TTextEditorRuntimeVars copy(source);
    EXPECT_EQ(Text(copy, "line"), "first");
    EXPECT_EQ(Number(copy, "ln"), 4);
    copy.NewLine(9, TTextEditorSelection(), "second");
    EXPECT_EQ(Text(source, "line"), "first");
    EXPECT_EQ(Recent(source)[0], "first");
    EXPECT_EQ(Number(source, "ln"), 4);
    source.NewLine(5, TTextEditorSelection(), "third");
    EXPECT_EQ(Text(copy, "line"), "second");
    EXPECT_EQ(Recent(copy)[1], "first");

    TTextEditorRuntimeVars assigned;
    assigned = copy;
    copy.NewLine(1, TTextEditorSelection(), "fourth");
    EXPECT_EQ(Text(assigned, "line"), "second");
    EXPECT_EQ(Number(assigned, "line_number"), 9);
}

TEST(TextEditorRuntimeVars, ExpressionsReadTheLoadedLine) {
    TTextEditorRuntimeVars vars;
    TExpression expression(&vars);
    ASSERT_TRUE(expression.SetSource("line + '|' + lines[1]", &vars));
    vars.NewLine(0, TTextEditorSelection(), "ab");
    vars.NewLine(1, TTextEditorSelection(), "cd");
    EXPECT_EQ(expression.EvalS().str(), "cd|ab");
    ASSERT_TRUE(expression.SetSource("ln * 10 + sn", &vars));
    vars.NewLine(7, TTextEditorSelection{0, 0, 0, 5, 9}, "x");
    EXPECT_EQ(expression.EvalS().str(), "72");
}
