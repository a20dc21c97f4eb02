#include "BitFieldCheck.h"
#include "TProgFBClass.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <vector>

namespace {

using Rec = std::array<uint8_t, TProgFBClass::RecordLen>;
constexpr int L = TProgFBClass::RecordLen;

ByteView View(TProgFBClass& f) {
    return {TProgFBClass::Slots * L, [&f](int k) { return f.GetRecByte(k / L, k % L); },
            [&f](int k, int v) { f.SetRecByte(k / L, k % L, v); }};
}

void Fill(TProgFBClass& fb, int i, uint8_t v) {
    Rec r;
    r.fill(v);
    fb.SetRecord(i, r);
}

} // namespace

// Fields of the last slot (120): each setter changes only its own bits of the whole table.
TEST(ProgFBClass, FieldsTouchOnlyTheirBitsAndIndicesOutOfRangeNothing) {
    TProgFBClass x;
    const int i = 120, r = i * L;
    CheckBitFields(View(x), {
                                BIT_FIELD(r, 0xFF, x.SetTypeByte(i, v), x.GetRecByte(i, 0)),
                                BIT_FIELD(r, 0xF0, x.SetSubtype(i, v), x.GetSubtype(i)),
                                BIT_FIELD(r + 5, 0x03, x.SetTimerDiskr(i, v), x.GetTimerDiskr(i)),
                                BIT_FIELD(r + 6, 0xFF, x.SetTimeUst(i, v), x.GetTimeUst(i)),
                                BIT_FIELD(r + 5, 0xFC, x.SetAlarmHour(i, v), x.GetAlarmHour(i)),
                                BIT_FIELD(r + 4, 0xFF, x.SetAlarmMin(i, v), x.GetAlarmMin(i)),
                                BIT_FIELD(r + 3, 0xFF, x.SetAlarmSec(i, v), x.GetAlarmSec(i)),
                                BIT_FIELD(r + 1, 0x7F, x.SetX1Num(i, v), x.GetX1Num(i)),
                                FLAG_FIELD(r + 1, 0x80, x.SetX1Src(i, v), x.GetX1Src(i)),
                                BIT_FIELD(r + 5, 0x7F, x.SetX2Num(i, v), x.GetX2Num(i)),
                                FLAG_FIELD(r + 5, 0x80, x.SetX2Src(i, v), x.GetX2Src(i)),
                                BIT_FIELD(r + 5, 0x80, x.SetCompCond(i, v), x.GetCompCond(i)),
                                BIT_FIELD(r + 5, 0x7C, x.SetCompHyst(i, v), x.GetCompHyst(i)),
                                BIT_FIELD(r + 7, 0x08, x.SetIn8Type(i, v), x.GetIn8Type(i)),
                                BIT_FIELD(r + 7, 0x07, x.SetIn8Kind(i, v), x.GetIn8Kind(i)),
                                BIT_FIELD(r + 8, 0xFF, x.SetIn8Num(i, v), x.GetIn8Num(i)),
                                BIT_FIELD(r + 9, 0xC0, x.SetSigTipS(i, v), x.GetSigTipS(i)),
                                FLAG_FIELD(r + 9, 0x20, x.SetSigKont(i, v), x.GetSigKont(i)),
                                BIT_FIELD(r + 9, 0x1F, x.SetSigNTabS(i, v), x.GetSigNTabS(i)),
                                BIT_FIELD(r + 14, 0xFF, x.SetDayStartHour(i, v), x.GetDayStartHour(i)),
                                BIT_FIELD(r + 13, 0xFF, x.SetB13(i, v), x.GetRecByte(i, 13)),
                                BIT_FIELD(r + 9, 0xFF, x.SetCalcByte(i, 1, v), x.GetCalcByte(i, 1)),
                                BIT_FIELD(r + 6, 0xFF, x.SetCalcByte(i, 2, v), x.GetCalcByte(i, 2)),
                                NO_FIELD(x.SetCalcByte(i, 3, v), x.GetCalcByte(i, 3)),
                                NO_FIELD(x.SetB9Plus(i, 0, v), x.GetB9Plus(i, 0)),
                                NO_FIELD(x.SetB9Plus(i, 6, v), x.GetB9Plus(i, 6)),
                                NO_FIELD(x.SetInType(i, 4, v), x.GetInType(i, 4)),
                                NO_FIELD(x.SetInKind(i, -1, v), x.GetInKind(i, -1)),
                                NO_FIELD(x.SetInNum(i, 4, v), x.GetInNum(i, 4)),
                                NO_FIELD(x.SetIntegrNum(i, 12, v), x.GetIntegrNum(i, 12)),
                                NO_FIELD(x.SetTypeByte(121, v), x.GetType(121)),
                                NO_FIELD(x.SetCountUst(121, v), x.GetCountUst(121)),
                                NO_FIELD(x.SetRecByte(-1, 0, v), x.GetRecByte(-1, 0)),
                                NO_FIELD(x.SetRecByte(0, 16, v), x.GetRecByte(0, 16)),
                                NO_FIELD(x.SetConstText(i, 3, "1"), int(x.GetConstText(i, 3).size())),
                                NO_FIELD(x.SetCompUstText(121, "1"), int(x.GetCompUstText(121).size())),
                            });
    for (int j = 0; j < 4; ++j)
        CheckBitFields(View(x), {
                                    BIT_FIELD(r + 1 + 2 * j, 0x08, x.SetInType(i, j, v), x.GetInType(i, j)),
                                    BIT_FIELD(r + 1 + 2 * j, 0x07, x.SetInKind(i, j, v), x.GetInKind(i, j)),
                                    BIT_FIELD(r + 2 + 2 * j, 0xFF, x.SetInNum(i, j, v), x.GetInNum(i, j)),
                                });
    for (int k = 1; k <= 5; ++k)
        CheckBitFields(View(x), {BIT_FIELD(r + 9 + k, 0xFF, x.SetB9Plus(i, k, v), x.GetB9Plus(i, k))});
    for (int k = 0; k < 12; ++k)
        CheckBitFields(View(x), {BIT_FIELD(r + 1 + k, 0xFF, x.SetIntegrNum(i, k, v), x.GetIntegrNum(i, k))});
}

