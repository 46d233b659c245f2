// Symbolic derivation: which trees can be derived, the derivative rule by rule, and the derive built-in.
#include "Derivation.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "BinaryOperators.h"
#include "OperatorSupport.h"
#include "TreeOutput.h"
#include "TreeSimplification.h"

namespace {

// Simple-function indices of the rules. ORDER FN: as in the function table.
enum TFunctionIndex {
    fnSin = 0, fnCos = 1, fnTan = 2, fnPow = 3, fnAbs = 4, fnLn = 5, fnLog2 = 6, fnLog10 = 7, fnLogn = 8,
    fnSqr = 11, fnSqrt = 12, fnExp = 13, fnSgn = 17, fnRoot = 23, fnAsin = 24, fnAcos = 25, fnAtan = 26,
};

constexpr int kDeriveBuiltinPosition = 77;

// Limits of the derive built-in: the rules recurse once per level and copy
// operands, so a very deep or very large input could exhaust the stack or
// memory; such inputs give the empty text.
constexpr int kMaxDeriveDepth = 1000;
constexpr int64_t kMaxDerivedNodes = 1000000;

// Leaf items that take operands from the stack: their tree lost those operands.
bool ConsumesOperands(TExpressionItemType kind) {
    switch (kind) {
        case ekNone:
        case ekBinaryOperator:
        case ekUnaryOperator:
        case ekSimpleFunction:
        case ekFieldSelector:
        case ekBuiltinFunction:
        case ekListFunction:
        case ekElement:
        case ekElement2:
        case ekExternalFunction:
        case ekCustomFunction:
        case ekCustomOperator:
        case ekError:
            return true;
        default:
            return false;
    }
}

bool IsDerivableFunction(int index) {
    return (index >= fnSin && index <= fnLogn) || (index >= fnSqr && index <= fnExp) ||
           (index >= fnRoot && index <= fnAtan);
}

// The operands an inner node must have: 2 for an operator, the table's count
// for a function.
int OperandsOf(const TENode* node) {
    if (node->item.kind == ekBinaryOperator) return 2;
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(node->item.value.code.index);
    return info != nullptr ? info->operands : 0;
}

bool IsAcceptableNode(const TENode* node) {
    if (node->kind == nkLeaf) return !ConsumesOperands(node->item.kind);
    if (node->kind != nkInner || node->left == nullptr || (node->right != nullptr) != (OperandsOf(node) == 2))
        return false;
    const int index = node->item.value.code.index;
    if (node->item.kind == ekBinaryOperator) return index >= opAdd && index <= opPower;
    return node->item.kind == ekSimpleFunction && IsDerivableFunction(index);
}

TENode* Copy(const TENode* node) { return node != nullptr ? new TENode(*node) : nullptr; }

// op(a, b) and f(a) / f(a, b), taking ownership of the children.
TENode* Operator(int index, TENode* left, TENode* right) {
    TENode* node = NewOperatorNode(index);
    node->left = left;
    node->right = right;
    return node;
}
TENode* Function(int index, TENode* left, TENode* right = nullptr) {
    TENode* node = NewFunctionNode(index);
    node->left = left;
    node->right = right;
    return node;
}
TENode* Add(TENode* a, TENode* b) { return Operator(opAdd, a, b); }
TENode* Subtract(TENode* a, TENode* b) { return Operator(opSubtract, a, b); }
TENode* Multiply(TENode* a, TENode* b) { return Operator(opMultiply, a, b); }
TENode* Divide(TENode* a, TENode* b) { return Operator(opDivide, a, b); }
TENode* Power(TENode* a, TENode* b) { return Operator(opPower, a, b); }

double AsReal(const TENodeConstant& c) { return c.type == ekInteger ? static_cast<double>(c.integer) : c.real; }

// 1 - u'^2, under the square root of asin and acos.
TENode* OneMinusSquare(const TENode* u) { return Subtract(NewIntNode(1), Power(Copy(u), NewIntNode(2))); }

class TDerivation {
public:
    TDerivation(TVariableList& list, int variable) : list(list), variable(variable) {}
    TENode* Derive(const TENode* node);

private:
    bool IsDerivationVariable(const TENode* node) const;
    TENode* DeriveOperator(const TENode* node);
    TENode* DeriveFunction(const TENode* node);
    TENode* QuotientRule(const TENode* u, const TENode* v);
    TENode* PowerRule(const TENode* a, const TENode* b);
    TENode* Root(const TENode* node);
    TENode* LogToBase(const TENode* node);
    // The derivative of a helper tree that this call builds and frees.
    TENode* DeriveBuilt(TENode* built);

