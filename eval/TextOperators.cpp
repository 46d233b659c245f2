// Two-operand operators on a text left operand: joining, removing, shifting and repeating, comparisons, containment, token and word tests.
#include <algorithm>
#include <cstring>
#include <functional>

#include "EvaluateErrors.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"

namespace {

// Every character code moved by the low byte of amount, modulo 256.
void ShiftCharacters(TString& text, int64_t amount) {
    const unsigned char step = static_cast<unsigned char>(amount & 0xFF);
    for (int i = 0; i < text.Length(); ++i)
        text[i] = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned char>(text[i]) + step));
}

// A text result that check mode leaves empty; fill writes the run-mode value.
template <void (*Fill)(const TBinaryOperation&, TString&)>
EXPRESSION_ITEM TextResult(const TBinaryOperation& o) {
    TString* text = nullptr;
    EXPRESSION_ITEM result = BufferedTextResult(o.stack, text);
    if (!o.check) Fill(o, *text);
    return result;
}

void Join(const TBinaryOperation& o, TString& out) {
    out = OperandText(o.left);
    if (IsTextItem(o.right)) {
        out += OperandText(o.right);
    } else {
        ShiftCharacters(out, ItemAsInt(o.right));
    }
}

void Remove(const TBinaryOperation& o, TString& out) {
    out = OperandText(o.left);
    if (IsTextItem(o.right)) {
        out -= OperandText(o.right);
    } else {
        ShiftCharacters(out, WrappingNegate(ItemAsInt(o.right)));
    }
}

// The count is cut so that the result stays within kMaxRepeatedTextLength
// (one copy at least).
void Repeat(const TBinaryOperation& o, TString& out) {
    const TString& text = OperandText(o.left);
    const int64_t count = ItemAsInt(o.right);
    if (count < 1 || text.IsEmpty()) {
        out.Clear();
        return;
    }
    const int64_t fitting = std::max<int64_t>(1, kMaxRepeatedTextLength / text.Length());
    out = text * static_cast<int>(std::min(count, fitting));
}

EXPRESSION_ITEM Multiply(const TBinaryOperation& o) {
    // Two texts have no product.
    if (IsTextItem(o.right)) return OperatorError(eeWrongOperand);
    return TextResult<Repeat>(o);
}

template <class Compare>
EXPRESSION_ITEM TextComparison(const TBinaryOperation& o) {
    return MakeIntegerItem(Compare()(OperandText(o.left), OperandText(o.right)) ? 1 : 0);
}

// A test that gives 1 or 0, or its opposite; check mode gives 0 without testing.
template <bool (*Test)(const TBinaryOperation&), bool Expected>
EXPRESSION_ITEM TextTest(const TBinaryOperation& o) {
    if (o.check) return MakeIntegerItem(0);
    return MakeIntegerItem(Test(o) == Expected ? 1 : 0);
}

bool Contains(const TBinaryOperation& o) {
    return std::strstr(OperandText(o.left).c_str(), OperandText(o.right).c_str()) != nullptr;
}

// Fields of the left text cut at the flag character, from the first on; the
// scan ends at a field that would start at the text's end, so an empty last
// field is never compared.
bool HasField(const TBinaryOperation& o) {
    const char* text = OperandText(o.left).c_str();
    const char* wanted = OperandText(o.right).c_str();
    const size_t length = std::strlen(text);
    const size_t wantedLength = std::strlen(wanted);
    for (size_t start = 0; start < length;) {
        size_t end = start;
        while (end < length && text[end] != o.flag) ++end;
        if (end - start == wantedLength && std::memcmp(text + start, wanted, wantedLength) == 0) return true;
        start = end + 1;
    }
    return false;
}

// An empty word is found nowhere.
bool HasWord(const TBinaryOperation& o) {
    return ContainsWord(o.stack, OperandText(o.left).c_str(), OperandText(o.right).c_str());
}

constexpr TOperatorRow<TBinaryHandler> kTextRows[] = {
    {opAdd, TextResult<Join>},
    {opSubtract, TextResult<Remove>},
    {opMultiply, Multiply},
    {opEqual, TextComparison<std::equal_to<>>},
    {opLess, TextComparison<std::less<>>},
    {opGreater, TextComparison<std::greater<>>},
    {opNotEqual, TextComparison<std::not_equal_to<>>},
    {opDifferent, TextComparison<std::not_equal_to<>>},
    {opContains, TextTest<Contains, true>},
    {opNotContains, TextTest<Contains, false>},
    {opTokenEquals, TextTest<HasField, true>},
    {opWordContains, TextTest<HasWord, true>},
    {opNotWordContains, TextTest<HasWord, false>},
};
constexpr auto kTextOperators = IndexByOperator(kTextRows);

}  // namespace

EXPRESSION_ITEM ApplyTextOperator(const TBinaryOperation& operation) {
    const TBinaryHandler handler = FunctionOf(kTextOperators, operation.op);
    return handler != nullptr ? handler(operation) : OperatorError(eeWrongOperand);
}
