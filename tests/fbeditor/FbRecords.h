#pragma once
// Function-block records and algorithm lists as the tests set them up and compare them.

#include "TProgFBClass.h"

#include <QString>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

using FbRecord = std::array<uint8_t, TProgFBClass::RecordLen>;

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

// Every record, the spare one too.
inline std::vector<FbRecord> AllRecords(const TProgFBClass& fb) {
    std::vector<FbRecord> all;
    for (int i = 0; i < TProgFBClass::Slots; ++i)
        all.push_back(fb.GetRecord(i));
    return all;
}

// Algorithm a's list, up to its end mark.
inline std::vector<int> AlgList(const TProgFBClass& fb, int a) {
    std::vector<int> list;
    for (int j = 0; j < fb.FBCount && fb.AlgTable.GetEntry(a, j) != TProgFBClass::AlgEnd; ++j)
        list.push_back(fb.AlgTable.GetEntry(a, j));
    return list;
}

// Algorithm a with its list and name; the count takes it in.
inline void SetAlgorithm(TProgFBClass& fb, int a, std::initializer_list<int> entries, const QString& name) {
    int j = 0;
    for (int e : entries)
        fb.AlgTable.SetEntry(a, j++, e);
    fb.AlgTable.SetCount(std::max(fb.AlgTable.GetCount(), a + 1));
    fb.SetFbText(a, name);
}
