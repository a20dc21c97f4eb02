// The control-loop editor's window: transfers of blocks 32 and 33, the close query, selection,
// creating and editing through the loop dialog, and the online entry.
#include "Colors.h"
#include "LoopReserve.h"
#include "ModbusFrame.h"
#include "RegEditorFixture.h"
#include "panels/Panreg.h"
#include "panels/Shapemark.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QTest>

TEST_F(RegEditor, ReadTakesBothBlocksOrNothing) {
    DeviceLoops();
    form.InPortClick();
    ASSERT_EQ(device.Received().size(), 2u);
    EXPECT_EQ(device.Received()[0], Frame::Build(1, 'D', Bytes{0x20}));
    EXPECT_EQ(device.Received()[1], Frame::Build(1, 'D', Bytes{0x21}));
    EXPECT_EQ(Table(0), device.Block(32));
    EXPECT_EQ(Table(1), device.Block(33));
    EXPECT_EQ(Reserve(0), device.Block(32));
    EXPECT_EQ(Reserve(1), device.Block(33));
    EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 2);
    EXPECT_EQ(form.RegMark[1]->Mark(), "вых ЦАП №2");
    EXPECT_TRUE(form.ProgressBar1->isHidden());

    // A failure at either block: one box, both tables as they were, the scheme from memory.
    for (int block : {32, 33}) {
        const Bytes before0 = Table(0), before1 = Table(1);
        device.Block(32)[0] = 9;
        device.Faults().faults = {{FaultKind::Exception, 'D', block, 1, 2}};
        ExpectDeviceError("Неверный адрес данных.");
        form.InPortClick();
        EXPECT_EQ(Table(0), before0) << block;
        EXPECT_EQ(Table(1), before1) << block;
        EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 2) << block;
        device.Block(32)[0] = 1;
    }
}

TEST_F(RegEditor, WriteSendsBothBlocksWithTheirPausesAndRefreshesTheSummary) {
    DeviceLoops();
    form.InPortClick();
    Cfg().Reg.SetKPText(0, "2");
    Cfg().Reg.SetPZByte(1, 5, 0x42);
    Cfg().Reg.SetRegModified(1);
    device.ClearLog();
    clock.sleeps.clear();
    device.Faults().busyPolls = 1;
    form.OutPortClick();

    const auto& frames = device.Received();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0], Frame::Build(1, 'E', With(0x20, Table(0))));
    EXPECT_EQ(frames[1], Frame::Build(1, 0x0E, {}));
    EXPECT_EQ(frames[3], Frame::Build(1, 'E', With(0x21, Table(1))));
    EXPECT_EQ(frames[5], Frame::Build(1, 0x0E, {}));
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 300, 200, 50, 300, 200}));
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