// The type is the low nibble; the counter set point spans two bytes; the float fields share bytes.
TEST(ProgFBClass, SplitAndSharedFields) {
    TProgFBClass fb;
    Fill(fb, 0, 0xFF);
    fb.SetCountUst(0, 0);
    EXPECT_EQ(fb.GetRecord(0), (Rec{0xFF, 0x0F, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(fb.GetType(0), 0x0F);
    Fill(fb, 0, 0);
    fb.SetCountUst(0, 0x12); // bit 4 alone: the high part is v >> 4
    EXPECT_EQ((std::array{fb.GetRecByte(0, 1), fb.GetRecByte(0, 3), fb.GetCountUst(0)}),
              (std::array{0x20, 0x10, 0x12}));

    Fill(fb, 3, 0x11);
    EXPECT_TRUE(fb.SetCompUstText(3, "-12,5"));
    EXPECT_TRUE(fb.SetConstText(3, 2, "1"));
    EXPECT_FALSE(fb.SetCompUstText(3, "abc"));
    EXPECT_EQ(fb.GetConstText(3, 1), "-12,5"); // the same three bytes
    EXPECT_EQ(fb.GetRecord(3), (Rec{0x11, 0x11, 0x00, 0x9C, 0x04, 0x11, 0x00, 0x40, 0x01, 0x11, 0x11, 0x11,
                                    0x11, 0x11, 0x11, 0x11}));
}

TEST(ProgFBClass, PagesRefuseShortDataAndPagesOutOfRange) {
    TProgFBClass fb;
    std::vector<uint8_t> reply(4 + TProgFBClass::PageBytes, 0x77);
    EXPECT_FALSE(fb.TakeBlockFromReply(reply.data(), int(reply.size()) - 1));
    EXPECT_FALSE(fb.TakeBlockFromReply(nullptr, 500));
    EXPECT_EQ(fb.GetPageByte(0), 0);
    ASSERT_TRUE(fb.TakeBlockFromReply(reply.data(), int(reply.size())));
    fb.BlockToFbs(12); // no such block
    EXPECT_EQ(fb.GetRecord(120), Rec{});

    std::vector<uint8_t> buf(TProgFBClass::TextPageBytes, ' ');
    buf[0] = 'A';
    buf[900] = 'Z';
    EXPECT_FALSE(fb.TakeTextBlockFromBuf(buf.data(), 999));
    ASSERT_TRUE(fb.TakeTextBlockFromBuf(buf.data(), int(buf.size())));
    fb.TextBlockToFbs(12); // only slot 120 exists in the thirteenth page
    fb.TextBlockToFbs(0);
    fb.SetFbText(5, QString(150, QChar(u'ж')));
    EXPECT_EQ((QStringList{fb.GetFbText(120), fb.GetFbText(9), fb.GetFbText(5), fb.GetFbText(6)}),
              (QStringList{"A", "Z", QString(100, QChar(u'ж')), ""}));

    fb.AlgTable.SetCount(3);
    fb.AlgTable.SetMark(120, 121);
    fb.AlgTable.SetEntry(120, 120, 7);
    fb.AlgTable.SetEntry(121, 0, 7);
    EXPECT_EQ(fb.AlgTable.GetEntry(121, 0), 0);
    fb.ResetAlgorithms();
    EXPECT_EQ((std::array{fb.AlgTable.GetCount(), fb.AlgTable.GetMark(120), fb.AlgTable.GetEntry(120, 120)}),
              (std::array{0, 255, 255}));
    EXPECT_EQ(fb.GetFbText(9), "");
}

TEST(ProgFBClass, LogicBlockCountFollowsCalculationBlocks) {
    TProgFBClass fb;
    for (const auto& [count, integ, arith, logic] : std::vector<std::array<int, 4>>{
             {120, 0, 0, 120}, {120, 2, 5, 113}, {60, 1, 3, 55}, {60, 1, 0, 58}}) {
        fb.FBCount = count;
        fb.IntegratorCount = integ;
        fb.ArithBlockCount = arith;
        fb.RecountLogicFBLimit();
        EXPECT_EQ(fb.GetLogicFBLimit(), logic) << count << " " << integ << " " << arith;
    }
}

namespace {

// A small table: AND blocks whose inputs reference discrete signals (kind 0), analogue
// flags (kind 2), blocks (kind 1); a comparator; an integrator and an add block.
TProgFBClass SmallTable() {
    TProgFBClass fb;
    fb.SetTypeByte(0, 1);
    fb.SetTypeByte(1, 3);
    fb.SetTypeByte(3, 1);
    // Block 1: discrete signals before, inside, after the range 4..6, and a discrete flag inside.
    // Block 2: analogue flags, then a block reference (never a signal). Block 4: blocks 1, 3, 4
    // and a КВУ number.
    const std::array<int, 4> inputs[] = {{0, 0, 0, 2}, {0, 1, 0, 5}, {0, 2, 0, 9}, {0, 3, 4, 6},
                                         {1, 0, 2, 2}, {1, 1, 2, 5}, {1, 2, 2, 9}, {1, 3, 1, 5},
                                         {3, 0, 1, 1}, {3, 1, 1, 3}, {3, 2, 1, 4}, {3, 3, 1, 150}};
    for (const auto& [i, j, kind, num] : inputs) {
        fb.SetInType(i, j, 1);
        fb.SetInKind(i, j, kind);
        fb.SetInNum(i, j, num);
    }
    fb.SetTypeByte(2, 8);
    fb.SetX1Num(2, 9);
    fb.SetIn8Type(2, 1);
    fb.SetIn8Kind(2, 0);
    fb.SetIn8Num(2, 9);
    fb.SetSigNTabS(2, 3);
    fb.SetTypeByte(10, 12);
    fb.SetIntegrNum(10, 0, 5);
    fb.SetIntegrNum(10, 11, 9);
    fb.SetTypeByte(11, 12);
    fb.SetCalcOp(11, 1);
    fb.SetX1Num(11, 9);
    fb.SetX2Src(11, 1);
    fb.SetX2Num(11, 9); // a calculated value, not an analogue input
    return fb;
}

std::array<int, 4> InNums(const TProgFBClass& fb, int i) {
    return {fb.GetInNum(i, 0), fb.GetInNum(i, 1), fb.GetInNum(i, 2), fb.GetInNum(i, 3)};
}

} // namespace

TEST(ProgFBClass, RenumberingAfterDeletingSignals) {
    // Signals 4..6 (positions 3..5) are removed.
    TProgFBClass fb = SmallTable();
    fb.FixInputsOnDelete(3, 3);
    EXPECT_EQ(fb.FBRenumbered, 1);
    EXPECT_EQ(InNums(fb, 0), (std::array{2, 0, 6, 0}));
    EXPECT_EQ(InNums(fb, 1), (std::array{2, 5, 9, 5})); // analogue flags and block references untouched
    EXPECT_EQ(fb.GetInType(0, 1), 1);                   // only the number changes
    EXPECT_EQ(fb.GetIn8Num(2), 6);
    EXPECT_EQ(fb.GetSigNTabS(2), 3);

    fb = SmallTable();
    fb.FixAnInputsOnDelete(3, 3);
    EXPECT_EQ(InNums(fb, 1), (std::array{2, 0, 6, 5}));
    EXPECT_EQ(InNums(fb, 0), (std::array{2, 5, 9, 6}));
    EXPECT_EQ(fb.GetX1Num(2), 6);
    EXPECT_EQ(fb.GetIn8Num(2), 9); // discrete input of the comparator untouched
    EXPECT_EQ(fb.GetIntegrNum(10, 0), 0);
    EXPECT_EQ(fb.GetIntegrNum(10, 11), 6);
    EXPECT_EQ(fb.GetX1NumCalc(11), 6);
    EXPECT_EQ(fb.GetX2Num(11), 9); // a calculated value, not an analogue input
    EXPECT_EQ(fb.GetX2Src(11), 1);

    fb = SmallTable();
    fb.FixInputsOnDelete2(8); // signal 9
    EXPECT_EQ(fb.GetInNum(0, 2), 0);
    EXPECT_EQ(fb.GetIn8Num(2), 0);
    EXPECT_EQ(fb.GetInNum(1, 2), 9);
    fb.FixInputsOnDelete3(8);
    EXPECT_EQ(fb.GetInNum(1, 2), 0);
    EXPECT_EQ(fb.GetX1Num(2), 0);
}

TEST(ProgFBClass, RenumberingAfterGrowingARange) {
    // Signals 4..6 grow by 2: later numbers move up, earlier ones and the range stay; a number
    // pushed past 192 becomes 0.
    TProgFBClass fb = SmallTable();
    fb.SetInNum(0, 3, 191);
    fb.FixInputsOnMove(3, 3, 2);
    EXPECT_EQ(InNums(fb, 0), (std::array{2, 5, 11, 0}));
    EXPECT_EQ(fb.GetInNum(1, 2), 9);
    fb.FixInputsOnMove2(3, 3, 2);
    EXPECT_EQ(fb.GetInNum(1, 2), 11);
    EXPECT_EQ(fb.GetX1Num(2), 11);
    EXPECT_EQ(fb.GetIntegrNum(10, 0), 5);
}

TEST(ProgFBClass, ShiftMoveAndClearRecords) {
    // Blocks 1..4 built; a run of two blocks is inserted before block 2 (index 1).
    TProgFBClass fb = SmallTable();
    fb.FixFbRefsOnShift(1, 6, 7, 4);
    EXPECT_EQ(fb.GetRecord(1), Rec{});
    EXPECT_EQ(fb.GetRecord(2), Rec{});
    EXPECT_EQ((std::array{fb.GetType(0), fb.GetType(3), fb.GetType(4), fb.GetType(5)}),
              (std::array{1, 3, 8, 1}));
    // Block 1 stays, blocks 3 and 4 follow their records, КВУ numbers stay.
    EXPECT_EQ(InNums(fb, 5), (std::array{1, 5, 6, 150}));
    EXPECT_EQ(fb.GetInNum(3, 3), 5); // block 5 is not built: not moved, not renumbered
    EXPECT_EQ(fb.GetInNum(3, 0), 2); // analogue flag numbers are not block numbers
    EXPECT_EQ(fb.GetType(10), 12);   // calculation records stay in place
    EXPECT_EQ(fb.FBRenumbered, 1);

    // A shift that would push built records out of the table is refused.
    fb = SmallTable();
    fb.FBCount = 60;
    const auto before = View(fb).Snapshot();
    fb.FixFbRefsOnShift(0, 0, 9, 55);
    fb.MoveRecords(0, 58, 3); // would end past FBCount
    EXPECT_EQ(View(fb).Snapshot(), before);
    fb.MoveRecords(0, 1, 4);
    EXPECT_EQ((std::array{fb.GetType(1), fb.GetType(2), fb.GetType(4)}), (std::array{1, 3, 1}));
    fb.ClearRecord(1);
    EXPECT_EQ(fb.GetRecord(1), Rec{});
}
