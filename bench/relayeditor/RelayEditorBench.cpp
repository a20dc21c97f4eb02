// The relay-module editor against devsim on a pseudo-terminal at 115200 baud, one busy status
// poll: EditSlot with its block-9 read, one output type changed, OK and Yes (the write of block
// 9). Prints wall / the pauses the write must make (300 ms after the 'E', 200 ms before the poll
// after the busy one) and CPU / wall, medians over the runs.
//   relay_editor_bench [--runs N]   (default 5)

#include "BenchCpu.h"
#include "BenchDevice.h"
#include "Dialogs.h"
#include "Obr_veg17r.h"
#include "editors/relay/Prog_mr.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == "--runs") runs = args[i + 1].toInt();

    DevsimProcess devsim;
    TForm1 form1;
    if (!OpenDevsim(devsim, form1.ComPort, DEVSIM_PATH, 115200, {"--busy", "1"})) return 1;
    form1.InPortClick();
    TConfiguration& cfg = form1.Cfg;
    cfg.Veg.AccessLevel = 1;
    TFormMR& form = *form1.FormMR;
    int boxes = 0;
    SetMessageBoxHandler([&](QWidget*, const MessageBoxRequest&) {
        ++boxes;
        return mrYes; // the transfer question
    });
    SetModalHandler([&](QDialog*) {
        form.show();
        const int type = 1 - form.TipVyh[0]->currentIndex();
        form.TipVyh[0]->setCurrentIndex(type);
        emit form.TipVyh[0]->activated(type);
        form.OKClick();
        return form.result();
    });
    const double pauses = 0.300 + 0.200;
    std::vector<double> ratio, cpuShare;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = CpuSeconds();
        if (!form.EditSlot(3)) return 1;
        const double seconds = wall.nsecsElapsed() / 1e9;
        ratio.push_back(seconds / pauses);
        cpuShare.push_back((CpuSeconds() - cpu0) / seconds);
    }
    if (boxes != runs || cfg.MR.GetMrBaseSaved(3) != 1) {
        std::fprintf(stderr, "the write did not happen as expected (%d boxes)\n", boxes);
        return 1;
    }
    std::sort(ratio.begin(), ratio.end());
    std::sort(cpuShare.begin(), cpuShare.end());
    std::printf("open, change, OK, Yes: %d runs, pauses %.3f s; wall / pauses median %.4f (max %.4f); "
                "cpu / wall median %.4f (max %.4f)\n",
                runs, pauses, ratio[ratio.size() / 2], ratio.back(), cpuShare[cpuShare.size() / 2],
                cpuShare.back());
    return 0;
}
