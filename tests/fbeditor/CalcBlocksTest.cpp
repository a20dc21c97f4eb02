// The calculation records on the model alone: record layouts per operation, integrators with
// and without room, deleting arithmetic blocks with the renumbering of their results.

#include "CalcBlocks.h"
#include "FbRecords.h"
#include "FbTableEdit.h"

#include <gtest/gtest.h>

using namespace CalcBlocks;

namespace {

// A table of `logic` AND blocks.
void SetLogic(TProgFBClass& fb, int logic) {
    for (int i = 0; i < logic; ++i)
        SetLogicRecord(fb, i, 1);
    fb.RecountTable();
}

ArithValues Arith(int op, int x1Src, int x1, int x2Src, int x2, int y, QString c1 = "1", QString c2 = "1") {
    return {op, x1Src, x1, c1, x2Src, x2, c2, y};
}

// Appends a new arithmetic block with Y = its ordinal.
void AddArith(TProgFBClass& fb, ArithValues v) {
    v.y = fb.ArithBlockCount + 1;
    ASSERT_TRUE(StoreArith(fb, ArithIndex(fb, fb.ArithBlockCount), v, true));
}

bool ZeroFrom(const TProgFBClass& fb, int from) {
    for (int i = from; i < TProgFBClass::Slots; ++i)
        if (fb.GetRecord(i) != FbRecord{}) return false;
    return true;
}

std::array<int, 3> Counters(const TProgFBClass& fb) {
    return {fb.LogicFBCount, fb.IntegratorCount, fb.ArithBlockCount};
}

} // namespace

TEST(CalcBlocks, EachOperationStoresItsOwnLayout) {
    // X1 calculated value 3, C1 1.5, X2 analogue 7, C2 -2, Y 1.
    const std::vector<std::pair<int, FbRecord>> cases = {
        {1, {0x1C, 0x83, 0x00, 0x60, 0x01, 0x07, 0x00, 0xC0, 0x02, 0x01}},
        {2, {0x2C, 0x83, 0x00, 0x60, 0x01, 0x07, 0x00, 0xC0, 0x02, 0x01}},
        {3, {0x3C, 0x83, 0x00, 0x60, 0x01, 0x07, 0x01}},
        {4, {0x4C, 0x83, 0x00, 0x60, 0x01, 0x07, 0x01}},
        {5, {0x5C, 0x83, 0x00, 0x60, 0x01, 0x00, 0x01}},
    };
    for (const auto& [op, expected] : cases) {
        TProgFBClass fb;
        SetLogic(fb, 2);
        EXPECT_TRUE(StoreArith(fb, 2, Arith(op, 1, 3, 0, 7, 1, "1.5", "-2"), true)) << op;
        EXPECT_EQ(fb.GetRecord(2), expected) << op;
        EXPECT_EQ(Counters(fb), (std::array{2, 0, 1})) << op;
        // A constant shows back with a comma.
        EXPECT_EQ(ReadArith(fb, 2).c1, "1,5");
        EXPECT_EQ(ReadArith(fb, 2).c2, op < 3 ? "-2" : "");
    }
}

TEST(CalcBlocks, StoringRefusesOperationsAndSlotsOutOfPlace) {
    TProgFBClass fb;
    SetLogic(fb, 3);
    AddArith(fb, Arith(1, 0, 1, 0, 2, 0));
    const auto before = AllRecords(fb);
    for (int op : {0, 6, 15})
        EXPECT_FALSE(StoreArith(fb, 4, Arith(op, 0, 1, 0, 1, 2), true)) << op;
    EXPECT_FALSE(StoreArith(fb, 5, Arith(1, 0, 1, 0, 1, 2), true));  // not the next free slot
    EXPECT_FALSE(StoreArith(fb, 4, Arith(1, 0, 1, 0, 1, 2), false)); // no block to edit there
    EXPECT_FALSE(StoreArith(fb, 3, Arith(2, 0, 1, 0, 1, 1, "x"), false));
    EXPECT_EQ(AllRecords(fb), before);

    // An edit changing a calculated X1 back to an analogue one clears bit 7; the multiply layout
    // leaves C2's last bytes and the old Y in byte 9 as they were.
    EXPECT_TRUE(StoreArith(fb, 3, Arith(1, 1, 1, 0, 2, 1), false));
    EXPECT_EQ(fb.GetRecByte(3, 1), 0x81);
    EXPECT_TRUE(StoreArith(fb, 3, Arith(3, 0, 1, 0, 2, 1), false));
    EXPECT_EQ(fb.GetRecord(3), (FbRecord{0x3C, 0x01, 0x00, 0x40, 0x01, 0x02, 0x01, 0x40, 0x01, 0x01}));
}

