// Editing blocks end to end against the devsim program over a pseudo-terminal: the editor opened
// from the discrete-signal editor reads the device's scheme, the user creates, inserts, copies,
// appends and deletes blocks and sets signalling and a relay output, writes them, and reads back
// the same scheme.

#include "FbPtySession.h"
#include "FbRecords.h"
#include "FbTableEdit.h"
#include "RadioGroup.h"
#include "SampleConfig.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/fb/Prog_fb.h"
#include "panels/Panfb.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

namespace {

// The block dialog answered with an OR of discrete input `input` and block `block`.
ScriptedModals::Handler OrOf(int input, int block) {
    return [=](QDialog* d) {
        auto* dlg = static_cast<TFormCreatFB*>(d);
        dlg->RadioGroup1->Button(2)->click();
        dlg->TypeBoxes[0]->setCurrentIndex(1);
        dlg->EditVx1->setText(QString::number(input));
        dlg->TypeBoxes[1]->setCurrentIndex(1);
        dlg->SourceBoxes[1]->setCurrentIndex(1);
        dlg->EditVx2->setText(QString::number(block));
        dlg->OK->click();
        return 0;
    };
}

void EditorSession(TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals& modals,
                   ScriptedMessageBoxes& boxes) {
    TProgFBClass& fb = cfg.FB;
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_EQ(fb.EditorState.PanelCount, SampleConfig::FunctionBlocks);
    const auto down = [&](int i, Qt::MouseButton b, Qt::KeyboardModifiers m = {}) {
        form.PanFB1MouseDown(form.PanFB[i], b, m);
    };

    modals.Then(OrOf(3, 10));
    form.ABFunc->trigger(); // block 11
    down(1, Qt::RightButton);
    modals.Then(OrOf(4, 1));
    form.InsertBl->trigger(); // before block 2: 12 blocks
    ASSERT_EQ(fb.EditorState.PanelCount, 12);
    EXPECT_EQ(fb.GetInNum(11, 1), 11); // the created block follows block 10
    down(0, Qt::LeftButton);
    down(1, Qt::LeftButton, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); // blocks 13 and 14
    ASSERT_EQ(fb.EditorState.PanelCount, 14);
    EXPECT_EQ(fb.GetInNum(13, 1), 13); // the copy of block 2 takes the copy of block 1
    down(4, Qt::LeftButton);
    boxes.Expect("Удалить выделенные ФБ?", "Подтвердите удаление ", MsgButtons::YesNo, MsgIcon::Question,
                 mrNo, mrYes);
    QTest::keyClick(&form, Qt::Key_Delete);
    ASSERT_EQ(fb.EditorState.PanelCount, 13);

    down(0, Qt::LeftButton);
    modals.Then([](QDialog* d) {
        auto* sig = static_cast<TFormSig*>(d);
        sig->SetType(TFormSig::stAlarm);
        sig->SetCell(5);
        return 1;
    });
    form.ABSign->trigger();
    modals.Then([](QDialog* d) {
        static_cast<TFormVyh*>(d)->SetMask(0, 0x06);
        return TFormVyh::kAccepted;
    });
    form.ABVyh->trigger();
    // Ctrl+O and Ctrl+S open the dialogs of the selected block again.
    modals.Then([](QDialog* d) {
        EXPECT_EQ(static_cast<TFormVyh*>(d)->Mask(0), 0x06);
        return 0;
    });
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    modals.Then([](QDialog* d) {
        EXPECT_EQ(static_cast<TFormSig*>(d)->Cell(), 5);
        return 1;
    });
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(modals.Shown(), 7); // the editor itself and six dialogs
    EXPECT_EQ((std::array{fb.GetSigTipS(0), fb.GetSigNTabS(0), fb.GetB9Plus(0, 1)}), (std::array{2, 5, 6}));

    // The device's blocks 20..31 hold the records, and F9 shows the same scheme again.
    ExpectWrittenAndReadBack(port, form, fb);
    EXPECT_EQ(fb.EditorState.PanelCount, 13);
    EXPECT_NE(form.PanSign[0], nullptr);
    EXPECT_EQ(form.PanFB[12]->InputBox(1)->Text(), "ФБ12");
    form.close();
}

} // namespace

TEST(FbEditEndToEnd, CreateInsertCopyDeleteWriteAndReadBack) {
    RunFbEditorOverPty(
        [](TConfiguration& cfg) {
            cfg.Serv.SetSlotModuleCode(1, 15); // a controller with relays and 16 own inputs
            cfg.Serv.SetDiscrInCount(16);
        },
        EditorSession);
}

namespace {

// Algorithm a as its list, its name and the marks of the blocks it names.
std::tuple<std::vector<int>, QString, std::vector<int>> Algorithm(const TProgFBClass& fb, int a) {
    std::vector<int> list, marks;
    for (int j = 0; j < fb.FBCount && fb.AlgTable.GetEntry(a, j) != TProgFBClass::AlgEnd; ++j) {
        list.push_back(fb.AlgTable.GetEntry(a, j));
        marks.push_back(fb.AlgTable.GetMark(list.back() - 1));
    }
    return {list, fb.GetFbText(a), marks};
}

} // namespace

// "No" after a write returns to the blocks written and to the algorithms as they were then.
TEST(FbEditEndToEnd, NoAfterAWriteRestoresTheWrittenBlocksWithTheirAlgorithms) {
    RunFbEditorOverPty(
        [](TConfiguration& cfg) {
            TProgFBClass& fb = cfg.FB;
            for (int i = 0; i < 4; ++i)
                SetLogicRecord(fb, i, 1 + i, {{0, i + 1}});
            for (int a = 0; a < 2; ++a) {
                fb.AlgTable.SetEntry(a, 0, 2 * a + 1);
                fb.AlgTable.SetEntry(a, 1, 2 * a + 2);
                fb.SetFbText(a, QString("AB")[a]);
            }
            fb.AlgTable.SetCount(2);
            FbTable::RecomputeAlgMarks(fb);
        },
        [](TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals&,
           ScriptedMessageBoxes& boxes) {
            TProgFBClass& fb = cfg.FB;
            form.show();
            QApplication::setActiveWindow(&form);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
            const auto deleteFirst = [&] {
                QTest::mouseClick(form.PanFB[0], Qt::LeftButton);
                boxes.Expect("Удалить выделенные ФБ?", "Подтвердите удаление ", MsgButtons::YesNo,
                             MsgIcon::Question, mrNo, mrYes);
                QTest::keyClick(&form, Qt::Key_Delete);
            };
            deleteFirst();
            const auto a = Algorithm(fb, 0);
            const auto b = Algorithm(fb, 1);
            EXPECT_EQ(a, std::tuple(std::vector{1}, QString("A"), std::vector{1}));
            EXPECT_EQ(b, std::tuple(std::vector{2, 3}, QString("B"), std::vector{2, 255}));
            QTest::keyClick(&form, Qt::Key_F10);
            ASSERT_EQ(fb.FBModified, 0);
            const FbTableRecords written = Records(fb);
            deleteFirst();
            boxes.Expect("Данные были изменены. Передать в прибор?", "Подтвердите передачу данных",
                         MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrNo);
            QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
            EXPECT_FALSE(form.isVisible());
            EXPECT_EQ(Records(fb), written);
            ExpectDeviceHolds(port, written);
            EXPECT_EQ(fb.AlgTable.GetCount(), 2);
            EXPECT_EQ(Algorithm(fb, 0), a);
            EXPECT_EQ(Algorithm(fb, 1), b);
        });
}
