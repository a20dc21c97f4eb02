// The table edits of the block editor on the model alone: storing rules, inserting a block,
// copied runs, deleting, and the algorithm lists.

#include "FbTableEdit.h"
#include "FbRecords.h"
#include "TCopyBlocksClass.h"

#include <gtest/gtest.h>

#include <vector>

using FbTable::BlockValues;
using FbTable::GroupResult;
using FbTable::Place;

namespace {

constexpr int End = TProgFBClass::AlgEnd;

void SetCalc(TProgFBClass& fb, int i, int op, int tag) {
    fb.ClearRecord(i);
    fb.SetTypeByte(i, TProgFBClass::TypeCalc);
    fb.SetCalcOp(i, op);
    fb.SetRecByte(i, 14, tag);
}

std::array<int, 4> Nums(const TProgFBClass& fb, int i) {
    return {fb.GetInNum(i, 0), fb.GetInNum(i, 1), fb.GetInNum(i, 2), fb.GetInNum(i, 3)};
}

const FbTable::Limits Lim{.discreteInputs = 24, .analogueInputs = 8, .ownInputs = 12, .relayModules = 1};

// An AND block with inputs (kind, number).
BlockValues And(std::initializer_list<std::pair<int, int>> inputs) {
    BlockValues v;
    int j = 0;
    for (auto [kind, num] : inputs) {
        v.inType[size_t(j)] = 1;
        v.inSource[size_t(j)] = FbTable::SourceOfKind(kind);
        v.inNum[size_t(j++)] = num;
    }
    return v;
}

// Blocks 1..4, with references of every kind; two integrators behind them; algorithms
// "A" = {1, 3} (not contiguous), "B" = {4, 2}.
TProgFBClass Table() {
    TProgFBClass fb;
    SetLogicRecord(fb, 0, 1, {{0, 5}, {1, 150}});
    SetLogicRecord(fb, 1, 3, {{1, 1}, {1, 3}, {2, 2}, {4, 3}});
    SetLogicRecord(fb, 2, 2, {{1, 4}, {1, 2}});
    SetLogicRecord(fb, 3, TProgFBClass::TypeComparator);
    fb.SetIn8Kind(3, 1);
    fb.SetIn8Num(3, 3);
    SetCalc(fb, 4, 0, 41);
    SetCalc(fb, 5, 0, 42);
    SetAlgorithm(fb, 0, {1, 3}, "A");
    SetAlgorithm(fb, 1, {4, 2}, "B");
    FbTable::RecomputeAlgMarks(fb);
    fb.RecountTable();
    return fb;
}

} // namespace

TEST(FbTableEdit, StoreRulesClampAndZero) {
    TProgFBClass fb = Table(); // 4 built, limit 118, two integrators (119, 120)
    for (auto [what, kind, typed, stored] : {
             std::tuple{"discrete in range", 0, 24, 24},
             {"discrete above count", 0, 25, 0},
             {"discrete flag above", 4, 25, 0},
             {"analogue flag in range", 2, 8, 8},
             {"analogue flag above", 2, 9, 0},
             {"built block", 1, 4, 4},
             {"block not built yet", 1, 5, 0},
             {"last logic number", 1, 118, 0},
             {"integrator number", 1, 119, 0},
             {"integrator number 2", 1, 120, 0},
             {"КВУ", 1, 150, 150},
             {"КВУ limit", 1, 184, 184},
             {"above КВУ limit", 1, 185, 0},
         })
        EXPECT_EQ(FbTable::ApplyStoreRules(fb, And({{kind, typed}}), Lim).inNum[0], stored) << what;
    fb.FBCount = 60;
    fb.RecountTable();
    EXPECT_EQ(FbTable::ApplyStoreRules(fb, And({{1, 120}}), Lim).inNum[0], 120);
    EXPECT_EQ(FbTable::ApplyStoreRules(fb, And({{1, 121}}), Lim).inNum[0], 0);

    BlockValues t{.type = TProgFBClass::TypeComparator};
    // Typed time, hysteresis, counter set point and what is stored.
    for (auto [typed, stored] : {std::pair{std::array{200, 40, 40}, std::array{120, 31, 31}},
                                 std::pair{std::array{-5, -1, -3}, std::array{0, 0, 0}},
                                 std::pair{std::array{120, 31, 31}, std::array{120, 31, 31}}}) {
        t.time = typed[0];
        t.hysteresis = typed[1];
        t.countLimit = typed[2];
        const BlockValues r = FbTable::ApplyStoreRules(fb, t, Lim);
        EXPECT_EQ((std::array{r.time, r.hysteresis, r.countLimit}), stored);
    }
    // The comparator's operand: an analogue input up to the count, a math block up to the
    // arithmetic count.
    for (auto [source, typed, stored] : {std::array{0, 9, 0}, {0, 8, 8}, {1, 8, 0}}) {
        t.x1Src = source;
        t.x1Num = typed;
        EXPECT_EQ(FbTable::ApplyStoreRules(fb, t, Lim).x1Num, stored);
    }
}

