// The control-loop editor's window, the remaining cases: the write's pauses after a failed block,
// the device number taken anew after the first 'E', refused access, the progress steps, the
// shortcuts, cascades and ПЗ-fed loops through the dialog, and device records no loop can hold.
#include "Colors.h"
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

namespace {

// Record bytes: PV input, type code, output byte, output action.
void PutLoop(Bytes& block, int rec, int pv, int type, int out, int action = 0) {
    block[size_t(28 * rec)] = uint8_t(pv);
    block[size_t(28 * rec + 1)] = uint8_t(type);
    block[size_t(28 * rec + 2)] = uint8_t(out);
    block[size_t(28 * rec + 3)] = uint8_t(action);
}

class RegEditorCases : public RegEditor {
  protected:
    // Reads the device, then marks the tables edited.
    void ReadAndEdit() {
        DeviceLoops();
        form.InPortClick();
        Cfg().Reg.SetKPText(0, "2");
        Cfg().Reg.SetRegModified(1);
        device.ClearLog();
        clock.sleeps.clear();
    }
};

} // namespace

TEST_F(RegEditorCases, AFailedBlockIsFollowedBy50MsAfterItsAttempts) {
    struct Case {
        int block;
        std::vector<int> sleeps;
    };
    // Five attempts, 200 ms after each failed one, then the editor's 50 ms.
    const std::vector<int> attempts(5, 200);
    std::vector<int> at32{50}, at33{50, 300, 50};
    at32.insert(at32.end(), attempts.begin(), attempts.end());
    at33.insert(at33.end(), attempts.begin(), attempts.end());
    at32.push_back(50), at33.push_back(50);
    for (const Case& c : {Case{32, at32}, Case{33, at33}}) {
        ReadAndEdit();
        const Bytes read0 = Reserve(0), read1 = Reserve(1);
        const Bytes edited0 = Table(0);
        device.Faults().faults = {{FaultKind::Exception, 'E', c.block, -1, 4}};
        ExpectDeviceError("Отказ прибора.");
        form.OutPortClick();
        EXPECT_EQ(clock.sleeps, c.sleeps) << c.block;
        EXPECT_EQ(device.ReceivedOf('E').size(), size_t(c.block == 32 ? 5 : 6)) << c.block;
        EXPECT_EQ(Table(0), c.block == 32 ? read0 : edited0) << c.block;
        EXPECT_EQ(Table(1), read1) << c.block;
        device.Faults().faults.clear();
    }
}

TEST_F(RegEditorCases, TheDeviceNumberIsTakenAnewAfterTheFirstWriteOnly) {
    ReadAndEdit();
    // The written block gives the device address 7 (number 6): it answers there from then on.
    Cfg().Serv.SetDevAddr(6);
    device.Faults().alter = [this](const std::vector<uint8_t>& request, std::vector<uint8_t>&) {
        if (request[1] == 'E' && request[2] == 0x20) device.SetAddress(7);
        return false;
    };
    form.OutPortClick();
    const auto& frames = device.Received();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], Frame::Build(1, 'E', With(0x20, Table(0))));
    EXPECT_EQ(frames[1], Frame::Build(7, 0x0E, {}));
    EXPECT_EQ(frames[2], Frame::Build(7, 'E', With(0x21, Table(1))));
    EXPECT_EQ(frames[3], Frame::Build(7, 0x0E, {}));
    EXPECT_EQ(Cfg().Serv.DevNum, 6);
    EXPECT_EQ(device.Block(32), Table(0));
}

TEST_F(RegEditorCases, RefusedAccessProgressAndBusyPolls) {
    ReadAndEdit();
    Cfg().Veg.AccessLevel = 2;
    boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор", "Предупреждение",
                 MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    form.OutPortClick();
    EXPECT_TRUE(device.Received().empty());
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 0);

    // One step before the first 'E', then one after each; every busy poll byte by byte.
    Cfg().Veg.AccessLevel = 1;
    Cfg().Reg.SetRegModified(1);
    std::vector<int> steps;
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps.push_back(v); });
    device.Faults().busyPolls = 2;
    form.OutPortClick();
    EXPECT_EQ(steps, (std::vector<int>{0, 30, 60, 90}));
    EXPECT_EQ(form.ProgressBar1->maximum(), 120);
    EXPECT_TRUE(form.ProgressBar1->isHidden());
    const Bytes poll = Frame::Build(1, 0x0E, {});
    const std::vector<Bytes> expected{Frame::Build(1, 'E', With(0x20, Table(0))), poll, poll, poll,
                                      Frame::Build(1, 'E', With(0x21, Table(1))), poll, poll, poll};
    EXPECT_EQ(device.Received(), expected);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 300, 200, 200, 50, 300, 200, 200}));
}

