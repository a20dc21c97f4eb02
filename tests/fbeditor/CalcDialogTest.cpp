// The calculation-block dialog and the math-block overview in the function-block editor: the
// menus, the refusals, creating and editing through the dialog, its checks, and deleting blocks
// in the overview.

#include "FbEditorFixture.h"
#include "editors/fb/Prog_fbcalc.h"
#include "editors/fb/Show_math.h"

#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

class CalcDialog : public FbEditorFixture {
  protected:
    void SetUp() override {
        FbEditorFixture::SetUp();
        Cfg().Serv.SetAnInCount(20);
    }
    TFormFBCalc& Dlg() { return *Form().FormFBCalc; }
    TFormMath& Math() { return *Form().FormMath; }
    // Logic blocks 0..n-1, the table recounted.
    void Logic(int n) {
        for (int i = 0; i < n; ++i)
            SetBlock(i, 1);
        FB().RecountTable();
    }
    // Queues the dialog's next showing: the handler fills it and closes it, or leaves it open.
    void Answer(std::function<void(TFormFBCalc&)> fill) {
        modals.Then([=](QDialog* d) {
            auto& dlg = *static_cast<TFormFBCalc*>(d);
            dlg.show(); // laid out as the user sees it
            fill(dlg);
            return dlg.Cancelled == 0 ? int(mrOk) : int(mrCancel);
        });
    }
    void OnDialog(QAction* action, std::function<void(TFormFBCalc&)> fill) {
        Answer(fill);
        action->trigger();
    }
    void Refused(QAction* action, const QString& text) {
        ExpectWarning(text);
        action->trigger();
    }
    void Kind(TFormFBCalc& d, int item) { d.RadioGroup1->Button(item)->click(); }
    // An arithmetic block through the dialog: operation, X1 and X2 (source, number), C1, C2.
    void CreateArith(int op, int x1Src, int x1, int x2Src, int x2, QString c1 = "1", QString c2 = "1") {
        OnDialog(Form().AMat, [=, this](TFormFBCalc& d) {
            Kind(d, op);
            d.ComboBox1->setCurrentIndex(x1Src);
            d.EditX1->setText(QString::number(x1));
            d.EditC1->setText(c1);
            d.ComboBox2->setCurrentIndex(x2Src);
            d.EditX2->setText(QString::number(x2));
            if (d.EditC2->isEnabled()) d.EditC2->setText(c2);
            d.OK->click();
        });
    }
};

} // namespace

TEST_F(CalcDialog, MenusCarryTheFourActionsAndRefusalsPointToThem) {
    QMap<QString, QList<QAction*>> menus;
    for (QAction* a : Form().MainMenu1->actions())
        if (a->menu()) menus[a->text()] = a->menu()->actions();
    EXPECT_EQ(menus["Создание"], (QList<QAction*>{Form().AIntegr, Form().AMat}));
    EXPECT_EQ(menus["Программирование"], (QList<QAction*>{Form().AProgInt, Form().AProgMat}));
    EXPECT_EQ(Form().AIntegr->text(), "Создать интегратор расхода");
    EXPECT_EQ(Form().AProgMat->text(), "Редактировать арифметический блок");

    Logic(3);
    Refused(Form().AProgInt, "Интеграторы расхода не созданы.\nВоспользуйтесь меню Создание");
    Refused(Form().AProgMat, "Арифметические блоки не созданы.\nВоспользуйтесь меню Создание");
    // The hidden button runs the action last set.
    ExpectWarning("Арифметические блоки не созданы.\nВоспользуйтесь меню Создание");
    Form().ButProgCalc->click();

    // A full table comes before "already created".
    FB().FBCount = 60;
    Logic(58);
    FB().SetTypeByte(58, TProgFBClass::TypeCalc);
    FB().SetIntegrNum(58, 0, 1);
    FB().RecountTable();
    Refused(Form().AIntegr, "Все функциональные блоки созданы");
    FB().FBCount = TProgFBClass::FBCapacity;
    Refused(Form().AIntegr, "Интеграторы расхода уже созданы.\nВоспользуйтесь меню Программирование");
    EXPECT_EQ(modals.Shown(), 0);
}

