// The control-loop editor's window: transfers of blocks 32 and 33 (pauses, failures, the device
// number, refused access, progress), the close query, selection, shortcuts, creating and editing
// through the loop dialog, cascades and ПЗ-fed loops, device records no loop can hold, and the online
// entry.
#include "Colors.h"
#include "ModbusFrame.h"
#include "PaintedTexts.h"
#include "RegEditorFixture.h"
#include "ShowActive.h"
#include "panels/Panreg.h"
#include "panels/Shapemark.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

TEST_F(RegEditor, ReadTakesBothBlocksOrNothing) {
    form.InPortClick();
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Frame::Build(1, 'D', Bytes{0x20}), Frame::Build(1, 'D', Bytes{0x21})}));
    EXPECT_EQ(Table(0), device.Block(32));
    EXPECT_EQ(Table(1), device.Block(33));
    EXPECT_EQ(Reserve(0), device.Block(32));
    EXPECT_EQ(Reserve(1), device.Block(33));
    EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 2);
    EXPECT_EQ(form.RegMark[1]->Mark(), "вых ЦАП №2");
    EXPECT_TRUE(form.ProgressBar1->isHidden());

    // A failure at the second block: one box, both tables as they were, the scheme from memory.
    const Bytes before0 = Table(0), before1 = Table(1);
    device.Block(32)[0] = 9;
    device.Faults().faults = {{FaultKind::Exception, 'D', 33, 1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    form.InPortClick();
    EXPECT_EQ(Table(0), before0);
    EXPECT_EQ(Table(1), before1);
    EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 2);
}

// In a tool holding no configuration the read first takes the device's composition, whose
// analogue inputs the loops' descriptions and checks use; a failed identify reads nothing.
TEST_F(RegEditor, ReadInAToolHoldingNoConfigurationTakesTheDevicesComposition) {
    Cfg().Serv.SetSlotModuleCode(1, 0);
    QSignalSpy taken(&parts.context, &EditorContext::ConfigurationChanged);
    device.Faults().faults = {{FaultKind::Exception, 0x11, -1, 1, 4}};
    ExpectDeviceError("Отказ прибора.");
    form.InPortClick();
    EXPECT_EQ(device.Received(), (std::vector<Bytes>{Frame::Build(1, 0x11, {})}));
    EXPECT_EQ(std::tuple(Cfg().Serv.GetAnInCount(), Cfg().Serv.GetSlotModuleCode(1), int(taken.count())),
              std::tuple(0, 0, 0));

    device.ClearLog();
    form.InPortClick();
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Frame::Build(1, 0x11, {}), Frame::Build(1, 'D', Bytes{0x20}),
                                  Frame::Build(1, 'D', Bytes{0x21})}));
    EXPECT_EQ(std::tuple(Cfg().Serv.GetAnInCount(), Cfg().Serv.GetSlotModuleCode(1), int(taken.count())),
              std::tuple(4, 13, 1));
    EXPECT_EQ(parts.inform.StringGrid2->item(1, TInform::acIdent)->text(), "БРОН.А2");
    EXPECT_EQ(Table(0), device.Block(32));
}

TEST_F(RegEditor, WriteRefreshesTheReserveAndTheSummaryAndAsksWhenUnchanged) {
    ReadAndEdit();
    Cfg().Reg.SetPZByte(1, 5, 0x42);
    form.OutPortClick();
    EXPECT_EQ(device.Block(32), Table(0));
    EXPECT_EQ(device.Block(33), Table(1));
    EXPECT_EQ(Reserve(0), Table(0));
    EXPECT_EQ(Reserve(1), Table(1));
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 0);
    EXPECT_EQ(changed, 1);

    // Nothing changed: asked first; No sends nothing.
    device.ClearLog();
    boxes.Expect("Данные не были изменены.Передавать?", "Подтвердите передачу данных", MsgButtons::YesNo,
                 MsgIcon::Question, mrNo, mrNo);
    form.OutPortClick();
    EXPECT_TRUE(device.Received().empty());
}

TEST_F(RegEditor, CloseQueryAndFileMode) {
    form.InPortClick();
    const Bytes read0 = Table(0);
    // No: the tables return to what was read.
    Cfg().Reg.SetAnVh(0, 5);
    Cfg().Reg.SetRegModified(1);
    boxes.Expect("Данные были изменены. Передать в прибор?", "Подтвердите передачу данных",
                 MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrNo);
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_EQ(Table(0), read0);
    // File mode: no transfer, no question; closing with edits marks the configuration.
    Cfg().Serv.FileMode = 1;
    device.ClearLog();
    form.InPortClick();
    form.OutPortClick();
    Cfg().Reg.SetRegModified(1);
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_TRUE(device.Received().empty());
    EXPECT_EQ(Cfg().Serv.Modified, 1);
}

