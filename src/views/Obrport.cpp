#include "Obrport.h"

#include "Comportclass.h"
#include "DialogFrame.h"
#include "Dialogs.h"
#include "WindowOpening.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSerialPortInfo>

namespace {

// The characters of a device name the port box shows whole, such as a pseudo-terminal's
// "/tmp/veg17-devsim.AbC123".
constexpr int kPortNameLength = 24;

void SelectData(QComboBox* box, const QVariant& value) {
    const int i = box->findData(value);
    if (i >= 0) box->setCurrentIndex(i);
}

} // namespace

TFormPort::TFormPort(std::function<LinkSettings()> current, Apply apply, QWidget* parent)
    : QDialog(parent), current_(std::move(current)), apply_(std::move(apply)) {
    setWindowTitle(QStringLiteral("Настройка COM-порта"));
    ComboPort = new QComboBox(this);
    // Any device name can be typed; the list holds the enumerated ports only. No completion: a
    // selected name would otherwise be taken for a completion, and Enter would swap it for a
    // listed port instead of confirming.
    ComboPort->setEditable(true);
    ComboPort->setInsertPolicy(QComboBox::NoInsert);
    ComboPort->setCompleter(nullptr);
    ComboPort->setMinimumContentsLength(kPortNameLength);
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
    const LinkSettings now = current_();
    ComboPort->setCurrentText(typed.isEmpty() ? now.portName : typed);
    SelectData(ComboSpeed, now.baud);
    SelectData(ComboParity, int(now.parity));
    SelectData(ComboStop, now.stopBits);
}

void TFormPort::showEvent(QShowEvent* e) {
    if (IsOpening(e)) FillFromPort();
    QDialog::showEvent(e);
}

void TFormPort::SetPortName(const QString& name) {
    ComboPort->setCurrentText(name);
}

LinkSettings TFormPort::Settings() const {
    return LinkSettings{ComboPort->currentText().trimmed(), ComboSpeed->currentData().toInt(),
                        LinkParity(ComboParity->currentData().toInt()), ComboStop->currentData().toInt()};
}

void TFormPort::OKButtonClick() {
    const LinkSettings chosen = Settings();
    if (chosen.portName.isEmpty()) { // nothing to open: the port as it was stays
        MessageBox(this, ObmResultText(ObmNoPort), QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
        return;
    }
    QString error;
    if (!apply_(chosen, &error)) {
        MessageBox(this, QStringLiteral("Не удалось открыть порт %1.\n%2").arg(chosen.portName, error),
                   QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
        return;
    }
    accept();
}
