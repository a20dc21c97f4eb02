#include "ScriptedDialogs.h"
#include "TProgMBMClass.h"
#include "TProgMRClass.h"
#include "TProgVegClass.h"
#include "TServClass.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {

const QString Err = QStringLiteral(" Ошибка ввода ");
const QString Caption = QStringLiteral("Ошибка");

QKeyEvent Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyPress, key, mods);
}

using Filter = int (*)(QWidget*, const QKeyEvent*);

// Runs the filter on one key and checks its result and whether the error box came up.
void ExpectKey(Filter filter, QLineEdit& edit, const QKeyEvent& key, int result) {
    ScriptedMessageBoxes boxes;
    if (result == 1) boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    EXPECT_EQ(filter(&edit, &key), result) << key.key() << " text '" << edit.text().toStdString() << "'";
}

} // namespace

TEST(InputService, ShowInputErrorPaintsRedWhileTheBoxIsUp) {
    QLineEdit edit;
    QColor during;
    SetMessageBoxHandler([&](QWidget* parent, const MessageBoxRequest& r) {
        EXPECT_EQ(parent, &edit);
        EXPECT_EQ(r.text, QStringLiteral("Величина вне диапазона 1 - 24"));
        EXPECT_EQ(r.caption, Caption);
        during = edit.palette().color(QPalette::Base);
        return int(mrOk);
    });
    TServClass::ShowInputError(&edit, QStringLiteral("Величина вне диапазона 1 - 24"));
    SetMessageBoxHandler({});
    EXPECT_EQ(during, QColor(Qt::red));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::white));

    ScriptedMessageBoxes boxes;
    boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    TServClass::ShowInputError(nullptr);
}

TEST(InputService, HintGoesJustBelowTheControl) {
    QWidget form;
    QLineEdit edit(&form);
    edit.setGeometry(40, 30, 100, 21);
    QLabel hint(&form);
    hint.hide();
    TServClass::ShowInputErrorHint(&edit, &hint);
    EXPECT_EQ(hint.text(), Err);
    EXPECT_EQ(hint.pos(), QPoint(45, 30 + 21 - 5));
    EXPECT_FALSE(hint.isHidden());
    TServClass::ShowInputErrorHint(&edit, &hint, QStringLiteral("Величина вне диапазона 0 - 23"));
    EXPECT_EQ(hint.text(), QStringLiteral("Величина вне диапазона 0 - 23"));
    TServClass::ShowInputErrorHint(&edit, nullptr); // only beeps
}

TEST(InputService, DigitAndHexKeyFilters) {
    QLineEdit edit;
    const Filter digits = &TServClass::KeyFilterDigits;
    const Filter hex = &TServClass::KeyFilterHexDigits;
    for (Filter f : {digits, hex}) {
        edit.setText("");
        ExpectKey(f, edit, Key(Qt::Key_0), 0);
        ExpectKey(f, edit, Key(Qt::Key_9, Qt::KeypadModifier), 0);
        ExpectKey(f, edit, Key(Qt::Key_Backspace), 0);
        ExpectKey(f, edit, Key(Qt::Key_Delete), 0);
        ExpectKey(f, edit, Key(Qt::Key_Left), 0);
        ExpectKey(f, edit, Key(Qt::Key_V, Qt::ControlModifier), 0);
        ExpectKey(f, edit, Key(Qt::Key_Minus), 1);
        ExpectKey(f, edit, Key(Qt::Key_Comma), 1);
        ExpectKey(f, edit, Key(Qt::Key_G), 1);
        ExpectKey(f, edit, Key(Qt::Key_Return), 1); // Enter in an empty control
        edit.setText("12");
        ExpectKey(f, edit, Key(Qt::Key_Return), 13);
        ExpectKey(f, edit, Key(Qt::Key_Enter, Qt::KeypadModifier), 13);
    }
    ExpectKey(digits, edit, Key(Qt::Key_A), 1);
    ExpectKey(hex, edit, Key(Qt::Key_A), 0);
    ExpectKey(hex, edit, Key(Qt::Key_F), 0);
    edit.setText(" ");
    ExpectKey(digits, edit, Key(Qt::Key_Return), 13);
    ExpectKey(hex, edit, Key(Qt::Key_Return), 1);
}

TEST(InputService, ShiftDigitFilter) {
    QLineEdit edit;
    const Filter f = &TServClass::KeyFilterShiftDigit;
    ExpectKey(f, edit, Key(Qt::Key_5, Qt::ShiftModifier), 1);
    ExpectKey(f, edit, QKeyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 0, '1', 0, "!"), 1);
    ExpectKey(f, edit, QKeyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::NoModifier, 0, '1', 0, "!"), 0);
    ExpectKey(f, edit, Key(Qt::Key_5), 0);
    ExpectKey(f, edit, Key(Qt::Key_Comma), 0);
    ExpectKey(f, edit, Key(Qt::Key_A, Qt::ShiftModifier), 0);
}

TEST(InputService, AnalogueValueEdit) {
    QLineEdit edit("12,5");
    {
        ScriptedMessageBoxes none;
        EXPECT_EQ(TServClass::CheckAnValueEdit(&edit, 0), 0);
    }
    edit.setText("40000");
    ScriptedMessageBoxes boxes;
    boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    EXPECT_EQ(TServClass::CheckAnValueEdit(&edit, 1), 1);
}

TEST(InputService, NetworkValueAndRelayInputEdits) {
    QLineEdit value("-12,5");
    QLineEdit input("17");
    {
        ScriptedMessageBoxes none;
        EXPECT_EQ(TProgMBMClass::CheckAnValueEdit(&value, 2), 0);
        EXPECT_EQ(TProgMRClass::CheckVhEdit(&input), 0);
    }
    value.setText("1,");
    input.setText("300");
    ScriptedMessageBoxes boxes;
    boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk)
        .Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    EXPECT_EQ(TProgMBMClass::CheckAnValueEdit(&value, 2), 1);
    EXPECT_EQ(TProgMRClass::CheckVhEdit(&input), 1);
}

TEST(InputService, CreateConfigurationQuestion) {
    TProgVegClass veg;
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Ваш уровень доступа не позволяет\nсоздавать конфигурацию"),
                     QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        EXPECT_FALSE(veg.AskCreateConfig());
    }
    veg.AccessLevel = 1;
    for (int answer : {int(mrYes), int(mrNo)}) {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Конфигурация не задана. Будете создавать?"),
                     QStringLiteral("Подтвердите создание конфигурации"), MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
        EXPECT_EQ(veg.AskCreateConfig(), answer == mrYes);
    }
}