TEST_F(RegEditor, SelectionByMouseCtrlAndSelectAll) {
    form.InPortClick();
    RegEditState& st = Cfg().Reg.RegEdit;
    const QColor sel = TColorToQColor(clSelection);
    form.PanReg1MouseDown(form.Frames[0], Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(st.SelectedRow, 0);
    EXPECT_EQ(form.Frames[0]->Color(), sel);
    EXPECT_EQ(form.PanReg[0]->Color(), sel);
    form.PanReg1MouseDown(form.Frames[1], Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(st.SelectedRow, -1);
    EXPECT_EQ(st.Reg_Choose[0] + st.Reg_Choose[1], 2);
    // Several selected: the loop's popup offers neither editing nor the online view.
    form.PanReg1MouseDown(form.Frames[1], Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(form.ScrollBoxPopup, form.PopupMenu1);
    EXPECT_FALSE(form.EditReg->isEnabled());
    EXPECT_FALSE(form.RegOnLine->isEnabled());
    form.PanReg1MouseDown(form.Frames[1], Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(st.SelectedRow, 0);
    EXPECT_NE(form.Frames[1]->Color(), sel);

    form.ScrollBox1Click(form.ScrollBox1);
    EXPECT_EQ(st.Reg_Choose[0], 0);
    form.ChooseAllClick();
    EXPECT_EQ(form.Frames[1]->Color(), sel);
    EXPECT_EQ(st.SelectedCount, 2);

    // Delete with nothing flagged warns; with all flagged removes both groups.
    form.ScrollBox1Click(form.ScrollBox1);
    Warn("Нет выделенных регуляторов");
    form.DelChooseClick();
    form.ChooseAllClick();
    form.DelChooseClick();
    EXPECT_EQ(st.FrameCount, 0);
}

TEST_F(RegEditor, CreateThroughTheDialog) {
    device.Block(32)[0] = 0; // record 0 free, record 1 used
    form.InPortClick();
    ScriptedModals modals;
    modals.Then([](QDialog* d) {
        auto* c = static_cast<TFormCreatReg*>(d);
        EXPECT_EQ(c->LabCreatProg->text(), "создание");
        EXPECT_EQ(c->EditNReg->text(), "1");
        c->CBoxTReg->setCurrentIndex(0);
        c->CBoxTRegClick(0);
        c->EditAnVh->setText("1");
        c->EditAdOUT->setText("1");
        c->OKClick();
        return c->Cancelled == 0 ? 2 : 6;
    });
    form.ABReg->trigger();
    EXPECT_EQ(Cfg().Reg.GetAnVh(0), 1);
    EXPECT_EQ(Cfg().Reg.GetTReg(0), 0);
    EXPECT_EQ(Cfg().Reg.GetAnVh(1), 2); // the used record kept
    EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 2);
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 1);
    EXPECT_EQ(changed, 0); // told after a write only

    // Full: refused before the dialog.
    Warn("Все регуляторы созданы");
    form.ABReg->trigger();

    EXPECT_EQ(modals.Shown(), 1);
}

TEST_F(RegEditor, OnlineEntryAfterSelectAllAndCopy) {
    device.Block(32)[28] = 0; // one loop
    form.InPortClick();
    Warn("Нет выделенных регуляторов");
    form.AOnLine->trigger();
    form.ChooseAllClick();
    ScriptedModals modals;
    modals.Then([](QDialog* d) {
        auto* v = static_cast<TFormRegOnLine*>(d);
        EXPECT_EQ(v->LabTip->text(), "одноконтурный регулятор");
        EXPECT_EQ(v->EditNReg->text(), "1");
        EXPECT_EQ(v->PVScaleMax[0], 100.0f);
        EXPECT_TRUE(v->EditAnVh1->isHidden());
        EXPECT_EQ(v->x(), 800);
        return 2;
    });
    form.AOnLine->trigger();
    EXPECT_EQ(modals.Shown(), 1);

    // Copy: the flagged loop's record into the clipboard; a full table refuses the group.
    form.ACopyGroup->trigger();
    EXPECT_EQ(Cfg().Copy.NReg_Copy, 1);
    Cfg().Reg.SetAnVh(1, 2);
    form.BuildRegScheme();
    Full();
    form.AAddGroup->trigger();
}

// A failed block: its five attempts, 200 ms after each, then the editor's 50 ms; the tables return
// to what the device holds, a written first block stays, and the scheme is rebuilt from them.
TEST_F(RegEditor, AFailedBlockIsFollowedBy50MsAndReturnsToTheReserve) {
    const std::vector<int> attempts(5, 200);
    for (int block : {32, 33}) {
        ReadAndEdit();
        Cfg().Reg.SetAnVh(1, 0); // the second loop removed
        const Bytes read0 = Reserve(0), read1 = Reserve(1), edited0 = Table(0);
        std::vector<int> sleeps = block == 32 ? std::vector<int>{50} : std::vector<int>{50, 300, 50};
        sleeps.insert(sleeps.end(), attempts.begin(), attempts.end());
        sleeps.push_back(50);
        device.Faults().faults = {{FaultKind::Exception, 'E', block, -1, 4}};
        ExpectDeviceError("Отказ прибора.");
        form.OutPortClick();
        EXPECT_EQ(clock.sleeps, sleeps) << block;
        EXPECT_EQ(device.ReceivedOf('E').size(), size_t(block == 32 ? 5 : 6)) << block;
        EXPECT_EQ(Table(0), block == 32 ? read0 : edited0) << block;
        EXPECT_EQ(device.Block(32), block == 32 ? read0 : edited0) << block;
        EXPECT_EQ(Table(1), read1) << block;
        EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, block == 32 ? 2 : 1) << block;
        EXPECT_EQ(changed, 0) << block;
        device.Faults().faults.clear();
    }
}

TEST_F(RegEditor, ProgressBusyPollsAndTheDeviceNumberTakenAfterTheFirstWrite) {
    ReadAndEdit();
    // One step before the first 'E', then one after each; every busy poll byte by byte. The written
    // block gives the device address 7 (number 6): it answers there from then on.
    Cfg().Serv.SetDevAddr(6);
    device.Faults().alter = [this](const std::vector<uint8_t>& request, std::vector<uint8_t>&) {
        if (request[1] == 'E' && request[2] == 0x20) device.SetAddress(7);
        return false;
    };
    std::vector<int> steps;
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps.push_back(v); });
    device.Faults().busyPolls = 2;
    form.OutPortClick();
    EXPECT_EQ(steps, (std::vector<int>{0, 30, 60, 90}));
    EXPECT_EQ(form.ProgressBar1->maximum(), 120);
    EXPECT_TRUE(form.ProgressBar1->isHidden());
    const Bytes poll = Frame::Build(7, 0x0E, {});
    Bytes loops = Table(0), pz = Table(1);
    loops.insert(loops.begin(), 0x20);
    pz.insert(pz.begin(), 0x21);
    const std::vector<Bytes> expected{Frame::Build(1, 'E', loops), poll, poll, poll,
                                      Frame::Build(7, 'E', pz),    poll, poll, poll};
    EXPECT_EQ(device.Received(), expected);
    EXPECT_EQ(Cfg().Serv.DevNum, 6);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 300, 200, 200, 50, 300, 200, 200}));
}

