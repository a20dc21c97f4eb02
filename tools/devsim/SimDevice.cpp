#include "SimDevice.h"

#include "SampleConfig.h"

#include "AnalogLists.h"
#include "ByteFields.h"
#include "Float24.h"
#include "TServClass.h"
#include "TextCodec.h"

#include "DeviceLayouts.h"
#include "ModbusFrame.h"

#include <QByteArray>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

int Be16(std::span<const uint8_t> d, int at) {
    return (d[size_t(at)] << 8) | d[size_t(at) + 1];
}

void PutText(std::vector<uint8_t>& block, size_t at, const char* utf8, size_t width) {
    if (at + width <= block.size())
        TextCodec::EncodePadded(QString::fromUtf8(utf8), block.data() + at, int(width));
}

} // namespace

SimDevice::SimDevice() {
    for (int id = 1; id <= DeviceBlocks::DeviceNumber; ++id) {
        const int len = DeviceBlocks::LengthOf(id);
        if (len > 0) blocks_[id] = std::vector<uint8_t>(size_t(len - 1), 0);
    }
    composition_[Composition::DevNum] = 0;
    SetSlotCodes(kSampleSlots);
    blocks_[DeviceBlocks::DeviceNumber][0] = 0;

    // The tool's own default unit list, which its analogue editor names the units by.
    auto& unitList = blocks_[DeviceBlocks::UnitList];
    std::fill(unitList.begin(), unitList.end(), uint8_t(' '));
    for (size_t i = 0; i < kDefaultUnitNames.size(); ++i)
        PutText(unitList, i * 6, kDefaultUnitNames[i], 6);
    for (int id = DeviceBlocks::NamesFirst; id <= DeviceBlocks::NamesLast; ++id)
        std::fill(blocks_[id].begin(), blocks_[id].end(), uint8_t(' '));
    SampleConfig::Fill(blocks_);
    for (int id = DeviceBlocks::RangeFirst; id <= DeviceBlocks::RangeLast; ++id) {
        auto& r = blocks_[id];
        r[RangeRecord::ModuleCode] = id == DeviceBlocks::RangeFirst ? 13 : 0;
        for (int row = 0; row < RangeRecord::Rows; ++row) {
            ByteFields::SetU16(r.data() + RangeRecord::MinCode(row), 4000);
            ByteFields::SetU16(r.data() + RangeRecord::MaxCode(row), 20000);
        }
    }
    for (int p = 0; p < int(analog_.size()); ++p)
        analog_[size_t(p)] = 20 + (p * 7) % 60;
    for (int loop = 0; loop < 6; ++loop) {
        SetLoopValue(loop, 0, 50.0f);
        SetLoopValue(loop, 1, 40.0f);
        SetLoopValue(loop, 2, 48.0f);
    }
}

void SimDevice::SetSlotCodes(const std::array<uint8_t, 8>& codes) {
    TServClass serv;
    for (int slot = 0; slot < 8; ++slot) {
        composition_[size_t(Composition::SlotCodes + slot)] = codes[size_t(slot)];
        serv.SetSlotModuleCode(slot + 1, codes[size_t(slot)]);
        coils_[size_t(ModuleHealth + slot)] = codes[size_t(slot)] == 0; // 0 healthy, 1 faulty or missing
    }
    composition_[Composition::DiscreteInputs] = uint8_t(serv.GetComposedDiscrInCount());
    composition_[Composition::AnalogueInputs] = uint8_t(serv.GetGroup6FChannels());
    const int relays = 8 * serv.GetCntModMR();
    composition_[Composition::RelayOutputs] = uint8_t(relays & 0xFF);
    composition_[Composition::RelayOutputs + 1] = uint8_t(relays >> 8);
}

void SimDevice::SetAddress(int a) {
    address_ = a;
    composition_[Composition::DevNum] = uint8_t(a - 1);
}

std::vector<std::vector<uint8_t>> SimDevice::ReceivedOf(int function) const {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& f : received_)
        if (f.size() >= 2 && f[1] == function) out.push_back(f);
    return out;
}