TEST(CalcBlocks, IntegratorsMoveTheArithmeticBlocksUpAndBackDown) {
    TProgFBClass fb;
    SetLogic(fb, 2);
    AddArith(fb, Arith(1, 0, 1, 0, 2, 0));
    AddArith(fb, Arith(3, 1, 1, 0, 2, 0));
    const FbRecord block1 = fb.GetRecord(2), block2 = fb.GetRecord(3);

    IntegratorValues v;
    v.numbers[0] = 5;
    v.numbers[12] = 6;
    v.dayStartHour = 7;
    ASSERT_TRUE(StoreIntegrators(fb, v, true));
    EXPECT_EQ(fb.GetRecord(2), (FbRecord{0x0C, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}));
    EXPECT_EQ(fb.GetRecord(3), (FbRecord{0x0C, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 7}));
    EXPECT_EQ(fb.GetRecord(4), block1);
    EXPECT_EQ(fb.GetRecord(5), block2);
    EXPECT_TRUE(ZeroFrom(fb, 6));
    EXPECT_EQ(Counters(fb), (std::array{2, 2, 2}));
    EXPECT_EQ(ReadIntegrators(fb).numbers, v.numbers);

    // Integrator 2 alone keeps integrator 1 as an empty calculation record.
    v.numbers[0] = 0;
    ASSERT_TRUE(StoreIntegrators(fb, v, false));
    EXPECT_EQ(fb.GetRecord(2), (FbRecord{0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}));
    EXPECT_EQ(fb.GetRecord(3), (FbRecord{0x0C, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 7}));
    EXPECT_EQ(Counters(fb), (std::array{2, 2, 2}));

    // Both emptied: the records go, the blocks come back with their Y.
    ASSERT_TRUE(StoreIntegrators(fb, IntegratorValues{}, false));
    EXPECT_EQ(fb.GetRecord(2), block1);
    EXPECT_EQ(fb.GetRecord(3), block2);
    EXPECT_TRUE(ZeroFrom(fb, 4));
    EXPECT_EQ(Counters(fb), (std::array{2, 0, 2}));

    // Creating with every number 0 changes nothing.
    const auto before = AllRecords(fb);
    EXPECT_FALSE(StoreIntegrators(fb, IntegratorValues{}, true));
    EXPECT_EQ(AllRecords(fb), before);
}

