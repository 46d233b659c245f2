// Shared fixture of the expression-tree tests: a variable list, compiling text to trees and a compact tree notation.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExpressionCompiler.h"
#include "ExpressionTree.h"
#include "Variables.h"

// One row of a table of cases: an expression text and what it should give.
struct TTextCase {
    const char* text;
    std::string expected;
};

struct TNodeDeleter {
    void operator()(TENode* node) const { delete node; }
};
typedef std::unique_ptr<TENode, TNodeDeleter> TTree;

// Prefix notation of a tree: op(left,right), f(args), integers as digits,
// doubles with an "r" suffix ("1.5r"), variables by name, "<>" for an empty
// node, "#k" for another leaf of item kind k.
inline std::string TreeShape(TVariableList& list, const TENode* node) {
    if (node == nullptr) return "null";
    if (node->kind == nkEmpty) return "<>";
    const EXPRESSION_ITEM& item = node->item;
    switch (item.kind) {
        case ekInteger: return std::to_string(item.value.integer);
        case ekReal: return TString(item.value.real).str() + "r";
        case ekVariable: {
            const TVariable* v = list[list.V_Index(item.value.variable.reference, item.value.variable.absolute)];
            return v != nullptr ? v->name.str() : "?";
        }
        case ekOwnedText: return "'" + item.value.text.text->str() + "'";
        case ekBinaryOperator:
            return std::string(GetOperatorName(item.value.code.index)) + "(" + TreeShape(list, node->left) + "," +
                   TreeShape(list, node->right) + ")";
        case ekSimpleFunction:
            return std::string(GetFunctionName(item.value.code.index)) + "(" + TreeShape(list, node->left) +
                   (node->right != nullptr ? "," + TreeShape(list, node->right) : std::string()) + ")";
        default: return "#" + std::to_string(item.kind);
    }
}

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewDouble("x", false, 0.5);
        list.NewDouble("y", false, 2.0);
        list.NewDouble("z", false, 3.0);
        list.NewInt("n", false, 4);
        list.NewString("s", false, "text");
    }

    // The tree of text, compiled against list; null when it does not compile.
    TTree Tree(const std::string& text) {
        EXPRESSION e = CreateExpression(list, TString(text));
        if (e.count < 0) return TTree();
        TTree tree(CreateExpressionTree(e));
        FreeExpression(e);
        return tree;
    }
    std::string ShapeOf(const std::string& text) {
        TTree tree = Tree(text);
        return TreeShape(list, tree.get());
    }
    std::string Shape(const TENode* node) { return TreeShape(list, node); }
    int Position(const char* name) { return list.GetVarIndex(name); }

    TVariableList list;
};
