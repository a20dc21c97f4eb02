// Channel calibration and the controller's sensor types: the requests and their order, the poll,
// the selection and calibration coils byte by byte, the sensor-type bits and the change flag.

#include "ByteFields.h"
#include "EditorFixture.h"
#include "ModbusFrame.h"
#include "RadioGroup.h"
#include "editors/analog/KalibrKit.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_kalibr.h"
#include "editors/analog/Prog_mba.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

using Bytes = std::vector<uint8_t>;

namespace {

Bytes Sent(int function, const Bytes& data) {
    return Frame::Build(1, function, data);
}
Bytes Coil(int kind, int channel, bool on) {
    return Sent(5, {uint8_t(kind), uint8_t(16 + channel), uint8_t(on ? 0xFF : 0), 0});
}

} // namespace

TEST(CalibrationKit, ControllerRowsFiveAndSixShowCodesOnlyAndEveryReplyIsNeeded) {
    TProgMBAClass mba;
    // Rows 5 and 6 of a controller hold no channel: its module-type and output bytes are there.
    Bytes g{1, 'G', 48};
    for (int r = 0; r < 6; ++r)
        g.insert(g.end(), {0x10, 0x27, 0, 0, 0, 0, 0, 0}); // code 10000
    ASSERT_TRUE(mba.TakeSensorTypesFromReply(g));
    mba.SetModuleType(0, 0xFF);
    mba.SetKalibrModuleCode(13);
    auto rows = mba.FillCalibrationView(0);
    EXPECT_EQ(rows[4].AdcCode, "10000");
    EXPECT_EQ(QStringList({rows[4].Value, rows[4].Percent, rows[5].Value, rows[5].Percent}),
              QStringList({"", "", "", ""}));
    mba.SetKalibrModuleCode(6);
    EXPECT_FALSE(mba.FillCalibrationView(0)[4].Value.isEmpty());

    // Replies left empty by a refused request take nothing; a reply missing or too short for
    // its data is a poll the view cannot take.
    mba.SetKalibrModuleCode(13);
    EXPECT_TRUE(Calibration::TakePoll(mba, 1, 13, {g, {}, {}}));
    EXPECT_EQ(mba.GetRangeMaxCode(0, 0), 0);
    EXPECT_FALSE(Calibration::TakePoll(mba, 1, 13, {g, {}}));
    EXPECT_FALSE(Calibration::TakePoll(mba, 1, 13, {Bytes(g.begin(), g.end() - 8), {}, {}}));
}

class CalibrationTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        UseSimulatorSlots();
        TProgMBAClass& mba = Cfg().MBA;
        for (int c = 0; c < 4; ++c) {
            mba.SetChNSkText(0, c, "0");
            mba.SetChVSkText(0, c, "100");
        }
        mba.SetCurSlot(1);
        Cfg().Serv.SetCurModule(1);
        form.FormKalibr = &kalibr;
        form.FormTipDat = &tipdat;
        form.PrepareForSlot("БРОН");
        form.Poz[0]->setText("TE-101");
        device.SetFrozen(true);
        for (int p = 0; p < 6; ++p)
            device.SetInput(p, 50); // code 12000
    }
    // The calibration window open on module 1 and polling.
    void Open() {
        Cfg().MBA.SetKalibrModuleCode(13);
        kalibr.Module = 1;
        kalibr.show();
        device.ClearLog();
    }
    std::vector<Bytes> PollFrames() { return {Sent('G', {0, 6}), Sent('D', {60}), Sent(4, {0, 0, 0, 4})}; }

    TFormPROG form{parts.context, QStringList(16, "x")};
    TFormKalibr kalibr{parts.context};
    TFormTipDat tipdat{parts.context};
    ScriptedModals modals;
};

