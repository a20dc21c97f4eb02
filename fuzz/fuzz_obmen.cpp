// Device replies: the fuzz bytes are everything the line delivers after each request.
// Byte 0 picks the request (its top bit: mend the CRC at the end of the line, so that damaged
// lengths and fields get past the checksum), byte 1 the caller's reply buffer size (or the block
// number of a block read); the rest is the line.

#include "BlockExchange.h"
#include "FuzzLine.h"
#include "ModbusFrame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // Requests as the editors send them.
    static const std::vector<uint8_t> none;
    static const struct {
        int func;
        std::vector<uint8_t> data;
    } requests[] = {
        {Frame::ReadBlock, {99}},
        {Frame::WriteBlock, {99, 0x04}},
        {Frame::Status, none},
        {Frame::Identify, none},
        {Frame::LiveValues, {0x00, 0x06}},
        {Frame::ReadCoils, {0x00, 0x00, 0x00, 0x10}},
        {Frame::ReadHoldingRegisters, {0x02, 0xA0, 0x00, 0x0C}},
        {Frame::ReadInputRegisters, {0x00, 0x00, 0x00, 0x04}},
        {Frame::WriteSingleCoil, {0x00, 0x10, 0xFF, 0x00}},
        {Frame::WriteMultipleRegisters, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x00, 0x00, 0x42, 0xC8}},
    };
    constexpr int nRequests = int(sizeof requests / sizeof requests[0]);
    const int pick = (data[0] & 0x7F) % (nRequests + 2);
    std::vector<uint8_t> line(data + 2, data + size);
    if (data[0] & 0x80) MendCrc(line);
    FuzzPort fuzzPort({line}, false); // one stream: a retry reads the bytes that follow
    TComPortClass& port = fuzzPort.port;
    if (pick == nRequests) {
        std::vector<uint8_t> frame(Frame::MaxFrame);
        ReadBlock(port, 0, data[1], frame); // byte 1 is the block number here
    } else if (pick == nRequests + 1) {
        uint8_t composition[15];
        ReadComposition(port, 0, composition);
    } else {
        std::vector<uint8_t> reply(size_t(data[1]) + 1); // exact size, so that an overrun shows
        const auto& r = requests[pick];
        port.Obmen(0, r.func, int(r.data.size()), r.data.data(), reply);
    }
    return 0;
}
