#include "Obrport.h"

#include "Comportclass.h"
#include "DialogFrame.h"
#include "Dialogs.h"
#include "WindowOpening.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSerialPortInfo>

namespace {

void SelectData(QComboBox* box, const QVariant& value) {
    const int i = box->findData(value);
    if (i >= 0) box->setCurrentIndex(i);
}

} // namespace

TFormPort::TFormPort(TComPortClass& port, QWidget* parent) : QDialog(parent), port_(port) {
    setWindowTitle(QStringLiteral("Настройка COM-порта"));
    ComboPort = new QComboBox(this);
    // Any device name can be typed; the list holds the enumerated ports only. No completion: a
    // selected name would otherwise be taken for a completion, and Enter would swap it for a
    // listed port instead of confirming.
    ComboPort->setEditable(true);
    ComboPort->setInsertPolicy(QComboBox::NoInsert);
    ComboPort->setCompleter(nullptr);
    ComboSpeed = new QComboBox(this);
    for (int baud : {9600, 19200, 57600, 115200})
        ComboSpeed->addItem(QString::number(baud), baud);
    ComboParity = new QComboBox(this);
    ComboParity->addItem(QStringLiteral("Нет"), int(LinkParity::None));
    ComboParity->addItem(QStringLiteral("Чет"), int(LinkParity::Even));
    ComboParity->addItem(QStringLiteral("Нечет"), int(LinkParity::Odd));
    ComboStop = new QComboBox(this);
    ComboStop->addItem(QStringLiteral("1"), 1);
    ComboStop->addItem(QStringLiteral("2"), 2);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Порт"), ComboPort);
    form->addRow(QStringLiteral("Скорость"), ComboSpeed);
    form->addRow(QStringLiteral("Четность"), ComboParity);
    form->addRow(QStringLiteral("Стоп-биты"), ComboStop);
    LayOutSettings(this, form, &TFormPort::OKButtonClick);
    FillFromPort();
}

void TFormPort::FillFromPort() {
    const QString typed = ComboPort->currentText();
    ComboPort->clear();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ComboPort->addItem(info.portName());
    ComboPort->setCurrentText(typed.isEmpty() ? port_.GetPortName() : typed);
    SelectData(ComboSpeed, port_.GetSpeed());
    SelectData(ComboParity, int(port_.GetParity()));
    SelectData(ComboStop, port_.GetStopBits());
}

void TFormPort::showEvent(QShowEvent* e) {
    if (IsOpening(e)) FillFromPort();
    QDialog::showEvent(e);
}

void TFormPort::SetPortName(const QString& name) {
    ComboPort->setCurrentText(name);
}

void TFormPort::OKButtonClick() {
    port_.ClosePort();
    port_.SetPortName(ComboPort->currentText().trimmed());
    port_.SetSpeed(ComboSpeed->currentData().toInt());
    port_.SetParity(LinkParity(ComboParity->currentData().toInt()));
    port_.SetStopBits(ComboStop->currentData().toInt());
    QString error;
    if (!port_.OpenPort(&error)) {
        MessageBox(this, QStringLiteral("Не удалось открыть порт %1.\n%2").arg(port_.GetPortName(), error),
                   QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
        return;
    }
    accept();
}
