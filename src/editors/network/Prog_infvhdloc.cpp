#include "Prog_infvhdloc.h"

#include "Configuration.h"
#include "editors/analog/LiveViewKit.h"
#include "editors/common/EditorContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormVhDLoc::TFormVhDLoc(EditorContext& context, QWidget* parent)
    : TFormLiveView(context, LiveViews::NetPollMs, parent) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Тип устр.        Slave"), this), 0, 0);
    TipUstr = new QLabel(this);
    grid->addWidget(TipUstr, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Адрес Slave в лок.  сети"), this), 1, 0);
    LabUstr = new QLabel(this);
    grid->addWidget(LabUstr, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Идентификатор "), this), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Адрес в массиве дискр. сигн."), this), 2, 1);
    for (int r = 0; r < Rows; ++r) {
        for (auto* column : {&Ident, &Addr, &Vh, &TRecv})
            (*column)[size_t(r)] = new QLabel(this);
        grid->addWidget(Ident[size_t(r)], r + 3, 0);
        grid->addWidget(Addr[size_t(r)], r + 3, 1);
        grid->addWidget(Vh[size_t(r)], r + 3, 2);
        grid->addWidget(TRecv[size_t(r)], r + 3, 3);
    }
    Body()->addLayout(grid);
}

void TFormVhDLoc::Prepare(int i) {
    const TConfiguration& cfg = Context().Cfg();
    block_ = i;
    setWindowTitle(QStringLiteral("Дискретные сигналы блока MBM %1").arg(i + 1));
    TipUstr->setText(LiveViews::SlaveTypeText(cfg, i));
    LabUstr->setText(QString::number(cfg.MBM.GetUstr(i)));
    for (int r = 0; r < Rows; ++r) {
        Ident[size_t(r)]->clear();
        Addr[size_t(r)]->clear();
    }
    ClearStates();
    DiscreteBefore = LiveViews::DiscreteOutputsBefore(cfg, i);
}

void TFormVhDLoc::FormShow() {
    const TConfiguration& cfg = Context().Cfg();
    Count = LiveViews::NetDiscreteCount(cfg, block_);
    Start = cfg.MBM.GetStAddrBeg1(block_);
    for (int r = 0; r < Rows; ++r) {
        const bool shown = r < Count;
        Ident[size_t(r)]->setText(shown ? cfg.Serv.GetInputText(Start + r) : QString());
        Addr[size_t(r)]->setText(shown ? QString::number(Start + r) : QString());
    }
}

void TFormVhDLoc::ClearStates() {
    for (int r = 0; r < Rows; ++r) {
        Vh[size_t(r)]->clear();
        TRecv[size_t(r)]->clear();
    }
}

std::vector<PollRequest> TFormVhDLoc::Requests() const {
    if (Count < 1) return {};
    return LiveViews::NetDiscreteRequests(DevNum(), Start, Count);
}

void TFormVhDLoc::ShowReplies(const PollReplies& replies) {
    ClearStates();
    const QStringList states =
        LiveViews::BitTexts(replies.at(0), Count, QStringLiteral("on"), QStringLiteral("off"));
    const QStringList valid =
        LiveViews::BitTexts(replies.at(1), Count, QStringLiteral("недостовер."), QStringLiteral("достовер."));
    for (int r = 0; r < Count && r < Rows; ++r) {
        Vh[size_t(r)]->setText(states[r]);
        TRecv[size_t(r)]->setText(valid[r]);
    }
}
