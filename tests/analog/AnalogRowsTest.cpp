// The analogue-module editor's rules without its window: the module index of a slot, the row
// layouts, the hints, the close validation of the scales and the printed lines.

#include "editors/analog/AnalogRows.h"
#include "Configuration.h"

#include <gtest/gtest.h>

using namespace AnalogRows;

TEST(AnModuleIndex, CountsTheAnalogueModulesInSlotOrder) {
    const struct {
        std::array<int, 8> codes;
        int slot;
        int index;
    } cases[] = {
        {{13, 2, 11}, 1, 0},   // the simulator's composition: a discrete module after the controller
        {{13, 2, 7, 8}, 4, 2}, // analogue modules after a discrete one
        {{15, 6, 2, 9}, 4, 2}, //
        {{13, 2, 11}, 2, -1},  // a discrete module opens nothing
        {{0, 6}, 1, -1},       // an empty slot
        {{13, 6, 7, 8, 9, 6, 7, 8}, 8, 7},
        {{13}, 0, -1}, // no such slot
        {{13}, 9, -1},
    };
    for (const auto& c : cases) {
        TServClass serv;
        for (int s = 0; s < 8; ++s)
            serv.SetSlotModuleCode(s + 1, c.codes[size_t(s)]);
        EXPECT_EQ(serv.AnModuleIndex(c.slot), c.index) << c.slot << " " << c.codes[0];
    }
}

TEST(AnalogRows, LayoutsByRowKindAndModuleCode) {
    using L = RowLayout;
    const auto same = [](const L& a, const L& b) {
        return a.sk == b.sk && a.tinp == b.tinp && a.standardRange == b.standardRange &&
               a.deadBand == b.deadBand;
    };
    // Opening: thermocouples with standard ranges, resistance sensors with their wiring, kind 9
    // a free scale; current rows with input list and dead band.
    EXPECT_TRUE(same(OpeningLayout(0, 0), L{SkItems::Sensors, TInpItems::Hidden, true, false}));
    EXPECT_TRUE(same(OpeningLayout(1, 7), L{SkItems::Sensors, TInpItems::Wiring, true, false}));
    EXPECT_TRUE(same(OpeningLayout(0, 9), L{SkItems::Sensors, TInpItems::Wiring, false, false}));
    EXPECT_TRUE(same(OpeningLayout(2, 9), L{SkItems::ScaleLaws, TInpItems::Current, false, true}));
    // Replacement by module code; the controller as on opening.
    EXPECT_TRUE(same(ReplacementLayout(6, 0, 0), L{SkItems::ScaleLaws, TInpItems::Pressure, false, false}));
    EXPECT_TRUE(same(ReplacementLayout(9, 3, 0), L{SkItems::ScaleLaws, TInpItems::Current, false, false}));
    EXPECT_TRUE(same(ReplacementLayout(7, 0, 3), L{SkItems::ScaleLaws, TInpItems::Hidden, false, false}));
    EXPECT_TRUE(same(ReplacementLayout(8, 3, 3), L{SkItems::Sensors, TInpItems::Hidden, true, false}));
    EXPECT_TRUE(same(ReplacementLayout(8, 3, 9), L{SkItems::Sensors, TInpItems::Hidden, false, false}));
    EXPECT_TRUE(same(ReplacementLayout(15, 2, 0), OpeningLayout(2, 0)));
    EXPECT_EQ(Items(TInpItems::Pressure),
              QStringList({"20-100 кПа", "0,2-1 кгс/см2", "0,2-1 атм", "0,2-1 бар", "резерв"}));
    EXPECT_EQ(Items(SkItems::ScaleLaws), QStringList({"линейная", "корневая"}));

    EXPECT_EQ(RowHint(0, 0), "номер аналогового сигнала в базе 1 (адрес 0x00)");
    EXPECT_EQ(RowHint(2, 3), "номер аналогового сигнала в базе 16 (адрес 0x0F)");
    EXPECT_EQ(ValidatedRows(13), 4);
    EXPECT_EQ(ValidatedRows(7), 4); // six channels, four rows
}