TEST_F(CalibrationTest, OpeningReadsCodesRangeAndCalibrationThenShowsTheWindow) {
    device.ClearLog();
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, &kalibr);
        EXPECT_EQ(device.Received(), PollFrames()); // no cold junction for code 13
        EXPECT_EQ(kalibr.TipMod->text(), "БРОН");
        EXPECT_EQ(kalibr.Positions[0], "TE-101");
        EXPECT_EQ(kalibr.Module, 1);
        EXPECT_EQ(Cfg().MBA.GetAdcCode(0), 12000);
        EXPECT_EQ(Cfg().MBA.GetRangeMaxCode(0, 0), 20000);
        return int(mrYes);
    });
    boxes.Expect("калибровка закончена с ошибкой", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    form.ButKalibr->click();
    EXPECT_EQ(modals.Shown(), 1);

    // No 'G' reply: one box, no window.
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::NoReply, 'G', -1, -1, 0}};
    ExpectDeviceError("Прибор не отвечает.");
    form.ButKalibrClick();
    EXPECT_EQ(CountOf('D'), 0);

    // A refused range record only warns; function 4 still goes; the record stays.
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', -1, 1, 2}};
    ByteFields::SetU16(device.Block(60).data() + RangeRecord::MaxCode(0), 15000);
    boxes.Expect("Модуль не обслуживает запрос кодов АЦП", "Предупреждение", MsgButtons::OK, MsgIcon::Warning,
                 mrNone, mrOk);
    modals.Then([&](QDialog*) {
        EXPECT_EQ(CountOf(4), 1);
        EXPECT_EQ(Cfg().MBA.GetRangeMaxCode(0, 0), 20000);
        return int(mrCancel);
    });
    form.ButKalibrClick();

    // Equal limits of channel 2: the scale message, no window.
    Cfg().MBA.SetChNSkText(0, 1, "5,3");
    Cfg().MBA.SetChVSkText(0, 1, "5,9");
    boxes.Expect("проверить шкалы анал. вх. 2 мод 1", "Программатор ВЕГ-17", MsgButtons::OK, MsgIcon::None,
                 mrNone, mrOk);
    form.ButKalibrClick();
    EXPECT_EQ(modals.Shown(), 2);
}

TEST_F(CalibrationTest, AThermocoupleModuleReadsItsColdJunctionAndShowsRowSeven) {
    // Slot 2 holds the second analogue module: module number 2.
    Cfg().Serv.SetSlotModuleCode(2, 8);
    TProgMBAClass& mba = Cfg().MBA;
    for (int c = 0; c < 6; ++c) {
        mba.SetChVSkText(1, c, "100");
        mba.SetChPozText(1, c, QString("TT-%1").arg(c + 1));
    }
    mba.SetChRazm(1, 4, 1);
    mba.SetCurSlot(2);
    form.PrepareForSlot("МВА8");
    device.ClearLog();
    const std::vector<Bytes> frames{Sent('G', {6, 6}), Sent('G', {129, 1}), Sent('D', {61}),
                                    Sent(4, {0, 0, 0, 4})};
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(device.Received(), frames);
        EXPECT_EQ(kalibr.Positions[4], "TT-5"); // no editor row: the record's texts
        EXPECT_EQ(mba.GetKalibrRazm(4), "x");
        EXPECT_EQ(kalibr.Positions[6], "TXC");
        EXPECT_EQ(mba.GetKalibrRazm(6), "град.C");
        d->show();
        EXPECT_FALSE(kalibr.SpBut[6]->isHidden());
        EXPECT_EQ(kalibr.Row[4].NV->text(), "TT-5");
        EXPECT_EQ(kalibr.Row[6].RV->text(), "град.C");
        device.ClearLog();
        kalibr.Timer1Timer();
        EXPECT_EQ(device.Received(), frames);
        device.ClearLog();
        kalibr.SpBut[6]->click();
        EXPECT_EQ(device.Received(), std::vector<Bytes>{Sent(5, {0x10, 0x27, 0xFF, 0x00})});
        d->close();
        EXPECT_EQ(device.ReceivedOf(5).back(), Sent(5, {0x10, 0x27, 0x00, 0x00}));
        return int(mrCancel);
    });
    form.ButKalibrClick();
    EXPECT_EQ(modals.Shown(), 1);
}

