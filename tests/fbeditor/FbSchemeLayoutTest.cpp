// The function-block scheme layout computed from the records, without any window.

#include "editors/fb/FbSchemeLayout.h"
#include "Configuration.h"
#include "FbRecords.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using FbScheme::Block;

class FbSchemeLayoutTest : public ::testing::Test {
  protected:
    static constexpr int PanelHeight = 106;

    FbScheme::Layout Lay() const { return FbScheme::LayOut(cfg.FB, cfg.Serv, analogue, PanelHeight); }
    void Blocks(int count, int type = 1) {
        for (int i = 0; i < count; ++i)
            SetLogicRecord(cfg.FB, i, type);
    }
    void Relay(int i) { cfg.FB.SetB9Plus(i, 1, 0x01); }

    TConfiguration cfg;
    // Analogue signals 1..60 are named; the grid has no rows past them.
    std::function<QString(int)> analogue = [](int n) {
        return n <= 60 ? "A" + QString::number(n) : QString();
    };
};

TEST_F(FbSchemeLayoutTest, RowsAndColumns) {
    struct Case {
        int blocks;
        std::vector<int> relays; // indices with a relay output
        std::vector<int> starts; // indices that start an algorithm
        std::vector<std::pair<int, int>> cells;
    };
    const Case cases[] = {
        // Three a row; a relay output ends its row; or stands in the last column; or on every block.
        {4, {}, {}, {{0, 0}, {0, 1}, {0, 2}, {1, 0}}},
        {7, {1}, {6}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {3, 0}}},
        {4, {2}, {}, {{0, 0}, {0, 1}, {0, 2}, {1, 0}}},
        {3, {0, 1, 2}, {}, {{0, 0}, {1, 0}, {2, 0}}},
        // An algorithm starting in column 0 stays there; algorithms starting mid-row.
        {5, {}, {0, 3}, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}}},
        {4, {}, {1, 2}, {{0, 0}, {1, 0}, {2, 0}, {2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(&c - cases));
        cfg = TConfiguration();
        Blocks(c.blocks);
        for (int i : c.relays)
            Relay(i);
        for (int i : c.starts)
            cfg.FB.AlgTable.SetMark(i, i + 1);
        const FbScheme::Layout layout = Lay();
        ASSERT_EQ(layout.blocks.size(), c.cells.size());
        for (size_t n = 0; n < c.cells.size(); ++n) {
            const FbScheme::Link& link = layout.blocks[n].link;
            const auto [row, col] = c.cells[n];
            const QPoint at(col * 250, row * 120 + 15);
            EXPECT_EQ(std::tuple(link.row, link.column, link.index, QPoint(link.left, link.top),
                                 layout.blocks[n].panel),
                      std::tuple(row, col, int(n), at, at))
                << "block " << n + 1;
        }
        // The scheme area ends 20 below the last panel.
        EXPECT_EQ(layout.height, c.cells.back().first * 120 + 15 + PanelHeight + 20);
    }
}

TEST_F(FbSchemeLayoutTest, SignallingAndRelayOutputsBesideTheirBlock) {
    // Block 2 in column 1 drives relays 1 and 3 of module 1 and relay 8 of module 4; block 4 in
    // row 1 has signalling type 2 on light-board cell 7.
    Blocks(4);
    cfg.FB.SetB9Plus(1, 1, 0x05);
    cfg.FB.SetB9Plus(1, 4, 0x80);
    cfg.FB.SetSigTipS(3, 2);
    cfg.FB.SetSigNTabS(3, 7);
    const FbScheme::Layout layout = Lay();
    ASSERT_EQ(layout.blocks.size(), 4u);

    const Block& relayed = layout.blocks[1];
    ASSERT_TRUE(relayed.relay);
    EXPECT_EQ(relayed.relay->masks, (std::array<uint8_t, 5>{0x05, 0, 0, 0x80, 0}));
    EXPECT_EQ(std::tuple(relayed.relay->panel, relayed.relay->line, relayed.relay->lineWidth),
              std::tuple(QPoint(750, 15 + 24), QPoint(500, 15 + 44), 250));
    EXPECT_EQ(relayed.background, QRect(250, 15, 250 + 64 + 250, PanelHeight));
    EXPECT_EQ(std::pair(relayed.output.shape, relayed.output.shown), std::pair(stZigzag2, true));
    EXPECT_FALSE(relayed.signalling);

    const Block& signalled = layout.blocks[3];
    ASSERT_TRUE(signalled.signalling);
    const FbScheme::Signalling& s = *signalled.signalling;
    const QPoint p = signalled.panel;
    EXPECT_EQ(p, QPoint(250, 135));
    EXPECT_EQ(std::tuple(s.type, s.cell, s.panel, s.connector.pos, s.connector.shape, s.connector.shown),
              std::tuple(2, 7, p + QPoint(165, 10), p + QPoint(192, 17), stZigzag2, true));
    EXPECT_FALSE(signalled.relay);
    // The elements every block has.
    EXPECT_EQ(std::tuple(signalled.background, signalled.mark, signalled.output.pos),
              std::tuple(QRect(p, QSize(250, PanelHeight)), p + QPoint(150, 72), p + QPoint(230, 20)));

    // The line always ends at the relay column.
    for (int col = 0; col < 3; ++col) {
        cfg = TConfiguration();
        Blocks(col + 1);
        Relay(col);
        const FbScheme::Layout layout = Lay();
        const Block& b = layout.blocks[size_t(col)];
        ASSERT_TRUE(b.relay) << col;
        EXPECT_EQ(std::pair(b.relay->line.x() + b.relay->lineWidth, b.background.right() + 1),
                  std::pair(750, 750 + 64))
            << col;
    }
}

