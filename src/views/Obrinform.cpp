#include "Obrinform.h"

#include "InfoPrint.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

QTableWidget* MakeInfoGrid(QWidget* parent, int rows, const QStringList& headers) {
    auto* grid = new QTableWidget(rows, int(headers.size()), parent);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Columns as wide as their titles and texts, so that neither is cut.
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    ClearInfoGrid(grid);
    return grid;
}

void ClearInfoGrid(QTableWidget* grid) {
    for (int row = 0; row < grid->rowCount(); ++row)
        for (int col = 0; col < grid->columnCount(); ++col) {
            if (QTableWidgetItem* item = grid->item(row, col))
                item->setText(QString());
            else
                grid->setItem(row, col, new QTableWidgetItem());
        }
}

TInform::TInform(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Информация о входах"));
    resize(900, 690); // with its title bar above a laptop's task bar
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto addGrid = [splitter](const QString& title, int rows, const QStringList& headers) {
        auto* box = new QWidget(splitter);
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(title, box));
        QTableWidget* grid = MakeInfoGrid(box, rows, headers);
        layout->addWidget(grid);
        return grid;
    };
    StringGrid1 = addGrid(QStringLiteral("Дискретные входы"), kDiscreteRows,
                          {QStringLiteral("№"), QStringLiteral("Идентификатор"), QStringLiteral("Адрес"),
                           QStringLiteral("Текстовый реквизит"), QStringLiteral("Реле")});
    StringGrid2 = addGrid(QStringLiteral("Аналоговые входы"), kAnalogueRows,
                          {QStringLiteral("№"), QStringLiteral("Идентификатор"), QStringLiteral("Адрес"),
                           QStringLiteral("Позиция"), QStringLiteral("Описание")});
    RichEdit1 = new QTextEdit(this);
    RichEdit4 = new QTextEdit(this);
    ButPrint = new QPushButton(kPrintCaption, this);
    connect(ButPrint, &QPushButton::clicked, this, &TInform::PrintClick);
    DialSaveFile.MakeWith([this] { return MakeRtfSaveDialog(this); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ButPrint, 0, Qt::AlignLeft);
    layout->addWidget(splitter);
    for (QTextEdit* edit : {RichEdit1, RichEdit4}) {
        edit->setReadOnly(true);
        edit->hide();
        layout->addWidget(edit);
    }
}

void TInform::Clear() {
    ClearInfoGrid(StringGrid1);
    ClearInfoGrid(StringGrid2);
    RichEdit1->clear();
    RichEdit4->clear();
}

void TInform::PrintClick() {
    PrintInfoGrids(this, Printing, DialSaveFile, windowTitle(), {StringGrid1, StringGrid2});
}
