// The compiled expression model: freeing and copying expressions, the operator and simple-function tables, the compiler's item list.
#include "ExpressionModel.h"

#include <cstring>

namespace {

// ORDER OP: a row's position is the operator index stored in compiled expressions.
const TOperatorInfo kOperators[kOperatorCount] = {
    {"+", "<plus/>", 25, 2, false},   {"-", "<minus/>", 25, 2, false}, {"*", "<times/>", 30, 2, false},
    {"/", "<divide/>", 30, 2, false}, {"^", "<power/>", 50, 2, true},  {"!", "<not/>", 0, 1, false},
    {"~", nullptr, 0, 1, false},      {"$", nullptr, 0, 1, false},     {"=", nullptr, 1, 2, true},
    {"+=", nullptr, 1, 2, true},      {"-=", nullptr, 1, 2, true},     {"*=", nullptr, 1, 2, true},
    {"/=", nullptr, 1, 2, true},      {"==", "<eq/>", 10, 2, false},   {"<", "<lt/>", 15, 2, false},
    {">", "<gt/>", 15, 2, false},     {"<=", "<leq/>", 15, 2, false},  {">=", "<geq/>", 15, 2, false},
    {"!=", "<neq/>", 10, 2, false},   {"<>", "<neq/>", 10, 2, false},  {"||", "<or/>", 5, 2, false},
    {"&&", "<and/>", 5, 2, false},    {"|", nullptr, 9, 2, false},     {"&", nullptr, 10, 2, false},
    {"%", "<rem/>", 30, 2, false},    {">>", nullptr, 20, 2, false},   {"<<", nullptr, 20, 2, false},
    {"#", nullptr, 0, 1, false},      {"#.#", nullptr, 0, 1, false},   {"[]=", nullptr, 10, 2, false},
    {"[]!=", nullptr, 10, 2, false},  {"|=", nullptr, 1, 2, true},     {"&=", nullptr, 1, 2, true},
    {"^=", nullptr, 1, 2, true},
};

// ORDER FN: a row's position is the function index stored in compiled expressions.
const TSimpleFunctionInfo kSimpleFunctions[kSimpleFunctionCount] = {
    {"sin", 1, "<sin/>"},   {"cos", 1, "<cos/>"}, {"tan", 1, "<tan/>"},  {"pow", 2, "<power/>"},
    {"abs", 1, "<abs/>"},   {"ln", 1, "<ln/>"},   {"log2", 1, nullptr},  {"log10", 1, nullptr},
    {"logn", 2, "<log/>"},  {"neg", 1, nullptr},  {"not", 1, nullptr},   {"sqr", 1, nullptr},
    {"sqrt", 1, nullptr},   {"exp", 1, nullptr},  {"floor", 1, nullptr}, {"ceil", 1, nullptr},
    {"round", 1, nullptr},  {"sgn", 1, nullptr},  {"rnd", 1, nullptr},   {"deg", 1, nullptr},
    {"rad", 1, nullptr},    {"to_deg", 2, nullptr}, {"frac", 1, nullptr}, {"root", 2, nullptr},
    {"asin", 1, nullptr},   {"acos", 1, nullptr}, {"atan", 1, nullptr},  {"sinh", 1, nullptr},
    {"cosh", 1, nullptr},   {"tanh", 1, nullptr}, {"atan2", 2, nullptr},
};

// Gives item its own copies of what it points to (text, nested expression, list).
void DeepenCopy(EXPRESSION_ITEM& item) {
    if (item.kind == ekOwnedText) {
        item.value.text.text = new TString(item.value.text.text != nullptr ? *item.value.text.text : TString());
    } else if (item.kind == ekSubExpression) {
        const EXPRESSION* nested = item.value.expression;
        item.value.expression = new EXPRESSION(nested != nullptr ? DuplicateExpression(*nested) : EXPRESSION());
    }
    if (item.listCount > 0 && item.list != nullptr) {
        int32_t* copy = new int32_t[static_cast<size_t>(item.listCount)];
        std::memcpy(copy, item.list, sizeof(int32_t) * static_cast<size_t>(item.listCount));
        item.list = copy;
    } else {
        item.listCount = 0;
        item.list = nullptr;
    }
}

}  // namespace

