// Expression trees: node copying and release, the node list, postfix to tree and back, node constructors.
#include "ExpressionTree.h"

#include <cstring>
#include <vector>

#include "FunctionTable.h"

namespace {

// dst becomes a copy of src with its own text, nested expression and list.
void CopyItemDeep(EXPRESSION_ITEM& dst, const EXPRESSION_ITEM& src) {
    dst = src;
    if (src.kind == ekOwnedText) {
        dst.value.text.text = new TString(src.value.text.text != nullptr ? *src.value.text.text : TString());
    } else if (src.kind == ekSubExpression) {
        dst.value.expression =
            new EXPRESSION(src.value.expression != nullptr ? DuplicateExpression(*src.value.expression) : EXPRESSION());
    }
    if (src.listCount > 0 && src.list != nullptr) {
        dst.list = new int32_t[static_cast<size_t>(src.listCount)];
        std::memcpy(dst.list, src.list, sizeof(int32_t) * static_cast<size_t>(src.listCount));
    } else {
        dst.listCount = 0;
        dst.list = nullptr;
    }
}

// Frees what an item owns and leaves it as a kind-0 item.
void ReleaseItem(EXPRESSION_ITEM& item) {
    if (item.kind == ekOwnedText) {
        delete item.value.text.text;
    } else if (item.kind == ekSubExpression && item.value.expression != nullptr) {
        FreeExpression(*item.value.expression);
        delete item.value.expression;
    }
    if (item.listCount > 0 && item.list != nullptr) delete[] item.list;
    item = MakeItem(ekNone);
}

void DeleteNodes(std::vector<TENode*>& nodes) {
    for (TENode* node : nodes) delete node;
    nodes.clear();
}

// Operands that an item takes from the tree: 2 for binary operators, the
// table's count for simple functions, 0 for leaves, -1 for an unknown function.
int OperandsOf(const EXPRESSION_ITEM& item) {
    if (item.kind == ekBinaryOperator) return 2;
    if (item.kind != ekSimpleFunction) return 0;
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(item.value.code.index);
    return info != nullptr ? info->operands : -1;
}

// Leaves that push one value and take nothing from the stack.
bool IsSelfContainedLeaf(const EXPRESSION_ITEM& item) {
    switch (item.kind) {
        case ekInteger:
        case ekReal:
        case ekVariable:
        case ekArray:
        case ekArray2:
        case ekOwnedText:
        case ekPoint:
        case ekComplex:
        case ekSubExpression:
            return true;
        case ekBuiltinFunction: {
            const TMultiFunction* function = MultiFunctions()[item.value.code.index];
            return function != nullptr && function->GetCount() == 0;
        }
        default:
            return false;
    }
}

// Whether every node of the tree can be written as postfix on its own.
bool StandsAlone(const TENode* node) {
    if (node == nullptr) return false;
    if (node->kind == nkLeaf) return node->left == nullptr && node->right == nullptr && IsSelfContainedLeaf(node->item);
    if (node->kind != nkInner) return false;
    const int operands = OperandsOf(node->item);
    if (operands < 1) return false;
    if ((node->right != nullptr) != (operands == 2)) return false;
    return StandsAlone(node->left) && (operands == 1 || StandsAlone(node->right));
}

int CountNodes(const TENode* node) {
    if (node == nullptr) return 0;
    if (node->kind != nkInner) return 1;
    return 1 + CountNodes(node->left) + CountNodes(node->right);
}

void WritePostOrder(const TENode* node, EXPRESSION_ITEM* items, int& next) {
    if (node->kind == nkInner) {
        WritePostOrder(node->left, items, next);
        if (node->right != nullptr) WritePostOrder(node->right, items, next);
    }
    CopyItemDeep(items[next++], node->item);
}

TENode* NewLeaf(const EXPRESSION_ITEM& item) {
    TENode* node = new TENode;
    node->kind = nkLeaf;
    node->item = item;
    return node;
}

TENode* NewInnerNode(TExpressionItemType kind, int index) {
    TENode* node = new TENode;
    node->kind = nkInner;
    node->item = MakeItem(kind);
    node->item.value.code.index = index;
    return node;
}

}  // namespace

TENode::TENode() : item(MakeItem(ekNone)) {}

TENode::TENode(const TENode& other) : TContainerItem(other), item(MakeItem(ekNone)) { AssignNode(other); }

TENode& TENode::operator=(const TENode& other) {
    AssignNode(other);
    return *this;
}

TENode::~TENode() { Release(); }

