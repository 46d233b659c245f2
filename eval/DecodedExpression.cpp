// TDecodedExpression: making the evaluation form of a compiled expression: its operand stack followed item by item, constants folded by the loop itself, variables bound, a step of known kinds for each operator and function.
#include "DecodedExpression.h"

#include <cstring>
#include <map>
#include <utility>

#include "BinaryOperators.h"
#include "DecodedSteps.h"
#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "EvaluationLoop.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"
#include "OperatorSupport.h"
#include "StraightProgram.h"
#include "UnaryOperators.h"

namespace {

typedef TDecodedExpression::TEntry TEntry;
typedef TDecodedExpression::TStep TStep;
typedef TDecodedExpression::TBinding TBinding;
typedef TDecodedExpression::TCallSite TCallSite;
typedef TDecodedExpression::TProgram TProgram;

// Registers and companions are numbered in 16 bits.
constexpr int kMaxRegisters = 0xFFFF;

// The simple function "rnd" draws from the C library's generator.
constexpr int kRandomFunction = 18;
constexpr int kNegateFunction = 9;
constexpr int kAbsoluteFunction = 4;

// Two codes that folding puts in EvaluateErrorCode before computing a
// constant sub-expression; finding the code unchanged both times shows
// that nothing wrote it.
constexpr int8_t kUnwrittenCodes[2] = {-101, 101};

bool IsNumber(TExpressionItemType kind) { return kind == ekInteger || kind == ekReal; }

// The operator families as the steps compute them.
struct TOperatorSteps {
    int op;
    TStepCode onIntegers;
    TStepCode onReals;  // the same code where only integers apply
    TExpressionItemType resultOfReals;
};

// ORDER: none; looked up by operator.
const TOperatorSteps kOperatorSteps[] = {
    {opAdd, scAddIntegers, scAddReals, ekReal},
    {opSubtract, scSubtractIntegers, scSubtractReals, ekReal},
    {opMultiply, scMultiplyIntegers, scMultiplyReals, ekReal},
    {opDivide, scDivideIntegers, scDivideReals, ekReal},
    {opPower, scPowerIntegers, scPowerReals, ekReal},
    {opEqual, scEqualIntegers, scEqualReals, ekInteger},
    {opLess, scLessIntegers, scLessReals, ekInteger},
    {opGreater, scGreaterIntegers, scGreaterReals, ekInteger},
    {opLessOrEqual, scLessOrEqualIntegers, scLessOrEqualReals, ekInteger},
    {opGreaterOrEqual, scGreaterOrEqualIntegers, scGreaterOrEqualReals, ekInteger},
    {opNotEqual, scNotEqualIntegers, scNotEqualReals, ekInteger},
    {opDifferent, scNotEqualIntegers, scNotEqualReals, ekInteger},
    {opLogicalOr, scLogicalOr, scLogicalOr, ekInteger},
    {opLogicalAnd, scLogicalAnd, scLogicalAnd, ekInteger},
    {opBitOr, scBitOr, scBitOr, ekInteger},
    {opBitAnd, scBitAnd, scBitAnd, ekInteger},
    {opRemainder, scRemainder, scRemainder, ekInteger},
    {opShiftRight, scShiftRight, scShiftRight, ekInteger},
    {opShiftLeft, scShiftLeft, scShiftLeft, ekInteger},
};

const TOperatorSteps* StepsOf(int op) {
    for (const TOperatorSteps& row : kOperatorSteps)
        if (row.op == op) return &row;
    return nullptr;
}

bool IsLogical(int op) { return op == opLogicalOr || op == opLogicalAnd; }
bool IsBitwise(int op) { return op >= opBitOr && op <= opShiftLeft; }

uint8_t Kinds(TExpressionItemType left, TExpressionItemType right) {
    return static_cast<uint8_t>(left | (right << 4));
}

TStep MakeStep(TStepCode code, int target, int left, int right) {
    TStep step{};
    step.code = code;
    step.target = static_cast<uint16_t>(target);
    step.left = static_cast<uint16_t>(left);
    step.right = static_cast<uint16_t>(right);
    return step;
}

// The outcome of one fold: the result as the loop gave it.
struct TFolded {
    bool done = false;
    EXPRESSION_ITEM image;
};

// Follows the items of e on a model of the loop's stack and writes the program.
class TDecoder {
public:
    TDecoder(EXPRESSION& e, TVariableList& list, TEvalStack& stack, TProgram& program)
        : e(e), list(list), stack(stack), program(program) {}