TEST(AnalogRows, CloseValidationOfTheScales) {
    using F = ScaleFinding;
    // A free scale's boxes; a standard range's lists.
    const auto box = [](const char* min, const char* max) { return ScaleTexts{min, max, "", ""}; };
    const auto list = [](const char* min, const char* max) { return ScaleTexts{"", "", min, max}; };
    const ScaleTexts f = box("-50", "150"), s = list("0", "600"), c = box("0", "100");
    const struct {
        const char* name;
        int code;
        std::array<int, Rows> kinds;
        std::array<ScaleTexts, Rows> texts;
        std::vector<F> found;
    } cases[] = {
        {"controller good", 13, {9, 0, 0, 0}, {f, s, c, c}, {}},
        {"free NSK empty", 13, {0, 9, 0, 0}, {s, box("", "1"), c, c}, {{F::EmptyFreeLimit, 1, 0}}},
        {"free VSK empty", 15, {9, 0, 0, 0}, {box("1", ""), s, c, c}, {{F::EmptyFreeLimit, 0, 1}}},
        {"standard max empty", 13, {0, 0, 0, 0}, {s, list("0", ""), c, c}, {{F::EmptyStandardLimit, 1, 1}}},
        {"bad spans go on",
         13,
         {9, 0, 0, 0},
         {box("5", "5"), list("600", "0"), c, c},
         {{F::BadSpan, 0, 1}, {F::BadSpan, 1, 1}}},
        {"controller current rows not judged", 13, {9, 9, 0, 0}, {f, f, box("9", "1"), ScaleTexts{}}, {}},
        {"I/O module: lists of every row", 7, {0, 0, 0, 0}, {s, s, s, c}, {{F::EmptyStandardLimit, 3, 0}}},
    };
    for (const auto& t : cases)
        EXPECT_EQ(CheckScales(t.code, t.kinds, t.texts), t.found) << t.name;
}

TEST(AnalogRows, ReserveOfTheRecordAndModuleTypes) {
    auto cfg = std::make_unique<TConfiguration>();
    for (int k = 0; k < 169; ++k)
        cfg->MBA.SetModuleByte(1, k, k);
    cfg->MBA.SetModuleType(5, 0x21);
    SaveModuleReserve(*cfg, 1);
    EXPECT_EQ(cfg->Reserv.ModuleImages().GetByte(1, 168), 168);
    EXPECT_EQ(cfg->Reserv.GetModuleType(5), 0); // the module types keep their own reserve
    cfg->Reserv.SetModuleType(5, 0x03);
    cfg->MBA.SetModuleByte(1, 7, 0xEE);
    RestoreModuleReserve(*cfg, 1);
    EXPECT_EQ(cfg->MBA.GetModuleByte(1, 7), 7);
    EXPECT_EQ(cfg->MBA.GetModuleType(5), 0x03);
}

