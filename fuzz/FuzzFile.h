#pragma once
// The file a file-reading fuzz target writes each input to, and the message boxes the readers
// open, answered OK. The file lives in memory (/dev/shm) where there is one: a disk file rewritten
// a million times is flushed on every truncation.

#include "Dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

inline const QString& FuzzFilePath() {
    static const QString shm = QStringLiteral("/dev/shm");
    static QTemporaryDir dir(QDir(shm).exists() ? shm + QStringLiteral("/veg-fuzz-XXXXXX")
                                                : QDir::tempPath() + QStringLiteral("/veg-fuzz-XXXXXX"));
    static const QString path = [] {
        SetMessageBoxHandler([](QWidget*, const MessageBoxRequest&) { return int(mrOk); });
        return dir.filePath(QStringLiteral("fuzz.veg"));
    }();
    return path;
}

inline bool WriteFuzzFile(const char* data, qint64 size) {
    QFile f(FuzzFilePath());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data, size) == size;
}
