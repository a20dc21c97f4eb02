#pragma once
// The print-file sequence of the table printers: the table's lines go into an RTF file under the
// name the user chose, the word processor opens it, prints it when the user wants, and closes.

#include "WordProcessor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class RtfPrintOutcome {
    Finished,        // the file is written (and handed to the word processor when it is there)
    ChooseNameAgain, // wrong extension or the file could not be made: show the save dialog again
    Stopped,         // the user gave up creating the file
};

struct RtfPrintResult {
    RtfPrintOutcome outcome = RtfPrintOutcome::Stopped;
    QString fileName; // the name used (".rtf" appended when it had no extension)
};

// The name to write: ".rtf" appended when it has no extension; empty, after the box "Неверно
// задано имя файла", when it has another extension.
QString CheckedRtfName(QWidget* parent, const QString& fileName);

// Writes a print file whole. On failure the old file stays and the user is asked
// "Файл не удается создать.\nПовторить?": ChooseNameAgain on Yes, Stopped on No.
RtfPrintOutcome SavePrintFile(QWidget* parent, const QString& fileName, const QByteArray& document);

// Runs the sequence for a name taken from the caller's save dialog. The caller shows its dialog
// again, preset with result.fileName, when the outcome is ChooseNameAgain.
RtfPrintResult RtfTablePrint(QWidget* parent, const QStringList& lines, const QString& fileName,
                             WordProcessor& wordProcessor, const std::optional<PageSetup>& pageSetup);
