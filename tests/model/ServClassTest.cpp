#include "TProgVegClass.h"
#include "TServClass.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <vector>

namespace {

void NumberNames(TServClass& s) {
    for (int i = 0; i < TServClass::InputCount; ++i)
        s.SetNameText(i, QStringLiteral("Вход %1").arg(i));
}

QStringList Names(const TServClass& s, std::initializer_list<int> rows) {
    QStringList out;
    for (int i : rows)
        out << s.GetNameText(i);
    return out;
}

std::array<uint8_t, 8> Rec(int i) {
    std::array<uint8_t, 8> r;
    r.fill(uint8_t(i));
    return r;
}

} // namespace

TEST(ServClass, NameTableEditsKeepTheTableSizeAndBlocksRefuseShortData) {
    TServClass s;
    NumberNames(s);
    s.InsertNames(190, 5); // past the end: only the tail is lost
    EXPECT_EQ(Names(s, {189, 190, 191}), QStringList({"Вход 189", "", ""}));
    EXPECT_EQ(s.GetNameRow(191), QByteArray(14, ' '));

    NumberNames(s);
    s.InsertNames(3, 2);
    EXPECT_EQ(Names(s, {2, 3, 5, 191}), QStringList({"Вход 2", "", "Вход 3", "Вход 189"}));

    NumberNames(s);
    s.DeleteNames(3, 2);
    EXPECT_EQ(Names(s, {3, 189, 190, 191}), QStringList({"Вход 5", "Вход 191", "", ""}));

    NumberNames(s);
    s.ClearNames(190, 10);
    s.DeleteNames(-1, 3);
    s.InsertNames(192, 1);
    EXPECT_EQ(Names(s, {0, 189, 191, 192}), QStringList({"Вход 0", "Вход 189", "", ""}));

    // A name longer than 14 characters is cut; the neighbour keeps its own.
    s.SetNameText(0, QStringLiteral("Давление в котле Ё"));
    EXPECT_EQ(Names(s, {0, 1}), QStringList({"Давление в кот", "Вход 1"}));

    // The block round trips are the block adapter's test; here the block layout and the refusals.
    s.SetNameText(191, QStringLiteral("последний"));
    s.NameTableToBlock(11); // names 176..191: name 191 ends the buffer
    EXPECT_EQ((std::array{s.GetNameBlockByte(15 * 14), s.GetNameBlockByte(224)}), (std::array{0xEF, 0}));
    TServClass t;
    EXPECT_FALSE(t.BlockToNameTable(0, s.NameBlock(), 223));
    EXPECT_FALSE(t.BlockToNameTable(12, s.NameBlock(), 224));
    EXPECT_EQ(t.GetNameText(176), "");
}

TEST(ServClass, InputTextsJoinTheirStrings) {
    TServClass s;
    s.SetSlotModuleCode(1, 13);
    s.SetSlotModuleCode(2, 2);
    s.SetSlotModuleCode(3, 7);
    s.SetDefaultInputTexts();
    s.SetDefaultNetDiText(1, 4, 100);
    s.SetDefaultNetAnUstText(0, 2, 3, 101);
    s.SetDefaultNetAnUstText(0, 2, 4, 102); // no such set point
    s.SetDefaultNetDiText(0, 0, 192);
    const std::vector<std::pair<int, const char*>> texts = {
        {0, "БРОН.Д1"},     {5, "БРОН.Д6"},     {6, "БРОН.А1.LL"}, {21, "БРОН.А4.HH"},
        {30, "МВА7.А1.LL"}, {48, "МВД2.Д1"},    {59, "МВД2.Д12"},  {60, ""},
        {100, "ЛС2.Д5"},    {101, "ЛС1.А3.HH"}, {102, ""},         {-1, ""},
    };
    for (const auto& [row, text] : texts)
        EXPECT_EQ(s.GetInputText(row), QString::fromUtf8(text)) << row;
    EXPECT_EQ(QStringList({s.GetAnInputText(0, 1), s.GetAnInputText(1, 0), s.JoinInputText(101, 5)}),
              QStringList({"БРОН.А2", "МВА7.А1", "ЛС1.А3"}));

    // GetInputText joins ten strings, GetInputText8 eight.
    InputTextRow row;
    for (int k = 0; k < TServClass::TextColumns; ++k)
        row[k] = QString::number(k);
    s.SetInputTextRow(7, row);
    EXPECT_EQ(QStringList({s.GetInputText(7), s.GetInputText8(7), s.GetInputTextString(7, 11)}),
              QStringList({"0123456789", "01234567", ""}));

    // БРОК has no discrete inputs of its own: its channels start at row 0.
    s.SetSlotModuleCode(1, 15);
    EXPECT_EQ(s.AnInputTextRow(0, 1), 4);
    EXPECT_EQ(s.GetCtrlDiCount(), 0);
}

