// The user's road over a real pseudo-terminal against the devsim program: log in, choose the
// port, read the configuration from the device, look at the input table, save it to a file,
// open the file again in a new session, and write it back to the device.
#include "DevsimProcess.h"
#include "HeldExchange.h"
#include "MainWindowSupport.h"
#include "ModbusFrame.h"
#include "ShowActive.h"
#include "editors/analog/KalibrKit.h"
#include "editors/regulators/RegEditKit.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>
#include <cerrno>

namespace {

QByteArray FunctionBlocks(const TConfiguration& cfg) {
    QByteArray bytes;
    for (int i = 0; i < cfg.FB.FBCount; ++i)
        for (int k = 0; k < 16; ++k)
            bytes.append(char(cfg.FB.GetRecByte(i, k)));
    return bytes;
}

QString Hex(const std::vector<uint8_t>& frame) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' '));
}

// Opens the port dialog and, once it shows, types name into its port box and clicks OK, then
// "Отмена" where the dialog stays open.
void ChoosePort(TForm1& form, const QString& name) {
    QTimer::singleShot(0, [&form, name] {
        TFormPort* dialog = form.FormPort;
        if (!dialog->isVisible()) return ADD_FAILURE() << "the port dialog is not open";
        QLineEdit* edit = dialog->ComboPort->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, name);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        if (dialog->isVisible()) QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    form.APort->trigger();
}

void ExpectPortRefused(ScriptedMessageBoxes& boxes, const QString& name, const QString& reason) {
    boxes.Expect("Не удалось открыть порт " + name + ".\n" + reason, "Ошибка", MsgButtons::OK, MsgIcon::Error,
                 mrNone, mrOk);
}

} // namespace

// A port choice that fails, on a name that does not open or on a port another program holds, is
// told and keeps the simulator's terminal chosen and open, also after "Отмена": F9 reads the device.
TEST(EndToEnd, AFailedPortChoiceKeepsThePortThatWorked) {
    TempWorkDir work;
    DevsimProcess devsim, other;
    QString error;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {}, &error)) << error.toStdString();
    ASSERT_TRUE(other.Start(DEVSIM_PATH, {}, &error)) << error.toStdString();
    auto form = ShownMainWindow();
    UseHeldExchangeThread(form->ComPort);
    ASSERT_TRUE(ShowActive(*form));
    ChoosePort(*form, devsim.Link());
    ASSERT_TRUE(form->ComPort.IsOpen());

    QSerialPort held(other.Link()); // the other device's port, held by another program
    ASSERT_TRUE(held.open(QIODevice::ReadWrite)) << held.errorString().toStdString();
    const QString missing = work.Path() + "/ttyUSB9";
    {
        ScriptedMessageBoxes boxes;
        ExpectPortRefused(boxes, missing, qt_error_string(ENOENT));
        ExpectPortRefused(boxes, other.Link(), "Порт занят другой программой");
        ChoosePort(*form, missing);
        ChoosePort(*form, other.Link());
    }
    EXPECT_TRUE(form->ComPort.IsOpen());
    EXPECT_EQ(form->ComPort.GetPortName(), devsim.Link());

    ASSERT_TRUE(ShowActive(*form));                   // back in the main window
    ASSERT_NE(form->SlotControls[0]->text(), "БРОН"); // nothing read yet
    {
        ScriptedMessageBoxes none; // the read shows no box
        QTest::keyClick(form.get(), Qt::Key_F9);
    }
    EXPECT_EQ(form->Cfg.Serv.FileMode, 0);
    EXPECT_EQ(form->SlotControls[0]->text(), "БРОН");
}

