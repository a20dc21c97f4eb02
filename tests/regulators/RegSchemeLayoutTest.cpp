// The loop scheme as data and the loop editor's table edits, without windows.
#include "editors/regulators/RegSchemeLayout.h"
#include "Configuration.h"
#include "RegEditorFixture.h"
#include "TCopyBlocksClass.h"
#include "editors/regulators/RegEditKit.h"

#include <gtest/gtest.h>
#include <memory>

using namespace RegScheme;

namespace {

// One controller module whose channels 0 and 1 span 0..100 and −50..50.
std::unique_ptr<TConfiguration> Config() {
    auto cfg = std::make_unique<TConfiguration>();
    cfg->Serv.SetSlotModuleCode(1, 13);
    cfg->MBA.SetChNSkText(0, 0, "0");
    cfg->MBA.SetChVSkText(0, 0, "100");
    cfg->MBA.SetChNSkText(0, 1, "-50");
    cfg->MBA.SetChVSkText(0, 1, "50");
    return cfg;
}

// PV input, type code, output byte and output action of record i.
std::vector<int> Record(const TProgRegClass& reg, int i) {
    return {reg.GetAnVh(i), reg.GetTReg(i), reg.GetVyh(i), reg.GetTypeOut(i)};
}

QString Ident(int n) {
    return QStringLiteral("AI%1").arg(n);
}

Bytes Tables(const TProgRegClass& reg) {
    Bytes out;
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 28; ++k)
            out.push_back(uint8_t(reg.GetRecByte(i, k))), out.push_back(uint8_t(reg.GetPZByte(i, k)));
    return out;
}

} // namespace

TEST(RegSchemeLayout, PositionsMarksAndConnectorsPerKind) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    EXPECT_TRUE(LayOut(*cfg, Ident).frames.empty());
    EXPECT_FALSE(LayOut(*cfg, Ident).height);

    // Two single loops: one frame each, the panel at the right column, the DAC mark under it.
    SetLoop(reg, 0, 1, 0, 0);
    SetLoop(reg, 1, 2, 1, 1);
    Layout lay = LayOut(*cfg, Ident);
    ASSERT_EQ(lay.frames.size(), 2u);
    EXPECT_EQ(lay.frames[1].rect, QRect(24, 320, 600, 320));
    EXPECT_EQ(lay.frames[0].loops[0].type, rtPS);
    EXPECT_EQ(lay.frames[0].loops[0].mark, QPoint(24 + 232 + 109, 15 + 72));
    EXPECT_EQ(lay.frames[1].loops[0].panel, QPoint(256, 335));
    EXPECT_EQ(lay.frames[1].loops[0].mark, QPoint(365, 335 + 168));
    EXPECT_EQ(lay.frames[1].loops[0].markText, "вых ЦАП №2");
    EXPECT_EQ(lay.frames[1].loops[0].ident, "AI2");
    EXPECT_EQ(*lay.height, 660);
    EXPECT_EQ(lay.rowCount, 2);

    // A cascade: one frame, outer at +20 with "на рег 2", inner at +232, connector of shape 6.
    reg.DeleteRecords(0, 2);
    SetCascade(reg);
    lay = LayOut(*cfg, Ident);
    ASSERT_EQ(lay.frames.size(), 1u);
    const Frame& c = lay.frames[0];
    ASSERT_EQ(c.loops.size(), 2u);
    EXPECT_EQ(c.loops[0].panel, QPoint(44, 15));
    EXPECT_EQ(c.loops[0].markText, "на рег 2");
    EXPECT_EQ(c.loops[1].panel, QPoint(256, 15));
    EXPECT_EQ(c.loops[1].markText, "вых ЦАП №2");
    EXPECT_EQ(c.loops[1].spType, 8);
    EXPECT_EQ(*c.cascadeConnector, QPoint(44 + 109 + 80, 15 + 44));
    EXPECT_EQ(lay.rows.RowFrame[1], 0);
    EXPECT_EQ(FindRegRow(reg, lay.rows, lay.rowCount, 0), 0);
    EXPECT_EQ(PartnerRow(lay.rows, lay.rowCount, 0, 0), 1);
    EXPECT_TRUE(lay.fixes.empty());

    // A ПЗ-fed loop: the ПЗ panel at +20 with its mark 216 below, values in the PV's units.
    reg.DeleteRecords(0, 2);
    SetProgramFed(reg, 0, 0, 2); // span 100 (−50..50)
    lay = LayOut(*cfg, Ident);
    ASSERT_EQ(lay.frames.size(), 1u);
    const ProgramPanel& pz = *lay.frames[0].program;
    EXPECT_EQ(pz.panel, QPoint(44, 15));
    EXPECT_EQ(pz.mark, QPoint(153, 15 + 216));
    EXPECT_EQ(pz.markText, "на рег 1");
    EXPECT_EQ(pz.connector, QPoint(233, 59));
    EXPECT_EQ(pz.times[5], 60);
    EXPECT_NEAR(pz.values[0], -2001 * 100.0 / 16383, 1e-4);
    EXPECT_EQ(lay.frames[0].loops[0].panel, QPoint(256, 15));
    EXPECT_EQ(FindPZSlot(lay.rows, lay.pzCount, 0), 0);
    EXPECT_EQ(FindPZSlot(lay.rows, lay.pzCount, 1), -1);
}

