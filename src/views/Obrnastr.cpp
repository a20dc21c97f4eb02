#include "Obrnastr.h"

#include "DialogFrame.h"
#include "WindowOpening.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

TFormNastr::TFormNastr(std::function<ExchangeSettings()> current,
                       std::function<void(const ExchangeSettings&)> apply, QWidget* parent)
    : QDialog(parent), current_(std::move(current)), apply_(std::move(apply)) {
    setWindowTitle(QStringLiteral("Настройка обмена"));
    ComboPovt1 = new QComboBox(this);
    ComboPovt1->addItem(QStringLiteral("1"), 1);
    ComboPovt1->addItem(QStringLiteral("5"), 5);
    SpinPovt2 = new QSpinBox(this);
    SpinPovt2->setRange(0, 10);
    SpinDelay = new QSpinBox(this);
    SpinDelay->setRange(0, 1000);
    SpinDelay->setSuffix(QStringLiteral(" мс"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Повторы, первая ступень"), ComboPovt1);
    form->addRow(QStringLiteral("Повторы, вторая ступень"), SpinPovt2);
    form->addRow(QStringLiteral("Задержка передачи"), SpinDelay);
    LayOutSettings(this, form, &TFormNastr::OKButtonClick);
    FillFromPort();
}

void TFormNastr::FillFromPort() {
    const ExchangeSettings now = current_();
    ComboPovt1->setCurrentIndex(now.povt1 == 1 ? 0 : 1);
    SpinPovt2->setValue(now.povt2);
    SpinDelay->setValue(now.transmitDelay);
}

void TFormNastr::showEvent(QShowEvent* e) {
    if (IsOpening(e)) FillFromPort();
    QDialog::showEvent(e);
}

ExchangeSettings TFormNastr::Settings() const {
    return ExchangeSettings{ComboPovt1->currentData().toInt(), SpinPovt2->value(), SpinDelay->value()};
}

void TFormNastr::OKButtonClick() {
    apply_(Settings());
    accept();
}