TEST_F(CalibrationTest, PollTakesEveryReplyAndAFailureStopsItBeforeItsOneBox) {
    Open();
    EXPECT_TRUE(kalibr.Timer1->isActive());
    EXPECT_EQ(kalibr.Timer1->interval(), 3000);
    EXPECT_FALSE(kalibr.Label1->isHidden());
    EXPECT_FALSE(TFormKalibr::ReportErrors);
    EXPECT_TRUE(kalibr.SpBut[6]->isHidden()); // no cold junction row
    kalibr.Timer1Timer();
    EXPECT_EQ(device.Received(), PollFrames());
    EXPECT_EQ(kalibr.Row[0].XACP->text(), "12000");
    EXPECT_EQ(kalibr.Row[0].V->text(), "50,0");
    device.SetInput(0, 25);
    kalibr.Timer1Timer();
    EXPECT_EQ(kalibr.Row[0].XACP->text(), "8000");

    // A refused range record lets the poll go on and takes nothing from it.
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', -1, 1, 3}};
    ByteFields::SetU16(device.Block(60).data() + RangeRecord::MaxCode(0), 15000);
    kalibr.Timer1Timer();
    EXPECT_EQ(device.Received().size(), 3u);
    EXPECT_EQ(kalibr.Row[0].XMax->text(), "20000");
    kalibr.Timer1Timer();
    EXPECT_EQ(kalibr.Row[0].XMax->text(), "15000");

    // No reply to 'G': the timer stops first, then one box; nothing after 'G'.
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::NoReply, 'G', -1, -1, 0}};
    ExpectDeviceError("Прибор не отвечает.");
    kalibr.Timer1Timer();
    EXPECT_FALSE(kalibr.Timer1->isActive());
    EXPECT_TRUE(kalibr.Label1->isHidden());
    EXPECT_EQ(CountOf('D') + CountOf(4), 0);
    EXPECT_EQ(boxes.Shown(), 1);

    device.Faults().faults.clear();
    kalibr.Button1->click();
    EXPECT_TRUE(kalibr.Timer1->isActive());
    EXPECT_FALSE(kalibr.Label1->isHidden());
    kalibr.close();
}

TEST_F(CalibrationTest, SelectingAndCalibratingSendExactCoilsAndClosingReleasesThem) {
    Open();
    kalibr.SpBut[1]->click();
    EXPECT_EQ(device.Received(), std::vector<Bytes>{Coil(0x10, 2, true)});
    EXPECT_EQ(Cfg().MBA.GetKalibrChannel(), 2);
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(kalibr.KalMin[size_t(r)]->isEnabled(), r == 1) << r;
        EXPECT_EQ(kalibr.KalMax[size_t(r)]->isEnabled(), r == 1) << r;
    }

    // Level 0: the refusal and no frame; No to the question: nothing.
    device.ClearLog();
    Cfg().Veg.AccessLevel = 0;
    boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить калибровку", "Предупреждение", MsgButtons::OK,
                 MsgIcon::Warning, mrNone, mrOk);
    kalibr.KalMin[1]->click();
    Cfg().Veg.AccessLevel = 1;
    const QString maxQuestion =
        "Внимание! Сейчас будет произведена калибровка\nконца шкалы измерения \nУбедитесь, "
        "подан ли на вход сигнал,\nсоответствующий концу шкалы?";
    const QString caption = "Подтвердите готовность к калибровке шкалы";
    boxes.Expect(maxQuestion, caption, MsgButtons::YesNo, MsgIcon::Question, mrNone, mrNo);
    kalibr.KalMax[1]->click();
    EXPECT_TRUE(device.Received().empty());

    // Yes: the end of channel 2 takes its code now, shown by the next poll.
    device.SetInput(1, 75); // code 16000
    boxes.Expect(maxQuestion, caption, MsgButtons::YesNo, MsgIcon::Question, mrNone, mrYes);
    kalibr.KalMax[1]->click();
    EXPECT_EQ(device.Received(), std::vector<Bytes>{Coil(0x12, 2, true)});
    kalibr.Timer1Timer();
    EXPECT_EQ(kalibr.Row[1].XMax->text(), "16000");
    EXPECT_EQ(kalibr.Row[1].AV->text(), "конец");

    // A refused coil is reported while polling.
    device.Faults().faults = {Fault{FaultKind::Exception, 5, -1, 1, 2}};
    boxes.Expect(
        "Внимание! Сейчас будет произведена калибровка\nначала шкалы измерения \nУбедитесь, подан ли на "
        "вход сигнал,\nсоответствующий началу шкалы?",
        caption, MsgButtons::YesNo, MsgIcon::Question, mrNone, mrYes);
    ExpectDeviceError("Неверный адрес данных.");
    kalibr.KalMin1Click(2);
    EXPECT_TRUE(kalibr.Timer1->isActive());

    // Another row: the old one is released first.
    device.ClearLog();
    kalibr.SpBut[4]->click();
    EXPECT_EQ(device.Received(), (std::vector<Bytes>{Coil(0x10, 2, false), Coil(0x10, 5, true)}));
    EXPECT_FALSE(kalibr.SpBut[1]->isChecked());
    EXPECT_EQ(Cfg().MBA.GetKalibrChannel(), 5);
    EXPECT_TRUE(device.Coil(0x1015));

    // Closing stops the poll and releases channels 1..4 and the selected channel 5.
    device.ClearLog();
    kalibr.close();
    EXPECT_FALSE(kalibr.Timer1->isActive());
    EXPECT_EQ(Cfg().MBA.GetKalibrViewClosed(), 1);
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Coil(0x10, 1, false), Coil(0x10, 2, false), Coil(0x10, 3, false),
                                  Coil(0x10, 4, false), Coil(0x10, 5, false)}));
    for (int c = 1; c <= 7; ++c)
        EXPECT_FALSE(device.Coil(0x1010 + c)) << c;
    EXPECT_EQ(Cfg().MBA.GetKalibrChannel(), 0);
}

