// The block dialog: what each type enables, the timer's alarm, the close checks, the key filters
// and the ways of closing.
#include "FbEditorFixture.h"

#include <QGroupBox>
#include <QToolButton>

namespace {

class CreatFbDialog : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        dlg.ResetInputRows();
        dlg.FillNew(1, true);
        dlg.show();
    }
    void ChooseType(int type) { dlg.RadioGroup1->Button(type - 1)->click(); }
    void ChooseTimer(int t) { dlg.RadioGroup2->Button(t)->click(); }
    // Presses OK; true when the dialog closed.
    bool PressOk() {
        dlg.OK->click();
        return !dlg.isVisible();
    }
    std::vector<bool> InputsEnabled() const {
        std::vector<bool> v;
        for (int j = 0; j < 4; ++j)
            v.push_back(dlg.NumberEdits[size_t(j)]->isEnabled() && dlg.TypeBoxes[size_t(j)]->isEnabled() &&
                        dlg.SourceBoxes[size_t(j)]->isEnabled());
        return v;
    }
    QStringList Pins() const {
        QStringList p;
        for (QLabel* l : dlg.LabRS)
            p << l->text();
        return p;
    }

    TFormCreatFB dlg{parts.context};
};

} // namespace

TEST_F(CreatFbDialog, EachTypeEnablesItsRowsGroupsAndPins) {
    EXPECT_EQ(dlg.windowTitle(), "Программирование функционального блока");
    EXPECT_EQ(dlg.RadioGroup1->Button(7)->text(), "\"СМР\" компаратор (4 вх)");
    EXPECT_EQ(InputsEnabled(), std::vector<bool>(4, false)); // no type chosen yet
    // The type, its inputs, the groups enabled (GBTimer, RadioGroup2, RadioGroup3, RadioGroup4, EditT,
    // GBComp, GBCount) and the pins.
    for (auto [type, inputs, groups, pins] : {
             std::tuple{1, 4, std::array<bool, 7>{}, QStringList{"", "", "", ""}},
             {4, 4, {}, {"", "", "", ""}},
             {5, 2, {}, {"", "", "", ""}},
             {6, 2, {true, true, false, true, true, false, false}, {"S", "R", "", ""}},
             {7, 4, {false, false, true, false, false, false, false}, {"S", "S", "R", "R"}},
             {8, 1, {true, false, false, true, true, true, false}, {"", "", "", ""}},
             {9, 4, {false, false, false, false, false, false, true}, {"ZV", "ZR", "S", "R"}},
             {2, 4, {}, {"", "", "", ""}},
         }) {
        // Values left from the type before are reset.
        dlg.EditVx1->setText("7");
        dlg.SourceBoxes[0]->setCurrentIndex(2);
        dlg.EditT->setText("55");
        ChooseType(type);
        std::vector<bool> enabled(4, false);
        std::fill_n(enabled.begin(), inputs, true);
        EXPECT_EQ(InputsEnabled(), enabled) << type;
        EXPECT_EQ((std::array{dlg.GBTimer->isEnabled(), dlg.RadioGroup2->isEnabled(),
                              dlg.RadioGroup3->isEnabled(), dlg.RadioGroup4->isEnabled(),
                              dlg.EditT->isEnabled(), dlg.GBComp->isEnabled(), dlg.GBCount->isEnabled()}),
                  groups)
            << type;
        EXPECT_EQ(dlg.EditLim->isEnabled(), type == 8);
        EXPECT_EQ(dlg.EditLimCount->isEnabled(), type == 9);
        EXPECT_FALSE(dlg.EditHour->isEnabled());
        EXPECT_EQ(Pins(), pins) << type;
        EXPECT_EQ((QStringList{dlg.EditVx1->text(), dlg.SourceBoxes[0]->currentText(),
                               dlg.TypeBoxes[0]->currentText(), dlg.EditT->text()}),
                  (QStringList{"0", "вход. диск. сигнал", "инверсный", "00"}));
    }
    EXPECT_EQ(Cfg().FB.FBModified, 1);
}

