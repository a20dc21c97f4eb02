#include "BitFieldCheck.h"
#include "TProgF15Class.h"

#include <gtest/gtest.h>

namespace {
std::vector<uint8_t> Snapshot(const TProgF15Class& f15)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < 81; ++k)
        bytes.push_back(uint8_t(f15.GetByte(k)));
    return bytes;
}

void Fill(TProgF15Class& f15)
{
    for (int k = 0; k < 81; ++k)
        f15.SetByte(k, k * 61 + 5);
}
} // namespace

TEST(F15Class, BitFieldSettersTouchOnlyTheirBits)
{
    TProgF15Class f15;
    auto& x = f15;
    using S = std::function<void(int)>;
    using G = std::function<int()>;
    const int r = 41; // record 1
    const std::vector<BitFieldCase> cases = {
        {"FuncCode", r, 0xFF, S([&](int v) { x.SetFuncCode(1, v); }), G([&] { return x.GetFuncCode(1); })},
        {"B2", r + 1, 0xFF, S([&](int v) { x.SetB2(1, v); }), G([&] { return x.GetB2(1); })},
        {"B3", r + 2, 0xFF, S([&](int v) { x.SetB3(1, v); }), G([&] { return x.GetB3(1); })},
        {"Kvit", r + 7, 0x10, S([&](int v) { x.SetKvit(1, v); }), G([&] { return x.GetKvit(1); })},
        {"Sbros", r + 7, 0x20, S([&](int v) { x.SetSbros(1, v); }), G([&] { return x.GetSbros(1); })},
        {"Signal 31", r + 39, 0xFF, S([&](int v) { x.SetSignal(1, 31, v); }), G([&] { return x.GetSignal(1, 31); })},
        {"Signal 0 of record 0", 9, 0xFF, S([&](int v) { x.SetSignal(0, 0, v); }),
         G([&] { return x.GetSignal(0, 0); })},
    };
    CheckBitFields(cases, [&] { Fill(f15); }, [&] { return Snapshot(f15); });
}

TEST(F15Class, WordsAndBounds)
{
    TProgF15Class f15;
    EXPECT_EQ(f15.GetByte(0), 11);
    f15.SetW4(0, 0x0340);
    f15.SetW6(0, -1);
    EXPECT_EQ(f15.GetByte(4), 0x40);
    EXPECT_EQ(f15.GetByte(5), 0x03);
    EXPECT_EQ(f15.GetW4(0), 0x0340);
    EXPECT_EQ(f15.GetW6(0), -1);
    Fill(f15);
    const auto before = Snapshot(f15);
    f15.SetSignal(1, 32, 9); // would be byte 81
    f15.SetSignal(0, -1, 9);
    f15.SetFuncCode(2, 15);
    f15.SetByte(81, 1);
    EXPECT_EQ(Snapshot(f15), before);
    EXPECT_EQ(f15.GetSignal(1, 32), 0);
}