TEST_F(RegEditor, ShortcutsWorkWhereTheirItemsAreHidden) {
    ASSERT_TRUE(ShowActive(form)); // reads the device
    RegEditState& st = Cfg().Reg.RegEdit;
    ASSERT_EQ(st.FrameCount, 2);
    EXPECT_EQ(device.ReceivedOf('D').size(), 2u);

    // A right click on the empty scheme, for its popup, keeps the loops chosen; a left click clears
    // them: on the canvas, and right of it, where the window is wider than the scheme.
    QWidget* viewport = form.ScrollBox1->viewport();
    const QPoint rightOfCanvas(form.SchemeArea->geometry().right() + 5, 5);
    ASSERT_TRUE(viewport->rect().contains(rightOfCanvas));
    for (const auto& [target, empty] :
         {std::pair<QWidget*, QPoint>{form.SchemeArea, {form.SchemeArea->width() - 2, 2}},
          {viewport, rightOfCanvas}}) {
        QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
            QTest::mouseClick(target, button, {}, empty);
            const bool kept = button == Qt::RightButton;
            EXPECT_EQ(st.Reg_Choose[0] + st.Reg_Choose[1], kept ? 2 : 0);
            EXPECT_EQ(form.Frames[1]->Color(), kept ? TColorToQColor(clSelection) : clBtnFace());
        }
    }
    QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier); // its item is invisible
    EXPECT_EQ(Cfg().Copy.NReg_Copy, 2);
    Full();
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); // no free row
    EXPECT_TRUE(boxes.Done());

    QTest::keyClick(&form, Qt::Key_Delete); // both frames
    EXPECT_EQ(st.FrameCount, 0);

    device.ClearLog();
    QTest::keyClick(&form, Qt::Key_F10); // edited: no question
    EXPECT_EQ(device.Block(32), Bytes(56, 0));
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(device.ReceivedOf('D').size(), 2u);
    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier); // written: closes without a question
    EXPECT_FALSE(form.isVisible());
}

