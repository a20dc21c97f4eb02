#include "ConfigFile.h"
#include "MainWindowSupport.h"
#include "ModbusFrame.h"
#include "ShowActive.h"
#include "editors/analog/Prog_infvyh.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Prog_fb.h"
#include "editors/relay/Prog_mr.h"

#include <QCoreApplication>
#include <QPrintDialog>

#include <tuple>

// The password cases themselves belong to the log-in tests; here: asked once, and ending there
// closes the window and the port without a question.
TEST(MainWindow, PasswordOnFirstShowSetsTheAccessLevelOrEndsTheProgram) {
    TempWorkDir work;
    {
        auto form = ShownMainWindow(); // no password file: the service password gives full access
        EXPECT_EQ(form->Cfg.Veg.AccessLevel, 1);
        form->hide();
        ScriptedModals none; // asked only on the first showing: another dialog fails the test
        form->show();
    }
    TForm1 form;
    OpenSimPort port(form);
    {
        ScriptedModals modals;
        modals.Then([](QDialog*) { return int(mrNone); }); // the log-in closed without OK
        form.show();
    }
    form.Cfg.Serv.FileMode = 1;
    form.Cfg.Serv.Modified = 1; // ending at the password asks nothing
    ScriptedMessageBoxes none;
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.LoginEnded());
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.ComPort.IsOpen());
    EXPECT_EQ(form.Cfg.Veg.AccessLevel, 0);
}

TEST(MainWindow, ClosingAsksInFileModeOnlyWhenModifiedAndClosesThePortWhenItCloses) {
    TempWorkDir work;
    { // file mode, modified, full access: both questions; the save without a file name asks for one
        auto form = ShownMainWindow();
        OpenSimPort port(*form);
        form->Cfg.Serv.FileMode = 1;
        form->Cfg.Serv.Modified = 1;
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        boxes.Expect("Данные были изменены. Сохранить в файле?", "Подтвердите сохранение данных",
                     MsgButtons::YesNo, MsgIcon::Question, mrNo, mrYes);
        modals.Then(Closes(form->SaveDialog, QDialog::Rejected)); // no name given: nothing is saved
        EXPECT_FALSE(form->close());                              // the changes stay
        EXPECT_TRUE(form->ComPort.IsOpen());
        boxes.Expect("Данные были изменены. Сохранить в файле?", "Подтвердите сохранение данных",
                     MsgButtons::YesNo, MsgIcon::Question, mrNo, mrNo);
        boxes.Expect("Данные были изменены. Передать в прибор?", "Подтвердите передачу данных",
                     MsgButtons::YesNo, MsgIcon::Question, mrNo, mrNo);
        EXPECT_TRUE(form->close()); // "Нет" always closes
        EXPECT_FALSE(form->ComPort.IsOpen());
    }
    // Limited access: only the save question; device mode, or a file not changed: nothing is asked.
    for (const auto& [access, fileMode, modified] : {std::tuple{0, 1, 1}, {1, 0, 1}, {1, 1, 0}}) {
        TForm1 form;
        form.Cfg.Veg.AccessLevel = access;
        OpenSimPort port(form);
        form.Cfg.Serv.FileMode = fileMode;
        form.Cfg.Serv.Modified = modified;
        ScriptedMessageBoxes boxes; // any other box fails the test
        if (access == 0)
            boxes.Expect("Данные были изменены. Сохранить в файле?", "Подтвердите сохранение данных",
                         MsgButtons::YesNo, MsgIcon::Question, mrNo, mrNo);
        EXPECT_TRUE(form.close());
        EXPECT_FALSE(form.ComPort.IsOpen());
    }
}

TEST(MainWindow, DiscreteEditorEntryAndItsFunctionBlockAction) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    TFormPrgD* prgD = form->FormPrgD;
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) {
        EXPECT_EQ(dialog, prgD);
        prgD->AFB->trigger(); // the editor's AFB while it is open
        return 2;
    });
    modals.Then(Closes(form->FormFB, 2)); // ended normally: no message
    ScriptedMessageBoxes boxes;
    form->AProgD->trigger();
    EXPECT_EQ(modals.Shown(), 2);
}

