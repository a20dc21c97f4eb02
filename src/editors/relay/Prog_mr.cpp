#include "Prog_mr.h"

#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "NetRelayInput.h"
#include "ServInput.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace RelayRows;

namespace {

template <class W> int RowOf(const TFormMR::Row<W>& row, const QObject* control) {
    const auto it = std::find(row.begin(), row.end(), control);
    return it == row.end() ? -1 : int(it - row.begin());
}

void PaintWhite(QWidget* control) {
    QPalette pal = control->palette();
    pal.setColor(QPalette::Base, Qt::white);
    control->setPalette(pal);
}

const QString kCopyText = QStringLiteral("Копировать базу модуля");
const QString kChangeText = QStringLiteral("Заменить базу модуля");

} // namespace

TFormMR::TFormMR(EditorContext& context, QWidget* parent)
    : QDialog(parent), context_(context), session_(NewBlockSession()) {
    setWindowTitle(QStringLiteral("Программирование модулей МР"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("модуль дискретного вывода"), this));
    auto* head = new QHBoxLayout;
    LabFB = new QLabel(QStringLiteral("Модуль "), this);
    LabNMod = new QLabel(this);
    LabTMod = new QLabel(this);
    for (QLabel* l : {LabFB, LabNMod, LabTMod})
        head->addWidget(l);
    head->addStretch();
    layout->addLayout(head);

    auto* rows = new QWidget(this);
    BuildRows(rows);
    layout->addWidget(rows);

    const auto button = [this](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        return b;
    };
    ButtonCopy = button(kCopyText);
    ButtonChange = button(kChangeText);
    ButOnLine = button(QStringLiteral("on line"));
    OK = button(QStringLiteral("OK"));
    Cancel = button(QStringLiteral("Отмена"));
    Save = button(QStringLiteral("Save"));
    Save->hide();
    ButtonChange->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ButtonCopy, ButtonChange, ButOnLine})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {Save, OK, Cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    ACopyBase = new QAction(kCopyText, this);
    AChangeBase = new QAction(kChangeText, this);
    AChangeBase->setEnabled(false);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(ACopyBase);
    PopupMenu1->addAction(AChangeBase);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(mapToGlobal(at)); });

    ErrorText = new QLabel(this);
    ErrorText->setStyleSheet(QStringLiteral("background: #ffffe1; border: 1px solid black"));
    ErrorText->setMouseTracking(true);
    ErrorText->installEventFilter(this);
    ErrorText->hide();

    connect(OK, &QPushButton::clicked, this, &TFormMR::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormMR::CancelClick);
    connect(Save, &QPushButton::clicked, this, &TFormMR::SaveClick);
    connect(ButtonCopy, &QPushButton::clicked, this, &TFormMR::CopyBaseClick);
    connect(ButtonChange, &QPushButton::clicked, this, &TFormMR::ChangeBaseClick);
    connect(ACopyBase, &QAction::triggered, this, &TFormMR::CopyBaseClick);
    connect(AChangeBase, &QAction::triggered, this, &TFormMR::ChangeBaseClick);
    connect(ButOnLine, &QPushButton::clicked, this, &TFormMR::ButOnLineClick);
}