TEST(FbTableEdit, StoreAndReadBackEveryType) {
    TProgFBClass fb;
    BlockValues v{.type = TProgFBClass::TypeTimer, .timerType = 5, .timeUnit = 2, .time = 77, .hour = 23};
    v.minute = 59;
    v.second = 7;
    v.inType[0] = 1;
    v.inSource[0] = 3;
    v.inNum[0] = 12;
    v.archive = true;
    FbTable::StoreBlock(fb, 0, v, false);
    const BlockValues r = FbTable::ReadBlock(fb, 0);
    EXPECT_EQ((std::array{r.type, r.timerType, r.timeUnit, r.time, r.hour, r.minute, r.second, r.inSource[0],
                          r.inNum[0], int(r.archive)}),
              (std::array{6, 5, 2, 77, 23, 59, 7, 3, 12, 1}));
    EXPECT_EQ(fb.GetInKind(0, 0), 4);

    BlockValues c{
        .type = TProgFBClass::TypeComparator, .x1Num = 3, .x1Src = 1, .limit = "-12,5", .condition = 1};
    c.hysteresis = 31;
    c.inSource[0] = 1;
    c.inNum[0] = 2;
    FbTable::StoreBlock(fb, 1, c, false);
    EXPECT_EQ((std::array{fb.GetX1Num(1), fb.GetX1Src(1), fb.GetCompCond(1), fb.GetCompHyst(1),
                          fb.GetIn8Kind(1), fb.GetIn8Num(1)}),
              (std::array{3, 1, 1, 31, 1, 2}));
    EXPECT_EQ(fb.GetCompUstText(1).replace(',', '.').toDouble(), -12.5);

    // Editing to another type clears bytes 0..8 first; bytes 9..15 stay.
    for (int k = 0; k < TProgFBClass::RecordLen; ++k)
        fb.SetRecByte(2, k, 0xFF);
    FbTable::StoreBlock(fb, 2, {.type = TProgFBClass::TypeCounter, .countLimit = 17}, true);
    // The archiving state is the dialog's.
    EXPECT_EQ((std::array{fb.GetCountUst(2), fb.GetInNum(2, 3), fb.GetRecByte(2, 7), fb.GetRecByte(2, 10),
                          fb.GetSigKont(2)}),
              (std::array{17, 0, 0, 0xFF, 0}));
}

TEST(FbTableEdit, InsertBlockRenumbersOnlyBlockNumbers) {
    // Before block 1, before the last block, after block 2, at the end; the algorithm lists after.
    for (auto [place, q, a, b] : {
             std::tuple{Place::Before, 0, std::vector{1, 2, 4}, std::vector{5, 3}},
             {Place::Before, 3, {1, 3, 4}, {5, 2}}, // block 4 starts "B": the new one ends "A"
             {Place::After, 2, {1, 4}, {5, 2, 3}},
             {Place::End, 4, {1, 3}, {4, 2, 5}},
         }) {
        TProgFBClass fb = Table();
        // The new block references block 3 and a КВУ number, typed in the old numbers.
        ASSERT_TRUE(FbTable::InsertBlock(fb, q, And({{1, 3}, {1, 150}, {0, 3}}), place));
        const auto shift = [&](int n) { return n > q && n <= 4 ? n + 1 : n; };
        const auto index = [&](int old) { return old >= q ? old + 1 : old; };
        EXPECT_EQ(fb.LogicFBCount, 5);
        EXPECT_EQ(Nums(fb, q), (std::array{shift(3), 150, 3, 0})) << q;
        // Block 1 (kind 0 number 5, КВУ 150) keeps its numbers.
        EXPECT_EQ(Nums(fb, index(0)), (std::array{5, 150, 0, 0}));
        // Block 2: kind-1 numbers follow, the analogue and discrete flags stay.
        EXPECT_EQ(Nums(fb, index(1)), (std::array{shift(1), shift(3), 2, 3})) << q;
        EXPECT_EQ(fb.GetIn8Num(index(3)), shift(3)) << "comparator bytes 7-8";
        // The integrators follow the blocks.
        EXPECT_EQ((std::array{fb.GetRecByte(5, 14), fb.GetRecByte(6, 14)}), (std::array{41, 42}));
        EXPECT_EQ(fb.IntegratorCount, 2);
        EXPECT_EQ(std::pair(AlgList(fb, 0), AlgList(fb, 1)), std::pair(a, b)) << q;
        EXPECT_EQ(fb.AlgTable.GetMark(b[0] - 1), b[0]);
    }
}