    TVariableList& list;
    int variable;
};

bool TDerivation::IsDerivationVariable(const TENode* node) const {
    const TVariableValue& v = node->item.value.variable;
    return node->item.kind == ekVariable && list.V_Index(v.reference, v.absolute) == variable;
}

TENode* TDerivation::Derive(const TENode* node) {
    if (node == nullptr) return new TENode;
    switch (node->item.kind) {
        case ekInteger:
        case ekReal: return NewIntNode(0);
        case ekVariable: return NewIntNode(IsDerivationVariable(node) ? 1 : 0);
        case ekBinaryOperator: return DeriveOperator(node);
        case ekSimpleFunction: return DeriveFunction(node);
        default: return new TENode;
    }
}

TENode* TDerivation::DeriveBuilt(TENode* built) {
    TENode* result = Derive(built);
    delete built;
    return result;
}

TENode* TDerivation::DeriveOperator(const TENode* node) {
    const TENode* u = node->left;
    const TENode* v = node->right;
    switch (node->item.value.code.index) {
        case opAdd:
        case opSubtract: return Operator(node->item.value.code.index, Derive(u), Derive(v));
        case opMultiply: return Add(Multiply(Derive(u), Copy(v)), Multiply(Copy(u), Derive(v)));
        case opDivide: return QuotientRule(u, v);
        case opPower: return PowerRule(u, v);
        default: return nullptr;
    }
}

// (du*v - u*dv) / (v*v). A constant v is written as a double leaf: its copies
// would otherwise fold into an integer quotient, and d(x/4) would be 1*4/16 = 0.
TENode* TDerivation::QuotientRule(const TENode* u, const TENode* v) {
    TENodeConstant c;
    const bool constant = EvaluateConstantNode(v, c);
    auto copyOfV = [&]() { return constant ? NewDoubleNode(AsReal(c)) : Copy(v); };
    return Divide(Subtract(Multiply(Derive(u), copyOfV()), Multiply(Copy(u), Derive(v))), Multiply(copyOfV(), copyOfV()));
}

TENode* TDerivation::PowerRule(const TENode* a, const TENode* b) {
    TENodeConstant c;
    if (EvaluateConstantNode(b, c)) {
        TENodeConstant lowered = c;
        if (c.type == ekInteger)
            lowered.integer = WrappingSubtract(c.integer, 1);
        else
            lowered.real = c.real - 1.0;
        return Multiply(Multiply(NewConstantNode(c), Power(Copy(a), NewConstantNode(lowered))), Derive(a));
    }
    if (EvaluateConstantNode(a, c)) {
        const double k = std::log(AsReal(c));
        if (b->kind == nkLeaf && IsDerivationVariable(b))
            return Multiply(Power(NewConstantNode(c), Copy(b)), NewDoubleNode(k));
        return Multiply(Multiply(Power(Copy(a), Copy(b)), NewDoubleNode(k)), Derive(b));
    }
    return Multiply(Power(Copy(a), Copy(b)),
                    Add(Multiply(Derive(b), Function(fnLn, Copy(a))), Multiply(Divide(Copy(b), Copy(a)), Derive(a))));
}

// root(u, n) = u^(1/n): with a constant n the power rule on double constants,
// otherwise the derivative of exp(ln(u)/n). root(u, 0) is the constant -1.
TENode* TDerivation::Root(const TENode* node) {
    const TENode* u = node->left;
    const TENode* n = node->right;
    TENodeConstant c;
    if (!EvaluateConstantNode(n, c)) return DeriveBuilt(Function(fnExp, Divide(Function(fnLn, Copy(u)), Copy(n))));
    if (AsReal(c) == 0.0) return NewIntNode(0);
    const double reciprocal = 1.0 / AsReal(c);
    return Multiply(Multiply(NewDoubleNode(reciprocal), Power(Copy(u), NewDoubleNode(reciprocal - 1.0))), Derive(u));
}

// logn(b, u) = ln u / ln b: with a constant base du / (u * ln b), otherwise
// the quotient rule.
TENode* TDerivation::LogToBase(const TENode* node) {
    const TENode* base = node->left;
    const TENode* u = node->right;
    TENodeConstant c;
    if (!EvaluateConstantNode(base, c)) return DeriveBuilt(Divide(Function(fnLn, Copy(u)), Function(fnLn, Copy(base))));
    return Divide(Derive(u), Multiply(Copy(u), Function(fnLn, Copy(base))));
}

// The outer derivative f'(u) of the chain rule f(u)' = f'(u) * du.
typedef TENode* (*TOuterRule)(const TENode* node, const TENode* u);

double InverseLn2() {
    static const double k2 = 1.0 / std::log(2.0);
    return k2;
}
double InverseLn10() {
    static const double k10 = 1.0 / std::log(10.0);
    return k10;
}

struct TChainRow {
    int function;
    TOuterRule outer;
};

// Functions whose derivative is f'(u) * du, looked up by function index.
const TChainRow kChainRows[] = {
    {fnSin, [](const TENode*, const TENode* u) { return Function(fnCos, Copy(u)); }},
    {fnCos, [](const TENode*, const TENode* u) { return Multiply(NewIntNode(-1), Function(fnSin, Copy(u))); }},
    {fnTan, [](const TENode*, const TENode* u) { return Add(NewIntNode(1), Power(Function(fnTan, Copy(u)), NewIntNode(2))); }},
    {fnLn, [](const TENode*, const TENode* u) { return Divide(NewDoubleNode(1.0), Copy(u)); }},
    {fnLog2, [](const TENode*, const TENode* u) { return Divide(NewDoubleNode(InverseLn2()), Copy(u)); }},
    {fnLog10, [](const TENode*, const TENode* u) { return Divide(NewDoubleNode(InverseLn10()), Copy(u)); }},
    {fnSqr, [](const TENode*, const TENode* u) { return Multiply(Copy(u), NewIntNode(2)); }},
    {fnSqrt, [](const TENode*, const TENode* u) { return Multiply(NewDoubleNode(0.5), Power(Copy(u), NewDoubleNode(-0.5))); }},
    {fnExp, [](const TENode* node, const TENode*) { return Copy(node); }},
    {fnAbs, [](const TENode*, const TENode* u) { return Function(fnSgn, Copy(u)); }},
};

TENode* TDerivation::DeriveFunction(const TENode* node) {
    const int index = node->item.value.code.index;
    const TENode* u = node->left;
    for (const TChainRow& row : kChainRows)
        if (row.function == index) return Multiply(row.outer(node, u), Derive(u));
    switch (index) {
        case fnPow: return PowerRule(u, node->right);
        case fnRoot: return Root(node);
        case fnLogn: return LogToBase(node);
        case fnAsin: return Divide(Derive(u), Function(fnSqrt, OneMinusSquare(u)));
        case fnAcos: return Multiply(NewIntNode(-1), Divide(Derive(u), Function(fnSqrt, OneMinusSquare(u))));
        case fnAtan: return Divide(Derive(u), Add(NewIntNode(1), Power(Copy(u), NewIntNode(2))));
        default: return nullptr;
    }
}

// Whether the tree has more than limit levels; without recursion.
bool DeeperThan(const TENode* root, int limit) {
    std::vector<std::pair<const TENode*, int>> pending{{root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        if (depth > limit) return true;
        pending.push_back({node->left, depth + 1});
        pending.push_back({node->right, depth + 1});
    }
    return false;
}

// Nodes of the subtree; adds to copies a bound of the nodes its derivative
// copies from it (products and quotients copy their operands, powers and
// functions up to three times).
int64_t CountCopies(const TENode* node, int64_t& copies) {
    if (node == nullptr) return 0;
    const int64_t left = CountCopies(node->left, copies), right = CountCopies(node->right, copies);
    const bool sum = IsOperatorNode(node, opAdd) || IsOperatorNode(node, opSubtract);
    if (node->kind == nkInner && !sum) copies += 3 * (left + right);
    return 1 + left + right;
}

bool TooLargeToDerive(const TENode* tree) {
    if (DeeperThan(tree, kMaxDeriveDepth)) return true;
    int64_t copies = 0;
    return CountCopies(tree, copies) + copies > kMaxDerivedNodes;
}

bool HoldsEmptyNode(const TENode* node) {
    if (node == nullptr || node->kind == nkEmpty) return true;
    if (node->kind != nkInner) return false;
    return HoldsEmptyNode(node->left) || (node->right != nullptr && HoldsEmptyNode(node->right));
}

// derive(e, v): the simplified derivative as infix text; empty when e's tree
// cannot be derived or its derivative holds a part without a value.
void DeriveBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const EXPRESSION_ITEM& expression = call.Item(0);
    const EXPRESSION_ITEM& target = call.Item(1);
    if (expression.kind != ekSubExpression || expression.value.expression == nullptr || target.kind != ekVariable)
        return;
    const int position = call.vars.V_Index(target.value.variable.reference, target.value.variable.absolute);
    TENode* tree = CreateExpressionTree(*expression.value.expression);
    if (tree != nullptr && !TooLargeToDerive(tree) && IsDerivable(tree)) {
        TENode* derivative = DeriveExpressionTree(call.vars, tree, position);
        OptimizeExpressionTree(&derivative, false);
        if (!HoldsEmptyNode(derivative)) ResultText(result) = CreateInfixExpression(call.vars, derivative);
        delete derivative;
    }
    delete tree;
}

const TBuiltinBodyRow kDeriveRows[] = {{kDeriveBuiltinPosition, DeriveBody}};

}  // namespace

bool IsDerivable(const TENode* node) {
    if (node == nullptr || !IsAcceptableNode(node)) return false;
    if (node->kind != nkInner) return true;
    return IsDerivable(node->left) && (node->right == nullptr || IsDerivable(node->right));
}

TENode* DeriveExpressionTree(TVariableList& list, const TENode* node, int variable) {
    return TDerivation(list, variable).Derive(node);
}

TBuiltinBodyRows DeriveBuiltinBodies() { return RowsOf(kDeriveRows); }
