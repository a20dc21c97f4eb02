#include "DevsimProcess.h"

#include <QFile>
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

QStringList DevsimProcess::LoggedRequests(const QString& logPath) {
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList out;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const qsizetype at = line.indexOf(" -> "); at >= 0) out << QString::fromLatin1(line.mid(at + 4));
    return out;
}
