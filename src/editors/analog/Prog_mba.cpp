#include "Prog_mba.h"

#include "AnalogLists.h"
#include "AnalogRows.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "InfoPrint.h"
#include "KalibrKit.h"
#include "NumberText.h"
#include "Obrtipdat.h"
#include "Prog_infvyh.h"
#include "Prog_kalibr.h"
#include "ServInput.h"
#include "ShownTransfer.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

using namespace AnalogRows;

namespace {

void Paint(QWidget* control, const QColor& color) {
    QPalette pal = control->palette();
    pal.setColor(QPalette::Base, color);
    control->setPalette(pal);
}

template <class W> int RowOf(const TFormPROG::Row<W>& row, const QObject* control) {
    const auto it = std::find(row.begin(), row.end(), control);
    return it == row.end() ? -1 : int(it - row.begin());
}

// Items and selection without the change notifications of a user's choice.
void SetItems(QComboBox* list, const QStringList& items, int selected) {
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(selected >= 0 && selected < items.size() ? selected : -1);
}

// A stored limit of a free scale, within −200..200.
QString FreeLimitText(float value, const QString& stored) {
    if (value < -200) return QStringLiteral("-200");
    if (value > 200) return QStringLiteral("200");
    return stored;
}

constexpr int FreeScaleKind = 9;

} // namespace

TFormPROG::TFormPROG(EditorContext& context, const QStringList& defaultUnits, QWidget* parent)
    : QDialog(parent), context_(context), session_(NewBlockSession()) {
    setWindowTitle(QStringLiteral("Программирование аналоговых сигналов"));
    TProgMBAClass& mba = context_.Cfg().MBA;
    for (int i = 0; i < TProgMBAClass::UnitCount; ++i)
        mba.SetRazmFromControl(defaultUnits, i);

    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    LabMod = new QLabel(QStringLiteral("Модуль"), this);
    LabTMod = new QLabel(this);
    LabN = new QLabel(this);
    head->addWidget(LabMod);
    head->addWidget(LabTMod);
    head->addSpacing(24);
    head->addWidget(LabN);
    head->addStretch();
    layout->addLayout(head);

    auto* rows = new QWidget(this);
    BuildRows(rows);
    layout->addWidget(rows);
    BuildOutputs();
    layout->addWidget(GroupBox1);

    const auto button = [this](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        return b;
    };
    OK = button(QStringLiteral("OK"));
    Cancel = button(QStringLiteral("Отмена"));
    Save = button(QStringLiteral("Save"));
    ButtonCopy = button(QStringLiteral("Копировать базу"));
    ButtonChange = button(QStringLiteral("Заменить базу"));
    ButKalibr = button(QStringLiteral("on line анал. сигн."));
    Button2 = button(QStringLiteral("Программирование дискр. сигналов"));
    ButOnLineVyh = button(QStringLiteral("on line дискретных выходов"));
    BNew1 = button(kPrintCaption);
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {ButtonCopy, ButtonChange, BNew1, ButKalibr, Button2, ButOnLineVyh})
        tools->addWidget(b);
    tools->addStretch();
    layout->addLayout(tools);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    for (QPushButton* b : {Save, OK, Cancel})
        closing->addWidget(b);
    layout->addLayout(closing);

    ACopyBase = new QAction(QStringLiteral("Копировать базу модуля"), this);
    AChangeBase = new QAction(QStringLiteral("Заменить базу модуля"), this);
    ADelete = new QAction(QStringLiteral("Удалить"), this);
    PopupMenu1 = new QMenu(this);
    N10 = PopupMenu1->addAction(ACopyBase->text());
    N11 = PopupMenu1->addAction(AChangeBase->text());
    PopupMenu1->addAction(ADelete);
    N11->setEnabled(false);
    ButtonChange->setEnabled(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (PopupMenu1AutoPopup) PopupMenu1->popup(mapToGlobal(at));
    });

    // The hidden print area; its buttons have no handler.
    PrintArea = new QFrame(this);
    auto* print = new QVBoxLayout(PrintArea);
    RichEdit1 = new QTextEdit(PrintArea);
    But3 = new QPushButton(QStringLiteral("Заполнить таблицу для печати"), PrintArea);
    But5 = new QPushButton(QStringLiteral("Печать "), PrintArea);
    Button1 = new QPushButton(QStringLiteral("Сохранить в файле"), PrintArea);
    for (QWidget* w : std::initializer_list<QWidget*>{RichEdit1, But3, But5, Button1})
        print->addWidget(w);
    PrintArea->hide();
    DialSaveFile.MakeWith([this] { return MakeRtfSaveDialog(this); });

    connect(OK, &QPushButton::clicked, this, &TFormPROG::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormPROG::CancelClick);
    connect(Save, &QPushButton::clicked, this, &TFormPROG::SaveClick);
    for (QAction* copy : {ACopyBase, N10})
        connect(copy, &QAction::triggered, this, &TFormPROG::CopyBaseClick);
    for (QAction* change : {AChangeBase, N11})
        connect(change, &QAction::triggered, this, &TFormPROG::ChangeBaseClick);
    connect(ButtonCopy, &QPushButton::clicked, this, &TFormPROG::CopyBaseClick);
    connect(ButtonChange, &QPushButton::clicked, this, &TFormPROG::ChangeBaseClick);
    connect(ADelete, &QAction::triggered, this, &TFormPROG::DeleteClick);
    connect(BNew1, &QPushButton::clicked, this, &TFormPROG::BNew1Click);
    connect(ButKalibr, &QPushButton::clicked, this, &TFormPROG::ButKalibrClick);
    connect(Button2, &QPushButton::clicked, this, &TFormPROG::Button2Click);
    connect(ButOnLineVyh, &QPushButton::clicked, this, &TFormPROG::ButOnLineVyhClick);
}

