#include "Prog_recvmbm.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "InfoPrint.h"
#include "NetRelayInput.h"
#include "NetTransfer.h"
#include "RtfTablePrint.h"
#include "RtfWriter.h"
#include "ServInput.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The numeric columns: their check kind and their field of the channel.
struct NumberColumn {
    int kind;
    QString (TProgMBMClass::*get)(int) const;
    bool (TProgMBMClass::*set)(const QString&, int);
};
constexpr NumberColumn kNumberColumns[] = {
    {0, &TProgMBMClass::GetChNSkText, &TProgMBMClass::SetChNSkText},
    {1, &TProgMBMClass::GetChVSkText, &TProgMBMClass::SetChVSkText},
    {2, &TProgMBMClass::GetChUstLLText, &TProgMBMClass::SetChUstLLText},
    {2, &TProgMBMClass::GetChUstLText, &TProgMBMClass::SetChUstLText},
    {2, &TProgMBMClass::GetChUstHText, &TProgMBMClass::SetChUstHText},
    {2, &TProgMBMClass::GetChUstHHText, &TProgMBMClass::SetChUstHHText},
};

template <class W, size_t N> int RowOf(const std::array<W*, N>& column, const QObject* control) {
    const auto it = std::find(column.begin(), column.end(), control);
    return it == column.end() ? -1 : int(it - column.begin());
}

} // namespace

TFormR_MBM::TFormR_MBM(EditorContext& context, const QStringList& defaultUnits, QWidget* parent)
    : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Программирование масштабирования аналоговых сигналов локальной сети"));
    for (int i = 0; i < 16; ++i)
        ctx_.Cfg().MBA.SetRazmFromControl(defaultUnits, i);

    auto* layout = new QVBoxLayout(this);
    LabMod = new QLabel(QStringLiteral("Аналоговые входы локальной сети ModBus"), this);
    layout->addWidget(LabMod);
    ScrollBox1 = new QScrollArea(this);
    auto* area = new QWidget(ScrollBox1);
    auto* grid = new QGridLayout(area);
    const QStringList captions{QStringLiteral("   №     входа"),  QStringLiteral("технолог. позиция"),
                               QStringLiteral("размерн."),        QStringLiteral("  min шкалы"),
                               QStringLiteral("  max шкалы"),     QStringLiteral("уставка      LL"),
                               QStringLiteral("уставка       L"), QStringLiteral("уставка       H"),
                               QStringLiteral("уставка      HH")};
    for (int c = 0; c < captions.size(); ++c)
        grid->addWidget(new QLabel(captions[c], area), 0, c + 1);
    for (int r = 0; r < Rows; ++r) {
        const size_t i = size_t(r);
        LabN[i] = new QLabel(area);
        Label[i] = new QLabel(area);
        Razm[i] = new QComboBox(area);
        Razm[i]->installEventFilter(this);
        int column = 0;
        grid->addWidget(LabN[i], r + 1, column++);
        grid->addWidget(Label[i], r + 1, column++);
        for (Column<QLineEdit>* edits : {&Poz, &NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH}) {
            if (edits == &NSK) grid->addWidget(Razm[i], r + 1, column++);
            auto* e = new QLineEdit(area);
            e->setMaxLength(8);
            e->installEventFilter(this);
            connect(e, &QLineEdit::textChanged, this, &TFormR_MBM::Poz1Change);
            (*edits)[i] = e;
            grid->addWidget(e, r + 1, column++);
        }
        Poz[i]->setToolTip(QStringLiteral("ввод текстового реквизита выхода"));
        connect(Razm[i], &QComboBox::currentIndexChanged, this, &TFormR_MBM::Poz1Change);
        connect(Razm[i], &QComboBox::activated, this, [this, r](int index) { Razm1Click(r, index); });
    }
    ScrollBox1->setWidget(area);
    ScrollBox1->setWidgetResizable(true);
    layout->addWidget(ScrollBox1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    BNew1 = new QPushButton(kPrintCaption, this);
    Save = new QPushButton(QStringLiteral("Save"), this);
    Save->hide();
    OK = new QPushButton(QStringLiteral("OK"), this);
    for (QPushButton* b : {BNew1, Save, OK}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    ScrollBox2 = new QFrame(this);
    auto* panel = new QVBoxLayout(ScrollBox2);
    But3 = new QPushButton(QStringLiteral("Заполнить таблицу для печати"), ScrollBox2);
    But5 = new QPushButton(QStringLiteral("Печать "), ScrollBox2);
    Button1 = new QPushButton(QStringLiteral("Сохранить в файле"), ScrollBox2);
    RichEdit1 = new QTextEdit(ScrollBox2);
    RichEdit1->setReadOnly(true);
    RichEdit1->hide();
    RichEdit2 = new QTextEdit(ScrollBox2);
    RichEdit2->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{But3, But5, Button1, RichEdit1, RichEdit2})
        panel->addWidget(w);
    ScrollBox2->hide();
    layout->addWidget(ScrollBox2);
    DialSaveFile.MakeWith([this] { return MakeRtfSaveDialog(this); });
    DialPrint.MakeWith([this] {
        auto* dialog = new QPrintDialog(this);
        dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection);
        return dialog;
    });

    connect(OK, &QPushButton::clicked, this, &TFormR_MBM::OKClick);
    connect(Save, &QPushButton::clicked, this, &TFormR_MBM::SaveClick);
    connect(BNew1, &QPushButton::clicked, this, &TFormR_MBM::BNew1Click);
    connect(But3, &QPushButton::clicked, this, &TFormR_MBM::But3Click);
    connect(But5, &QPushButton::clicked, this, &TFormR_MBM::But5Click);
    connect(Button1, &QPushButton::clicked, this, &TFormR_MBM::Button1Click);
}