TEST(FbTableEdit, InsertBlockLimitAndSignallingFrom62) {
    TProgFBClass fb;
    fb.FBCount = 60;
    for (int i = 0; i < 60; ++i)
        SetLogicRecord(fb, i, 1);
    const auto full = AllRecords(fb);
    EXPECT_FALSE(FbTable::InsertBlock(fb, 60, And({}), Place::End));
    EXPECT_FALSE(FbTable::InsertBlock(fb, 0, And({}), Place::Before));
    EXPECT_EQ(AllRecords(fb), full);

    // Blocks 62 and 63 (indexes 61, 62) archive and signal; an insertion before block 1 moves
    // block 62 to index 62, where signalling and archiving are not kept.
    TProgFBClass big;
    for (int i = 0; i < 63; ++i)
        SetLogicRecord(big, i, 1);
    for (int i : {60, 61, 62}) {
        big.SetSigTipS(i, 2);
        big.SetSigNTabS(i, 5);
        big.SetSigKont(i, 1);
    }
    ASSERT_TRUE(FbTable::InsertBlock(big, 0, And({}), Place::Before));
    EXPECT_EQ((std::array{big.GetSigTipS(61), big.GetSigNTabS(61), big.GetSigKont(61)}),
              (std::array{2, 5, 1}));
    for (int i : {62, 63})
        EXPECT_EQ((std::array{big.GetSigTipS(i), big.GetSigNTabS(i), big.GetSigKont(i)}),
                  (std::array{0, 0, 0}));
    EXPECT_EQ(big.GetRecord(64), (std::array<uint8_t, 16>{}));
}

TEST(FbTableEdit, CopiedRunInsertedBeforeFirstKeepsItsLink) {
    TProgFBClass fb = Table();
    TCopyBlocksClass copy;
    fb.EditorState.Chosen[1] = 1; // block 2: inputs 1, 3, analogue 2, flag 3
    fb.EditorState.Chosen[2] = 1; // block 3: inputs 4, 2 (takes block 2's output)
    EXPECT_EQ(FbTable::CopyChosen(fb, copy), 2);
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, 0, Lim), GroupResult::Inserted);
    EXPECT_EQ(fb.LogicFBCount, 6);
    // The copies: block 1 is after the insertion point (grows by 2), the run's own numbers follow
    // the copy; the flags stay.
    EXPECT_EQ(Nums(fb, 0), (std::array{3, 2, 2, 3}));
    EXPECT_EQ(Nums(fb, 1), (std::array{6, 1, 0, 0}));
    // The originals follow their records.
    EXPECT_EQ(Nums(fb, 3), (std::array{3, 5, 2, 3}));
    EXPECT_EQ(fb.GetIn8Num(5), 5);
    EXPECT_EQ((std::array{fb.GetRecByte(6, 14), fb.GetRecByte(7, 14)}), (std::array{41, 42}));
    EXPECT_EQ(std::pair(AlgList(fb, 0), AlgList(fb, 1)),
              std::pair(std::vector{1, 2, 3, 5}, std::vector{6, 4}));
    EXPECT_EQ(std::pair(fb.AlgTable.GetMark(0), fb.AlgTable.GetMark(5)), std::pair(1, 6));
}

TEST(FbTableEdit, CopiedRunRefusals) {
    TProgFBClass fb = Table();
    TCopyBlocksClass copy;
    for (int i : {0, 1, 3})
        fb.EditorState.Chosen[size_t(i)] = 1;
    FbTable::CopyChosen(fb, copy);
    const auto before = AllRecords(fb);
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, 0, Lim), GroupResult::Gap);
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, -1, Lim), GroupResult::Gap);
    EXPECT_EQ(AllRecords(fb), before);
    EXPECT_EQ(std::pair(AlgList(fb, 0), AlgList(fb, 1)), std::pair(std::vector{1, 3}, std::vector{4, 2}));

    fb.EditorState.Chosen[3] = 0;
    FbTable::CopyChosen(fb, copy);
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, 4, Lim), GroupResult::NoTarget);
    fb.FBCount = 8; // limit 6: room for 2 more
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, 0, Lim), GroupResult::Inserted);
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, copy, -1, Lim), GroupResult::NoRoom);
    TCopyBlocksClass none;
    EXPECT_EQ(FbTable::InsertCopiedRun(fb, none, -1, Lim), GroupResult::NothingCopied);
}

