// The array statements at run time: dim, a_filter .. a_assign on Eval's arrays.
#include "ArrayRuntime.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EvaluateEngine.h"
#include "Interpreter.h"

namespace {

constexpr int kUnsizedItems = 10;

struct TArrayContext {
    TProgram& program;
    TStatementArgs& args;
};

// A missing expression (a record built by hand) counts as the value 0.
EXPRVALUE Evaluate(TArrayContext& c, int i) {
    EXPRVALUE out;
    if (i >= c.args.expressions.Count()) return out;
    EvaluateExpression(Variables, c.args.expressions[i], SharedEvalStack(), out, false, &c.program);
    return out;
}

TVariable* VariableOf(const KRO_VARINFO& info, TVariableType type) {
    const int index = Variables.V_Index(info.index, info.absolute != 0);
    TVariable* v = index >= 0 ? Variables[index] : nullptr;
    return v != nullptr && v->type == type ? v : nullptr;
}

bool IsString(const ARRAY& a) { return a.itemtype == vtString; }
int ItemSize(TVariableType type) { return TVariableList::GetArrayItemSize(type); }

void StoreItem(const ARRAY& a, int i, const EXPRVALUE& value) { StoreValue(ArrayItemAddress(a, i), a.itemtype, value); }

void CopyItem(const ARRAY& to, int toIndex, const ARRAY& from, int fromIndex) {
    if (IsString(to))
        *static_cast<TString*>(ArrayItemAddress(to, toIndex)) = *static_cast<const TString*>(ArrayItemAddress(from, fromIndex));
    else
        std::memcpy(ArrayItemAddress(to, toIndex), ArrayItemAddress(from, fromIndex), ItemSize(to.itemtype));
}

bool ItemsEqual(const ARRAY& a, int i, int j) {
    if (IsString(a)) return *static_cast<const TString*>(ArrayItemAddress(a, i)) == *static_cast<const TString*>(ArrayItemAddress(a, j));
    if (a.itemtype == vtDouble) return *static_cast<const double*>(ArrayItemAddress(a, i)) == *static_cast<const double*>(ArrayItemAddress(a, j));
    if (a.itemtype == vtComplex) {
        const double* x = static_cast<const double*>(ArrayItemAddress(a, i));
        const double* y = static_cast<const double*>(ArrayItemAddress(a, j));
        return x[0] == y[0] && x[1] == y[1];
    }
    return std::memcmp(ArrayItemAddress(a, i), ArrayItemAddress(a, j), ItemSize(a.itemtype)) == 0;
}

// New array of count items; false (nothing allocated) when it has no storage.
bool NewArray(TVariableType type, int count, ARRAY& out) {
    out = TVariableList::CreateArray(type, count);
    return out.items != nullptr;
}

void Replace(ARRAY& target, ARRAY& built) {
    TVariableList::FreeArray(target);
    target = built;
}

// Copies from[first..first+n-1] to to[at..].
void CopyRange(const ARRAY& to, int at, const ARRAY& from, int first, int n) {
    if (n <= 0) return;
    if (IsString(to)) {
        for (int k = 0; k < n; ++k) CopyItem(to, at + k, from, first + k);
        return;
    }
    const int size = ItemSize(to.itemtype);
    std::memcpy(ArrayItemAddress(to, at), ArrayItemAddress(from, first), static_cast<size_t>(n) * size);
}

void ClearValue(TVariableType type, void* item) {
    if (item == nullptr) return;
    if (type == vtString)
        static_cast<TString*>(item)->Clear();
    else
        std::memset(item, 0, static_cast<size_t>(ItemSize(type)));
}

bool IsUnsized(TArrayContext& c) { return c.args.expressions.Count() == 0 || c.args.expressions[0].count <= 0; }

// Items that a grown array takes within its old capacity would still show
// values from before a shrink: they start at zero, as a new array's do.
void RunDim(TArrayContext& c) {
    const int n = IsUnsized(c) ? kUnsizedItems : ValueAsInt(Evaluate(c, 0));
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr || n < 0) return;
    const int before = v->value.a.count;
    if (v->Resize(n, true) == nullptr) return;
    for (int i = before; i < n; ++i) ClearValue(v->value.a.itemtype, ArrayItemAddress(v->value.a, i));
}

void RunDim2(TArrayContext& c) {
    const bool unsized = IsUnsized(c);
    const int lines = unsized ? kUnsizedItems : ValueAsInt(Evaluate(c, 0));
    const int columns = unsized ? kUnsizedItems : ValueAsInt(Evaluate(c, 1));
    TVariable* v = VariableOf(c.args.variables[0], vtArray2);
    if (v == nullptr || lines < 0 || columns < 0) return;
    const int oldLines = v->value.a2.lines;
    const int oldColumns = v->value.a2.cols;
    if (v->Resize(lines, columns, true) == nullptr) return;
    for (int i = 0; i < lines; ++i)
        for (int j = i < oldLines ? oldColumns : 0; j < columns; ++j) ClearValue(v->value.a2.itemtype, v->GetItem(i, j));
}