    bool Decode();
    // After a failed Decode: whether a variable's absence or type was the reason.
    bool DependsOnList() const { return dependsOnList; }

private:
    bool Item(int i);
    bool Literal(const EXPRESSION_ITEM& item);
    bool Variable(int i);
    bool Opaque(int i, bool variable);
    bool BinaryOperator(int i);
    bool Arithmetic(int op, const TEntry& left, const TEntry& right);
    bool Assignment(int i, const TEntry& left, const TEntry& right);
    bool UnaryOperator(int i);
    bool SimpleFunction(int i);
    bool Element(int i);
    bool Call(int i, int operands, TExpressionItemType expected, bool pure);
    bool CallSite(int i, int operands, TExpressionItemType expected);

    TFolded Fold(int i, int operands);
    bool RunQuietly(EXPRESSION& tiny, EXPRVALUE& out, int8_t unwritten);
    bool Pop(int n, std::vector<TEntry>& popped);
    void PushConstant(const EXPRESSION_ITEM& image);
    void PushResult(int reg, TExpressionItemType kind);
    int NewRegister();
    int ConstantRegister(TExpressionItemType kind, TRegister value);
    int Bind(const TVariableValue& reference, TVariableType type, TVariableType itemtype);
    int LoadRegister(int binding);
    int RealRegister(const TEntry& entry);
    int IntegerRegister(const TEntry& entry);
    int TruthRegister(const TEntry& entry);
    int Convert(TStepCode code, const TEntry& entry);
    void Emit(const TStep& step) { program.steps.push_back(step); }
    bool HasContainmentShortcut() const;
    TVariable* VariableAt(const TVariableValue& reference) const;
    bool ReadsText(const EXPRESSION_ITEM& item) const;