TEST(CalcBlocks, IntegratorsNeedTwoFreeRecordsAndKeepThemFromLogicBlocks) {
    for (int free : {0, 1, 2}) {
        TProgFBClass fb;
        fb.FBCount = 60;
        SetLogic(fb, 60 - 2 - free);
        AddArith(fb, Arith(1, 0, 1, 0, 2, 0));
        AddArith(fb, Arith(2, 0, 1, 0, 2, 0));
        const auto before = AllRecords(fb);
        IntegratorValues v;
        v.numbers[12] = 1; // only integrator 2: the room is made all the same
        EXPECT_EQ(CheckAction(fb, CreateIntegrators), free < 2 ? Refusal::TableFull : Refusal::None) << free;
        EXPECT_EQ(StoreIntegrators(fb, v, true), free == 2) << free;
        if (free < 2) {
            EXPECT_EQ(AllRecords(fb), before) << free;
            continue;
        }
        EXPECT_EQ(fb.GetCalcOp(59), 2);
        EXPECT_TRUE(ZeroFrom(fb, 60));
        EXPECT_FALSE(FbTable::InsertBlock(fb, fb.LogicFBCount, {}, FbTable::Place::End));
    }

    // One integrator in use still reserves both records against new logic blocks.
    TProgFBClass fb;
    fb.FBCount = 60;
    SetLogic(fb, 50);
    IntegratorValues v;
    v.numbers[0] = 3;
    ASSERT_TRUE(StoreIntegrators(fb, v, true));
    while (FbTable::InsertBlock(fb, fb.LogicFBCount, FbTable::BlockValues{}, FbTable::Place::End)) {
    }
    EXPECT_EQ(Counters(fb), (std::array{58, 1, 0}));
    EXPECT_EQ(fb.GetRecByte(58, 1), 3);
    EXPECT_EQ(fb.GetDayStartHour(59), 0);
    EXPECT_TRUE(ZeroFrom(fb, 60));
}

TEST(CalcBlocks, RefusalsComeInTheirOrder) {
    // Logic blocks, integrators, arithmetic blocks, the action and its refusal.
    for (auto [logic, integrators, arith, action, refusal] :
         {std::tuple{110, 2, 0, CreateIntegrators, Refusal::IntegratorsExist},
          {60, 0, 24, CreateArith, Refusal::ArithFull},
          {96, 0, 24, CreateArith, Refusal::TableFull},
          {10, 2, 3, EditArith, Refusal::None},
          {10, 0, 3, CreateIntegrators, Refusal::None}}) {
        TProgFBClass fb;
        fb.LogicFBCount = logic;
        fb.IntegratorCount = integrators;
        fb.ArithBlockCount = arith;
        EXPECT_EQ(CheckAction(fb, action), refusal) << logic << " " << action;
    }
}

TEST(CalcBlocks, DeletingRenumbersEveryReferenceToLaterResults) {
    // Block Y1 adds results 2 and 3; Y2 multiplies result 3 by analogue input 2; Y3 is the square
    // root of result 1. The comparators take results 2 and 3. The block deleted; X1, X2 and Y of
    // the remaining two; the comparators' results.
    for (auto [k, first, second, comparators] : {
             std::tuple{0, std::array{2, 2, 1}, std::array{0, 0, 2}, std::array{1, 2}},
             {1, {0, 2, 1}, {1, 0, 2}, {0, 2}},
             {2, {2, 0, 1}, {0, 2, 2}, {2, 0}},
         }) {
        TProgFBClass fb;
        for (int i : {0, 1}) {
            SetLogicRecord(fb, i, TProgFBClass::TypeComparator);
            fb.SetX1Src(i, 1);
            fb.SetX1Num(i, 2 + i);
        }
        fb.RecountTable();
        AddArith(fb, Arith(1, 1, 2, 1, 3, 0));
        AddArith(fb, Arith(3, 1, 3, 0, 2, 0));
        AddArith(fb, Arith(5, 1, 1, 0, 0, 0));

        const DeleteResult r = DeleteArith(fb, k);
        EXPECT_TRUE(r.deleted && r.comparatorPresent) << k;
        const auto xy = [&fb](int i) {
            return std::array{fb.GetX1NumCalc(i), fb.GetX2Num(i), ResultOf(fb, i)};
        };
        EXPECT_EQ(std::pair(xy(2), xy(3)), std::pair(first, second)) << k;
        EXPECT_EQ((std::array{fb.GetX1Num(0), fb.GetX1Num(1)}), comparators) << k;
        EXPECT_TRUE(ZeroFrom(fb, 4)) << k;
        EXPECT_EQ(Counters(fb), (std::array{2, 0, 2}));

        // An empty slot deletes nothing.
        const auto before = AllRecords(fb);
        EXPECT_FALSE(DeleteArith(fb, 2).deleted);
        EXPECT_FALSE(DeleteArith(fb, -1).deleted);
        EXPECT_EQ(AllRecords(fb), before);
    }
}