void FreeExpression(EXPRESSION& e) {
    for (int i = 0; i < e.count; ++i) {
        EXPRESSION_ITEM& item = e.items[i];
        if (item.kind == ekOwnedText) {
            delete item.value.text.text;
        } else if (item.kind == ekSubExpression && item.value.expression != nullptr) {
            FreeExpression(*item.value.expression);
            delete item.value.expression;
        }
        if (item.listCount != 0 && item.list != nullptr) delete[] item.list;
    }
    delete EvaluationCacheOf(e);
    if (e.count >= 0) delete[] e.items;
}

bool PublishEvaluationCache(EXPRESSION& e, TEvaluationCache* cache) {
    if (e.count < 0 || e.items == nullptr) return false;
    EXPRESSION_ITEM& spare = e.items[e.count];
    int32_t* expected = nullptr;
    __atomic_store_n(&spare.listCount, kSpareHoldsCache, __ATOMIC_RELAXED);
    return __atomic_compare_exchange_n(&spare.list, &expected, reinterpret_cast<int32_t*>(cache), false,
                                       __ATOMIC_RELEASE, __ATOMIC_RELAXED);
}

void AssignExpression(EXPRESSION& dst, const EXPRESSION& src) {
    if (src.count < 0 || (src.count > 0 && src.items == nullptr)) {
        dst.count = -1;
        dst.items = nullptr;
        return;
    }
    dst.items = new EXPRESSION_ITEM[static_cast<size_t>(src.count) + 1];
    for (int i = 0; i < src.count; ++i) {
        dst.items[i] = src.items[i];
        DeepenCopy(dst.items[i]);
    }
    dst.count = src.count;
}

EXPRESSION DuplicateExpression(const EXPRESSION& src) {
    EXPRESSION copy;
    AssignExpression(copy, src);
    return copy;
}

const TOperatorInfo* GetOperatorInfo(int i) { return i >= 0 && i < kOperatorCount ? &kOperators[i] : nullptr; }

const TSimpleFunctionInfo* GetSimpleFunctionInfo(int i) {
    return i >= 0 && i < kSimpleFunctionCount ? &kSimpleFunctions[i] : nullptr;
}

TString GetOperatorString(int i) { return TString(GetOperatorName(i)); }

int GetOperatorLevel(int i) {
    const TOperatorInfo* info = GetOperatorInfo(i);
    return info != nullptr ? info->level : 10;
}

const char* GetOperatorName(int i) {
    const TOperatorInfo* info = GetOperatorInfo(i);
    return info != nullptr ? info->symbol : "";
}

TString GetFunctionString(int i) { return TString(GetFunctionName(i)); }

const char* GetFunctionName(int i) {
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(i);
    return info != nullptr ? info->name : "";
}

TExpressionItemList::TExpressionItemList() { TExpressionItemList::Init(); }

TExpressionItemList::~TExpressionItemList() { DeleteAll(GetOwnsItems()); }

void TExpressionItemList::Init() { SetObjectMode(); }

void TExpressionItemList::FreeItem(void* item) { delete static_cast<EXPRESSION_ITEM*>(item); }

EXPRESSION_ITEM* TExpressionItemList::ItemAt(int i) const {
    return i >= 0 && i < GetCount() ? static_cast<EXPRESSION_ITEM*>(GetItem(i)) : nullptr;
}

EXPRESSION_ITEM* TExpressionItemList::LastItem() const { return ItemAt(GetCount() - 1); }

EXPRESSION_ITEM* TExpressionItemList::SecondToLast() const { return GetCount() >= 2 ? ItemAt(GetCount() - 2) : nullptr; }

EXPRESSION_ITEM TExpressionItemList::PopItem() {
    EXPRESSION_ITEM* last = LastItem();
    if (last == nullptr) return MakeItem(ekNone);
    EXPRESSION_ITEM copy = *last;
    DeleteLast(true);
    return copy;
}

EXPRESSION_ITEM* TExpressionItemList::PushCopy(const EXPRESSION_ITEM& item) {
    EXPRESSION_ITEM* record = new EXPRESSION_ITEM(item);
    if (record->kind == ekOwnedText) {
        record->value.text.text = new TString(item.value.text.text != nullptr ? *item.value.text.text : TString());
    } else if (record->kind == ekSubExpression && item.value.expression != nullptr) {
        record->value.expression = new EXPRESSION(DuplicateExpression(*item.value.expression));
    }
    Add(record);
    return record;
}

EXPRESSION_ITEM* TExpressionItemList::PushNew(TExpressionItemType kind) {
    EXPRESSION_ITEM* record = new EXPRESSION_ITEM(MakeItem(kind));
    if (kind == ekOwnedText) record->value.text.text = new TString;
    Add(record);
    return record;
}
