#include "WordProcessor.h"

#include "Dialogs.h"
#include "InputHold.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

struct ProgramRun {
    bool timedOut = false;
    bool exitedNormally = false; // started and ended by itself, not by a signal
    int exitCode = -1;
    QByteArray output; // standard output, then standard error
};

// Runs a program to its end while the window thread goes on with its events. Once the deadline has
// passed it is stopped, together with every program it started.
ProgramRun RunUntil(const QString& program, const QStringList& arguments, const QDeadlineTimer& deadline,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
#ifdef Q_OS_UNIX
    // A session of its own, so that the stop reaches its children too: soffice is a launcher that
    // starts the office process.
    process.setChildProcessModifier([] { ::setsid(); });
#endif
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) loop.quit();
    });
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    timeout.start(int(std::max<qint64>(0, deadline.remainingTime())));
    if (process.state() != QProcess::NotRunning) loop.exec();

    ProgramRun run;
    if (process.state() != QProcess::NotRunning) {
#ifdef Q_OS_UNIX
        ::kill(-pid_t(process.processId()), SIGKILL);
#endif
        process.kill();
        process.waitForFinished();
        run.timedOut = true;
        return run;
    }
    run.exitedNormally =
        process.error() != QProcess::FailedToStart && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput() + process.readAllStandardError();
    return run;
}

bool IsPdfFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

const QString kTimedOut = QStringLiteral("Время ожидания печати истекло");

} // namespace

QString DesktopWordProcessor::SystemDefaultPrinter() {
    return QPrinterInfo::defaultPrinterName();
}

DesktopWordProcessor::DesktopWordProcessor(QWidget* parent, int printTimeoutMs,
                                           std::function<QString()> defaultPrinter)
    : parent_(parent), printTimeoutMs_(printTimeoutMs), defaultPrinter_(std::move(defaultPrinter)) {}

bool DesktopWordProcessor::OpenDocument(const QString& fileName) {
    officePath_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (officePath_.isEmpty()) {
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
    if (officePath_.isEmpty() || document_.isEmpty()) return;
    const QString file = QDir::toNativeSeparators(document_);
    const QString printer = defaultPrinter_ ? defaultPrinter_() : QString();
    if (printer.isEmpty()) {
        MessageBox(parent_, QStringLiteral("Принтер не найден. Файл не напечатан: ") + file,
                   QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
        return;
    }
    const QString failure = Print(printer);
    if (!failure.isEmpty())
        MessageBox(parent_,
                   QStringLiteral("Не удалось напечатать файл ") + file + QLatin1Char('\n') + failure,
                   QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
}

QString DesktopWordProcessor::Print(const QString& printer) {
    const QString spooler = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (spooler.isEmpty()) return QStringLiteral("Программа печати lp не найдена");
    QTemporaryDir work;
    if (!work.isValid()) return QStringLiteral("Не удалось создать временную папку: ") + work.errorString();
    const QDeadlineTimer deadline(printTimeoutMs_);
    InputHold hold;

    // A profile of its own: a LibreOffice the user has open would otherwise take the conversion
    // over, and the user's settings could change the pages.
    const ProgramRun convert =
        RunUntil(officePath_,
                 {QStringLiteral("-env:UserInstallation=") +
                      QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                  QStringLiteral("--outdir"), work.path(), document_},
                 deadline);
    if (convert.timedOut) return kTimedOut;
    const QFileInfo document(document_);
    const QString pdf = work.filePath(document.completeBaseName() + QStringLiteral(".pdf"));
    if (!convert.exitedNormally || convert.exitCode != 0 || !IsPdfFile(pdf))
        return QStringLiteral("LibreOffice не преобразовал файл в PDF");

    // lp answers in English when told to, and a job it took has a request id.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    const ProgramRun queue =
        RunUntil(spooler, {QStringLiteral("-d"), printer, QStringLiteral("-t"), document.fileName(), pdf},
                 deadline, environment);
    if (queue.timedOut) return kTimedOut;
    const QString answer = QString::fromLocal8Bit(queue.output).trimmed();
    static const QRegularExpression requestId(QStringLiteral("^request id is \\S+"),
                                              QRegularExpression::MultilineOption);
    if (queue.exitedNormally && queue.exitCode == 0 && requestId.match(answer).hasMatch()) return {};
    return answer.isEmpty() ? QStringLiteral("Система печати не приняла задание") : answer;
}

void DesktopWordProcessor::Save(const QString&) {}

void DesktopWordProcessor::Close(const QString&) {
    document_.clear();
}

void DesktopWordProcessor::Quit() {
    officePath_.clear();
}