TEST(EndToEnd, ReadFromTheSimulatedDeviceSaveReopenAndWriteBack) {
    TempWorkDir work;
    DevsimProcess devsim;
    QString error;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {}, &error)) << error.toStdString();
    // A logged-in main window whose exchange runs on its own thread, connected to devsim's terminal
    // through the port dialog.
    const auto connected = [&] {
        auto shown = ShownMainWindow();
        UseHeldExchangeThread(shown->ComPort);
        ApplyCommandLine(*shown, {"veg17", "--port", devsim.Link()});
        ApplyCommandLine(*shown, {"veg17"});   // without the option the name stays
        EXPECT_FALSE(shown->ComPort.IsOpen()); // opened only when the dialog is confirmed
        ScriptedModals modals;
        modals.Then([&](QDialog* dialog) {
            EXPECT_EQ(dialog, shown->FormPort);
            shown->FormPort->OKButtonClick();
            return int(QDialog::Accepted);
        });
        shown->APort->trigger();
        return shown;
    };
    auto form = connected();
    ASSERT_TRUE(form->ComPort.IsOpen());
    {
        ScriptedMessageBoxes none; // a good read shows no box
        form->AInPort->trigger();
    }
    EXPECT_EQ(form->Cfg.Serv.FileMode, 0);
    EXPECT_EQ(form->SlotControls[0]->text(), "БРОН");
    EXPECT_FALSE(form->EditModif->text().isEmpty());
    // The sample is usable at once: its composition is the one its slots give, calibration and
    // the online loop view find a scale on every channel and loop input.
    EXPECT_EQ(form->Cfg.Serv.GetDiscrInCount(), form->Cfg.Serv.GetComposedDiscrInCount());
    EXPECT_EQ(Calibration::EqualScaleChannel(form->Cfg.MBA, 0), -1);
    for (int loop = 0; loop < 2; ++loop) {
        EXPECT_FALSE(RegEdit::PrepareOnline(form->Cfg, loop).refusal.has_value()) << loop;
        EXPECT_EQ(form->LoopSummary->CellText(loop, TLoopSummary::cMin), "0");
        EXPECT_EQ(form->LoopSummary->CellText(loop, TLoopSummary::cMax), "200");
    }
    const QByteArray blocksRead = FunctionBlocks(form->Cfg);

    form->AInform->trigger();
    EXPECT_TRUE(form->Inform->isVisible());
    EXPECT_EQ(form->Inform->StringGrid1->item(0, 0)->text().trimmed(), "1");
    EXPECT_EQ(form->Inform->StringGrid1->item(0, 2)->text(), " 0x00");
    form->Inform->hide();

    const QString path = work.Path() + "/device.veg";
    {
        ScriptedModals modals;
        modals.Then(ChooseFile(path));
        form->ASaveFile->trigger(); // no name yet: asks for one
    }
    ASSERT_EQ(form->Context->ConfigFileName(), path);
    EXPECT_EQ(QFileInfo(path).size(), 35506);

    // A new session opens the file: the same blocks, in file mode; then writes them back to the
    // device with no refusal and no error.
    form.reset();
    form = connected();
    {
        ScriptedModals modals;
        modals.Then(ChooseFile(path));
        form->AOpenFile->trigger();
    }
    EXPECT_EQ(form->Cfg.Serv.FileMode, 1);
    EXPECT_EQ(form->Context->ConfigFileName(), path);
    EXPECT_EQ(FunctionBlocks(form->Cfg), blocksRead);
    EXPECT_EQ(form->SlotControls[0]->text(), "БРОН");
    {
        ScriptedMessageBoxes none;
        form->AOutPort->trigger();
    }
    EXPECT_FALSE(form->ProgressBar1->isVisible());

    // The same file to a device of 60 function blocks: the identify request and the read of
    // block 26 reach it, nothing is written, and one box names both capacities.
    DevsimProcess sixty;
    ASSERT_TRUE(sixty.Start(DEVSIM_PATH, {"--log", sixty.TempPath("bus.log"), "--sixty-blocks"}, &error))
        << error.toStdString();
    form->ComPort.ClosePort();
    form->ComPort.SetPortName(sixty.Link());
    ASSERT_TRUE(form->ComPort.OpenPort(&error)) << error.toStdString();
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Прибор  на 60 ФБ,\nконфигурация на 120 ФБ.\nПередача невозможна", "Ошибка",
                     MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        form->AOutPort->trigger();
    }
    form->ComPort.ClosePort();
    sixty.Stop();
    EXPECT_EQ(
        DevsimProcess::LoggedRequests(sixty.TempPath("bus.log")),
        QStringList({Hex(Frame::Build(1, 0x11, {})), Hex(Frame::Build(1, 'D', std::vector<uint8_t>{26}))}));
    form->Cfg.Serv.Modified = 0; // nothing to ask on closing
}