TEST(RegSchemeLayout, OutputCorrectionIsKeyedByTheDrawnRecord) {
    auto cfg = Config();
    SetLoop(cfg->Reg, 1, 1, 1, 5); // record 0 empty: the loop is drawn in row 0
    const Layout lay = LayOut(*cfg, Ident);
    ASSERT_EQ(lay.fixes.size(), 1u);
    EXPECT_EQ(lay.fixes[0].record, 1);
    EXPECT_EQ(lay.fixes[0].output, 0);
    EXPECT_EQ(lay.frames[0].loops[0].markText, "вых ЦАП №1");
    EXPECT_EQ(lay.frames[0].loops[0].record, 1);
}

TEST(RegSchemeLayout, BadDeviceRecordsDrawWithoutReachingOutOfRange) {
    struct Case {
        int type, out, pv;
        size_t loops;
        bool program, connector;
    };
    const Case cases[] = {
        {1, 200, 1, 1, false, false},   // outer loop naming inner record 192
        {1, 8, 1, 1, false, false},     // outer loop naming itself
        {21, 0, 1, 1, false, false},    // ПЗ 6 of two
        {5, 0, 1, 1, false, false},     // no known kind
        {255, 3, 255, 1, false, false}, // no known kind, PV past every input
        {17, 0, 250, 1, true, false},   // ПЗ 2, PV input resolves to nothing
    };
    for (const Case& c : cases) {
        auto cfg = Config();
        SetLoop(cfg->Reg, 0, c.pv, c.type, c.out);
        const Layout lay = LayOut(*cfg, Ident);
        ASSERT_EQ(lay.frames.size(), 1u) << c.type;
        EXPECT_EQ(lay.frames[0].loops.size(), c.loops) << c.type;
        EXPECT_EQ(lay.frames[0].program.has_value(), c.program) << c.type;
        EXPECT_EQ(lay.frames[0].cascadeConnector.has_value(), c.connector) << c.type;
        if (c.program) {
            EXPECT_EQ(lay.frames[0].program->values[0], 0.0f);
        }
        EXPECT_EQ(FindRegRow(cfg->Reg, lay.rows, lay.rowCount, 0), 0) << c.type;
    }
    // An inner loop that names another outer loop is not drawn under this one.
    auto cfg = Config();
    SetCascade(cfg->Reg);
    cfg->Reg.SetTReg(1, 0, 9);
    EXPECT_EQ(LayOut(*cfg, Ident).frames.at(0).loops.size(), 1u);
}

TEST(RegEditKit, FreeRecordsAndProgramSetPoints) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    EXPECT_EQ(RegEdit::FirstFreeRecord(reg), 0);
    EXPECT_EQ(RegEdit::FirstFreePZ(reg), 0);
    SetProgramFed(reg, 1, 0, 1); // a gap before a used record
    EXPECT_EQ(RegEdit::FirstFreeRecord(reg), 0);
    EXPECT_EQ(RegEdit::FirstFreePZ(reg), 1);
    SetLoop(reg, 0, 1, 1, 0);
    EXPECT_EQ(RegEdit::FirstFreeRecord(reg), -1);
}

