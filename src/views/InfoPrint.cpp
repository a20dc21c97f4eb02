#include "InfoPrint.h"

#include "Dialogs.h"
#include "FileDialogs.h"
#include "PrintContext.h"
#include "RtfTablePrint.h"
#include "WordProcessor.h"

#include <QFileDialog>
#include <QTableWidget>
#include <algorithm>
#include <vector>

namespace {

WordProcessor* g_wordProcessor = nullptr;

// Landscape with the 29-point margins of the other table printers.

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QString headerText(const QTableWidget* grid, int column) {
    const QTableWidgetItem* item = grid->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

} // namespace

QStringList InfoGridLines(const QTableWidget* grid) {
    const int columns = grid->columnCount();
    std::vector<QStringList> rows;
    QStringList header;
    for (int c = 0; c < columns; ++c)
        header << headerText(grid, c);
    rows.push_back(header);
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        bool any = false;
        for (int c = 0; c < columns; ++c) {
            cells << cellText(grid, r, c);
            any = any || !cells.back().trimmed().isEmpty();
        }
        if (any) rows.push_back(cells);
    }
    std::vector<qsizetype> widths(size_t(columns), 0);
    for (const QStringList& cells : rows)
        for (int c = 0; c < columns; ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)], cells[c].size());
    QStringList lines;
    for (const QStringList& cells : rows) {
        QStringList padded;
        for (int c = 0; c < columns; ++c)
            padded << cells[c].leftJustified(widths[size_t(c)]);
        lines << padded.join(QLatin1Char('\t'));
    }
    return lines;
}

QFileDialog* MakeRtfSaveDialog(QWidget* parent, const QString& filter) {
    return new SaveFileDialog(parent, QStringLiteral("Создание  или замена файла .rtf "), filter,
                              QStringLiteral("rtf"));
}

void PrintLinesToRtf(QWidget* parent, PrintContext* context, QFileDialog* dialog, const QStringList& lines,
                     const std::optional<PageSetup>& pageSetup) {
    if (!context) return;
    for (;;) {
        context->SaveDialogAccepted = 0;
        if (ShowModal(dialog) == QDialog::Accepted && !dialog->selectedFiles().value(0).isEmpty())
            context->SaveDialogAccepted = 1; // the dialog accepted a name
        if (context->SaveDialogAccepted != 1) return;
        const RtfPrintResult result =
            RtfTablePrint(parent, lines, dialog->selectedFiles().value(0), InfoWordProcessor(), pageSetup);
        if (result.outcome != RtfPrintOutcome::ChooseNameAgain) return;
        dialog->selectFile(result.fileName);
    }
}

void PrintInfoGrids(QWidget* parent, PrintContext* context, QFileDialog* dialog, const QString& title,
                    const QList<const QTableWidget*>& grids) {
    if (!context) return;
    QStringList lines{title, context->IdentityLine()};
    for (const QTableWidget* grid : grids)
        lines << QString() << InfoGridLines(grid);
    PrintLinesToRtf(parent, context, dialog, lines, kLandscape);
}

WordProcessor& InfoWordProcessor() {
    static DesktopWordProcessor desktop;
    return g_wordProcessor ? *g_wordProcessor : desktop;
}

void SetInfoWordProcessor(WordProcessor* wordProcessor) {
    g_wordProcessor = wordProcessor;
}
