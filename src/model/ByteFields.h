#pragma once
// Small helpers for the bit fields and 16-bit fields of device records.
// The configuration's own 16-bit fields are little-endian.

#include <cstdint>
#include <span>

namespace ByteFields {

// Bits [shift, shift + width) of a byte.
constexpr int GetBits(uint8_t byte, int shift, int width) {
    return (byte >> shift) & ((1 << width) - 1);
}

// Replaces bits [shift, shift + width) by the low bits of value, keeping the others.
constexpr void SetBits(uint8_t& byte, int shift, int width, int value) {
    const int mask = ((1 << width) - 1) << shift;
    byte = uint8_t((byte & ~mask) | ((value << shift) & mask));
}

inline uint16_t GetU16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline int16_t GetI16(const uint8_t* p) {
    return int16_t(GetU16(p));
}
inline void SetU16(uint8_t* p, int value) {
    p[0] = uint8_t(value & 0xFF);
    p[1] = uint8_t((value >> 8) & 0xFF);
}

// A field of a device record, described once as a constant: Width bits from bit Shift of the byte
// at Offset, or the little-endian 16-bit word at Offset. A flag stores any non-zero value as 1.
// A repeated field stands for Count elements; At(n) is element n, or no field for n outside
// 0..Count − 1. No field, like a null record, reads 0 and is not written.
enum class FieldKind { Bits, Flag, Int16, Uint16 };

struct Field {
    FieldKind Kind = FieldKind::Bits;
    int Offset = 0;
    int Shift = 0;
    int Width = 0; // 0: no field
    int Count = 1;
    int StepBytes = 0;
    int StepBits = 0;

    // Count elements, each the given bytes and bits after the one before.
    constexpr Field Repeated(int count, int bytes, int bits = 0) const {
        return {Kind, Offset, Shift, Width, count, bytes, bits};
    }
    constexpr Field At(int n) const {
        if (n < 0 || n >= Count) return {};
        const int bit = Shift + n * StepBits;
        return {Kind, Offset + n * StepBytes + bit / 8, bit % 8, Width};
    }
};

constexpr Field Bits(int offset, int shift, int width) {
    return {FieldKind::Bits, offset, shift, width};
}
constexpr Field Byte(int offset) {
    return Bits(offset, 0, 8);
}
constexpr Field Flag(int offset, int bit) {
    return {FieldKind::Flag, offset, bit, 1};
}
constexpr Field Int16(int offset) {
    return {FieldKind::Int16, offset, 0, 16};
}
constexpr Field Uint16(int offset) {
    return {FieldKind::Uint16, offset, 0, 16};
}

inline int ReadField(const uint8_t* record, Field f) {
    if (!record || f.Width == 0) return 0;
    const uint8_t* p = record + f.Offset;
    switch (f.Kind) {
    case FieldKind::Int16:
        return GetI16(p);
    case FieldKind::Uint16:
        return GetU16(p);
    default:
        return GetBits(*p, f.Shift, f.Width);
    }
}

inline void WriteField(uint8_t* record, Field f, int value) {
    if (!record || f.Width == 0) return;
    uint8_t* p = record + f.Offset;
    switch (f.Kind) {
    case FieldKind::Int16:
    case FieldKind::Uint16:
        SetU16(p, value);
        break;
    case FieldKind::Flag:
        SetBits(*p, f.Shift, 1, value != 0);
        break;
    default:
        SetBits(*p, f.Shift, f.Width, value);
    }
}

// The reply's bytes from offset on, or an empty span when the reply holds fewer than need of them.
inline std::span<const uint8_t> ReplyData(std::span<const uint8_t> reply, int offset, int need) {
    if (offset < 3 || need < 0 || reply.size() < size_t(offset) + size_t(need)) return {};
    // Byte 2 counts the bytes the device sent after it: the rest of the buffer is not the reply.
    if (3 + int(reply[2]) < offset + need) return {};
    return reply.subspan(size_t(offset), size_t(need));
}

} // namespace ByteFields
