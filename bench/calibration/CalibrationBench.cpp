// The calibration window polling the devsim program on a pseudo-terminal at an emulated 9600
// baud at its 3000 ms period, with a 10 ms probe timer on the window thread: once with the device
// answering, once with it silent (each failure's box is answered and polling restarted, as a user
// would). Prints the process's CPU share and the longest gap between probe ticks of each run.
//   calibration_bench [--seconds N]   (default 30 per run)

#include "BenchDevice.h"
#include "Comportclass.h"
#include "Dialogs.h"
#include "Obr_veg17r.h"
#include "editors/analog/Prog_kalibr.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kBaud = 9600;

struct RunResult {
    int polls = 0, failures = 0;
    double cpuShare = 0, longestGapMs = 0;
};

bool Run(int seconds, const QStringList& devsimArgs, RunResult& out) {
    DevsimProcess devsim;
    TForm1 form1;
    if (!OpenDevsim(devsim, form1.ComPort, DEVSIM_PATH, kBaud, devsimArgs)) return false;
    TFormKalibr& view = *form1.FormKalibr;
    form1.Cfg.MBA.SetKalibrModuleCode(13);
    view.Module = 1;
    RestartAfterEachBox(view, out.failures);
    QString lastCode;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (view.Row[0].XACP->text() != lastCode) {
            lastCode = view.Row[0].XACP->text();
            ++out.polls;
        }
    });
    watch.start(100);

    const Watched watched = WatchShown(view, seconds);
    out.cpuShare = watched.cpuShare;
    out.longestGapMs = watched.longestGapMs;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int seconds = SecondsArgument(app.arguments());

    RunResult answering, silent;
    if (!Run(seconds, {}, answering) || !Run(seconds, {"--fault", "no-reply"}, silent)) return 1;
    for (const auto& [name, r] : {std::pair{"answering", answering}, std::pair{"silent", silent}}) {
        std::printf("calibration %-9s: %d polls showing a new code, %d failures reported\n", name, r.polls,
                    r.failures);
        std::printf("calibration %-9s: cpu share of one core     %.4f %%\n", name, r.cpuShare);
        std::printf("calibration %-9s: longest 10 ms probe gap   %.1f ms\n", name, r.longestGapMs);
    }
    const bool ok = answering.cpuShare < 2 && silent.cpuShare < 2 && answering.longestGapMs < 30 &&
                    silent.longestGapMs < 30 && answering.failures == 0 && silent.failures > 0;
    return ok ? 0 : 1;
}
