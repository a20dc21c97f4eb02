// Rebuild of a full function-block scheme: 120 blocks of every logic type, each taking the block
// before it, signalling on every third block up to 62, relay outputs on every fifth, and twelve
// algorithms of ten blocks. Runs offscreen; prints the median of the runs in milliseconds.
//   fb_rebuild_bench [runs]

#include "FbBenchScheme.h"
#include "Obr_veg17r.h"
#include "editors/fb/Prog_fb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    TForm1 form1;
    FillBenchScheme(form1.Cfg.FB);
    TFormFB& form = *form1.FormFB;
    form.resize(1000, 800);
    // Showing the window rebuilds the scheme the first time, creating every element.
    QElapsedTimer shown;
    shown.start();
    form.show();
    QCoreApplication::processEvents();
    const double first = double(shown.nsecsElapsed()) / 1e6;

    // The whole rebuild, and the part of it the window's event processing takes (layout and
    // painting of the new elements).
    std::vector<double> ms, events;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        form.RebuildFBScheme();
        const qint64 built = t.nsecsElapsed();
        QCoreApplication::processEvents();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        events.push_back(double(t.nsecsElapsed() - built) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(events.begin(), events.end());
    std::printf("fb rebuild: %d panels, %d runs, median %.2f ms (events %.2f ms), min %.2f ms, max %.2f ms, "
                "first (show) %.2f ms\n",
                form1.Cfg.FB.EditorState.PanelCount, runs, ms[ms.size() / 2], events[events.size() / 2],
                ms.front(), ms.back(), first);
    return 0;
}
