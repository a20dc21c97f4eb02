#pragma once
// Printing of the information windows: the grids as text lines, the identity line of printed
// tables, and the save-dialog loop that hands the lines to RtfTablePrint in landscape.

#include <QList>
#include <QString>
#include <QStringList>

class QFileDialog;
class QTableWidget;
class QWidget;
class TForm1;
class WordProcessor;

// The caption of the information windows' print buttons.
inline const QString kPrintCaption = QStringLiteral("Создание и печать файла .rtf");

// The header row and every row with a non-empty cell; cells padded to their column's width and
// joined by tabs.
QStringList InfoGridLines(const QTableWidget* grid);

// "Файл " and the configuration file name in file mode, else the device title with the
// modification code and the device number.
QString PrintIdentityLine(const TForm1& form1);

// A save dialog for ".rtf" print files.
QFileDialog* MakeRtfSaveDialog(QWidget* parent);

// Asks for the file name (again while the name is refused), then writes the title, the identity
// line and the grids through RtfTablePrint. Needs the main window for the identity line and its
// SaveDialogAccepted flag; does nothing without it.
void PrintInfoGrids(QWidget* parent, QFileDialog* dialog, const QString& title,
                    const QList<const QTableWidget*>& grids);

// The word processor the information windows print through; tests put a recording one in
// (nullptr restores the desktop one).
WordProcessor& InfoWordProcessor();
void SetInfoWordProcessor(WordProcessor* wordProcessor);
