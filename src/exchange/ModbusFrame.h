#pragma once
// Frame building and checking of the device protocol: address, function, data, CRC-16 with the
// ModBus polynomial, low byte first. Pure functions, shared with the device simulator.

#include <cstdint>
#include <span>
#include <vector>

namespace Frame {

// Function codes the exchange sends.
enum : int {
    ReadCoils = 1,
    ReadDiscreteInputs = 2,
    ReadHoldingRegisters = 3,
    ReadInputRegisters = 4,
    WriteSingleCoil = 5,
    Status = 0x0E,
    WriteMultipleCoils = 15,
    WriteMultipleRegisters = 16,
    // Identify: ModBus "report server ID"; the reply data are the 15-byte composition record.
    Identify = 0x11,
    ReadBlock = 'D',
    WriteBlock = 'E',
    Broadcast = 'F',
    LiveValues = 'G',
};

constexpr int MaxFrame = 256;
constexpr int MaxData = MaxFrame - 4; // address, function and the two CRC bytes

bool Allowed(int function);

uint16_t Crc16(std::span<const uint8_t> bytes);

// Address, function, data and CRC.
std::vector<uint8_t> Build(int address, int function, std::span<const uint8_t> data);

// True when the last two bytes are the CRC of the ones before them.
bool CrcOk(std::span<const uint8_t> frame);

// Length of a normal reply, known once `head` holds its first three bytes (address, function,
// byte count): the request's own length for functions 5 and 14, 8 for 15 and 16, else the byte
// count + 5. An exception reply (function | 0x80) is 5 bytes.
int ReplyLength(int function, int requestLength, std::span<const uint8_t> head);

// The byte count (byte 2) a read's reply must carry, from the request data (start, count, both
// big-endian): ceil(count / 8) for functions 1 and 2, 2 × count for 3 and 4; −1 for any other
// function or request, whose replies the caller checks itself.
int ReadByteCount(int function, std::span<const uint8_t> requestData);

} // namespace Frame
