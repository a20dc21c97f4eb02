#include "Obrinfalg.h"

#include "AlgTablePrint.h"
#include "ConfigFile.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "FileDialogs.h"
#include "InfoPrint.h"
#include "PagePrinter.h"
#include "editors/common/EditorContext.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The direct-print title of the block table; the document print-out uses kAlgTablesDevicePrefix.
const QString kDirectDevicePrefix = QStringLiteral("ВЕГ-17  ");

QTableWidget* NewGrid(QWidget* parent, const std::vector<int>& widths,
                      const std::vector<QStringList>& heads) {
    auto* grid = new QTableWidget(TFormInfAlg::GridRows, int(widths.size()), parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    for (int c = 0; c < int(widths.size()); ++c) {
        grid->setColumnWidth(c, widths[size_t(c)]);
        for (int r = 0; r < TFormInfAlg::HeadRows; ++r) {
            auto* item = new QTableWidgetItem(heads[size_t(c)].value(r));
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(grid->palette().button());
            grid->setItem(r, c, item);
        }
    }
    return grid;
}

QPushButton* NewButton(const QString& text, QWidget* parent, bool bold = false, bool shown = true) {
    auto* b = new QPushButton(text, parent);
    if (bold) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    b->setVisible(shown);
    return b;
}

QTextEdit* NewHiddenText(QWidget* parent) {
    auto* e = new QTextEdit(parent);
    e->setReadOnly(true);
    e->setLineWrapMode(QTextEdit::NoWrap);
    e->hide();
    return e;
}

} // namespace

TFormInfAlg::TFormInfAlg(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FormInfAlg"));
    setWindowTitle(QStringLiteral("Информация о функциональных блоках и  алгоритмах"));
    resize(1012, 561);

    Label1 = new QLabel(QStringLiteral("Функциональные блоки"), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setStyleSheet(QStringLiteral("color: navy"));
    const QString source = QStringLiteral("Источник");
    StringGrid1 = NewGrid(this, {29, 49, 152, 84, 85, 85, 85},
                          {{"  №", " п/п"},
                           {"Имя", " "},
                           {"Тип блока", " "},
                           {source, "вход. сигнала 1"},
                           {source, "вход. сигнала 2"},
                           {source, "вход. сигнала 3"},
                           {source, "вход. сигнала 4"}});
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid2 = NewGrid(
        this, {29, 435, 496},
        {{" № ", "п/п"}, {"Наименование  алгоритма ", " "}, {"Номера ФБ, составляющих алгоритм", " "}});
    StringGrid2->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid2->horizontalHeader()->setSectionsMovable(true);
    EditingNFB = new QCheckBox(QStringLiteral("редактирование номеров блоков"), this);
    EditingNFB->setChecked(true);
    NameFromFile = NewButton(QStringLiteral("Конфигурация  алгоритмов из файла"), this);
    OK = NewButton(QStringLiteral("OK"), this);
    BNew1 = NewButton(kPrintCaption, this, true);
    BNew2 = NewButton(kPrintCaption, this, true);
    const QString fill = QStringLiteral("Заполнить таблицу для печати");
    const QString print = QStringLiteral("Печать ");
    But3 = NewButton(fill, this, false, false);
    But5 = NewButton(print, this, false, false);
    Button1 = NewButton(fill, this, false, false);
    Button2 = NewButton(print, this, false, false);
    RichEdit1 = NewHiddenText(this);
    RichEdit2 = NewHiddenText(this);
    RichEdit3 = NewHiddenText(this);
    RichEdit4 = NewHiddenText(this);

    DialOpenFile.MakeWith([this] {
        return NewOpenFileDialog(this, QString(), QStringLiteral("Файлы типа .veg (*.veg);;Все файлы (*)"),
                                 QStringLiteral("veg"));
    });
    DialSaveFile.MakeWith(
        [this] { return MakeRtfSaveDialog(this, QStringLiteral("Файлы типа .rtf (*.rtf);;Все файлы (*)")); });

    auto* grids = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(StringGrid1);
    left->addWidget(BNew1);
    grids->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(EditingNFB);
    right->addWidget(StringGrid2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BNew2, NameFromFile, OK, But3, But5, Button1, Button2})
        buttons->addWidget(b);
    right->addLayout(buttons);
    grids->addLayout(right, 2);
    auto* all = new QVBoxLayout(this);
    all->addLayout(grids);
    for (QTextEdit* e : {RichEdit1, RichEdit2, RichEdit3, RichEdit4})
        all->addWidget(e);

    connect(OK, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(NameFromFile, &QPushButton::clicked, this, &TFormInfAlg::NameFromFileClick);
    connect(BNew1, &QPushButton::clicked, this, &TFormInfAlg::BNew1Click);
    connect(BNew2, &QPushButton::clicked, this, &TFormInfAlg::BNew2Click);
    connect(But3, &QPushButton::clicked, this, &TFormInfAlg::But3Click);
    connect(Button1, &QPushButton::clicked, this, &TFormInfAlg::Button1Click);
    connect(But5, &QPushButton::clicked, this, &TFormInfAlg::But5Click);
    connect(Button2, &QPushButton::clicked, this, &TFormInfAlg::Button2Click);
    connect(StringGrid2, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (StringGrid2SelectCell(column, row)) {
            currentColumn_ = column;
            currentRow_ = row;
            return;
        }
        const QSignalBlocker block(StringGrid2);
        StringGrid2->setCurrentCell(currentRow_, currentColumn_);
    });
}

