#include "BitFieldCheck.h"
#include "DeviceLayouts.h"
#include "TProgRegClass.h"

#include <gtest/gtest.h>

namespace {
std::vector<uint8_t> Snapshot(const TProgRegClass& reg)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < 28; ++k)
            bytes.push_back(uint8_t(reg.GetRecByte(i, k)));
    for (int p = 0; p < TProgRegClass::RegMaxCount; ++p)
        for (int k = 0; k < 28; ++k)
            bytes.push_back(uint8_t(reg.GetPZByte(p, k)));
    return bytes;
}

void Fill(TProgRegClass& reg)
{
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < 28; ++k) {
            reg.SetRecByte(i, k, (i * 28 + k) * 41 + 9);
            reg.SetPZByte(i, k, (i * 28 + k) * 23 + 1);
        }
}

std::vector<uint8_t> DReply(int id, uint8_t seed)
{
    std::vector<uint8_t> reply = {1, 'D', DeviceBlocks::RegLen, uint8_t(id)};
    for (int k = 0; k < 56; ++k)
        reply.push_back(uint8_t(seed + k * 3));
    return reply;
}
} // namespace

TEST(RegClass, BitFieldSettersTouchOnlyTheirBits)
{
    TProgRegClass reg;
    auto& x = reg;
    using S = std::function<void(int)>;
    using G = std::function<int()>;
    const int pz1 = 56 + 28;
    const std::vector<BitFieldCase> cases = {
        {"AnVh", 28, 0xFF, S([&](int v) { x.SetAnVh(1, v); }), G([&] { return x.GetAnVh(1); })},
        {"TReg", 29, 0xFF, S([&](int v) { x.SetTReg(1, 0, v); }), G([&] { return x.GetTReg(1); })},
        {"Vyh", 30, 0xFF, S([&](int v) { x.SetVyh(1, v); }), G([&] { return x.GetVyh(1); })},
        {"TypeOut", 31, 0x01, S([&](int v) { x.SetTypeOut(1, v); }), G([&] { return x.GetTypeOut(1); })},
        {"PZReg", pz1, 0xFF, S([&](int v) { x.SetPZReg(1, v); }), G([&] { return x.GetPZReg(1); })},
        {"PZTime 5 low", pz1 + 21, 0xFF, S([&](int v) { x.SetPZTime(1, 5, (x.GetPZTime(1, 5) & 0xFF00) | v); }),
         G([&] { return x.GetPZTime(1, 5) & 0xFF; })},
        {"PZValue 5 high", pz1 + 24, 0xFF,
         S([&](int v) { x.SetPZValue(1, 5, (x.GetPZValue(1, 5) & 0xFF) | (v << 8)); }),
         G([&] { return (x.GetPZValue(1, 5) >> 8) & 0xFF; })},
    };
    CheckBitFields(cases, [&] { Fill(reg); }, [&] { return Snapshot(reg); });
}

TEST(RegClass, ProgramPointsAndParameters)
{
    TProgRegClass reg;
    reg.SetPZTime(0, 0, 0xBEEF);
    reg.SetPZValue(0, 0, -2);
    EXPECT_EQ(reg.GetPZByte(0, 1), 0xEF);
    EXPECT_EQ(reg.GetPZByte(0, 2), 0xBE);
    EXPECT_EQ(reg.GetPZByte(0, 3), 0xFE);
    EXPECT_EQ(reg.GetPZByte(0, 4), 0xFF);
    EXPECT_EQ(reg.GetPZTime(0, 0), 0xBEEF); // unsigned
    EXPECT_EQ(reg.GetPZValue(0, 0), -2);    // signed
    reg.SetPZValue(1, 5, 16383);
    EXPECT_EQ(reg.GetPZByte(1, 23), 0xFF);
    EXPECT_EQ(reg.GetPZByte(1, 24), 0x3F);

    EXPECT_TRUE(reg.SetKPText(0, "1,5"));
    EXPECT_TRUE(reg.SetTiText(0, "3000"));
    EXPECT_TRUE(reg.SetdSPText(1, "25"));
    EXPECT_EQ(reg.GetKPText(0), "1,5");
    EXPECT_FLOAT_EQ(reg.GetKP(0), 1.5f);
    EXPECT_FLOAT_EQ(reg.GetTi(0), TProgRegClass::DefaultTi);
    EXPECT_FLOAT_EQ(reg.GetdSP(1), TProgRegClass::DefaultOSF);
    EXPECT_EQ(reg.GetRecByte(0, 5), 0); // the byte before Kp untouched
    EXPECT_FALSE(reg.SetOHText(0, "x"));
    EXPECT_EQ(reg.GetOHText(0), "0");

    const auto before = Snapshot(reg);
    reg.SetPZTime(0, 6, 1);
    reg.SetPZValue(2, 0, 1);
    reg.SetRecByte(2, 0, 1);
    reg.SetRecByte(0, 28, 1);
    EXPECT_FALSE(reg.SetKPText(2, "1"));
    reg.SetTypeOut(-1, 1);
    EXPECT_EQ(Snapshot(reg), before);
    EXPECT_EQ(reg.GetKPText(2), "");

    const std::vector<std::array<int, 3>> classes = {{0, 0, 0},  {1, 5, 1},  {1, 8, 2},   {8, 0, 2},   {13, 3, 2},
                                                     {14, 0, 14}, {16, 0, 3}, {21, 17, 3}, {22, 0, 22}};
    for (const auto& [type, out, loopClass] : classes) {
        reg.SetTReg(0, 0, type);
        reg.SetVyh(0, out);
        EXPECT_EQ(reg.GetLoopClass(0), loopClass) << type << " " << out;
    }
}

