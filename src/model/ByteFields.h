#pragma once
// Small helpers for the bit fields and 16-bit fields of device records.
// The configuration's own 16-bit fields are little-endian.

#include <cstdint>
#include <span>

namespace ByteFields {

// Bits [shift, shift + width) of a byte.
constexpr int GetBits(uint8_t byte, int shift, int width)
{
    return (byte >> shift) & ((1 << width) - 1);
}

// Replaces bits [shift, shift + width) by the low bits of value, keeping the others.
constexpr void SetBits(uint8_t& byte, int shift, int width, int value)
{
    const int mask = ((1 << width) - 1) << shift;
    byte = uint8_t((byte & ~mask) | ((value << shift) & mask));
}

inline uint16_t GetU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t GetI16(const uint8_t* p) { return int16_t(GetU16(p)); }
inline void SetU16(uint8_t* p, int value)
{
    p[0] = uint8_t(value & 0xFF);
    p[1] = uint8_t((value >> 8) & 0xFF);
}

// Field readers and writers at a record position, for RECORD_FIELD.
template <int Shift, int Width> int ReadBits(const uint8_t* p) { return GetBits(*p, Shift, Width); }
template <int Shift, int Width> void WriteBits(uint8_t* p, int v) { SetBits(*p, Shift, Width, v); }
inline int ReadI16(const uint8_t* p) { return GetI16(p); }
inline void WriteI16(uint8_t* p, int v) { SetU16(p, v); }

// The reply's bytes from offset on, or an empty span when the reply holds fewer than need of them.
inline std::span<const uint8_t> ReplyData(std::span<const uint8_t> reply, int offset, int need)
{
    if (offset < 3 || need < 0 || reply.size() < size_t(offset) + size_t(need))
        return {};
    // Byte 2 counts the bytes the device sent after it: the rest of the buffer is not the reply.
    if (3 + int(reply[2]) < offset + need)
        return {};
    return reply.subspan(size_t(offset), size_t(need));
}

} // namespace ByteFields

// Defines Class::GetName(int i) and Class::SetName SetParams (naming the record index i and the
// value v) for the field at offset of the record Rec(i) returns; a null record reads as 0 and
// is not written.
#define RECORD_FIELD(Class, Name, Rec, offset, Read, Write, SetParams)                                       \
    int Class::Get##Name(int i) const                                                                         \
    {                                                                                                         \
        const uint8_t* r = Rec(i);                                                                            \
        return r ? Read(r + (offset)) : 0;                                                                    \
    }                                                                                                         \
    void Class::Set##Name SetParams                                                                           \
    {                                                                                                         \
        if (uint8_t* r = Rec(i))                                                                              \
            Write(r + (offset), v);                                                                           \
    }
