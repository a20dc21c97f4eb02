#include "Prog_mbm.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "NetEditKeys.h"
#include "NetTransfer.h"
#include "Prog_infanloc.h"
#include "Prog_infvhdloc.h"
#include "Prog_recvmbm.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

namespace {
const QString kInputErrorCaption = QStringLiteral(" Ошибка ввода ");
const QString kTitle = QStringLiteral("Программатор ВЕГ-17");
} // namespace

TFormMBM::TFormMBM(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setWindowTitle(QStringLiteral("Программирование функционального блока MBM"));
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    LabMod = new QLabel(QStringLiteral("Функциональный блок ModBus Master"), this);
    LabN_MBM = new QLabel(this);
    Label9 = new QLabel(this);
    head->addWidget(LabMod);
    head->addWidget(LabN_MBM);
    head->addStretch();
    head->addWidget(Label9);
    layout->addLayout(head);

    auto* form = new QFormLayout;
    TipUstr = new QComboBox(this);
    TipUstr->addItems(LocalNet::SlaveTypeItems());
    CBoxKodF = new QComboBox(this);
    CBoxKodF->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    const auto edit = [this] {
        auto* e = new QLineEdit(this);
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, &TFormMBM::EditKolVhChange);
        return e;
    };
    EditUstr = edit();
    EditKolVh = edit();
    EditAdBegDat = edit();
    EditKolDat = edit();
    EditXMax = edit();
    StAddr_Beg1 = new QLabel(this);
    StAddr_Beg2 = new QLabel(this);
    form->addRow(QStringLiteral("тип устройства"), TipUstr);
    form->addRow(QStringLiteral("адрес Slave в локальной сети"), EditUstr);
    form->addRow(QStringLiteral("код функции"), CBoxKodF);
    form->addRow(QStringLiteral("количество выходов блока"), EditKolVh);
    form->addRow(QStringLiteral("нач. адрес данных в запросе"), EditAdBegDat);
    form->addRow(QStringLiteral("количество данных в запросе"), EditKolDat);
    form->addRow(QStringLiteral("макс. значение кода"), EditXMax);
    form->addRow(QStringLiteral("нач. адрес дискр. сигналов"), StAddr_Beg1);
    form->addRow(QStringLiteral("нач. адрес аналог. сигналов"), StAddr_Beg2);
    layout->addLayout(form);

    ErrorText = new QLabel(this);
    ErrorText->hide();
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    OK = new QPushButton(QStringLiteral("OK"), this);
    Save = new QPushButton(QStringLiteral("Save"), this);
    Save->hide();
    Scaling = new QPushButton(QStringLiteral("Масштабирование"), this);
    ButOnLine = new QPushButton(QStringLiteral("on line"), this);
    for (QPushButton* b : {Scaling, ButOnLine, Save, OK}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(TipUstr, &QComboBox::activated, this, &TFormMBM::TipUstrClick);
    connect(CBoxKodF, &QComboBox::activated, this, &TFormMBM::CBoxKodFClick);
    for (QComboBox* list : {TipUstr, CBoxKodF})
        connect(list, &QComboBox::activated, this, &TFormMBM::EditKolVhChange);
    connect(OK, &QPushButton::clicked, this, &TFormMBM::OKClick);
    connect(Save, &QPushButton::clicked, this, &TFormMBM::SaveClick);
    connect(Scaling, &QPushButton::clicked, this, &TFormMBM::ScalingClick);
    connect(ButOnLine, &QPushButton::clicked, this, &TFormMBM::ButOnLineClick);
}

