#include "Prog_infanloc.h"

#include "Configuration.h"
#include "EditorModal.h"
#include "NumberText.h"
#include "Prog_infvhdloc.h"
#include "editors/analog/LiveViewKit.h"
#include "editors/common/EditorContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TFormVhAnL::TFormVhAnL(EditorContext& context, QWidget* parent)
    : TFormLiveView(context, LiveViews::NetPollMs, parent) {
    setWindowTitle(QStringLiteral("Тек. информ. аналоговых входов  локал. сети "));
    auto* head = new QGridLayout;
    head->addWidget(new QLabel(QStringLiteral("Тип устр.        Slave"), this), 0, 0);
    TipUstr = new QLabel(this);
    head->addWidget(TipUstr, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Адрес Slave в лок.  сети"), this), 1, 0);
    LabUstr = new QLabel(this);
    head->addWidget(LabUstr, 1, 1);
    ButOnLine = new QPushButton(QStringLiteral("on line дискр. сигн."), this);
    ButOnLine->setAutoDefault(false);
    head->addWidget(ButOnLine, 0, 2);
    Body()->addLayout(head);

    auto* area = new QScrollArea(this);
    auto* rows = new QWidget(area);
    auto* grid = new QGridLayout(rows);
    grid->addWidget(new QLabel(QStringLiteral("Адр. в мас. анал. сигн."), rows), 0, 1);
    for (int r = 0; r < Rows; ++r) {
        for (auto* column : {&Name, &Addr, &Val, &Raz, &Sost})
            (*column)[size_t(r)] = new QLabel(rows);
        int c = 0;
        for (auto* column : {&Name, &Addr, &Val, &Raz, &Sost})
            grid->addWidget((*column)[size_t(r)], r + 1, c++);
    }
    area->setWidget(rows);
    area->setWidgetResizable(true);
    Body()->addWidget(area);
    connect(ButOnLine, &QPushButton::clicked, this, &TFormVhAnL::ButOnLineClick);
}

void TFormVhAnL::Prepare(int i) {
    const TConfiguration& cfg = Context().Cfg();
    const TProgMBMClass& mbm = cfg.MBM;
    block_ = i;
    TipUstr->setText(LiveViews::SlaveTypeText(cfg, i));
    LabUstr->setText(QString::number(mbm.GetUstr(i)));
    for (int r = 0; r < Rows; ++r) {
        Name[size_t(r)]->setText(QStringLiteral("Вход %1").arg(r + 1));
        Raz[size_t(r)]->clear();
    }
    const int first = mbm.GetStAddrBeg2(i), local = cfg.Serv.GetGroup6FChannels();
    for (int v = 0; v < mbm.GetKolVh(i) && first + v < Rows; ++v) {
        const int p = first + v, n = p - local;
        if (n < 0) continue; // a position of the local channels: no network channel
        Name[size_t(p)]->setText(cfg.Serv.GetNetAnInputText(mbm.GetStAddrBeg1(i), v));
        Raz[size_t(p)]->setText(cfg.MBA.GetRazmName(mbm.GetChRazm(n)));
    }
    ClearValues();
}

void TFormVhAnL::ClearValues() {
    for (int r = 0; r < Rows; ++r)
        for (auto* column : {&Addr, &Val, &Sost})
            (*column)[size_t(r)]->clear();
}

std::vector<PollRequest> TFormVhAnL::Requests() const {
    const TProgMBMClass& mbm = Context().Cfg().MBM;
    const int first = mbm.GetStAddrBeg2(block_);
    const int count = std::min(mbm.GetKolVh(block_), Rows - first);
    if (first < 0 || count < 1) return {};
    return LiveViews::AnalogueRequests(DevNum(), first, count);
}

void TFormVhAnL::ShowReplies(const PollReplies& replies) {
    TConfiguration& cfg = Context().Cfg();
    const int first = cfg.MBM.GetStAddrBeg2(block_);
    const int count = std::min(cfg.MBM.GetKolVh(block_), Rows - first);
    if (!LiveViews::TakeAnalogueReplies(cfg, first, count, replies)) return ReplyNotTaken();
    ClearValues();
    const QStringList states = cfg.MBM.ShowChannelState(count, first);
    for (int v = 0; v < count; ++v) {
        const size_t p = size_t(first + v);
        Addr[p]->setText(QString::number(first + v));
        Val[p]->setText(FormatSignificant(cfg.MBM.GetLiveValue(first + v), 5));
        Sost[p]->setText(states[v]);
    }
}

void TFormVhAnL::ButOnLineClick() {
    if (!FormVhDLoc) return;
    FormVhDLoc->Prepare(block_);
    ShowEditorModal(this, FormVhDLoc);
}