// Children are released through a work list instead of recursion, so that
// deleting a very deep tree (a long sum) cannot exhaust the stack.
void TENode::Release() {
    std::vector<TENode*> pending;
    const auto detach = [&pending](TENode& node) {
        if (node.left != nullptr) pending.push_back(node.left);
        if (node.right != nullptr) pending.push_back(node.right);
        node.left = nullptr;
        node.right = nullptr;
    };
    detach(*this);
    while (!pending.empty()) {
        TENode* node = pending.back();
        pending.pop_back();
        detach(*node);
        delete node;
    }
    ReleaseItem(item);
    kind = nkEmpty;
}

void TENode::AssignNode(const TENode& other) {
    if (&other == this) return;
    // Copy first: other may be a descendant of this node.
    TENode* newLeft = other.kind == nkInner && other.left != nullptr ? new TENode(*other.left) : nullptr;
    TENode* newRight = other.kind == nkInner && other.right != nullptr ? new TENode(*other.right) : nullptr;
    EXPRESSION_ITEM newItem;
    CopyItemDeep(newItem, other.item);
    const int newKind = other.kind;
    Release();
    kind = newKind;
    left = newLeft;
    right = newRight;
    item = newItem;
}

void TENode::Assign(const TContainerItem& source) {
    if (const TENode* other = dynamic_cast<const TENode*>(&source)) AssignNode(*other);
}

TENodeList::TENodeList() { TENodeList::Init(); }

TENodeList::TENodeList(const TENodeList& other) : TContainer() {
    TENodeList::Init();
    Assign(other);
}

TENodeList::~TENodeList() { DeleteAll(GetOwnsItems()); }

void TENodeList::Init() { SetObjectMode(); }

void* TENodeList::CreateItem(int) { return new TENode; }

TENode* TENodeList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TENode*>(GetItem(i)) : nullptr;
}

TENode* TENodeList::NewItem() { return static_cast<TENode*>(AddNew()); }

TENode* TENodeList::First() const { return (*this)[0]; }

TENode* TENodeList::Mid() const { return GetCount() > 0 ? (*this)[GetCount() / 2] : nullptr; }

TENode* TENodeList::Last() const { return (*this)[GetCount() - 1]; }

TENodeList& TENodeList::operator=(const TENodeList& other) {
    Assign(other);
    return *this;
}

TENodeList& TENodeList::operator+=(const TENode& node) {
    Add(new TENode(node));
    return *this;
}

TENode* CreateExpressionTree(const EXPRESSION& expression) {
    if (expression.count < 1 || expression.items == nullptr) return nullptr;
    std::vector<TENode*> stack;
    for (int i = 0; i < expression.count; ++i) {
        const EXPRESSION_ITEM& source = expression.items[i];
        const int operands = OperandsOf(source);
        if (operands < 0 || static_cast<int>(stack.size()) < operands) {
            DeleteNodes(stack);
            return nullptr;
        }
        TENode* node = new TENode;
        CopyItemDeep(node->item, source);
        node->kind = operands > 0 ? nkInner : nkLeaf;
        if (operands == 2) {
            node->right = stack.back();
            stack.pop_back();
        }
        if (operands >= 1) {
            node->left = stack.back();
            stack.pop_back();
        }
        if (i == expression.count - 1) {
            DeleteNodes(stack);
            return node;
        }
        stack.push_back(node);
    }
    DeleteNodes(stack);
    return nullptr;
}

EXPRESSION CreatePostfixExpression(const TENode* root) {
    EXPRESSION result;
    if (!StandsAlone(root)) return result;
    const int count = CountNodes(root);
    result.items = new EXPRESSION_ITEM[static_cast<size_t>(count) + 1];
    result.items[count] = MakeItem(ekNone);
    int next = 0;
    WritePostOrder(root, result.items, next);
    result.count = count;
    return result;
}

TENode* NewOperatorNode(int index) { return NewInnerNode(ekBinaryOperator, index); }

TENode* NewFunctionNode(int index) { return NewInnerNode(ekSimpleFunction, index); }

TENode* NewConstantNode(const TENodeConstant& constant) {
    return constant.type == ekInteger ? NewInt64Node(constant.integer) : NewDoubleNode(constant.real);
}

TENode* NewIntNode(int value) { return NewInt64Node(value); }

TENode* NewInt64Node(int64_t value) { return NewLeaf(MakeIntegerItem(value)); }

TENode* NewDoubleNode(double value) { return NewLeaf(MakeRealItem(value)); }

bool IsOperatorNode(const TENode* node, int index) {
    return node != nullptr && node->item.kind == ekBinaryOperator && node->item.value.code.index == index;
}

bool IsFunctionNode(const TENode* node, int index) {
    return node != nullptr && node->item.kind == ekSimpleFunction && node->item.value.code.index == index;
}