TEST(FbTableEdit, CopiedRunAppendedAdjustsWhatTheConfigurationLacks) {
    TProgFBClass fb = Table();
    fb.SetSigTipS(0, 1);
    fb.SetSigNTabS(0, 20); // above 12 own inputs
    for (int k = 1; k <= 5; ++k)
        fb.SetB9Plus(0, k, 0x10 + k);
    fb.SetInNum(0, 0, 30); // discrete above 24
    TCopyBlocksClass copy;
    fb.EditorState.Chosen[0] = 1;
    fb.EditorState.Chosen[1] = 1;
    FbTable::CopyChosen(fb, copy);
    for (auto [modules, controller, bytes] :
         {std::tuple{1, false, std::array{0x11, 0, 0, 0, 0}},
          std::tuple{0, true, std::array{0x11, 0, 0, 0, 0}}, std::tuple{0, false, std::array{0, 0, 0, 0, 0}},
          std::tuple{3, false, std::array{0x11, 0x12, 0x13, 0, 0}}}) {
        TProgFBClass t = fb;
        FbTable::Limits lim = Lim;
        lim.relayModules = modules;
        lim.controllerRelays = controller;
        ASSERT_EQ(FbTable::InsertCopiedRun(t, copy, -1, lim), GroupResult::Inserted);
        EXPECT_EQ((std::array{t.GetB9Plus(4, 1), t.GetB9Plus(4, 2), t.GetB9Plus(4, 3), t.GetB9Plus(4, 4),
                              t.GetB9Plus(4, 5)}),
                  bytes);
        EXPECT_EQ((std::array{t.GetSigTipS(4), t.GetSigNTabS(4)}), (std::array{0, 0}));
        EXPECT_EQ(Nums(t, 4), (std::array{0, 150, 0, 0}));
        EXPECT_EQ(Nums(t, 5), (std::array{5, 3, 2, 3})); // 1 follows the copy, 3 stays
        EXPECT_EQ((std::array{t.GetRecByte(6, 14), t.GetRecByte(7, 14)}), (std::array{41, 42}));
        EXPECT_EQ(AlgList(t, 1), (std::vector{4, 2, 5, 6}));
    }
}

TEST(FbTableEdit, DeleteFirstAndLastBlock) {
    TProgFBClass fb = Table();
    FbTable::DeleteBlock(fb, 0);
    EXPECT_EQ(fb.LogicFBCount, 3);
    EXPECT_EQ(Nums(fb, 0), (std::array{0, 2, 2, 3})); // block 1 gone, 3 is now 2
    EXPECT_EQ(Nums(fb, 1), (std::array{3, 1, 0, 0}));
    EXPECT_EQ(fb.GetIn8Num(2), 2);
    EXPECT_EQ((std::array{fb.GetRecByte(3, 14), fb.GetRecByte(4, 14)}), (std::array{41, 42}));
    EXPECT_EQ(fb.GetRecord(5), (std::array<uint8_t, 16>{}));
    EXPECT_EQ(std::pair(AlgList(fb, 0), AlgList(fb, 1)), std::pair(std::vector{2}, std::vector{3, 1}));
    EXPECT_EQ(std::pair(fb.AlgTable.GetMark(1), fb.AlgTable.GetMark(0)), std::pair(2, End));

    // The last block (number 3) leaves "B"; then block 2, the only entry of "A", goes, and "A"
    // with its name.
    FbTable::DeleteBlock(fb, 2);
    EXPECT_EQ(fb.LogicFBCount, 2);
    EXPECT_EQ(AlgList(fb, 1), (std::vector{1}));
    FbTable::DeleteBlock(fb, 1);
    EXPECT_EQ(std::tuple(fb.AlgTable.GetCount(), fb.GetFbText(0), fb.GetFbText(1), fb.AlgTable.GetMark(0)),
              std::tuple(1, QString("B"), QString(), 1));
    EXPECT_EQ(std::pair(AlgList(fb, 0), AlgList(fb, 1)), std::pair(std::vector{1}, std::vector<int>{}));
}
