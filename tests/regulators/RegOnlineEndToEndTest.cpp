// The online loop view against the devsim program over a real pseudo-terminal, on the exchange
// thread: a tick shows the device's values, the user switches to auto and types a set point the
// device then holds, and a device that went away stops polling with one box.

#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "EditorFixture.h"
#include "EscapedBoxes.h"
#include "ModbusFrame.h"
#include "Panregvis.h"
#include "editors/regulators/RegOnlineKit.h"
#include "editors/regulators/Uniregvis.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <bit>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;
using namespace LoopOnline;

namespace {

QString Request(int function, const Bytes& data) {
    const Bytes frame = Frame::Build(1, function, data);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' '));
}

// Device 0 is bus address 1, the view's device.
// A fresh read of loop k's SP, OUT and PV from the device.
std::array<float, 3> DeviceLoop(TComPortClass& port, int k) {
    const int reg = SPRegister(k);
    const Bytes data{uint8_t(reg >> 8), uint8_t(reg), 0x00, 0x06};
    Bytes reply(3 + 12 + 2);
    EXPECT_EQ(port.Obmen(0, 3, int(data.size()), data.data(), reply), 0);
    std::array<float, 3> values{};
    for (size_t i = 0; i < 3; ++i) {
        const uint8_t* b = &reply[3 + 4 * i];
        values[i] =
            std::bit_cast<float>(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]);
    }
    QCoreApplication::processEvents(); // a poll result held during the read reaches the view
    return values;
}

class RegOnlineEndToEnd : public testing::Test {
  protected:
    // devsim with a bus log and args; logged in with the full level, the view on loop 1, a single
    // loop on a 0..100 scale.
    bool Start(const QStringList& args) {
        if (!StartLoggedDevsim(devsim, DEVSIM_PATH, args, port)) return false;
        parts.cfg->Veg.AccessLevel = 1;
        parts.cfg->Reg.SetAnVh(0, 1);
        parts.cfg->Reg.SetTReg(0, 0, 1);
        view.LoopIndex = {0, 1};
        view.PVScaleMin = {0, 0};
        view.PVScaleMax = {100, 100};
        return true;
    }
    // Shows the view; the ticks come from the test alone.
    void Show() {
        view.show();
        EXPECT_TRUE(view.Timer1->isActive());
        view.Timer1->setInterval(3600 * 1000);
    }
    void TearDown() override {
        port.ClosePort();
        devsim.Stop();
    }

    DevsimProcess devsim;
    TComPortClass port;
    EditorSurroundings parts{port};
    TFormRegOnLine view{parts.context};
};

} // namespace