// The function-block editor's own read in a tool holding no configuration: the window counts the
// device's inputs, and still has no configuration to write whole.
TEST(MainWindow, FunctionBlockReadInAFreshToolShowsTheDevicesInputs) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    OpenSimPort sim(*form);
    ScriptedModals modals;
    modals.Then([&](QDialog*) {
        form->FormPrgD->AFB->trigger();
        return 2;
    });
    modals.Then([&](QDialog*) {
        form->FormFB->AInPort->trigger(); // F9
        return 2;
    });
    ScriptedMessageBoxes boxes;
    form->AProgD->trigger();
    EXPECT_EQ(modals.Shown(), 2);
    EXPECT_EQ(sim.device.Received().at(0), Frame::Build(1, 0x11, {}));
    EXPECT_EQ(std::pair(form->StAllD->text(), form->StAllAn->text()), std::pair(QString("36"), QString("4")));
    // No module record was read: the analogue-module editor stays closed.
    EXPECT_FALSE(form->APrg1->isEnabled());
    EXPECT_FALSE(form->SlotControls[0]->isEnabled());

    sim.device.ClearLog();
    boxes.Expect("Конфигурация не задана", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    form->AOutPort->trigger();
    EXPECT_TRUE(sim.device.Received().empty());
}

TEST(MainWindow, RelayEditorShowsItsModuleInTheOutputLiveView) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) {
        TFormVyhOnL* view = form->FormVyhOnL;
        EXPECT_EQ(dialog, view);
        EXPECT_EQ((QStringList{view->LabNMod->text(), view->TipMod->text(), view->LabAMod->text(),
                               view->OnOff[0]->text(), view->OnOff[3]->text()}),
                  (QStringList{"2", "МР11", "3", "вых 1", "вых 4"}));
        return int(mrCancel);
    });
    form->FormMR->openLiveView(RelayLiveViewRequest{2, "МР11", 3, {"вых 1", "вых 2", "вых 3", "вых 4"}});
    EXPECT_EQ(modals.Shown(), 1);
}

TEST(MainWindow, SlotOneOpensTheAnalogueEditorOnItsModuleRecord) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    {
        ScriptedModals none; // no controller: the slot and the entry open nothing
        form->SlotControls[0]->click();
        form->Prg1Click();
        EXPECT_FALSE(form->APrg1->isEnabled());
    }
    // The simulator's composition: a discrete module before the relay module, none before the
    // controller's analogue record 0.
    for (int s = 0; s < 3; ++s)
        form->Cfg.Serv.SetSlotModuleCode(s + 1, SimDevice::kSampleSlots[size_t(s)]);
    form->Cfg.MBA.SetChPozText(0, 0, "TI-1");
    form->Cfg.MBA.SetChUstHText(0, 2, "42,5");
    form->Cfg.MBA.SetChPozText(1, 0, "other");
    form->RefreshComposition();
    EXPECT_TRUE(form->APrg1->isEnabled());
    EXPECT_EQ(form->APrg1->text(), "Программирование аналоговых сигналов");
    ScriptedModals modals;
    for (int entry = 0; entry < 2; ++entry)
        modals.Then([&](QDialog* dialog) {
            EXPECT_EQ(dialog, form->FormPROG);
            EXPECT_EQ(form->FormPROG->Poz[0]->text(), "TI-1");
            EXPECT_EQ(form->FormPROG->UstH[2]->text(), "42,5");
            EXPECT_EQ(form->FormPROG->LabTMod->text(), "БРОН");
            EXPECT_EQ(form->Cfg.MBA.GetCurSlot(), 1);
            EXPECT_EQ(form->Cfg.Serv.GetCurModule(), 1);
            return 2;
        });
    form->SlotControls[0]->click();
    form->APrg1->trigger();
    EXPECT_EQ(modals.Shown(), 2);
}

TEST(MainWindow, FailedOpenOrReadLeavesTheWindowAsItWas) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    // No window makes a file or print dialog (and its file-information thread) before it is used.
    EXPECT_TRUE(form->findChildren<QFileDialog*>().isEmpty());
    EXPECT_TRUE(form->findChildren<QPrintDialog*>().isEmpty());
    form->Context->SetConfigFileName("old.veg");
    QFile damaged(work.Path() + "/damaged.veg");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("short");
    damaged.close();
    const auto snapshot = [&] {
        QStringList s{form->Context->ConfigFileName(), form->EditModif->text(), form->StAllD->text(),
                      form->StAllAn->text(), form->CBoxUstr->currentText()};
        for (QPushButton* slot : form->SlotControls)
            s << slot->text();
        return s;
    };
    const QStringList before = snapshot();
    {
        ScriptedModals modals;
        // The failures' wording belongs to the file and transfer code: any box is accepted.
        SetMessageBoxHandler([](QWidget*, const MessageBoxRequest&) { return int(mrOk); });
        modals.Then(Closes(form->OpenDialog, QDialog::Rejected));
        modals.Then(ChooseFile(damaged.fileName()));
        form->AOpenFile->trigger();
        form->AOpenFile->trigger();
        form->AInPort->trigger(); // no port chosen
        SetMessageBoxHandler({});
    }
    EXPECT_EQ(form->findChildren<QFileDialog*>().size(), 1);
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(form->ProgressBar1->isVisible());
}

