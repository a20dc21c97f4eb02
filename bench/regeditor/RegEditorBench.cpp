// The control-loop editor. Prints:
//   rebuild: BuildRegScheme of its fullest schemes (a cascade; two ПЗ-fed loops), offscreen,
//            including layout and painting: the median of the runs, and the live widgets
//            before and after them
//   write:   F10 of blocks 32 and 33 against devsim on a pseudo-terminal at 115200 baud, one busy
//            status poll per block: wall / the pauses the sequence must make, and CPU / wall
//   reg_editor_bench [rebuild|write|all] [--runs N]

#include "BenchCpu.h"
#include "BenchDevice.h"
#include "Obr_veg17r.h"
#include "editors/regulators/Prog_reg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void SetLoop(TProgRegClass& reg, int rec, int pv, int type, int out) {
    reg.SetAnVh(rec, pv);
    reg.SetTReg(rec, 0, type);
    reg.SetVyh(rec, out);
    reg.SetKPText(rec, "1,5");
    reg.SetTiText(rec, "120");
    reg.SetOHText(rec, "100");
    reg.SetdSPText(rec, "25");
}

void Cascade(TProgRegClass& reg) {
    SetLoop(reg, 0, 1, 1, 9);
    SetLoop(reg, 1, 2, 8, 1);
}

void TwoProgramFed(TProgRegClass& reg) {
    for (int i = 0; i < 2; ++i) {
        SetLoop(reg, i, i + 1, 16 + i, i);
        reg.SetPZReg(i, i + 1);
        for (int k = 0; k < TProgRegClass::PZPoints; ++k) {
            reg.SetPZTime(i, k, 30 * (k + 1));
            reg.SetPZValue(i, k, 2000 * k - 4000);
        }
    }
}

// What an event loop does between two handlers: layout, painting, and the deferred deletes.
void EventLoopTurn() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int Rebuild(int runs) {
    TForm1 form1;
    TConfiguration& cfg = form1.Cfg;
    cfg.Serv.SetSlotModuleCode(1, 13);
    for (int c = 0; c < 2; ++c) {
        cfg.MBA.SetChNSkText(0, c, "0");
        cfg.MBA.SetChVSkText(0, c, "100");
    }
    cfg.Serv.FileMode = 1; // the scheme from memory
    TFormReg& form = *form1.FormReg;
    form.show();
    EventLoopTurn();
    const std::pair<const char*, std::function<void(TProgRegClass&)>> schemes[] = {
        {"cascade", Cascade}, {"two ПЗ-fed loops", TwoProgramFed}};
    for (const auto& [name, fill] : schemes) {
        cfg.Reg.DeleteRecords(0, TProgRegClass::RegMaxCount);
        cfg.Reg.DeletePZRecords(0, TProgRegClass::RegMaxCount);
        fill(cfg.Reg);
        form.BuildRegScheme();
        EventLoopTurn();
        const qsizetype widgets = QApplication::allWidgets().size();
        std::vector<double> ms;
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer t;
            t.start();
            form.BuildRegScheme();
            QCoreApplication::processEvents();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("rebuild (%s): %d frames, %d runs, median %.3f ms, min %.3f ms, max %.3f ms; "
                    "live widgets %lld before, %lld after\n",
                    name, cfg.Reg.RegEdit.FrameCount, runs, ms[ms.size() / 2], ms.front(), ms.back(),
                    qlonglong(widgets), qlonglong(QApplication::allWidgets().size()));
    }
    cfg.Reg.SetRegModified(0);
    form.close();
    return 0;
}

int Write(int runs) {
    constexpr int kBaud = 115200;
    DevsimProcess devsim;
    TForm1 form1;
    if (!OpenDevsim(devsim, form1.ComPort, DEVSIM_PATH, kBaud, {"--busy", "1"})) return 1;
    TConfiguration& cfg = form1.Cfg;
    cfg.Veg.AccessLevel = 1;
    TFormReg& form = *form1.FormReg;
    form.InPortClick();
    // Per block: 50 ms before it, 300 ms after its 'E', 200 ms before the poll after the busy one.
    const double pauses = 2 * (0.050 + 0.300 + 0.200);
    std::vector<double> ratio, cpuShare;
    for (int r = 0; r < runs; ++r) {
        cfg.Reg.SetRegModified(1);
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = CpuSeconds();
        form.OutPortClick();
        const double seconds = wall.nsecsElapsed() / 1e9;
        ratio.push_back(seconds / pauses);
        cpuShare.push_back((CpuSeconds() - cpu0) / seconds);
        if (cfg.Reg.GetRegModified() != 0) return 1;
    }
    std::sort(ratio.begin(), ratio.end());
    std::sort(cpuShare.begin(), cpuShare.end());
    std::printf("write: %d runs, pauses %.3f s; wall / pauses median %.4f (max %.4f); cpu / wall median %.4f "
                "(max %.4f)\n",
                runs, pauses, ratio[ratio.size() / 2], ratio.back(), cpuShare[cpuShare.size() / 2],
                cpuShare.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString mode = "all";
    int runs = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = args[++i].toInt();
        else
            mode = args[i];
    }
    int r = 0;
    if (mode == "rebuild" || mode == "all") r |= Rebuild(runs > 0 ? runs : 50);
    if (mode == "write" || mode == "all") r |= Write(runs > 0 ? runs : 5);
    return r;
}
