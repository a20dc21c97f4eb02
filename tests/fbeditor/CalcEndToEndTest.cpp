// Calculation blocks end to end against the devsim program over a pseudo-terminal: the editor
// opened from the discrete-signal editor reads the sample's integrators and arithmetic blocks,
// the user replaces the integrators, creates two blocks, deletes one in the overview, writes the
// table and reads the same overview back.

#include "FbPtySession.h"
#include "RadioGroup.h"
#include "SampleConfig.h"
#include "editors/fb/Prog_fb.h"
#include "editors/fb/Prog_fbcalc.h"
#include "editors/fb/Show_math.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

ScriptedModals::Handler Dialog(std::function<void(TFormFBCalc&)> fill) {
    return [=](QDialog* d) {
        auto& dlg = *static_cast<TFormFBCalc*>(d);
        fill(dlg);
        dlg.OK->click();
        return int(mrOk);
    };
}

// The overview's captions, read while it is open; then closed.
QStringList Overview(TFormFB& form, ScriptedModals& modals, std::function<void(TFormMath&)> act = {}) {
    QStringList captions;
    modals.Then([&](QDialog* d) {
        auto& math = *static_cast<TFormMath*>(d);
        if (act) act(math);
        for (QPushButton* b : math.Buttons)
            captions << b->text();
        return int(mrOk);
    });
    form.Button1->click();
    return captions.mid(0, 6);
}

void EditorSession(TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals& modals,
                   ScriptedMessageBoxes&) {
    TProgFBClass& fb = cfg.FB;
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_EQ((std::array{fb.LogicFBCount, fb.IntegratorCount, fb.ArithBlockCount}),
              (std::array{SampleConfig::FunctionBlocks, 2, SampleConfig::ArithBlocks}));
    EXPECT_EQ(Overview(form, modals), (QStringList{"+", "X", "SQRT", "", "", ""}));

    // The integrators emptied go; new ones come back in front of the blocks.
    modals.Then(Dialog([](TFormFBCalc& d) {
        for (QLineEdit* e : d.NumberEdits)
            e->setText("0");
    }));
    form.AProgInt->trigger();
    EXPECT_EQ(fb.IntegratorCount, 0);
    modals.Then(Dialog([](TFormFBCalc& d) {
        d.NumberEdits[0]->setText("5");
        d.HourBeginDay->setText("7");
    }));
    form.AIntegr->trigger();
    EXPECT_EQ(fb.IntegratorCount, 1);

    // Subtract with X2 the square root's result, divide with X1 that block's result.
    modals.Then(Dialog([](TFormFBCalc& d) {
        d.RadioGroup1->Button(2)->click();
        d.ComboBox1->setCurrentIndex(0);
        d.EditX1->setText("1");
        d.EditC1->setText("0,25");
        d.ComboBox2->setCurrentIndex(1);
        d.EditX2->setText("3");
        d.EditC2->setText("3");
    }));
    form.AMat->trigger();
    modals.Then(Dialog([](TFormFBCalc& d) {
        d.RadioGroup1->Button(4)->click();
        d.ComboBox1->setCurrentIndex(1);
        d.EditX1->setText("4");
        d.EditC1->setText("-1");
        d.ComboBox2->setCurrentIndex(0);
        d.EditX2->setText("2");
    }));
    form.AMat->trigger();
    ASSERT_EQ(fb.ArithBlockCount, 5);

    // Deleting the multiply block: the blocks behind it move down with their references.
    EXPECT_EQ(Overview(form, modals,
                       [](TFormMath& math) {
                           QTest::mouseClick(math.Buttons[1], Qt::RightButton);
                           math.DeleteBl->trigger();
                       }),
              (QStringList{"+", "SQRT", "-", ":", "", ""}));
    const int first = SampleConfig::FunctionBlocks + 2;
    EXPECT_EQ((std::array{fb.GetX2Num(first + 2), fb.GetX1NumCalc(first + 3), fb.GetCalcByte(first + 3, 2)}),
              (std::array{2, 3, 4}));

    ExpectWrittenAndReadBack(port, form, fb);
    EXPECT_EQ(Overview(form, modals), (QStringList{"+", "SQRT", "-", ":", "", ""}));
    form.close();
}

} // namespace

TEST(CalcEndToEnd, IntegratorsAndArithmeticBlocksWrittenAndReadBack) {
    RunFbEditorOverPty([](TConfiguration& cfg) { cfg.Serv.SetAnInCount(8); }, EditorSession);
}