namespace {

const QString kSaveQuestion = "Данные были изменены. Сохранить в файле?";
const QString kSaveCaption = "Подтвердите сохранение данных";
const QString kTransferQuestion = "Данные были изменены. Передать в прибор?";
const QString kTransferCaption = "Подтвердите передачу данных";

void ExpectSaveQuestion(ScriptedMessageBoxes& boxes, int answer) {
    boxes.Expect(kSaveQuestion, kSaveCaption, MsgButtons::YesNo, MsgIcon::Question, mrNo, answer);
}

void ExpectTransferQuestion(ScriptedMessageBoxes& boxes, int answer) {
    boxes.Expect(kTransferQuestion, kTransferCaption, MsgButtons::YesNo, MsgIcon::Question, mrNo, answer);
}

// A logged-in main window on the simulated device, which has opened through "Открыть" a file of
// device number 5 kept in a folder of its own.
class UnsavedWork : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(work.Path()).mkdir("cfg"));
        folder = work.Path() + "/cfg";
        path = folder + "/plant.veg";
        auto cfg = std::make_unique<TConfiguration>();
        cfg->Serv.SetDevAddr(4);
        ASSERT_TRUE(SaveConfigFile(nullptr, path, *cfg));
        form = ShownMainWindow();
        port = std::make_unique<OpenSimPort>(*form);
        ScriptedModals modals;
        ScriptedMessageBoxes none; // nothing unsaved yet: nothing is asked
        modals.Then(ChooseFile(path));
        ClickMenuEntry(*form, form->AOpenFile);
        ASSERT_EQ(form->Context->ConfigFileName(), path);
        ASSERT_EQ(form->Cfg.Serv.FileMode, 1);
    }
    void TearDown() override {
        if (form) form->Cfg.Serv.Modified = 0;
    }
    QByteArray FileBytes() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempWorkDir work;
    QString folder, path;
    std::unique_ptr<OpenSimPort> port; // outlives the window, whose exchange uses it
    std::unique_ptr<TForm1> form;
};

} // namespace

// The save asked for on closing fails: the window stays with the changes and asks nothing more;
// "Нет" to the save question still closes.
TEST_F(UnsavedWork, AFailedSaveOnClosingKeepsTheWindowOpenAndNoStillCloses) {
    form->Cfg.Serv.Modified = 1; // as an editor closing with changes leaves it
    ASSERT_TRUE(QDir(folder).removeRecursively());
    {
        ScriptedMessageBoxes boxes;
        ExpectSaveQuestion(boxes, mrYes);
        boxes.Expect("Файл не удается сохранить:\n" + QDir::toNativeSeparators(path), "Ошибка",
                     MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        ClickMenuEntry(*form, form->AExit);
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->ComPort.IsOpen());
    EXPECT_EQ(form->Cfg.Serv.Modified, 1);
    EXPECT_EQ(form->Context->ConfigFileName(), path);

    ScriptedMessageBoxes boxes;
    ExpectSaveQuestion(boxes, mrNo);
    ExpectTransferQuestion(boxes, mrNo);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->ComPort.IsOpen());
}

