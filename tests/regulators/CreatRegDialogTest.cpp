// What the control-loop dialog window adds to its rules: captions, the user's kind choice, the
// hint at the refused field, the cancel flag, the file mode's mark, the PV input description and the key
// filters.
#include "EditorFixture.h"
#include "PaintedTexts.h"
#include "editors/regulators/Obrcreat_reg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class CreatRegDialog : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        Cfg().Serv.SetSlotModuleCode(1, 13);
        Cfg().Serv.SetAnInCount(4);
        Cfg().MBA.SetChNSkText(0, 2, "60");
        Cfg().MBA.SetChVSkText(0, 2, "100");
        Cfg().MBA.SetChRazm(0, 2, 1);
        Cfg().MBA.SetChPozText(0, 2, "PT-1");
    }
    // The editor's preparation of a new loop in row 0.
    void PrepareNew() {
        dlg.EditNReg->setText("1");
        dlg.EditAnVh->setText("00");
        dlg.CBoxTReg->setCurrentIndex(-1);
        dlg.show();
    }
    void Choose(int index) { emit dlg.CBoxTReg->activated(index); }

    TFormCreatReg dlg{parts.context};
};

QStringList Texts(const QWidget& w) {
    QStringList out;
    for (const QLabel* l : w.findChildren<QLabel*>())
        out << l->text();
    for (const QGroupBox* g : w.findChildren<QGroupBox*>())
        out << g->title();
    return out;
}

} // namespace

TEST_F(CreatRegDialog, CaptionsAndKindItems) {
    const QStringList texts = Texts(dlg);
    for (const char* t :
         {"Токовый выход №", "Тип  контура регулирования", "Tип выхода", "Регулятор №",
          "№ входа регулируемого            параметра", "Адрес ПЗ", "Ограничение выхода снизу OL, %",
          "Ограничение выхода сверху OH, %", "Безопасное значение выхода OSF, %", "Выход ЦАП №",
          "Адрес рег. внеш. контура ", "ПЗ №", "Адрес регулятора", "Интервал времени        реперной точки",
          "Задание регулятора       в реперной точкe", "№6",
          "Настройки одноконтур. рег.,   рег. внеш. контура или рег. с ПЗ",
          "Настройки регулятора внутреннего контура", "Настройки программного задатчика"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    QStringList items;
    for (int i = 0; i < dlg.CBoxTReg->count(); ++i)
        items << dlg.CBoxTReg->itemText(i);
    EXPECT_EQ(items,
              QStringList({"повторитель сигнала", "одноконтурный  регулятор", "каскадная схема", "", ""}));
    EXPECT_EQ(dlg.windowTitle(), "Программирование токового выхода");
}

TEST_F(CreatRegDialog, OnlyTheUsersChoiceFillsTheFields) {
    PrepareNew();
    dlg.CBoxTReg->setCurrentIndex(2); // as edit mode selects the kind
    EXPECT_EQ(dlg.EditAdOUT->text(), "0");
    EXPECT_FALSE(dlg.GBRegInt->isEnabled());
    Choose(2);
    EXPECT_TRUE(dlg.GBComp->isEnabled());
    EXPECT_TRUE(dlg.GBRegInt->isEnabled());
    EXPECT_FALSE(dlg.GBPZ->isEnabled());
    EXPECT_EQ(dlg.EditAdOUT->text(), "2");
    EXPECT_EQ(dlg.EditVhSP->text(), "1");
    EXPECT_EQ(dlg.EditKp1->text(), "1,0000");
    EXPECT_EQ(dlg.LabAdOUT->text(), "Регулятор внутр.       контура №");
    EXPECT_EQ(Cfg().Reg.GetRegModified(), 1);
    Choose(3);
    EXPECT_EQ(dlg.LabAdOUT->text(), "Выход ЦАП №");
    EXPECT_EQ(dlg.EditAdOUT->text(), "1");
    EXPECT_EQ(dlg.EditAReg->text(), "1");
    EXPECT_TRUE(dlg.GBPZ->isEnabled());
}

// A refusal's hint reads whole inside the dialog, also below a field near its right edge.
TEST_F(CreatRegDialog, RefusalHintsReadWholeInsideTheDialog) {
    Cfg().MBA.SetChVSkText(0, 2, "200");
    Cfg().MBA.SetChNSkText(0, 2, "0");
    PrepareNew();
    Choose(3); // fed by a program set point
    dlg.EditAnVh->setText("3");
    dlg.EditAnVhExit();
    dlg.EditVhPZ->setText("1");
    for (QLineEdit* e : dlg.IntervalEdits)
        e->setText("10");
    for (QLineEdit* e : dlg.ValueEdits)
        e->setText("100");
    dlg.ValueEdits[5]->setText("250"); // above the scale, in the field at the right edge
    // Kp is checked before the points.
    for (auto [kp, hint] :
         {std::pair{"0,09", "Величина вне диапазона 0,1 - 1000"}, {"1", "Величина вне диапазона 0 - 200"}}) {
        dlg.EditKp->setText(kp);
        dlg.OKClick();
        EXPECT_EQ(dlg.ErrorText->isVisible() ? dlg.ErrorText->text() : QString(), hint);
        EXPECT_EQ(CutTexts(dlg.ErrorText, &dlg), QStringList()) << kp;
    }
}

TEST_F(CreatRegDialog, ARefusalHintsAtItsFieldAndTheCloseBoxNeverStores) {
    Cfg().Serv.FileMode = 1; // an accepted OK marks the configuration
    PrepareNew();
    Choose(1);
    dlg.OKClick();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.ModalResult, 6);
    EXPECT_TRUE(dlg.ErrorText->isVisible());
    EXPECT_EQ(dlg.ErrorText->text(), " Ошибка ввода ");
    const QPoint edit = dlg.EditAnVh->mapTo(&dlg, QPoint());
    EXPECT_EQ(dlg.ErrorText->pos(),
              edit + QPoint(5, dlg.EditAnVh->height() - 5)); // below the edit in its group
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(dlg.ErrorText, &move);
    EXPECT_FALSE(dlg.ErrorText->isVisible());

    dlg.EditAnVh->setText("3");
    Cfg().Serv.Modified = 0;
    dlg.OKClick();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Cancelled, 0);
    EXPECT_EQ(dlg.result(), 2);
    EXPECT_EQ(Cfg().Serv.Modified, 1);

    // The next use closed by the close box cancels, even with fields that would pass.
    PrepareNew();
    Choose(1);
    dlg.EditAnVh->setText("3");
    EXPECT_EQ(dlg.Cancelled, 1);
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Cancelled, 1);

    // "Отмена" checks nothing.
    PrepareNew();
    dlg.EditAnVh->setText("");
    dlg.CancelClick();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Cancelled, 1);
}

