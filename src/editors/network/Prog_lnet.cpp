#include "Prog_lnet.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "LocalNetwork.h"
#include "NetTransfer.h"
#include "Prog_f15.h"
#include "Prog_mbm.h"
#include "WindowOpening.h"
#include "editors/common/BlockSession.h"
#include "editors/common/EditorContext.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString kTitle = QStringLiteral("Программатор ВЕГ-17");

int IndexOf(const auto& buttons, const QObject* o) {
    const auto it = std::find(buttons.begin(), buttons.end(), o);
    return it == buttons.end() ? -1 : int(it - buttons.begin());
}
} // namespace

TFormLNet::TFormLNet(EditorContext& context, TFormMBM& formMBM, TFormF15& formF15, QWidget* parent)
    : QDialog(parent), context_(context), formMBM_(formMBM), formF15_(formF15) {
    setWindowTitle(QStringLiteral("Локальная сеть RS-485 ModBus ф1,ф2,ф3,ф4,ф15"));
    auto* layout = new QVBoxLayout(this);

    GroupBox1 = new QGroupBox(QStringLiteral("Функциональные блоки MBM ф1, ф2, ф3, ф4"), this);
    auto* grid = new QGridLayout(GroupBox1);
    for (int i = 0; i < BlockButtons; ++i) {
        auto* b = new QPushButton(GroupBox1);
        b->setAutoDefault(false);
        b->setToolTip(QString::number(i + 1));
        b->installEventFilter(this);
        grid->addWidget(b, i / 8, i % 8);
        connect(b, &QPushButton::clicked, this, [this, i] { Button1Click(i); });
        Buttons[size_t(i)] = b;
    }
    GroupBox2 = new QGroupBox(QStringLiteral("Функциональные блоки MBM ф15"), this);
    auto* row15 = new QHBoxLayout(GroupBox2);
    for (int k = 1; k <= 2; ++k) {
        auto* b = new QPushButton(GroupBox2);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        row15->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, k] { LocNet15_1Click(k); });
        LocNet15[size_t(k - 1)] = b;
    }
    GroupBox3 = new QGroupBox(QStringLiteral("Настройка обмена"), this);
    auto* link = new QHBoxLayout(GroupBox3);
    Skor = new QComboBox(GroupBox3);
    Skor->addItems(
        {QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("57600"), QStringLiteral("115200")});
    Parit = new QComboBox(GroupBox3);
    Parit->addItems(
        {QStringLiteral("2 стоп-бита без контр. четности"), QStringLiteral("1 стоп-бит с контр. нечетности"),
         QStringLiteral("1 стоп-бит с контр. четности"), QStringLiteral("1 стоп-бит без контр. четности")});
    link->addWidget(Skor);
    link->addWidget(Parit);
    for (QGroupBox* g : {GroupBox1, GroupBox2, GroupBox3})
        layout->addWidget(g);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    Save = new QPushButton(QStringLiteral("Save"), this);
    Save15 = new QPushButton(QStringLiteral("Save15"), this);
    OK = new QPushButton(QStringLiteral("OK"), this);
    buttons->addStretch();
    for (QPushButton* b : {Save, Save15, OK}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    Save->hide();
    Save15->hide();
    layout->addLayout(buttons);

    PopupMenu1 = new QMenu(this);
    DeleteBl = PopupMenu1->addAction(QStringLiteral("Удаление блока МВМ"));
    PopupMenu2 = new QMenu(this);
    DeleteBl15 = PopupMenu2->addAction(QStringLiteral("Удаление блока МВМ Ф15"));

    connect(Skor, &QComboBox::activated, this, &TFormLNet::SkorClick);
    connect(Parit, &QComboBox::activated, this, &TFormLNet::ParitClick);
    for (QComboBox* list : {Skor, Parit})
        connect(list, &QComboBox::activated, this, &TFormLNet::SkorChange);
    connect(DeleteBl, &QAction::triggered, this, &TFormLNet::DeleteBlClick);
    connect(DeleteBl15, &QAction::triggered, this, &TFormLNet::DeleteBl15Click);
    connect(OK, &QPushButton::clicked, this, &TFormLNet::OKClick);
    connect(Save, &QPushButton::clicked, this, &TFormLNet::SaveClick);
    connect(Save15, &QPushButton::clicked, this, &TFormLNet::Save15Click);
}

void TFormLNet::showEvent(QShowEvent* event) {
    if (IsOpening(event)) FormShow();
    QDialog::showEvent(event);
}

void TFormLNet::FormShow() {
    TConfiguration& cfg = context_.Cfg();
    NetEditState& st = cfg.MBM.NetEdit;
    st.LinkChanged = 0;
    st.DescriptorWritten = 1;
    st.NetTablesChanged = 0;
    st.AnGroupsWritten = 1;
    cfg.FB.FBRenumbered = 0;
    cfg.F15.SetF15Unchanged(1);
    cfg.F15.SetF15Modified(0);
    // The link byte selects the items; that is no change of the link.
    Skor->setCurrentIndex(cfg.MBM.GetLinkBits2to3());
    Parit->setCurrentIndex(cfg.MBM.GetLinkBits0to1());
    Refresh();
}

