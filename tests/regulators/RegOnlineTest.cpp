// The online loop view: its requests and replies, polling on the in-process device, writing and
// switching.
#include "EditorFixture.h"
#include "ModbusFrame.h"
#include "Panregvis.h"
#include "editors/regulators/RegOnlineKit.h"
#include "editors/regulators/Uniregvis.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <bit>

using Bytes = std::vector<uint8_t>;
using namespace LoopOnline;

TEST(RegOnlineKit, RequestsRepliesAndLooks) {
    EXPECT_EQ(ReadValuesData(), (Bytes{0x02, 0xA0, 0x00, 0x24}));
    EXPECT_EQ(ReadStatesData(), (Bytes{0x03, 0x10, 0x00, 0x30}));
    EXPECT_EQ(CoilData(HandAutoCoil(1), true), (Bytes{0x03, 0x18, 0xFF, 0x00}));
    EXPECT_EQ(CoilData(APCoil(0), false), (Bytes{0x03, 0x11, 0x00, 0x00}));
    EXPECT_EQ(CoilData(MinusCoil(5), true), (Bytes{0x00, 0x75, 0xFF, 0x00}));
    EXPECT_EQ(FloatData(OUTRegister(1), 25.0f),
              (Bytes{0x02, 0xA8, 0x00, 0x02, 0x04, 0x41, 0xC8, 0x00, 0x00}));

    TProgRegClass reg;
    Bytes values(ValuesReplySize);
    values[3 + 4 * 4] = 0xC2, values[3 + 4 * 4 + 1] = 0xC8; // slot 4, OUT of loop 1: −100
    ASSERT_TRUE(TakeValues(reg, values));
    EXPECT_EQ(reg.GetOnlineOUT(1), -100.0f);
    EXPECT_FALSE(TakeValues(reg, Bytes(ValuesReplySize - 3)));
    Bytes states{1, 1, 6, 0, 0xC1, 0x02, 0, 0, 0x43};
    ASSERT_TRUE(TakeStates(reg, states));
    EXPECT_EQ(reg.GetStateByte(0), 0x00);
    EXPECT_EQ(reg.GetStateByte(1), 0xC1);
    EXPECT_EQ(reg.GetStateByte(5), 0x43);
    EXPECT_FALSE(TakeStates(reg, Bytes{1, 1, 6, 0}));

    const PanelLook idle = LookOf(0x00), busy = LookOf(0xC3), inFault = LookOf(0x80);
    EXPECT_EQ(idle.in, QColor(Qt::green));
    EXPECT_EQ(idle.out, QColor(Qt::green));
    EXPECT_FALSE(idle.handAuto || idle.ap);
    EXPECT_EQ(busy.in, QColor(Qt::red));
    EXPECT_EQ(busy.out, QColor(Qt::red));
    EXPECT_TRUE(busy.handAuto && busy.ap);
    EXPECT_EQ(inFault.in, QColor(Qt::red));
    EXPECT_EQ(inFault.out, QColor(Qt::green));
}

namespace {

class RegOnline : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        Cfg().Reg.SetAnVh(0, 1);
        Cfg().Reg.SetTReg(0, 0, 1); // a single loop
        view.LoopIndex = {0, 1};
        view.PVScaleMin = {0, 0};
        view.PVScaleMax = {100, 100};
        device.SetCoil(HandAutoCoil(0), true); // auto
        device.SetCoil(HandAutoCoil(0) + 7, true);
    }
    // Shows the view and runs its first tick.
    void Open() {
        view.show();
        device.ClearLog();
        view.Timer1Timer();
    }
    Bytes Sent(int function, const Bytes& data) { return Frame::Build(1, function, data); }
    void Type(int kind, const QString& text) {
        kind == 2 ? view.ChangeSPClick(0) : view.ChangeOUTClick(0);
        view.EditText->setText(text);
        device.ClearLog();
    }
    void Leave(Qt::FocusReason reason) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(view.EditText, &out);
    }

    TFormRegOnLine view{parts.context};
};

} // namespace

