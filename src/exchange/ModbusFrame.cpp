#include "ModbusFrame.h"

namespace Frame {

bool Allowed(int function) {
    switch (function) {
    case ReadCoils:
    case ReadDiscreteInputs:
    case ReadHoldingRegisters:
    case ReadInputRegisters:
    case WriteSingleCoil:
    case Status:
    case WriteMultipleCoils:
    case WriteMultipleRegisters:
    case Identify:
    case ReadBlock:
    case WriteBlock:
    case Broadcast:
    case LiveValues:
        return true;
    default:
        return false;
    }
}

uint16_t Crc16(std::span<const uint8_t> bytes) {
    uint16_t crc = 0xFFFF;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

std::vector<uint8_t> Build(int address, int function, std::span<const uint8_t> data) {
    std::vector<uint8_t> f;
    f.reserve(data.size() + 4);
    f.push_back(uint8_t(address));
    f.push_back(uint8_t(function));
    f.insert(f.end(), data.begin(), data.end());
    const uint16_t crc = Crc16(f);
    f.push_back(uint8_t(crc & 0xFF));
    f.push_back(uint8_t(crc >> 8));
    return f;
}

bool CrcOk(std::span<const uint8_t> frame) {
    if (frame.size() < 4) return false;
    const uint16_t crc = Crc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

int ReplyLength(int function, int requestLength, std::span<const uint8_t> head) {
    if (head.size() >= 2 && head[1] == uint8_t(function | 0x80)) return 5;
    if (function == WriteSingleCoil || function == Status) return requestLength;
    if (function == WriteMultipleCoils || function == WriteMultipleRegisters) return 8;
    return head.size() >= 3 ? head[2] + 5 : 0;
}

int ReadByteCount(int function, std::span<const uint8_t> requestData) {
    if (requestData.size() != 4) return -1;
    const int count = requestData[2] << 8 | requestData[3];
    switch (function) {
    case ReadCoils:
    case ReadDiscreteInputs:
        return (count + 7) / 8;
    case ReadHoldingRegisters:
    case ReadInputRegisters:
        return 2 * count;
    default:
        return -1;
    }
}

} // namespace Frame
