// Rebuild of a full function-block scheme: 120 blocks of every logic type, each taking the block
// before it, signalling on every third block up to 62, relay outputs on every fifth, and twelve
// algorithms of ten blocks. Runs offscreen; prints the median of the runs in milliseconds.
//   fb_rebuild_bench [runs]

#include "Obr_veg17r.h"
#include "editors/fb/Prog_fb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void FillScheme(TProgFBClass& fb) {
    for (int i = 0; i < TProgFBClass::FBCapacity; ++i) {
        fb.ClearRecord(i);
        const int type = 1 + i % 9;
        fb.SetTypeByte(i, type);
        if (type == 6) fb.SetSubtype(i, i % 6);
        for (int j = 0; j < 4; ++j) {
            fb.SetInType(i, j, j % 2);
            fb.SetInKind(i, j, j == 0 ? 1 : j == 1 ? 0 : j == 2 ? 2 : 4);
            fb.SetInNum(i, j, j == 0 ? i : 1 + (i + j) % 40);
        }
        if (type == 8) {
            fb.SetIn8Kind(i, 1);
            fb.SetIn8Num(i, i);
            fb.SetX1Num(i, 3);
            fb.SetCompUstText(i, "12,5");
        }
        if (i < 62 && i % 3 == 0) {
            fb.SetSigTipS(i, 1 + i % 3);
            fb.SetSigNTabS(i, 1 + i % 12);
        }
        if (i % 5 == 4) fb.SetB9Plus(i, 1 + i % 5, 0x11);
    }
    fb.AlgTable.SetCount(12);
    for (int a = 0; a < 12; ++a) {
        fb.SetFbText(a, QString("Алгоритм %1").arg(a + 1));
        for (int j = 0; j < 10; ++j)
            fb.AlgTable.SetEntry(a, j, 10 * a + j + 1);
        fb.AlgTable.SetMark(10 * a, 10 * a + 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    TForm1 form1;
    FillScheme(form1.Cfg.FB);
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
