#pragma once
// The output information window: the eight outputs of every relay module as one table; the
// windows that show it fill its cells. Data row 8 * module + output (both from 0).

#include "LazyFileDialog.h"

#include <QDialog>

class PrintContext;
class QPushButton;
class QTableWidget;

class TInformMR : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kModules = 5;
    static constexpr int kOutputsPerModule = 8;
    static constexpr int kRows = kModules * kOutputsPerModule;
    enum Column {
        colName,        // output name
        colAddress,     // " 0x.."
        colIdent,       // identifier text
        colKind,        // "сигнал." / "управл."
        colSignal,      // "свет(п-вод в ровн)" / "звук(с гашением)"
        colBlocking,    // "без блокировки" / "с   блокировкой"
        colAckSource,   // "есть" when acknowledged by an external input
        colResetSource, // "есть" when reset by an external input
        colAckInput,    // external acknowledge input number
        colResetInput,  // external reset input number
        colCount
    };

    explicit TInformMR(QWidget* parent = nullptr);

    void Clear();
    // Writes the grid to an RTF print file the user names and offers to print it.
    void PrintClick();

    QTableWidget* StringGrid1;
    QPushButton* ButPrint;            // "Создание и печать файла .rtf"
    LazyFileDialog DialSaveFile;      // the print file's save dialog, made when first used
    PrintContext* Printing = nullptr; // set by the owner; the print does nothing without it
};
