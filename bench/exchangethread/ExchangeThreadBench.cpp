// The exchange thread against the devsim program at an emulated 9600 baud, with a 10 ms probe
// timer on the window thread. Prints ratios:
//   write: the function-block editor's F10 of 12 blocks; wall / (pauses + line time), the
//          longest gap between probe ticks, CPU / wall
//   poll:  a 'D' read and a function-4 read every second; the longest probe gap, CPU share
//   stall: the device stops answering while a view polls; the longest probe gap, and how long
//          closing the view takes
//   exchange_thread_bench [write|poll|stall|all] [--seconds N]

#include "BenchCpu.h"
#include "BenchDevice.h"
#include "BlockExchange.h"
#include "Comportclass.h"
#include "DevsimProcess.h"
#include "Obr_veg17r.h"
#include "PollService.h"
#include "editors/fb/Prog_fb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kBaud = 9600;

// The reply bytes devsim logged, at 11 bits a byte: the line time the pty emulated.
double LoggedReplyLineSeconds(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    qint64 bytes = 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.contains(" <- ")) bytes += line.split(' ').size() - 2;
    return double(bytes) * 11 / kBaud;
}

bool OpenDevice(DevsimProcess& devsim, TComPortClass& port, const QStringList& args) {
    return OpenDevsim(devsim, port, DEVSIM_PATH, kBaud, args);
}

int Write() {
    DevsimProcess devsim;
    TForm1 form1;
    const QString log = devsim.TempPath("bus.log");
    if (!OpenDevice(devsim, form1.ComPort, {"--log", log})) return 1;
    form1.Cfg.Veg.AccessLevel = 1;
    form1.Cfg.FB.FBModified = 1;
    TFormFB& form = *form1.FormFB;
    form.show();
    Probe probe;
    QTest::qWait(50);
    probe.Reset();
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = CpuSeconds();
    form.OutPortClick();
    const double seconds = wall.nsecsElapsed() / 1e9, cpu = CpuSeconds() - cpu0;
    const double pauses = 12 * 0.350, line = LoggedReplyLineSeconds(log);
    std::printf("write: wall %.3f s, pauses %.3f s, reply line time %.3f s\n", seconds, pauses, line);
    std::printf("write: wall / (pauses + line time)  %.4f\n", seconds / (pauses + line));
    std::printf("write: longest probe gap            %.1f ms\n", probe.LongestGapMs());
    std::printf("write: cpu / wall                   %.4f\n", cpu / seconds);
    form1.Cfg.FB.FBModified = 0;
    return 0;
}

PollService* NewPoll(TComPortClass& port, int* ticks) {
    auto* poll = new PollService(port);
    poll->SetRequests({PollBlock(0, 20), PollFrame(0, 4, {0x00, 0x00, 0x00, 0x10}, 5 + 32)});
    QObject::connect(poll, &PollService::Polled, [ticks](const PollReplies&) { ++*ticks; });
    poll->Start(1000);
    return poll;
}

int Poll(int seconds) {
    DevsimProcess devsim;
    TComPortClass port;
    if (!OpenDevice(devsim, port, {})) return 1;
    int ticks = 0;
    std::unique_ptr<PollService> poll(NewPoll(port, &ticks));
    Probe probe;
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(seconds * 1000);
    const double cpu = CpuSeconds() - cpu0, elapsed = wall.nsecsElapsed() / 1e9;
    std::printf("poll: %d ticks in %.1f s\n", ticks, elapsed);
    std::printf("poll: longest probe gap             %.1f ms\n", probe.LongestGapMs());
    std::printf("poll: cpu share                     %.4f\n", cpu / elapsed);
    return ticks > 0 ? 0 : 1;
}

int Stall() {
    DevsimProcess devsim;
    TComPortClass port;
    if (!OpenDevice(devsim, port, {})) return 1;
    int ticks = 0;
    std::unique_ptr<PollService> poll(NewPoll(port, &ticks));
    int failures = 0;
    QObject::connect(poll.get(), &PollService::Failed, [&](int) { ++failures; });
    QTest::qWait(2500);
    Probe probe;
    // The device stops answering; the view goes on repainting while the poll waits for replies.
    const qint64 pid = devsim.ProcessId();
    kill(pid_t(pid), SIGSTOP);
    QTest::qWait(1000 - 2500 % 1000 + 300); // into the first tick without replies
    QElapsedTimer closing;
    closing.start();
    poll.reset();
    const double closeMs = closing.nsecsElapsed() / 1e6;
    kill(pid_t(pid), SIGCONT);
    std::printf("stall: %d ticks before, %d failure reports\n", ticks, failures);
    std::printf("stall: longest probe gap            %.1f ms\n", probe.LongestGapMs());
    std::printf("stall: closing the view took        %.1f ms\n", closeMs);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QString mode = "all";
    int seconds = 30;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--seconds" && i + 1 < args.size())
            seconds = args[++i].toInt();
        else
            mode = args[i];
    }
    int r = 0;
    if (mode == "write" || mode == "all") r |= Write();
    if (mode == "poll" || mode == "all") r |= Poll(seconds);
    if (mode == "stall" || mode == "all") r |= Stall();
    return r;
}