TEST_F(CalcDialog, IntegratorsAndArithmeticBlocksThroughTheDialog) {
    Logic(2);
    CreateArith(1, 0, 5, 0, 6, "2,5", "1");
    EXPECT_EQ((QStringList{Dlg().EditNFB3->text(), Dlg().EditY->text(), Dlg().LabCreatProg->text()}),
              (QStringList{"3", "1", "создание арифметических блоков"}));
    CreateArith(3, 1, 1, 0, 2);
    EXPECT_EQ(FB().GetRecord(2), (FbRecord{0x1C, 5, 0x00, 0x50, 0x02, 6, 0x00, 0x40, 0x01, 1}));

    // Integrators go in front of the blocks; Edit1 "00" still opens Edit2.
    OnDialog(Form().AIntegr, [](TFormFBCalc& d) {
        EXPECT_EQ(d.Kind(), 0);
        EXPECT_FALSE(d.NumberEdits[1]->isEnabled());
        d.NumberEdits[0]->setText("00");
        d.Edit1Exit(d.NumberEdits[0]);
        EXPECT_TRUE(d.NumberEdits[1]->isEnabled());
        d.NumberEdits[0]->setText("7");
        d.NumberEdits[11]->setText("8");
        d.Edit1Exit(d.NumberEdits[11]);
        EXPECT_EQ(d.EditNFB2->text(), "4");
        EXPECT_TRUE(d.NumberEdits[12]->isEnabled());
        d.NumberEdits[12]->setText("9");
        d.HourBeginDay->setText("6");
        d.OK->click();
    });
    EXPECT_EQ(FB().GetRecord(2), (FbRecord{0x0C, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 6}));
    EXPECT_EQ(FB().GetRecord(3), (FbRecord{0x0C, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 6}));

    // Editing shows the stored integrators, C1 with its comma; the close box stores nothing.
    OnDialog(Form().AProgInt, [](TFormFBCalc& d) {
        EXPECT_EQ(std::pair(d.NumberEdits[12]->text(), d.HourBeginDay->text()),
                  std::pair(QString("9"), QString("6")));
        EXPECT_TRUE(d.NumberEdits[13]->isEnabled() && !d.NumberEdits[14]->isEnabled());
        d.NumberEdits[0]->setText("1");
        d.reject();
    });
    OnDialog(Form().AProgMat, [](TFormFBCalc& d) {
        EXPECT_EQ((QStringList{d.EditC1->text(), d.EditNFB3->text(), d.LabNFB3->text()}),
                  (QStringList{"2,5", "5", "1"}));
    });
    EXPECT_EQ(FB().GetRecByte(2, 1), 7);
    EXPECT_EQ(Dlg().Cancelled, 1);
}

TEST_F(CalcDialog, ChecksKeepTheDialogOpenWithTheirTexts) {
    Logic(2);
    CreateArith(2, 0, 1, 0, 1);
    // The kind (-1: none), the field, the source of both source boxes, the text and the error.
    for (auto [kind, edit, source, text, error] : {
             std::tuple{-1, &TFormFBCalc::EditC1, 0, "1", " Ошибка ввода "}, // no operation chosen
             {1, &TFormFBCalc::EditC1, 0, "40000", "Величина вне диапазона -32767 - 32767"},
             {1, &TFormFBCalc::EditX1, 1, "2", "Величина вне диапазона 0 - 1"},
             {4, &TFormFBCalc::EditX2, 0, "21", "Величина вне диапазона 0 - 20"},
         }) {
        OnDialog(Form().AMat, [&](TFormFBCalc& d) {
            if (kind >= 0) Kind(d, kind);
            d.ComboBox1->setCurrentIndex(source);
            d.ComboBox2->setCurrentIndex(source);
            (d.*edit)->setText(text);
            d.OK->click();
            EXPECT_EQ(d.ErrorText->isHidden() ? QString() : d.ErrorText->text(), error);
            EXPECT_EQ(CutTexts(d.ErrorText, &d), QStringList()) << text; // whole, inside the dialog
            d.Cancel->click();
        });
    }
    EXPECT_EQ(FB().ArithBlockCount, 1);

    // Leaving X2 checks it by its own source box.
    OnDialog(Form().AMat, [this](TFormFBCalc& d) {
        Kind(d, 1);
        d.ComboBox1->setCurrentIndex(0);
        d.ComboBox2->setCurrentIndex(1);
        d.EditX2->setText("5");
        d.Edit1Exit(d.EditX2);
        EXPECT_EQ(d.ErrorText->text(), "Величина вне диапазона 0 - 1");
        d.NumberEdits[0]->setText("");
        d.Cancel->click();
    });

    OnDialog(Form().AIntegr, [](TFormFBCalc& d) {
        d.NumberEdits[0]->setText("3");
        d.HourBeginDay->setText("24");
        d.OK->click();
        EXPECT_EQ(d.ErrorText->text(), "Величина вне диапазона 0 - 23");
        EXPECT_EQ(CutTexts(d.ErrorText, &d), QStringList());
        d.NumberEdits[0]->setText("21");
        d.HourBeginDay->setText("23");
        d.OK->click();
        EXPECT_EQ(d.ErrorText->text(), " Ошибка ввода "); // above the analogue input count
        d.Cancel->click();
    });
    EXPECT_EQ(FB().IntegratorCount, 0);
}