void TFormPROG::BuildRows(QWidget* area) {
    auto* grid = new QGridLayout(area);
    // Columns of the row controls.
    enum { cNum, cPoz, cTInp, cSk, cRazm, cMin, cMax, cLL, cL, cH, cHH, cZona };
    const auto heading = [&](const QString& text, int column) {
        auto* label = new QLabel(text, area);
        grid->addWidget(label, 0, column);
        return label;
    };
    heading(QStringLiteral("№"), cNum);
    heading(QStringLiteral("технолог. позиция"), cPoz);
    Label10 = heading(QStringLiteral("входной сигнал"), cTInp);
    Label13 = heading(QStringLiteral("  тип  подключ"), cTInp);
    heading(QStringLiteral("шкала"), cSk);
    heading(QStringLiteral("разм."), cRazm);
    heading(QStringLiteral("min шкалы"), cMin);
    heading(QStringLiteral("max шкалы"), cMax);
    heading(QStringLiteral("уставка LL"), cLL);
    heading(QStringLiteral("уставка L"), cL);
    heading(QStringLiteral("уставка H"), cH);
    heading(QStringLiteral("уставка HH"), cHH);
    Label12 = heading(QStringLiteral("зона нечувст.,%."), cZona);

    const auto list = [&](Row<QComboBox>& kind, int r, int column) {
        kind[size_t(r)] = new QComboBox(area);
        grid->addWidget(kind[size_t(r)], r + 1, column);
    };
    const auto box = [&](Row<QLineEdit>& kind, int r, int column) {
        kind[size_t(r)] = new QLineEdit(area);
        kind[size_t(r)]->setContextMenuPolicy(Qt::NoContextMenu); // the form's popup menu instead
        grid->addWidget(kind[size_t(r)], r + 1, column);
    };
    // Kind by kind, in the order the row arrays have always been built.
    for (int r = 0; r < Rows; ++r)
        list(Sk, r, cSk);
    for (int r = 0; r < Rows; ++r)
        list(Razm, r, cRazm);
    for (int r = 0; r < Rows; ++r)
        list(TInp, r, cTInp);
    for (int r = 0; r < Rows; ++r)
        list(MinSk, r, cMin);
    for (int r = 0; r < Rows; ++r)
        list(MaxSk, r, cMax);
    for (int r = 0; r < Rows; ++r) {
        Label[size_t(r)] = new QLabel(QString::number(r + 1), area);
        grid->addWidget(Label[size_t(r)], r + 1, cNum);
    }
    for (int r = 0; r < Rows; ++r)
        box(Poz, r, cPoz);
    for (int r = 0; r < Rows; ++r)
        box(NSK, r, cMin);
    for (int r = 0; r < Rows; ++r)
        box(VSK, r, cMax);
    for (int r = 0; r < Rows; ++r)
        box(UstL, r, cL);
    for (int r = 0; r < Rows; ++r)
        box(UstLL, r, cLL);
    for (int r = 0; r < Rows; ++r)
        box(UstH, r, cH);
    for (int r = 0; r < Rows; ++r)
        box(UstHH, r, cHH);
    for (int r = 0; r < Rows; ++r)
        box(ZonaIns, r, cZona);

    const QStringList units = context_.Cfg().MBA.FillRazmList();
    for (int r = 0; r < Rows; ++r) {
        Poz[size_t(r)]->setMaxLength(8);
        Poz[size_t(r)]->setToolTip(QStringLiteral("ввод текстового реквизита выхода"));
        SetItems(Razm[size_t(r)], units, 0);
        connect(Razm[size_t(r)], &QComboBox::activated, this, [this, r](int i) { Razm1Click(r, i); });
        connect(TInp[size_t(r)], &QComboBox::activated, this, [this, r](int i) { TInp1Click(r, i); });
        connect(Sk[size_t(r)], &QComboBox::activated, this, [this, r](int i) { Sk1Click(r, i); });
        connect(MinSk[size_t(r)], &QComboBox::activated, this, [this, r] { MinSk1Click(r); });
        connect(MaxSk[size_t(r)], &QComboBox::activated, this, [this, r] { MaxSk2Click(r); });
        for (const Row<QComboBox>* kind : {&Sk, &Razm, &TInp, &MinSk, &MaxSk}) {
            QComboBox* l = (*kind)[size_t(r)];
            connect(l, &QComboBox::currentIndexChanged, this, &TFormPROG::Poz1Change);
            l->installEventFilter(this);
        }
        for (const Row<QLineEdit>* kind : {&Poz, &NSK, &VSK, &UstL, &UstLL, &UstH, &UstHH, &ZonaIns}) {
            QLineEdit* b = (*kind)[size_t(r)];
            connect(b, &QLineEdit::textChanged, this, &TFormPROG::Poz1Change);
            b->installEventFilter(this);
        }
    }
}

