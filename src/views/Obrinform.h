#pragma once
// The input information window: discrete and analogue inputs as tables. The windows that show
// it fill its cells; data row r holds input r + 1.

#include "LazyFileDialog.h"

#include <QDialog>
#include <QStringList>

class PrintContext;
class QPushButton;
class QTableWidget;
class QTextEdit;

// A read-only table of the information windows: the rows below a header row of column titles,
// every cell holding an item (empty after ClearInfoGrid), so that a fill only sets texts.
QTableWidget* MakeInfoGrid(QWidget* parent, int rows, const QStringList& headers);
void ClearInfoGrid(QTableWidget* grid);

class TInform : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kDiscreteRows = 192;
    static constexpr int kAnalogueRows = 60;
    // StringGrid1 columns
    enum DiscreteColumn { dcNumber, dcIdent, dcAddress, dcText, dcRelay, dcColumns };
    // StringGrid2 columns; the schemes read an analogue input's identifier from acIdent.
    enum AnalogueColumn { acNumber, acIdent, acAddress, acPosition, acLongText, acColumns };

    explicit TInform(QWidget* parent = nullptr);

    // Empties every cell and both rich-text areas.
    void Clear();
    // Writes both grids to an RTF print file the user names and offers to print it.
    void PrintClick();

    QTableWidget* StringGrid1; // discrete inputs
    QTableWidget* StringGrid2; // analogue inputs
    QTextEdit* RichEdit1;      // hidden text areas of the fill routines
    QTextEdit* RichEdit4;
    QPushButton* ButPrint;            // "Создание и печать файла .rtf"
    LazyFileDialog DialSaveFile;      // the print file's save dialog, made when first used
    PrintContext* Printing = nullptr; // set by the owner; the print does nothing without it
};