TEST_F(RegEditor, CascadeAndProgramFedLoopsThroughTheDialog) {
    struct Case {
        const char* name;
        std::function<void(TProgRegClass&)> loops;
        QString tip;
        int panels;
        std::array<uint8_t, 2> ap;
    };
    const auto cascade = [](TProgRegClass& r) { SetCascade(r), r.SetTypeOut(1, 1); };
    const Case cases[] = {{"cascade", cascade, "каскадная схема", 2, {0, 1}},
                          {"ПЗ-fed", [](TProgRegClass& r) { SetProgramFed(r, 0, 1, 2); }, "", 1, {0, 0}}};
    const auto live = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.SchemeArea->findChildren<QWidget*>().size();
    };
    for (const Case& c : cases) {
        Cfg().Reg.DeleteRecords(0, 2);
        c.loops(Cfg().Reg);
        form.BuildRegScheme();
        ASSERT_EQ(Cfg().Reg.RegEdit.FrameCount, 1) << c.name;
        // Rebuilds keep the number of live widgets.
        const qsizetype once = live();
        for (int r = 0; r < 3; ++r)
            form.BuildRegScheme();
        EXPECT_EQ(live(), once) << c.name;
        const Bytes before0 = Table(0), before1 = Table(1);

        // A double click on any of the frame's loop panels edits the frame's main loop; OK without
        // changes leaves every byte.
        const int lastPanel = c.panels == 2 ? 1 : 0;
        ScriptedModals modals;
        modals.Then([&](QDialog* d) {
            auto* r = static_cast<TFormCreatReg*>(d);
            EXPECT_EQ(r->LabCreatProg->text(), "программирование");
            EXPECT_EQ(r->EditNReg->text(), "1") << c.name;
            EXPECT_EQ(r->CBoxTReg->currentIndex(), c.panels == 2 ? 2 : 3) << c.name;
            EXPECT_FALSE(r->CBoxTReg->isEnabled());
            r->OKClick();
            EXPECT_EQ(r->Cancelled, 0) << c.name << r->ErrorText->text().toStdString();
            return int(mrOk);
        });
        emit form.PanReg[size_t(lastPanel)]->Body()->DblClick(form.PanReg[size_t(lastPanel)]->Body());
        EXPECT_EQ(modals.Shown(), 1) << c.name;
        EXPECT_EQ(Table(0), before0) << c.name;
        EXPECT_EQ(Table(1), before1) << c.name;
        EXPECT_EQ(Cfg().Reg.RegEdit.SelectedRow, 0) << c.name;

        // A press on the inner panel selects nothing; on the frame it selects the main loop, whose
        // online view shows the kind's panels.
        form.PanReg1MouseDown(form.PanReg[size_t(lastPanel)], Qt::LeftButton, Qt::NoModifier);
        form.ScrollBox1Click(form.ScrollBox1);
        form.PanReg1MouseDown(form.Frames[0], Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(Cfg().Reg.RegEdit.SelectedRecord, 0) << c.name;
        modals.Then([&](QDialog* d) {
            auto* v = static_cast<TFormRegOnLine*>(d);
            EXPECT_EQ(v->LabTip->text(), c.tip) << c.name;
            EXPECT_EQ(v->PanelCount(), c.panels) << c.name;
            EXPECT_EQ(v->EditNReg1->isHidden(), c.panels == 1) << c.name;
            EXPECT_EQ(v->APAllowed, c.ap) << c.name;
            EXPECT_EQ(v->LoopIndex[0], 0) << c.name;
            return int(mrCancel);
        });
        form.AOnLine->trigger();
        EXPECT_EQ(modals.Shown(), 2) << c.name;
    }
}