void TFormPROG::BuildOutputs() {
    GroupBox1 = new QGroupBox(QStringLiteral("Выбор диапазона выходного тока"), this);
    auto* grid = new QGridLayout(GroupBox1);
    const QStringList ranges = ItemList(kOutputRangeNames);
    const QStringList corrections = ItemList(kOutputCorrectionNames);
    for (int s = 0; s < 2; ++s) {
        const int sel = s + 1;
        grid->addWidget(new QLabel(QStringLiteral("выход %1").arg(sel), GroupBox1), s, 0);
        IOut[size_t(s)] = new QComboBox(GroupBox1);
        KorIOutBeg[size_t(s)] = new QComboBox(GroupBox1);
        KorIOutEnd[size_t(s)] = new QComboBox(GroupBox1);
        SetItems(IOut[size_t(s)], ranges, 0);
        SetItems(KorIOutBeg[size_t(s)], corrections, 0);
        SetItems(KorIOutEnd[size_t(s)], corrections, 0);
        grid->addWidget(IOut[size_t(s)], s, 1);
        grid->addWidget(KorIOutBeg[size_t(s)], s, 2);
        grid->addWidget(KorIOutEnd[size_t(s)], s, 3);
        connect(IOut[size_t(s)], &QComboBox::activated, this, [this, sel](int i) { IOut1Click(sel, i); });
        connect(KorIOutBeg[size_t(s)], &QComboBox::activated, this,
                [this, sel](int i) { KorIOutBeg1Click(sel, i); });
        connect(KorIOutEnd[size_t(s)], &QComboBox::activated, this,
                [this, sel](int i) { KorIOutEnd1Click(sel, i); });
        for (QComboBox* l : {IOut[size_t(s)], KorIOutBeg[size_t(s)], KorIOutEnd[size_t(s)]})
            connect(l, &QComboBox::currentIndexChanged, this, &TFormPROG::Poz1Change);
    }
}

BlockSession TFormPROG::NewBlockSession() {
    BlockSessionBlocks b;
    const auto block = [this](const TConfiguration&) { return std::vector<int>{M0() + 1}; };
    b.readIds = block;
    b.writeIds = block;
    b.lengthByte = [](const TConfiguration& cfg) { return cfg.MBA.GetBlockLen(); };
    b.modified = [](const TConfiguration& cfg) { return cfg.MBA.GetMbaBaseChanged() == 1; };
    b.clearModified = [](TConfiguration& cfg) { cfg.MBA.SetMbaBaseChanged(0); };
    b.saveReserve = [this](TConfiguration& cfg) { SaveModuleReserve(cfg, M0()); };
    b.restoreReserve = [this](TConfiguration& cfg) { RestoreModuleReserve(cfg, M0()); };
    b.saveReserveOnFileClose = true;
    b.closeQuestion = kBaseChangedQuestion;
    b.closeCaption = QStringLiteral("Подтвердите передачу базы данных");
    b.askWhenUnmodified = false;
    b.clearModifiedAfterWrite = true;
    b.pauseBeforeBlockMs = 0;
    b.devNumRefresh = DevNumRefresh::AfterEachWrite;
    b.written = [this](TConfiguration&) { context_.NotifyConfigurationChanged(); };
    return BlockSession(context_.Cfg(), context_.ComPort(), this, std::move(b));
}

