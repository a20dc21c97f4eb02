#include "LiveViewKit.h"

#include "Comportclass.h"
#include "Configuration.h"
#include "LocalNetwork.h"
#include "ModbusFrame.h"

#include <algorithm>

namespace LiveViews {

namespace {
constexpr int ReplyData = 3; // address, function, byte count
constexpr int FrameTail = 2; // CRC
} // namespace

PollRequest ReadBits(int devNum, int function, int start, int count) {
    const std::vector<uint8_t> data{uint8_t(start >> 8), uint8_t(start), uint8_t(count >> 8), uint8_t(count)};
    return PollFrame(devNum, function, data, ReplyData + (count + 7) / 8 + FrameTail);
}

bool Bit(const std::vector<uint8_t>& reply, int i) {
    const size_t k = size_t(ReplyData + i / 8);
    return i >= 0 && k < reply.size() && (reply[k] >> (i % 8)) & 1;
}

QStringList BitTexts(const std::vector<uint8_t>& reply, int count, const QString& on, const QString& off) {
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << (Bit(reply, i) ? on : off);
    return texts;
}

std::vector<PollRequest> AnalogueRequests(int devNum, int first, int count) {
    std::vector<PollRequest> requests;
    for (int done = 0; done < count; done += MaxGEntries) {
        const int n = std::min(MaxGEntries, count - done);
        requests.push_back(PollFrame(devNum, Frame::LiveValues, {uint8_t(first + done), uint8_t(n)},
                                     ReplyData + GEntry::Size * n + FrameTail));
    }
    return requests;
}

bool TakeAnalogueReplies(TConfiguration& cfg, int first, int count, const PollReplies& replies) {
    size_t k = 0;
    for (int done = 0; done < count; done += MaxGEntries, ++k) {
        const int n = std::min(MaxGEntries, count - done);
        if (k >= replies.size() || !cfg.MBM.TakeSensorTypesFromReply(first + done, n, replies[k]))
            return false;
    }
    return true;
}

std::vector<PollRequest> NetDiscreteRequests(int devNum, int start, int count) {
    return {ReadBits(devNum, Frame::ReadDiscreteInputs, start, count),
            ReadBits(devNum, Frame::ReadCoils, start + NetValidityOffset, count)};
}

std::vector<PollRequest> ControllerInputRequests(int devNum) {
    return {ReadBits(devNum, Frame::ReadCoils, HealthCoils, HealthCount),
            ReadBits(devNum, Frame::ReadDiscreteInputs, 0, ControllerInputs),
            ReadBits(devNum, Frame::ReadCoils, ControllerValidity, ControllerInputs)};
}

std::vector<PollRequest> OutputRequests(int devNum) {
    return {ReadBits(devNum, Frame::ReadCoils, 0, Outputs)};
}

int NetDiscreteCount(const TConfiguration& cfg, int i) {
    const int code = cfg.MBM.GetKodF(i);
    return std::min(MaxNetSignals, LocalNet::DiscreteNeed(code, cfg.MBM.GetKolVh(i)));
}

QString SlaveTypeText(const TConfiguration& cfg, int i) {
    const int type = cfg.MBM.GetTipUstr(i);
    if (type == LocalNet::Others) return QStringLiteral("не определен");
    return LocalNet::SlaveTypeItems().value(type);
}

int DiscreteOutputsBefore(const TConfiguration& cfg, int k) {
    int n = 0;
    for (int i = 0; i < k; ++i)
        if (LocalNet::IsDiscreteCode(cfg.MBM.GetKodF(i))) n += cfg.MBM.GetKolVh(i);
    return n;
}

} // namespace LiveViews
