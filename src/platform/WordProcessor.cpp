#include "WordProcessor.h"

#include "Dialogs.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

DesktopWordProcessor::DesktopWordProcessor(QWidget* parent, QString program, int printTimeoutMs)
    : parent_(parent), program_(std::move(program)), printTimeoutMs_(printTimeoutMs) {}

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
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(programPath_, {QStringLiteral("--headless"), QStringLiteral("-p"), document_});
    const bool finished = process.waitForStarted() && process.waitForFinished(printTimeoutMs_);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        MessageBox(parent_,
                   QStringLiteral("Не удалось напечатать файл ") + QDir::toNativeSeparators(document_),
                   QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
}

void DesktopWordProcessor::Save(const QString&) {}

void DesktopWordProcessor::Close(const QString&) {
    document_.clear();
}

void DesktopWordProcessor::Quit() {
    programPath_.clear();
}
