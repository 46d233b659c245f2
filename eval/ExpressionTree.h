// Expression trees: the binary tree form of a compiled postfix expression, its node list and node constructors.
#pragma once

#include <cstdint>

#include "Container.h"
#include "ContainerItem.h"
#include "ExpressionModel.h"

// Node kinds.
constexpr int nkEmpty = 0;  // a default-constructed node
constexpr int nkInner = 1;  // binary operator or simple function with its operands
constexpr int nkLeaf = 2;

// One node of a tree. A node owns its children and what its item points to
// (the text of kind 18, the nested expression of kind 28, the item's list);
// deleting the root releases the whole tree.
class TENode : public TContainerItem {
public:
    // Kind 0, no children, an item of kind 0 with a zero value.
    TENode();
    // Deep copies: the children, the text, the nested expression and the list
    // are the copy's own, so either tree may be deleted first.
    TENode(const TENode& other);
    TENode& operator=(const TENode& other);
    ~TENode() override;

    // Becomes a deep copy of other (self-assignment does nothing).
    void AssignNode(const TENode& other);
    // Assign from another TENode; any other item does nothing.
    void Assign(const TContainerItem& source) override;

    int kind = nkEmpty;
    TENode* left = nullptr;
    TENode* right = nullptr;
    EXPRESSION_ITEM item;

private:
    void Release();
};

// A list that owns its nodes.
class TENodeList : public TContainer {
public:
    TENodeList();
    TENodeList(const TENodeList& other);
    ~TENodeList() override;
    void Init() override;

    // Null outside 0..count-1.
    TENode* operator[](int i) const;
    // A new empty node, appended.
    TENode* NewItem();
    // Null when the list is empty; Mid is the node at count/2.
    TENode* First() const;
    TENode* Mid() const;
    TENode* Last() const;
    // The list becomes a deep copy of other.
    TENodeList& operator=(const TENodeList& other);
    // Appends a deep copy of node.
    TENodeList& operator+=(const TENode& node);

protected:
    void* CreateItem(int index) override;
};

// The value of a constant subtree: type 1 (integer) or 3 (double).
struct TENodeConstant {
    uint8_t type = ekInteger;
    int64_t integer = 0;
    double real = 0.0;
};

// The tree of a postfix expression; the caller owns it. An expression with
// no items gives null, and so does one that is not well-formed postfix (an
// operator or function without its operands): the nodes made so far are
// freed. Unary operators, built-in, list and other functions become leaves
// that hold their item only; their operands' subtrees are dropped.
TENode* CreateExpressionTree(const EXPRESSION& expression);

// The postfix expression of a tree, with its own copies of texts, nested
// expressions and lists. A tree that cannot stand alone as postfix gives
// count -1 and no items: a null root, an empty node, an inner node whose
// children do not match its operator or function, or a leaf whose item
// needs operands from the stack (unary operator, built-in with parameters,
// list, external or custom function, element read, field selector).
EXPRESSION CreatePostfixExpression(const TENode* root);

// Node constructors; the caller owns the new node.
TENode* NewOperatorNode(int index);
TENode* NewFunctionNode(int index);
// Type 1 takes the integer, any other type the double.
TENode* NewConstantNode(const TENodeConstant& constant);
TENode* NewIntNode(int value);
TENode* NewInt64Node(int64_t value);
TENode* NewDoubleNode(double value);

// Whether the node stands for a binary operator / simple function of that index.
bool IsOperatorNode(const TENode* node, int index);
bool IsFunctionNode(const TENode* node, int index);