TEST_F(FbSchemeLayoutTest, InputCaptionsNameTheirSources) {
    cfg.Serv.SetInputTextString(4, 0, "БРОН");
    cfg.Serv.SetInputTextString(4, 1, ".Д5");
    struct Case {
        int fbCount, kind, number;
        QString caption;
    };
    const Case cases[] = {
        {120, 0, 5, "БРОН.Д5"}, {120, 0, 0, ""},        {120, 0, 193, ""},       {120, 4, 5, "БРОН.Д5  b"},
        {120, 4, 193, ""},      {120, 2, 3, "A3  b"},   {120, 2, 61, "  b"},     {120, 2, 193, ""},
        {120, 1, 1, "ФБ1"},     {120, 1, 120, "ФБ120"}, {120, 1, 121, "КВУ121"}, {120, 1, 184, "КВУ184"},
        {120, 1, 185, ""},      {120, 3, 4, ""},        {120, 5, 4, ""},         {120, 1, 0, ""},
        {60, 1, 60, "ФБ60"},    {60, 1, 61, "КВУ61"},   {60, 1, 120, "КВУ120"},  {60, 1, 121, ""},
    };
    for (const Case& c : cases) {
        cfg.FB.FBCount = c.fbCount;
        SetLogicRecord(cfg.FB, 0, 1, {{c.kind, c.number}});
        EXPECT_EQ(Lay().blocks.at(0).inputs[0].caption, c.caption) << c.kind << " " << c.number;
    }

    // Inversion, and the inputs a block type does not have stay empty.
    SetLogicRecord(cfg.FB, 0, 3, {{0, 5}, {0, 5}, {0, 5}, {0, 5}});
    cfg.FB.SetInType(0, 1, 0);
    SetLogicRecord(cfg.FB, 1, 5, {{0, 5}, {0, 5}, {0, 5}, {0, 5}});
    const FbScheme::Layout layout = Lay();
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(layout.blocks[0].inputs[size_t(j)].type, j == 1 ? itInverse : itNormal) << j;
        EXPECT_EQ(layout.blocks[1].inputs[size_t(j)].caption, j < 2 ? "БРОН.Д5" : "") << j;
    }
}

TEST_F(FbSchemeLayoutTest, TheBlockBeforeReachesTheInputThatTakesIt) {
    // Input j of block 2 taking block 1: block 1's connector reaches input j.
    const ShapeZType reach[] = {stZigzag3, stZigzag2, stZigzag1, stZigzag0};
    for (int j = 0; j < 4; ++j) {
        SetLogicRecord(cfg.FB, 0, 1);
        SetLogicRecord(cfg.FB, 1, 1);
        cfg.FB.SetInKind(1, j, 1);
        cfg.FB.SetInNum(1, j, 1);
        const FbScheme::Layout layout = Lay();
        // Nothing takes the last block.
        EXPECT_EQ(std::tuple(layout.blocks[0].output.shape, layout.blocks[0].output.shown,
                             layout.blocks[1].link.feeders[size_t(j)], layout.blocks[1].output.shown),
                  std::tuple(reach[j], true, 1, false))
            << j;
    }

    // Block 2 takes block 1 on inputs 1 and 3 (the later one is drawn) and a КВУ signal; block 3
    // takes block 1 and block 2; block 4, a timer T5, only on its one input.
    SetLogicRecord(cfg.FB, 1, 1, {{1, 1}, {1, 121}, {1, 1}, {0, 2}});
    SetLogicRecord(cfg.FB, 2, 1, {{1, 1}, {0, 0}, {1, 2}});
    SetLogicRecord(cfg.FB, 3, 6, {{1, 3}, {1, 3}});
    cfg.FB.SetSubtype(3, 5);
    FbScheme::Layout layout = Lay();
    ASSERT_EQ(layout.blocks.size(), 4u);
    EXPECT_EQ(std::tuple(layout.blocks[0].output.shape, layout.blocks[1].output.shape,
                         layout.blocks[2].output.shape),
              std::tuple(stZigzag1, stZigzag1, stZigzag3));
    EXPECT_EQ(layout.blocks[3].inputs[1].caption, "");
    const std::array<int, 4> feeders[] = {{0, 0, 0, 0}, {1, 0, 1, 0}, {1, 0, 2, 0}, {3, 0, 0, 0}};
    for (size_t n = 0; n < 4; ++n)
        EXPECT_EQ(layout.blocks[n].link.feeders, feeders[n]) << n;
    // The link record's words in their order.
    const FbScheme::Link& link = layout.blocks[2].link;
    EXPECT_EQ(link.ToRecord().w, (std::array<int, 9>{2, 500, 15, 0, 2, 1, 0, 2, 0}));

    // A block that drives relays keeps its relay connector.
    Relay(0);
    layout = Lay();
    EXPECT_EQ(std::pair(layout.blocks[0].output.shape, layout.blocks[0].output.shown),
              std::pair(stZigzag2, true));

    // A block taken by no next block has no connector.
    SetLogicRecord(cfg.FB, 2, 1);
    layout = Lay();
    EXPECT_EQ(std::pair(layout.blocks[1].output.shape, layout.blocks[1].output.shown),
              std::pair(stZigzag0, false));
}