void RunFilter(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    ARRAY& a = v->value.a;
    std::vector<int> kept;
    for (int i = 0; i < a.count; ++i) {
        bool seen = false;
        for (int j : kept) seen = seen || ItemsEqual(a, i, j);
        if (!seen) kept.push_back(i);
    }
    ARRAY built;
    if (!NewArray(a.itemtype, static_cast<int>(kept.size()), built)) return;
    for (size_t k = 0; k < kept.size(); ++k) CopyItem(built, static_cast<int>(k), a, kept[k]);
    Replace(a, built);
}

void InsertAt(TArrayContext& c, ARRAY& a, int i, const EXPRVALUE& value) {
    ARRAY built;
    if (!NewArray(a.itemtype, a.count + 1, built)) return;
    CopyRange(built, 0, a, 0, i);
    StoreItem(built, i, value);
    CopyRange(built, i + 1, a, i, a.count - i);
    Replace(a, built);
    (void)c;
}

void RunAdd(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    const EXPRVALUE value = Evaluate(c, 0);
    InsertAt(c, v->value.a, v->value.a.count, value);
}

void RunInsert(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    const int index = ValueAsInt(Evaluate(c, 0));
    const EXPRVALUE value = Evaluate(c, 1);
    InsertAt(c, v->value.a, std::clamp(index, 0, v->value.a.count), value);
}

void RunDelete(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    ARRAY& a = v->value.a;
    const int i = ValueAsInt(Evaluate(c, 0));
    if (i < 0 || i >= a.count) return;
    ARRAY built;
    if (!NewArray(a.itemtype, a.count - 1, built)) return;
    CopyRange(built, 0, a, 0, i);
    CopyRange(built, i, a, i + 1, a.count - i - 1);
    Replace(a, built);
}

void SwapItems(const ARRAY& a, int i, int j) {
    if (IsString(a)) {
        std::swap(*static_cast<TString*>(ArrayItemAddress(a, i)), *static_cast<TString*>(ArrayItemAddress(a, j)));
        return;
    }
    unsigned char buffer[16];
    const int size = ItemSize(a.itemtype);
    std::memcpy(buffer, ArrayItemAddress(a, i), size);
    std::memcpy(ArrayItemAddress(a, i), ArrayItemAddress(a, j), size);
    std::memcpy(ArrayItemAddress(a, j), buffer, size);
}

void RunReverse(TArrayContext& c) {
    for (const KRO_VARINFO& info : c.args.variables) {
        TVariable* v = VariableOf(info, vtArray);
        if (v == nullptr || v->value.a.items == nullptr) continue;
        const ARRAY& a = v->value.a;
        for (int k = 0; k < a.count / 2; ++k) SwapItems(a, k, a.count - 1 - k);
    }
}

void RunFill(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    const EXPRVALUE value = Evaluate(c, 0);
    const ARRAY& a = v->value.a;
    if (a.items == nullptr) return;
    for (int i = 0; i < a.count; ++i) StoreItem(a, i, value);
}

int CompareItems(const ARRAY& a, int i, int j) {
    const void* x = ArrayItemAddress(a, i);
    const void* y = ArrayItemAddress(a, j);
    switch (a.itemtype) {
        case vtInt: {
            const int64_t p = *static_cast<const int64_t*>(x), q = *static_cast<const int64_t*>(y);
            return p < q ? -1 : p > q ? 1 : 0;
        }
        case vtDouble: {
            // NaN after every number, so that the order stays a strict one.
            const double p = *static_cast<const double*>(x), q = *static_cast<const double*>(y);
            if (std::isnan(p) || std::isnan(q)) return std::isnan(p) - std::isnan(q);
            return p < q ? -1 : p > q ? 1 : 0;
        }
        case vtString: {
            const TString& p = *static_cast<const TString*>(x);
            const TString& q = *static_cast<const TString*>(y);
            return p < q ? -1 : q < p ? 1 : 0;
        }
        default: return 0;
    }
}

// Sorts through an order of indices, then rebuilds the items in that order:
// strings are moved as objects, never as bytes.
void RunSort(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    ARRAY& a = v->value.a;
    if (a.items == nullptr || a.itemtype == vtPoint || a.itemtype == vtComplex) return;
    const bool ascending = c.args.flag != 0;
    std::vector<int> order(static_cast<size_t>(a.count));
    for (int i = 0; i < a.count; ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
        const int r = CompareItems(a, i, j);
        return ascending ? r < 0 : r > 0;
    });
    ARRAY built;
    if (!NewArray(a.itemtype, a.count, built)) return;
    for (int k = 0; k < a.count; ++k) CopyItem(built, k, a, order[static_cast<size_t>(k)]);
    Replace(a, built);
}

