#include "BitFieldCheck.h"
#include "DeviceLayouts.h"
#include "TProgRegClass.h"

#include <gtest/gtest.h>

namespace {
// Both loop records, then both program tables.
ByteView View(TProgRegClass& r) {
    return {112,
            [&r](int k) { return k < 56 ? r.GetRecByte(k / 28, k % 28) : r.GetPZByte(k / 28 - 2, k % 28); },
            [&r](int k, int v) {
                k < 56 ? r.SetRecByte(k / 28, k % 28, v) : r.SetPZByte(k / 28 - 2, k % 28, v);
            }};
}

std::vector<uint8_t> DReply(int id, const std::function<uint8_t(int)>& byte) {
    std::vector<uint8_t> reply = {1, 'D', DeviceBlocks::RegLen, uint8_t(id)};
    for (int k = 0; k < 56; ++k)
        reply.push_back(byte(k));
    return reply;
}
} // namespace

TEST(RegClass, FieldsAndProgramPoints) {
    TProgRegClass x;
    const int pz1 = 56 + 28;
    CheckBitFields(View(x), {
                                BIT_FIELD(28, 0xFF, x.SetAnVh(1, v), x.GetAnVh(1)),
                                BIT_FIELD(29, 0xFF, x.SetTReg(1, 0, v), x.GetTReg(1)),
                                BIT_FIELD(30, 0xFF, x.SetVyh(1, v), x.GetVyh(1)),
                                BIT_FIELD(31, 0x01, x.SetTypeOut(1, v), x.GetTypeOut(1)),
                                BIT_FIELD(pz1, 0xFF, x.SetPZReg(1, v), x.GetPZReg(1)),
                                BIT_FIELD(56 + 1, 0xFFFF, x.SetPZTime(0, 0, v), x.GetPZTime(0, 0)),
                                SIGNED_FIELD(56 + 3, x.SetPZValue(0, 0, v), x.GetPZValue(0, 0)),
                                SIGNED_FIELD(pz1 + 23, x.SetPZValue(1, 5, v), x.GetPZValue(1, 5)),
                                NO_FIELD(x.SetPZTime(0, 6, v), x.GetPZTime(0, 6)),
                                NO_FIELD(x.SetPZValue(2, 0, v), x.GetPZValue(2, 0)),
                                NO_FIELD(x.SetPZValue(0, -1, v), x.GetPZValue(0, -1)),
                                NO_FIELD(x.SetRecByte(2, 0, v), x.GetRecByte(2, 0)),
                                NO_FIELD(x.SetRecByte(0, 28, v), x.GetRecByte(0, 28)),
                                NO_FIELD(x.SetTypeOut(-1, v), x.GetTypeOut(-1)),
                                NO_FIELD(x.SetKPText(2, "1"), int(x.GetKPText(2).size())),
                            });

    TProgRegClass reg;
    EXPECT_TRUE(reg.SetKPText(0, "1,5"));
    EXPECT_TRUE(reg.SetTiText(0, "3000"));
    EXPECT_EQ(reg.GetKPText(0), "1,5");
    EXPECT_FLOAT_EQ(reg.GetTi(0), TProgRegClass::DefaultTi);
    EXPECT_EQ(reg.GetRecByte(0, 5), 0); // the byte before Kp untouched
    EXPECT_FALSE(reg.SetOHText(0, "x"));
    EXPECT_EQ(reg.GetOHText(0), "0");

    const std::vector<std::array<int, 3>> classes = {{0, 0, 0},  {1, 5, 1},   {1, 8, 2},
                                                     {8, 0, 2},  {13, 3, 2},  {14, 0, 14},
                                                     {16, 0, 3}, {21, 17, 3}, {22, 0, 22}};
    for (const auto& [type, out, loopClass] : classes) {
        reg.SetTReg(0, 0, type);
        reg.SetVyh(0, out);
        EXPECT_EQ(reg.GetLoopClass(0), loopClass) << type << " " << out;
    }
}

TEST(RegClass, BlocksRoundTripAndShortRepliesAreRefused) {
    TProgRegClass reg;
    for (int id : {0x20, 0x21}) {
        ASSERT_TRUE(reg.TakeBlockFromReply(DReply(id, [id](int k) { return uint8_t(id * 5 + k * 3); })));
        ASSERT_TRUE(reg.BlockToRecords(id));
    }
    for (int k = 0; k < 112; ++k)
        EXPECT_EQ(View(reg).Get(k), uint8_t((k < 56 ? 0x20 * 5 : 0x21 * 5) + (k % 56) * 3)) << k;
    for (int k = 56; k < TProgRegClass::BufferSize; ++k)
        EXPECT_EQ(reg.GetBufferByte(k), 0);

    TProgRegClass copy;
    for (int id : {0x20, 0x21}) {
        ASSERT_TRUE(reg.RecordsToBlock(id));
        ASSERT_TRUE(
            copy.TakeBlockFromReply(DReply(id, [&](int k) { return uint8_t(reg.GetBufferByte(k)); })));
        ASSERT_TRUE(copy.BlockToRecords(id));
    }
    EXPECT_EQ(View(copy).Snapshot(), View(reg).Snapshot());

    auto shortReply = DReply(0x20, [](int) { return 7; });
    shortReply.pop_back();
    const int kept = reg.GetBufferByte(0);
    EXPECT_FALSE(reg.TakeBlockFromReply(shortReply));
    EXPECT_EQ(reg.GetBufferByte(0), kept);
    EXPECT_FALSE(reg.BlockToRecords(0x22));
    EXPECT_FALSE(reg.RecordsToBlock(0x1F));
    EXPECT_EQ(View(copy).Snapshot(), View(reg).Snapshot());
}

TEST(RegClass, RecordDeleteAndInsertAtTheEnds) {
    TProgRegClass reg;
    const auto loops = [&] { return std::array{reg.GetAnVh(0), reg.GetAnVh(1)}; };
    const auto points = [&] { return std::array{reg.GetPZReg(0), reg.GetPZReg(1)}; };
    reg.SetAnVh(0, 1);
    reg.SetAnVh(1, 2);
    reg.DeleteRecords(0, 1);
    EXPECT_EQ(loops(), (std::array{2, 0}));
    reg.InsertRecords(0, 1);
    EXPECT_EQ(loops(), (std::array{0, 2}));
    reg.SetAnVh(0, 5);
    reg.InsertRecords(1, 5); // cut at the end: the last record cleared
    reg.DeleteRecords(-1, 1);
    reg.DeleteRecords(2, 1);
    EXPECT_EQ(loops(), (std::array{5, 0}));

    reg.SetPZReg(0, 1);
    reg.SetPZReg(1, 2);
    reg.DeletePZRecords(1, 1);
    EXPECT_EQ(points(), (std::array{1, 0}));
    reg.InsertPZRecords(0, 2);
    EXPECT_EQ(points(), (std::array{0, 0}));
    EXPECT_EQ(loops(), (std::array{5, 0})); // the loop table untouched
}

TEST(RegClass, OnlineTableAndStateBits) {
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

    for (int byte : {0x01, 0x02, 0x40, 0x80, 0x3C, 0xFF}) {
        reg.SetStateByte(5, byte);
        const int bits[] = {reg.GetStateBit0(5), reg.GetStateBit1(5), reg.GetStateBit6(5),
                            reg.GetStateBit7(5)};
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(bits[b], (byte >> (b < 2 ? b : b + 4)) & 1) << byte;
    }
    reg.SetStateByte(6, 0xFF);
    EXPECT_EQ(reg.GetStateBit0(6), 0);
}