void TFormR_MBM::ClearRows() {
    for (int r = 0; r < Rows; ++r) {
        const size_t i = size_t(r);
        LabN[i]->setText(QStringLiteral("_"));
        LabN[i]->setToolTip(QString());
        Label[i]->setText(QStringLiteral("_"));
        Razm[i]->setCurrentIndex(-1);
        Razm[i]->setEnabled(false);
        for (Column<QLineEdit>* edits : {&Poz, &NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH}) {
            (*edits)[i]->clear();
            (*edits)[i]->setEnabled(false);
        }
    }
}

void TFormR_MBM::ShowRow(int r) {
    const TProgMBMClass& mbm = ctx_.Cfg().MBM;
    const size_t i = size_t(r);
    Poz[i]->setText(mbm.GetChPozText(r));
    Razm[i]->setCurrentIndex(mbm.GetChRazm(r));
    const Column<QLineEdit>* numbers[] = {&NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH};
    for (size_t c = 0; c < std::size(numbers); ++c) {
        const NumberColumn& column = kNumberColumns[c];
        (*numbers[c])[i]->setText((mbm.*column.get)(r));
    }
}

void TFormR_MBM::FillRows() {
    const QStringList units = ctx_.Cfg().MBA.FillRazmList();
    for (QComboBox* list : Razm) {
        list->clear();
        list->addItems(units);
    }
    ClearRows();
    const Scaling::BlockRows edited = Scaling::EditableRows(ctx_.Cfg(), Block);
    for (const Scaling::RowLabels& row : Scaling::Labels(ctx_.Cfg())) {
        const size_t i = size_t(row.row);
        LabN[i]->setText(row.ident);
        LabN[i]->setToolTip(row.hint);
        Label[i]->setText(row.number);
        ShowRow(row.row);
        const bool enabled = row.row >= edited.first && row.row < edited.first + edited.count;
        Razm[i]->setEnabled(enabled);
        for (Column<QLineEdit>* edits : {&Poz, &NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH})
            (*edits)[i]->setEnabled(enabled);
    }
}

void TFormR_MBM::Ust1LLExit(QLineEdit* edit) {
    TProgMBMClass& mbm = ctx_.Cfg().MBM;
    const Column<QLineEdit>* numbers[] = {&NSK, &VSK, &UstLL, &UstL, &UstH, &UstHH};
    for (size_t c = 0; c < std::size(numbers); ++c) {
        const int r = RowOf(*numbers[c], edit);
        if (r < 0) continue;
        const NumberColumn& column = kNumberColumns[c];
        if (NetRelayInput::CheckAnValueEdit(edit, column.kind) == 1)
            edit->setText((mbm.*column.get)(r));
        else
            (mbm.*column.set)(edit->text(), r);
        return;
    }
    // A position text waits for the close.
}

void TFormR_MBM::Poz1Change() {
    ctx_.Cfg().MBM.NetEdit.AnGroupsWritten = 0;
}

void TFormR_MBM::Razm1Click(int row, int index) {
    ctx_.Cfg().MBM.SetChRazm(index, row);
}

