#pragma once
// The input-error service of the data classes: it paints, beeps, filters keys and asks, so it
// lives apart from the model library, which names no widgets.

#include <QString>

class QKeyEvent;
class QLineEdit;
class QWidget;
class TProgVegClass;

namespace ServInput {

void ShowInputError(QWidget* control, const QString& text = QStringLiteral(" Ошибка ввода "));
void ShowInputErrorHint(QWidget* control, QWidget* hint,
                        const QString& text = QStringLiteral(" Ошибка ввода "));
// 0 the key passes, 13 Enter in a non-empty control, 1 refused (error shown).
int KeyFilterDigits(QWidget* control, const QKeyEvent* key);
// 1 (error shown) for a digit typed with Shift, else 0.
int KeyFilterShiftDigit(QWidget* control, const QKeyEvent* key);
int KeyFilterHexDigits(QWidget* control, const QKeyEvent* key);
// 1 when the edit's text is bad by TServClass::AnValueTextBad (error shown), else 0.
int CheckAnValueEdit(QLineEdit* edit, int kind);

// True at the full access level; otherwise shows the refusal "Ваш уровень доступа не
// позволяет" + line break + "производить передачу в прибор" (or "создавать конфигурацию")
// and gives false.
bool TransferAllowed(const TProgVegClass& veg, QWidget* parent);
bool CreateAllowed(const TProgVegClass& veg, QWidget* parent);
// The same for calibration: "производить калибровку".
bool CalibrationAllowed(const TProgVegClass& veg, QWidget* parent);
// Asks "Конфигурация не задана. Будете создавать?"; true when the user accepts. Refused
// without the full access level.
bool AskCreateConfig(const TProgVegClass& veg);

} // namespace ServInput