TEST(RegEditKit, EditAndStoreWithoutChangesLeavesEveryByte) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    for (bool cascade : {true, false}) {
        reg.DeleteRecords(0, 2);
        reg.DeletePZRecords(0, 2);
        if (cascade) {
            SetCascade(reg);
            reg.SetKPText(1, "2,5"), reg.SetTypeOut(1, 1), reg.SetOHText(0, "80");
        } else {
            SetProgramFed(reg, 0, 1, 2);
            reg.SetTiText(0, "1200");
        }
        const auto before = Tables(reg);
        int innerAction = -1;
        RegEdit::PreparedPZ pz;
        const CreatRegForm form = RegEdit::EditForm(*cfg, 0, innerAction, pz);
        EXPECT_EQ(form.kind, cascade ? 2 : 3);
        if (!cascade) {
            EXPECT_EQ(form[Value(0)], "-12,2139"); // −2001 × 100 / 16383 (span −50..50)
        }
        // The dialog accepts the form.
        CloseContext close{2, 48, cascade ? 0.0 : -50.0, cascade ? 100.0 : 50.0, &reg};
        EXPECT_FALSE(CheckClose(form, close)) << cascade;
        RegEditState st;
        st.SelectedRow = 0;
        RegEdit::StoreForm(*cfg, st, form, 0, form.kind, innerAction, pz);
        EXPECT_EQ(Tables(reg), before) << cascade;
    }
}

TEST(RegEditKit, CreateEachKindGivesTheRecordBytes) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    CreatRegForm f = RegEdit::ResetForm();
    ChooseKind(f, 2, KindContext{13, 0, 0});
    f[RegField::NReg] = "1";
    f[RegField::VhSP] = "1";
    f[RegField::AnVh] = "1", f[RegField::AnVh1] = "2";
    f[RegField::Kp1] = "3";
    RegEditState st;
    st.SelectedRow = 0;
    RegEdit::StoreForm(*cfg, st, f, 0, 2, 1, {});
    EXPECT_EQ(Record(reg, 0), (std::vector<int>{1, 1, 9, 0}));
    EXPECT_EQ(Record(reg, 1), (std::vector<int>{2, 8, 1, 1}));
    EXPECT_EQ(reg.GetKPText(1), "3");
    EXPECT_EQ(reg.GetTiText(0), "3000");
    EXPECT_EQ(st.RowRecord[0], 0);

    // A ПЗ-fed loop into record 1 with ПЗ 1 (index 0 free): points at the span and negative.
    reg.DeleteRecords(0, 2);
    f = RegEdit::ResetForm();
    ChooseKind(f, 3, KindContext{13, 0, 0});
    f[RegField::NReg] = "2", f[RegField::AReg] = "2", f[RegField::AnVh] = "1", f[RegField::AdOUT] = "2";
    f[Value(0)] = "100";
    f[Value(1)] = "-0,01";
    f[Value(2)] = "-50";
    f[Interval(3)] = "65535";
    RegEdit::StoreForm(*cfg, st, f, 0, 3, 0, {});
    EXPECT_EQ(reg.GetTReg(1), 16);
    EXPECT_EQ(reg.GetVyh(1), 1);
    EXPECT_EQ(reg.GetPZReg(0), 2);
    EXPECT_EQ(reg.GetPZValue(0, 0), 16383);
    EXPECT_EQ(reg.GetPZValue(0, 1), -1);
    EXPECT_EQ(reg.GetPZValue(0, 2), -8191);
    EXPECT_EQ(reg.GetPZTime(0, 3), 65535);
    // A value past the stored range keeps the stored one instead of wrapping.
    f[Value(0)] = "300";
    RegEdit::StoreForm(*cfg, st, f, 0, 3, 0, {});
    EXPECT_EQ(reg.GetPZValue(0, 0), 16383);
}