TEST_F(CalibrationTest, SensorTypesSetTheModuleTypeBitsAndKeepOrRestoreTheFlag) {
    Cfg().MBA.SetModuleType(0, 0x01);
    Cfg().Reserv.SetModuleType(0, 0x01);
    Cfg().MBA.SetMbaBaseChanged(0);
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Программирование модуля  БРОН");
        EXPECT_EQ(tipdat.RadioGroups[0]->toolTip(), "номер дискретного сигнала в базе 1 (адрес 0x00)");
        EXPECT_EQ(tipdat.RadioGroups[5]->toolTip(), "номер дискретного сигнала в базе 6 (адрес 0x05)");
        EXPECT_EQ(tipdat.RadioGroups[0]->ItemIndex(), 1);
        EXPECT_EQ(tipdat.RadioGroups[1]->ItemIndex(), 0);
        EXPECT_TRUE(tipdat.RadioGroups[6]->isHidden());
        EXPECT_EQ(tipdat.LabTMod->text(), "БРОН");
        d->show();
        tipdat.OK->click();
        return d->result();
    });
    form.Button2->click();
    EXPECT_EQ(Cfg().MBA.GetMbaBaseChanged(), 0); // OK untouched keeps the flag

    // NAMUR for sensor 3 sets bit 2 and the flag; Cancel restores both.
    modals.Then([&](QDialog* d) {
        d->show();
        tipdat.RadioGroups[2]->Button(1)->click();
        EXPECT_EQ(Cfg().MBA.GetModuleType(0), 0x05);
        EXPECT_EQ(Cfg().MBA.GetRangeInt(0, 2), 1);
        EXPECT_EQ(Cfg().MBA.GetMbaBaseChanged(), 1);
        tipdat.Cancel->click();
        return d->result();
    });
    form.Button2Click();
    EXPECT_EQ(Cfg().MBA.GetModuleType(0), 0x01);
    EXPECT_EQ(Cfg().MBA.GetMbaBaseChanged(), 0);

    // File mode: OK copies the types into the reserve and marks the configuration modified; the
    // live view stays shut. A Cancel of an earlier showing does not carry over.
    Cfg().Serv.FileMode = 1;
    int liveViews = 0;
    tipdat.LiveView = [&](const LiveInputsHeader&) { return ++liveViews, nullptr; };
    modals.Then([&](QDialog* d) {
        d->show();
        tipdat.RadioGroups[1]->Button(1)->click();
        tipdat.Button3->click();
        tipdat.reject();
        return d->result();
    });
    form.Button2Click();
    EXPECT_EQ(liveViews, 0);
    EXPECT_EQ(Cfg().Reserv.GetModuleType(0), 0x03);
    EXPECT_EQ(Cfg().Serv.Modified, 1);
}