void TFormMR::BuildRows(QWidget* area) {
    auto* grid = new QGridLayout(area);
    enum { cNum, cType, cChoice, cKvitVizo, cKvitTop, cVxKvit, cSbrVizo, cSbrTop, cVhSbr };
    grid->addWidget(new QLabel(QStringLiteral("Квитирование"), area), 0, cKvitVizo, 1, 3, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Сброс"), area), 0, cSbrVizo, 1, 3, Qt::AlignCenter);
    const std::pair<int, const char*> headings[] = {{cNum, "   №     вых."},
                                                    {cKvitVizo, "с центральной панели ВИЗО"},
                                                    {cKvitTop, "с верхнего     уровня"},
                                                    {cVxKvit, "номер входа       внешнего квитирования"},
                                                    {cSbrVizo, "с центральной панели ВИЗО"},
                                                    {cSbrTop, "с верхнего     уровня"},
                                                    {cVhSbr, "номер входа     внешнего       сброса"}};
    for (const auto& [column, text] : headings) {
        auto* label = new QLabel(QString::fromUtf8(text), area);
        label->setWordWrap(true);
        grid->addWidget(label, 1, column);
    }

    const QStringList types{QStringLiteral("сигнал."), QStringLiteral("управл.")};
    const QStringList lightSound{QStringLiteral("свет(перевод в ровн.)"), QStringLiteral("звук(с гашением)")};
    const QStringList blocking{QStringLiteral("без блокировки"), QStringLiteral("с   блокировкой")};
    for (int k = 0; k < Rows; ++k) {
        const size_t i = size_t(k);
        const int r = k + 2;
        grid->addWidget(new QLabel(QString::number(k + 1), area), r, cNum);
        const auto list = [&](Row<QComboBox>& kind, const QStringList& items, int column) {
            kind[i] = new QComboBox(area);
            kind[i]->addItems(items);
            grid->addWidget(kind[i], r, column);
            connect(kind[i], &QComboBox::currentIndexChanged, this, &TFormMR::EditVxKvit1Change);
        };
        list(TipVyh, types, cType);
        list(Kvit, lightSound, cChoice);
        list(Block, blocking, cChoice);
        Block[i]->hide();
        connect(TipVyh[i], &QComboBox::activated, this, [this, i] { TipVyh1Click(TipVyh[i]); });
        connect(Kvit[i], &QComboBox::activated, this, [this, i] { Kvit1Click(Kvit[i]); });
        connect(Block[i], &QComboBox::activated, this, [this, i] { Block1Click(Block[i]); });
        const auto box = [&](Row<QCheckBox>& kind, int column) {
            kind[i] = new QCheckBox(area);
            grid->addWidget(kind[i], r, column, Qt::AlignCenter);
            QCheckBox* b = kind[i];
            connect(b, &QCheckBox::clicked, this, [this, b] { CheckClick(b); });
        };
        box(KvitVizo, cKvitVizo);
        box(KvitTopLevel, cKvitTop);
        box(SbrVizo, cSbrVizo);
        box(SbrTopLevel, cSbrTop);
        const auto edit = [&](Row<QLineEdit>& kind, int column) {
            kind[i] = new QLineEdit(area);
            kind[i]->setMaxLength(2);
            kind[i]->setFixedWidth(40);
            kind[i]->installEventFilter(this);
            grid->addWidget(kind[i], r, column, Qt::AlignCenter);
            connect(kind[i], &QLineEdit::textChanged, this, &TFormMR::EditVxKvit1Change);
        };
        edit(EditVxKvit, cVxKvit);
        edit(EditVhSbr, cVhSbr);
    }
}

BlockSession TFormMR::NewBlockSession() {
    BlockSessionBlocks b;
    const auto block = [](const TConfiguration&) { return std::vector<int>{DeviceBlocks::RelayBase}; };
    b.readIds = block;
    b.writeIds = block;
    b.lengthByte = [](const TConfiguration&) { return DeviceBlocks::RelayBaseLen; };
    b.modified = [](const TConfiguration& cfg) { return cfg.MR.GetMrBaseSaved(cfg.MR.GetCurSlot()) == 0; };
    b.clearModified = [](TConfiguration& cfg) { cfg.MR.SetMrBaseSaved(cfg.MR.GetSlot2(), 1); };
    b.saveReserve = &RelayRows::SaveReserve;
    b.restoreReserve = &RelayRows::RestoreReserve;
    b.saveReserveOnFileClose = true;
    b.closeQuestion = QStringLiteral("База  была изменена. Пeредать в прибор?"); // the Latin e as shown
    b.closeCaption = QStringLiteral("Подтвердите передачу базы данных");
    b.askWhenUnmodified = false;
    b.clearModifiedAfterWrite = true;
    b.pauseBeforeBlockMs = 0;
    b.devNumRefresh = DevNumRefresh::AfterEachWrite;
    return BlockSession(context_.Cfg(), context_.ComPort(), this, std::move(b));
}

bool TFormMR::EditSlot(int slot) {
    TConfiguration& cfg = context_.Cfg();
    const int m = cfg.Serv.RelayModuleIndex(slot);
    if (m < 0 || m >= TProgMRClass::ModuleCount) return false;
    cfg.MR.SetCurSlot(slot);
    cfg.MR.SetSlot2(slot);
    // Block 9 holds all five modules: a write must carry what the device holds for the others.
    if (!context_.FileMode()) {
        if (!session_.Read(nullptr)) return false;
        SaveReserve(cfg);
    }
    m_ = m;
    LabNMod->setText(QString::number(m + 1));
    LabTMod->setText(cfg.Serv.GetSlotCaption(slot));
    FillRows();
    ShowEditorModal(parentWidget(), this);
    return true;
}

int TFormMR::Code() const {
    const TConfiguration& cfg = context_.Cfg();
    return cfg.Serv.GetSlotModuleCode(cfg.MR.GetCurSlot());
}

void TFormMR::FillRows() {
    TConfiguration& cfg = context_.Cfg();
    const int limit = InputLimit(cfg);
    for (int k = 0; k < Rows; ++k)
        Paint(k, LoadRow(cfg.MR, k, m_, limit));
}

void TFormMR::Paint(int k, const RelayRows::Row& row) {
    const bool loading = loading_;
    loading_ = true;
    const size_t i = size_t(k);
    TipVyh[i]->setCurrentIndex(row.type);
    Kvit[i]->setCurrentIndex(row.lightSound);
    Block[i]->setCurrentIndex(row.blocking);
    Kvit[i]->setVisible(row.type == Signal);
    Block[i]->setVisible(row.type == Control);
    KvitVizo[i]->setChecked(row.kvitVizo);
    KvitTopLevel[i]->setChecked(row.kvitTopLevel);
    SbrVizo[i]->setChecked(row.sbrVizo);
    SbrTopLevel[i]->setChecked(row.sbrTopLevel);
    for (QWidget* w : std::initializer_list<QWidget*>{KvitVizo[i], KvitTopLevel[i], EditVxKvit[i]})
        w->setEnabled(row.kvitEnabled);
    for (QWidget* w : std::initializer_list<QWidget*>{SbrVizo[i], SbrTopLevel[i], EditVhSbr[i]})
        w->setEnabled(row.sbrEnabled);
    EditVxKvit[i]->setText(row.vxKvit);
    EditVhSbr[i]->setText(row.vhSbr);
    loading_ = loading;
}

RelayRows::Row TFormMR::Shown(int k) const {
    const size_t i = size_t(k);
    RelayRows::Row row;
    row.type = TipVyh[i]->currentIndex();
    row.lightSound = Kvit[i]->currentIndex();
    row.blocking = Block[i]->currentIndex();
    row.kvitVizo = KvitVizo[i]->isChecked();
    row.kvitTopLevel = KvitTopLevel[i]->isChecked();
    row.sbrVizo = SbrVizo[i]->isChecked();
    row.sbrTopLevel = SbrTopLevel[i]->isChecked();
    row.kvitEnabled = EditVxKvit[i]->isEnabled();
    row.sbrEnabled = EditVhSbr[i]->isEnabled();
    row.vxKvit = EditVxKvit[i]->text();
    row.vhSbr = EditVhSbr[i]->text();
    return row;
}

void TFormMR::ApplyChoice(const Row<QComboBox>& lists, QComboBox* sender, ChoiceRule rule) {
    const int k = RowOf(lists, sender);
    if (k < 0) return;
    RelayRows::Row row = Shown(k);
    rule(row, context_.Cfg().MR, k, m_, sender->currentIndex());
    Paint(k, row);
}

void TFormMR::TipVyh1Click(QComboBox* sender) {
    ApplyChoice(TipVyh, sender, &ApplyType);
}
void TFormMR::Kvit1Click(QComboBox* sender) {
    ApplyChoice(Kvit, sender, &ApplyLightSound);
}
void TFormMR::Block1Click(QComboBox* sender) {
    ApplyChoice(Block, sender, &ApplyBlocking);
}

void TFormMR::CheckClick(QCheckBox* sender) {
    TProgMRClass& mr = context_.Cfg().MR;
    const int v = sender->isChecked() ? 1 : 0;
    if (const int k = RowOf(KvitVizo, sender); k >= 0) mr.SetKvitPanel(v, k, m_);
    if (const int k = RowOf(KvitTopLevel, sender); k >= 0) mr.SetKvitTopLevel(v, k, m_);
    if (const int k = RowOf(SbrVizo, sender); k >= 0) mr.SetSbrPanel(v, k, m_);
    if (const int k = RowOf(SbrTopLevel, sender); k >= 0) mr.SetSbrTopLevel(v, k, m_);
    ClearSaved();
}

void TFormMR::ClearSaved() {
    TProgMRClass& mr = context_.Cfg().MR;
    mr.SetMrBaseSaved(mr.GetCurSlot(), 0);
    mr.SetMrBaseSaved(mr.GetSlot2(), 0);
}

void TFormMR::EditVxKvit1Change() {
    if (!loading_) ClearSaved();
}

void TFormMR::EditVxKvit1Exit(QLineEdit* sender) {
    TProgMRClass& mr = context_.Cfg().MR;
    const int kvit = RowOf(EditVxKvit, sender), sbr = RowOf(EditVhSbr, sender);
    if (kvit < 0 && sbr < 0) return;
    if (NetRelayInput::CheckVhEdit(sender) != 0) {
        sender->setText(QString::number(kvit >= 0 ? mr.GetVxKvit(kvit, m_) : mr.GetVhSbr(sbr, m_)));
        return;
    }
    const int value = sender->text().toInt();
    if (kvit >= 0)
        mr.SetVxKvit(kvit, m_, value);
    else
        mr.SetVhSbr(sbr, m_, value);
}

void TFormMR::SetReplaceEnabled(bool enabled) {
    ButtonChange->setEnabled(enabled);
    AChangeBase->setEnabled(enabled);
}

void TFormMR::CopyBaseClick() {
    TConfiguration& cfg = context_.Cfg();
    CopyBase(cfg, m_);
    cfg.MR.SetMrCopyIndex(m_);
    cfg.MR.SetMrCopyCode(Code());
    SetReplaceEnabled(true);
}

void TFormMR::ChangeBaseClick() {
    TConfiguration& cfg = context_.Cfg();
    const int c = cfg.MR.GetMrCopyIndex();
    if (c < 0 || !TProgMRClass::ReplaceAllowed(cfg.MR.GetMrCopyCode(), Code())) return;
    PasteBase(cfg, c, m_);
    FillRows();
    ClearSaved();
}

void TFormMR::ButOnLineClick() {
    const TConfiguration& cfg = context_.Cfg();
    const int slot = cfg.MR.GetCurSlot();
    RelayLiveViewRequest request;
    request.moduleNumber = m_ + 1;
    request.moduleText = cfg.Serv.GetSlotCaption(slot);
    request.slotAddress = slot - 1;
    for (int o = 0; o < int(request.outputTexts.size()); ++o)
        request.outputTexts[size_t(o)] = cfg.Serv.GetOutputText(TProgMRClass::OutputCount * m_ + o);
    if (openLiveView) openLiveView(request);
}

void TFormMR::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (IsOpening(event)) FormShow();
}

