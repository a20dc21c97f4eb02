#pragma once
// The 28-byte analogue channel shared by the module records and the network scaling groups:
//   byte 0      low nibble scale kind, high nibble unit index
//   byte 1      bits 0..2 input type, 0..5 standard range index, 4..5 dead band, 6 connection type
//   bytes 2..19 Float24 scale minimum, maximum, set points LL, L, H, HH
//   bytes 20..27 position text, 8 characters, blank padded

#include "ByteFields.h"
#include "Float24.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdint>

namespace AnChannelLayout {

constexpr int Size = 28;
constexpr ByteFields::Field ScaleKind = ByteFields::Bits(0, 0, 4), Unit = ByteFields::Bits(0, 4, 4);
constexpr ByteFields::Field InputType = ByteFields::Bits(1, 0, 3), RangeIndex = ByteFields::Bits(1, 0, 6);
constexpr ByteFields::Field DeadBand = ByteFields::Bits(1, 4, 2), Connection = ByteFields::Bits(1, 6, 1);
constexpr int NSk = 2, VSk = 5, UstLL = 8, UstL = 11, UstH = 14, UstHH = 17;
constexpr int Poz = 20;
constexpr int PozWidth = 8;

// The text of a Float24 field, empty for a missing channel.
inline QString FloatText(const uint8_t* ch, int offset) {
    return ch ? Float24::ToText(ch + offset) : QString();
}
inline bool SetFloatText(uint8_t* ch, int offset, const QString& text) {
    return ch && Float24::FromText(text, ch + offset);
}
inline float FloatValue(const uint8_t* ch, int offset) {
    return ch ? Float24::ToFloat(ch + offset) : 0.0f;
}
inline QString PozText(const uint8_t* ch) {
    return ch ? TextCodec::DecodeTrimmed(ch + Poz, PozWidth) : QString();
}
inline void SetPozText(uint8_t* ch, const QString& text) {
    if (ch) TextCodec::EncodePadded(text, ch + Poz, PozWidth);
}
inline void BlankPoz(uint8_t* ch) {
    std::fill_n(ch + Poz, PozWidth, uint8_t(' '));
}

} // namespace AnChannelLayout
