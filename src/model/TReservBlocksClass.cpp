#include "TReservBlocksClass.h"

namespace {
bool InRange(int i, int n) { return i >= 0 && i < n; }
}

TReservBlocksClass::TReservBlocksClass() { ResetAlgorithms(); }

int TReservBlocksClass::GetAlgMark(int b) const { return InRange(b, FbSlots) ? algMarks_[b] : 0; }
void TReservBlocksClass::SetAlgMark(int b, int v) { if (InRange(b, FbSlots)) algMarks_[b] = v; }

int TReservBlocksClass::GetAlgEntry(int a, int j) const
{
    return InRange(a, FbSlots) && InRange(j, AlgListLen) ? algLists_[a][j] : 0;
}

void TReservBlocksClass::SetAlgEntry(int a, int j, int v)
{
    if (InRange(a, FbSlots) && InRange(j, AlgListLen)) algLists_[a][j] = v;
}

void TReservBlocksClass::ResetAlgorithms()
{
    algCount_ = 0;
    algMarks_.fill(AlgEnd);
    for (auto& row : algLists_) row.fill(AlgEnd);
    algNames_.Fill(' ');
}

int TReservBlocksClass::GetModuleType(int m) const { return InRange(m, 8) ? moduleTypes_[m] : 0; }
void TReservBlocksClass::SetModuleType(int m, int v) { if (InRange(m, 8)) moduleTypes_[m] = v; }

InputTextRow TReservBlocksClass::GetInputTextRow(int i) const
{
    return InRange(i, 192) ? inputTexts_[i] : InputTextRow{};
}

void TReservBlocksClass::SetInputTextRow(int i, const InputTextRow& row)
{
    if (InRange(i, 192)) inputTexts_[i] = row;
}