int TFormPROG::M0() const {
    return context_.Cfg().Serv.AnModuleIndex(context_.Cfg().MBA.GetCurSlot());
}

int TFormPROG::Code() const {
    return context_.Cfg().Serv.GetSlotModuleCode(context_.Cfg().MBA.GetCurSlot());
}

void TFormPROG::PrepareForSlot(const QString& slotCaption) {
    const int code = Code();
    const int slot = context_.Cfg().MBA.GetCurSlot();
    Button2->setVisible(code != 15);
    ButOnLineVyh->setVisible(code != 13);
    Label10->hide();
    LabTMod->setText(code == 13 ? QStringLiteral("БРОН") : code == 15 ? QStringLiteral("БРОК") : slotCaption);
    LabN->setText(QStringLiteral("входы ") + QString::number(slot));
    LoadRows(false);
    LoadOutputs();
}

void TFormPROG::LoadStandardRanges(int row, int kind) {
    const TProgMBAClass& mba = context_.Cfg().MBA;
    const auto ranges = TProgMBAClass::GetScaleRanges(kind);
    const int index = mba.GetChB1Bits0to5(M0(), row);
    const TProgMBAClass::SkList mins = TProgMBAClass::FillMinSkList(ranges, index);
    SetItems(MinSk[size_t(row)], mins.Items, mins.Selected);
    const TProgMBAClass::SkList maxs =
        TProgMBAClass::FillMaxSkList(ranges, MinSk[size_t(row)]->currentText(), index);
    SetItems(MaxSk[size_t(row)], maxs.Items, maxs.Selected);
}

void TFormPROG::LoadRows(bool replacement) {
    const TProgMBAClass& mba = context_.Cfg().MBA;
    const int m0 = M0();
    const int code = Code();
    loading_ = true;
    bool wiring = false, deadBand = false;
    for (int r = 0; r < Rows; ++r) {
        const size_t i = size_t(r);
        const int kind = mba.GetChSk(m0, r);
        const RowLayout layout = replacement ? ReplacementLayout(code, r, kind) : OpeningLayout(r, kind);
        Label[i]->setToolTip(RowHint(m0, r));
        Razm[i]->setCurrentIndex(mba.GetChRazm(m0, r));
        Poz[i]->setText(mba.GetChPozText(m0, r));
        NSK[i]->setText(mba.GetChNSkText(m0, r));
        VSK[i]->setText(mba.GetChVSkText(m0, r));
        UstLL[i]->setText(mba.GetChUstLLText(m0, r));
        UstL[i]->setText(mba.GetChUstLText(m0, r));
        UstH[i]->setText(mba.GetChUstHText(m0, r));
        UstHH[i]->setText(mba.GetChUstHHText(m0, r));
        SetItems(Sk[i], Items(layout.sk), kind);
        const int input = layout.tinp == TInpItems::Wiring ? mba.GetChB1Bit6(m0, r) : mba.GetChTInp(m0, r);
        SetItems(TInp[i], Items(layout.tinp), input);
        TInp[i]->setVisible(layout.tinp != TInpItems::Hidden);
        wiring = wiring || layout.tinp == TInpItems::Wiring;
        MinSk[i]->clear();
        MaxSk[i]->clear();
        if (layout.standardRange) LoadStandardRanges(r, kind);
        MinSk[i]->setVisible(layout.standardRange);
        MaxSk[i]->setVisible(layout.standardRange);
        NSK[i]->setVisible(!layout.standardRange);
        VSK[i]->setVisible(!layout.standardRange);
        ZonaIns[i]->setText(QString::number(mba.GetChB1Bits4to5(m0, r)));
        ZonaIns[i]->setVisible(layout.deadBand);
        deadBand = deadBand || layout.deadBand;
    }
    Label12->setVisible(deadBand);
    Label13->setVisible(wiring);
    Label10->setVisible(replacement && ReplacementShowsInputHeading(code));
    loading_ = false;
}

void TFormPROG::LoadOutputs() {
    loading_ = true;
    for (int sel = 1; sel <= 2; ++sel) {
        IOut[size_t(sel - 1)]->setCurrentIndex(context_.Cfg().MBA.GetConnBit(M0(), sel));
        ShowCorrections(sel);
    }
    loading_ = false;
}

