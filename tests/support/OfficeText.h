#pragma once
// What LibreOffice makes of written RTF files, converted headless with a profile of its own in
// dir: their text lines, or PDF files and the text lines of their pages. Tests skip when soffice
// is not installed.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

inline QString OfficeProgram() {
    return QStandardPaths::findExecutable("soffice");
}

// Converts the files in one run into dir, each to <base name>.<extension of the filter>; false when
// LibreOffice does not end in time.
inline bool OfficeConvert(const QStringList& files, const QString& filter, const QString& dir) {
    QProcess convert;
    convert.start(OfficeProgram(),
                  QStringList{"-env:UserInstallation=" + QUrl::fromLocalFile(dir + "/profile").toString(),
                              "--headless", "--convert-to", filter, "--outdir", dir} +
                      files);
    return convert.waitForFinished(180000);
}

// A converted file's text without a byte-order mark or carriage returns, split into lines.
inline QStringList ConvertedLines(const QString& file) {
    QFile back(file);
    if (!back.open(QIODevice::ReadOnly)) return {};
    QString got = QString::fromUtf8(back.readAll());
    if (got.startsWith(QChar(0xFEFF))) got.remove(0, 1);
    got.remove('\r');
    return got.split('\n');
}

inline QString ConvertedName(const QString& file, const QString& dir, const QString& extension) {
    return dir + "/" + QFileInfo(file).completeBaseName() + "." + extension;
}

inline QStringList OfficeTextLines(const QString& rtf, const QString& dir) {
    if (!OfficeConvert({rtf}, "txt:Text (encoded):UTF8", dir)) return {};
    return ConvertedLines(ConvertedName(rtf, dir, "txt"));
}

// pdftotext's output for the PDF file with the options given.
inline QString PdfText(const QString& pdf, const QStringList& options) {
    QProcess text;
    text.start("pdftotext", options + QStringList{pdf, "-"});
    if (!text.waitForFinished(30000)) return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}
