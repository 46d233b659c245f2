// Tree output: infix text and MathML content markup.
#include "TreeOutput.h"

#include <cfloat>
#include <cmath>
#include <string>


namespace {

// Function indices with output rules of their own.
constexpr int kLog2Function = 6;
constexpr int kLog10Function = 7;
constexpr int kLognFunction = 8;

const char* const kIndentUnit = "  ";

TString NumberText(const EXPRESSION_ITEM& item) {
    return item.kind == ekInteger ? TString(item.value.integer) : TString(item.value.real);
}

// A double as the compiler reads it back: finite, with a decimal point.
TString InfixRealText(double value) {
    if (std::isnan(value)) value = 0.0;
    if (std::isinf(value)) value = value < 0 ? -DBL_MAX : DBL_MAX;
    TString text(value);
    if (text.str().find('.') == std::string::npos) text = text.str() + ".0";
    return text;
}

// The variable a variable item designates, or null.
const TVariable* ResolveVariable(TVariableList& list, const EXPRESSION_ITEM& item) {
    return list[list.V_Index(item.value.variable.reference, item.value.variable.absolute)];
}

bool IsBinaryNode(const TENode* node) { return node != nullptr && node->kind == nkInner && node->item.kind == ekBinaryOperator; }

// Whether a child of a binary-operator parent needs parentheses.
bool NeedsParentheses(const TENode* parent, const TENode* child, bool isRight) {
    if (!IsBinaryNode(child)) return false;
    const int parentOp = parent->item.value.code.index, childOp = child->item.value.code.index;
    const int parentLevel = GetOperatorLevel(parentOp), childLevel = GetOperatorLevel(childOp);
    const TOperatorInfo* info = GetOperatorInfo(parentOp);
    const bool groupsRight = info != nullptr && info->right;
    if (childLevel < parentLevel) return true;
    if (childOp == parentOp && groupsRight) return true;
    // Equal levels group toward one side; the other side needs parentheses.
    return childLevel == parentLevel && isRight != groupsRight;
}

std::string Infix(TVariableList& list, const TENode* node);

std::string Operand(TVariableList& list, const TENode* parent, const TENode* child, bool isRight) {
    if (child == nullptr) return std::string();
    const std::string text = Infix(list, child);
    return NeedsParentheses(parent, child, isRight) ? "(" + text + ")" : text;
}

std::string Infix(TVariableList& list, const TENode* node) {
    if (node == nullptr) return std::string();
    const EXPRESSION_ITEM& item = node->item;
    switch (item.kind) {
        case ekInteger: return TString(item.value.integer).str();
        case ekReal: return InfixRealText(item.value.real).str();
        case ekVariable: {
            const TVariable* variable = ResolveVariable(list, item);
            return variable != nullptr ? variable->name.str() : std::string();
        }
        case ekBinaryOperator:
            return Operand(list, node, node->left, false) + GetOperatorName(item.value.code.index) +
                   Operand(list, node, node->right, true);
        case ekSimpleFunction: {
            const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(item.value.code.index);
            if (info == nullptr) return std::string();
            std::string text = std::string(info->name) + "(" + Infix(list, node->left);
            if (info->operands == 2) text += "," + Infix(list, node->right);
            return text + ")";
        }
        default: return std::string();
    }
}

// Writes MathML lines at one depth; false on a part without a MathML form.
class TMathMLWriter {
public:
    explicit TMathMLWriter(TVariableList& list) : list(list) {}
    bool Write(const TENode* node, int depth, TStringContainer& lines);

private:
    bool WriteOperator(const TENode* node, int depth, TStringContainer& lines);
    bool WriteFunction(const TENode* node, int depth, TStringContainer& lines);
    static TString Indent(int depth);
    static void Append(TStringContainer& lines, const TStringContainer& part);

