// Built-in functions on numbers and variables: intcond, dec, a_isum, a_dsum and aif.
#include "BuiltinNumbers.h"

#include <algorithm>
#include <cstdio>

#include "StackRoutines.h"

namespace {

constexpr int kIntegerSum = 86;

void IntCond(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Int(0) != 0 ? call.Int(1) : call.Int(2);
}

uint64_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<uint64_t>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<uint64_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<uint64_t>(c - 'A' + 10);
    return 0;
}

// Unsigned arithmetic, so that large bases and long texts wrap without fault.
void Dec(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& digits = call.Text(0);
    const uint64_t base = static_cast<uint64_t>(call.Int(1));
    uint64_t multiplier = 1;
    uint64_t sum = 0;
    for (int k = digits.Length() - 1; k >= 0; --k) {
        sum += DigitValue(digits[k]) * multiplier;
        multiplier *= base;
    }
    result.value.integer = static_cast<int64_t>(sum);
}

// A text read with "%f" into single precision; 0 when it holds no number.
float SinglePrecisionOf(const TString& text) {
    float value = 0.0f;
    if (std::sscanf(text.c_str(), "%f", &value) != 1) value = 0.0f;
    return value;
}

int64_t WholeDecimalOf(const TString& text) {
    int64_t value = 0;
    EvalParseInt(text.c_str(), value);  // 0 when the text is no whole number
    return value;
}

// The contribution of one item to a_isum (integer) and a_dsum (real).
struct TItemAmount {
    uint64_t integer;
    double real;
};

TItemAmount AmountOf(const void* item, TVariableType type) {
    switch (type) {
        case vtInt: {
            const int64_t value = *static_cast<const int64_t*>(item);
            return {static_cast<uint64_t>(value), static_cast<double>(value)};
        }
        case vtDouble: {
            const double value = *static_cast<const double*>(item);
            return {static_cast<uint64_t>(static_cast<int64_t>(TruncateToInt32(value))), value};
        }
        case vtString: {
            const TString& text = *static_cast<const TString*>(item);
            return {static_cast<uint64_t>(WholeDecimalOf(text)), static_cast<double>(SinglePrecisionOf(text))};
        }
        default: return {0, 0.0};
    }
}

// a_isum and a_dsum: the loops are clipped to the array, so huge bounds cost nothing.
void RectangleSum(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TVariable* array = call.Variable(0);
    if (array == nullptr || array->type != vtArray2) return;
    const ARRAY2& cells = array->value.a2;
    const int64_t firstColumn = std::max<int64_t>(call.Int32(1), 0);
    const int64_t firstLine = std::max<int64_t>(call.Int32(2), 0);
    const int64_t lastColumn = std::min<int64_t>(call.Int32(3), int64_t{cells.cols} - 1);
    const int64_t lastLine = std::min<int64_t>(call.Int32(4), int64_t{cells.lines} - 1);
    uint64_t integerSum = 0;
    double realSum = 0.0;
    for (int64_t y = firstLine; y <= lastLine; ++y) {
        for (int64_t x = firstColumn; x <= lastColumn; ++x) {
            const void* item = array->GetItem(static_cast<int>(y), static_cast<int>(x));
            if (item == nullptr) continue;
            const TItemAmount amount = AmountOf(item, cells.itemtype);
            integerSum += amount.integer;
            realSum += amount.real;
        }
    }
    if (call.position == kIntegerSum)
        result.value.integer = static_cast<int64_t>(integerSum);
    else
        result.value.real = realSum;
}

// Stores x into an int variable; kinds that do not fit leave it unchanged.
void StoreIntoInt(const EXPRESSION_ITEM& x, const TString& text, int64_t& target) {
    if (x.kind == ekInteger || x.kind == ekReal) {
        target = ItemAsInt(x);
    } else if (IsTextItem(x)) {
        target = WholeDecimalOf(text);
    }
}

void StoreIntoDouble(const EXPRESSION_ITEM& x, const TString& text, double& target) {
    if (x.kind == ekInteger || x.kind == ekReal) {
        target = ItemAsReal(x);
    } else if (IsTextItem(x)) {
        target = SinglePrecisionOf(text);
    }
}

void StoreIntoText(const EXPRESSION_ITEM& x, const TString& text, TString& target) {
    char buffer[400];
    if (x.kind == ekInteger) {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(x.value.integer));
        target = buffer;
    } else if (x.kind == ekReal) {
        std::snprintf(buffer, sizeof buffer, "%f", x.value.real);
        target = buffer;
    } else if (IsTextItem(x)) {
        target = text;
    }
}

void Aif(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const EXPRESSION_ITEM& condition = call.Item(0);
    TVariable* target = call.Variable(1);
    if (condition.kind != ekInteger || condition.value.integer == 0 || target == nullptr) return;
    result.value.integer = 1;
    const EXPRESSION_ITEM& x = call.Item(2);
    const TString& text = call.Text(2);
    if (target->type == vtInt)
        StoreIntoInt(x, text, target->value.i);
    else if (target->type == vtDouble)
        StoreIntoDouble(x, text, target->value.d);
    else if (target->type == vtString && target->value.s != nullptr)
        StoreIntoText(x, text, *target->value.s);
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kNumberBodies[] = {
    {79, IntCond}, {83, Dec}, {86, RectangleSum}, {87, RectangleSum}, {91, Aif},
};

}  // namespace

TBuiltinBodyRows NumberBuiltinBodies() { return RowsOf(kNumberBodies); }