void SimDevice::ClearLog() {
    received_.clear();
    sent_.clear();
}

void SimDevice::SetInput(int position, double percent) {
    analog_[size_t(position & 0xFF)] = percent;
}

double SimDevice::Input(int position) const {
    return analog_[size_t(position & 0xFF)];
}

double SimDevice::LiveValue(int position) const {
    const int p = position & 0xFF;
    return analog_[size_t(p)] + (frozen_ ? 0.0 : std::sin(0.3 * phase_ + p));
}

int SimDevice::AdcCode(int position) const {
    return int(std::lround(4000 + 160 * LiveValue(position)));
}

float SimDevice::LoopValue(int loop, int which) const {
    const int r = LoopRegisters + 6 * loop + 2 * which;
    return std::bit_cast<float>(uint32_t(holding_[size_t(r)]) << 16 | holding_[size_t(r + 1)]);
}

void SimDevice::SetLoopValue(int loop, int which, float v) {
    const int r = LoopRegisters + 6 * loop + 2 * which;
    const uint32_t bits = std::bit_cast<uint32_t>(v);
    holding_[size_t(r)] = uint16_t(bits >> 16);
    holding_[size_t(r + 1)] = uint16_t(bits & 0xFFFF);
}

int SimDevice::RequestLength(std::span<const uint8_t> head) {
    if (head.size() < 2) return 0;
    switch (head[1]) {
    case Frame::ReadCoils:
    case Frame::ReadDiscreteInputs:
    case Frame::ReadHoldingRegisters:
    case Frame::ReadInputRegisters:
    case Frame::WriteSingleCoil:
    case 6:
        return 8;
    case Frame::WriteMultipleCoils:
    case Frame::WriteMultipleRegisters:
        return head.size() < 7 ? 0 : 9 + head[6];
    case Frame::Status:
    case Frame::Identify:
        return 4;
    case Frame::ReadBlock:
        return 5;
    case Frame::LiveValues:
        return 6;
    case Frame::WriteBlock: {
        if (head.size() < 3) return 0;
        const int len = DeviceBlocks::LengthOf(head[2]);
        return len > 0 ? len + 4 : -1;
    }
    default:
        return -1;
    }
}

std::vector<uint8_t> SimDevice::Reply(int function, std::span<const uint8_t> data) const {
    return Frame::Build(address_, function, data);
}

std::vector<uint8_t> SimDevice::Exception(int function, int code) const {
    const uint8_t c = uint8_t(code);
    return Frame::Build(address_, function | 0x80, std::span(&c, 1));
}

std::optional<std::vector<uint8_t>> SimDevice::Handle(std::span<const uint8_t> request) {
    received_.emplace_back(request.begin(), request.end());
    if (request.size() < 4 || !Frame::CrcOk(request) || request[0] != address_) return std::nullopt;
    const int function = request[1];
    const auto data = request.subspan(2, request.size() - 4);
    const int block =
        (function == Frame::ReadBlock || function == Frame::WriteBlock) && !data.empty() ? data[0] : -1;

    std::optional<std::vector<uint8_t>> reply;
    auto fault = std::find_if(plan_.faults.begin(), plan_.faults.end(), [&](const Fault& f) {
        return f.count != 0 && (f.function < 0 || f.function == function) &&
               (f.block < 0 || f.block == block);
    });
    if (fault == plan_.faults.end()) {
        reply = Answer(function, data);
    } else {
        if (fault->count > 0) --fault->count;
        switch (fault->kind) {
        case FaultKind::NoReply:
            break;
        case FaultKind::PortLost:
            portLost_ = true;
            break;
        case FaultKind::Exception:
            reply = Exception(function, fault->code);
            break;
        case FaultKind::BadCrc:
            reply = Answer(function, data);
            if (reply) reply->back() ^= 0x5A;
            break;
        case FaultKind::ShortReply:
            reply = Answer(function, data);
            if (reply) reply->resize(reply->size() / 2);
            break;
        }
    }
    if (reply && plan_.alter && plan_.alter(received_.back(), *reply) && reply->size() >= 2) {
        uint8_t* crc = reply->data() + reply->size() - 2;
        ByteFields::SetU16(crc, Frame::Crc16(std::span(reply->data(), reply->size() - 2)));
    }
    if (reply) sent_.push_back(*reply);
    return reply;
}

