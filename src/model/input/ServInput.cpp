// The input-error service of the data classes: it paints, beeps, filters keys and asks, so it
// lives apart from the model library, which links no widgets.
#include "ServInput.h"

#include "Dialogs.h"
#include "TProgVegClass.h"
#include "TServClass.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <algorithm>

namespace {

const QString ErrorCaption = QStringLiteral("Ошибка");

QString ControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    return control ? control->property("text").toString() : QString();
}

void PaintBase(QWidget* control, const QColor& color) {
    QPalette pal = control->palette();
    pal.setColor(QPalette::Base, color);
    control->setPalette(pal);
}

bool IsEditingKey(int key) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Insert:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return true;
    default:
        return false;
    }
}

bool IsDigitKey(int key) {
    return key >= Qt::Key_0 && key <= Qt::Key_9;
}

bool IsCtrlLetter(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z;
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The common part of the digit filters: `extra` admits further keys, `enterOk` judges the
// control's text when Enter is pressed.
int FilterKey(QWidget* control, const QKeyEvent* e, bool (*extra)(int), bool (*enterOk)(const QString&)) {
    if (e == nullptr) return 0;
    const int key = e->key();
    if (IsEnter(key)) {
        if (enterOk(ControlText(control))) return 13;
    } else if (IsDigitKey(key) || IsEditingKey(key) || IsCtrlLetter(e) || (extra && extra(key))) {
        return 0;
    }
    ServInput::ShowInputError(control);
    return 1;
}

} // namespace

namespace ServInput {

void ShowInputError(QWidget* control, const QString& text) {
    if (control) PaintBase(control, Qt::red);
    QApplication::beep();
    MessageBox(control, text, ErrorCaption, MsgButtons::OK, MsgIcon::Error);
    if (control) PaintBase(control, Qt::white);
}

void ShowInputErrorHint(QWidget* control, QWidget* hint, const QString& text) {
    QApplication::beep();
    if (hint == nullptr) return;
    if (auto* label = qobject_cast<QLabel*>(hint))
        label->setText(text);
    else
        hint->setProperty("text", text);
    hint->adjustSize(); // the whole message
    if (control) {
        // The control may sit in a group box while the hint belongs to the window.
        QWidget* area = hint->parentWidget();
        const QPoint at = area && control->parentWidget() != area
                              ? area->mapFromGlobal(control->mapToGlobal(QPoint()))
                              : control->pos();
        QPoint below(at.x() + 5, at.y() + control->height() - 5);
        // Near the window's right or bottom edge the hint moves left or up to stay inside it.
        if (area) {
            below.setX(std::clamp(below.x(), 0, std::max(0, area->width() - hint->width())));
            below.setY(std::clamp(below.y(), 0, std::max(0, area->height() - hint->height())));
        }
        hint->move(below);
    }
    hint->show();
    hint->raise();
}

int KeyFilterDigits(QWidget* control, const QKeyEvent* key) {
    return FilterKey(control, key, nullptr, [](const QString& t) { return !t.isEmpty(); });
}

// With Shift a digit key usually reports its symbol ("!" for 1); the native virtual key
// (Windows) still names the digit.
int KeyFilterShiftDigit(QWidget* control, const QKeyEvent* key) {
    if (key == nullptr || !(key->modifiers() & Qt::ShiftModifier)) return 0;
    const quint32 vk = key->nativeVirtualKey();
    if (IsDigitKey(key->key()) || (vk >= '0' && vk <= '9')) {
        ShowInputError(control);
        return 1;
    }
    return 0;
}

int KeyFilterHexDigits(QWidget* control, const QKeyEvent* key) {
    return FilterKey(
        control, key, [](int k) { return k >= Qt::Key_A && k <= Qt::Key_F; },
        [](const QString& t) { return !t.isEmpty() && t != QLatin1String(" "); });
}

int CheckAnValueEdit(QLineEdit* edit, int kind) {
    if (edit == nullptr || !TServClass::AnValueTextBad(edit->text(), kind)) return 0;
    ShowInputError(edit);
    return 1;
}

namespace {
bool AccessAllowed(int level, QWidget* parent, const char* action) {
    if (level == 1) return true;
    MessageBox(parent, QStringLiteral("Ваш уровень доступа не позволяет\n") + QString::fromUtf8(action),
               QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
    return false;
}
} // namespace

bool TransferAllowed(const TProgVegClass& veg, QWidget* parent) {
    return AccessAllowed(veg.AccessLevel, parent, "производить передачу в прибор");
}

bool CalibrationAllowed(const TProgVegClass& veg, QWidget* parent) {
    return AccessAllowed(veg.AccessLevel, parent, "производить калибровку");
}

bool CreateAllowed(const TProgVegClass& veg, QWidget* parent) {
    return AccessAllowed(veg.AccessLevel, parent, "создавать конфигурацию");
}

bool AskCreateConfig(const TProgVegClass& veg) {
    if (!CreateAllowed(veg, nullptr)) return false;
    return MessageBox(nullptr, QStringLiteral("Конфигурация не задана. Будете создавать?"),
                      QStringLiteral("Подтвердите создание конфигурации"), MsgButtons::YesNo,
                      MsgIcon::Question, mrNo) == mrYes;
}

} // namespace ServInput