TEST_F(RegEditor, AFailedSecondBlockKeepsTheFirstAndReturnsTheSecondToTheReserve) {
    DeviceLoops();
    form.InPortClick();
    const Bytes read1 = Table(1);
    Cfg().Reg.SetAnVh(1, 0); // the second loop removed
    Cfg().Reg.SetPZByte(0, 3, 0x77);
    Cfg().Reg.SetRegModified(1);
    const Bytes written0 = Table(0);
    device.Faults().faults = {{FaultKind::Exception, 'E', 33, -1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    form.OutPortClick();
    EXPECT_EQ(device.Block(32), written0);
    EXPECT_EQ(Table(0), written0);
    EXPECT_EQ(Table(1), read1);
    EXPECT_EQ(Cfg().Reg.RegEdit.FrameCount, 1); // rebuilt from the restored tables
    EXPECT_EQ(changed, 0);
}

TEST_F(RegEditor, CloseQueryAndFileMode) {
    DeviceLoops();
    form.InPortClick();
    const Bytes read0 = Table(0);
    struct Case {
        int answer;
        bool closes;
        size_t frames;
    };
    for (const Case& c : {Case{mrCancel, false, 0}, Case{mrNo, true, 0}, Case{mrYes, true, 4}}) {
        Cfg().Reg.SetAnVh(0, 5);
        Cfg().Reg.SetRegModified(1);
        device.ClearLog();
        boxes.Expect("Данные были изменены. Передать в прибор?", "Подтвердите передачу данных",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, c.answer);
        EXPECT_EQ(form.FormCloseQuery(), c.closes) << c.answer;
        EXPECT_EQ(device.Received().size(), c.frames) << c.answer;
        if (c.answer == mrNo) {
            EXPECT_EQ(Table(0), read0);
        }
    }
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
    DeviceLoops();
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
    boxes.Expect("Нет выделенных регуляторов", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone,
                 mrOk);
    form.DelChooseClick();
    form.ChooseAllClick();
    form.DelChooseClick();
    EXPECT_EQ(st.FrameCount, 0);
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 1);
}

// After Ctrl+A a right click on the empty scheme, for its popup, keeps the loops chosen; a left
// click clears them.
TEST_F(RegEditor, OnlyALeftClickOnTheEmptySchemeClearsTheChoice) {
    DeviceLoops();
    form.show(); // reads the loops
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const RegEditState& st = Cfg().Reg.RegEdit;
    const QPoint empty(form.SchemeArea->width() - 2, 2);
    QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        QTest::mouseClick(form.SchemeArea, button, {}, empty);
        const bool kept = button == Qt::RightButton;
        EXPECT_EQ(st.Reg_Choose[0] + st.Reg_Choose[1], kept ? 2 : 0);
        EXPECT_EQ(form.Frames[1]->Color(), kept ? TColorToQColor(clSelection) : clBtnFace());
    }
    form.hide();
}

TEST_F(RegEditor, CreateThroughTheDialogAndEditByDoubleClick) {
    DeviceLoops();
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

    // Full: refused before the dialog.
    boxes.Expect("Все регуляторы созданы", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    form.ABReg->trigger();

    // A double click on a loop's body edits it; OK without changes leaves its bytes.
    const Bytes before = Table(0);
    modals.Then([](QDialog* d) {
        auto* c = static_cast<TFormCreatReg*>(d);
        EXPECT_EQ(c->LabCreatProg->text(), "программирование");
        EXPECT_FALSE(c->CBoxTReg->isEnabled());
        c->OKClick();
        return 2;
    });
    emit form.PanReg[1]->Body()->DblClick(form.PanReg[1]->Body());
    EXPECT_EQ(Table(0), before);
    EXPECT_EQ(Cfg().Reg.RegEdit.SelectedRow, 1);
    EXPECT_EQ(modals.Shown(), 2);
}

TEST_F(RegEditor, OnlineEntryAfterSelectAllAndItsRefusal) {
    DeviceLoops();
    device.Block(32)[28] = 0; // one loop
    form.InPortClick();
    boxes.Expect("Нет выделенных регуляторов", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone,
                 mrOk);
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

    // A zero span: refused, no frame sent.
    Cfg().MBA.SetChVSkText(0, 0, "0");
    device.ClearLog();
    boxes.Expect("проверить шкалы анал. вх. 1 мод 1", "Предупреждение", MsgButtons::OK, MsgIcon::Warning,
                 mrNone, mrOk);
    form.AOnLine->trigger();
    EXPECT_TRUE(device.Received().empty());

    // Copy: the flagged loop's record into the clipboard; a full table refuses the group.
    form.ACopyGroup->trigger();
    EXPECT_EQ(Cfg().Copy.NReg_Copy, 1);
    form.AAddGroup->trigger(); // one free row: fits, nothing shown
    Cfg().Reg.SetAnVh(1, 2);
    form.BuildRegScheme();
    boxes.Expect("количество вставляемых блоков превышает количество свободных", "Программатор ВЕГ-17",
                 MsgButtons::OK, MsgIcon::Information, mrNone, mrOk);
    form.AAddGroup->trigger();
}
