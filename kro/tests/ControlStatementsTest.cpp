// Tests of the block and control-flow statements: token types, jump indices and misplaced statements.
#include "KroTestSupport.h"

namespace {

class ControlStatementsTest : public KroCompileTest {};

TEST_F(ControlStatementsTest, IfElseEndPatchesTheIf) {
    ASSERT_TRUE(Compile("int a\nif a>0\na=1\nelse\na=2\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttIf, ttExpression, ttElse, ttExpression, ttEnd}));
    const COND_INFO* info = program.tokens[1]->Record<COND_INFO>();
    EXPECT_EQ(info->start, 1);
    EXPECT_EQ(info->end, 5);
    EXPECT_EQ(info->elseIndex, 3);
}

TEST_F(ControlStatementsTest, IfWithoutElseKeepsMinusOne) {
    ASSERT_TRUE(Compile("if(1)\nend"));
    EXPECT_EQ(program.tokens[0]->Record<COND_INFO>()->elseIndex, -1);
    EXPECT_EQ(program.tokens[0]->Record<COND_INFO>()->end, 1);
}

TEST_F(ControlStatementsTest, WhileKeepsConditionAndFurtherExpressions) {
    ASSERT_TRUE(Compile("int i\nwhile i<3,i+=1,i+=2\ni=i\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttWhile, ttExpression, ttEnd}));
    const WHILE_INFO* info = program.tokens[1]->Record<WHILE_INFO>();
    EXPECT_EQ(info->start, 1);
    EXPECT_EQ(info->end, 3);
    EXPECT_GT(info->condition.count, 0);
    EXPECT_EQ(info->further.Count(), 2);
}

TEST_F(ControlStatementsTest, RepeatAndUntilPointAtEachOther) {
    ASSERT_TRUE(Compile("int i\nrepeat\ni+=1\nuntil i>3"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttRepeat, ttExpression, ttUntil}));
    EXPECT_EQ(program.tokens[1]->value, 3);
    EXPECT_EQ(program.tokens[3]->Record<COND_INFO>()->start, 1);
}

TEST_F(ControlStatementsTest, LoopRecordsItsEnd) {
    ASSERT_TRUE(Compile("loop 5\nblock\nend\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttLoop, ttBlock, ttEnd, ttEnd}));
    EXPECT_EQ(program.tokens[0]->Record<COND_INFO>()->end, 3);
}

TEST_F(ControlStatementsTest, ForAppendsItsInitTokensBeforeIt) {
    ASSERT_TRUE(Compile("int i, j\nfor i=0, j=1; i<10; i+=1, j+=2\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttDeclaration, ttExpression, ttExpression, ttFor, ttEnd}));
    const FOR_INFO* info = program.tokens[4]->Record<FOR_INFO>();
    EXPECT_EQ(info->conditions.Count(), 1);
    EXPECT_EQ(info->steps.Count(), 2);
    EXPECT_EQ(info->end, 5);
}

TEST_F(ControlStatementsTest, SwitchRecordsCasesDefaultAndEnd) {
    ASSERT_TRUE(Compile("int a\nswitch a\ncase 1:\na=2\nendcase\ncase 2:\ndefault:\na=3\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttSwitch, ttExpression, ttEndcase, ttExpression, ttEnd}));
    const TSwitchInfo* info = program.tokens[1]->Record<TSwitchInfo>();
    ASSERT_EQ(info->GetCount(), 3);
    EXPECT_EQ(info->Case(0)->branch, 2);
    EXPECT_FALSE(info->Case(0)->IsDefault());
    EXPECT_EQ(info->Case(1)->branch, 4);
    EXPECT_TRUE(info->Case(2)->IsDefault());
    EXPECT_EQ(info->Case(2)->branch, 4);
    EXPECT_EQ(info->defaultIndex, 4);
    EXPECT_EQ(info->end, 5);
}

TEST_F(ControlStatementsTest, BreakAndContinueInsideLoops) {
    EXPECT_TRUE(Compile("while 0\nif 1\nbreak\nend\ncontinue\nend"));
    EXPECT_TRUE(Compile("repeat\nbreak\nuntil 1"));
    EXPECT_TRUE(Compile("loop 2\ncontinue\nend"));
}

TEST_F(ControlStatementsTest, ElseHidesTheIfBranchVariables) {
    EXPECT_TRUE(Compile("int y\nif 1\nint x\nx=1\nend\ny=2"));
    EXPECT_FALSE(Compile("if 1\nint x\nelse\nx=1\nend"));
    EXPECT_EQ(KRO_ErrorCode, 10);
    EXPECT_EQ(KRO_ErrorLine, 4);
    EXPECT_FALSE(Compile("block\nint x\nend\nx=1"));
    EXPECT_EQ(KRO_ErrorCode, 10);
}

TEST_F(ControlStatementsTest, FirstWordDecidesTheStatement) {
    EXPECT_TRUE(Compile("int ifx\nifx = 1"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttExpression}));
    EXPECT_FALSE(Compile("int x\nIF x"));
    EXPECT_EQ(KRO_ErrorCode, 10);
    EXPECT_TRUE(Compile("message 'a  b'"));
    EXPECT_EQ(Types(), std::vector<int>{ttMessage});
    EXPRVALUE value = EvaluateExpression(program.tokens[0]->expression, false, nullptr);
    EXPECT_STREQ(value.text.c_str(), "a  b");
}

struct TErrorCase {
    const char* text;
    int code;
    int line;
};

TEST_F(ControlStatementsTest, MisplacedAndMalformedStatementsFail) {
    const TErrorCase cases[] = {
        {"break", 12, 1},
        {"continue", 13, 1},
        {"int i\nfor i=0;i<3;i+=1\nbreak\nend", 12, 3},
        {"int i\nfor i=0;i<3;i+=1\ncontinue\nend", 13, 3},
        {"return 1", 21, 1},
        {"while 1\nreturn 1\nend", 21, 2},
        {"return", 10, 1},
        {"else", 27, 1},
        {"if 1\nelse\nelse\nend", 27, 3},
        {"while 1\nelse\nend", 27, 2},
        {"end", 26, 1},
        {"repeat\nend", 26, 2},
        {"until 1", 14, 1},
        {"repeat\nuntil", 10, 2},
        {"if", 9, 1},
        {"if 1+", 10, 1},
        {"while", 9, 1},
        {"while 1,+", 10, 1},
        {"block 1", 11, 1},
        {"block\nend 2", 11, 2},
        {"loop", 10, 1},
        {"switch", 10, 1},
        {"int a\nswitch a\ncase 1\nend", 23, 3},
        {"int a\nswitch a\ncase +:\nend", 10, 3},
        {"int a\nswitch a\ndefault\nend", 23, 3},
        {"int a\nswitch a\ndefault:\ndefault:\nend", 24, 4},
        {"case 1:", 22, 1},
        {"default:", 22, 1},
        {"endcase", 25, 1},
        {"int a\nswitch a\nendcase 1\nend", 11, 3},
        {"int a\nswitch a\nint b\nend", 29, 3},
        {"for i=0;i<3", 49, 1},
        {"for ;;;", 49, 1},
        {"for +;1;1", 50, 1},
        {"for ;+;1", 51, 1},
        {"for ;1;+", 52, 1},
        {"message", 10, 1},
    };
    for (const TErrorCase& c : cases) {
        EXPECT_FALSE(Compile(c.text)) << c.text;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.text;
        EXPECT_EQ(KRO_ErrorLine, c.line) << c.text;
        EXPECT_EQ(program.tokens.GetCount(), 0) << c.text;
    }
}

TEST_F(ControlStatementsTest, UnclosedBlockFailsWithCodeZero) {
    EXPECT_FALSE(Compile("if 1\nint a"));
    EXPECT_EQ(KRO_ErrorCode, 0);
    EXPECT_EQ(program.tokens.GetCount(), 0);
}

}  // namespace
