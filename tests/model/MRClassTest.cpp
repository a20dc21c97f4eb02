#include "BitFieldCheck.h"
#include "TProgMRClass.h"

#include <gtest/gtest.h>

namespace {
std::vector<uint8_t> Snapshot(const TProgMRClass& mr)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 121; ++i)
        bytes.push_back(uint8_t(mr.GetModByte(i)));
    return bytes;
}

void Fill(TProgMRClass& mr)
{
    for (int i = 0; i < 121; ++i)
        mr.SetModByte(i, i * 67 + 13);
}
} // namespace

TEST(MRClass, BitFieldSettersTouchOnlyTheirBits)
{
    TProgMRClass mr;
    auto& x = mr;
    using S = std::function<void(int)>;
    using G = std::function<int()>;
    const int out = 1 + 24 * 4 + 3 * 7; // last output of the last module: byte 118
    const int first = 1 + 24 * 1 + 3 * 0;
    const std::vector<BitFieldCase> cases = {
        {"TipVyh", out, 0x01, S([&](int v) { x.SetTipVyh(v, 7, 4); }), G([&] { return x.GetTipVyh(7, 4); })},
        {"KvitBlock", out, 0x02, S([&](int v) { x.SetKvitBlock(v, 7, 4); }), G([&] { return x.GetKvitBlock(7, 4); })},
        {"SbrTopLevel", out, 0x04, S([&](int v) { x.SetSbrTopLevel(v, 7, 4); }),
         G([&] { return x.GetSbrTopLevel(7, 4); })},
        {"KvitTopLevel", out, 0x08, S([&](int v) { x.SetKvitTopLevel(v, 7, 4); }),
         G([&] { return x.GetKvitTopLevel(7, 4); })},
        {"SbrPanel", out, 0x10, S([&](int v) { x.SetSbrPanel(v, 7, 4); }), G([&] { return x.GetSbrPanel(7, 4); })},
        {"KvitPanel", out, 0x20, S([&](int v) { x.SetKvitPanel(v, 7, 4); }), G([&] { return x.GetKvitPanel(7, 4); })},
        {"VxKvit", out + 1, 0xFF, S([&](int v) { x.SetVxKvit(7, 4, v); }), G([&] { return x.GetVxKvit(7, 4); })},
        {"VhSbr", out + 2, 0xFF, S([&](int v) { x.SetVhSbr(7, 4, v); }), G([&] { return x.GetVhSbr(7, 4); })},
        {"KvitPanel of module 1", first, 0x20, S([&](int v) { x.SetKvitPanel(v, 0, 1); }),
         G([&] { return x.GetKvitPanel(0, 1); })},
    };
    CheckBitFields(cases, [&] { Fill(mr); }, [&] { return Snapshot(mr); });
}

TEST(MRClass, BoundsFlagsAndInputNumberCheck)
{
    TProgMRClass mr;
    EXPECT_EQ(mr.GetModByte(0), 9);
    EXPECT_EQ(mr.GetMrCopyIndex(), -1);
    Fill(mr);
    const auto before = Snapshot(mr);
    mr.SetTipVyh(1, 8, 4); // would be byte 121
    mr.SetVhSbr(0, 5, 1);
    mr.SetVxKvit(-1, 0, 1);
    mr.SetModByte(121, 1);
    EXPECT_EQ(Snapshot(mr), before);
    EXPECT_EQ(mr.GetVhSbr(8, 4), 0);

    mr.SetKvitPanel(0, 2, 2);
    mr.SetKvitPanel(7, 2, 2); // any non-zero value sets the bit only
    EXPECT_EQ(mr.GetKvitPanel(2, 2), 1);
    EXPECT_EQ(mr.GetModByte(1 + 48 + 6) & ~0x20, before[1 + 48 + 6] & ~0x20);

    mr.SetMrBaseSaved(3, 0);
    EXPECT_EQ(mr.GetMrBaseSaved(3), 0);
    EXPECT_EQ(mr.GetMrBaseSaved(4), 1);
    mr.SetMrBaseSaved(9, 0);
    EXPECT_EQ(mr.GetMrBaseSaved(9), 0);
    EXPECT_EQ(mr.GetMrBaseSaved(8), 1);

    const std::vector<std::pair<const char*, bool>> texts = {
        {"0", true},   {"12", true},  {"255", true}, {"", false},    {"256", false},
        {"-1", false}, {"1,5", false}, {"abc", false}, {"32767", false}};
    for (const auto& [text, good] : texts)
        EXPECT_EQ(TProgMRClass::CheckVhText(text), good) << text;
}
