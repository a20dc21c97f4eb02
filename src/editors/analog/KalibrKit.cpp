#include "KalibrKit.h"

#include "DeviceLayouts.h"
#include "ModbusFrame.h"
#include "TProgMBAClass.h"

#include <cmath>

namespace Calibration {

namespace {
constexpr int ReplyOverhead = 3 + 2; // address, function, byte count; CRC
}

std::vector<uint8_t> CoilData(int kind, int m, int channel, bool on) {
    return {uint8_t(kind), uint8_t(16 * m + channel), uint8_t(on ? 0xFF : 0x00), 0x00};
}

Requests RequestsOf(int devNum, int m, int code) {
    Requests r;
    r.adcCodes =
        PollFrame(devNum, Frame::LiveValues,
                  {uint8_t((m - 1) * TProgMBAClass::ChannelCount), uint8_t(TProgMBAClass::ChannelCount)},
                  ReplyOverhead + GEntry::Size * TProgMBAClass::ChannelCount);
    if (code == ThermocoupleCode)
        r.coldJunction = PollFrame(devNum, Frame::LiveValues, {uint8_t(m + GEntry::ColdJunctionBase - 1), 1},
                                   ReplyOverhead + GEntry::Size);
    r.rangeRecord = PollBlock(devNum, DeviceBlocks::RangeFirst - 1 + m);
    r.calib = PollFrame(devNum, Frame::ReadInputRegisters, {0x00, 0x00, 0x00, 0x04},
                        ReplyOverhead + CalibData::Size);
    return r;
}

PollRequest GoOnWithoutData(PollRequest request) {
    return [request = std::move(request)](TComPortClass& port, std::vector<uint8_t>& reply) {
        const int result = request(port, reply);
        if (result != 1 && result != 3) return result;
        reply.clear();
        return 0;
    };
}

std::vector<PollRequest> PollRequests(int devNum, int m, int code) {
    Requests r = RequestsOf(devNum, m, code);
    std::vector<PollRequest> list{r.adcCodes};
    if (r.coldJunction) list.push_back(r.coldJunction);
    list.push_back(GoOnWithoutData(r.rangeRecord));
    list.push_back(GoOnWithoutData(r.calib));
    return list;
}

bool TakePoll(TProgMBAClass& mba, int m, int code, const PollReplies& replies) {
    size_t i = 0;
    bool taken = true;
    const auto take = [&](const auto& into) {
        if (i >= replies.size()) {
            taken = false;
            return;
        }
        const std::vector<uint8_t>& r = replies[i++];
        if (!r.empty() && !into(r)) taken = false;
    };
    take([&](const auto& r) { return mba.TakeSensorTypesFromReply(r); });
    if (code == ThermocoupleCode) take([&](const auto& r) { return mba.TakeHeaderFromReply(r); });
    take([&](const auto& r) { return mba.TakeRangeRecordFromReply(m - 1, r); });
    take([&](const auto& r) { return mba.TakeCalibFromReply(r); });
    return taken;
}

int EqualScaleChannel(const TProgMBAClass& mba, int m0) {
    for (int c = 0; c < 4; ++c)
        if (std::trunc(mba.GetChVSk(m0, c)) == std::trunc(mba.GetChNSk(m0, c))) return c;
    return -1;
}

QString ScaleCheckText(int channel, int m) {
    return QStringLiteral("проверить шкалы анал. вх. ") + QString::number(channel + 1) +
           QStringLiteral(" мод ") + QString::number(m);
}

} // namespace Calibration
