#pragma once
// The one way the tool writes a file: whole or not at all.

#include <QByteArray>
#include <QString>

class QWidget;

// Writes data to a temporary file beside path and renames it into place. The write is flushed
// and checked before the rename (QSaveFile::commit() does not report a failed final flush), so on
// any failure (a full disk, no room under a size limit, no such folder) the old file stays as it
// was, no temporary file is left, and the result is false.
bool WriteFileWhole(const QString& path, const QByteArray& data);

// WriteFileWhole; a failure is told with "Файл не удается сохранить:" and the file's name.
bool WriteFileWholeOrTell(QWidget* parent, const QString& path, const QByteArray& data);
