#pragma once
// Function-block records as the scheme tests set them up.

#include "TProgFBClass.h"

#include <initializer_list>
#include <utility>

// A logic record of the given type with its inputs (kind, number), all direct.
inline void SetLogicRecord(TProgFBClass& fb, int i, int type,
                           std::initializer_list<std::pair<int, int>> inputs = {}) {
    fb.ClearRecord(i);
    fb.SetTypeByte(i, type);
    int j = 0;
    for (auto [kind, number] : inputs) {
        fb.SetInType(i, j, 1);
        fb.SetInKind(i, j, kind);
        fb.SetInNum(i, j, number);
        ++j;
    }
}