TEST(RegEditKit, DeletingAGroupKeepsTheLinksOfTheLaterOnes) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    // A ПЗ-fed loop (ПЗ 1) before another (ПЗ 2): the later one moves to record 0 and ПЗ 1.
    SetProgramFed(reg, 0, 0, 1);
    SetProgramFed(reg, 1, 1, 2);
    EXPECT_EQ(RegEdit::DeleteGroup(reg, 0, {1}), std::vector<int>{0});
    EXPECT_EQ(Record(reg, 0), (std::vector<int>{2, 16, 1, 0}));
    EXPECT_EQ(reg.GetPZReg(0), 1);
    EXPECT_EQ(reg.GetPZTime(0, 0), 10);
    EXPECT_EQ(reg.GetAnVh(1), 0);
    EXPECT_EQ(reg.GetRegModified(), 1);

    // A single loop before a ПЗ-fed loop of ПЗ 1: its ПЗ stays, its loop number follows.
    reg.DeleteRecords(0, 2);
    reg.DeletePZRecords(0, 2);
    SetLoop(reg, 0, 1, 1, 0);
    SetProgramFed(reg, 1, 0, 2);
    RegEdit::DeleteGroup(reg, 0, {1});
    EXPECT_EQ(reg.GetTReg(0), 16);
    EXPECT_EQ(reg.GetPZReg(0), 1);

    // A cascade goes with its inner loop; select-all deletes everything through the bookkeeping.
    reg.DeleteRecords(0, 2);
    SetCascade(reg);
    Layout lay = LayOut(*cfg, Ident);
    lay.rows.Reg_Choose = {1, 0, 0, 0, 0, 0};
    EXPECT_EQ(RegEdit::DeleteSelected(reg, lay.rows, lay.rowCount), 1);
    EXPECT_EQ(reg.GetAnVh(0), 0);
    EXPECT_EQ(reg.GetAnVh(1), 0);
    SetLoop(reg, 0, 1, 1, 0);
    SetProgramFed(reg, 1, 0, 2);
    lay = LayOut(*cfg, Ident);
    lay.rows.Reg_Choose = {1, 1, 0, 0, 0, 0};
    EXPECT_EQ(RegEdit::DeleteSelected(reg, lay.rows, lay.rowCount), 2);
    EXPECT_EQ(RegEdit::FirstFreeRecord(reg), 0);
    EXPECT_EQ(reg.GetAnVh(0) + reg.GetAnVh(1), 0);
}

TEST(RegEditKit, CopyAndTheGroupCheck) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    TCopyBlocksClass copy;
    SetLoop(reg, 0, 1, 1, 0);
    SetLoop(reg, 1, 2, 0, 1);
    RegEditState st;
    EXPECT_EQ(RegEdit::CopySelected(reg, st, 2, copy), 0);
    EXPECT_TRUE(RegEdit::GroupFits(copy, 2)); // nothing copied: nothing to check
    st.Reg_Choose = {1, 1, 0, 0, 0, 0};
    EXPECT_EQ(RegEdit::CopySelected(reg, st, 2, copy), 2);
    EXPECT_EQ(copy.GetRegCopyFlag(0) + copy.GetRegCopyFlag(1), 2);
    EXPECT_EQ(copy.RegRecords().GetByte(1, 0), 2);
    EXPECT_FALSE(RegEdit::GroupFits(copy, 0 + 1));
    EXPECT_TRUE(RegEdit::GroupFits(copy, 0));
    st.Reg_Choose = {0, 1, 0, 0, 0, 0};
    RegEdit::CopySelected(reg, st, 2, copy);
    EXPECT_EQ(copy.GetRegCopyFlag(0), 0);
    EXPECT_TRUE(RegEdit::GroupFits(copy, 1));
    EXPECT_FALSE(RegEdit::GroupFits(copy, 2));
}

TEST(RegEditKit, OnlineEntryPerKindAndRefusals) {
    auto cfg = Config();
    TProgRegClass& reg = cfg->Reg;
    SetCascade(reg);
    RegEdit::OnlineEntry e = RegEdit::PrepareOnline(*cfg, 0);
    EXPECT_EQ(e.inner, 1);
    EXPECT_EQ(e.flags, (std::array<uint8_t, 3>{1, 0, 1}));
    EXPECT_EQ(e.high[0], 100.0f);
    EXPECT_EQ(e.low[1], -50.0f);
    EXPECT_FALSE(e.refusal);

    reg.SetAnVh(1, 3); // channel 3 has no span
    EXPECT_EQ(*RegEdit::PrepareOnline(*cfg, 0).refusal, "проверить шкалы анал. вх. 3 мод 1");
    reg.SetAnVh(0, 200); // past every input
    EXPECT_EQ(*RegEdit::PrepareOnline(*cfg, 0).refusal, "проверить шкалы анал. вх. ");
    SetProgramFed(reg, 0, 0, 2);
    e = RegEdit::PrepareOnline(*cfg, 0);
    EXPECT_EQ(e.kind, 3);
    EXPECT_EQ(e.inner, -1);
    EXPECT_EQ(e.flags, (std::array<uint8_t, 3>{0, 0, 0}));
}