TEST(ServClass, CompositionCounts) {
    struct Case {
        std::array<int, 8> codes;
        int mod2A, mod6F, modMR, own, ctrlDi;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0, 6},    {{13, 0, 0, 0, 0, 0, 0, 0}, 0, 1, 0, 6, 6},
        {{13, 2, 6, 11, 0, 0, 0, 0}, 1, 2, 1, 12, 6}, {{13, 3, 10, 9, 8, 12, 11, 0}, 2, 3, 2, 24, 6},
        {{15, 0, 0, 0, 0, 0, 0, 0}, 0, 1, 0, 16, 0},  {{15, 4, 0, 0, 0, 0, 0, 0}, 1, 1, 0, 24, 0},
    };
    for (const Case& c : cases) {
        TServClass s;
        for (int slot = 1; slot <= 8; ++slot)
            s.SetSlotModuleCode(slot, c.codes[slot - 1]);
        EXPECT_EQ((std::array{s.GetCntMod2A(), s.GetCntMod6F(), s.GetGroup6FChannels(), s.GetCntModMR(),
                              s.GetOwnInputCount(), s.GetCtrlDiCount()}),
                  (std::array{c.mod2A, c.mod6F, 4 * c.mod6F, c.modMR, c.own, c.ctrlDi}))
            << c.codes[0] << " " << c.codes[1];
    }
    TServClass s;
    s.SetSlotModuleCode(0, 13);
    s.SetSlotModuleCode(9, 13);
    EXPECT_EQ(s.GetSlotModuleCode(0), 0);
    EXPECT_EQ(s.GetSlotModuleCode(9), 0);
    s.SetDiscrInCount(300);
    s.SetAnInCount(-2);
    EXPECT_EQ(s.GetDiscrInCount(), 192);
    EXPECT_EQ(s.GetAnInCount(), 0);
}

TEST(ServClass, AnalogueValueTextCheck) {
    struct Case {
        const char* text;
        int kind;
        bool bad;
    };
    const Case cases[] = {
        {"", 0, true},      {"-12,5", 1, false},   {"12.5", 2, false},  {"1,2,3", 0, true},
        {"1a", 0, true},    {" 1", 0, true},       {"1-", 0, true},     {"32767", 0, false},
        {"32768", 0, true}, {"-32767,5", 2, true}, {"99999", 3, false}, {"3", 5, false},
        {"4", 5, true},     {"1,5", 5, true},      {",", 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TServClass::AnValueTextBad(QString::fromUtf8(c.text), c.kind), c.bad)
            << c.text << " " << c.kind;
}

TEST(ProgVegClass, RecordEditsShiftAndEmptyTheTailAndBlocksRefuseShortData) {
    TProgVegClass v;
    const std::array<uint8_t, 8> empty = {0x20, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(v.GetRecord(191), empty);
    // Each edit on records filled with their index, then the index each probed record holds (−1 empty).
    const struct {
        std::function<void()> edit;
        std::vector<std::pair<int, int>> rows;
    } cases[] = {
        {[&] { v.InsertRecords(190, 4); }, {{189, 189}, {190, -1}, {191, -1}}}, // past 192: the tail is lost
        {[&] { v.InsertRecords(10, 3); }, {{9, 9}, {12, -1}, {13, 10}, {191, 188}}},
        {[&] { v.DeleteRecords(10, 3); }, {{10, 13}, {188, 191}, {189, -1}, {191, -1}}},
        {[&] {
             v.ClearRecords(191, 5);
             v.ClearRecords(-1, 5);
             v.DeleteRecords(192, 1);
             v.SetRecByte(0, 8, 1);
             v.SetRecByte(192, 0, 1);
         },
         {{0, 0}, {190, 190}, {191, -1}}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 192; ++i)
            v.SetRecord(i, Rec(i));
        c.edit();
        for (const auto& [row, number] : c.rows)
            EXPECT_EQ(v.GetRecord(row), number < 0 ? empty : Rec(number)) << row;
    }

    // The block round trips are the block adapter's test; here the block layout and the refusals.
    for (int i = 0; i < 192; ++i)
        v.SetRecord(i, Rec(i));
    v.RecordsToBlock(7);
    EXPECT_EQ(v.GetBlockByte(191), 191); // record 191 ends block 19
    TProgVegClass w;
    EXPECT_FALSE(w.BlockToRecords(0, v.Block(), 191));
    EXPECT_FALSE(w.BlockToRecords(8, v.Block(), 192));
    EXPECT_EQ(w.GetRecord(168), empty);
}
