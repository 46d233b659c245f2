// The arrays the evaluation tests read: v, five integers 1, 11, 21, 31, 41; w, four reals -1, -0.5, 0, 0.5; m, three lines of four integers 0.
#pragma once

#include <cstdint>

#include "Variables.h"

inline void AddTestArrays(TVariableList& list) {
    list.NewArray("v", vtInt, false);
    list.ResizeArray("v", 5);
    for (int k = 0; k < 5; ++k) *static_cast<int64_t*>(list.GetArrayItem("v", k)) = 10 * k + 1;
    list.NewArray("w", vtDouble, false);
    list.ResizeArray("w", 4);
    for (int k = 0; k < 4; ++k) *static_cast<double*>(list.GetArrayItem("w", k)) = 0.5 * k - 1.0;
    list.NewArray2("m", vtInt, false);
    list.ResizeArray2("m", 3, 4);
}