void TFormMBM::Prepare(int i) {
    TConfiguration& cfg = context_.Cfg();
    const TProgMBMClass& mbm = cfg.MBM;
    NetEditState& st = cfg.MBM.NetEdit;
    loading_ = true;
    block_ = i;
    snapshot_ = LocalNet::TakeSnapshot(cfg);
    LabN_MBM->setText(QString::number(i + 1));
    st.CountChanged = st.TypeChanged = st.DiscreteShift = st.AnalogueShift = 0;
    const int code = mbm.GetKodF(i);
    if (code >= 1 && code <= 4) {
        TipUstr->setCurrentIndex(mbm.GetTipUstr(i));
        CBoxKodF->setCurrentIndex(code - 1);
        EditUstr->setText(QString::number(mbm.GetUstr(i)));
        EditKolVh->setText(QString::number(mbm.GetKolVh(i)));
        EditAdBegDat->setText(
            QStringLiteral("%1").arg(mbm.GetAdBegDat(i) & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper());
        EditKolDat->setText(QString::number(mbm.GetKolDat(i)));
        begD_ = mbm.GetStAddrBeg1(i);
        begA_ = mbm.GetStAddrBeg2(i);
        const bool analogue = LocalNet::IsAnalogueCode(code);
        EditXMax->setText(analogue ? QString::number(mbm.GetXMax(i)) : QStringLiteral("00"));
        EditXMax->setEnabled(analogue);
        Label9->setText(QStringLiteral("Коррекция"));
        st.EditMode = 1;
    } else {
        TipUstr->setCurrentIndex(-1);
        CBoxKodF->setCurrentIndex(-1);
        EditUstr->clear();
        EditKolVh->setText(QStringLiteral("00"));
        EditAdBegDat->setText(QStringLiteral("0000"));
        EditKolDat->setText(QStringLiteral("00"));
        EditXMax->setText(QStringLiteral("00"));
        EditXMax->setEnabled(false);
        std::tie(begD_, begA_) = LocalNet::NewBlockStarts(cfg, i);
        Label9->setText(QStringLiteral("Создание"));
        st.EditMode = 0;
    }
    StAddr_Beg1->setText(QString::number(begD_));
    StAddr_Beg2->setText(QString::number(begA_));
    ErrorText->hide();
    loading_ = false;
}

void TFormMBM::showEvent(QShowEvent* event) {
    if (IsOpening(event)) result_ = 2;
    QDialog::showEvent(event);
}

void TFormMBM::TipUstrClick(int type) {
    NetEditState& st = context_.Cfg().MBM.NetEdit;
    st.TypeChanged = 1;
    const LocalNet::Preset p = LocalNet::PresetFor(type, context_.Cfg().Serv.GetDiscrInCount());
    if (p.typeCleared) TipUstr->setCurrentIndex(-1);
    CBoxKodF->setCurrentIndex(p.code - 1);
    EditXMax->setText(p.xmax);
    EditXMax->setEnabled(p.xmaxEnabled);
    if (EditKolVh->text() != p.outputs) st.CountChanged = 1;
    EditKolVh->setText(p.outputs);
    EditKolDat->setText(p.outputs);
}

void TFormMBM::CBoxKodFClick(int index) {
    const int type = TipUstr->currentIndex();
    const int f = index + 1;
    NetEditState& st = context_.Cfg().MBM.NetEdit;
    if (!LocalNet::FunctionAllowed(type, f)) {
        MessageBox(this, QStringLiteral("недопустимая функция"), kTitle, MsgButtons::OK,
                   MsgIcon::Information);
        CBoxKodF->setCurrentIndex(-1);
        return;
    }
    if (type == LocalNet::Veg01) EditXMax->setEnabled(false);
    if (LocalNet::IsAnalogueCode(f) && type != LocalNet::Veg05 && type != LocalNet::Others)
        EditXMax->setEnabled(true);
    const int o = context_.Cfg().MBM.GetKodF(block_);
    st.TypeChanged = LocalNet::IsDiscreteCode(o) && LocalNet::IsAnalogueCode(f)   ? 1
                     : LocalNet::IsAnalogueCode(o) && LocalNet::IsDiscreteCode(f) ? 4
                                                                                  : 0;
}

void TFormMBM::EditKolVhExit(QLineEdit* edit) {
    if (edit->text().trimmed().isEmpty()) {
        ShowInputMessage(QStringLiteral("значение не задано\n"));
        return;
    }
    if (edit == EditKolVh && edit->text().toInt() != context_.Cfg().MBM.GetKolVh(block_))
        context_.Cfg().MBM.NetEdit.CountChanged = 1;
}

void TFormMBM::EditKolVhChange() {
    if (!loading_) context_.Cfg().MBM.NetEdit.DescriptorWritten = 0;
}

void TFormMBM::ShowInputMessage(const QString& text) {
    MessageBox(this, text, kInputErrorCaption, MsgButtons::OK, MsgIcon::Warning);
}

LocalNet::RequestEntries TFormMBM::Entries() const {
    return {TipUstr->currentIndex(), CBoxKodF->currentIndex() + 1, EditUstr->text(),  EditKolVh->text(),
            EditXMax->text(),        EditAdBegDat->text(),         EditKolDat->text()};
}

void TFormMBM::RefillEmptyEdits() {
    const TProgMBMClass& mbm = context_.Cfg().MBM;
    const int i = block_;
    const std::pair<QLineEdit*, int> stored[] = {{EditUstr, mbm.GetUstr(i)},
                                                 {EditKolVh, mbm.GetKolVh(i)},
                                                 {EditXMax, mbm.GetXMax(i)},
                                                 {EditKolDat, mbm.GetKolDat(i)},
                                                 {EditAdBegDat, mbm.GetAdBegDat(i)}};
    for (const auto& [edit, value] : stored)
        if (edit->text().trimmed().isEmpty())
            edit->setText(edit == EditAdBegDat
                              ? QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0'))
                              : QString::number(value));
}

bool TFormMBM::FormCloseQuery() {
    TConfiguration& cfg = context_.Cfg();
    const LocalNet::RequestEntries e = Entries();
    QStringList messages = LocalNet::CheckRequest(e);
    if (messages.isEmpty())
        messages = LocalNet::StoreRequest(cfg, block_, e, begD_, begA_, cfg.MBM.NetEdit.EditMode == 1);
    for (const QString& m : messages)
        ShowInputMessage(m);
    if (!messages.isEmpty()) {
        RefillEmptyEdits();
        LocalNet::RollBack(cfg, snapshot_);
        result_ = 6;
    } else {
        result_ = 2;
        if (LocalNet::IsAnalogueCode(e.code)) ScalingClick();
    }
    context_.NotifyConfigurationChanged();
    return true;
}

void TFormMBM::OKClick() {
    if (FormCloseQuery()) done(result_);
}

void TFormMBM::reject() {
    OKClick();
}

void TFormMBM::SaveClick() {
    TConfiguration& cfg = context_.Cfg();
    NetEditState& st = cfg.MBM.NetEdit;
    if (!NetTransfer::WriteStage(context_, ProgressBar1, this, {DeviceBlocks::NetDescriptor}, 120, 20))
        return;
    LocalNet::RecountNetInputs(cfg);
    st.DescriptorWritten = 1;
    if (st.DiscreteShift != 0 || st.AnalogueShift != 0)
        NetTransfer::WriteGroups(context_, ProgressBar1, this, 120, 20);
}

bool TFormMBM::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && FilterNetEdit(edit, event, edit == EditAdBegDat, inExit_, [&] { EditKolVhExit(edit); }))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFormMBM::ButOnLineClick() {
    const int k = LabN_MBM->text().toInt() - 1;
    if (LocalNet::IsAnalogueCode(context_.Cfg().MBM.GetKodF(k))) {
        if (!FormVhAnL) return;
        FormVhAnL->Prepare(k);
        ShowModal(FormVhAnL);
    } else {
        if (!FormVhDLoc) return;
        FormVhDLoc->Prepare(k);
        ShowModal(FormVhDLoc);
    }
}

void TFormMBM::ScalingClick() {
    const int k = LabN_MBM->text().toInt() - 1;
    NetEditState& st = context_.Cfg().MBM.NetEdit;
    if (!FormR_MBM || !LocalNet::IsAnalogueCode(context_.Cfg().MBM.GetKodF(k))) return;
    // Filling the rows is no edit: the flag keeps its value.
    const int written = st.AnGroupsWritten;
    FormR_MBM->Block = k;
    FormR_MBM->FillRows();
    st.AnGroupsWritten = written;
    if (ShowModal(FormR_MBM) == mrYes)
        MessageBox(
            this,
            QStringLiteral("программирование масштабирования \n аналоговых сигналов закончено с ошибкой "
                           "\nзапись блока не произведена"),
            QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
}
