#include "NetRelayInput.h"
#include "PaintedTexts.h"
#include "ScriptedDialogs.h"
#include "ServInput.h"
#include "TProgVegClass.h"

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
    ServInput::ShowInputError(&edit, QStringLiteral("Величина вне диапазона 1 - 24"));
    SetMessageBoxHandler({});
    EXPECT_EQ(during, QColor(Qt::red));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::white));

    ScriptedMessageBoxes boxes;
    boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    ServInput::ShowInputError(nullptr);
}

// Result per key: 0 passes, 1 refused with the error box, 13 Enter accepted.
TEST(InputService, KeyFilters) {
    QLineEdit edit;
    const Filter digits = &ServInput::KeyFilterDigits;
    const Filter hex = &ServInput::KeyFilterHexDigits;
    const std::vector<std::tuple<int, Qt::KeyboardModifiers, int, int>> keys = {
        // key, modifiers, digits, hex
        {Qt::Key_0, Qt::NoModifier, 0, 0},         {Qt::Key_9, Qt::KeypadModifier, 0, 0},
        {Qt::Key_Backspace, Qt::NoModifier, 0, 0}, {Qt::Key_Left, Qt::NoModifier, 0, 0},
        {Qt::Key_V, Qt::ControlModifier, 0, 0},    {Qt::Key_Minus, Qt::NoModifier, 1, 1},
        {Qt::Key_Comma, Qt::NoModifier, 1, 1},     {Qt::Key_G, Qt::NoModifier, 1, 1},
        {Qt::Key_A, Qt::NoModifier, 1, 0},         {Qt::Key_F, Qt::NoModifier, 1, 0},
        {Qt::Key_Return, Qt::NoModifier, 1, 1}, // Enter in an empty control
    };
    for (const auto& [key, mods, d, h] : keys) {
        ExpectKey(digits, edit, Key(key, mods), d);
        ExpectKey(hex, edit, Key(key, mods), h);
    }
    edit.setText("12");
    ExpectKey(digits, edit, Key(Qt::Key_Return), 13);
    ExpectKey(hex, edit, Key(Qt::Key_Enter, Qt::KeypadModifier), 13);
    edit.setText(" ");
    ExpectKey(digits, edit, Key(Qt::Key_Return), 13);
    ExpectKey(hex, edit, Key(Qt::Key_Return), 1);

    const Filter shift = &ServInput::KeyFilterShiftDigit;
    ExpectKey(shift, edit, Key(Qt::Key_5, Qt::ShiftModifier), 1);
    ExpectKey(shift, edit, QKeyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 0, '1', 0, "!"), 1);
    ExpectKey(shift, edit, QKeyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::NoModifier, 0, '1', 0, "!"), 0);
    ExpectKey(shift, edit, Key(Qt::Key_5), 0);
    ExpectKey(shift, edit, Key(Qt::Key_A, Qt::ShiftModifier), 0);
}

TEST(InputService, ValueEditsShowTheErrorOnlyForBadText) {
    QLineEdit value("12,5"), net("-12,5"), input("17");
    {
        ScriptedMessageBoxes none;
        EXPECT_EQ(ServInput::CheckAnValueEdit(&value, 0), 0);
        EXPECT_EQ(NetRelayInput::CheckAnValueEdit(&net, 2), 0);
        EXPECT_EQ(NetRelayInput::CheckVhEdit(&input), 0);
    }
    value.setText("40000");
    net.setText("1,");
    input.setText("300");
    ScriptedMessageBoxes boxes;
    for (int k = 0; k < 3; ++k)
        boxes.Expect(Err, Caption, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    EXPECT_EQ(ServInput::CheckAnValueEdit(&value, 1), 1);
    EXPECT_EQ(NetRelayInput::CheckAnValueEdit(&net, 2), 1);
    EXPECT_EQ(NetRelayInput::CheckVhEdit(&input), 1);
}

TEST(InputService, CreateConfigurationQuestion) {
    TProgVegClass veg;
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Ваш уровень доступа не позволяет\nсоздавать конфигурацию"),
                     QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        EXPECT_FALSE(ServInput::AskCreateConfig(veg));
    }
    veg.AccessLevel = 1;
    for (int answer : {int(mrYes), int(mrNo)}) {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Конфигурация не задана. Будете создавать?"),
                     QStringLiteral("Подтвердите создание конфигурации"), MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
        EXPECT_EQ(ServInput::AskCreateConfig(veg), answer == mrYes);
    }
}

// The hint takes its message's size and shows just below its control, inside the window: moved
// left or up where the control sits near the window's right or bottom edge.
TEST(InputService, TheHintShowsItsWholeMessageBelowTheControlInsideTheWindow) {
    QWidget window;
    window.resize(300, 120);
    QLineEdit middle(&window), corner(&window);
    middle.setGeometry(20, 20, 60, 24);
    corner.setGeometry(250, 90, 45, 24);
    QLabel hint(QStringLiteral("ошибка"), &window);
    hint.hide();
    window.show();
    const QString text = QStringLiteral("Величина вне диапазона -32767 - 32767");
    ServInput::ShowInputErrorHint(&middle, &hint, text);
    EXPECT_EQ(hint.pos(), QPoint(25, 39));
    EXPECT_EQ(CutTexts(&hint, &window), QStringList());
    ServInput::ShowInputErrorHint(&corner, &hint, text);
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(CutTexts(&hint, &window), QStringList());
    EXPECT_EQ(hint.geometry().right(), window.width() - 1); // moved left as far as it must
    EXPECT_EQ(hint.geometry().bottom(), window.height() - 1);
}