std::optional<std::vector<uint8_t>> SimDevice::Answer(int function, std::span<const uint8_t> data) {
    const auto isChunkRefused = [&](int id) {
        return plan_.sixtyBlocks && id >= 26 && id <= DeviceBlocks::FBLast;
    };
    switch (function) {
    case Frame::ReadBlock: {
        if (data.size() != 1) return Exception(function, 3);
        const int id = data[0];
        if (!blocks_.count(id)) return Exception(function, 2);
        if (isChunkRefused(id)) return Exception(function, 3);
        std::vector<uint8_t> d{uint8_t(DeviceBlocks::LengthOf(id)), uint8_t(id)};
        d.insert(d.end(), blocks_[id].begin(), blocks_[id].end());
        return Reply(function, d);
    }
    case Frame::WriteBlock: {
        if (data.empty()) return Exception(function, 3);
        const int id = data[0];
        if (!blocks_.count(id) || (id >= DeviceBlocks::RangeFirst && id <= DeviceBlocks::RangeLast))
            return Exception(function, 2);
        if (isChunkRefused(id) || int(data.size()) != DeviceBlocks::LengthOf(id))
            return Exception(function, 3);
        std::copy(data.begin() + 1, data.end(), blocks_[id].begin());
        busyLeft_ = plan_.busyPolls;
        const uint8_t d[2] = {1, uint8_t(id)};
        return Reply(function, d);
    }
    case Frame::Status:
        if (busyLeft_ != 0) {
            if (busyLeft_ > 0) --busyLeft_;
            return Exception(function, 6);
        }
        return Reply(function, {});
    case Frame::Identify: {
        std::vector<uint8_t> d{uint8_t(composition_.size())};
        d.insert(d.end(), composition_.begin(), composition_.end());
        return Reply(function, d);
    }
    case Frame::LiveValues:
        return LiveValues(data);
    case Frame::ReadCoils:
    case Frame::ReadDiscreteInputs:
    case Frame::ReadHoldingRegisters:
    case Frame::ReadInputRegisters:
        return ReadTable(function, data);
    case Frame::WriteSingleCoil: {
        if (data.size() != 4) return Exception(function, 3);
        const int v = Be16(data, 2);
        if (v != 0xFF00 && v != 0) return Exception(function, 3);
        WriteCoil(Be16(data, 0), v != 0);
        return Reply(function, data);
    }
    case Frame::WriteMultipleCoils:
    case Frame::WriteMultipleRegisters: {
        if (data.size() < 5) return Exception(function, 3);
        const int a = Be16(data, 0), n = Be16(data, 2);
        const bool coils = function == Frame::WriteMultipleCoils;
        const int bytes = coils ? (n + 7) / 8 : 2 * n;
        if (n < 1 || n > (coils ? 1968 : 123) || data[4] != bytes || int(data.size()) != 5 + bytes)
            return Exception(function, 3);
        if (a + n > 65536) return Exception(function, 2);
        for (int i = 0; i < n; ++i) {
            if (coils)
                WriteCoil(a + i, (data[size_t(5 + i / 8)] >> (i % 8)) & 1);
            else
                holding_[size_t(a + i)] = uint16_t(Be16(data, 5 + 2 * i));
        }
        return Reply(function, data.first(4));
    }
    case Frame::Broadcast:
        return std::nullopt;
    default:
        return Exception(function, 1);
    }
}