// The correction lists of output sel: shown with the stored codes for 4-20 mA, hidden for 0-5 mA.
void TFormPROG::ShowCorrections(int sel) {
    const TProgMBAClass& mba = context_.Cfg().MBA;
    const size_t s = size_t(sel - 1);
    const bool shown = mba.GetConnBit(M0(), sel) == 0;
    KorIOutBeg[s]->setVisible(shown);
    KorIOutEnd[s]->setVisible(shown);
    if (!shown) return;
    KorIOutBeg[s]->setCurrentIndex(mba.GetRangeHi(M0(), sel));
    KorIOutEnd[s]->setCurrentIndex(mba.GetRangeLo(M0(), sel));
}

void TFormPROG::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (IsOpening(event)) FormShow();
}

void TFormPROG::FormShow() {
    // Each showing starts as if closed by OK: an earlier Cancel must not throw away new edits.
    Cancelled = 0;
    const TProgMBAClass& mba = context_.Cfg().MBA;
    if (mba.GetMbaCopyIndex() != -1) {
        const bool sameCode = mba.GetMbaCopyCode() == Code();
        N11->setEnabled(sameCode);
        ButtonChange->setEnabled(sameCode);
        AChangeBase->setEnabled(sameCode);
    }
    for (int r = 0; r < Rows; ++r)
        for (QWidget* w : std::initializer_list<QWidget*>{
                 Sk[size_t(r)], Razm[size_t(r)], TInp[size_t(r)], MinSk[size_t(r)], MaxSk[size_t(r)],
                 Poz[size_t(r)], NSK[size_t(r)], VSK[size_t(r)], UstL[size_t(r)], UstLL[size_t(r)],
                 UstH[size_t(r)], UstHH[size_t(r)], ZonaIns[size_t(r)]})
            Paint(w, Qt::white);
}

void TFormPROG::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormPROG::CancelClick() {
    Cancelled = 1;
    TryClose();
}

void TFormPROG::reject() {
    TryClose();
}

void TFormPROG::TryClose() {
    if (FormCloseQuery()) done(closeResult_);
}

bool TFormPROG::FormCloseQuery() {
    TConfiguration& cfg = context_.Cfg();
    TProgMBAClass& mba = cfg.MBA;
    const int m0 = M0();
    const int code = Code();
    closeResult_ = mrCancel;
    if (Cancelled == 1) {
        RestoreModuleReserve(cfg, m0);
        return true;
    }
    if (code != 0) {
        std::array<int, Rows> kinds{};
        std::array<ScaleTexts, Rows> texts;
        const int rows = ValidatedRows(code);
        for (int c = 0; c < rows; ++c) {
            const size_t i = size_t(c);
            kinds[i] = mba.GetChSk(m0, c);
            mba.SetChPozText(m0, c, Poz[i]->text());
            const bool storesInput = code == 6 || code == 9 || (IsController(code) && c == 3);
            if (storesInput && TInp[i]->currentIndex() >= 0) mba.SetChTInp(m0, c, TInp[i]->currentIndex());
            texts[i] = {NSK[i]->text(), VSK[i]->text(), MinSk[i]->currentText(), MaxSk[i]->currentText()};
        }
        const std::vector<ScaleFinding> found = CheckScales(code, kinds, texts);
        for (const ScaleFinding& f : found) {
            const size_t i = size_t(f.row);
            switch (f.kind) {
            case ScaleFinding::EmptyFreeLimit:
                ServInput::ShowInputError(f.box == 0 ? NSK[i] : VSK[i]);
                break;
            case ScaleFinding::EmptyStandardLimit: {
                QComboBox* list = f.box == 0 ? MinSk[i] : MaxSk[i];
                Paint(list, Qt::red);
                QApplication::beep();
                Paint(list, Qt::white);
                break;
            }
            case ScaleFinding::BadSpan:
                ServInput::ShowInputError(VSK[i]);
                VSK[i]->setText(mba.GetChVSkText(m0, f.row));
                break;
            }
        }
        if (!found.empty()) {
            if (!AskFinishWithError(this)) return false;
            closeResult_ = mrYes;
            return true;
        }
    }
    return session_.CloseQuery(ProgressBar1);
}

void TFormPROG::SaveClick() {
    session_.Write(ProgressBar1);
}

void TFormPROG::CopyBaseClick() {
    TConfiguration& cfg = context_.Cfg();
    const int m0 = M0();
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        cfg.Copy.ModuleCopies().SetByte(m0, k, cfg.MBA.GetModuleByte(m0, k));
    cfg.MBA.SetMbaCopyIndex(m0);
    cfg.MBA.SetMbaCopyCode(Code());
    for (QAction* a : {N11, AChangeBase})
        a->setEnabled(true);
    ButtonChange->setEnabled(true);
}