TEST_F(CalcDialog, UpDownStepsOverTheBlocksAndActionsKeepTheirKinds) {
    Logic(2);
    CreateArith(1, 0, 1, 0, 2);
    CreateArith(3, 0, 3, 0, 4);
    CreateArith(5, 0, 5, 0, 0);
    FB().SetTypeByte(4, TProgFBClass::TypeCalc | 9 << 4); // block 3 with a nibble from elsewhere
    const auto before = FB().GetRecord(3);
    OnDialog(Form().AProgMat, [](TFormFBCalc& d) {
        EXPECT_TRUE(d.UpDown1->isEnabled());
        d.UpDown1->triggerAction(QAbstractSlider::SliderSingleStepSub); // already at the first block
        EXPECT_EQ(d.EditNFB3->text(), "3");
        d.UpDown1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ((QStringList{d.EditNFB3->text(), d.LabNFB3->text(), d.EditX1->text(), d.EditC2->text(),
                               d.EditY->text()}),
                  (QStringList{"4", "2", "3", "", "2"}));
        EXPECT_EQ(std::pair(d.Kind(), d.UpDown1->maximum()), std::pair(3, 5));
    });
    ExpectWarning("Для создания арифметического блока \nвоспользуйтесь меню Создание");
    OnDialog(Form().AProgMat, [](TFormFBCalc& d) {
        d.UpDown1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        d.UpDown1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    });
    EXPECT_EQ(Dlg().Cancelled, 1);
    EXPECT_EQ(FB().GetRecord(3), before);

    FB().SetTypeByte(2, TProgFBClass::TypeCalc | 7 << 4); // a nibble from elsewhere: no kind
    OnDialog(Form().AProgMat, [this](TFormFBCalc& d) {
        EXPECT_EQ(d.Kind(), -1);
        Kind(d, 0);
        EXPECT_EQ(d.Kind(), -1);
        Kind(d, 3);
        EXPECT_FALSE(d.EditC2->isEnabled());
        QTest::keyClicks(d.EditX1, "4a,5");
        EXPECT_EQ(d.EditX1->text(), "145");
        d.Cancel->click();
    });
    OnDialog(Form().AIntegr, [this](TFormFBCalc& d) {
        Kind(d, 3);
        EXPECT_EQ(d.Kind(), 0);
        d.HourBeginDay->clear();
        QTest::keyClicks(d.HourBeginDay, "1x2");
        EXPECT_EQ(d.HourBeginDay->text(), "12");
        d.Cancel->click();
    });
    OnDialog(Form().AMat, [this](TFormFBCalc& d) {
        Kind(d, 0);
        EXPECT_EQ(d.Kind(), 1);
        d.Cancel->click();
    });
    EXPECT_EQ(FB().GetRecByte(2, 0), 0x7C);
    EXPECT_EQ(CalcBlocks::OverviewCaptions(FB())[0], ""); // and no caption
}

TEST_F(CalcDialog, OverviewEditsAndDeletesBlocks) {
    Logic(2);
    SetBlock(0, TProgFBClass::TypeComparator);
    FB().RecountTable();
    CreateArith(1, 0, 1, 0, 2);
    CreateArith(4, 1, 1, 0, 4);
    CreateArith(5, 1, 2, 0, 0);
    FB().FBModified = 0;
    Cfg().Serv.FileMode = 1;
    QSignalSpy rebuilds(&Form(), &TFormFB::SchemeRemoved);

    const auto captions = [this] {
        QStringList c;
        for (QPushButton* b : Math().Buttons)
            c << b->text();
        return c.mid(0, 4);
    };
    modals.Then([&](QDialog*) {
        EXPECT_EQ(captions(), (QStringList{"+", ":", "SQRT", ""}));
        EXPECT_EQ(FB().MathMenuBlock, -1);
        Math().DeleteBl->trigger(); // nothing chosen yet
        Math().Button1Click(3);     // an empty slot opens nothing
        // Block 2 edited from its button: the number is fixed, the caption follows.
        Answer([](TFormFBCalc& d) {
            EXPECT_EQ(d.EditNFB3->text(), "4");
            EXPECT_FALSE(d.EditNFB3->isEnabled());
            d.RadioGroup1->Button(3)->click();
            d.OK->click();
        });
        Math().Buttons[1]->click();
        EXPECT_EQ(captions(), (QStringList{"+", "X", "SQRT", ""}));
        EXPECT_EQ(FB().CalcBlockIndex, -1);

        Cfg().Serv.Modified = 0;
        Math().Button1MouseDown(0, Qt::RightButton);
        Math().DeleteBl->trigger();
        EXPECT_EQ(captions(), (QStringList{"X", "SQRT", "", ""}));
        EXPECT_EQ(FB().MathMenuBlock, -1);
        Math().DeleteBl->trigger(); // a stale Ctrl+Del
        EXPECT_EQ(FB().ArithBlockCount, 2);
        return int(mrOk);
    });
    Form().Button1->click();
    EXPECT_EQ((std::array{FB().FBModified, Cfg().Serv.Modified}), (std::array{1, 1}));
    EXPECT_EQ(rebuilds.count(), 1);
    EXPECT_EQ(Math().SchemeChanged, 0);
}
