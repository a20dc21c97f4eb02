// The control-loop dialog's rules: the kind choice, the checks on closing, the ПЗ stored form.
#include "editors/regulators/CreatRegRules.h"
#include "TProgRegClass.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using F = RegField;

// A form as the editor prepares it for a new loop in row 0, then the kind chosen.
CreatRegForm Chosen(int index, KindContext ctx = {13, 0, 0}) {
    CreatRegForm f;
    f[F::NReg] = QString::number(ctx.curRegIndex + 1);
    f[F::AnVh] = "00";
    f[F::AdOUT] = "0";
    ChooseKind(f, index, ctx);
    return f;
}

// A form that passes every check: kind `index` on input 3 of a 0..100 scale.
CreatRegForm Good(int index) {
    CreatRegForm f = Chosen(index);
    f[F::AnVh] = "3";
    f[F::AnVh1] = "4";
    for (int k = 0; k < 6; ++k)
        f[Value(k)] = "50";
    return f;
}

CloseContext Context(const TProgRegClass* reg = nullptr) {
    return CloseContext{2, 8, 0, 100, reg};
}

} // namespace

TEST(CreatRegKind, FieldsAndGroupsOfEachChoice) {
    struct Case {
        int code, rows, index;
        int kind;
        bool comp, regInt, pz;
        const char *adOut, *kp, *ol, *vhSP, *nReg1, *adOut1, *vhPZ, *aReg;
    };
    const Case cases[] = {
        {13, 0, 0, 0, true, false, false, "1", "00", "0,0000", "00", "00", "00", "0", "00"},
        {13, 1, 1, 1, true, false, false, "2", "1,0000", "0,0000", "00", "00", "00", "0", "00"},
        {13, 0, 2, 2, true, true, false, "2", "1,0000", "0,0000", "1", "2", "2", "0", "00"},
        // No second free loop for a cascade.
        {13, 1, 2, 1, true, false, false, "2", "1,0000", "0,0000", "00", "00", "00", "0", "00"},
        {13, 1, 3, 3, true, false, true, "2", "1,0000", "0,0000", "00", "00", "00", "1", "2"},
        {15, 0, 0, 0, true, false, false, "1", "00", "0,0000", "00", "00", "00", "0", "00"},
        {15, 0, 1, -1, false, false, false, "0", "00", "00", "00", "00", "00", "0", "00"},
        {15, 1, 2, -1, false, false, false, "0", "00", "00", "00", "00", "00", "0", "00"},
        {15, 0, 3, 3, true, false, true, "1", "1,0000", "0,0000", "00", "00", "00", "1", "1"},
        {15, 0, 4, 4, false, false, false, "0", "1,0000", "0,0000", "00", "00", "00", "0", "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " rows " << c.rows << " item " << c.index);
        const CreatRegForm f = Chosen(c.index, {c.code, c.rows, 0});
        EXPECT_EQ(std::tuple(f.kind, f.comp, f.regInt, f.pz), std::tuple(c.kind, c.comp, c.regInt, c.pz));
        EXPECT_EQ(QStringList({f[F::AdOUT], f[F::Kp], f[F::OL], f[F::VhSP], f[F::NReg1], f[F::AdOUT1],
                               f[F::VhPZ], f[F::NPZ], f[F::AReg]}),
                  QStringList({c.adOut, c.kp, c.ol, c.vhSP, c.nReg1, c.adOut1, c.vhPZ,
                               c.index == 3 ? c.vhPZ : "", c.aReg}));
        EXPECT_EQ(f.cascadeCaption, c.kind == 2);
    }
    const CreatRegForm cascade = Chosen(2), repeater = Chosen(0); // the repeater's Kp, Ti, Td, OSF stay "00"
    EXPECT_EQ(
        QStringList({cascade[F::Ti], cascade[F::OH1], cascade[F::dSP1], repeater[F::dSP], repeater[F::OH]}),
        QStringList({"3000,0000", "100,0000", "25,0000", "00", "100,0000"}));
}

TEST(CreatRegClose, EveryGoodKindPassesAndEachRefusalInItsOrder) {
    for (int kind : {0, 1, 2, 3})
        EXPECT_EQ(CheckClose(Good(kind), Context()), std::nullopt) << kind;

    struct Case {
        int kind;
        std::function<void(CreatRegForm&)> change;
        Refusal expected;
    };
    const QString e = InputErrorText;
    const Case cases[] = {
        {4, [](CreatRegForm&) {}, {F::TReg, e}},
        {1, [](CreatRegForm& f) { f.kind = -1; }, {F::TReg, e}},
        {1, [](CreatRegForm& f) { f[F::AnVh] = "", f[F::VhSP] = ""; }, {F::AnVh, e}},
        {1, [](CreatRegForm& f) { f[F::VhSP] = "", f[F::AdOUT] = ""; }, {F::VhSP, e}},
        {1, [](CreatRegForm& f) { f[F::AdOUT] = "", f[F::Kp] = ""; }, {F::AdOUT, e}},
        {2, [](CreatRegForm& f) { f[F::AdOUT] = "1"; }, {F::AdOUT, e}},
        {2, [](CreatRegForm& f) { f[F::VhSP] = "2"; }, {F::VhSP, e}}, // would name another outer loop
        {1, [](CreatRegForm& f) { f[F::Kp] = ""; }, {F::Kp, e}},
        {1,
         [](CreatRegForm& f) { f[F::Ti] = "0,05", f[F::OL] = ""; },
         {F::Ti, "Величина вне диапазона 0,1 - 10000"}},
        {1, [](CreatRegForm& f) { f[F::Td] = "1e"; }, {F::Td, e}}, // no number
        {1, [](CreatRegForm& f) { f[F::dSP] = "100.5"; }, {F::dSP, "Величина вне диапазона 0 - 100"}},
        {1, [](CreatRegForm& f) { f[F::AReg] = ""; }, {F::AReg, e}},
        {3, [](CreatRegForm& f) { f[F::VhPZ] = "3"; }, {F::VhPZ, e}},
        {3, [](CreatRegForm& f) { f[Interval(2)] = "", f[Value(1)] = ""; }, {Value(1), e}},
        {3, [](CreatRegForm& f) { f[Interval(4)] = ""; }, {Interval(4), e}},
        {3,
         [](CreatRegForm& f) { f[Interval(0)] = "65536"; },
         {Interval(0), "Величина вне диапазона 0 - 65535"}},
        {3, [](CreatRegForm& f) { f[Value(5)] = "100,5"; }, {Value(5), "Величина вне диапазона 0 - 100"}},
        {1, [](CreatRegForm& f) { f[F::AdOUT] = "3"; }, {F::AdOUT, e}},
        {1, [](CreatRegForm& f) { f[F::AnVh] = "9"; }, {F::AnVh, e}},
        {1, [](CreatRegForm& f) { f[F::AnVh] = "0"; }, {F::AnVh, e}},
        {2, [](CreatRegForm& f) { f[F::AdOUT1] = "0"; }, {F::AdOUT1, e}},
        {2, [](CreatRegForm& f) { f[F::AnVh1] = "00"; }, {F::AnVh1, e}},
        {2, [](CreatRegForm& f) { f[F::OH1] = "101"; }, {F::OH1, "Величина вне диапазона 0 - 100"}},
    };
    for (const Case& c : cases) {
        CreatRegForm f = Good(c.kind == 4 ? 1 : c.kind);
        if (c.kind == 4) f = Chosen(4);
        c.change(f);
        const auto got = CheckClose(f, Context());
        ASSERT_TRUE(got) << c.expected.text.toStdString() << " at " << int(c.expected.field);
        EXPECT_EQ(*got, c.expected) << got->text.toStdString() << " at " << int(got->field);
    }
}

TEST(CreatRegClose, LimitsPassWithCommaAndPointAndTheRepeaterOnlyNeedsANumber) {
    for (const char* kp : {"0,1", "0.1", "1000", "1000,0", " 500 "})
        EXPECT_EQ(CheckEditRange(kp, 1000, 0.1, 1), std::nullopt) << kp;
    for (const char* kp : {"0,09", "0.0999", "1000,1", "-1"})
        EXPECT_EQ(CheckEditRange(kp, 1000, 0.1, 1), "Величина вне диапазона 0,1 - 1000") << kp;
    EXPECT_EQ(CheckEditRange("", 1000, 0.1, 0), InputErrorText);
    EXPECT_EQ(CheckEditRange("5000", 1000, 0.1, 0), std::nullopt);

    CreatRegForm repeater = Good(0);
    repeater[F::Kp] = "5000";
    EXPECT_EQ(CheckClose(repeater, Context()), std::nullopt);
    repeater[F::Kp] = "";
    EXPECT_EQ(CheckClose(repeater, Context()), (Refusal{F::Kp, InputErrorText}));
}

TEST(CreatRegClose, ProgramSetPointsOnA60To100ScaleAndOnAnEmptyOne) {
    CreatRegForm f = Good(3);
    CloseContext ctx = Context();
    ctx.pvLow = 60, ctx.pvHigh = 100;
    for (int k = 0; k < 6; ++k)
        f[Value(k)] = "70";
    f[Value(0)] = "60";
    f[Value(1)] = "80";
    f[Interval(5)] = "65535";
    EXPECT_EQ(CheckClose(f, ctx), std::nullopt) << CheckClose(f, ctx)->text.toStdString();
    // Stored as value / 40 × 16383: beyond 80,0024 it no longer fits 16 bits.
    f[Value(2)] = "80,01";
    EXPECT_EQ(CheckClose(f, ctx), (Refusal{Value(2), "Величина вне диапазона 60 - 80,0024"}));
    f[Value(2)] = "59,9";
    EXPECT_EQ(CheckClose(f, ctx), (Refusal{Value(2), "Величина вне диапазона 60 - 80,0024"}));

    ctx.pvHigh = 60; // no span
    f[Value(2)] = "60";
    EXPECT_EQ(CheckClose(f, ctx), (Refusal{Value(0), InputErrorText}));

    EXPECT_EQ(PZStoredValue(40, 40), 16383);
    EXPECT_EQ(PZStoredValue(-10, 40), -4095); // toward zero
    EXPECT_EQ(PZStoredValue(80.01, 40), std::nullopt);
    EXPECT_EQ(PZStoredValue(1, 0), std::nullopt);
    EXPECT_NEAR(PZShownValue(16383, 40), 40, 1e-9);
}

TEST(CreatRegClose, ADacOutputUsedByAnotherLoopIsRefused) {
    TProgRegClass reg;
    reg.SetAnVh(1, 3);
    reg.SetVyh(1, 0); // loop 2 drives output 1
    CreatRegForm single = Good(1);
    EXPECT_EQ(CheckClose(single, Context(&reg)), (Refusal{F::AdOUT, "Такой выход ЦАП уже использован"}));
    single[F::NReg] = "2"; // editing loop 2 itself
    EXPECT_EQ(CheckClose(single, Context(&reg)), std::nullopt);

    reg.SetVyh(1, 1); // the inner loop's output 2
    CreatRegForm cascade = Good(2);
    EXPECT_EQ(CheckClose(cascade, Context(&reg)), std::nullopt); // record 1 is the inner loop itself
    reg.SetAnVh(1, 0);
    reg.SetAnVh(0, 3);
    reg.SetVyh(0, 1);
    cascade[F::NReg1] = "2";
    EXPECT_EQ(CheckClose(cascade, Context(&reg)), (Refusal{F::AdOUT1, "Такой выход ЦАП уже использован"}));
}
