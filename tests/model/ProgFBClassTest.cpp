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

// A small table. Block 1 (AND): discrete signals 2, 5, 9 and discrete flag 6; block 2: analogue
// flags 2, 5, 9 and block 5; block 3: a comparator of analogue 9 with discrete 9; block 4: blocks
// 1, 3, 4 and КВУ 150; record 10 an integrator of analogue 5 and 9; record 11 an add block of
// analogue 9 and calculated value 9.
TProgFBClass SmallTable() {
    TProgFBClass fb;
    const std::pair<int, Rec> records[] = {
        {0, {1, 0x08, 2, 0x08, 5, 0x08, 9, 0x0C, 6}},   {1, {3, 0x0A, 2, 0x0A, 5, 0x0A, 9, 0x09, 5}},
        {2, {8, 9, 0, 0, 0, 0, 0, 0x08, 9, 3}},         {3, {1, 0x09, 1, 0x09, 3, 0x09, 4, 0x09, 150}},
        {10, {12, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}}, {11, {0x1C, 9, 0, 0, 0, 0x89}},
    };
    for (const auto& [i, r] : records)
        fb.SetRecord(i, r);
    return fb;
}

} // namespace

// Signals 4..6 (positions 3..5) removed, signal 9 cleared, signals 4..6 grown by 2: each edit of
// the small table changes exactly these bytes {record, byte, value}; a number pushed past 192
// becomes 0.
TEST(ProgFBClass, SignalRenumberingChangesOnlyTheAffectedInputs) {
    const struct {
        std::function<void(TProgFBClass&)> edit;
        std::vector<std::array<int, 3>> changes;
    } cases[] = {
        {[](TProgFBClass& fb) { fb.FixInputsOnDelete(3, 3); }, {{0, 4, 0}, {0, 6, 6}, {0, 8, 0}, {2, 8, 6}}},
        {[](TProgFBClass& fb) { fb.FixAnInputsOnDelete(3, 3); },
         {{1, 4, 0}, {1, 6, 6}, {2, 1, 6}, {10, 1, 0}, {10, 12, 6}, {11, 1, 6}}},
        {[](TProgFBClass& fb) { fb.FixInputsOnDelete2(8); }, {{0, 6, 0}, {2, 8, 0}}},
        {[](TProgFBClass& fb) { fb.FixInputsOnDelete3(8); }, {{1, 6, 0}, {2, 1, 0}, {10, 12, 0}, {11, 1, 0}}},
        {[](TProgFBClass& fb) {
             fb.SetInNum(0, 3, 191);
             fb.FixInputsOnMove(3, 3, 2);
         },
         {{0, 6, 11}, {0, 8, 0}, {2, 8, 11}}},
        {[](TProgFBClass& fb) { fb.FixInputsOnMove2(3, 3, 2); },
         {{1, 6, 11}, {2, 1, 11}, {10, 12, 11}, {11, 1, 11}}},
    };
    for (const auto& c : cases) {
        TProgFBClass fb = SmallTable(), expected = SmallTable();
        c.edit(fb);
        for (const auto& [i, k, v] : c.changes)
            expected.SetRecByte(i, k, v);
        EXPECT_EQ(View(fb).Snapshot(), View(expected).Snapshot()) << c.changes.size();
        EXPECT_EQ(fb.FBRenumbered, 1);
    }
}

TEST(ProgFBClass, ShiftMoveAndClearRecords) {
    // Blocks 1..4 built; a run of two blocks is inserted before block 2 (index 1): blocks 2..4
    // move up by two, the opened records are cleared, references to blocks 3 and 4 follow them.
    // Block 1, block 5 (not built), analogue flag and КВУ numbers stay; so do calculation records.
    const TProgFBClass old = SmallTable();
    TProgFBClass fb = old, expected = old;
    fb.FixFbRefsOnShift(1, 6, 7, 4);
    expected.SetRecord(1, Rec{});
    expected.SetRecord(2, Rec{});
    expected.SetRecord(3, old.GetRecord(1));
    expected.SetRecord(4, old.GetRecord(2));
    expected.SetRecord(5, {1, 0x09, 1, 0x09, 5, 0x09, 6, 0x09, 150});
    EXPECT_EQ(View(fb).Snapshot(), View(expected).Snapshot());
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