void TFormPROG::ChangeBaseClick() {
    TConfiguration& cfg = context_.Cfg();
    const int source = cfg.MBA.GetMbaCopyIndex();
    if (source < 0 || cfg.MBA.GetMbaCopyCode() != Code()) return;
    const int m0 = M0();
    bool changed = false;
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k) {
        const int v = cfg.Copy.ModuleCopies().GetByte(source, k);
        changed = changed || v != cfg.MBA.GetModuleByte(m0, k);
        cfg.MBA.SetModuleByte2(m0, k, v);
    }
    LoadRows(true);
    LoadOutputs();
    if (changed) cfg.MBA.SetMbaBaseChanged(1);
}

void TFormPROG::Poz1Change() {
    if (!loading_) context_.Cfg().MBA.SetMbaBaseChanged(1);
}

void TFormPROG::Razm1Click(int row, int index) {
    context_.Cfg().MBA.SetChRazm(M0(), row, index);
}

void TFormPROG::TInp1Click(int row, int index) {
    if (!IsController(Code()) || index < 0) return;
    TProgMBAClass& mba = context_.Cfg().MBA;
    if (row < 2)
        mba.SetChB1Bit6(M0(), row, index);
    else
        mba.SetChTInp(M0(), row, index);
}

void TFormPROG::Sk1Click(int row, int kind) {
    TProgMBAClass& mba = context_.Cfg().MBA;
    const int m0 = M0();
    const int code = Code();
    const size_t i = size_t(row);
    if (kind < 0 || kind == mba.GetChSk(m0, row)) return;
    mba.SetChSk(m0, row, kind);
    const bool controllerSensor = IsController(code) && row < 2;
    if (code != 8 && !controllerSensor) return;
    if (controllerSensor) {
        const bool resistance = kind >= 7;
        if (resistance) {
            Label13->show();
            SetItems(TInp[i], Items(TInpItems::Wiring), mba.GetChB1Bit6(m0, row));
        } else {
            TInp[i]->clear();
            mba.SetChB1Bit6(m0, row, 0);
        }
        TInp[i]->setVisible(resistance);
    }
    const bool free = kind == FreeScaleKind;
    MinSk[i]->setVisible(!free);
    MaxSk[i]->setVisible(!free);
    NSK[i]->setVisible(free);
    VSK[i]->setVisible(free);
    mba.SetChB1Bits0to5(m0, row, 0);
    if (free) {
        // The boxes were hidden and may hold old texts: the stored limits, within the free
        // scale's bounds, are what the row takes.
        NSK[i]->setText(FreeLimitText(mba.GetChNSk(m0, row), mba.GetChNSkText(m0, row)));
        VSK[i]->setText(FreeLimitText(mba.GetChVSk(m0, row), mba.GetChVSkText(m0, row)));
        mba.SetChNSkText(m0, row, NSK[i]->text());
        mba.SetChVSkText(m0, row, VSK[i]->text());
        return;
    }
    LoadStandardRanges(row, kind);
    mba.SetChNSkText(m0, row, MinSk[i]->currentText());
    mba.SetChVSkText(m0, row, MaxSk[i]->currentText());
}

void TFormPROG::MinSk1Click(int row) {
    TProgMBAClass& mba = context_.Cfg().MBA;
    const size_t i = size_t(row);
    const TProgMBAClass::SkList maxs =
        TProgMBAClass::FillMaxSkList(TProgMBAClass::GetScaleRanges(mba.GetChSk(M0(), row)),
                                     MinSk[i]->currentText(), mba.GetChB1Bits0to5(M0(), row));
    SetItems(MaxSk[i], maxs.Items, maxs.Selected);
    mba.SetChNSkText(M0(), row, MinSk[i]->currentText());
    MaxSk2Click(row);
}

// Stores the range the two lists name and the maximum.
void TFormPROG::MaxSk2Click(int row) {
    TProgMBAClass& mba = context_.Cfg().MBA;
    const int m0 = M0();
    const size_t i = size_t(row);
    const int index = TProgMBAClass::FindRangeIndex(MinSk[i]->currentText(), MaxSk[i]->currentText(),
                                                    TProgMBAClass::GetScaleRanges(mba.GetChSk(m0, row)));
    if (index >= 0) mba.SetChB1Bits0to5(m0, row, index);
    mba.SetChVSkText(m0, row, MaxSk[i]->currentText());
}

