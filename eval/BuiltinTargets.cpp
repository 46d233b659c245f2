// Targets of the built-ins that write through an argument's variable reference: a string variable or a point value.
#include "BuiltinTargets.h"

#include "EvaluateEngine.h"
#include "StackRoutines.h"

namespace {

// The variable argument k's reference names, whatever its type; null for a
// value that came from no variable or from a field of one.
TVariable* ReferencedVariable(const TBuiltinCall& call, int k) {
    if (k < 0 || k >= call.count) return nullptr;
    const VARINFO& ref = call.Item(k).ref;
    if (ref.index < 0 || ref.field != -1) return nullptr;
    return call.vars[ref.index];
}

}  // namespace

bool DesignatesStringVariable(const TBuiltinCall& call, int k) {
    const TVariable* v = ReferencedVariable(call, k);
    return v != nullptr && IsTextItem(call.Item(k)) && call.Item(k).ref.index1 == -1 && v->type == vtString &&
           v->value.s != nullptr;
}

TString* StringTarget(const TBuiltinCall& call, int k) {
    return DesignatesStringVariable(call, k) ? ReferencedVariable(call, k)->value.s : nullptr;
}

bool DesignatesPointValue(const TBuiltinCall& call, int k) {
    const TVariable* v = ReferencedVariable(call, k);
    if (v == nullptr || call.Item(k).kind != ekPoint) return false;
    const VARINFO& ref = call.Item(k).ref;
    if (ref.index1 == -1) return v->type == vtPoint;
    if (ref.index2 == -1) return v->type == vtArray && v->value.a.itemtype == vtPoint;
    return v->type == vtArray2 && v->value.a2.itemtype == vtPoint;
}

VPOINT* PointTarget(const TBuiltinCall& call, int k) {
    if (!DesignatesPointValue(call, k)) return nullptr;
    return static_cast<VPOINT*>(GetVarAddress(call.vars, call.Item(k).ref));
}