TEST_F(CreatRegDialog, ThePvInputDescriptionAndScale) {
    PrepareNew();
    dlg.EditAnVh->setText("3");
    dlg.EditAnVhExit();
    EXPECT_EQ(dlg.LabInf1->text(), "позиция    НШК       ВШК        разм");
    EXPECT_EQ(dlg.LabInf->text(), Cfg().MBA.GetChPozText(0, 2) + "   60  100   " + Cfg().MBA.GetRazmName(1));
    EXPECT_EQ(dlg.Razm1->count(), 16);
    EXPECT_EQ(dlg.Razm1->currentIndex(), 1);
    EXPECT_EQ(Cfg().Reg.GetPVScaleLow(), 60);
    EXPECT_EQ(Cfg().Reg.GetPVScaleHigh(), 100);

    dlg.EditAnVh->setText("9"); // above the input count: left to the closing check
    dlg.EditAnVhExit();
    EXPECT_EQ(Cfg().Reg.GetPVScaleHigh(), 100);
    Cfg().Serv.SetAnInCount(6);
    dlg.EditAnVh->setText("5"); // a module's fifth place: no channel
    dlg.EditAnVhExit();
    EXPECT_EQ(dlg.LabInf->text(), "");
    EXPECT_EQ(Cfg().Reg.GetPVScaleHigh(), 0);

    dlg.EditAnVh1->setText("3"); // the inner loop stores no scale
    dlg.EditAnVh1Exit();
    EXPECT_EQ(dlg.LabInf2->text(), "позиция    НШК       ВШК        разм");
    EXPECT_EQ(Cfg().Reg.GetPVScaleHigh(), 0);
}

TEST_F(CreatRegDialog, KeyFilters) {
    PrepareNew();
    Choose(3);
    dlg.activateWindow();
    boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    QTest::keyClick(dlg.EditAnVh, Qt::Key_A); // digits only
    EXPECT_EQ(dlg.EditAnVh->text(), "00");
    boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    QTest::keyClick(dlg.EditKp, Qt::Key_1, Qt::ShiftModifier); // no shifted digit
    EXPECT_EQ(dlg.EditKp->text(), "1,0000");
    QTest::keyClick(dlg.ValueEdits[0], Qt::Key_Minus); // the set points are not filtered
    EXPECT_EQ(dlg.ValueEdits[0]->text(), "0-");
    EXPECT_TRUE(boxes.Done());
}
