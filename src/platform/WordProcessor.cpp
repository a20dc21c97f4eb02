#include "WordProcessor.h"

#include "Dialogs.h"
#include "InputHold.h"

#include <QDir>
#include <QEventLoop>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

bool DesktopWordProcessor::SystemHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

DesktopWordProcessor::DesktopWordProcessor(QWidget* parent, QString program, int printTimeoutMs,
                                           std::function<bool()> hasPrinter)
    : parent_(parent), program_(std::move(program)), printTimeoutMs_(printTimeoutMs),
      hasPrinter_(std::move(hasPrinter)) {}

bool DesktopWordProcessor::OpenDocument(const QString& fileName) {
    programPath_ = QStandardPaths::findExecutable(program_);
    if (programPath_.isEmpty()) {
        MessageBox(parent_,
                   QStringLiteral("Текстовый процессор LibreOffice не найден.\nФайл сохранён: ") +
                       QDir::toNativeSeparators(fileName),
                   QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
        return false;
    }
    document_ = fileName;
    return true;
}

void DesktopWordProcessor::SetPageSetup(const PageSetup&) {}

void DesktopWordProcessor::PrintOut() {
    if (programPath_.isEmpty() || document_.isEmpty()) return;
    const QString file = QDir::toNativeSeparators(document_);
    if (hasPrinter_ && !hasPrinter_()) {
        MessageBox(parent_, QStringLiteral("Принтер не найден. Файл не напечатан: ") + file,
                   QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
        return;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    bool timedOut = false;
    {
        InputHold hold;
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) loop.quit();
        });
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        process.start(programPath_, {QStringLiteral("--headless"), QStringLiteral("-p"), document_});
        timeout.start(printTimeoutMs_);
        if (process.state() != QProcess::NotRunning) loop.exec();
    }
    if (timedOut) {
        process.kill();
        process.waitForFinished();
    }
    if (timedOut || process.error() == QProcess::FailedToStart ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        MessageBox(parent_, QStringLiteral("Не удалось напечатать файл ") + file, QStringLiteral("Ошибка"),
                   MsgButtons::OK, MsgIcon::Error);
}

void DesktopWordProcessor::Save(const QString&) {}

void DesktopWordProcessor::Close(const QString&) {
    document_.clear();
}

void DesktopWordProcessor::Quit() {
    programPath_.clear();
}
