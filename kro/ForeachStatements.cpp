// The foreach family's compile handlers: foreach, foreach_getcount and foreach_setcount.
#include "LineScan.h"
#include "Statements.h"
#include "Variables.h"

namespace {

FOREACH_INFO* AddForeachToken(int type, TProgram& program) {
    FOREACH_INFO* info = new FOREACH_INFO;
    program.tokens.AddToken(type)->record.reset(info);
    return info;
}

// Levels from the top of the compile stack down to the innermost foreach
// (0: the top itself), or -1 when none lies above the program item.
int LevelsToForeach(const TCompileState& state) {
    const int count = state.stack.GetCount();
    for (int i = count - 1; i >= 1; --i)
        if (state.stack.At(i)->kind == bkForeach) return count - 1 - i;
    return -1;
}

TVariableType ArrayItemType(const TVariable& array) { return array.value.a.itemtype; }

}  // namespace

// A fourth part is refused like a missing one: the statement takes at most three.
bool CompileForeach(TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    if (parts.GetCount() < 2 || parts.GetCount() > 3) return Fail(state, keForeachParts);
    const int arrayPosition = Variables.GetVarIndex(parts[0]);
    if (arrayPosition < 0) return Fail(state, keForeachName);
    const TVariable* array = Variables[arrayPosition];
    if (array->type != vtArray) return Fail(state, keBadArrayType);
    const int itemPosition = Variables.GetVarIndex(parts[1]);
    if (itemPosition < 0) return Fail(state, keForeachName);
    const TVariable* item = Variables[itemPosition];
    if (item->type != ArrayItemType(*array)) return Fail(state, keForeachItemType);
    EXPRESSION step{0, nullptr};
    if (parts.GetCount() == 3 && !CompileExpression(parts[2], step)) return Fail(state, keForeachStep);
    const int index = program.tokens.GetCount();
    FOREACH_INFO* info = AddForeachToken(ttForeach, program);
    info->arrayIndex = Variables.V_Index(arrayPosition);
    info->arrayAbsolute = array->absolute ? 1 : 0;
    info->itemIndex = Variables.V_Index(itemPosition);
    info->itemAbsolute = item->absolute ? 1 : 0;
    info->step = step;
    state.stack.Push(bkForeach, index);
    return true;
}

bool CompileForeachGetCount(TString& rest, TCompileState& state, TProgram& program) {
    const int levels = LevelsToForeach(state);
    if (levels < 0) return Fail(state, keForeachPlace);
    const int position = Variables.GetVarIndex(rest);
    if (position < 0) return Fail(state, keForeachTarget);
    const TVariable* target = Variables[position];
    if (target->type != vtInt) return Fail(state, keForeachItemType);
    FOREACH_INFO* info = AddForeachToken(ttForeachGetCount, program);
    info->itemIndex = Variables.V_Index(position);
    info->itemAbsolute = target->absolute ? 1 : 0;
    info->levels = levels;
    return true;
}

bool CompileForeachSetCount(TString& rest, TCompileState& state, TProgram& program) {
    const int levels = LevelsToForeach(state);
    if (levels < 0) return Fail(state, keForeachPlace);
    EXPRESSION position;
    if (!CompileExpression(rest, position)) return Fail(state, keBadExpression);
    FOREACH_INFO* info = AddForeachToken(ttForeachSetCount, program);
    info->levels = levels;
    info->step = position;
    return true;
}