void TFormInfAlg::SetCell(QTableWidget* grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

QString TFormInfAlg::Cell(const QTableWidget* grid, int row, int column) const {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

void TFormInfAlg::ClearDataRows(QTableWidget* grid) {
    for (int r = HeadRows; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (QTableWidgetItem* item = grid->item(r, c)) item->setText(QString());
}

void TFormInfAlg::FillAlgorithmRows(const std::vector<AlgGridRow>& rows) {
    ClearDataRows(StringGrid2);
    for (int a = 0; a < int(rows.size()) && a + HeadRows < GridRows; ++a) {
        const AlgGridRow& row = rows[size_t(a)];
        SetCell(StringGrid2, a + HeadRows, 0, row.number);
        SetCell(StringGrid2, a + HeadRows, 1, row.name);
        SetCell(StringGrid2, a + HeadRows, 2, row.list);
    }
}

void TFormInfAlg::FillTables(const std::vector<QStringList>& blockRows,
                             const std::vector<AlgGridRow>& algRows) {
    ClearDataRows(StringGrid1);
    // Block rows stand at the block's own row: the number in column 0 tells which.
    for (const QStringList& cells : blockRows) {
        const int row = cells.value(0).trimmed().toInt() - 1 + HeadRows;
        if (row < HeadRows || row >= GridRows) continue;
        for (int c = 0; c < StringGrid1->columnCount(); ++c)
            SetCell(StringGrid1, row, c, cells.value(c));
    }
    FillAlgorithmRows(algRows);
    RichEdit1->clear();
    RichEdit3->clear();
    const bool anyBlock = context_.Cfg().FB.LogicFBCount > 0;
    EditingNFB->setChecked(anyBlock);
    EditingNFB->setEnabled(anyBlock);
}

std::vector<AlgGridRow> TFormInfAlg::AlgorithmGridRows() const {
    std::vector<AlgGridRow> rows;
    for (int r = HeadRows; r < GridRows; ++r)
        rows.push_back({Cell(StringGrid2, r, 0), Cell(StringGrid2, r, 1), Cell(StringGrid2, r, 2)});
    return rows;
}

bool TFormInfAlg::FormCloseQuery() {
    closeResult_ = mrCancel;
    const auto clearCaption = [this](int algorithm) {
        if (algorithmCaptions_ && algorithm < int(algorithmCaptions_->size()))
            if (QLabel* caption = (*algorithmCaptions_)[size_t(algorithm)]) caption->clear();
    };
    const AlgGridError error = StoreAlgorithmGrid(context_.Cfg().FB, AlgorithmGridRows(), clearCaption);
    if (error == AlgGridError::None) return true;
    MessageBox(this, AlgGridErrorText(error), QStringLiteral("Программатор ВЕГ-17"));
    if (!AskFinishWithError(this)) return false;
    closeResult_ = mrYes;
    return true;
}

void TFormInfAlg::done(int) {
    if (FormCloseQuery())
        QDialog::done(closeResult_);
    else
        setResult(mrNone);
}

bool TFormInfAlg::StringGrid2SelectCell(int column, int) {
    if (context_.FileMode()) context_.Cfg().Serv.Modified = 1;
    return column != 2 || EditingNFB->isChecked();
}

void TFormInfAlg::NameFromFileClick() {
    if (ShowModal(DialOpenFile) != QDialog::Accepted) return;
    const QString path = DialOpenFile->selectedFiles().value(0);
    if (path.isEmpty() || !LoadAlgorithmsFromFile(this, path, context_.Cfg())) return;
    FillAlgorithmRows(LoadedAlgorithmRows(context_.Cfg().FB));
}

std::vector<QStringList> TFormInfAlg::PrintRows(const QTableWidget* grid, int lastRow) const {
    std::vector<QStringList> rows;
    for (int r = 0; r <= lastRow && r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << Cell(grid, r, c);
        rows.push_back(cells);
    }
    return rows;
}

QStringList TFormInfAlg::BlockLines(const QString& devicePrefix) const {
    return BlockTableLines(context_.IdentityLineFor(devicePrefix), Label1->text(),
                           PrintRows(StringGrid1, context_.Cfg().FB.LogicFBCount + 1));
}

QStringList TFormInfAlg::AlgorithmLines() const {
    return AlgorithmTableLines(context_.IdentityLineFor(kAlgTablesDevicePrefix), Label1->text(),
                               PrintRows(StringGrid2, context_.Cfg().FB.AlgTable.GetCount() + 1));
}

void TFormInfAlg::ShowLines(QTextEdit* edit, const QStringList& lines) {
    edit->clear();
    edit->setPlainText(lines.join(QChar('\n')));
}

void TFormInfAlg::But3Click() {
    ShowLines(RichEdit1, BlockLines(kDirectDevicePrefix));
}

void TFormInfAlg::Button1Click() {
    ShowLines(RichEdit3, AlgorithmLines());
}

void TFormInfAlg::BNew1Click() {
    const QStringList lines = BlockLines(kAlgTablesDevicePrefix);
    ShowLines(RichEdit1, lines);
    PrintLinesToRtf(this, &context_, DialSaveFile, lines, std::nullopt);
}

void TFormInfAlg::BNew2Click() {
    const QStringList lines = AlgorithmLines();
    ShowLines(RichEdit3, lines);
    PrintLinesToRtf(this, &context_, DialSaveFile, lines, kLandscape); // the algorithm table only
}

namespace {

// The text box's text as printed: wrapped at the page width, which the box itself never does.
void PrintWrapped(PagePrinter& printer, const QTextEdit* box, const QString& title) {
    QTextDocument document;
    document.setDefaultFont(box->document()->defaultFont());
    document.setPlainText(box->toPlainText());
    printer.PrintDocument(document, title);
}

} // namespace

void TFormInfAlg::PrintText(QTextEdit* source, QTextEdit* selection, const QString& selectionTitle,
                            PrintRange selectionRange) {
    PagePrinter& printer = PicturePrinter();
    const QString selected =
        source->textCursor().selectedText().replace(QChar::ParagraphSeparator, QChar('\n'));
    if (selected.isEmpty()) {
        if (printer.Setup(this, 1, 1, PrintRange::AllPages))
            PrintWrapped(printer, source, QStringLiteral("Печать всей таблицы"));
        return;
    }
    selection->setVisible(true);
    selection->clear();
    selection->setPlainText(QStringList{QStringLiteral("Печать выделенной части таблицы"),
                                        source->document()->findBlockByNumber(3).text(), selected}
                                .join(QChar('\n')));
    if (printer.Setup(this, 1, 1, selectionRange)) PrintWrapped(printer, selection, selectionTitle);
    selection->hide();
}

void TFormInfAlg::But5Click() {
    // Only the block table's print presets the dialog to the selection.
    PrintText(RichEdit1, RichEdit2, QStringLiteral("Печать выделенной части  таблицы"),
              PrintRange::Selection);
}

void TFormInfAlg::Button2Click() {
    PrintText(RichEdit3, RichEdit4, QStringLiteral("Печать  выделенной части таблицы"), PrintRange::AllPages);
}