void TFormPROG::MinSk1Exit(QComboBox* list) {
    if (!list->currentText().isEmpty()) return;
    Paint(list, Qt::red);
    QApplication::beep();
    Paint(list, Qt::white);
}

void TFormPROG::Ust1LLExit(QLineEdit* box) {
    TProgMBAClass& mba = context_.Cfg().MBA;
    const int m0 = M0();
    struct Field {
        int check;
        QString (TProgMBAClass::*get)(int, int) const;
        bool (TProgMBAClass::*set)(int, int, const QString&);
        bool freeBound; // −200..200 on a free scale
    };
    static const Field fields[] = {
        {0, &TProgMBAClass::GetChNSkText, &TProgMBAClass::SetChNSkText, true},
        {1, &TProgMBAClass::GetChVSkText, &TProgMBAClass::SetChVSkText, true},
        {2, &TProgMBAClass::GetChUstLLText, &TProgMBAClass::SetChUstLLText, false},
        {2, &TProgMBAClass::GetChUstLText, &TProgMBAClass::SetChUstLText, false},
        {2, &TProgMBAClass::GetChUstHText, &TProgMBAClass::SetChUstHText, false},
        {2, &TProgMBAClass::GetChUstHHText, &TProgMBAClass::SetChUstHHText, false},
    };
    const std::array<const Row<QLineEdit>*, 6> rowsOf{&NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH};
    for (size_t f = 0; f < rowsOf.size(); ++f) {
        const int row = RowOf(*rowsOf[f], box);
        if (row < 0) continue;
        const Field& field = fields[f];
        if (ServInput::CheckAnValueEdit(box, field.check)) {
            box->setText((mba.*field.get)(m0, row));
        } else if (field.freeBound && mba.GetChSk(m0, row) == FreeScaleKind &&
                   !InRangeSingle(*ParseDecimal(box->text()), -200, 200)) {
            ServInput::ShowInputError(box);
            box->setText((mba.*field.get)(m0, row));
        } else {
            (mba.*field.set)(m0, row, box->text());
        }
        PopupMenu1AutoPopup = true;
        return;
    }
    if (const int row = RowOf(Poz, box); row >= 0) {
        mba.SetChPozText(m0, row, box->text());
    } else if (const int zone = RowOf(ZonaIns, box); zone >= 0) {
        if (ServInput::CheckAnValueEdit(box, 5))
            box->setText(QString::number(mba.GetChB1Bits4to5(m0, zone)));
        else
            mba.SetChB1Bits4to5(m0, zone, box->text().trimmed().toInt());
    }
    PopupMenu1AutoPopup = true;
}

bool TFormPROG::Ust1LLKeyDown(QWidget* control, QKeyEvent* key) {
    Paint(control, Qt::white);
    return ServInput::KeyFilterShiftDigit(control, key) != 0;
}

void TFormPROG::Ust1LMouseDown(QWidget* control) {
    control->setFocus();
    PopupMenu1AutoPopup = false;
}

void TFormPROG::IOut1Click(int sel, int index) {
    if (index < 0) return;
    TProgMBAClass& mba = context_.Cfg().MBA;
    mba.SetConnBit(M0(), sel, index);
    if (index == 1) {
        mba.SetRangeHi(M0(), sel, 0);
        mba.SetRangeLo(M0(), sel, 0);
    }
    ShowCorrections(sel);
}

void TFormPROG::KorIOutBeg1Click(int sel, int index) {
    if (index >= 0) context_.Cfg().MBA.SetRangeHi(M0(), sel, index);
}

void TFormPROG::KorIOutEnd1Click(int sel, int index) {
    if (index >= 0) context_.Cfg().MBA.SetRangeLo(M0(), sel, index);
}

