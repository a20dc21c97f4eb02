// Editing blocks end to end against the devsim program over a pseudo-terminal: the editor opened
// from the discrete-signal editor reads the device's scheme with its calculation records, the user
// creates, inserts, copies, appends and deletes blocks and sets signalling and a relay output,
// writes them, and reads back the same scheme.

#include "FbPtySession.h"
#include "SampleConfig.h"

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
    ASSERT_TRUE(ShowActive(form));
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_EQ(fb.EditorState.PanelCount, SampleConfig::FunctionBlocks);
    // The sample's calculation records behind the blocks: two integrators, its arithmetic blocks.
    ASSERT_EQ((std::array{fb.IntegratorCount, fb.ArithBlockCount}),
              (std::array{2, SampleConfig::ArithBlocks}));
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
    ExpectDeleteQuestion(boxes, mrYes);
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
