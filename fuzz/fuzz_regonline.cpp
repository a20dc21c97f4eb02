// The online loop view's poll: the fuzz bytes are the device's replies to one poll (values, then
// state coils), taken into the online table and turned into what the loop panels show. Byte 0
// bit 7 mends each reply's CRC; bytes 1..8 are a PV scale (two floats); the rest are the replies
// (see SplitChunks).

#include "FuzzLine.h"
#include "ModbusFrame.h"
#include "Panregvis.h"
#include "TProgRegClass.h"
#include "editors/regulators/RegOnlineKit.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t Head = 9;
    if (size < Head) return 0;
    float low, high;
    std::memcpy(&low, data + 1, 4);
    std::memcpy(&high, data + 5, 4);
    FuzzPort line(SplitChunks(data + Head, size - Head, data[0] & 0x80));
    line.OneAttempt();
    using namespace LoopOnline;
    const auto r =
        PollOnce(line.port, {PollFrame(0, Frame::ReadHoldingRegisters, ReadValuesData(), ValuesReplySize),
                             PollFrame(0, Frame::ReadCoils, ReadStatesData(), StatesReplySize)});
    TProgRegClass reg;
    if (!r || r->size() < 2 || !TakeValues(reg, r->at(0)) || !TakeStates(reg, r->at(1))) return 0;
    for (int k = 0; k < TProgRegClass::OnlineLoops; ++k) {
        for (const float v : {reg.GetOnlineSP(k), reg.GetOnlineOUT(k), reg.GetOnlinePV(k)}) {
            (void)TPanRegVis::ValueText(v);
            (void)TPanRegVis::BarShare(v, low, high);
            (void)TPanRegVis::BarShare(v, 0, 100);
        }
        (void)LookOf(reg.GetStateByte(k));
    }
    return 0;
}
