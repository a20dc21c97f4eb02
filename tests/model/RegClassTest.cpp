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
} // namespace

TEST(RegClass, FieldsTouchOnlyTheirBitsAndIndicesOutOfRangeNothing) {
    TProgRegClass x;
    const int pz1 = 56 + 28;
    CheckBitFields(View(x), {
                                BIT_FIELD(28, 0xFF, x.SetAnVh(1, v), x.GetAnVh(1)),
                                BIT_FIELD(29, 0xFF, x.SetTReg(1, 0, v), x.GetTReg(1)),
                                BIT_FIELD(30, 0xFF, x.SetVyh(1, v), x.GetVyh(1)),
                                BIT_FIELD(31, 0x01, x.SetTypeOut(1, v), x.GetTypeOut(1)),
                                BIT_FIELD(pz1, 0xFF, x.SetPZReg(1, v), x.GetPZReg(1)),
                                BIT_FIELD(56 + 1, 0xFFFF, x.SetPZTime(0, 0, v), x.GetPZTime(0, 0)),
                                BIT_FIELD(pz1 + 21, 0xFFFF, x.SetPZTime(1, 5, v), x.GetPZTime(1, 5)),
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
}

TEST(RegClass, FloatParametersLoopClassAndOnlineTable) {
    TProgRegClass reg;
    EXPECT_TRUE(reg.SetKPText(0, "1"));
    EXPECT_TRUE(reg.SetdSPText(1, "-1"));
    EXPECT_FALSE(reg.SetOHText(0, "x")); // refused: the field keeps its value
    EXPECT_EQ(
        (std::array{reg.GetRecByte(0, 5), reg.GetRecByte(0, 6), reg.GetRecByte(0, 7), reg.GetRecByte(0, 8),
                    reg.GetRecByte(0, 9), reg.GetRecByte(1, 22), reg.GetRecByte(1, 23)}),
        (std::array{0, 0x00, 0x40, 0x01, 0, 0xC0, 0x01}));
    EXPECT_EQ(reg.GetOHText(0), "0");
    EXPECT_FLOAT_EQ(reg.GetdSP(1), -1.0f);

    const std::vector<std::array<int, 3>> classes = {{0, 0, 0},  {1, 5, 1},   {1, 8, 2},
                                                     {8, 0, 2},  {13, 3, 2},  {14, 0, 14},
                                                     {16, 0, 3}, {21, 17, 3}, {22, 0, 22}};
    for (const auto& [type, out, loopClass] : classes) {
        reg.SetTReg(0, 0, type);
        reg.SetVyh(0, out);
        EXPECT_EQ(reg.GetLoopClass(0), loopClass) << type << " " << out;
    }

    // The online table and the state bits.
    reg.SetOnlineSP(5, 1.5f);
    reg.SetOnlineOUT(5, 2.5f);
    reg.SetOnlinePV(0, 3.5f);
    reg.SetOnlineValue(18, 9.0f);
    reg.SetOnlineSP(6, 9.0f);
    EXPECT_EQ((std::array{reg.GetOnlineValue(15), reg.GetOnlineValue(16), reg.GetOnlineValue(2),
                          reg.GetOnlineValue(18)}),
              (std::array{1.5f, 2.5f, 3.5f, 0.0f}));

    for (int byte : {0x01, 0x02, 0x40, 0x80, 0x3C, 0xFF}) {
        reg.SetStateByte(5, byte);
        EXPECT_EQ(
            (std::array{reg.GetStateBit0(5), reg.GetStateBit1(5), reg.GetStateBit6(5), reg.GetStateBit7(5)}),
            (std::array{byte & 1, byte >> 1 & 1, byte >> 6 & 1, byte >> 7 & 1}))
            << byte;
    }
    reg.SetStateByte(6, 0xFF);
    EXPECT_EQ(reg.GetStateBit0(6), 0);
}

// The block round trips are the block adapter's test; here the refusals.
TEST(RegClass, ShortRepliesAndUnknownTablesAreRefused) {
    TProgRegClass reg;
    std::vector<uint8_t> reply = {1, 'D', DeviceBlocks::RegLen, 0x20};
    for (int k = 0; k < 56; ++k)
        reply.push_back(uint8_t(k + 1));
    ASSERT_TRUE(reg.TakeBlockFromReply(reply));
    EXPECT_EQ((std::array{reg.GetBufferByte(0), reg.GetBufferByte(55), reg.GetBufferByte(56)}),
              (std::array{1, 56, 0}));
    reply.pop_back();
    reply[4] = 9;
    EXPECT_FALSE(reg.TakeBlockFromReply(reply));
    EXPECT_EQ(reg.GetBufferByte(0), 1);
    EXPECT_FALSE(reg.BlockToRecords(0x22));
    EXPECT_FALSE(reg.RecordsToBlock(0x1F));
    EXPECT_EQ(View(reg).Snapshot(), std::vector<uint8_t>(112, 0));
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
