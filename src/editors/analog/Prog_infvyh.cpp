#include "Prog_infvyh.h"

#include "Colors.h"
#include "LiveViewKit.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr uint32_t kOnColour = 0xFFFF00; // aqua
} // namespace

TFormVyhOnL::TFormVyhOnL(EditorContext& context, QWidget* parent)
    : TFormLiveView(context, LiveViews::ModulePollMs, parent) {
    setWindowTitle(QStringLiteral("Дискретные выходы БРОК on line"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Модуль дискретного вывода"), this), 0, 0);
    LabNMod = new QLabel(this);
    TipMod = new QLabel(this);
    grid->addWidget(LabNMod, 0, 1);
    grid->addWidget(TipMod, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Адрес модуля"), this), 1, 0);
    LabAMod = new QLabel(this);
    grid->addWidget(LabAMod, 1, 1);
    for (int i = 0; i < LiveViews::Outputs; ++i) {
        OnOff[size_t(i)] = new QLabel(QStringLiteral("Выход %1").arg(i + 1), this);
        Vyh[size_t(i)] = new QLabel(this);
        Vyh[size_t(i)]->setAutoFillBackground(true);
        grid->addWidget(OnOff[size_t(i)], i + 2, 0);
        grid->addWidget(Vyh[size_t(i)], i + 2, 1);
    }
    Body()->addLayout(grid);
}

void TFormVyhOnL::SetModuleLabels(const QString& number, const QString& type, const QString& address) {
    LabNMod->setText(number);
    TipMod->setText(type);
    LabAMod->setText(address);
}

void TFormVyhOnL::SetOutputLabels(const QStringList& texts) {
    for (int i = 0; i < LiveViews::Outputs && i < texts.size(); ++i)
        OnOff[size_t(i)]->setText(texts[i]);
}

std::vector<PollRequest> TFormVyhOnL::Requests() const {
    return LiveViews::OutputRequests(DevNum());
}

void TFormVyhOnL::ShowReplies(const PollReplies& replies) {
    for (int i = 0; i < LiveViews::Outputs; ++i) {
        const bool on = LiveViews::Bit(replies.at(0), i);
        QLabel* label = Vyh[size_t(i)];
        label->setText(on ? QStringLiteral("on") : QStringLiteral("off"));
        QPalette pal = label->palette();
        pal.setColor(QPalette::Window, on ? TColorToQColor(kOnColour) : clBtnFace());
        label->setPalette(pal);
    }
}
