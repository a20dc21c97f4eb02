#pragma once
// Rewrites the last two bytes as the CRC of the ones before them, so that a mutated frame gets
// past the checksum to the checks behind it.

#include "ModbusFrame.h"

#include <cstdint>
#include <span>
#include <vector>

inline void MendCrc(std::vector<uint8_t>& frame) {
    if (frame.size() < 2) return;
    const uint16_t crc = Frame::Crc16(std::span(frame.data(), frame.size() - 2));
    frame[frame.size() - 2] = uint8_t(crc & 0xFF);
    frame[frame.size() - 1] = uint8_t(crc >> 8);
}
