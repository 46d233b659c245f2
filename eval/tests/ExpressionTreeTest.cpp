// Tests of expression trees: postfix to tree and back, deep copies, the node list and the constructors.
#include <gtest/gtest.h>

#include "EvaluateEngine.h"
#include "ExpressionTree.h"
#include "TreeTestSupport.h"

namespace {

class ExpressionTreeTest : public TreeTest {};

TEST_F(ExpressionTreeTest, BuildsTreesOfOperatorsAndFunctions) {
    const TTextCase cases[] = {
        {"x+y*z", "+(x,*(y,z))"},
        {"(x+y)*z", "*(+(x,y),z)"},
        {"x-y-z", "-(-(x,y),z)"},
        {"pow(x,2)", "pow(x,2)"},
        {"sin(x)", "sin(x)"},
        {"5", "5"},
        {"2.5", "2.5r"},
        {"logn(2,x)^y", "^(logn(2,x),y)"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShapeOf(c.text), c.expected) << c.text;
    TTree sine = Tree("sin(x)");
    ASSERT_TRUE(sine);
    EXPECT_EQ(sine->kind, nkInner);
    EXPECT_EQ(sine->right, nullptr);
    EXPECT_EQ(sine->left->kind, nkLeaf);
}

TEST_F(ExpressionTreeTest, EmptyOrMalformedPostfixGivesNoTree) {
    EXPRESSION empty;
    empty.count = 0;
    empty.items = new EXPRESSION_ITEM[1];
    EXPECT_EQ(CreateExpressionTree(empty), nullptr);
    FreeExpression(empty);

    EXPRESSION lonely;  // x + : an operator short of an operand
    lonely.count = 2;
    lonely.items = new EXPRESSION_ITEM[3];
    lonely.items[0] = MakeRealItem(1.0);
    lonely.items[1] = MakeItem(ekBinaryOperator);
    lonely.items[1].value.code.index = 0;
    EXPECT_EQ(CreateExpressionTree(lonely), nullptr);
    lonely.items[1] = MakeItem(ekSimpleFunction);
    lonely.items[1].value.code.index = 99;  // no such function
    EXPECT_EQ(CreateExpressionTree(lonely), nullptr);
    FreeExpression(lonely);
}

TEST_F(ExpressionTreeTest, PostfixComesBackInTheSameOrderAndValue) {
    for (const char* text : {"x+y*z", "pow(x,2)-sin(y)/z", "logn(2,x*8)", "x"}) {
        EXPRESSION original = CreateExpression(list, TString(text));
        ASSERT_GE(original.count, 1) << text;
        TTree tree(CreateExpressionTree(original));
        EXPRESSION back = CreatePostfixExpression(tree.get());
        ASSERT_EQ(back.count, original.count) << text;
        for (int k = 0; k < back.count; ++k) {
            EXPECT_EQ(back.items[k].kind, original.items[k].kind) << text << " item " << k;
            EXPECT_EQ(back.items[k].value.code.index, original.items[k].value.code.index) << text << " item " << k;
        }
        EXPECT_DOUBLE_EQ(EvaluateExpression(list, back, false, nullptr).value.real,
                         EvaluateExpression(list, original, false, nullptr).value.real)
            << text;
        FreeExpression(back);
        FreeExpression(original);
    }
}

// A tree whose leaves own a text, a nested expression and a list.
TENode* TreeOwningEverything() {
    TENode* root = NewOperatorNode(0);
    root->left = new TENode;
    root->left->kind = nkLeaf;
    root->left->item = MakeItem(ekOwnedText);
    root->left->item.value.text.text = new TString("abc");
    root->left->item.listCount = 2;
    root->left->item.list = new int32_t[2]{7, 8};
    root->right = new TENode;
    root->right->kind = nkLeaf;
    root->right->item = MakeItem(ekSubExpression);
    root->right->item.value.expression = new EXPRESSION;
    root->right->item.value.expression->count = 1;
    root->right->item.value.expression->items = new EXPRESSION_ITEM[2];
    root->right->item.value.expression->items[0] = MakeIntegerItem(42);
    return root;
}

void ExpectOwnsEverything(const TENode& copy) {
    EXPECT_EQ(copy.kind, nkInner);
    EXPECT_EQ(copy.left->item.value.text.text->str(), "abc");
    ASSERT_EQ(copy.left->item.listCount, 2);
    EXPECT_EQ(copy.left->item.list[1], 8);
    EXPECT_EQ(copy.right->item.value.expression->items[0].value.integer, 42);
}

TEST_F(ExpressionTreeTest, CopiesSurviveDeletionOfTheSource) {
    TENode* source = TreeOwningEverything();
    TENode constructed(*source);
    TENode assigned;
    assigned = *source;
    TENode byAssignNode;
    byAssignNode.AssignNode(*source);
    delete source;
    ExpectOwnsEverything(constructed);
    ExpectOwnsEverything(assigned);
    ExpectOwnsEverything(byAssignNode);
    assigned = assigned;  // self-assignment keeps the tree
    ExpectOwnsEverything(assigned);
    assigned = *assigned.left;  // a node may take the value of its own child
    EXPECT_EQ(assigned.kind, nkLeaf);
    EXPECT_EQ(assigned.item.value.text.text->str(), "abc");
}

TEST_F(ExpressionTreeTest, PostfixOwnsItsCopiesWhicheverIsFreedFirst) {
    TENode* tree = TreeOwningEverything();
    EXPRESSION first = CreatePostfixExpression(tree);
    ASSERT_EQ(first.count, 3);
    delete tree;
    EXPECT_EQ(first.items[0].value.text.text->str(), "abc");
    EXPECT_EQ(first.items[1].value.expression->items[0].value.integer, 42);
    EXPECT_NE(first.items[0].list, nullptr);

    tree = TreeOwningEverything();
    EXPRESSION second = CreatePostfixExpression(tree);
    FreeExpression(second);
    ExpectOwnsEverything(*tree);
    delete tree;
    FreeExpression(first);
}

TEST_F(ExpressionTreeTest, PostfixRefusesTreesThatCannotStandAlone) {
    // Leaves that lost their operands: a built-in with parameters, a unary operator.
    for (const char* text : {"strlen(s)+x", "!n"}) {
        TTree tree = Tree(text);
        ASSERT_TRUE(tree) << text;
        EXPRESSION e = CreatePostfixExpression(tree.get());
        EXPECT_EQ(e.count, -1) << text;
        EXPECT_EQ(e.items, nullptr) << text;
    }
    EXPECT_EQ(CreatePostfixExpression(nullptr).count, -1);
    TENode empty;
    EXPECT_EQ(CreatePostfixExpression(&empty).count, -1);
    TTree halfPow(NewFunctionNode(3));  // pow with one operand
    halfPow->left = NewIntNode(2);
    EXPECT_EQ(CreatePostfixExpression(halfPow.get()).count, -1);
    // A built-in without parameters stands alone.
    TTree random = Tree("drand()");
    EXPRESSION e = CreatePostfixExpression(random.get());
    EXPECT_EQ(e.count, 1);
    FreeExpression(e);
}

TEST_F(ExpressionTreeTest, DefaultNodeIsEmpty) {
    TENode node;
    EXPECT_EQ(node.kind, nkEmpty);
    EXPECT_EQ(node.left, nullptr);
    EXPECT_EQ(node.right, nullptr);
    EXPECT_EQ(node.item.kind, ekNone);
    EXPECT_EQ(node.item.list, nullptr);
}

TEST_F(ExpressionTreeTest, ConstructorsMakeTheStatedNodes) {
    TTree op(NewOperatorNode(3));
    EXPECT_EQ(op->kind, nkInner);
    EXPECT_EQ(op->item.kind, ekBinaryOperator);
    EXPECT_EQ(op->item.value.code.index, 3);
    TTree function(NewFunctionNode(12));
    EXPECT_EQ(function->item.kind, ekSimpleFunction);
    EXPECT_EQ(function->item.value.code.index, 12);
    TTree negative(NewIntNode(-7));
    EXPECT_EQ(negative->kind, nkLeaf);
    EXPECT_EQ(negative->item.value.integer, -7);
    TENodeConstant real;
    real.type = ekReal;
    real.real = 1.5;
    real.integer = 9;
    TTree fromReal(NewConstantNode(real));
    EXPECT_EQ(fromReal->item.kind, ekReal);
    EXPECT_EQ(fromReal->item.value.real, 1.5);
    TENodeConstant integer;
    integer.integer = int64_t{1} << 40;
    TTree fromInteger(NewConstantNode(integer));
    EXPECT_EQ(fromInteger->item.value.integer, int64_t{1} << 40);
}

TEST_F(ExpressionTreeTest, NodeListOwnsDeepCopies) {
    TENodeList nodes;
    EXPECT_EQ(nodes.First(), nullptr);
    EXPECT_EQ(nodes.Mid(), nullptr);
    EXPECT_EQ(nodes.Last(), nullptr);
    for (int k = 0; k < 5; ++k) {
        TENode* node = nodes.NewItem();
        ASSERT_NE(node, nullptr);
        node->kind = nkLeaf;
        node->item = MakeIntegerItem(k);
    }
    EXPECT_EQ(nodes.Mid()->item.value.integer, 2);
    EXPECT_EQ(nodes.First()->item.value.integer, 0);
    EXPECT_EQ(nodes.Last()->item.value.integer, 4);
    EXPECT_EQ(nodes[5], nullptr);

    TENode* tree = TreeOwningEverything();
    nodes += *tree;
    delete tree;
    ExpectOwnsEverything(*nodes.Last());

    TENodeList copy(nodes);
    TENodeList assigned;
    assigned = nodes;
    nodes.Clear();
    ASSERT_EQ(copy.GetCount(), 6);
    ExpectOwnsEverything(*copy.Last());
    ExpectOwnsEverything(*assigned.Last());
    EXPECT_EQ(assigned[3]->item.value.integer, 3);
}

}  // namespace
