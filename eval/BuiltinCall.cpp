// Argument access of a built-in call: conversions that tolerate any stack kind.
#include "BuiltinCall.h"

#include "StackRoutines.h"

const TString& TBuiltinCall::Text(int k) const {
    static const TString empty;
    const EXPRESSION_ITEM& item = Item(k);
    return IsTextItem(item) && item.value.text.text != nullptr ? *item.value.text.text : empty;
}

int64_t TBuiltinCall::Int(int k) const {
    const EXPRESSION_ITEM& item = Item(k);
    return IsNumberItem(item) ? ItemAsInt(item) : 0;
}

double TBuiltinCall::Real(int k) const {
    const EXPRESSION_ITEM& item = Item(k);
    return IsNumberItem(item) ? ItemAsReal(item) : 0.0;
}

VPOINT TBuiltinCall::Point(int k) const {
    const EXPRESSION_ITEM& item = Item(k);
    return item.kind == ekPoint ? item.value.point : VPOINT{0, 0};
}

VCOMPLEX TBuiltinCall::Complex(int k) const {
    const EXPRESSION_ITEM& item = Item(k);
    return item.kind == ekComplex ? item.value.complex : VCOMPLEX{0.0, 0.0};
}
