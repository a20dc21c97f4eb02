#include "Float24.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {
using Bytes = std::array<uint8_t, 3>;

Bytes Pack(float v) {
    Bytes b{0xAA, 0xAA, 0xAA};
    EXPECT_TRUE(Float24::FromFloat(v, b.data())) << v;
    return b;
}
} // namespace

TEST(Float24, EveryCanonicalPatternRoundTrips) {
    int checked = 0;
    for (int exponent = -128; exponent <= 127; ++exponent) {
        for (int m = -32767; m <= 32767; ++m) {
            if (m > -16384 && m < 16384) continue;
            const uint16_t um = uint16_t(int16_t(m));
            const Bytes in{uint8_t(um & 0xFF), uint8_t(um >> 8), uint8_t(int8_t(exponent))};
            Bytes out{};
            ASSERT_TRUE(Float24::FromFloat(Float24::ToFloat(in.data()), out.data()));
            ASSERT_EQ(in, out) << "mantissa " << m << " exponent " << exponent;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 256 * 32768);
}

TEST(Float24, KnownValues) {
    EXPECT_EQ(Pack(0.0f), (Bytes{0, 0, 0}));
    EXPECT_EQ(Pack(1.0f), (Bytes{0x00, 0x40, 0x01}));   // 0.5 × 2^1
    EXPECT_EQ(Pack(-1.0f), (Bytes{0x00, 0xC0, 0x01}));  // −0.5 × 2^1
    EXPECT_EQ(Pack(100.0f), (Bytes{0x00, 0x64, 0x07})); // 0.78125 × 2^7
    EXPECT_EQ(Pack(-32767.0f), (Bytes{0x01, 0x80, 0x0F}));
    EXPECT_EQ(Pack(1.0f + 3.0f / 65536), (Bytes{0x01, 0x40, 0x01})); // mantissa 16384,75 rounds up
    EXPECT_NEAR(Float24::ToFloat(Pack(0.001f).data()), 0.001, 2e-8);
    // The largest and the smallest magnitudes the format holds.
    const Bytes largest{0xFF, 0x7F, 0x7F};
    EXPECT_FLOAT_EQ(Float24::ToFloat(largest.data()), std::ldexp(32767.0f, 112));
    const Bytes smallest{0x00, 0x40, 0x80};
    EXPECT_EQ(Float24::ToFloat(smallest.data()), std::ldexp(1.0f, -129));
    // Too small becomes zero; too large, infinite and NaN are refused and leave the bytes alone.
    EXPECT_EQ(Pack(1e-40f), (Bytes{0, 0, 0}));
    Bytes kept{1, 2, 3};
    EXPECT_FALSE(Float24::FromFloat(3e38f, kept.data()));
    EXPECT_FALSE(Float24::FromFloat(INFINITY, kept.data()));
    EXPECT_FALSE(Float24::FromFloat(NAN, kept.data()));
    EXPECT_EQ(kept, (Bytes{1, 2, 3}));
}

TEST(Float24, TextWithCommaAndRefusedText) {
    Bytes b{};
    for (const auto& [text, shown] : std::vector<std::pair<const char*, const char*>>{
             {"0,1", "0,1"}, {" -12.5 ", "-12,5"}, {"32767", "32767"}, {"0,001", "0,001"}, {",5", "0,5"}}) {
        ASSERT_TRUE(Float24::FromText(text, b.data())) << text;
        EXPECT_EQ(Float24::ToText(b.data()), shown);
        EXPECT_EQ(Float24::ValueText(Float24::ToFloat(b.data())), shown); // the value read from the field
    }
    EXPECT_EQ(Float24::ValueText(0.1f), "0,1"); // read as the format holds it
    const Bytes before = b;
    for (const char* bad : {"", " ", "-", "1,2,3", "1e5", "abc", "1 2", "--1", "1-", "1e400"})
        EXPECT_FALSE(Float24::FromText(bad, b.data())) << bad;
    EXPECT_EQ(b, before);
}

TEST(NumberText, FixedAndSingleRangeCompare) {
    EXPECT_EQ(FormatFixed(0.1, 2), "0,10");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0,00");
    EXPECT_EQ(FormatFixed(-3.25, 1), "-3,3");
    EXPECT_EQ(FormatSignificant(1234.5678, 5), "1234,6");
    EXPECT_EQ(FormatSignificant(0.012345678, 5), "0,012346");
    // A typed 0,1 equals the stored single-precision 0,1 at the edge of a range.
    EXPECT_TRUE(InRangeSingle(*ParseDecimal("0,1"), double(0.1f), 100.0));
    EXPECT_FALSE(InRangeSingle(*ParseDecimal("100,01"), 0.0, 100.0));
}

TEST(TextCodec, CyrillicRoundTrip) {
    EXPECT_EQ(TextCodec::Encode("АЯаяЁё№ 0-9"), QByteArray("\xC0\xDF\xE0\xFF\xA8\xB8\xB9 0-9"));
    EXPECT_EQ(TextCodec::Encode("漢"), QByteArray("?"));
    // Every byte decodes to something that encodes back to it, except the unassigned 0x98.
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const uint8_t byte = uint8_t(b);
        EXPECT_EQ(TextCodec::EncodeChar(TextCodec::Decode(&byte, 1)[0]), byte) << b;
    }
    // Padding and cutting are checked through the position texts of the module records.
}