    EXPRESSION& e;
    TVariableList& list;
    TEvalStack& stack;
    TProgram& program;
    std::vector<TEntry> entries;
    // Side effects so far: a variable read after one is read again.
    int epoch = 0;
    std::map<std::pair<int, int>, int> loaded;
    // The constants' kinds and bits beside program.constants, and past
    // kFewConstants an index of them.
    static constexpr size_t kFewConstants = 16;
    std::vector<std::pair<int, uint64_t>> constantKeys;
    std::map<std::pair<int, uint64_t>, int> constantRegisters;
    bool dependsOnList = false;
};

int TDecoder::NewRegister() { return program.registers++; }

TVariable* TDecoder::VariableAt(const TVariableValue& reference) const {
    const int64_t position = PositionOf(list, reference.reference, reference.absolute);
    return position >= 0 && position < list.GetCount() ? list[static_cast<int>(position)] : nullptr;
}

// A constant's register: the one holding the same kind and bits, else a
// new one. The few constants of most expressions are looked at one by one;
// past kFewConstants they are found in an index.
int TDecoder::ConstantRegister(TExpressionItemType kind, TRegister value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const std::pair<int, uint64_t> key(static_cast<int>(kind), bits);
    if (constantKeys.size() <= kFewConstants) {
        for (size_t k = 0; k < constantKeys.size(); ++k)
            if (constantKeys[k] == key) return program.constants[k].first;
    } else {
        const auto found = constantRegisters.find(key);
        if (found != constantRegisters.end()) return found->second;
    }
    const int reg = NewRegister();
    program.constants.emplace_back(static_cast<uint16_t>(reg), value);
    constantKeys.push_back(key);
    if (constantKeys.size() > kFewConstants) {
        if (constantRegisters.empty())
            for (size_t k = 0; k + 1 < constantKeys.size(); ++k)
                constantRegisters.emplace(constantKeys[k], program.constants[k].first);
        constantRegisters.emplace(key, reg);
    }
    return reg;
}

void TDecoder::PushConstant(const EXPRESSION_ITEM& image) {
    TEntry entry{};
    entry.kind = image.kind;
    entry.constant = true;
    entry.source = rsImage;
    entry.image = image;
    TRegister value;
    std::memcpy(&value, &image.value, sizeof value);
    entry.reg = static_cast<uint16_t>(ConstantRegister(image.kind, value));
    entries.push_back(entry);
}

// An operator's or function's number result: no reference, upper half 0.
void TDecoder::PushResult(int reg, TExpressionItemType kind) {
    TEntry entry{};
    entry.kind = kind;
    entry.reg = static_cast<uint16_t>(reg);
    entry.source = rsImage;
    entry.image = MakeItem(kind);
    entries.push_back(entry);
}

bool TDecoder::Pop(int n, std::vector<TEntry>& popped) {
    if (n < 0 || static_cast<size_t>(n) > entries.size()) return false;
    popped.assign(entries.end() - n, entries.end());
    entries.resize(entries.size() - static_cast<size_t>(n));
    return true;
}

int TDecoder::Bind(const TVariableValue& reference, TVariableType type, TVariableType itemtype) {
    for (size_t k = 0; k < program.bindings.size(); ++k) {
        const TBinding& b = program.bindings[k];
        if (b.reference == reference.reference && b.absolute == reference.absolute && b.type == type &&
            b.itemtype == itemtype)
            return static_cast<int>(k);
    }
    const int64_t offset = reference.absolute ? int64_t{reference.reference} : -int64_t{reference.reference};
    program.bindings.push_back(TBinding{reference.reference, reference.absolute, type, itemtype, 0, offset});
    return static_cast<int>(program.bindings.size() - 1);
}

// The register that holds the binding's value as read in this epoch; the
// first epoch reads before any step, later ones where they first need it.
int TDecoder::LoadRegister(int binding) {
    const auto key = std::make_pair(binding, epoch);
    const auto found = loaded.find(key);
    if (found != loaded.end()) return found->second;
    const int reg = NewRegister();
    loaded.emplace(key, reg);
    if (epoch == 0) {
        program.bindings[static_cast<size_t>(binding)].load = static_cast<uint16_t>(reg);
    } else {
        TStep step = MakeStep(scLoad, reg, 0, 0);
        step.aux.index = binding;
        Emit(step);
    }
    return reg;
}

int TDecoder::Convert(TStepCode code, const TEntry& entry) {
    const int reg = NewRegister();
    Emit(MakeStep(code, reg, entry.reg, 0));
    return reg;
}

// The entry as a real, as NumberAsReal and ItemAsReal read it.
int TDecoder::RealRegister(const TEntry& entry) {
    if (entry.kind == ekReal) return entry.reg;
    if (entry.constant) {
        TRegister value;
        value.real = static_cast<double>(entry.image.value.integer);
        return ConstantRegister(ekReal, value);
    }
    return Convert(scIntegerToReal, entry);
}

// The entry as an integer, as NumberAsInteger and ItemAsInt read it.
int TDecoder::IntegerRegister(const TEntry& entry) {
    if (entry.kind == ekInteger) return entry.reg;
    if (entry.constant) {
        TRegister value;
        value.integer = TruncateToInt32(entry.image.value.real);
        return ConstantRegister(ekInteger, value);
    }
    return Convert(scRealToInt32, entry);
}

// The entry as the integer 1 or 0 of NumberIsNonZero; integers stay.
int TDecoder::TruthRegister(const TEntry& entry) {
    if (entry.kind == ekInteger) return entry.reg;
    if (entry.constant) {
        TRegister value;
        value.integer = entry.image.value.real != 0.0 ? 1 : 0;
        return ConstantRegister(ekInteger, value);
    }
    return Convert(scRealIsNonZero, entry);
}

// What the loop computes for a constant sub-expression: the operands as
// literals before a copy of item i, run twice by the loop alone. Folded
// only when both runs agree on a number and leave EvaluateErrorCode alone.
TFolded TDecoder::Fold(int i, int operands) {
    TFolded folded;
    const TEntry* taken = entries.data() + entries.size() - static_cast<size_t>(operands);
    // Most folds take one or two operands: their items stay on the stack.
    EXPRESSION_ITEM few[4];
    std::unique_ptr<EXPRESSION_ITEM[]> many;
    EXPRESSION tiny;
    tiny.count = operands + 1;
    tiny.items = few;
    if (operands + 2 > 4) {
        many.reset(new EXPRESSION_ITEM[static_cast<size_t>(operands) + 2]);
        tiny.items = many.get();
    }
    for (int k = 0; k < operands; ++k) tiny.items[k] = taken[k].opaque ? e.items[taken[k].item] : taken[k].image;
    tiny.items[operands] = e.items[i];
    tiny.items[operands + 1] = EXPRESSION_ITEM{};
    const int8_t code = EvaluateErrorCode;
    EXPRVALUE first;
    EXPRVALUE second;
    const bool quiet = RunQuietly(tiny, first, kUnwrittenCodes[0]) && RunQuietly(tiny, second, kUnwrittenCodes[1]);
    EvaluateErrorCode = code;
    // The texts and lists of the copied items belong to e.
    if (!quiet || !IsNumber(first.kind) || first.kind != second.kind ||
        std::memcmp(&first.value, &second.value, sizeof first.value) != 0 ||
        std::memcmp(&first.ref, &second.ref, sizeof first.ref) != 0)
        return folded;
    folded.done = true;
    folded.image = MakeItem(first.kind);
    folded.image.value = first.value;
    folded.image.ref = first.ref;
    return folded;
}

bool TDecoder::RunQuietly(EXPRESSION& tiny, EXPRVALUE& out, int8_t unwritten) {
    EvaluateErrorCode = unwritten;
    EvaluateByLoop(list, tiny, stack, out, false, nullptr);
    return EvaluateErrorCode == unwritten;
}

// What the loop pushes for a literal: a copy of the item without a variable.
bool TDecoder::Literal(const EXPRESSION_ITEM& item) {
    EXPRESSION_ITEM image = item;
    image.ref.index = -1;
    PushConstant(image);
    return true;
}

// An item the loop's action pushes as it is, whenever it runs. A string
// variable is read when pushed, so it may not wait past a side effect.
bool TDecoder::Opaque(int i, bool variable) {
    TEntry entry{};
    entry.opaque = true;
    entry.kind = e.items[i].kind;
    entry.item = i;
    entry.variable = variable;
    entry.epoch = epoch;
    entries.push_back(entry);
    return true;
}

bool TDecoder::Variable(int i) {
    const TVariableValue& reference = e.items[i].value.variable;
    const TVariable* v = VariableAt(reference);
    if (v != nullptr && v->type == vtString) return Opaque(i, true);
    if (v == nullptr || (v->type != vtInt && v->type != vtDouble)) {
        dependsOnList = true;
        return false;
    }
    TEntry entry{};
    entry.kind = v->type == vtInt ? ekInteger : ekReal;
    entry.binding = Bind(reference, v->type, vtUndefined);
    entry.reg = static_cast<uint16_t>(LoadRegister(entry.binding));
    entry.source = rsBinding;
    entry.image = MakeItem(entry.kind);
    entries.push_back(entry);
    return true;
}

bool TDecoder::Arithmetic(int op, const TEntry& left, const TEntry& right) {
    const TOperatorSteps* row = StepsOf(op);
    if (row == nullptr) return false;
    const int target = NewRegister();
    TExpressionItemType kind = ekInteger;
    if (IsLogical(op)) {
        const int l = TruthRegister(left);
        const int r = TruthRegister(right);
        Emit(MakeStep(row->onIntegers, target, l, r));
    } else if (IsBitwise(op)) {
        // The left operand is an integer (a real one has no bit operators).
        Emit(MakeStep(row->onIntegers, target, left.reg, IntegerRegister(right)));
    } else if (left.kind == ekInteger && right.kind == ekInteger) {
        Emit(MakeStep(row->onIntegers, target, left.reg, right.reg));
    } else {
        const int l = RealRegister(left);
        const int r = RealRegister(right);
        Emit(MakeStep(row->onReals, target, l, r));
        kind = row->resultOfReals;
    }
    PushResult(target, kind);
    return true;
}

bool TDecoder::BinaryOperator(int i) {
    const int op = e.items[i].value.code.index;
    if (entries.size() < 2) return false;
    const TEntry& left = entries[entries.size() - 2];
    const TEntry& right = entries[entries.size() - 1];
    if (left.opaque || right.opaque) return false;
    program.usesBinary = true;
    if (IsAssignmentOperator(op)) {
        std::vector<TEntry> operands;
        Pop(2, operands);
        return Assignment(i, operands[0], operands[1]);
    }
    // A bit operator on a real, and every operator beyond numbers, the loop
    // answers with an error item.
    if (!IsNumberOperator(op, left.kind)) return false;
    if (left.constant && right.constant) {
        const TFolded folded = Fold(i, 2);
        if (folded.done) {
            entries.resize(entries.size() - 2);
            PushConstant(folded.image);
            return true;
        }
    }
    std::vector<TEntry> operands;
    Pop(2, operands);
    return Arithmetic(op, operands[0], operands[1]);
}

// The left operand designates the target: a variable as read, or an
// element. A plain '=' into a variable has its own step; every other
// assignment goes through AssignNumberInPlace, and both hand the item to
// the loop when the target has listeners or cannot be written quietly.
bool TDecoder::Assignment(int i, const TEntry& left, const TEntry& right) {
    if (left.source == rsImage) return false;  // no variable: the loop reports it
    const int op = e.items[i].value.code.index;
    const bool plain = op == opAssign && left.source == rsBinding;
    // The value as the target's kind reads it (ItemAsInt, ItemAsReal).
    const int value = !plain ? right.reg : left.kind == ekInteger ? IntegerRegister(right) : RealRegister(right);
    entries.push_back(left);
    entries.push_back(right);
    const int site = static_cast<int>(program.calls.size());
    if (!CallSite(i, 2, left.kind)) return false;
    TCallSite& call = program.calls.back();
    call.op = op;
    // The assignment's own step stands in for the call site's.
    TStep& step = program.steps.back();
    step.code = plain ? scAssignVariable : scAssign;
    step.left = static_cast<uint16_t>(plain ? value : left.reg);
    step.right = right.reg;
    step.kinds = Kinds(left.kind, right.kind);
    step.aux.pair.first = left.binding;
    step.aux.pair.second = site;
    // The result is a plain value (SetIntegerResult, or the loop's own result).
    entries.back().source = rsImage;
    entries.back().image = MakeItem(left.kind);
    return true;
}

bool TDecoder::UnaryOperator(int i) {
    const int op = e.items[i].value.code.index;
    if (op != opNot && op != opComplement) return false;  // texts
    if (entries.empty() || entries.back().opaque) return false;
    program.usesUnary = true;
    if (entries.back().constant) {
        const TFolded folded = Fold(i, 1);
        if (folded.done) {
            entries.pop_back();
            PushConstant(folded.image);
            return true;
        }
    }
    const TEntry operand = entries.back();
    entries.pop_back();
    const int target = NewRegister();
    TStep step = MakeStep(scUnaryOperator, target, operand.reg, 0);
    step.kinds = Kinds(operand.kind, operand.kind);
    step.aux.index = op;
    Emit(step);
    PushResult(target, operand.kind);
    return true;
}

bool TDecoder::SimpleFunction(int i) {
    const int index = e.items[i].value.code.index;
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(index);
    if (info == nullptr || entries.size() < static_cast<size_t>(info->operands)) return false;
    bool constant = index != kRandomFunction;
    for (size_t k = entries.size() - static_cast<size_t>(info->operands); k < entries.size(); ++k) {
        if (entries[k].opaque) return false;
        constant = constant && entries[k].constant;
    }
    program.usesFunctions = true;
    if (constant) {
        const TFolded folded = Fold(i, info->operands);
        if (folded.done) {
            entries.resize(entries.size() - static_cast<size_t>(info->operands));
            PushConstant(folded.image);
            return true;
        }
    }
    std::vector<TEntry> operands;
    Pop(info->operands, operands);
    const TEntry& a0 = operands[0];
    const TEntry& a1 = operands.size() > 1 ? operands[1] : operands[0];
    const int target = NewRegister();
    TStep step = MakeStep(scNumberFunction, target, a0.reg, a1.reg);
    TExpressionItemType kind = ekInteger;
    if (TRealFunctionOfOne function = GetRealFunctionOfOne(index)) {
        step = MakeStep(scRealFunction, target, RealRegister(a0), 0);
        step.aux.realOfOne = function;
        kind = ekReal;
    } else if (TRealFunctionOfTwo function2 = GetRealFunctionOfTwo(index)) {
        step = MakeStep(scRealFunctionOfTwo, target, RealRegister(a0), RealRegister(a1));
        step.aux.realOfTwo = function2;
        kind = ekReal;
    } else if (index == kNegateFunction) {
        step.code = a0.kind == ekReal ? scNegateReal : scNegateInteger;
        kind = a0.kind;
    } else {
        // abs keeps its operand's kind; not, round, sgn and rnd give integers.
        step.kinds = Kinds(a0.kind, a1.kind);
        step.aux.index = index;
        if (index == kAbsoluteFunction) kind = a0.kind;
    }
    Emit(step);
    PushResult(target, kind);
    return true;
}

bool TDecoder::Element(int i) {
    const EXPRESSION_ITEM& item = e.items[i];
    const bool twoDimensions = item.kind == ekElement2;
    std::vector<TEntry> indices;
    if (!Pop(twoDimensions ? 2 : 1, indices)) return false;
    for (const TEntry& index : indices)
        if (index.opaque) return false;
    const TVariable* v = VariableAt(item.value.variable);
    const TVariableType arrayType = twoDimensions ? vtArray2 : vtArray;
    const TVariableType itemtype =
        v == nullptr || v->type != arrayType ? vtUndefined : twoDimensions ? v->value.a2.itemtype : v->value.a.itemtype;
    if (itemtype != vtInt && itemtype != vtDouble) {
        dependsOnList = true;
        return false;
    }
    const int target = NewRegister();
    const int companion = program.companions++;
    TStep step = MakeStep(twoDimensions ? scElement2 : scElement, target, indices[0].reg,
                          twoDimensions ? indices[1].reg : 0);
    step.kinds = Kinds(indices[0].kind, indices.back().kind);
    step.aux.pair.first = Bind(item.value.variable, arrayType, itemtype);
    step.aux.pair.second = companion;
    Emit(step);
    TEntry entry{};
    entry.kind = itemtype == vtInt ? ekInteger : ekReal;
    entry.image = MakeItem(entry.kind);
    entry.reg = static_cast<uint16_t>(target);
    entry.source = rsCompanion;
    entry.companion = static_cast<uint16_t>(companion);
    entry.binding = step.aux.pair.first;
    entries.push_back(entry);
    return true;
}

// The item runs through the loop's action; its operands lie on the stack
// with everything below them, as the loop would have them.
bool TDecoder::CallSite(int i, int operands, TExpressionItemType expected) {
    if (!IsNumber(expected) || entries.size() < static_cast<size_t>(operands)) return false;
    // A string variable is pushed again by every later call: only the first
    // call after it was read may take it.
    for (const TEntry& entry : entries)
        if (entry.variable && entry.epoch != epoch) return false;
    TCallSite site;
    site.item = i;
    site.stack = entries;
    site.operands = operands;
    site.expected = expected;
    site.target = static_cast<uint16_t>(NewRegister());
    site.companion = static_cast<uint16_t>(program.companions++);
    site.op = -1;
    site.direct = e.items[i].kind == ekExternalFunction && operands <= kDirectArguments;
    for (size_t k = entries.size() - static_cast<size_t>(operands); k < entries.size(); ++k)
        site.direct = site.direct && !entries[k].opaque;
    if (site.direct) site.function = e.items[i].value.code.index;
    TStep step = MakeStep(scCall, site.target, 0, 0);
    step.aux.index = static_cast<int32_t>(program.calls.size());
    program.calls.push_back(std::move(site));
    Emit(step);
    entries.resize(entries.size() - static_cast<size_t>(operands));
    TEntry result{};
    result.kind = expected;
    result.image = MakeItem(expected);
    result.reg = program.calls.back().target;
    result.source = rsCompanion;
    result.companion = program.calls.back().companion;
    entries.push_back(result);
    ++epoch;  // anything may have changed: variables are read again
    return true;
}

// A call of a built-in or list function, folded when it is pure and its
// arguments are constants (numbers or string constants).
bool TDecoder::Call(int i, int operands, TExpressionItemType expected, bool pure) {
    if (operands < 0 || entries.size() < static_cast<size_t>(operands)) return false;
    bool constant = pure;
    for (size_t k = entries.size() - static_cast<size_t>(operands); k < entries.size(); ++k) {
        const TEntry& entry = entries[k];
        constant = constant && (entry.opaque ? entry.kind == ekOwnedText : entry.constant);
    }
    if (constant) {
        const TFolded folded = Fold(i, operands);
        if (folded.done) {
            entries.resize(entries.size() - static_cast<size_t>(operands));
            PushConstant(folded.image);
            return true;
        }
    }
    return CallSite(i, operands, expected);
}

bool TDecoder::Item(int i) {
    const EXPRESSION_ITEM& item = e.items[i];
    switch (item.kind) {
        case ekInteger:
        case ekReal: return Literal(item);
        case ekVariable: return item.value.variable.byReference ? Opaque(i, false) : Variable(i);
        case ekArray:
        case ekArray2:
        case ekOwnedText:
        case ekSubExpression: return Opaque(i, false);
        case ekBinaryOperator: return BinaryOperator(i);
        case ekUnaryOperator: return UnaryOperator(i);
        case ekSimpleFunction: return SimpleFunction(i);
        case ekElement:
        case ekElement2: return Element(i);
        case ekBuiltinFunction: {
            const TMultiFunction* entry = MultiFunctions()[item.value.code.index];
            if (entry == nullptr) return false;
            return Call(i, entry->GetCount(), entry->pushedKind, (entry->flags & bfImpure) == 0);
        }
        case ekListFunction: {
            const TVarFunction* entry = VarFunctions()[item.value.code.index];
            if (entry == nullptr) return false;
            return Call(i, item.value.code.argumentCount, entry->resultType, (entry->flags & bfImpure) == 0);
        }
        case ekExternalFunction: {
            const TExtFunction* function = ExtFunctions()[item.value.code.index];
            return function != nullptr && CallSite(i, function->GetCount(), function->result);
        }
        case ekCustomFunction: {
            const TCustomFunction* function = FindCustomFunction(item.value.code.index);
            return function != nullptr && CallSite(i, function->GetCount(), function->result);
        }
        case ekFieldSelector:
        case ekCustomOperator:
        case ekError: return false;
        default: return true;  // the loop does nothing with it
    }
}

// Whether item i stands for a text in the loop's containment shortcut.
bool TDecoder::ReadsText(const EXPRESSION_ITEM& item) const {
    if (IsTextKind(item.kind)) return true;
    if (item.kind != ekVariable || item.value.variable.byReference) return false;
    const TVariable* v = VariableAt(item.value.variable);
    return v != nullptr && v->type == vtString;
}

// The loop answers text, text, then "strcont", "[]=" or "[]!=" at once; such
// expressions are left to it.
bool TDecoder::HasContainmentShortcut() const {
    for (int i = 0; i + 2 < e.count; ++i) {
        const EXPRESSION_ITEM& test = e.items[i + 2];
        const bool isTest = (test.kind == ekBuiltinFunction && test.value.code.index == kStrContBuiltinIndex) ||
                            (test.kind == ekBinaryOperator &&
                             (test.value.code.index == opContains || test.value.code.index == opNotContains));
        if (isTest && ReadsText(e.items[i]) && ReadsText(e.items[i + 1])) return true;
    }
    return false;
}

bool TDecoder::Decode() {
    if (e.count < 1 || e.items == nullptr || HasContainmentShortcut()) return false;
    program.steps.reserve(static_cast<size_t>(e.count) + 1);
    entries.reserve(static_cast<size_t>(e.count));
    for (int i = 0; i < e.count; ++i) {
        if (!Item(i)) return false;
        if (entries.size() > static_cast<size_t>(TDecodedExpression::kMaxDepth)) return false;
        if (program.registers >= kMaxRegisters || program.companions >= kMaxRegisters) return false;
    }
    if (entries.size() != 1 || entries.back().opaque) return false;
    program.result = entries.back();
    // Bindings read by no step before the first side effect read into the spare register.
    for (TBinding& binding : program.bindings)
        if (loaded.find(std::make_pair(static_cast<int>(&binding - program.bindings.data()), 0)) == loaded.end())
            binding.load = static_cast<uint16_t>(program.registers);
    program.steps.push_back(MakeStep(scEnd, 0, 0, 0));
    program.bindingCount = static_cast<int>(program.bindings.size());
    return true;
}

}  // namespace