TEST_F(RegOnlineEndToEnd, PollSwitchWriteAndLoseTheDeviceOverAPseudoTerminal) {
    ASSERT_TRUE(Start({}));
    ScriptedMessageBoxes boxes; // any box not expected fails the test
    TProgRegClass& reg = parts.cfg->Reg;
    const Bytes inFault = CoilData(HandAutoCoil(0) + 7, true); // the input state
    Bytes reply(WriteReplySize);
    ASSERT_EQ(port.Obmen(0, 5, int(inFault.size()), inFault.data(), reply), 0);

    Show();
    // Waits end when the view shows the result; the long cap only matters on a loaded machine.
    const auto shown = [](const std::function<bool()>& done) { return QTest::qWaitFor(done, 20000); };

    // One tick, and a second one while its poll runs, which starts nothing: the device's values
    // and states.
    view.Timer1Timer();
    view.Timer1Timer();
    ASSERT_TRUE(shown([&] { return reg.GetStateByte(0) == 0x80; }));
    const TFormRegOnLine::LoopPanel& p = view.Panel(0);
    const auto held = DeviceLoop(port, 0);
    EXPECT_EQ(p.panel->SPBox()->Text(), TPanRegVis::ValueText(held[0]));
    EXPECT_EQ(p.panel->OUTBox()->Text(), TPanRegVis::ValueText(held[1]));
    // PV moves around SP on every read.
    EXPECT_NEAR(reg.GetOnlinePV(0), held[0], 2.0f);
    EXPECT_EQ(p.panel->PVBox()->Text(), TPanRegVis::ValueText(reg.GetOnlinePV(0)));
    EXPECT_FALSE(p.handAut->isChecked()); // hand
    EXPECT_FALSE(p.ap->isChecked());

    // In hand the set point is not typed; switch to auto.
    QTest::mouseClick(p.panel->SPBox(), Qt::LeftButton);
    EXPECT_FALSE(view.EditText->isVisible());
    p.handAut->click(); // the device holds it: the next tick shows auto
    view.Timer1Timer();
    ASSERT_TRUE(shown([&] { return reg.GetStateBit0(0) == 1; }));
    EXPECT_TRUE(p.handAut->isChecked());

    // A set point typed and entered right after the next tick started: the write goes after that
    // poll, never into it, and the device holds it.
    view.Timer1Timer();
    QTest::mouseClick(p.panel->SPBox(), Qt::LeftButton);
    ASSERT_TRUE(view.EditText->isVisible());
    EXPECT_EQ(view.EditText->text(), TPanRegVis::ValueText(held[0]));
    view.EditText->clear();
    QTest::keyClicks(view.EditText, "62,5");
    QTest::keyClick(view.EditText, Qt::Key_Return);
    EXPECT_FALSE(view.EditText->isVisible());
    const auto written = DeviceLoop(port, 0);
    EXPECT_EQ(written[0], 62.5f);
    EXPECT_EQ(written[1], held[1]);
    view.Timer1Timer();
    ASSERT_TRUE(shown([&] { return p.panel->SPBox()->Text() == "62.50"; }));

    // The device goes away: the next tick gives one box, after polling stopped.
    devsim.Stop();
    boxes.Expect("COM-порт недоступен.\nУстройство 1, порт " + devsim.Link(), "Ошибка", MsgButtons::OK,
                 MsgIcon::Error, mrNone, mrOk);
    view.Timer1Timer();
    ASSERT_TRUE(shown([&] { return boxes.Done(); }));
    EXPECT_FALSE(view.Timer1->isActive());
    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);

    const QString values = Request(3, ReadValuesData()), states = Request(1, ReadStatesData());
    const QString readLoop = Request(3, {0x02, 0xA0, 0x00, 0x06});
    EXPECT_EQ(DevsimProcess::LoggedRequests(devsim.TempPath("bus.log")),
              QStringList({Request(5, {0x03, 0x17, 0xFF, 0x00}), values, states, readLoop,
                           Request(5, {0x03, 0x10, 0xFF, 0x00}), values, states, values, states,
                           Request(16, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x7A, 0x00, 0x00}), readLoop,
                           values, states}));
}

// The device does not answer a poll while the user presses "+": the write waits for the failing
// poll and goes out; the poll's box comes once, after the write, and Escape answers it; the view
// then works on.
TEST_F(RegOnlineEndToEnd, APollFailingDuringAPlusWriteIsOneBoxAfterIt) {
    // The first poll's value request is never answered, in all its seven attempts.
    ASSERT_TRUE(Start({"--fault", "no-reply,function=3,count=7"}));
    Show();
    EscapedBoxes boxes([&] { return port.Busy(); });

    view.Timer1Timer();
    const TFormRegOnLine::LoopPanel& p = view.Panel(0);
    QTest::mouseClick(p.plus, Qt::LeftButton);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.texts, QStringList{"Прибор не отвечает.\nУстройство 1, порт " + devsim.Link()});
    EXPECT_FALSE(boxes.duringTransfer);
    EXPECT_FALSE(boxes.stuck);
    EXPECT_FALSE(view.Timer1->isActive());

    // The view works on: "-" goes out, polling starts again and shows the device's values.
    QTest::mouseClick(p.minus, Qt::LeftButton);
    QTest::mouseClick(view.Button2, Qt::LeftButton);
    view.Timer1->setInterval(3600 * 1000);
    view.Timer1Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.Panel(0).panel->SPBox()->Text() == "50.00"; }, 20000));
    view.close();
    EXPECT_EQ(boxes.texts.size(), 1);
    const QString values = Request(3, ReadValuesData()), states = Request(1, ReadStatesData());
    EXPECT_EQ(DevsimProcess::LoggedRequests(devsim.TempPath("bus.log")),
              QStringList({values, values, values, values, values, values, values,
                           Request(5, CoilData(PlusCoil(0), true)), Request(5, CoilData(MinusCoil(0), true)),
                           values, states}));
}
