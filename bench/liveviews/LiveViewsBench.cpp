// Each of the four live views polling the devsim program on a pseudo-terminal at an emulated
// 9600 baud at its own period, with a 10 ms probe timer on the window thread: once with the device
// answering, once with it silent (each failure's box is answered and polling restarted, as a user
// would). Prints each run's CPU share of the process and the longest gap between probe ticks,
// then the median and the worst of all runs.
//   liveviews_bench [--seconds N]   (default 30 per run)

#include "BenchDevice.h"
#include "Comportclass.h"
#include "Dialogs.h"
#include "Obr_veg17r.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_infvhd.h"
#include "editors/analog/Prog_infvyh.h"
#include "editors/network/Prog_infanloc.h"
#include "editors/network/Prog_infvhdloc.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kBaud = 9600;

struct RunResult {
    int failures = 0;
    double cpuShare = 0, longestGapMs = 0;
};

// Request block 0: a ДКРН block of 6 values at analogue position 4, set points from row 36.
void MakeAnalogueBlock(TConfiguration& cfg) {
    TProgMBMClass& m = cfg.MBM;
    m.SetKodF(3, 0);
    m.SetKolVh(6, 0);
    m.SetKolDat(6, 0);
    m.SetTipUstr(1, 0);
    m.SetUstr(1, 0);
    m.SetStAddrBeg1(36, 0);
    m.SetStAddrBeg2(4, 0);
}

using ViewOf = std::function<TFormLiveView*(TForm1&)>;

bool Run(int seconds, const ViewOf& viewOf, const QStringList& devsimArgs, RunResult& out) {
    DevsimProcess devsim;
    TForm1 form1;
    if (!OpenDevsim(devsim, form1.ComPort, DEVSIM_PATH, kBaud, devsimArgs)) return false;
    MakeAnalogueBlock(form1.Cfg);
    TFormLiveView& view = *viewOf(form1);
    RestartAfterEachBox(view, out.failures);
    const Watched watched = WatchShown(view, seconds);
    out.cpuShare = watched.cpuShare;
    out.longestGapMs = watched.longestGapMs;
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int seconds = SecondsArgument(app.arguments());

    const std::vector<std::pair<const char*, ViewOf>> views{
        {"VhAnL",
         [](TForm1& f) {
             f.FormVhAnL->Prepare(0);
             return static_cast<TFormLiveView*>(f.FormVhAnL);
         }},
        {"VhDLoc",
         [](TForm1& f) {
             f.FormVhDLoc->Prepare(0);
             return static_cast<TFormLiveView*>(f.FormVhDLoc);
         }},
        {"VhD",
         [](TForm1& f) {
             f.FormVhD->SetHeader({"БРОН", "0", {}});
             return static_cast<TFormLiveView*>(f.FormVhD);
         }},
        {"VyhOnL", [](TForm1& f) { return static_cast<TFormLiveView*>(f.FormVyhOnL); }},
    };
    std::vector<double> cpu, gap;
    bool ok = true;
    for (const auto& [name, viewOf] : views) {
        RunResult answering, silent;
        if (!Run(seconds, viewOf, {}, answering) || !Run(seconds, viewOf, {"--fault", "no-reply"}, silent))
            return 1;
        for (const auto& [kind, r] : {std::pair{"answering", answering}, std::pair{"silent", silent}}) {
            std::printf(
                "%-6s %-9s: cpu share %.4f %%, longest 10 ms probe gap %.1f ms, %d failures reported\n", name,
                kind, r.cpuShare, r.longestGapMs, r.failures);
            cpu.push_back(r.cpuShare);
            gap.push_back(r.longestGapMs);
            ok = ok && r.cpuShare < 2 && r.longestGapMs < 30;
        }
        ok = ok && answering.failures == 0 && silent.failures > 0;
    }
    std::printf("all runs: cpu share median %.4f %%, worst %.4f %%\n", Median(cpu),
                *std::max_element(cpu.begin(), cpu.end()));
    std::printf("all runs: probe gap median %.1f ms, worst %.1f ms\n", Median(gap),
                *std::max_element(gap.begin(), gap.end()));
    return ok ? 0 : 1;
}
