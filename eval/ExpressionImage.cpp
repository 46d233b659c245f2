// Formula typesetting: walks an expression tree bottom-up and composes each node's image from its operands'.
#include "ExpressionImage.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BinaryOperators.h"
#include "CHRTableCache.h"
#include "ExpressionImageCanvas.h"
#include "ExpressionImageLayout.h"
#include "ExpressionModel.h"

namespace {

bool IsBinaryOperator(const TENode* node) { return node != nullptr && node->item.kind == ekBinaryOperator; }

bool IsOperatorText(int op, const char* text) { return GetOperatorString(op).str() == text; }

bool IsFunctionText(const TENode* node, const char* text) {
    return node->item.kind == ekSimpleFunction && GetFunctionString(node->item.value.code.index).str() == text;
}

// Whether an operand of op needs parentheses to keep the tree's grouping: it
// binds less tightly, or as tightly on the side op does not group toward
// (a-(b-c), (x^y)^z).
bool NeedsParentheses(int op, const TENode* child, bool isRight) {
    if (!IsBinaryOperator(child)) {
        return false;
    }
    const int level = GetOperatorLevel(op), childLevel = GetOperatorLevel(child->item.value.code.index);
    const TOperatorInfo* info = GetOperatorInfo(op);
    const bool groupsRight = info != nullptr && info->right;
    return childLevel < level || (childLevel == level && isRight != groupsRight);
}

// "%f" of a double, whatever its size.
std::string FixedText(double value) {
    const int length = std::snprintf(nullptr, 0, "%f", value);
    std::vector<char> text(size_t(length > 0 ? length : 0) + 1);
    std::snprintf(text.data(), text.size(), "%f", value);
    return std::string(text.data());
}

// One typesetting call: the variable list and the tables read so far.
class TFormulaTypesetter {
public:
    TFormulaTypesetter(const TVariableList& vars, TCHRTableCache& cache) : vars_(vars), cache_(cache) {}

    void Render(const TENode* node, TImageBuffer& out, const TExpressionImageProps& props);

private:
    void RenderOperands(const TENode* node, TImageBuffer& left, TImageBuffer& right,
                        const TExpressionImageProps& props);
    void RenderOperator(const TENode* node, TImageBuffer& left, TImageBuffer& right, TImageBuffer& out,
                        const TExpressionImageProps& props);
    void CreateFunctionPowerImage(const TENode* node, TImageBuffer& out, const TExpressionImageProps& props);
    std::string VariableName(const EXPRESSION_ITEM& item) const;

    const TVariableList& vars_;
    TCHRTableCache& cache_;
};

void TFormulaTypesetter::Render(const TENode* node, TImageBuffer& out, const TExpressionImageProps& props) {
    if (node == nullptr) {
        return;
    }
    const EXPRESSION_ITEM& item = node->item;
    // f(x)^e sets the exponent on the function name; its operands are drawn there.
    if (IsBinaryOperator(node) && item.value.code.index == opPower && node->left != nullptr &&
        node->left->item.kind == ekSimpleFunction) {
        CreateFunctionPowerImage(node, out, props);
        return;
    }
    TImageBuffer left, right;
    if (node->kind == nkInner) {
        RenderOperands(node, left, right, props);
    }
    switch (item.kind) {
        case ekInteger: CreateTextImage(std::to_string(item.value.integer).c_str(), out, props, cache_); break;
        case ekReal: CreateTextImage(FixedText(item.value.real).c_str(), out, props, cache_); break;
        case ekVariable: CreateTextImage(VariableName(item).c_str(), out, props, cache_); break;
        case ekBinaryOperator: RenderOperator(node, left, right, out, props); break;
        case ekSimpleFunction: CreateFunctionImage(item.value.code.index, out, left, right, props, cache_); break;
        default: break;
    }
}

// The first operand at the node's size; the second smaller when it is the
// exponent of "^" or the degree of "root".
void TFormulaTypesetter::RenderOperands(const TENode* node, TImageBuffer& left, TImageBuffer& right,
                                        const TExpressionImageProps& props) {
    Render(node->left, left, props);
    if (node->right == nullptr) {
        return;
    }
    TExpressionImageProps operandProps = props;
    if (IsBinaryOperator(node) && IsOperatorText(node->item.value.code.index, "^")) {
        operandProps.FontSize = ScaledSize(props.FontSize, props.ExpCharRatio);
    } else if (IsFunctionText(node, "root")) {
        operandProps.FontSize = ScaledSize(props.FontSize, props.RootCharRatio);
    }
    Render(node->right, right, operandProps);
}

void TFormulaTypesetter::RenderOperator(const TENode* node, TImageBuffer& left, TImageBuffer& right,
                                        TImageBuffer& out, const TExpressionImageProps& props) {
    const int op = node->item.value.code.index;
    // A fraction stacks its operands and an exponent is raised: neither needs
    // parentheses on that side.
    const bool fraction = IsOperatorText(op, "/");
    if (!fraction && NeedsParentheses(op, node->left, false)) {
        AddParentheses(left, props);
    }
    if (!fraction && !IsOperatorText(op, "^") && NeedsParentheses(op, node->right, true)) {
        AddParentheses(right, props);
    }
    CreateBinaryImage(op, out, left, right, props, cache_);
}

void TFormulaTypesetter::CreateFunctionPowerImage(const TENode* node, TImageBuffer& out,
                                                   const TExpressionImageProps& props) {
    const TENode* function = node->left;
    TImageBuffer name, first, second, arguments, exponent, head;
    CreateTextImage(GetFunctionString(function->item.value.code.index).c_str(), name, props, cache_);
    Render(function->left, first, props);
    Render(function->right, second, props);
    CreateArgumentsImage(arguments, first, second, props, cache_);
    Render(node->right, exponent, props);
    CreateExponentImage(head, name, exponent, props);
    JoinSideBySide(out, {&head, &arguments}, props.BkColor);
}

// V_Index's rule computed wide: a tree made from a damaged stored expression
// may carry any reference, and it must not overflow.
std::string TFormulaTypesetter::VariableName(const EXPRESSION_ITEM& item) const {
    const TVariableValue& reference = item.value.variable;
    const int64_t position = reference.absolute ? int64_t{vars_.GetBase()} + reference.reference
                                                : int64_t{vars_.GetCount()} - 1 - reference.reference;
    const TVariable* variable = position >= 0 && position < vars_.GetCount() ? vars_[int(position)] : nullptr;
    return variable != nullptr ? variable->name.str() : std::string();
}

}  // namespace

void CreateNodeImage(const TVariableList& vars, const TENode* node, TImageBuffer& out,
                     const TExpressionImageProps& props) {
    TCHRTableCache cache;
    TFormulaTypesetter(vars, cache).Render(node, out, props);
}
