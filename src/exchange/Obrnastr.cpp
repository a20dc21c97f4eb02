#include "Obrnastr.h"

#include "Comportclass.h"
#include "DialogFrame.h"
#include "WindowOpening.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

TFormNastr::TFormNastr(TComPortClass& port, QWidget* parent) : QDialog(parent), port_(port) {
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
    ComboPovt1->setCurrentIndex(port_.GetPovt1() == 1 ? 0 : 1);
    SpinPovt2->setValue(port_.GetPovt2());
    SpinDelay->setValue(port_.GetTransmitDelay());
}

void TFormNastr::showEvent(QShowEvent* e) {
    if (IsOpening(e)) FillFromPort();
    QDialog::showEvent(e);
}

void TFormNastr::OKButtonClick() {
    port_.SetPovt1(ComboPovt1->currentData().toInt());
    port_.SetPovt2(SpinPovt2->value());
    port_.SetTransmitDelay(SpinDelay->value());
    accept();
}
