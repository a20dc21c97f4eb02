#include "Prog_f15.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "LocalNetwork.h"
#include "NetEditKeys.h"
#include "NetTransfer.h"
#include "ServInput.h"
#include "WindowOpening.h"
#include "editors/common/BlockSession.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TFormF15::TFormF15(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setWindowTitle(QStringLiteral("Программирование функционального блока MBM"));
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    LabMod = new QLabel(QStringLiteral("Функциональный блок ModBus Master  Ф15"), this);
    LabN_MBM = new QLabel(this);
    head->addWidget(LabMod);
    head->addWidget(LabN_MBM);
    head->addStretch();
    layout->addLayout(head);

    const auto edit = [this] {
        auto* e = new QLineEdit(this);
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, &TFormF15::EditKolVhChange);
        return e;
    };
    auto* form = new QFormLayout;
    layout->addWidget(new QLabel(QStringLiteral("Данные запроса протокола ModBus"), this));
    EditKodF = edit();
    CBoxUstr = new QComboBox(this);
    for (int a = 1; a <= 32; ++a)
        CBoxUstr->addItem(QString::number(a));
    EditKolVh = edit();
    EditKolVh->setToolTip(QStringLiteral("для КЖН - 16 или 32, для других <=32"));
    EditAdBegDat = edit();
    EditAdBegDat->setToolTip(QStringLiteral("для КЖН - 30, для ВЕГ-05 - от 340 до 37F"));
    EditKolDat = edit();
    form->addRow(QStringLiteral("код функции"), EditKodF);
    form->addRow(QStringLiteral("адрес Slave в локальной сети"), CBoxUstr);
    form->addRow(QStringLiteral("количество входов блока"), EditKolVh);
    form->addRow(QStringLiteral("нач. адрес данных в запросе"), EditAdBegDat);
    form->addRow(QStringLiteral("количество данных в запросе"), EditKolDat);
    layout->addLayout(form);
    auto* bits = new QHBoxLayout;
    Kvit = new QPushButton(QStringLiteral("Квитирование"), this);
    Kvit->setToolTip(QStringLiteral("Кнопка внешнего квитирования"));
    Sbros = new QPushButton(QStringLiteral("Сброс"), this);
    for (QPushButton* b : {Kvit, Sbros}) {
        b->setCheckable(true);
        b->setAutoDefault(false);
        bits->addWidget(b);
        connect(b, &QPushButton::clicked, this, &TFormF15::EditKolVhChange);
    }
    bits->addStretch();
    layout->addLayout(bits);

    layout->addWidget(new QLabel(QStringLiteral("Входные сигналы"), this));
    auto* grid = new QGridLayout;
    for (int j = 0; j < SignalEdits; ++j) {
        grid->addWidget(new QLabel(QString::number(j + 1), this), (j / 8) * 2, j % 8);
        Edits[size_t(j)] = edit();
        Edits[size_t(j)]->setEnabled(false);
        grid->addWidget(Edits[size_t(j)], (j / 8) * 2 + 1, j % 8);
    }
    layout->addLayout(grid);
    Legend =
        new QLabel(QStringLiteral("   1-192   --   номера вх. дискр. сигналов                             "
                                  "193-254   --  выходы функциональных блоков ФБЛ с 1 по 62"),
                   this);
    layout->addWidget(Legend);

    ErrorText = new QLabel(this);
    ErrorText->hide();
    ErrorText->installEventFilter(this);
    ErrorText->setMouseTracking(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    InformBut = new QPushButton(QStringLiteral("Информация о входах"), this);
    Save = new QPushButton(QStringLiteral("Save"), this);
    Save->hide();
    OK = new QPushButton(QStringLiteral("OK"), this);
    for (QPushButton* b : {InformBut, Save, OK}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(OK, &QPushButton::clicked, this, &TFormF15::OKClick);
    connect(Save, &QPushButton::clicked, this, &TFormF15::SaveClick);
    connect(InformBut, &QPushButton::clicked, this, &TFormF15::InformButClick);
}

void TFormF15::Prepare(int k) {
    const TProgF15Class& f15 = context_.Cfg().F15;
    block_ = k;
    LabN_MBM->setText(QString::number(k + 1));
    const int unchanged = f15.GetF15Unchanged();
    if (f15.GetFuncCode(k) != 0) {
        EditKodF->setText(QString::number(f15.GetFuncCode(k)));
        CBoxUstr->setCurrentIndex(f15.GetB3(k) - 1);
        Kvit->setChecked(f15.GetKvit(k) == 1);
        Sbros->setChecked(f15.GetSbros(k) == 1);
        EditKolVh->setText(QString::number(f15.GetB2(k)));
        EditAdBegDat->setText(
            QStringLiteral("%1").arg(f15.GetW4(k) & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper());
        EditKolDat->setText(QString::number(f15.GetW6(k)));
        const int n = std::min(f15.GetB2(k), int(SignalEdits));
        for (int j = 0; j < SignalEdits; ++j) {
            Edits[size_t(j)]->setEnabled(j < n);
            Edits[size_t(j)]->setText(QString::number(j < n ? f15.GetSignal(k, j) : 0));
        }
    } else {
        EditKodF->setText(QStringLiteral("0"));
        CBoxUstr->setCurrentIndex(-1);
        EditKolVh->setText(QStringLiteral("00"));
        EditKolDat->setText(QStringLiteral("00"));
        EditAdBegDat->setText(QStringLiteral("0000"));
        EnableSignals(0);
        Kvit->setChecked(false);
        Sbros->setChecked(false);
    }
    context_.Cfg().F15.SetF15Unchanged(unchanged);
    ErrorText->hide();
}

void TFormF15::showEvent(QShowEvent* event) {
    if (IsOpening(event)) {
        result_ = 2;
        context_.Cfg().F15.SetF15Unchanged(1);
    }
    QDialog::showEvent(event);
}

void TFormF15::EditKolVhChange() {
    context_.Cfg().F15.SetF15Unchanged(0);
}

int TFormF15::EnabledSignals() const {
    return int(std::count_if(Edits.begin(), Edits.end(), [](const QLineEdit* e) { return e->isEnabled(); }));
}

// The first n signal edits enabled keeping their numbers; the others disabled and "0".
void TFormF15::EnableSignals(int n) {
    for (int j = 0; j < SignalEdits; ++j) {
        QLineEdit* e = Edits[size_t(j)];
        if (j >= n || !e->isEnabled()) e->setText(QStringLiteral("0"));
        e->setEnabled(j < n);
    }
}

void TFormF15::EditKolVhExit() {
    if (EditKolVh->text().trimmed().isEmpty()) {
        ServInput::ShowInputErrorHint(EditKolVh, ErrorText);
        EditKolVh->setText(QString::number(context_.Cfg().F15.GetB2(block_)));
    }
    const int n = std::clamp(EditKolVh->text().toInt(), 0, int(SignalEdits));
    if (n != EnabledSignals()) EnableSignals(n);
}

void TFormF15::EditKodFExit() {
    TProgF15Class& f15 = context_.Cfg().F15;
    const int v = EditKodF->text().toInt();
    if (v == 0 && f15.GetFuncCode(block_) == 0) return;
    if (v != 15 && v != 0) {
        ServInput::ShowInputErrorHint(EditKodF, ErrorText);
        return;
    }
    if (v == 0) {
        for (QLineEdit* e : {EditKolVh, EditKolDat, EditAdBegDat})
            e->setText(QStringLiteral("00"));
        EnableSignals(0);
    }
    f15.SetFuncCode(block_, v);
}

bool TFormF15::FormCloseQuery() {
    TConfiguration& cfg = context_.Cfg();
    TProgF15Class& f15 = cfg.F15;
    LocalNet::F15Entries e;
    e.code = EditKodF->text();
    e.slave = CBoxUstr->currentIndex();
    e.inputs = EditKolVh->text();
    e.start = EditAdBegDat->text();
    e.count = EditKolDat->text();
    e.kvit = Kvit->isChecked();
    e.sbros = Sbros->isChecked();
    for (int j = 0; j < SignalEdits; ++j)
        e.signalNumbers[size_t(j)] = Edits[size_t(j)]->text();
    const LocalNet::F15Verdict v = LocalNet::CheckAndStoreF15(cfg, block_, e);
    result_ = 2;
    if (v.nothingToStore) return true;
    switch (v.fault) {
    case LocalNet::F15Fault::CodeHint:
        ServInput::ShowInputErrorHint(EditKodF, ErrorText);
        break;
    case LocalNet::F15Fault::InputsHint:
        ServInput::ShowInputErrorHint(EditKolVh, ErrorText);
        EditKolVh->setText(QString::number(f15.GetB2(block_)));
        break;
    case LocalNet::F15Fault::Message:
        MessageBox(this, v.message, QStringLiteral(" Ошибка ввода "), MsgButtons::OK, MsgIcon::Warning);
        break;
    case LocalNet::F15Fault::None:
        break;
    }
    if (v.fault != LocalNet::F15Fault::None) {
        if (!AskFinishWithError(this)) return false;
        f15.SetF15Modified(0);
        LocalNet::RestoreF15FromReserve(cfg);
        ErrorText->hide();
        result_ = 6;
        return true;
    }
    return BlockSession::CloseStaged(cfg, this,
                                     {f15.GetF15Unchanged() == 0,
                                      QStringLiteral("База  была изменена.Сохранить?"),
                                      QStringLiteral("Подтвердите сохранение базы данных"),
                                      [&] {
                                          SaveClick();
                                          f15.SetF15Unchanged(1);
                                      },
                                      [&] {
                                          LocalNet::RestoreF15FromReserve(cfg);
                                          f15.SetF15Unchanged(0);
                                      }});
}

void TFormF15::OKClick() {
    if (FormCloseQuery()) done(result_);
}

void TFormF15::reject() {
    OKClick();
}

void TFormF15::SaveClick() {
    TConfiguration& cfg = context_.Cfg();
    if (cfg.Serv.FileMode == 1) return; // nothing goes to the device from a file
    if (NetTransfer::SaveF15(context_, ProgressBar1, this, 25)) cfg.F15.SetF15Unchanged(1);
}

void TFormF15::InformButClick() {
    context_.FillInform(InformShow::Modal);
}

bool TFormF15::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ErrorText && event->type() == QEvent::MouseMove) {
        ErrorText->hide();
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const auto exit = [&] {
        if (edit == EditKolVh) EditKolVhExit();
        if (edit == EditKodF) EditKodFExit();
    };
    if (edit && FilterNetEdit(edit, event, edit == EditAdBegDat, inExit_, exit)) return true;
    return QDialog::eventFilter(watched, event);
}