// Replaces the target's array with built, which takes the source's item type.
void ReplaceTarget(TVariable* target, ARRAY& built) {
    Replace(target->value.a, built);
}

void RunGetItems(TArrayContext& c) {
    TVariable* source = VariableOf(c.args.variables[0], vtArray);
    TVariable* target = VariableOf(c.args.variables[1], vtArray);
    if (source == nullptr || target == nullptr) return;
    const ARRAY& a = source->value.a;
    const int first = std::max(0, ValueAsInt(Evaluate(c, 0)));
    const int last = std::min(a.count - 1, ValueAsInt(Evaluate(c, 1)));
    if (last < first || a.items == nullptr) return;
    ARRAY built;
    if (!NewArray(a.itemtype, last - first + 1, built)) return;
    CopyRange(built, 0, a, first, last - first + 1);
    ReplaceTarget(target, built);
}

// View of one line of a 2-D array as a 1-D array.
ARRAY LineOf(const ARRAY2& a, int line) {
    ARRAY view{};
    view.itemtype = a.itemtype;
    view.count = a.cols;
    view.capacity = a.cols;
    view.items = a.rows[line];
    return view;
}

void RunGetLine(TArrayContext& c) {
    TVariable* source = VariableOf(c.args.variables[0], vtArray2);
    TVariable* target = VariableOf(c.args.variables[1], vtArray);
    if (source == nullptr || target == nullptr) return;
    const ARRAY2& a = source->value.a2;
    const int line = ValueAsInt(Evaluate(c, 0));
    if (a.rows == nullptr || line < 0 || line >= a.lines || a.rows[line] == nullptr) return;
    ARRAY built;
    if (!NewArray(a.itemtype, a.cols, built)) return;
    CopyRange(built, 0, LineOf(a, line), 0, a.cols);
    ReplaceTarget(target, built);
}

void RunGetColumn(TArrayContext& c) {
    TVariable* source = VariableOf(c.args.variables[0], vtArray2);
    TVariable* target = VariableOf(c.args.variables[1], vtArray);
    if (source == nullptr || target == nullptr) return;
    const ARRAY2& a = source->value.a2;
    const int column = ValueAsInt(Evaluate(c, 0));
    if (a.rows == nullptr || column < 0 || column >= a.cols) return;
    ARRAY built;
    if (!NewArray(a.itemtype, a.lines, built)) return;
    for (int line = 0; line < a.lines; ++line)
        if (a.rows[line] != nullptr) CopyItem(built, line, LineOf(a, line), column);
    ReplaceTarget(target, built);
}

void RunExchange(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    const ARRAY& a = v->value.a;
    const int i = ValueAsInt(Evaluate(c, 0));
    const int j = ValueAsInt(Evaluate(c, 1));
    if (a.items == nullptr || i == j || i < 0 || j < 0 || i >= a.count || j >= a.count) return;
    SwapItems(a, i, j);
}

void RunAssign(TArrayContext& c) {
    TVariable* v = VariableOf(c.args.variables[0], vtArray);
    if (v == nullptr) return;
    const int n = c.args.expressions.Count();
    std::vector<EXPRVALUE> values;
    for (int k = 0; k < n; ++k) values.push_back(Evaluate(c, k));
    ARRAY built;
    if (!NewArray(v->value.a.itemtype, n, built)) return;
    for (int k = 0; k < n; ++k) StoreItem(built, k, values[static_cast<size_t>(k)]);
    Replace(v->value.a, built);
}

struct TArrayStatementRow {
    int type;
    void (*run)(TArrayContext&);
};

const TArrayStatementRow kArrayStatements[] = {
    {ttDim, RunDim},           {ttDim2, RunDim2},        {ttArrayFilter, RunFilter},
    {ttArrayAdd, RunAdd},      {ttArrayInsert, RunInsert}, {ttArrayDelete, RunDelete},
    {ttArrayReverse, RunReverse}, {ttArrayFill, RunFill}, {ttArraySort, RunSort},
    {ttArrayGetItems, RunGetItems}, {ttArrayGetLine, RunGetLine}, {ttArrayGetColumn, RunGetColumn},
    {ttArrayExchange, RunExchange}, {ttArrayAssign, RunAssign},
};

}  // namespace

void* ArrayItemAddress(const ARRAY& array, int i) {
    if (array.itemtype == vtString) return static_cast<TString*>(array.items) + i;
    return static_cast<unsigned char*>(array.items) + static_cast<size_t>(i) * ItemSize(array.itemtype);
}

int RunArrayStatement(TProgram& program, const TToken& token) {
    TStatementArgs* args = token.Record<TStatementArgs>();
    if (args == nullptr) return 0;
    for (const TArrayStatementRow& row : kArrayStatements) {
        if (row.type != args->type) continue;
        if (args->variables.empty()) return 0;
        TArrayContext context{program, *args};
        row.run(context);
    }
    return 0;
}
