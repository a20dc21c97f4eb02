#pragma once
// The device's 3-byte floating-point number.
//
// Layout, as stored in records and blocks:
//   byte 0  mantissa, low byte
//   byte 1  mantissa, high byte (16-bit two's complement)
//   byte 2  exponent, signed 8-bit
// value = mantissa / 32768 × 2^exponent.
// A canonical number has its mantissa normalised to 16384..32767 or −32767..−16384 (so that
// the fraction lies in [0.5, 1) or (−1, −0.5]); zero is all three bytes 0. Every canonical
// pattern converts to a single-precision float and back unchanged.

#include <QString>
#include <cstdint>
#include <optional>

namespace Float24 {

constexpr int Size = 3;

float ToFloat(const uint8_t* bytes);

// Converts with the mantissa rounded to 16 bits. Values too small for the format become 0;
// values too large, infinities and NaN give false and leave bytes unchanged.
bool FromFloat(float value, uint8_t* bytes);

// The decimal text shown in the windows: the shortest decimal that reads back as the same
// number, with a decimal comma ("0,1", "-32767", "100").
QString ToText(const uint8_t* bytes);

// The same text for a value as the format holds it: the text of the number FromFloat stores for
// it, so a value taken from a record reads as that record's field does.
QString ValueText(float value);

// Parses a decimal number with a comma or a point, optionally signed, blanks around ignored.
// Returns false and leaves bytes unchanged on text that is not such a number or that the
// format cannot hold.
bool FromText(const QString& text, uint8_t* bytes);

} // namespace Float24
