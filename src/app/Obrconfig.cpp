#include "Obrconfig.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "WindowOpening.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int kBron = 13;
constexpr int kBrok = 15;
constexpr int kMaxRelayModules = 5;

bool IsController(int code) {
    return code == kBron || code == kBrok;
}
bool IsRelay(int code) {
    return code == 11 || code == 12;
}

} // namespace

QString CheckModifCode(const QString& code, SlotCodes* codes) {
    static const QRegularExpression hex8(QStringLiteral("^[0-9A-Fa-f]{8}$"));
    if (!hex8.match(code).hasMatch())
        return QStringLiteral("Код модификации должен состоять из 8 шестнадцатеричных цифр");
    SlotCodes parsed{};
    int relays = 0;
    for (int s = 0; s < 8; ++s) {
        const int c = code.mid(s, 1).toInt(nullptr, 16);
        parsed[size_t(s)] = c;
        if (s == 0 && !IsController(c))
            return QStringLiteral("В позиции 1 должен быть модуль БРОН (D) или БРОК (F)");
        if (s > 0 && IsController(c))
            return QStringLiteral("Модуль %1 может стоять только в позиции 1")
                .arg(TServClass::ModuleCaption(c));
        if (c != 0 && TServClass::ModuleCaption(c).isEmpty())
            return QStringLiteral("Неизвестный код модуля %1 в позиции %2")
                .arg(code.at(s).toUpper())
                .arg(s + 1);
        relays += IsRelay(c) ? 1 : 0;
    }
    if (relays > kMaxRelayModules)
        return QStringLiteral("Модулей МР может быть не больше %1").arg(kMaxRelayModules);
    if (codes) *codes = parsed;
    return {};
}

QString ModifCodeText(const SlotCodes& codes) {
    QString text;
    for (int c : codes)
        text += QString::number(c & 0xF, 16).toUpper();
    return text;
}

void CreateConfiguration(TConfiguration& cfg, const SlotCodes& codes, int devNum,
                         const QStringList& unitNames) {
    // A fresh configuration, built on the heap: it is too large for a thread's stack.
    auto fresh = std::make_unique<TConfiguration>();
    fresh->Veg.AccessLevel = cfg.Veg.AccessLevel;
    fresh->Copy = cfg.Copy;
    cfg = *fresh;

    TServClass& serv = cfg.Serv;
    for (int s = 0; s < 8; ++s)
        serv.SetSlotModuleCode(s + 1, codes[size_t(s)]);
    serv.SetDevAddr(devNum);
    serv.SetDevNum(devNum);
    serv.SetDiscrInCount(serv.GetComposedDiscrInCount());
    serv.SetAnInCount(serv.GetGroup6FChannels());
    serv.SetDefaultInputTexts();
    for (int i = 0; i < TProgMBAClass::UnitCount; ++i)
        cfg.MBA.SetRazmFromControl(unitNames, i);
    serv.FileMode = 1;
    serv.Modified = 1;
}

TConfig::TConfig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Создание конфигурации"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Код модификации (8 шестнадцатеричных цифр,\n"
                                                "по одной на позицию модуля)"),
                                 this));
    EditModif = new QLineEdit(this);
    EditModif->setMaxLength(8);
    EditModif->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,8}")), EditModif));
    layout->addWidget(EditModif);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TConfig::OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &TConfig::CancelClick);
    layout->addWidget(buttons);
}

void TConfig::OKClick() {
    const QString error = CheckModifCode(EditModif->text().trimmed(), &Codes);
    if (!error.isEmpty()) {
        MessageBox(this, error, QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
        EditModif->setFocus();
        return;
    }
    Cancelled = 0;
    accept();
}

void TConfig::CancelClick() {
    Cancelled = 1;
    reject();
}

void TConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!IsOpening(event)) return;
    EditModif->setFocus();
    EditModif->selectAll();
}