    TVariableList& list;
};

TString TMathMLWriter::Indent(int depth) {
    std::string text;
    for (int k = 0; k < depth; ++k) text += kIndentUnit;
    return TString(text);
}

void TMathMLWriter::Append(TStringContainer& lines, const TStringContainer& part) {
    for (int k = 0; k < part.GetCount(); ++k) lines.Add(part[k]);
}

bool TMathMLWriter::Write(const TENode* node, int depth, TStringContainer& lines) {
    if (node == nullptr) return true;
    const std::string ind = Indent(depth).str();
    const EXPRESSION_ITEM& item = node->item;
    switch (item.kind) {
        case ekInteger:
            lines.Add(TString(ind + "<cn type=\"integer\">" + NumberText(item).str() + "</cn>"));
            return true;
        case ekReal:
            lines.Add(TString(ind + "<cn type=\"real\">" + NumberText(item).str() + "</cn>"));
            return true;
        case ekComplex:
            lines.Add(TString(ind + "<cn type=\"complex-cartesian\">" + TString(item.value.complex.re).str() + "<sep/>" +
                              TString(item.value.complex.im).str() + "</cn>"));
            return true;
        case ekVariable: {
            const TVariable* variable = ResolveVariable(list, item);
            if (variable == nullptr || (variable->type != vtInt && variable->type != vtDouble)) return false;
            lines.Add(TString(ind + "<ci>" + variable->name.str() + "</ci>"));
            return true;
        }
        case ekBinaryOperator: return WriteOperator(node, depth, lines);
        case ekSimpleFunction: return WriteFunction(node, depth, lines);
        default: return true;
    }
}

bool TMathMLWriter::WriteOperator(const TENode* node, int depth, TStringContainer& lines) {
    const TOperatorInfo* info = GetOperatorInfo(node->item.value.code.index);
    const bool twoOperands = info == nullptr || info->operands == 2;
    TStringContainer first, second;
    if (!Write(node->left, depth + 1, first)) return false;
    if (twoOperands && !Write(node->right, depth + 1, second)) return false;
    if (info == nullptr || info->mathML == nullptr) return false;
    const std::string ind = Indent(depth).str();
    lines.Add(TString(ind + "<apply>"));
    lines.Add(TString(ind + kIndentUnit + info->mathML));
    Append(lines, first);
    if (twoOperands) Append(lines, second);
    lines.Add(TString(ind + "</apply>"));
    return true;
}

bool TMathMLWriter::WriteFunction(const TENode* node, int depth, TStringContainer& lines) {
    const int index = node->item.value.code.index;
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(index);
    const bool twoOperands = info != nullptr && info->operands == 2;
    TStringContainer first, second;
    if (!Write(node->left, depth + 2, first)) return false;
    if (twoOperands && !Write(node->right, depth + 2, second)) return false;
    const std::string ind = Indent(depth).str(), inner = ind + kIndentUnit;
    if (index == kLog2Function || index == kLog10Function) {
        lines.Add(TString(ind + "<apply>"));
        lines.Add(TString(inner + "<log/>"));
        lines.Add(TString(inner + "<logbase>"));
        lines.Add(TString(inner + kIndentUnit + (index == kLog2Function ? "2" : "10")));
        lines.Add(TString(inner + "</logbase>"));
        Append(lines, first);
        lines.Add(TString(ind + "</apply>"));
        return true;
    }
    if (info == nullptr || info->mathML == nullptr) return false;
    lines.Add(TString(ind + "<apply>"));
    lines.Add(TString(inner + info->mathML));
    if (index == kLognFunction) {
        lines.Add(TString(inner + "<logbase>"));
        Append(lines, first);
        lines.Add(TString(inner + "</logbase>"));
        Append(lines, second);
    } else {
        Append(lines, first);
        if (twoOperands) Append(lines, second);
    }
    lines.Add(TString(ind + "</apply>"));
    return true;
}

}  // namespace

TString CreateInfixExpression(TVariableList& list, const TENode* node) { return TString(Infix(list, node)); }

int CreateMathMLExpression(TVariableList& list, const TENode* node, TStringContainer& lines) {
    TStringContainer written;
    if (!TMathMLWriter(list).Write(node, 0, written)) {
        lines.Clear();
        return -1;
    }
    for (int k = 0; k < written.GetCount(); ++k) lines.Add(written[k]);
    return 0;
}