bool TFormR_MBM::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::FocusOut && edit) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (!inExit_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            inExit_ = true;
            Ust1LLExit(edit);
            inExit_ = false;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (edit && RowOf(Poz, edit) >= 0) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                focusNextChild();
                return true;
            }
        } else if (ServInput::KeyFilterShiftDigit(static_cast<QWidget*>(watched), key) == 1) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormR_MBM::FormCloseQuery() {
    // The edit being left runs its exit check before anything is read.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && !inExit_) {
        inExit_ = true;
        Ust1LLExit(edit);
        OK->setFocus();
        inExit_ = false;
    }
    setResult(2);
    TProgMBMClass& mbm = ctx_.Cfg().MBM;
    const Scaling::BlockRows rows = Scaling::EditableRows(ctx_.Cfg(), Block);
    for (int r = rows.first; r < rows.first + rows.count; ++r) {
        mbm.SetChPozText(Poz[size_t(r)]->text(), r);
        if (Razm[size_t(r)]->currentIndex() >= 0) mbm.SetChRazm(Razm[size_t(r)]->currentIndex(), r);
    }
    return true;
}

void TFormR_MBM::OKClick() {
    if (FormCloseQuery()) done(2);
}

void TFormR_MBM::reject() {
    OKClick();
}

void TFormR_MBM::SaveClick() {
    if (NetTransfer::WriteGroups(ctx_, ProgressBar1, this, 100, 25))
        ctx_.Cfg().MBM.NetEdit.AnGroupsWritten = 1;
}

std::vector<Scaling::TableRow> TFormR_MBM::TableRows() const {
    std::vector<Scaling::TableRow> rows;
    const int n = std::min(ctx_.Cfg().Serv.GetNetAnTotal(), int(Rows));
    for (int r = 0; r < n; ++r) {
        const size_t i = size_t(r);
        rows.push_back({LabN[i]->text(), Label[i]->text(), Poz[i]->text(), Razm[i]->currentText(),
                        NSK[i]->text(), VSK[i]->text(), UstLL[i]->text(), UstL[i]->text(), UstH[i]->text(),
                        UstHH[i]->text()});
    }
    return rows;
}

void TFormR_MBM::BNew1Click() {
    const QStringList lines =
        Scaling::TabLines(ctx_.IdentityLineFor(QStringLiteral("ВЕГ-05HMI  ")), LabMod->text(), TableRows());
    RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
    PrintLinesToRtf(this, &ctx_, DialSaveFile, lines, kLandscape);
}

void TFormR_MBM::But3Click() {
    const QStringList lines =
        Scaling::FixedLines(ctx_.IdentityLineFor(QStringLiteral("ВЕГ-05HMI  ")), LabMod->text(), TableRows());
    RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFormR_MBM::But5Click() {
    QTextEdit* source = RichEdit1;
    QString job = QStringLiteral("Печать всей таблицы");
    const QTextCursor cursor = RichEdit1->textCursor();
    if (cursor.hasSelection()) {
        RichEdit2->show();
        RichEdit2->clear();
        QString selected = cursor.selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        RichEdit2->setPlainText(QStringList{QStringLiteral("Печать выделенной части таблицы"),
                                            RichEdit1->toPlainText().split(QLatin1Char('\n')).value(3),
                                            selected}
                                    .join(QLatin1Char('\n')));
        source = RichEdit2;
        job = QStringLiteral("Печать  выделенной части таблицы");
    }
    if (ShowModal(DialPrint) == QDialog::Accepted) {
        DialPrint->printer()->setDocName(job);
        source->print(DialPrint->printer());
    }
    RichEdit2->hide();
}

void TFormR_MBM::Button1Click() {
    for (;;) {
        DialSaveFile->selectFile(QString());
        if (ShowModal(DialSaveFile) != QDialog::Accepted) return;
        const QString name = CheckedRtfName(this, DialSaveFile->selectedFiles().value(0));
        if (name.isEmpty()) continue;
        if (QFile::exists(name)) {
            if (MessageBox(this, QStringLiteral("Файл с таким именем существует.\nЗаменить?"),
                           QStringLiteral("Сохранение файла"), MsgButtons::YesNo, MsgIcon::Question,
                           mrNo) != mrYes)
                continue;
        }
        // The old file is replaced only by a whole new one.
        const QByteArray document = RtfDocument(RichEdit1->toPlainText().split(QLatin1Char('\n')));
        if (SavePrintFile(this, name, document) != RtfPrintOutcome::ChooseNameAgain) return;
    }
}
