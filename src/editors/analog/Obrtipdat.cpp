#include "Obrtipdat.h"

#include "Configuration.h"
#include "EditorModal.h"
#include "RadioGroup.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace SensorTypes {

QString Hint(int k, int r) {
    const int n = k * TFormTipDat::ShownSensors + r + 1;
    return QStringLiteral("номер дискретного сигнала в базе ") + QString::number(n) +
           QStringLiteral(" (адрес 0x") + QStringLiteral("%1").arg(n - 1, 2, 16, QLatin1Char('0')).toUpper() +
           QStringLiteral(")");
}

LiveInputsHeader LiveHeader(const EditorContext& context) {
    const TServClass& serv = context.Cfg().Serv;
    const int slot = serv.GetCurModule();
    LiveInputsHeader header{serv.GetSlotCaption(slot), QString::number(slot - 1), {}};
    for (int i = 0; i < TFormTipDat::ShownSensors; ++i)
        header.names << serv.GetNameText(i);
    return header;
}

} // namespace SensorTypes

TFormTipDat::TFormTipDat(EditorContext& context, QWidget* parent) : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Программирование модуля  БРОН"));
    LabMod = new QLabel(QStringLiteral("Модуль"), this);
    LabTMod = new QLabel(this);
    auto* head = new QHBoxLayout;
    head->addWidget(LabMod);
    head->addWidget(LabTMod);
    head->addStretch();
    auto* grid = new QGridLayout;
    const QStringList items{QStringLiteral("Сухой контакт"), QStringLiteral("NAMUR")};
    for (int r = 0; r < Sensors; ++r) {
        auto* group = new RadioGroup(QStringLiteral("Датчик № ") + QString::number(r + 1), items, this);
        RadioGroups[size_t(r)] = group;
        grid->addWidget(group, r % ShownSensors, r / ShownSensors);
        group->setVisible(r < ShownSensors);
        connect(group, &RadioGroup::Clicked, this, [this, r](int index) { RadioGroup1Click(r, index); });
    }
    const auto button = [this](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        return b;
    };
    OK = button(QStringLiteral("OK"));
    Cancel = button(QStringLiteral("Отмена"));
    Save = button(QStringLiteral("Save"));
    Button3 = button(QStringLiteral("on line дискр. сигн."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch();
    for (QPushButton* b : {Save, OK, Cancel})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(OK, &QPushButton::clicked, this, &TFormTipDat::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormTipDat::CancelClick);
    connect(Save, &QPushButton::clicked, this, &TFormTipDat::SaveClick);
    connect(Button3, &QPushButton::clicked, this, &TFormTipDat::Button3Click);
}

void TFormTipDat::Load(int k, const QString& slotCaption) {
    TProgMBAClass& mba = ctx_.Cfg().MBA;
    module_ = k;
    mba.SetMbaBaseChangedSave(mba.GetMbaBaseChanged());
    LabTMod->setText(slotCaption);
    loading_ = true;
    for (int r = 0; r < ShownSensors; ++r) {
        RadioGroups[size_t(r)]->setToolTip(SensorTypes::Hint(k, r));
        RadioGroups[size_t(r)]->SetItemIndex(mba.GetRangeInt(k, r));
    }
    loading_ = false;
    mba.SetMbaBaseChanged(mba.GetMbaBaseChangedSave());
}

void TFormTipDat::showEvent(QShowEvent* event) {
    if (IsOpening(event)) Cancelled = 0; // an earlier Cancel must not throw away this showing's choices
    QDialog::showEvent(event);
}

void TFormTipDat::RadioGroup1Click(int sensor, int index) {
    if (loading_ || !isVisible() || index < 0) return;
    TProgMBAClass& mba = ctx_.Cfg().MBA;
    mba.SetMbaBaseChanged(1);
    mba.SetRangeInt(module_, sensor, index);
}

void TFormTipDat::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormTipDat::CancelClick() {
    Cancelled = 1;
    TryClose();
}

void TFormTipDat::reject() {
    TryClose();
}

void TFormTipDat::TryClose() {
    if (FormCloseQuery()) done(2);
}

bool TFormTipDat::FormCloseQuery() {
    TConfiguration& cfg = ctx_.Cfg();
    TProgMBAClass& mba = cfg.MBA;
    if (Cancelled == 1) {
        for (int m = 0; m < TProgMBAClass::ModuleCount; ++m)
            mba.SetModuleType(m, cfg.Reserv.GetModuleType(m));
        mba.SetMbaBaseChanged(mba.GetMbaBaseChangedSave());
    } else if (ctx_.FileMode()) {
        for (int m = 0; m < TProgMBAClass::ModuleCount; ++m)
            cfg.Reserv.SetModuleType(m, mba.GetModuleType(m));
        if (mba.GetMbaBaseChanged() == 1) cfg.Serv.Modified = 1;
    }
    // From the device the change stays marked; the analogue-module editor offers it on closing.
    return true;
}

void TFormTipDat::Button3Click() {
    if (ctx_.FileMode() || !LiveView) return;
    // The view's health bit is the module's coil: bit 0 for slot 1.
    ctx_.Cfg().Veg.SetCount(ctx_.Cfg().Serv.GetCurModule() - 1);
    if (QDialog* view = LiveView(SensorTypes::LiveHeader(ctx_))) ShowEditorModal(this, view);
}
