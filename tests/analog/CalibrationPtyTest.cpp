// The calibration window against the devsim program over a real pseudo-terminal: a poll failing
// while a channel is selected, then live codes, the end of scale calibrated and the new range on
// the next poll; then a silent device. The editor's opening and the coils released on closing are
// checked on the simulated device.

#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "EditorFixture.h"
#include "EscapedBoxes.h"
#include "ModbusFrame.h"
#include "editors/analog/KalibrKit.h"
#include "editors/analog/Prog_kalibr.h"

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

// The device does not answer a poll while the user selects a channel: the coil write waits for
// the failing poll and goes out; the poll's box comes once, after the write, and Escape answers
// it; the window then works on, and calibrates.
TEST(CalibrationEndToEnd, FailingPollsAndWritesAreOneBoxEachAndTheEndIsCalibrated) {
    DevsimProcess devsim;
    TComPortClass port;
    // The first poll's ADC-code request is never answered, in all its seven attempts.
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH,
                                  {"--frozen", "--fault", "no-reply,function=71,count=7"}, port));
    const QString log = devsim.TempPath("bus.log");
    EditorSurroundings parts(port);
    parts.cfg->Veg.AccessLevel = 1;
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

    // Channel 2 stands at 27 %: code 4000 + 160 × 27 in the range 4000..20000. Calibrating its end
    // takes that code as the maximum, shown by the next poll.
    EXPECT_EQ(kalibr.Row[1].XACP->text(), "8320");
    EXPECT_EQ(kalibr.Row[1].XMax->text(), "20000");
    { // the question scripted, every other box escaped
        ScriptedMessageBoxes question;
        question.ExpectText(
            "Внимание! Сейчас будет произведена калибровка\nконца шкалы измерения \nУбедитесь, "
            "подан ли на вход сигнал,\nсоответствующий концу шкалы?",
            "Подтвердите готовность к калибровке шкалы", mrYes);
        QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton);
        QTest::mouseClick(kalibr.KalMax[1], Qt::LeftButton);
        Poll(kalibr);
    }
    EXPECT_EQ(kalibr.Row[1].XMax->text(), "8320");
    EXPECT_EQ(kalibr.Row[1].AV->text(), "конец");
    QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton); // released
    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);

    // The device stops answering at all, with one attempt a request: the channel write fails after
    // the failing poll, and the user answers one box, the write's; polling has stopped and
    // restarts on request.
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {"--fault", "no-reply,count=3"}, port));
    port.SetPovt1(1);
    port.SetPovt2(0);
    kalibr.Timer1->start(3600 * 1000);
    kalibr.Timer1Timer();
    QTest::mouseClick(kalibr.SpBut[1], Qt::LeftButton);
    ASSERT_TRUE(boxes.WaitFor(2));
    QTest::qWait(200);
    EXPECT_EQ(boxes.texts, QStringList(2, "Прибор не отвечает.\nУстройство 1, порт " + devsim.Link()));
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
