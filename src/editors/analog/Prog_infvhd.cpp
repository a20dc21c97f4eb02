#include "Prog_infvhd.h"

#include "Configuration.h"
#include "LiveViewKit.h"
#include "editors/common/EditorContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormVhD::TFormVhD(EditorContext& context, QWidget* parent)
    : TFormLiveView(context, LiveViews::ModulePollMs, parent) {
    setWindowTitle(QStringLiteral("Дискретные входы БРОН on line"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Дискретные входы модуля "), this), 0, 0);
    TipMod = new QLabel(this);
    LabSost = new QLabel(this);
    grid->addWidget(TipMod, 0, 1);
    grid->addWidget(LabSost, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Адрес модуля"), this), 1, 0);
    LabAMod = new QLabel(this);
    grid->addWidget(LabAMod, 1, 1);
    for (int i = 0; i < Inputs; ++i) {
        for (auto* row : {&Name, &Vh, &TRecv})
            (*row)[size_t(i)] = new QLabel(this);
        grid->addWidget(Name[size_t(i)], i + 2, 0);
        grid->addWidget(Vh[size_t(i)], i + 2, 1);
        grid->addWidget(TRecv[size_t(i)], i + 2, 2);
    }
    Body()->addLayout(grid);
}

void TFormVhD::SetHeader(const LiveInputsHeader& header) {
    TipMod->setText(header.tipMod);
    LabAMod->setText(header.labAMod);
    for (int i = 0; i < Inputs; ++i)
        Name[size_t(i)]->setText(header.names.value(i));
}

std::vector<PollRequest> TFormVhD::Requests() const {
    return LiveViews::ControllerInputRequests(DevNum());
}

void TFormVhD::ShowReplies(const PollReplies& replies) {
    const bool faulty = LiveViews::Bit(replies.at(0), Context().Cfg().Veg.GetCount());
    LabSost->setText(faulty ? QStringLiteral("неисправен") : QStringLiteral("исправен"));
    const QStringList states =
        LiveViews::BitTexts(replies.at(1), Inputs, QStringLiteral("on"), QStringLiteral("off"));
    const QStringList valid = LiveViews::BitTexts(replies.at(2), Inputs, QStringLiteral("недостовер."),
                                                  QStringLiteral("достовер."));
    for (int i = 0; i < Inputs; ++i) {
        Vh[size_t(i)]->setText(states[i]);
        TRecv[size_t(i)]->setText(valid[i]);
    }
}