TEST_F(RegOnline, ATickFillsThePanelWhoseSwitchesWriteCoilsAndReopeningDrawsTheSameLooks) {
    view.show();
    EXPECT_TRUE(view.Timer1->isActive());
    EXPECT_EQ(view.Timer1->interval(), 3000);
    EXPECT_TRUE(view.Label1->isVisible());
    EXPECT_EQ(view.Label1->text(), "запущен опрос");
    EXPECT_GE(view.width(), view.minimumSizeHint().width()); // 280, or what the captions need
    EXPECT_EQ(view.Panel(0).panel, nullptr);                 // built by the first tick
    EXPECT_TRUE(device.Received().empty());

    view.Timer1Timer();
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Sent(3, {0x02, 0xA0, 0x00, 0x24}), Sent(1, {0x03, 0x10, 0x00, 0x30})}));
    const auto& p = view.Panel(0);
    ASSERT_NE(p.panel, nullptr);
    EXPECT_EQ(p.panel->pos(), QPoint(20, 10));
    EXPECT_EQ(p.panel->LoopNumber(), 1);
    // PV as the device sent it (it moves on every read).
    const Bytes& reply = device.Sent()[0];
    const float pv = std::bit_cast<float>(uint32_t(reply[11]) << 24 | uint32_t(reply[12]) << 16 |
                                          uint32_t(reply[13]) << 8 | reply[14]);
    EXPECT_NEAR(pv, device.LoopValue(0, 0), 2.0f);
    EXPECT_EQ(Cfg().Reg.GetOnlinePV(0), pv);
    EXPECT_EQ(p.panel->PVBox()->Text(), TPanRegVis::ValueText(pv));
    EXPECT_EQ(p.panel->SPBox()->Text(), "50.00");
    EXPECT_EQ(p.panel->OUTBox()->Text(), "40.00");
    EXPECT_EQ(p.panel->ColorP_In(), QColor(Qt::red));
    EXPECT_EQ(p.panel->ColorP_Out(), QColor(Qt::green));
    EXPECT_TRUE(p.handAut->isChecked());
    EXPECT_FALSE(p.ap->isChecked());
    EXPECT_TRUE(p.plus->isVisibleTo(p.panel));
    EXPECT_EQ(p.plus->geometry(), QRect(1, 325, 60, 50));
    EXPECT_EQ(p.minus->text(), "-");
    EXPECT_EQ(p.handAut->geometry(), QRect(111, 378, 67, 48));
    EXPECT_EQ(view.Panel(1).panel, nullptr);

    // The next tick keeps the panels.
    device.SetLoopValue(0, 1, 12.5f);
    view.Timer1Timer();
    EXPECT_EQ(view.Panel(0).panel, p.panel);
    EXPECT_EQ(p.panel->OUTBox()->Text(), "12.50");

    // The switches and buttons write their coils.
    device.ClearLog();
    p.handAut->click(); // to hand: AP off as well
    p.handAut->click(); // to auto
    p.ap->click();      // not allowed on this loop: released again
    EXPECT_FALSE(p.ap->isChecked());
    view.APAllowed[0] = 1;
    p.ap->click();
    EXPECT_TRUE(p.ap->isChecked());
    p.plus->click();
    p.minus->click();
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Sent(5, {0x03, 0x10, 0x00, 0x00}), Sent(5, {0x03, 0x11, 0x00, 0x00}),
                                  Sent(5, {0x03, 0x10, 0xFF, 0x00}), Sent(5, {0x03, 0x11, 0x00, 0x00}),
                                  Sent(5, {0x03, 0x11, 0xFF, 0x00}), Sent(5, {0x00, 0x68, 0xFF, 0x00}),
                                  Sent(5, {0x00, 0x70, 0xFF, 0x00})}));
    EXPECT_TRUE(device.Coil(104));

    // Qt caches the pixmaps of icons and button faces by icon and palette: new ones at each opening
    // would fill its pixmap cache.
    const auto keys = [&] {
        return std::vector<qint64>{p.ap->icon().cacheKey(), p.handAut->icon().cacheKey(),
                                   qint64(p.plus->palette().cacheKey()),
                                   qint64(p.minus->palette().cacheKey())};
    };
    const std::vector<qint64> first = keys();
    EXPECT_EQ(p.plus->palette().color(QPalette::ButtonText), QColor(Qt::black));
    view.close();
    Open();
    EXPECT_EQ(keys(), first);
}