TDecodedExpression::TDecodedExpression(EXPRESSION& e, TVariableList& list, TEvalStack& stack)
    : owner(EvaluatingThread()) {
    Decode(e, list, stack);
}

void TDecodedExpression::Decode(EXPRESSION& e, TVariableList& list, TEvalStack& stack) {
    straight.reset();
    keptStraight.reset();
    program.reset(new TProgram);
    TDecoder decoder(e, list, stack, *program);
    usable = decoder.Decode();
    dependsOnList = !usable && decoder.DependsOnList();
    frames.clear();
    firstFrame = nullptr;
    if (usable) {
        DeeperFrame();
        straight = TStraightProgram::Make(*program, *firstFrame);
        if (straight != nullptr) straight->CountRunsIn(depth);
    }
    // Other threads read these two while the owner makes the form again
    // (and find neither equal to themselves either way).
    __atomic_store_n(&ready, usable ? owner : nullptr, __ATOMIC_RELAXED);
    __atomic_store_n(&straightOwner, straight != nullptr ? owner : nullptr, __ATOMIC_RELAXED);
    straightChecked = 0;
    // The families the steps stand for must be the library's own; the others
    // are taken as they are now.
    operations = &CurrentOperations();
    expected = *operations;
    if (program->usesBinary) expected.binaryOperator = ApplyBinaryOperator;
    if (program->usesUnary) expected.unaryOperator = ApplyUnaryOperator;
    if (program->usesFunctions) expected.simpleFunction = ApplySimpleFunction;
}

TDecodedExpression::~TDecodedExpression() = default;