TEST_F(RegEditor, DeviceRecordsNoLoopCanHoldDrawAndAreRefusedOnline) {
    Bytes& loops = device.Block(32);
    PutLoop(loops, 0, 255, 200, 255, 0xFF); // unknown kind, PV past every input
    PutLoop(loops, 1, 250, 21, 200);        // ПЗ 6 of two, PV resolving to nothing
    form.InPortClick();
    RegEditState& st = Cfg().Reg.RegEdit;
    ASSERT_EQ(st.FrameCount, 2);
    EXPECT_EQ(form.PanPZ[0], nullptr);
    EXPECT_EQ(form.RegZ[0], nullptr);
    for (int f : {0, 1}) {
        form.PanReg1MouseDown(form.Frames[size_t(f)], Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(form.Frames[size_t(f)]->Color(), TColorToQColor(clSelection)) << f;
        Warn("проверить шкалы анал. вх. ");
        device.ClearLog();
        form.AOnLine->trigger();
        EXPECT_TRUE(device.Received().empty()) << f;
    }
    form.ChooseAllClick();
    form.DelChooseClick();
    EXPECT_EQ(st.FrameCount, 0);
}

TEST_F(RegEditor, TheDrawnOutputCorrectionIsTakenWithoutMarkingAChange) {
    Bytes& loops = device.Block(32);
    PutLoop(loops, 0, 0, 0, 3); // empty, with an output byte of its own
    PutLoop(loops, 1, 1, 1, 5); // drawn in row 0: drives DAC output 1
    form.InPortClick();
    EXPECT_EQ(Cfg().Reg.GetVyh(1), 0);
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 0);
}

// A double-click anywhere on a loop panel's body, its number box and kind caption included, opens
// the dialog of the loop under the pointer; a cascade's inner loop opens its group's.
TEST_F(RegEditor, ADoubleClickOnALoopPanelsBodyEditsItsLoop) {
    ASSERT_TRUE(ShowActive(form)); // reads the device: two single loops
    // A double-click at the middle of part, or at a point of it.
    const auto opened = [&](QWidget* part, std::optional<QPoint> at = {}) {
        QString number;
        ScriptedModals modals;
        modals.Then([&](QDialog* d) {
            auto* dlg = static_cast<TFormCreatReg*>(d);
            number = dlg->EditNReg->text();
            dlg->CancelClick();
            return int(mrCancel);
        });
        QTest::mouseDClick(part, Qt::LeftButton, {}, at.value_or(part->rect().center()));
        return number;
    };
    EXPECT_EQ(opened(form.PanReg[1]->NumberBox()), "2"); // "Рег 2"
    EXPECT_EQ(opened(form.PanReg[0]->Image()), "1");     // "ПИД", "прямой", "тип SP 1"
    // The parameters let the pointer through to the body.
    EXPECT_EQ(opened(form.PanReg[1]->Body(), form.PanReg[1]->Values()->geometry().center()), "2");

    SetCascade(Cfg().Reg);
    form.BuildRegScheme();
    EXPECT_EQ(opened(form.PanReg[1]->Image()), "1");
}

// The loop panel reads as the loop dialog: each parameter in the text of its stored field.
TEST_F(RegEditor, TheLoopPanelShowsTheParametersAsTheDialogDoes) {
    TProgRegClass& reg = Cfg().Reg;
    reg.DeleteRecords(0, 2);
    SetLoop(reg, 0, 1, 1, 0);
    ASSERT_TRUE(reg.SetKPText(0, "0,1") && reg.SetTiText(0, "10000") && reg.SetTdText(0, "0,001") &&
                reg.SetOLText(0, "12,34") && reg.SetOHText(0, "87,65") && reg.SetdSPText(0, "1000"));
    form.BuildRegScheme();
    ASSERT_NE(form.PanReg[0], nullptr);
    EXPECT_EQ(
        PaintedLines(form.PanReg[0]->Values()),
        (QStringList{"Kп  " + reg.GetKPText(0), "Ти  " + reg.GetTiText(0), "Тд  " + reg.GetTdText(0),
                     "OL  " + reg.GetOLText(0), "OH  " + reg.GetOHText(0), "dSP  " + reg.GetdSPText(0)}));
    EXPECT_EQ(reg.GetTiText(0), "10000");
}
