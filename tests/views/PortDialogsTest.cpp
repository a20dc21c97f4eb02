#include "ModalCheck.h"
#include "Obrnastr.h"
#include "Obrport.h"
#include "PaintedTexts.h"
#include "SimLink.h"
#include "ViewsTestSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

// The exchange over the simulated device, its port not yet chosen, and the port dialog applying
// through it as the main window's does.
class PortDialogs : public ::testing::Test {
  protected:
    void SetUp() override { port.SetLink(std::unique_ptr<SimLink>(link)); }
    SimDevice device;
    TComPortClass port;
    SimLink* link = new SimLink(device); // the port's from SetUp on
    TFormPort form{[this] { return port.GetLinkSettings(); },
                   [this](const LinkSettings& s, QString* error) { return port.OpenPort(s, error); }};
};

TEST_F(PortDialogs, OpenThePortWithTheChosenSettingsOrSayWhyAndStoreTheRepeats) {
    form.SetPortName("/dev/pts/77");
    form.ComboSpeed->setCurrentIndex(form.ComboSpeed->findData(57600));
    form.ComboParity->setCurrentIndex(form.ComboParity->findData(int(LinkParity::Even)));
    form.ComboStop->setCurrentIndex(form.ComboStop->findData(1));

    link->refuseOpen = true;
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Не удалось открыть порт /dev/pts/77.\nНет такого устройства", "Ошибка", MsgButtons::OK,
                     MsgIcon::Error, mrNone, mrOk);
        form.OKButtonClick();
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(form.result(), 0);

    link->refuseOpen = false;
    form.OKButtonClick();
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(link->settings.portName, "/dev/pts/77");
    EXPECT_EQ(link->settings.baud, 57600);
    EXPECT_EQ(link->settings.parity, LinkParity::Even);
    EXPECT_EQ(link->settings.stopBits, 1);

    TFormNastr settings([this] { return port.GetExchangeSettings(); },
                        [this](const ExchangeSettings& s) { port.SetExchangeSettings(s); });
    settings.ComboPovt1->setCurrentIndex(settings.ComboPovt1->findData(1));
    settings.SpinPovt2->setValue(4);
    settings.SpinDelay->setValue(20);
    settings.OKButtonClick();
    EXPECT_EQ(port.GetPovt1(), 1);
    EXPECT_EQ(port.GetPovt2(), 4);
    EXPECT_EQ(port.GetTransmitDelay(), 20);
}

TEST_F(PortDialogs, EnterConfirmsEvenAfterAnEarlierCancelAndATypedNameIsUsed) {

    // Opened and cancelled with the focus on Cancel.
    form.show();
    auto* cancel = form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Space);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(port.IsOpen());

    // Opened again: a typed name that no port list holds, and Enter where the focus was left.
    form.show();
    const int listed = form.ComboPort->count();
    form.ComboPort->lineEdit()->setText("/tmp/veg17-typed");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(link->settings.portName, "/tmp/veg17-typed");
    EXPECT_EQ(form.ComboPort->count(), listed); // typed names do not join the list

    // Opened once more: the name shows selected, and Enter in the port box keeps it and confirms.
    port.ClosePort();
    form.setResult(0);
    form.show();
    form.ComboPort->setFocus();
    form.ComboPort->lineEdit()->selectAll();
    QTest::keyClick(form.ComboPort->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(link->settings.portName, "/tmp/veg17-typed");
    EXPECT_EQ(form.ComboPort->count(), listed);
}

// OK with the port box emptied says that no port is chosen, opens and closes nothing and stays open.
TEST_F(PortDialogs, AnEmptyPortBoxIsRefusedAndThePortStaysAsItWas) {
    QString error;
    port.SetPortName("/dev/pts/5");
    ASSERT_TRUE(port.OpenPort(&error));
    link->settings = {}; // an opening from here on would show

    form.show();
    QLineEdit* edit = form.ComboPort->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, "  ");
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Не выбран COM-порт.", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        QTest::mouseClick(form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 0);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(link->IsOpen());
    EXPECT_EQ(link->settings.portName, "");
    EXPECT_EQ(port.GetPortName(), "/dev/pts/5");
    form.hide();
}

// Opened as the main window opens it, the dialog has room for its caption in the title bar and its
// port box shows the whole name ./run.sh gives the simulator's port.
TEST_F(PortDialogs, CaptionAndASimulatorPortNameShowWhole) {
    const QString name = "/tmp/veg17-devsim.MwQ8Wm";
    form.SetPortName(name);
    CheckNextModal([&](QWidget* window) {
        EXPECT_GE(window->width(), TitleBarWidth(window->windowTitle()));
        EXPECT_TRUE(AllPaintedTexts(form.ComboPort).contains(name));
        const QStringList cut = CutTexts(form.ComboPort);
        EXPECT_TRUE(cut.isEmpty()) << cut.join(" | ").toStdString();
    });
    EXPECT_EQ(ShowModal(&form), QDialog::Rejected);
}