TEST_F(CreatFbDialog, AlarmTimerAndBack) {
    ChooseType(6);
    dlg.EditVx1->setText("5");
    ChooseTimer(5);
    EXPECT_EQ(InputsEnabled(), (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(dlg.EditHour->isEnabled() && dlg.EditMin->isEnabled() && dlg.EditSec->isEnabled());
    EXPECT_EQ(Pins(), (QStringList{"", "", "", ""}));
    EXPECT_EQ(dlg.EditVx1->text(), "5"); // input 1 is left as it was
    dlg.EditHour->setText("12");
    ChooseTimer(0);
    EXPECT_EQ(InputsEnabled(), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ((QStringList{dlg.EditVx1->text(), dlg.EditVx2->text(), dlg.EditHour->text()}),
              (QStringList{"0", "0", "00"}));
    EXPECT_FALSE(dlg.EditHour->isEnabled());
    EXPECT_EQ(Pins(), (QStringList{"S", "R", "", ""}));
}

TEST_F(CreatFbDialog, CloseChecksRefuseAndKeepTheDialogOpen) {
    EXPECT_FALSE(PressOk()); // no type chosen
    EXPECT_EQ(dlg.ErrorText->text(), " Ошибка ввода ");
    ChooseType(8);
    // The field, its text and the hint; no hint: accepted.
    for (auto [edit, text, hint] : {
             std::tuple{dlg.EditHour, "24", "Величина вне диапазона 0 - 23"},
             {dlg.EditHour, "23", ""},
             {dlg.EditMin, "", " Ошибка ввода "},
             {dlg.EditSec, "60", "Величина вне диапазона 0 - 59"},
             {dlg.EditVx1, "1a", " Ошибка ввода "}, // pasted letters
             {dlg.EditVx4, "", " Ошибка ввода "},
             {dlg.EditT, "", " Ошибка ввода "},
             {dlg.EditAnVh, "x", " Ошибка ввода "},
             {dlg.EditGist, "", " Ошибка ввода "},
             {dlg.EditLimCount, "", " Ошибка ввода "},
             {dlg.EditLim, "12,5", ""},
             {dlg.EditLim, "-12.5", ""},
             {dlg.EditLim, "-32767", ""},
             {dlg.EditLim, "32768", "Величина вне диапазона -32767 - 32767"},
             {dlg.EditLim, "1,2,3", "Величина вне диапазона -32767 - 32767"},
             {dlg.EditLim, "", "Величина вне диапазона -32767 - 32767"},
         }) {
        const QString before = edit->text();
        edit->setText(text);
        EXPECT_EQ(PressOk(), *hint == 0) << text;
        EXPECT_EQ(dlg.ErrorText->isVisible() ? dlg.ErrorText->text() : QString(), hint);
        EXPECT_EQ(CutTexts(dlg.ErrorText, &dlg), QStringList()) << text; // whole, inside the dialog
        EXPECT_EQ(dlg.Cancelled, 0);
        dlg.show();
        edit->setText(before);
    }
}

TEST_F(CreatFbDialog, CancelAndTheCloseBoxSkipTheChecks) {
    Cfg().Serv.FileMode = 1;
    ChooseType(6);
    dlg.EditHour->setText("99");
    dlg.Cancel->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Cancelled, 1);
    EXPECT_EQ(Cfg().Serv.Modified, 0);

    dlg.show();
    dlg.EditLimCount->setText("");
    dlg.reject(); // the close box
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Cancelled, TFormCreatFB::ClosedByBox);
    EXPECT_EQ(dlg.EditLimCount->text(), "00"); // the close step's hint and default

    dlg.show();
    dlg.EditHour->setText("1");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Cfg().Serv.Modified, 1); // file mode with a change
}

TEST_F(CreatFbDialog, KeyFiltersAndArchiving) {
    ChooseType(8);
    dlg.activateWindow();
    boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    QTest::keyClick(dlg.EditVx1, Qt::Key_A);
    EXPECT_EQ(dlg.EditVx1->text(), "0");
    boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    QTest::keyClick(dlg.EditLim, Qt::Key_1, Qt::ShiftModifier);
    QTest::keyClick(dlg.EditLim, Qt::Key_Minus);
    QTest::keyClick(dlg.EditLim, Qt::Key_Comma);
    EXPECT_EQ(dlg.EditLim->text(), "00-,");
    EXPECT_TRUE(boxes.Done());

    dlg.SBVkl->click();
    EXPECT_EQ(dlg.SBVkl->text(), "включено");
    dlg.SBVkl->click();
    EXPECT_EQ(dlg.SBVkl->text(), "отключено");
}
