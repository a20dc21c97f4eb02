#include "Obrsign_mb.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFormSig::TFormSig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Задание типа сигнализации"));
    LabNSig = new QLabel(this);
    LabelN = new QLabel(this);
    CBoxTipS = new QComboBox(this);
    CBoxTipS->addItems({QStringLiteral("нет"), QStringLiteral("предупредительная"),
                        QStringLiteral("аварийная"), QStringLiteral("индикация")});
    EditNTab = new QLineEdit(QStringLiteral("0"), this);
    EditNTab->setMaxLength(4);
    EditNTab->setValidator(new QIntValidator(-999, 9999, EditNTab));
    connect(CBoxTipS, &QComboBox::activated, this, &TFormSig::Changed);
    connect(EditNTab, &QLineEdit::textEdited, this, &TFormSig::Changed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormSig::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormSig::reject);

    auto* title = new QHBoxLayout;
    title->addWidget(LabNSig);
    title->addWidget(LabelN);
    title->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Тип сигнализации"), CBoxTipS);
    form->addRow(QStringLiteral("№ ячейки светового табло"), EditNTab);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TFormSig::SetCaptionText(const QString& text) {
    LabNSig->setText(text);
}

void TFormSig::SetBlockNumber(int number) {
    LabelN->setText(QString::number(number));
}

void TFormSig::SetCell(int cell) {
    savedCell_ = cell;
    EditNTab->setText(QString::number(cell));
}

int TFormSig::Cell() const {
    return EditNTab->text().toInt();
}

void TFormSig::SetType(int type) {
    savedType_ = type >= 0 && type < stCount ? type : stNone;
    CBoxTipS->setCurrentIndex(savedType_);
}

int TFormSig::Type() const {
    return std::max(CBoxTipS->currentIndex(), int(stNone));
}

void TFormSig::accept() {
    Cancelled = 0;
    QDialog::accept();
}

void TFormSig::reject() {
    Cancelled = 1;
    CBoxTipS->setCurrentIndex(savedType_);
    EditNTab->setText(QString::number(savedCell_));
    QDialog::reject();
}
