#pragma once
// Starts the devsim program on a pseudo-terminal and stops it (tests, benchmark).

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class DevsimProcess {
  public:
    ~DevsimProcess() { Stop(); }
    // Starts `program --link <temporary path> extraArgs...` and waits for the terminal's path.
    bool Start(const QString& program, const QStringList& extraArgs = {}, QString* error = nullptr);
    void Stop(); // SIGTERM, then waits for the exit
    QString Link() const { return link_; }
    QString Pty() const { return pty_; }
    QString TempPath(const QString& name) const { return dir_.filePath(name); }
    int ExitCode() const { return exitCode_; }
    qint64 ProcessId() const { return process_.processId(); }
    // The requests a --log file holds, in order, each in hexadecimal ("01 01 03 f8 00 10 bc 73").
    static QStringList LoggedRequests(const QString& logPath);

  private:
    QTemporaryDir dir_;
    QProcess process_;
    QString link_, pty_;
    int exitCode_ = -1;
};