bool TFormPROG::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    auto* list = qobject_cast<QComboBox*>(watched);
    const bool scaleList =
        list && (RowOf(Sk, list) >= 0 || RowOf(MinSk, list) >= 0 || RowOf(MaxSk, list) >= 0);
    switch (event->type()) {
    case QEvent::FocusOut: {
        // A box shown meanwhile takes the focus for a while; only a real leave counts.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (inExit_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
        inExit_ = true;
        if (edit)
            Ust1LLExit(edit);
        else if (scaleList)
            MinSk1Exit(list);
        inExit_ = false;
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // A refused key does not reach the control.
        if (edit && RowOf(Poz, edit) < 0 && Ust1LLKeyDown(edit, key)) return true;
        if (scaleList && Ust1LLKeyDown(list, key)) return true;
        if ((edit || scaleList) && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            focusNextChild();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (edit) Ust1LMouseDown(edit);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormPROG::BNew1Click() {
    const int code = Code();
    std::vector<PrintRow> rows;
    if ((code >= 6 && code <= 9) || IsController(code)) {
        const int m0 = M0();
        for (int r = 0; r < ValidatedRows(code); ++r) {
            const size_t i = size_t(r);
            rows.push_back({Poz[i]->text(), TInp[i]->currentText(), Sk[i]->currentText(),
                            Razm[i]->currentText(), NSK[i]->text(), VSK[i]->text(), MinSk[i]->currentText(),
                            MaxSk[i]->currentText(), UstLL[i]->text(), UstL[i]->text(), UstH[i]->text(),
                            UstHH[i]->text(), context_.Cfg().MBA.GetChSk(m0, r)});
        }
    }
    const QStringList lines =
        ModuleBaseLines(context_.IdentityLine(), LabMod->text(), LabTMod->text(), LabN->text(), code, rows);
    RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
    PrintLinesToRtf(this, &context_, DialSaveFile, lines, std::nullopt);
}

// ---- Calibration and sensor types ----

void TFormPROG::ButKalibrClick() {
    if (FormKalibr == nullptr) return;
    TConfiguration& cfg = context_.Cfg();
    TProgMBAClass& mba = cfg.MBA;
    TComPortClass& port = context_.ComPort();
    const int dev = cfg.Serv.DevNum;
    const int m0 = M0();
    const int m = m0 + 1;
    const int code = Code();
    mba.SetKalibrModuleCode(code);
    const Calibration::Requests requests = Calibration::RequestsOf(dev, m, code);
    std::vector<uint8_t> reply;
    int result = requests.adcCodes(port, reply);
    if (result != 0) return ShowObmError(port, dev, result, this);
    mba.TakeSensorTypesFromReply(reply);
    FormKalibr->TipMod->setText(LabTMod->text());
    for (int r = 0; r < TFormKalibr::Rows; ++r) {
        QString position, unit;
        if (r < Rows) {
            position = Poz[size_t(r)]->text();
            unit = Razm[size_t(r)]->currentText();
        } else if (r < TProgMBAClass::ChannelCount && !IsController(code)) {
            // Inputs 5 and 6 have no editor row: their record's texts.
            position = mba.GetChPozText(m0, r);
            unit = mba.GetRazmName(mba.GetChRazm(m0, r));
        }
        FormKalibr->Positions[size_t(r)] = position;
        mba.SetKalibrRazm(r, unit);
    }
    if (requests.coldJunction) {
        result = requests.coldJunction(port, reply);
        if (result != 0) return ShowObmError(port, dev, result, this);
        mba.TakeHeaderFromReply(reply);
        FormKalibr->Positions[TFormKalibr::Rows - 1] = QStringLiteral("TXC");
        mba.SetKalibrRazm(TFormKalibr::Rows - 1, QStringLiteral("град.C"));
    }
    FormKalibr->SetSelection(mba.GetKalibrChannel());
    if (requests.rangeRecord(port, reply) == 0)
        mba.TakeRangeRecordFromReply(m0, reply);
    else
        MessageBox(this, QStringLiteral("Модуль не обслуживает запрос кодов АЦП"),
                   QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
    result = requests.calib(port, reply);
    if (result != 0) return ShowObmError(port, dev, result, this);
    mba.TakeCalibFromReply(reply);
    if (const int c = Calibration::EqualScaleChannel(mba, m0); c >= 0) {
        MessageBox(this, Calibration::ScaleCheckText(c, m), QStringLiteral("Программатор ВЕГ-17"));
        return;
    }
    FormKalibr->Module = m;
    if (ShowModal(FormKalibr) == mrYes)
        MessageBox(this, QStringLiteral("калибровка закончена с ошибкой"), QStringLiteral("Ошибка"),
                   MsgButtons::OK, MsgIcon::Error);
}

void TFormPROG::Button2Click() {
    if (FormTipDat == nullptr) return;
    const TConfiguration& cfg = context_.Cfg();
    FormTipDat->Load(M0(), cfg.Serv.GetSlotCaption(cfg.MBA.GetCurSlot()));
    ShowEditorModal(this, FormTipDat);
}

void TFormPROG::ButOnLineVyhClick() {
    if (FormVyhOnL == nullptr) return;
    const TConfiguration& cfg = context_.Cfg();
    FormVyhOnL->TipMod->setText(cfg.Serv.GetSlotCaption(cfg.MBA.GetCurSlot()));
    ShowEditorModal(this, FormVyhOnL);
}