void TFormLNet::Refresh() {
    const TConfiguration& cfg = context_.Cfg();
    for (int i = 0; i < BlockButtons; ++i)
        Buttons[size_t(i)]->setText(LocalNet::BlockCaption(cfg, i));
    for (int k = 0; k < 2; ++k)
        LocNet15[size_t(k)]->setText(LocalNet::F15Caption(cfg, k));
    context_.NotifyConfigurationChanged(); // the main window shows the counts
}

void TFormLNet::SkorClick(int index) {
    context_.Cfg().MBM.SetLinkBits2to3(index);
}

void TFormLNet::ParitClick(int index) {
    context_.Cfg().MBM.SetLinkBits0to1(index);
}

void TFormLNet::SkorChange() {
    context_.Cfg().MBM.NetEdit.LinkChanged = 1;
}

void TFormLNet::Button1Click(int i) {
    TConfiguration& cfg = context_.Cfg();
    if (!LocalNet::IsDiscreteCode(cfg.MBM.GetKodF(i)) && !LocalNet::IsAnalogueCode(cfg.MBM.GetKodF(i))) {
        if (cfg.Serv.GetDiscrInCount() >= LocalNet::DiscretePositions) {
            MessageBox(this, QStringLiteral("нет свободных адресов лок.сети"), kTitle);
            return;
        }
        if (cfg.Serv.GetAnInCount() >= LocalNet::AnaloguePositions)
            MessageBox(this, QStringLiteral("нет свободных адресов аналог.сигн.лок.сети"), kTitle);
    }
    formMBM_.Prepare(i);
    const int result = ShowModal(&formMBM_);
    if (result == mrYes)
        MessageBox(this, QStringLiteral("программирование закончено с ошибкой "), QStringLiteral("Ошибка"),
                   MsgButtons::OK, MsgIcon::Error);
    cfg.MBM.NetEdit.BlockFailed[size_t(i)] = result == mrYes ? 1 : 0;
    Refresh();
}

void TFormLNet::Button1MouseDown(int i) {
    context_.Cfg().MBM.NetEdit.SelectedBlock = i;
    if (PopupAutoShow) PopupMenu1->popup(QCursor::pos());
}

void TFormLNet::DeleteBlClick() {
    if (LocalNet::DeleteBlock(context_.Cfg(), context_.Cfg().MBM.NetEdit.SelectedBlock)) Refresh();
}

bool TFormLNet::SaveClick() {
    const bool ok =
        NetTransfer::SaveNetwork(context_, ProgressBar1, this, Skor->currentIndex(), Parit->currentIndex());
    ProgressBar1->hide();
    Refresh();
    return ok;
}

bool TFormLNet::FormCloseQuery() {
    TConfiguration& cfg = context_.Cfg();
    NetEditState& st = cfg.MBM.NetEdit;
    const QString caption = QStringLiteral("Подтвердите передачу данных ");
    const auto networkWritten = [&st] {
        st.LinkChanged = 0;
        st.AnGroupsWritten = 1;
        st.DescriptorWritten = 1;
        st.NetTablesChanged = 0;
    };
    const CloseStage network{st.LinkChanged == 1 || st.NetTablesChanged == 1 || st.AnGroupsWritten == 0 ||
                                 st.DescriptorWritten == 0,
                             kBaseChangedQuestion, caption,
                             [&] {
                                 SaveClick();
                                 networkWritten();
                                 cfg.FB.FBRenumbered = 1;
                             },
                             [&] {
                                 LocalNet::RestoreNetworkFromReserve(cfg);
                                 networkWritten();
                                 Refresh();
                             }};
    if (!BlockSession::CloseStaged(cfg, this, network)) return false;
    return BlockSession::CloseStaged(cfg, this,
                                     {cfg.F15.GetF15Modified() == 1, kBaseChangedQuestion, caption,
                                      [this] { Save15Click(); },
                                      [&] {
                                          LocalNet::RestoreF15FromReserve(cfg);
                                          cfg.F15.SetF15Modified(0);
                                          Refresh();
                                      }});
}

void TFormLNet::OKClick() {
    if (FormCloseQuery()) done(mrCancel);
}

void TFormLNet::reject() {
    OKClick();
}

void TFormLNet::LocNet15_1Click(int k) {
    formF15_.Prepare(k - 1);
    ShowEditorModal(this, &formF15_);
    Refresh();
}

void TFormLNet::LocNet15_2MouseDown(int k) {
    context_.Cfg().F15.SetF15Selected(k - 1);
    if (PopupAutoShow) PopupMenu2->popup(QCursor::pos());
}

void TFormLNet::DeleteBl15Click() {
    TProgF15Class& f15 = context_.Cfg().F15;
    const int k = f15.GetF15Selected();
    for (int b = 0; b < TProgF15Class::RecordSize; ++b)
        f15.SetByte(1 + TProgF15Class::RecordSize * k + b, 0);
    f15.SetF15Modified(1);
    Refresh();
}

void TFormLNet::Save15Click() {
    NetTransfer::SaveF15(context_, ProgressBar1, this, 10);
    ProgressBar1->hide();
}

bool TFormLNet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (const int i = IndexOf(Buttons, watched); i >= 0) Button1MouseDown(i);
        if (const int k = IndexOf(LocNet15, watched); k >= 0) LocNet15_2MouseDown(k + 1);
    }
    return QDialog::eventFilter(watched, event);
}
