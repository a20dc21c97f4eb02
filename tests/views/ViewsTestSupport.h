#pragma once
// What the views' tests share: scripted boxes, the recording word processor, the printouts'
// landscape page, and a file's bytes.

#include "InfoPrint.h"
#include "RecordingWordProcessor.h"
#include "RtfWriter.h"
#include "ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
