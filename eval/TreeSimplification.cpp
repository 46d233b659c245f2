// Tree simplification: constant evaluation, folding and the neutral-element rules.
#include "TreeSimplification.h"

#include "OperatorSupport.h"

namespace {

bool ConstantOfLeaf(const TENode* node, TENodeConstant& out) {
    if (node->item.kind == ekInteger) {
        out.type = ekInteger;
        out.integer = node->item.value.integer;
        return true;
    }
    if (node->item.kind == ekReal) {
        out.type = ekReal;
        out.real = node->item.value.real;
        return true;
    }
    return false;
}

double AsReal(const TENodeConstant& c) { return c.type == ekInteger ? static_cast<double>(c.integer) : c.real; }

template <class Arithmetic>
TENodeConstant Combine(const TENodeConstant& l, const TENodeConstant& r) {
    TENodeConstant result;
    if (l.type == ekInteger && r.type == ekInteger) {
        result.integer = Arithmetic::OnIntegers(l.integer, r.integer);
    } else {
        result.type = ekReal;
        result.real = Arithmetic::OnReals(AsReal(l), AsReal(r));
    }
    return result;
}

// The value of operator index on two constants; false for other operators.
// The operator units' arithmetic wraps in unsigned and guards division.
bool ApplyOperator(int index, const TENodeConstant& l, const TENodeConstant& r, TENodeConstant& out) {
    switch (index) {
        case opAdd: out = Combine<TAddition>(l, r); return true;
        case opSubtract: out = Combine<TSubtraction>(l, r); return true;
        case opMultiply: out = Combine<TMultiplication>(l, r); return true;
        case opDivide: out = Combine<TDivision>(l, r); return true;
        case opPower: out = Combine<TPower>(l, r); return true;
        default: return false;
    }
}

// The value of a node whose operands are to be found by evaluate.
template <class ChildEvaluation>
bool EvaluateWith(const TENode* node, TENodeConstant& out, ChildEvaluation evaluate) {
    if (node == nullptr) return false;
    if (ConstantOfLeaf(node, out)) return true;
    if (node->item.kind != ekBinaryOperator || node->kind != nkInner || node->left == nullptr || node->right == nullptr)
        return false;
    TENodeConstant l, r;
    return evaluate(node->left, l) && evaluate(node->right, r) && ApplyOperator(node->item.value.code.index, l, r, out);
}

// Evaluation of a node whose children are simplified already: a constant
// child has been folded into a leaf, so only leaves need looking at (this
// keeps simplification linear on deep trees).
bool EvaluateOverFoldedChildren(const TENode* node, TENodeConstant& out) {
    return EvaluateWith(node, out, [](const TENode* child, TENodeConstant& value) {
        return child->kind == nkLeaf && ConstantOfLeaf(child, value);
    });
}

// Replaces *slot by a constant leaf when EvaluateOverFoldedChildren finds one.
void FoldSimplifiedChild(TENode** slot) {
    TENodeConstant value;
    if (*slot == nullptr || (*slot)->kind != nkInner || !EvaluateOverFoldedChildren(*slot, value)) return;
    delete *slot;
    *slot = NewConstantNode(value);
}

bool IsIntegerOrReal(const TENodeConstant& c, int64_t integer, double real) {
    return c.type == ekInteger ? c.integer == integer : c.real == real;
}

// Puts child (detached from the node) in the node's place.
void Promote(TENode** slot, TENode*& child) {
    TENode* kept = child;
    child = nullptr;
    delete *slot;
    *slot = kept;
}

void Replace(TENode** slot, TENode* node) {
    delete *slot;
    *slot = node;
}

// The first neutral-element rule of the operator that holds, if any.
void ApplyRules(TENode** slot, bool powerRules) {
    TENode* node = *slot;
    TENodeConstant vl, vr;
    const bool cl = node->left != nullptr && node->left->kind == nkLeaf && ConstantOfLeaf(node->left, vl);
    const bool cr = node->right != nullptr && node->right->kind == nkLeaf && ConstantOfLeaf(node->right, vr);
    const bool leftZero = cl && IsZeroConstant(vl), rightZero = cr && IsZeroConstant(vr);
    const bool leftOne = cl && IsOneConstant(vl), rightOne = cr && IsOneConstant(vr);
    const int op = node->item.value.code.index;
    if (op == opAdd && leftZero && node->right != nullptr) return Promote(slot, node->right);
    if ((op == opAdd || op == opSubtract) && rightZero) return Promote(slot, node->left);
    if ((op == opMultiply || op == opDivide) && (leftZero || rightZero)) return Replace(slot, NewIntNode(0));
    if (op == opMultiply && leftOne && node->right != nullptr) return Promote(slot, node->right);
    if ((op == opMultiply || op == opDivide) && rightOne) return Promote(slot, node->left);
    if (op != opPower) return;
    if (rightZero) return Replace(slot, NewIntNode(1));
    if (rightOne) return Promote(slot, node->left);
    if (!powerRules || !cr) return;
    if (IsIntegerOrReal(vr, 2, 2.0)) {
        delete node->right;
        node->right = new TENode(*node->left);
        node->item.value.code.index = opMultiply;
    } else if (IsIntegerOrReal(vr, -1, -1.0)) {
        delete node->right;
        node->right = node->left;
        node->left = NewIntNode(1);
        node->item.value.code.index = opDivide;
    }
}

void OptimizeNode(TENode** slot, bool powerRules) {
    TENode* node = *slot;
    if (node == nullptr || node->kind != nkInner) return;
    if (node->left != nullptr) OptimizeNode(&node->left, false);
    if (node->right != nullptr) OptimizeNode(&node->right, false);
    FoldSimplifiedChild(&node->left);
    FoldSimplifiedChild(&node->right);
    if (node->item.kind == ekBinaryOperator) ApplyRules(slot, powerRules);
}

}  // namespace

bool EvaluateConstantNode(const TENode* node, TENodeConstant& out) {
    return EvaluateWith(node, out, [](const TENode* child, TENodeConstant& value) {
        return EvaluateConstantNode(child, value);
    });
}

bool FoldConstantNode(TENode** slot) {
    TENodeConstant value;
    if (slot == nullptr || *slot == nullptr || (*slot)->kind != nkInner || !EvaluateConstantNode(*slot, value))
        return false;
    delete *slot;
    *slot = NewConstantNode(value);
    return true;
}

bool IsZeroConstant(const TENodeConstant& constant) { return IsIntegerOrReal(constant, 0, 0.0); }

bool IsOneConstant(const TENodeConstant& constant) { return IsIntegerOrReal(constant, 1, 1.0); }

void OptimizeExpressionTree(TENode** root, bool powerRules) {
    if (root == nullptr || *root == nullptr) return;
    FoldConstantNode(root);
    OptimizeNode(root, powerRules);
}