TEST_F(RegEditorCases, ShortcutsWorkWhereTheirItemsAreHidden) {
    DeviceLoops();
    form.show(); // reads the device
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    RegEditState& st = Cfg().Reg.RegEdit;
    ASSERT_EQ(st.FrameCount, 2);
    EXPECT_EQ(device.ReceivedOf('D').size(), 2u);

    QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(st.Reg_Choose[0] + st.Reg_Choose[1], 2);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier); // its item is invisible
    EXPECT_EQ(Cfg().Copy.NReg_Copy, 2);
    boxes.Expect("количество вставляемых блоков превышает количество свободных", "Программатор ВЕГ-17",
                 MsgButtons::OK, MsgIcon::Information, mrNone, mrOk);
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); // no free row
    EXPECT_TRUE(boxes.Done());

    QTest::keyClick(&form, Qt::Key_Delete); // both frames
    EXPECT_EQ(st.FrameCount, 0);
    EXPECT_EQ(Table(0), Bytes(56, 0));

    device.ClearLog();
    QTest::keyClick(&form, Qt::Key_F10); // edited: no question
    EXPECT_EQ(device.Block(32), Bytes(56, 0));
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(device.ReceivedOf('D').size(), 2u);
    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier); // written: closes without a question
    EXPECT_FALSE(form.isVisible());
}

TEST_F(RegEditorCases, CascadeAndProgramFedLoopsThroughTheDialog) {
    struct Case {
        const char* name;
        std::function<void(TProgRegClass&)> loops;
        QString tip;
        int panels;
        std::array<uint8_t, 2> ap;
    };
    const auto loop = [](TProgRegClass& r, int rec, int pv, int type, int out) {
        r.SetAnVh(rec, pv), r.SetTReg(rec, 0, type), r.SetVyh(rec, out);
        r.SetKPText(rec, "1,5"), r.SetTiText(rec, "120"), r.SetOHText(rec, "100"), r.SetdSPText(rec, "25");
    };
    const Case cases[] = {
        {"cascade",
         [&](TProgRegClass& r) {
             loop(r, 0, 1, 1, 9); // outer loop → loop 2
             loop(r, 1, 2, 8, 1); // inner loop → DAC 2, reverse
             r.SetTypeOut(1, 1);
         },
         "каскадная схема",
         2,
         {0, 1}},
        {"ПЗ-fed",
         [&](TProgRegClass& r) {
             loop(r, 0, 2, 17, 0); // fed by ПЗ 2
             r.SetPZReg(1, 1);
             for (int k = 0; k < 6; ++k) {
                 r.SetPZTime(1, k, 10 * k + 5);
                 r.SetPZValue(1, k, k == 5 ? 16383 : -1000 * k - 1); // the span, and negatives
             }
         },
         "",
         1,
         {0, 0}},
    };
    for (const Case& c : cases) {
        TProgRegClass r;
        c.loops(r);
        for (int id : {32, 33}) {
            r.RecordsToBlock(id);
            for (int k = 0; k < 56; ++k)
                device.Block(id)[size_t(k)] = uint8_t(r.GetBufferByte(k));
        }
        form.InPortClick();
        ASSERT_EQ(Cfg().Reg.RegEdit.FrameCount, 1) << c.name;
        const Bytes before0 = Table(0), before1 = Table(1);
        Cfg().Reg.SetRegModified(0);

        // A double click on any of the frame's loop panels edits the frame's main loop; OK without
        // changes leaves every byte.
        const int lastPanel = c.panels == 2 ? 1 : 0;
        ScriptedModals modals;
        modals.Then([&](QDialog* d) {
            auto* r = static_cast<TFormCreatReg*>(d);
            EXPECT_EQ(r->EditNReg->text(), "1") << c.name;
            EXPECT_EQ(r->CBoxTReg->currentIndex(), c.panels == 2 ? 2 : 3) << c.name;
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

TEST_F(RegEditorCases, DeviceRecordsNoLoopCanHoldDrawAndAreRefusedOnline) {
    DeviceLoops();
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
        boxes.Expect("проверить шкалы анал. вх. ", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone,
                     mrOk);
        device.ClearLog();
        form.AOnLine->trigger();
        EXPECT_TRUE(device.Received().empty()) << f;
    }
    form.ChooseAllClick();
    form.DelChooseClick();
    EXPECT_EQ(st.FrameCount, 0);
}

TEST_F(RegEditorCases, RebuildsKeepTheNumberOfLiveWidgets) {
    DeviceLoops();
    PutLoop(device.Block(32), 0, 1, 1, 9); // a cascade: two panels, marks and a connector
    PutLoop(device.Block(32), 1, 2, 8, 1);
    form.InPortClick();
    const auto live = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.SchemeArea->findChildren<QWidget*>().size();
    };
    const qsizetype once = live();
    ASSERT_GT(once, 4);
    for (int r = 0; r < 3; ++r)
        form.BuildRegScheme();
    EXPECT_EQ(live(), once);
}

TEST_F(RegEditorCases, TheDrawnOutputCorrectionLeavesEmptyRecordsAndTheFlag) {
    DeviceLoops();
    Bytes& loops = device.Block(32);
    PutLoop(loops, 0, 0, 0, 3); // empty, with an output byte of its own
    PutLoop(loops, 1, 1, 1, 5); // drawn in row 0: drives DAC output 1
    form.InPortClick();
    EXPECT_EQ(Cfg().Reg.GetVyh(1), 0);
    EXPECT_EQ(Cfg().Reg.GetVyh(0), 3);
    EXPECT_EQ(form.RegMark[0]->Mark(), "вых ЦАП №1");
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 0);
}
