#pragma once
// The device side of the online loop view: the ModBus requests of its polls and writes, the
// reading of the replies into the online table of TProgRegClass, and the panel look a loop's
// state byte gives.
//
// Device map, loop k (0..5): SP, OUT, PV as IEEE floats in holding registers 672 + 6k, 674 + 6k,
// 676 + 6k (the float's bytes most significant first); state coils 784 + 8k .. 791 + 8k (bit 0
// hand/auto, 1 = auto; bit 1 AP; bit 6 output state; bit 7 input state); "+" coil 104 + k, "-"
// coil 112 + k.

#include <QColor>
#include <cstdint>
#include <span>
#include <vector>

class TProgRegClass;

namespace LoopOnline {

constexpr int PollPeriodMs = 3000;
constexpr int ValueCount = 18; // SP, OUT, PV of six loops
constexpr int ValuesReplySize = 3 + 4 * ValueCount + 2;
constexpr int StatesReplySize = 3 + 6 + 2;
constexpr int WriteReplySize = 8;

constexpr int HandAutoCoil(int k) {
    return 784 + 8 * k;
}
constexpr int APCoil(int k) {
    return 785 + 8 * k;
}
constexpr int PlusCoil(int k) {
    return 104 + k;
}
constexpr int MinusCoil(int k) {
    return 112 + k;
}
constexpr int SPRegister(int k) {
    return 672 + 6 * k;
}
constexpr int OUTRegister(int k) {
    return 674 + 6 * k;
}

// Request data: function 3 (36 registers from 672), function 1 (48 coils from 784), function 5
// (one coil), function 16 (one float in two registers).
std::vector<uint8_t> ReadValuesData();
std::vector<uint8_t> ReadStatesData();
std::vector<uint8_t> CoilData(int coil, bool on);
std::vector<uint8_t> FloatData(int reg, float value);

// The replies into the online table; false, changing nothing, for a reply too short.
bool TakeValues(TProgRegClass& reg, std::span<const uint8_t> reply);
bool TakeStates(TProgRegClass& reg, std::span<const uint8_t> reply);

struct PanelLook {
    QColor in, out;
    bool handAuto = false; // the hand/auto button down (auto)
    bool ap = false;       // the AP button down
};
PanelLook LookOf(int stateByte);

} // namespace LoopOnline
