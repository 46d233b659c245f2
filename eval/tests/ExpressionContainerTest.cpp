// Tests of TExpressionContainer: adding by text and by copy, the failure modes, evaluation by index and copies.
#include <gtest/gtest.h>

#include "ExpressionCompiler.h"
#include "ExpressionContainer.h"

namespace {

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewInt("a", false, 0);
        list.NewInt("b", false, 0);
    }

    static TStringContainer Texts(std::initializer_list<const char*> texts) {
        TStringContainer lines;
        for (const char* text : texts) lines.Add(text);
        return lines;
    }

    TVariableList list;
};

TEST_F(ContainerTest, FailureModes) {
    const struct {
        TExpressionContainer::TAddFreeMode mode;
        int countAfter;
    } cases[] = {
        {TExpressionContainer::afKeepAdded, 5},
        {TExpressionContainer::afRemoveAdded, 3},
        {TExpressionContainer::afDeleteAll, 0},
    };
    for (const auto& c : cases) {
        TExpressionContainer container(&list);
        ASSERT_TRUE(container.AddExpressions(Texts({"1", "2", "3"}), c.mode));
        EXPECT_FALSE(container.AddExpressions(Texts({"4", "5", "6+", "7"}), c.mode));
        ASSERT_EQ(container.GetCount(), c.countAfter) << c.mode;
        for (int i = 0; i < c.countAfter; ++i) EXPECT_EQ(container.EvalS(i, false), TString(std::to_string(i + 1)));
    }
}

TEST_F(ContainerTest, EvaluateAllInOrderAndIndicesOutside) {
    TExpressionContainer container(&list);
    ASSERT_TRUE(container.AddExpression("a = 2"));
    ASSERT_TRUE(container.AddExpression("b = a * 3"));
    EXPECT_FALSE(container.AddExpression("b = "));
    EXPECT_EQ(container.GetCount(), 2);
    container.EvaluateAll();
    EXPECT_EQ(list.GetVar("b")->value.i, 6);
    EXPECT_EQ(container.Evaluate(1).value.integer, 6);
    EXPECT_EQ(container.Evaluate(2).kind, ekNone);
    EXPECT_EQ(container.Evaluate(-1).kind, ekNone);
    TString out("kept");
    EXPECT_FALSE(container.EvalS(out, -1, true));
    EXPECT_EQ(out, TString("kept"));
    EXPECT_TRUE(container.EvalS(out, 0, true));
    EXPECT_EQ(out, TString("int,2"));
    EXPECT_EQ(container.EvalS(5, false), TString(""));
    EXPECT_THROW(container[2], TSDPPBadIndex);
}

TEST_F(ContainerTest, ArraysAndContainersAreCopiedDeeply) {
    EXPRESSION array[2] = {CreateExpression(list, "'one'"), CreateExpression(list, "[[2]]")};
    TExpressionContainer container(&list);
    EXPECT_TRUE(container.AddExpressions(array, 2));
    EXPECT_TRUE(container.AddExpressions(array, 0));
    EXPECT_TRUE(container.AddExpressions(nullptr, 3));
    ASSERT_EQ(container.GetCount(), 2);
    EXPECT_NE(container[0].items, array[0].items);
    FreeExpression(array[0]);
    FreeExpression(array[1]);
    array[0] = EXPRESSION();
    EXPECT_EQ(container.EvalS(0, true), TString("string,one"));

    TExpressionContainer copy(&list);
    copy.AddExpression("b");
    copy.Assign(container);
    copy.Assign(copy);
    container.Clear();
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.EvalS(0, false), TString("one"));
}

TEST_F(ContainerTest, StoredFormRoundTrips) {
    TExpressionContainer container(&list);
    container.AddExpressions(Texts({"a+1", "'x'+'y'"}), TExpressionContainer::afKeepAdded);
    TMemBuffer buffer;
    container.WriteToMemBuffer(buffer);
    TExpressionContainer read(&list);
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.EvalS(1, false), TString("xy"));
    TMemBuffer cut;
    cut.Add(buffer.GetBlock(), buffer.GetSize() - 3);
    TExpressionContainer damaged(&list);
    EXPECT_FALSE(damaged.ReadFromMemBuffer(cut));
}

}  // namespace