void SimDevice::WriteCoil(int a, bool on) {
    coils_[size_t(a)] = on;
    // Calibration coils: 0x10nn select or release, 0x11nn start of scale, 0x12nn end of scale,
    // nn = 16 × module + channel.
    const int kind = a >> 8, channel = a & 0x0F;
    if (kind == 0x10) {
        inputRegs_[CalibData::SelectedChannel] = on ? uint16_t(channel) : 0;
        if (!on) inputRegs_[CalibData::State] = 0;
    } else if ((kind == 0x11 || kind == 0x12) && on) {
        inputRegs_[CalibData::State] |= kind == 0x11 ? 1 : 2;
        inputRegs_[CalibData::LastResult] = 0;
        // The channel's code now becomes the MIN or MAX code of its row in the module's range
        // record: channels 1..6 read at 'G' position 6 (module − 1) + channel − 1, channel 7 (the
        // cold junction) at module + 127.
        const int module = (a >> 4) & 0x0F;
        if (module >= 1 && module <= 8 && channel >= 1 && channel <= RangeRecord::Rows) {
            const int position = channel == RangeRecord::Rows ? module + GEntry::ColdJunctionBase - 1
                                                              : 6 * (module - 1) + channel - 1;
            const int row = channel - 1;
            uint8_t* record = blocks_[DeviceBlocks::RangeFirst - 1 + module].data();
            ByteFields::SetU16(record +
                                   (kind == 0x11 ? RangeRecord::MinCode(row) : RangeRecord::MaxCode(row)),
                               AdcCode(position));
        }
    }
}

void SimDevice::Move() {
    if (frozen_) return;
    ++phase_;
    for (int i = 0; i < 6; ++i)
        inputs_[size_t(i)] = ((phase_ / 4) >> i) & 1;
    for (int loop = 0; loop < 6; ++loop)
        SetLoopValue(loop, 2, LoopValue(loop, 0) + float(2 * std::sin(0.3 * phase_ + loop)));
}

std::vector<uint8_t> SimDevice::ReadTable(int function, std::span<const uint8_t> data) {
    const bool bitTable = function == Frame::ReadCoils || function == Frame::ReadDiscreteInputs;
    if (data.size() != 4) return Exception(function, 3);
    const int a = Be16(data, 0), n = Be16(data, 2);
    if (n < 1 || n > (bitTable ? 2000 : 125)) return Exception(function, 3);
    if (a + n > 65536) return Exception(function, 2);
    Move();
    std::vector<uint8_t> d(size_t(1 + (bitTable ? (n + 7) / 8 : 2 * n)), 0);
    d[0] = uint8_t(d.size() - 1);
    const auto& bits = function == Frame::ReadCoils ? coils_ : inputs_;
    const auto& regs = function == Frame::ReadHoldingRegisters ? holding_ : inputRegs_;
    for (int i = 0; i < n; ++i) {
        if (bitTable) {
            if (bits[size_t(a + i)]) d[size_t(1 + i / 8)] |= uint8_t(1 << (i % 8));
        } else {
            d[size_t(1 + 2 * i)] = uint8_t(regs[size_t(a + i)] >> 8);
            d[size_t(2 + 2 * i)] = uint8_t(regs[size_t(a + i)] & 0xFF);
        }
    }
    return Reply(function, d);
}

std::vector<uint8_t> SimDevice::LiveValues(std::span<const uint8_t> data) {
    if (data.size() != 2 || data[1] < 1 || data[1] > GEntry::MaxPerRequest)
        return Exception(Frame::LiveValues, 3);
    Move();
    const int first = data[0], n = data[1];
    std::vector<uint8_t> d(size_t(1 + GEntry::Size * n), 0);
    d[0] = uint8_t(GEntry::Size * n);
    for (int i = 0; i < n; ++i) {
        const int p = (first + i) & 0xFF;
        const double v = LiveValue(p);
        uint8_t* e = d.data() + 1 + GEntry::Size * i;
        ByteFields::SetU16(e + GEntry::AdcCode, AdcCode(p));
        Float24::FromFloat(float(v), e + GEntry::Value);
        ByteFields::SetU16(e + GEntry::Percent, int(std::lround(10 * v)));
        e[GEntry::Flags] = uint8_t((v < 10 ? GEntry::FlagBelowL : 0) | (v > 90 ? GEntry::FlagAboveH : 0));
    }
    return Reply(Frame::LiveValues, d);
}
