#include "BlockExchange.h"

#include "Comportclass.h"
#include "DeviceLayouts.h"
#include "ModbusFrame.h"

#include <algorithm>
#include <array>
#include <cstring>

int ReadBlock(TComPortClass& port, int devNum, int blockId, std::span<uint8_t> reply) {
    const uint8_t id = uint8_t(blockId);
    const int r = port.Obmen(devNum, Frame::ReadBlock, 1, &id, reply);
    if (r != 0) return r;
    const int len = DeviceBlocks::LengthOf(blockId);
    if (len == 0 || reply.size() < 4 || reply[2] != len || reply[3] != id) return ObmBadLength;
    return 0;
}

int ReadComposition(TComPortClass& port, int devNum, uint8_t out[15]) {
    std::array<uint8_t, Composition::Size + 5> reply{};
    const int r = port.Obmen(devNum, Frame::Identify, 0, nullptr, reply);
    if (r != 0) return r;
    if (reply[2] != Composition::Size) return ObmBadLength;
    std::memcpy(out, reply.data() + 3, Composition::Size);
    return 0;
}

namespace {

bool Final(int r) {
    return r == 7 || r == ObmNoReply || (r >= ObmOtherAddress && r <= ObmPortLost) || r == ObmNoPort;
}

// Status polls after a write: 0 stored, 6 still busy past the limit, else the failure.
int Commit(TComPortClass& port, int devNum, const BlockWritePlan& plan) {
    std::array<uint8_t, 8> reply{};
    const int maxPolls = 1 + plan.busyLimitMs / std::max(1, plan.pollPauseMs);
    int r = ObmBusy;
    for (int poll = 0; poll < maxPolls; ++poll) {
        if (poll > 0) port.Delay(plan.pollPauseMs);
        r = port.Obmen(devNum, Frame::Status, 0, nullptr, reply);
        if (r != ObmBusy) break;
    }
    return r;
}

int WriteBlocks(TComPortClass& port, int& devNum, const BlockWritePlan& plan,
                const TransferProgress& progress) {
    ProgressCounter counter(progress, plan.progressMax);
    counter.Start();
    std::array<uint8_t, Frame::MaxData> data{};
    std::array<uint8_t, Frame::MaxFrame> reply{};
    bool firstWrite = true;
    int r = 0;
    for (int i = 0; i < int(plan.blockIds.size()) && r == 0; ++i) {
        const int id = plan.blockIds[size_t(i)];
        const int len =
            std::clamp(plan.lengthByte ? plan.lengthByte(i) : DeviceBlocks::LengthOf(id), 1, Frame::MaxData);
        if (plan.pauseBeforeBlockMs > 0) port.Delay(plan.pauseBeforeBlockMs);
        if (i == 0 && plan.stepBeforeFirstWrite) counter.Step(plan.progressStep);
        for (int attempts = port.GetPovt1();;) {
            data[0] = uint8_t(id);
            if (plan.pack) plan.pack(i, std::span<uint8_t>(data.data() + 1, size_t(len - 1)));
            r = port.Obmen(devNum, Frame::WriteBlock, len, data.data(), reply);
            if (plan.devAddr && (plan.refresh == DevNumRefresh::AfterEachWrite ||
                                 (plan.refresh == DevNumRefresh::AfterFirstWrite && firstWrite)))
                devNum = plan.devAddr();
            firstWrite = false;
            counter.Step(plan.progressStep);
            // A write the device did not take is a failed attempt: no status poll follows it.
            bool busyTooLong = false;
            if (r == 0) {
                port.Delay(plan.pauseAfterWriteMs);
                r = Commit(port, devNum, plan);
                busyTooLong = r == ObmBusy;
            }
            if (r == 0 || Final(r) || busyTooLong) break;
            port.Delay(plan.pollPauseMs);
            if (--attempts <= 0) break;
        }
        if (r == 0 && plan.stored) plan.stored(i);
    }
    return r;
}

} // namespace

int BlockWriteCommit(TComPortClass& port, int& devNum, const BlockWritePlan& plan,
                     const TransferProgress& progress) {
    return port.Run([&] { return WriteBlocks(port, devNum, plan, progress); });
}
