#pragma once
// What LibreOffice reads from a written RTF file: its text lines, converted headless with a
// profile of its own in dir. Tests skip when soffice is not installed.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

inline QString OfficeProgram() {
    return QStandardPaths::findExecutable("soffice");
}

inline QStringList OfficeTextLines(const QString& rtf, const QString& dir) {
    QProcess convert;
    convert.start(OfficeProgram(),
                  {"-env:UserInstallation=" + QUrl::fromLocalFile(dir + "/profile").toString(), "--headless",
                   "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir, rtf});
    if (!convert.waitForFinished(180000)) return {};
    QFile back(dir + "/" + QFileInfo(rtf).completeBaseName() + ".txt");
    if (!back.open(QIODevice::ReadOnly)) return {};
    QString got = QString::fromUtf8(back.readAll());
    if (got.startsWith(QChar(0xFEFF))) got.remove(0, 1);
    got.remove('\r');
    return got.split('\n');
}