TEST_F(FbSchemeLayoutTest, TheComparatorShowsItsDiscreteInputAndItsOperand) {
    Blocks(1);
    SetLogicRecord(cfg.FB, 1, 8);
    cfg.FB.SetIn8Type(1, 0);
    cfg.FB.SetIn8Kind(1, 1);
    cfg.FB.SetIn8Num(1, 1);
    cfg.FB.SetCompUstText(1, "12,5");
    cfg.FB.SetCompCond(1, 1);
    cfg.FB.SetCompHyst(1, 9);
    cfg.FB.SetTimerDiskr(1, 2);
    cfg.FB.SetTimeUst(1, 30);
    struct Case {
        int x1, source;
        QString caption;
    };
    for (const Case& c :
         {Case{3, 0, "A3"}, Case{3, 1, "МБ3"}, Case{0, 0, ""}, Case{0, 1, ""}, Case{70, 0, ""}}) {
        cfg.FB.SetX1Num(1, c.x1);
        cfg.FB.SetX1Src(1, c.source);
        const FbScheme::Layout layout = Lay();
        const Block& cmp = layout.blocks.at(1);
        EXPECT_EQ(cmp.inputs[1].caption, c.caption) << c.x1 << " " << c.source;
        EXPECT_EQ(
            std::tuple(cmp.type, cmp.inputs[0].caption, cmp.inputs[0].type, layout.blocks[0].output.shape),
            std::tuple(ftComparator, QString("ФБ1"), itInverse, stZigzag3));
        EXPECT_EQ(cmp.link.feeders, (std::array<int, 4>{1, 0, 0, 0}));
        EXPECT_EQ(std::tuple(cmp.settings.condition, cmp.settings.limit, cmp.settings.hysteresis,
                             cmp.settings.timeUnit, cmp.settings.time),
                  std::tuple(ccH, 12.5f, 9, tdDecsec, 30));
    }
}

TEST_F(FbSchemeLayoutTest, SettingsOfEachTypeAndTheFirstMemberForBadValues) {
    SetLogicRecord(cfg.FB, 0, 6); // timer: subtype, unit and time out of range
    cfg.FB.SetSubtype(0, 9);
    cfg.FB.SetTimerDiskr(0, 3);
    cfg.FB.SetTimeUst(0, 200);
    SetLogicRecord(cfg.FB, 1, 7); // trigger kind out of range
    cfg.FB.SetSubtype(1, 6);
    SetLogicRecord(cfg.FB, 2, 6); // timer T5 with its alarm time
    cfg.FB.SetSubtype(2, 5);
    cfg.FB.SetAlarmHour(2, 23);
    cfg.FB.SetAlarmMin(2, 59);
    cfg.FB.SetAlarmSec(2, 7);
    SetLogicRecord(cfg.FB, 3, 9); // counter
    cfg.FB.SetCountUst(3, 31);
    SetLogicRecord(cfg.FB, 4, 7);
    cfg.FB.SetSubtype(4, 1);
    SetLogicRecord(cfg.FB, 5, 2);
    const FbScheme::Layout layout = Lay();
    ASSERT_EQ(layout.blocks.size(), 6u);

    const FbScheme::Settings& timer = layout.blocks[0].settings;
    EXPECT_EQ(std::tuple(timer.timer, timer.timeUnit, timer.time, timer.alarm.has_value()),
              std::tuple(T0, tdms, 120, false));
    EXPECT_EQ(std::tuple(layout.blocks[1].settings.trigger, layout.blocks[4].settings.trigger),
              std::tuple(ttRS, ttSR));
    const FbScheme::Settings& t5 = layout.blocks[2].settings;
    EXPECT_EQ(t5.timer, T5);
    ASSERT_TRUE(t5.alarm);
    EXPECT_EQ(std::tuple(t5.alarm->hour, t5.alarm->minute, t5.alarm->second), std::tuple(23, 59, 7));
    EXPECT_EQ(layout.blocks[3].settings.countLimit, 31);
    // A type shows only its own settings.
    const FbScheme::Settings& nand = layout.blocks[5].settings;
    EXPECT_EQ(layout.blocks[5].type, ftANDInv);
    EXPECT_FALSE(nand.timer || nand.timeUnit || nand.trigger || nand.condition || nand.countLimit);
    EXPECT_FALSE(layout.blocks[3].settings.timeUnit || layout.blocks[3].settings.trigger);
}

