#include "DevsimProcess.h"

#include <QFileInfo>

bool DevsimProcess::Start(const QString& program, const QStringList& extraArgs, QString* error) {
    link_ = dir_.filePath(QStringLiteral("devsim-link"));
    process_.start(program, QStringList{QStringLiteral("--link"), link_} + extraArgs);
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000)) {
        if (error) *error = process_.errorString() + QString::fromLocal8Bit(process_.readAllStandardError());
        return false;
    }
    pty_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    return QFileInfo::exists(link_);
}

void DevsimProcess::Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    exitCode_ = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}
