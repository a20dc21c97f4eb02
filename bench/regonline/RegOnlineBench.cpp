// The online loop view polling the devsim program on a pseudo-terminal at an emulated 9600 baud,
// at its own 3000 ms period, with a 10 ms probe timer on the window thread. Prints the process's
// CPU share and the longest gap between probe ticks.
//   regonline_bench [--seconds N]   (default 60)

#include "BenchCpu.h"
#include "BenchDevice.h"
#include "Comportclass.h"
#include "DevsimProcess.h"
#include "Obr_veg17r.h"
#include "Panregvis.h"
#include "editors/regulators/Uniregvis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kBaud = 9600;

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int seconds = 60;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == "--seconds") seconds = args[i + 1].toInt();

    DevsimProcess devsim;
    TForm1 form1;
    TComPortClass& port = form1.ComPort;
    if (!OpenDevsim(devsim, port, DEVSIM_PATH, kBaud, {})) return 1;
    form1.Cfg.Reg.SetAnVh(0, 1);
    form1.Cfg.Reg.SetTReg(0, 0, 1);
    form1.Cfg.Reg.SetAnVh(1, 2);
    form1.Cfg.Reg.SetTReg(1, 0, 8);
    TFormRegOnLine& view = *form1.FormRegOnLine;
    view.TwoLoops = 1;
    view.LoopIndex = {0, 1};
    view.PVScaleMin = {0, 0};
    view.PVScaleMax = {100, 100};

    int polls = 0;
    QString lastPV;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (view.Panel(0).panel && view.Panel(0).panel->PVBox()->Text() != lastPV) {
            lastPV = view.Panel(0).panel->PVBox()->Text();
            ++polls;
        }
    });
    watch.start(100);

    view.show();
    QElapsedTimer clock;
    clock.start();
    Probe probe;
    const double cpu0 = CpuSeconds();
    QTest::qWait(seconds * 1000);
    const double cpu = CpuSeconds() - cpu0, elapsed = clock.nsecsElapsed() / 1e9;
    const bool polling = view.Timer1->isActive();
    view.close();
    std::printf("regonline: %d polls with new values in %.1f s, polling %s\n", polls, elapsed,
                polling ? "still running" : "STOPPED");
    std::printf("regonline: cpu share of one core     %.4f %%\n", 100 * cpu / elapsed);
    std::printf("regonline: longest 10 ms probe gap   %.1f ms\n", probe.LongestGapMs());
    return polls > 0 && polling ? 0 : 1;
}