TEST(RegClass, BlocksRoundTripAndShortRepliesAreRefused)
{
    TProgRegClass reg;
    ASSERT_TRUE(reg.TakeBlockFromReply(DReply(0x20, 10)));
    ASSERT_TRUE(reg.BlockToRecords(0x20));
    ASSERT_TRUE(reg.TakeBlockFromReply(DReply(0x21, 100)));
    ASSERT_TRUE(reg.BlockToRecords(0x21));
    for (int k = 0; k < 56; ++k) {
        EXPECT_EQ(reg.GetRecByte(k / 28, k % 28), uint8_t(10 + k * 3));
        EXPECT_EQ(reg.GetPZByte(k / 28, k % 28), uint8_t(100 + k * 3));
    }
    for (int k = 56; k < TProgRegClass::BufferSize; ++k)
        EXPECT_EQ(reg.GetBufferByte(k), 0);

    TProgRegClass copy;
    for (int id : {0x20, 0x21}) {
        ASSERT_TRUE(reg.RecordsToBlock(id));
        std::vector<uint8_t> reply = {1, 'D', 57, uint8_t(id)};
        for (int k = 0; k < 56; ++k)
            reply.push_back(uint8_t(reg.GetBufferByte(k)));
        ASSERT_TRUE(copy.TakeBlockFromReply(reply));
        ASSERT_TRUE(copy.BlockToRecords(id));
    }
    EXPECT_EQ(Snapshot(copy), Snapshot(reg));

    auto shortReply = DReply(0x20, 200);
    shortReply.pop_back();
    EXPECT_FALSE(reg.TakeBlockFromReply(shortReply));
    EXPECT_EQ(reg.GetBufferByte(0), uint8_t(100)); // buffer kept
    EXPECT_FALSE(reg.BlockToRecords(0x22));
    EXPECT_FALSE(reg.RecordsToBlock(0x1F));
    EXPECT_EQ(Snapshot(copy), Snapshot(reg));
}

TEST(RegClass, RecordDeleteAndInsertAtTheEnds)
{
    TProgRegClass reg;
    reg.SetAnVh(0, 1);
    reg.SetAnVh(1, 2);
    reg.DeleteRecords(0, 1);
    EXPECT_EQ(reg.GetAnVh(0), 2);
    EXPECT_EQ(reg.GetAnVh(1), 0);
    reg.InsertRecords(0, 1);
    EXPECT_EQ(reg.GetAnVh(0), 0);
    EXPECT_EQ(reg.GetAnVh(1), 2);
    reg.SetAnVh(0, 5);
    reg.InsertRecords(1, 5); // cut at the end: the last record cleared
    EXPECT_EQ(reg.GetAnVh(0), 5);
    EXPECT_EQ(reg.GetAnVh(1), 0);
    reg.DeleteRecords(-1, 1);
    reg.DeleteRecords(2, 1);
    EXPECT_EQ(reg.GetAnVh(0), 5);

    reg.SetPZReg(0, 1);
    reg.SetPZReg(1, 2);
    reg.DeletePZRecords(1, 1);
    EXPECT_EQ(reg.GetPZReg(0), 1);
    EXPECT_EQ(reg.GetPZReg(1), 0);
    reg.InsertPZRecords(0, 2);
    EXPECT_EQ(reg.GetPZReg(0), 0);
    EXPECT_EQ(reg.GetPZReg(1), 0);
    EXPECT_EQ(reg.GetAnVh(0), 5); // table 1 untouched
}

TEST(RegClass, OnlineTableAndStateBits)
{
    TProgRegClass reg;
    reg.SetOnlineSP(5, 1.5f);
    reg.SetOnlineOUT(5, 2.5f);
    reg.SetOnlinePV(0, 3.5f);
    EXPECT_FLOAT_EQ(reg.GetOnlineValue(15), 1.5f);
    EXPECT_FLOAT_EQ(reg.GetOnlineValue(16), 2.5f);
    EXPECT_FLOAT_EQ(reg.GetOnlineValue(2), 3.5f);
    reg.SetOnlineValue(18, 9.0f);
    reg.SetOnlineSP(6, 9.0f);
    EXPECT_FLOAT_EQ(reg.GetOnlineValue(18), 0.0f);

    const std::vector<std::pair<int, std::array<int, 4>>> states = {
        {0x00, {0, 0, 0, 0}}, {0x01, {1, 0, 0, 0}}, {0x02, {0, 1, 0, 0}},
        {0x40, {0, 0, 1, 0}}, {0x80, {0, 0, 0, 1}}, {0x3C, {0, 0, 0, 0}}, {0xFF, {1, 1, 1, 1}}};
    for (const auto& [byte, bits] : states) {
        reg.SetStateByte(5, byte);
        EXPECT_EQ(reg.GetStateBit0(5), bits[0]) << byte;
        EXPECT_EQ(reg.GetStateBit1(5), bits[1]) << byte;
        EXPECT_EQ(reg.GetStateBit6(5), bits[2]) << byte;
        EXPECT_EQ(reg.GetStateBit7(5), bits[3]) << byte;
    }
    reg.SetStateByte(6, 0xFF);
    EXPECT_EQ(reg.GetStateBit0(6), 0);
    EXPECT_EQ(reg.GetStateByte(4), 0);

    reg.SetRegCount(5);
    EXPECT_EQ(reg.GetRegCount(), TProgRegClass::RegMaxCount);
}