TEST(AnalogRows, PrintedLinesByModuleCode) {
    const QStringList head = {"ВЕГ-17  D2B00000  № 1", "", "          Модуль\tБРОН\t\t\t", "\t\t\t\tвходы 1",
                              ""};
    // A controller's rows in the input-signal layout as its window shows them: the wiring of a
    // resistance sensor but none of a thermocouple, the boxes of a free scale, the lists of a
    // standard range, the boxes of the current rows. Every value stands under its heading; the
    // scale columns move right for a unit that fills its own.
    const std::vector<PrintRow> controller = {
        {"Т-1", "3-х провод.", "Гр. 23", "%", "n1", "v1", "m1", "M1", "1", "2", "3", "4", 9},
        {"Т-2", "4-х провод.", "ХК(L)", "град.С", "n2", "v2", "m2", "M2", "5", "6", "7", "8", 0},
        {"Д-3", "0 - 5 мА", "линейная", "КПа", "n3", "v3", "m3", "M3", "9", "10", "11", "12", 0},
        {"У-4", "4 - 20 мА", "корневая", "%", "n4", "v4", "", "", "13", "14", "15", "16", 1}};
    const QStringList bron =
        ModuleBaseLines("ВЕГ-17  D2B00000  № 1", "Модуль", "БРОН", "входы 1", 13, controller);
    EXPECT_EQ(bron.mid(0, 5), head);
    EXPECT_EQ(
        bron.mid(5).join('\n').toStdString(),
        QStringList(
            {"№\tтехнолог\t\tвходной\t\tшкала\t\tразм.\t\tmin\tmax\tуставка\t\tуставка\t\tуставка\t\tуставка",
             "входа\tпозиция\t\tсигнал\t\t\t\t\t\tшкалы\tшкалы\t  LL\t\t\t  L\t\t\t  H\t\t\t  HH",
             "1\tТ-1\t\t\t3-х провод.\t\tГр. 23\t%\t\tn1\tv1\t1\t\t\t2\t\t\t3\t\t\t4",
             "2\tТ-2\t\t\t\t\t\tХК(L)\t\tград.С\tm2\tM2\t5\t\t\t6\t\t\t7\t\t\t8",
             "3\tД-3\t\t\t0 - 5 мА\t\tлинейная\tКПа\t\tn3\tv3\t9\t\t\t10\t\t\t11\t\t\t12",
             "4\tУ-4\t\t\t4 - 20 мА\t\tкорневая\t%\t\tn4\tv4\t13\t\t\t14\t\t\t15\t\t\t16"})
            .join('\n')
            .toStdString());

    PrintRow row{"TI-101", "4 - 20 мА", "линейная", "%", "-1", "2", "0", "600", "1", "2", "3", "4", 0};
    const QStringList code8 = ModuleBaseLines("Файл a.veg", "Модуль", "ЛКСВ-3", "входы 4", 8, {row, row});
    ASSERT_EQ(code8.size(), 9);
    EXPECT_EQ(code8[5],
              "№\tтехнолог\t\tшкала\t\tразм.\t\tmin\tmax\t\tуставка\t\tуставка\t\tуставка\t\tуставка");
    EXPECT_EQ(code8[6], "входа\tпозиция\t\t\t\t\t\tшкалы\tшкалы\t\t  LL\t\t  L\t\t  H\t\t  HH");
    // A standard range prints its list texts; a free scale (kind 9) its boxes.
    EXPECT_EQ(code8[7], "1\tTI-101\t\tлинейная\t\t%\t\t0\t600\t\t1\t\t2\t\t3\t\t4");
    row.kind = 9;
    EXPECT_EQ(ModuleBaseLines("t", "m", "x", "n", 8, {row})[7],
              "1\tTI-101\t\tлинейная\t\t%\t\t-1\t2\t\t1\t\t2\t\t3\t\t4");

    const QStringList code6 = ModuleBaseLines("t", "m", "x", "n", 6, {row});
    EXPECT_EQ(
        code6[5],
        "№\tтехнолог\t\tвходной\t\tшкала\t\tразм.\tmin\tmax\t\tуставка\t\tуставка\t\tуставка\t\tуставка");
    EXPECT_EQ(code6[6], "входа\tпозиция\t\tсигнал\t\t\t\t\tшкалы\tшкалы\t\t  LL\t\t  L\t\t  H\t\t  HH");
    EXPECT_EQ(code6[7], "1\tTI-101\t\t4 - 20 мА\tлинейная\t\t%\t-1\t2\t\t1\t\t2\t\t3\t\t4");
    EXPECT_EQ(ModuleBaseLines("t", "m", "x", "n", 9, {row})[7],
              "1\tTI-101\t\t4 - 20 мА\t\tлинейная\t\t%\t-1\t2\t\t1\t\t2\t\t3\t\t4");
}