void TFormMR::FormShow() {
    Cancelled = 1; // the close box and "Отмена" restore, only OK keeps
    TProgMRClass& mr = context_.Cfg().MR;
    mr.SetMrBaseSaved(mr.GetCurSlot(), 1);
    mr.SetMrBaseSaved(mr.GetSlot2(), 1);
    if (mr.GetMrCopyIndex() != -1)
        SetReplaceEnabled(TProgMRClass::ReplaceAllowed(mr.GetMrCopyCode(), Code()));
    for (int k = 0; k < Rows; ++k) {
        PaintWhite(EditVxKvit[size_t(k)]);
        PaintWhite(EditVhSbr[size_t(k)]);
    }
}

void TFormMR::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormMR::CancelClick() {
    Cancelled = 1;
    TryClose();
}

void TFormMR::reject() {
    Cancelled = 1;
    TryClose();
}

void TFormMR::TryClose() {
    if (FormCloseQuery()) done(mrCancel);
}

bool TFormMR::FormCloseQuery() {
    // The focused number edit is left first, so that its text is checked and stored.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) {
        exitDone_ = edit;
        EditVxKvit1Exit(edit);
    }
    TipVyh[0]->setFocus();
    exitDone_ = nullptr;

    TConfiguration& cfg = context_.Cfg();
    if (Cancelled == 1) {
        RestoreReserve(cfg);
        return true;
    }
    const int limit = InputLimit(cfg);
    for (int k = 0; k < Rows; ++k) {
        const size_t i = size_t(k);
        const std::pair<QLineEdit*, const char*> edits[] = {
            {EditVxKvit[i], " Неверный адрес входа внеш. квитирования"},
            {EditVhSbr[i], " Неверный адрес входа внеш. сброса"}};
        for (const auto& [edit, hint] : edits) {
            if (!edit->isEnabled()) continue;
            if (edit->text().isEmpty()) {
                ServInput::ShowInputError(edit);
                return false;
            }
            if (edit->text().toInt() > limit) {
                ServInput::ShowInputErrorHint(edit, ErrorText, QString::fromUtf8(hint));
                const bool kvit = edit == EditVxKvit[i];
                edit->setText(QString::number(kvit ? cfg.MR.GetVxKvit(k, m_) : cfg.MR.GetVhSbr(k, m_)));
                return false;
            }
        }
    }
    return session_.CloseQuery(nullptr);
}

void TFormMR::SaveClick() {
    session_.Write(nullptr);
}

bool TFormMR::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ErrorText) {
        if (event->type() == QEvent::MouseMove) ErrorText->hide();
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return false;
    if (event->type() == QEvent::FocusOut && edit != exitDone_) {
        EditVxKvit1Exit(edit);
    } else if (event->type() == QEvent::KeyPress) {
        PaintWhite(edit);
        switch (ServInput::KeyFilterDigits(edit, static_cast<QKeyEvent*>(event))) {
        case 0:
            return false;
        case 13:
            focusNextChild();
            return true;
        default:
            return true;
        }
    }
    return false;
}
