#include "RegOnlineKit.h"

#include "TProgRegClass.h"

#include <bit>

namespace LoopOnline {

namespace {

constexpr int FirstRegister = 672;
constexpr int RegisterCount = 2 * ValueCount;
constexpr int FirstStateCoil = 784;
constexpr int StateCoilCount = 48;
constexpr int ReplyData = 3;

std::vector<uint8_t> AddressAndCount(int address, int count) {
    return {uint8_t(address >> 8), uint8_t(address), uint8_t(count >> 8), uint8_t(count)};
}

} // namespace

std::vector<uint8_t> ReadValuesData() {
    return AddressAndCount(FirstRegister, RegisterCount);
}

std::vector<uint8_t> ReadStatesData() {
    return AddressAndCount(FirstStateCoil, StateCoilCount);
}

std::vector<uint8_t> CoilData(int coil, bool on) {
    return {uint8_t(coil >> 8), uint8_t(coil), uint8_t(on ? 0xFF : 0x00), 0x00};
}

std::vector<uint8_t> FloatData(int reg, float value) {
    std::vector<uint8_t> data = AddressAndCount(reg, 2);
    data.push_back(4);
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        data.push_back(uint8_t(bits >> shift));
    return data;
}

bool TakeValues(TProgRegClass& reg, std::span<const uint8_t> reply) {
    if (reply.size() < size_t(ReplyData + 4 * ValueCount)) return false;
    for (int j = 0; j < ValueCount; ++j) {
        const uint8_t* b = reply.data() + ReplyData + 4 * j;
        const uint32_t bits = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
        reg.SetOnlineValue(j, std::bit_cast<float>(bits));
    }
    return true;
}

bool TakeStates(TProgRegClass& reg, std::span<const uint8_t> reply) {
    if (reply.size() < size_t(ReplyData + TProgRegClass::OnlineLoops)) return false;
    for (int k = 0; k < TProgRegClass::OnlineLoops; ++k)
        reg.SetStateByte(k, reply[size_t(ReplyData + k)]);
    return true;
}

PanelLook LookOf(int state) {
    const auto mark = [](bool on) { return on ? QColor(Qt::red) : QColor(Qt::green); };
    return PanelLook{mark(state & 0x80), mark(state & 0x40), (state & 0x01) != 0, (state & 0x02) != 0};
}

} // namespace LoopOnline
