#pragma once
// The 28-byte analogue channel shared by the module records and the network scaling groups:
//   byte 0      low nibble scale kind, high nibble unit index
//   byte 1      input type and range bits
//   bytes 2..19 Float24 scale minimum, maximum, set points LL, L, H, HH
//   bytes 20..27 position text, 8 characters, blank padded

#include "Float24.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdint>

namespace AnChannelLayout {

constexpr int Size = 28;
constexpr int NSk = 2, VSk = 5, UstLL = 8, UstL = 11, UstH = 14, UstHH = 17;
constexpr int Poz = 20;
constexpr int PozWidth = 8;

// The text of a Float24 field, empty for a missing channel.
inline QString FloatText(const uint8_t* ch, int offset) { return ch ? Float24::ToText(ch + offset) : QString(); }
inline bool SetFloatText(uint8_t* ch, int offset, const QString& text)
{
    return ch && Float24::FromText(text, ch + offset);
}
inline float FloatValue(const uint8_t* ch, int offset) { return ch ? Float24::ToFloat(ch + offset) : 0.0f; }
inline QString PozText(const uint8_t* ch) { return ch ? TextCodec::DecodeTrimmed(ch + Poz, PozWidth) : QString(); }
inline void SetPozText(uint8_t* ch, const QString& text)
{
    if (ch)
        TextCodec::EncodePadded(text, ch + Poz, PozWidth);
}
inline void BlankPoz(uint8_t* ch) { std::fill_n(ch + Poz, PozWidth, uint8_t(' ')); }

} // namespace AnChannelLayout
