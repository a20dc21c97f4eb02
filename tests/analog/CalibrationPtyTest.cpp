// The calibration window against the devsim program over a real pseudo-terminal, opened from the
// analogue-module editor: live codes, a channel selected and its end of scale calibrated, the new
// range on the next poll, and every selection coil released on closing.

#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "EditorFixture.h"
#include "EscapedBoxes.h"
#include "ModbusFrame.h"
#include "editors/analog/KalibrKit.h"
#include "editors/analog/Prog_kalibr.h"
#include "editors/analog/Prog_mba.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// One tick, waited out.
void Poll(TFormKalibr& kalibr) {
    kalibr.Timer1Timer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !kalibr.Polling(); }, 5000));
}

} // namespace

TEST(CalibrationEndToEnd, CalibrateTheEndOfChannelTwoOverAPseudoTerminal) {
    QString error;
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--frozen"}, &error)) << error.toStdString();
    ScriptedMessageBoxes boxes;

    TComPortClass port;
    ASSERT_TRUE(ConnectToDevsim(port, devsim, &error)) << error.toStdString();
    EditorSurroundings parts(port);
    TConfiguration& cfg = *parts.cfg;
    cfg.Veg.AccessLevel = 1;
    for (int s = 0; s < 3; ++s)
        cfg.Serv.SetSlotModuleCode(s + 1, std::array{13, 2, 11}[size_t(s)]);
    for (int c = 0; c < 4; ++c) {
        cfg.MBA.SetChNSkText(0, c, "0");
        cfg.MBA.SetChVSkText(0, c, "100");
    }
    cfg.MBA.SetCurSlot(1);

    TFormPROG form(parts.context, QStringList(16, "x"));
    TFormKalibr kalibr(parts.context);
    form.FormKalibr = &kalibr;
    form.PrepareForSlot("БРОН");
    form.Poz[1]->setText("TE-102");

    ScriptedModals modals;
    modals.Then([&](QDialog* d) {
        d->show();
        // devsim's channel 2 stands at 27 %: code 4000 + 160 × 27 in the range 4000..20000.
        EXPECT_EQ(kalibr.Row[1].NV->text(), "TE-102");
        EXPECT_EQ(kalibr.Row[1].XACP->text(), "8320");
        EXPECT_EQ(kalibr.Row[1].XMax->text(), "20000");
        EXPECT_EQ(kalibr.Row[1].V->text(), "27,0");
        kalibr.SpBut[1]->click();
        EXPECT_TRUE(kalibr.KalMax[1]->isEnabled());
        boxes.ExpectText(
            "Внимание! Сейчас будет произведена калибровка\nконца шкалы измерения \nУбедитесь, подан ли "
            "на вход сигнал,\nсоответствующий концу шкалы?",
            "Подтвердите готовность к калибровке шкалы", mrYes);
        kalibr.KalMax[1]->click();
        Poll(kalibr);
        EXPECT_EQ(kalibr.Row[1].XMax->text(), "8320");
        EXPECT_EQ(kalibr.Row[1].AV->text(), "конец");
        d->close();
        return int(mrCancel);
    });
    form.ButKalibr->click();
    EXPECT_EQ(modals.Shown(), 1);

    // The selection coils 0x1011..0x1017 are all off.
    const uint8_t read[] = {0x10, 0x11, 0x00, 0x07};
    std::vector<uint8_t> reply(16);
    ASSERT_EQ(port.Obmen(0, 1, 4, read, reply), 0);
    EXPECT_EQ(reply[3], 0);

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}

// The device does not answer a poll while the user selects a channel: the coil write waits for
// the failing poll and goes out; the poll's box comes once, after the write, and Escape answers
// it; the window then works on.
TEST(CalibrationEndToEnd, APollFailingDuringAChannelWriteIsOneBoxAfterIt) {
    DevsimProcess devsim;
    TComPortClass port;
    // The first poll's ADC-code request is never answered, in all its seven attempts.
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {"--fault", "no-reply,function=71,count=7"}, port));
    const QString log = devsim.TempPath("bus.log");
    EditorSurroundings parts(port);
    TFormKalibr kalibr(parts.context);
    kalibr.show();
    ASSERT_TRUE(kalibr.Timer1->isActive());
    kalibr.Timer1->setInterval(3600 * 1000);
    EscapedBoxes boxes([&] { return port.Busy(); });

    kalibr.Timer1Timer();
    QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton);
    EXPECT_TRUE(kalibr.KalMax[1]->isEnabled()); // the write went out after the poll
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.texts, QStringList{"Прибор не отвечает.\nУстройство 1, порт " + devsim.Link()});
    EXPECT_FALSE(boxes.duringTransfer);
    EXPECT_FALSE(boxes.stuck);
    EXPECT_FALSE(kalibr.Timer1->isActive());

    // The window works on: the channel released, polling started again and shown.
    QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton);
    EXPECT_FALSE(kalibr.KalMax[1]->isEnabled());
    QTest::mouseClick(kalibr.Button1, Qt::LeftButton);
    EXPECT_TRUE(kalibr.Timer1->isActive());
    Poll(kalibr);
    EXPECT_FALSE(kalibr.Row[1].XACP->text().isEmpty());
    kalibr.Timer1->stop();
    QTest::qWait(100);
    EXPECT_EQ(boxes.texts.size(), 1);

    const auto hex = [](int function, const std::vector<uint8_t>& data) {
        const auto f = Frame::Build(1, function, data);
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(f.data()), qsizetype(f.size())).toHex(' '));
    };
    const QString g = hex('G', {0, 6});
    EXPECT_EQ(DevsimProcess::LoggedRequests(log),
              QStringList({g, g, g, g, g, g, g, hex(5, Calibration::CoilData(0x10, 1, 2, true)),
                           hex(5, Calibration::CoilData(0x10, 1, 2, false)), g, hex('D', {60}),
                           hex(4, {0, 0, 0, 4})}));
    kalibr.close();
    port.ClosePort();
    devsim.Stop();
}

// The device stops answering at all: the channel write fails after the failing poll, and the
// user answers one box, the write's; polling has stopped and restarts on request.
TEST(CalibrationEndToEnd, ASilentDeviceIsOneBoxForAChannelClick) {
    DevsimProcess devsim;
    TComPortClass port;
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {"--fault", "no-reply,count=3"}, port));
    port.SetPovt1(1);
    port.SetPovt2(0);
    EditorSurroundings parts(port);
    TFormKalibr kalibr(parts.context);
    kalibr.show();
    kalibr.Timer1->setInterval(3600 * 1000);
    EscapedBoxes boxes([&] { return port.Busy(); });

    kalibr.Timer1Timer();
    QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton);
    ASSERT_TRUE(boxes.WaitFor(1));
    QTest::qWait(200);
    EXPECT_EQ(boxes.texts, QStringList{"Прибор не отвечает.\nУстройство 1, порт " + devsim.Link()});
    EXPECT_FALSE(boxes.duringTransfer);
    EXPECT_FALSE(boxes.stuck);
    EXPECT_FALSE(kalibr.Timer1->isActive());
    EXPECT_FALSE(kalibr.SpBut[1]->isChecked());

    QTest::mouseClick(kalibr.Button1, Qt::LeftButton);
    EXPECT_TRUE(kalibr.Timer1->isActive());
    Poll(kalibr);
    EXPECT_FALSE(kalibr.Row[1].XACP->text().isEmpty());
    kalibr.close();
    port.ClosePort();
    devsim.Stop();
}