TEST_F(FbSchemeLayoutTest, TheSchemeEndsAtTheFirstRecordOfNoLogicType) {
    // An empty table: no blocks, no labels, no height.
    cfg.FB.AlgTable.SetCount(2);
    FbScheme::Layout layout = Lay();
    EXPECT_EQ(std::tuple(layout.blocks.size(), layout.labels.size(), layout.height.has_value()),
              std::tuple(0u, 0u, false));

    // A type outside 1..9 ends the scheme, whatever follows.
    for (int bad : {0, 10, 11, 12, 13, 15}) {
        Blocks(4);
        SetLogicRecord(cfg.FB, 1, bad);
        EXPECT_EQ(Lay().blocks.size(), 1u) << bad;
    }

    // Every loop stays within FBCount and the capacity.
    Blocks(120);
    for (auto [fbCount, built] :
         {std::pair(60, 60), std::pair(120, 120), std::pair(200, 120), std::pair(0, 0), std::pair(-5, 0)}) {
        cfg.FB.FBCount = fbCount;
        EXPECT_EQ(Lay().blocks.size(), size_t(built)) << fbCount;
    }
}

TEST_F(FbSchemeLayoutTest, CalculationRecordsAfterTheBlocksAreCounted) {
    // Three blocks, two integrators and one arithmetic block; then an AND block that is not drawn.
    Blocks(3, 5);
    SetLogicRecord(cfg.FB, 3, 12);
    SetLogicRecord(cfg.FB, 4, 12);
    SetLogicRecord(cfg.FB, 5, 0x1C);
    SetLogicRecord(cfg.FB, 6, 1);
    FbScheme::Layout layout = Lay();
    EXPECT_EQ(layout.blocks.size(), 3u);
    EXPECT_EQ(std::pair(layout.integrators, layout.arithBlocks), std::pair(2, 1));

    // Counted only within the 26 records after the blocks and within FBCount.
    SetLogicRecord(cfg.FB, 3 + 26, 0x2C);
    SetLogicRecord(cfg.FB, 3 + 25, 0x2C);
    layout = Lay();
    EXPECT_EQ(layout.arithBlocks, 2);
    cfg.FB.FBCount = 60;
    Blocks(60);
    SetLogicRecord(cfg.FB, 60, 12);
    EXPECT_EQ(Lay().integrators, 0);
}

TEST_F(FbSchemeLayoutTest, AlgorithmLabelsStandAboveTheirFirstBuiltBlock) {
    Blocks(5);
    auto& alg = cfg.FB.AlgTable;
    alg.SetCount(4);
    alg.SetEntry(0, 0, 4);
    alg.SetEntry(0, 1, 5);
    alg.SetMark(3, 4);
    // Algorithm 2 is empty; 3 starts with 0; 4 with a block that has no panel.
    alg.SetEntry(2, 0, 0);
    alg.SetEntry(3, 0, 50);
    for (int a = 0; a < 4; ++a)
        cfg.FB.SetFbText(a, QString("Алгоритм %1   ").arg(a + 1));
    FbScheme::Layout layout = Lay();
    ASSERT_EQ(layout.labels.size(), 4u);
    const int lastTop = layout.blocks[4].link.top;
    EXPECT_EQ(layout.labels[0].pos, QPoint(8, layout.blocks[3].link.top - 12));
    for (size_t a = 1; a < 4; ++a)
        EXPECT_EQ(layout.labels[a].pos, QPoint(8, lastTop + 108)) << a;
    EXPECT_EQ(std::pair(layout.labels[0].caption, layout.labels[3].caption),
              std::pair(QString("Алгоритм 1"), QString("Алгоритм 4")));

    // The count read from a file is bounded by the table.
    for (auto [count, labels] : {std::pair(-1, 0), std::pair(500, 121)}) {
        alg.SetCount(count);
        EXPECT_EQ(Lay().labels.size(), size_t(labels)) << count;
    }
}

} // namespace