TEST_F(RegOnline, AFailedReadStopsPollingBeforeItsOneBoxAndButton2Resumes) {
    Open();
    TPanRegVis* first = view.Panel(0).panel;
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::Exception, 3, -1, 1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    view.Timer1Timer();
    EXPECT_EQ(CountOf(3), 1);
    EXPECT_EQ(CountOf(1), 0); // no states after failed values
    EXPECT_FALSE(view.Timer1->isActive());
    EXPECT_FALSE(view.Label1->isVisible());
    EXPECT_EQ(view.Panel(0).panel, first); // the last values stay

    // A switch that fails while polling is stopped is shown.
    device.Faults().faults = {Fault{FaultKind::Exception, 5, -1, 1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    view.p_Button1Click(0);

    // Resumed, the next tick builds the panel anew: here as a repeater's, without buttons.
    Cfg().Reg.SetTReg(0, 0, 0);
    view.Button2Click();
    EXPECT_TRUE(view.Timer1->isActive());
    EXPECT_TRUE(view.Label1->isVisible());
    device.ClearLog();
    view.Timer1Timer();
    EXPECT_EQ(CountOf(1), 1);
    ASSERT_NE(view.Panel(0).panel, nullptr);
    EXPECT_FALSE(view.Panel(0).plus->isVisibleTo(view.Panel(0).panel));
    EXPECT_FALSE(view.Panel(0).handAut->isVisibleTo(view.Panel(0).panel));
    Cfg().Reg.SetTReg(0, 0, 1);

    // While polling runs a failed switch shows nothing.
    device.Faults().faults = {Fault{FaultKind::Exception, 5, -1, 1, 2}};
    view.p_Button2Click(0);
    EXPECT_TRUE(boxes.Done());

    view.close();
    EXPECT_FALSE(view.Timer1->isActive());
}

TEST_F(RegOnline, SetPointInAutoOutputInHandEachWrittenOnce) {
    Open();
    view.ChangeOUTClick(0); // auto: OUT is not typed
    EXPECT_FALSE(view.EditText->isVisible());
    EXPECT_EQ(view.EditKind, 0);
    Type(2, "60");
    EXPECT_TRUE(view.EditText->isVisible());
    EXPECT_EQ(view.EditKind, 2);
    Leave(Qt::ActiveWindowFocusReason); // a box took the focus: nothing written
    EXPECT_TRUE(device.Received().empty());
    QTest::keyClick(view.EditText, Qt::Key_Return);
    EXPECT_EQ(device.Received(),
              std::vector<Bytes>{Sent(16, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x70, 0x00, 0x00})});
    EXPECT_EQ(device.LoopValue(0, 0), 60.0f);
    EXPECT_FALSE(view.EditText->isVisible());
    EXPECT_EQ(view.EditKind, 0);
    EXPECT_EQ(view.EditText->pos(), QPoint(225, 50));
    EXPECT_EQ(view.Panel(0).panel->SPBox()->Text(), "60.00");
    Type(2, "100"); // the scale's maximum
    Leave(Qt::TabFocusReason);
    EXPECT_EQ(device.LoopValue(0, 0), 100.0f);

    device.SetCoil(HandAutoCoil(0), false); // hand
    view.Timer1Timer();
    view.ChangeSPClick(0);
    EXPECT_FALSE(view.EditText->isVisible());
    Type(3, "100");
    EXPECT_EQ(view.EditText->isVisible(), true);
    // Over the OUT box, not the SP box.
    const PanelPart* out = view.Panel(0).panel->OUTBox();
    EXPECT_EQ(view.EditText->pos(), out->mapTo(&view, QPoint(0, 0)));
    Leave(Qt::TabFocusReason);
    EXPECT_EQ(device.ReceivedOf(16).size(), 1u);
    EXPECT_EQ(device.LoopValue(0, 1), 100.0f);
    Type(3, "100,5");
    boxes.Expect("Величина вне диапазона 0 - 100", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    Leave(Qt::TabFocusReason);
    EXPECT_TRUE(device.Received().empty());
    EXPECT_EQ(view.EditKind, 0);

    // A failed write stops polling and is shown; the typed value stays.
    Type(3, "70");
    device.Faults().faults = {Fault{FaultKind::Exception, 16, -1, 1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    Leave(Qt::TabFocusReason);
    EXPECT_FALSE(view.Timer1->isActive());
    EXPECT_EQ(view.Panel(0).panel->OUTBox()->Text(), "70.00");
}

TEST_F(RegOnline, PressesAndMinimiseLeaveTheValueBeingTypedAndEnterWritesItOnce) {
    view.TwoLoops = 1;
    device.SetCoil(HandAutoCoil(1), true);
    Open();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    TPanRegVis* first = view.Panel(0).panel;
    TPanRegVis* second = view.Panel(1).panel;
    EXPECT_GE(view.width(), 460);
    EXPECT_EQ(second->pos(), QPoint(220, 10));
    EXPECT_EQ(second->LoopNumber(), 2);
    QTest::mouseClick(first->SPBox(), Qt::LeftButton);
    ASSERT_TRUE(view.EditText->hasFocus());
    QTest::keyClick(view.EditText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(view.EditText, "6");
    device.ClearLog();
    const QPoint bars(90, 200);
    QTest::mouseClick(first, Qt::LeftButton, {}, bars);
    QTest::mouseClick(view.ScrollBox1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(second, Qt::RightButton, {}, bars); // the loop being typed for stays
    view.showMinimized();
    view.showNormal();
    EXPECT_TRUE(view.Timer1->isActive());
    EXPECT_EQ(device.Received(), std::vector<Bytes>{});
    ASSERT_TRUE(view.EditText->isVisible());
    QTest::keyClicks(view.EditText, "0");
    QTest::keyClick(view.EditText, Qt::Key_Return);
    EXPECT_EQ(device.Received(),
              std::vector<Bytes>{Sent(16, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x70, 0x00, 0x00})});

    // A press on a control that takes the focus still ends the typing: the value, then "+".
    QTest::mouseClick(second->SPBox(), Qt::LeftButton);
    QTest::keyClick(view.EditText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(view.EditText, "25");
    device.ClearLog();
    QTest::mouseClick(view.Panel(1).plus, Qt::LeftButton);
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Sent(16, {0x02, 0xA6, 0x00, 0x02, 0x04, 0x41, 0xC8, 0x00, 0x00}),
                                  Sent(5, {0x00, 0x69, 0xFF, 0x00})}));
}

// The limited access level watches the loop but drives nothing: every write is refused with its
// box, nothing reaches the device, and the panel keeps the device's values and states.
TEST_F(RegOnline, TheLimitedLevelIsRefusedEveryWriteAndKeepsTheDevicesValues) {
    Cfg().Veg.AccessLevel = 0;
    view.APAllowed[0] = 1;
    Open();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    const auto& p = view.Panel(0);
    ASSERT_NE(p.panel, nullptr);
    ASSERT_TRUE(p.handAut->isChecked()); // auto
    const auto expectRefusal = [&] {
        boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор", "Предупреждение",
                     MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    };
    // A value typed over the box and Enter.
    const auto typeInto = [&](PanelPart* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(view.EditText->hasFocus());
        QTest::keyClick(view.EditText, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(view.EditText, text);
        expectRefusal();
        QTest::keyClick(view.EditText, Qt::Key_Return);
    };

    typeInto(p.panel->SPBox(), "60");
    EXPECT_EQ(p.panel->SPBox()->Text(), "50.00");
    EXPECT_EQ(Cfg().Reg.GetOnlineSP(0), 50.0f);
    EXPECT_FALSE(view.EditText->isVisible());

    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{p.handAut, p.ap, p.plus, p.minus}) {
        expectRefusal();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(p.handAut->isChecked()) << button->text().toStdString();
        EXPECT_FALSE(p.ap->isChecked()) << button->text().toStdString();
    }

    device.SetCoil(HandAutoCoil(0), false); // hand: OUT is typed
    view.Timer1Timer();
    ASSERT_FALSE(p.handAut->isChecked());
    typeInto(p.panel->OUTBox(), "70");
    EXPECT_EQ(p.panel->OUTBox()->Text(), "40.00");
    expectRefusal();
    QTest::mouseClick(p.handAut, Qt::LeftButton);
    EXPECT_FALSE(p.handAut->isChecked());

    EXPECT_TRUE(device.ReceivedOf(5).empty());
    EXPECT_TRUE(device.ReceivedOf(16).empty());
    EXPECT_TRUE(view.Timer1->isActive()); // a refusal is no failed exchange: polling goes on
}