// "Открыть" and F9 ask before they start: the file dialog comes after the answer, the read sends
// nothing until the changes are saved or given up; with nothing unsaved nothing is asked.
TEST_F(UnsavedWork, OpeningOrReadingOverChangesAsksToSaveThemFirst) {
    form->Cfg.Serv.Modified = 1;
    {
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        ExpectSaveQuestion(boxes, mrYes);
        modals.Then([&](QDialog* dialog) {
            EXPECT_EQ(boxes.Shown(), 1);
            EXPECT_EQ(form->Cfg.Serv.Modified, 0); // saved before the dialog
            EXPECT_EQ(dialog, static_cast<QDialog*>(form->OpenDialog));
            return int(QDialog::Rejected);
        });
        ClickMenuEntry(*form, form->AOpenFile);
        EXPECT_EQ(modals.Shown(), 1);
    }
    form->Cfg.Serv.Modified = 1;
    {
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        ExpectSaveQuestion(boxes, mrNo);
        modals.Then(Closes(form->OpenDialog, QDialog::Rejected));
        ClickMenuEntry(*form, form->AOpenFile);
        EXPECT_EQ(modals.Shown(), 1);
    }
    EXPECT_EQ(form->Cfg.Serv.Modified, 1);

    // A save that fails stops the read before its first request.
    port->device.SetAddress(5);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(ShowActive(*form));
    {
        ScriptedMessageBoxes boxes;
        ExpectSaveQuestion(boxes, mrYes);
        boxes.ExpectText("Файл не удается сохранить:\n" + QDir::toNativeSeparators(path), "Ошибка");
        QTest::keyClick(form.get(), Qt::Key_F9);
        EXPECT_EQ(boxes.Shown(), 2);
    }
    EXPECT_TRUE(port->device.Received().empty());
    EXPECT_EQ(form->Cfg.Serv.FileMode, 1);
    {
        ScriptedMessageBoxes boxes;
        ExpectSaveQuestion(boxes, mrNo);
        QTest::keyClick(form.get(), Qt::Key_F9);
    }
    EXPECT_FALSE(port->device.Received().empty());
    EXPECT_EQ(form->Cfg.Serv.FileMode, 0);
    port->device.ClearLog();
    ScriptedMessageBoxes none; // read from the device: nothing to save
    QTest::keyClick(form.get(), Qt::Key_F9);
    EXPECT_FALSE(port->device.Received().empty());
}

// A new configuration is unsaved: creating another, opening a file or closing asks first, before
// its dialog; a save whose file name is not given stops the command and keeps the window open.
TEST(MainWindow, ANewConfigurationIsAskedAboutBeforeItIsReplacedOrClosed) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    const auto create = [&](ScriptedModals& modals) {
        modals.Then([&](QDialog* dialog) {
            auto* config = qobject_cast<TConfig*>(dialog);
            EXPECT_EQ(config, form->FormConfig);
            if (config) {
                config->EditModif->setText("D0000000");
                config->OKClick();
            }
            return dialog->result();
        });
    };
    {
        ScriptedMessageBoxes none; // nothing to save in a fresh window
        ScriptedModals modals;
        create(modals);
        ClickMenuEntry(*form, form->ACreatConfig);
    }
    ASSERT_EQ(form->Cfg.Serv.Modified, 1);
    // "Да" and no file name given: nothing is created, opened or closed, and the changes stay.
    for (QAction* command : {form->ACreatConfig, form->AOpenFile, form->AExit}) {
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        ExpectSaveQuestion(boxes, mrYes);
        modals.Then(Closes(form->SaveDialog, QDialog::Rejected));
        ClickMenuEntry(*form, command);
        EXPECT_EQ(modals.Shown(), 1) << command->text().toStdString();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->Cfg.Serv.Modified, 1);
    }
    {
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        ExpectSaveQuestion(boxes, mrNo);
        modals.Then([&](QDialog* dialog) {
            EXPECT_EQ(boxes.Shown(), 1);
            return Closes(form->FormConfig, QDialog::Rejected)(dialog);
        });
        ClickMenuEntry(*form, form->ACreatConfig);
        EXPECT_EQ(modals.Shown(), 1);
    }
    form->Cfg.Serv.Modified = 0;
}

// The file keeps the device number: changing it in the box is a change to save. Opening a file
// of another number is none, nor is a change for a configuration read from the device.
TEST_F(UnsavedWork, ChangingTheDeviceNumberOfAFileIsAChangeToSave) {
    // The next number chosen with the keyboard in the window's number box.
    const auto nextNumber = [](TForm1& window) {
        EXPECT_TRUE(ShowActive(window));
        window.CBoxUstr->setFocus();
        QTest::keyClick(window.CBoxUstr, Qt::Key_Down);
        return window.CBoxUstr->currentText();
    };
    EXPECT_EQ(form->CBoxUstr->currentText(), "5");
    EXPECT_EQ(form->Cfg.Serv.Modified, 0);
    ASSERT_EQ(nextNumber(*form), "6");
    {
        ScriptedMessageBoxes boxes;
        ExpectSaveQuestion(boxes, mrYes);
        ExpectTransferQuestion(boxes, mrNo);
        EXPECT_TRUE(form->close());
    }
    EXPECT_EQ(FileBytes().left(1), QByteArray(1, char(5)));

    auto device = ShownMainWindow(); // not from a file, as after a read: nothing is asked
    ASSERT_EQ(device->Cfg.Serv.FileMode, 0);
    ASSERT_EQ(nextNumber(*device), "2");
    ScriptedMessageBoxes none;
    EXPECT_TRUE(device->close());
}
