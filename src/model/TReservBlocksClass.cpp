#include "TReservBlocksClass.h"

namespace {
bool InRange(int i, int n) {
    return i >= 0 && i < n;
}
} // namespace

TReservBlocksClass::TReservBlocksClass() {
    ResetAlgorithms();
}

void TReservBlocksClass::ResetAlgorithms() {
    AlgReserve.Reset();
    algNames_.Fill(' ');
}

int TReservBlocksClass::GetModuleType(int m) const {
    return InRange(m, 8) ? moduleTypes_[m] : 0;
}
void TReservBlocksClass::SetModuleType(int m, int v) {
    if (InRange(m, 8)) moduleTypes_[m] = v;
}

InputTextRow TReservBlocksClass::GetInputTextRow(int i) const {
    return InRange(i, 192) ? inputTexts_[i] : InputTextRow{};
}

void TReservBlocksClass::SetInputTextRow(int i, const InputTextRow& row) {
    if (InRange(i, 192)) inputTexts_[i] = row;
}
