#pragma once
// Printing of the information windows: the grids as text lines, and the save-dialog loop that
// hands them, under the identity line, to RtfTablePrint in landscape.

#include "WordProcessor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;
class QTableWidget;
class PrintContext;
class QWidget;

// The caption of the information windows' print buttons.
inline const QString kPrintCaption = QStringLiteral("Создание и печать файла .rtf");

// The header row and every row with a non-empty cell; cells padded to their column's width and
// joined by tabs.
QStringList InfoGridLines(const QTableWidget* grid);

// Landscape A4 with the margins of the printed tables.
inline const PageSetup kLandscape{true, kTableMargin, kTableMargin, kTableMargin, kTableMargin};

// A save dialog for ".rtf" print files, with the file-type filter given.
QFileDialog* MakeRtfSaveDialog(QWidget* parent, const QString& filter = QStringLiteral("Файлы RTF (*.rtf)"));

// Asks for the file name (again while the name is refused) and writes the lines through
// RtfTablePrint with the page setup given; the dialog's answer goes to the context's
// SaveDialogAccepted. Does nothing without a context.
void PrintLinesToRtf(QWidget* parent, PrintContext* context, QFileDialog* dialog, const QStringList& lines,
                     const std::optional<PageSetup>& pageSetup);

// The title, the context's identity line and the grids, printed in landscape by PrintLinesToRtf.
void PrintInfoGrids(QWidget* parent, PrintContext* context, QFileDialog* dialog, const QString& title,
                    const QList<const QTableWidget*>& grids);

// The word processor the information windows print through; tests put a recording one in
// (nullptr restores the desktop one).
WordProcessor& InfoWordProcessor();
void SetInfoWordProcessor(WordProcessor* wordProcessor);
