// The local-network list window's save after a block deletion, against the devsim program on a
// pseudo-terminal, on the exchange thread, with a 10 ms probe timer on the window thread: the
// scaling groups, block 10, the discrete table, the names and the function blocks (39 blocks),
// then the closing pause. Prints wall / (the pauses the sequence must make + the emulated reply
// line time), the longest gap between probe ticks and CPU / wall.
//   localnet_bench [--baud N] [--runs N]   (defaults 9600 and 3)

#include "BenchCpu.h"
#include "BenchDevice.h"
#include "Comportclass.h"
#include "DevsimProcess.h"
#include "LocalNetwork.h"
#include "Obr_veg17r.h"
#include "editors/network/Prog_lnet.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr double kPauseBeforeAndAfterBlock = 0.050 + 0.300;
constexpr double kClosingPause = 3.0;

struct LogCounts {
    int writes = 0; // 'E' requests
    qint64 replyBytes = 0;
};

LogCounts ReadLog(const QString& path) {
    LogCounts c;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return c;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (line.contains(" -> ") && fields.value(3) == "45") ++c.writes;
        if (line.contains(" <- ")) c.replyBytes += fields.size() - 2;
    }
    return c;
}

// A ВЕГ-01 block of 16 discrete inputs and a ДКРН block, as the request editor stores them.
bool MakeNetwork(TConfiguration& cfg) {
    const LocalNet::RequestEntries veg01{LocalNet::Veg01, 1, "3", "16", "0", "0000", "16"};
    const LocalNet::RequestEntries dkrn{LocalNet::Dkrn, 3, "4", "1", "16384", "0000", "1"};
    return LocalNet::StoreRequest(cfg, 0, veg01, cfg.Serv.GetDiscrInCount(), cfg.Serv.GetAnInCount(), false)
               .isEmpty() &&
           LocalNet::StoreRequest(cfg, 1, dkrn, cfg.Serv.GetDiscrInCount(), cfg.Serv.GetAnInCount(), false)
               .isEmpty();
}

int Run(int baud, int run) {
    DevsimProcess devsim;
    const QString log = devsim.TempPath("bus.log");
    TForm1 form1;
    TComPortClass& port = form1.ComPort;
    if (!OpenDevsim(devsim, port, DEVSIM_PATH, baud, {"--log", log})) return 1;
    form1.InPortClick();
    TConfiguration& cfg = form1.Cfg;
    if (cfg.Serv.FileMode != 0 || !MakeNetwork(cfg)) {
        std::fprintf(stderr, "the read or the network set-up failed\n");
        return 1;
    }
    TFormLNet& lnet = *form1.FormLNet;
    lnet.PopupAutoShow = false;
    lnet.show();
    lnet.Button1MouseDown(0);
    lnet.DeleteBlClick();
    const LogCounts before = ReadLog(log);

    Probe probe;
    QTest::qWait(50);
    probe.Reset();
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = CpuSeconds();
    const bool ok = lnet.SaveClick();
    const double seconds = wall.nsecsElapsed() / 1e9, cpu = CpuSeconds() - cpu0;
    lnet.hide();

    const LogCounts after = ReadLog(log);
    const int blocks = after.writes - before.writes;
    const double pauses = blocks * kPauseBeforeAndAfterBlock + kClosingPause;
    const double line = double(after.replyBytes - before.replyBytes) * 11 / baud;
    std::printf("run %d: %s, %d blocks, wall %.3f s, pauses %.3f s, reply line time %.3f s\n", run,
                ok ? "written" : "FAILED", blocks, seconds, pauses, line);
    std::printf("run %d: wall / (pauses + line time)  %.4f\n", run, seconds / (pauses + line));
    std::printf("run %d: longest probe gap            %.1f ms\n", run, probe.LongestGapMs());
    std::printf("run %d: cpu / wall                   %.4f\n", run, cpu / seconds);
    return ok && blocks == 39 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int baud = 9600, runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--baud") baud = args[i + 1].toInt();
        if (args[i] == "--runs") runs = args[i + 1].toInt();
    }
    int r = 0;
    for (int run = 1; run <= runs; ++run)
        r |= Run(baud, run);
    return r;
}
