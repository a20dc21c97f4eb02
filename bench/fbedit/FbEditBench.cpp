// The block commands of the function-block editor, each with the rebuild or update it makes and
// the window's event processing after it: on 120 blocks edit in place, delete 10 chosen blocks
// and select all; on 110 blocks create at the end, insert before block 1, and copy 10 blocks and
// insert them before block 1. The scheme is that of FbBenchScheme.h. Runs offscreen; prints the
// median of the runs in milliseconds (one frame is 16 ms).
//   fb_edit_bench [runs]

#include "Dialogs.h"
#include "FbBenchScheme.h"
#include "Obr_veg17r.h"
#include "RadioGroup.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/fb/Prog_fb.h"
#include "panels/Panfb.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Command {
    const char* name;
    int blocks;
    std::function<void(TFormFB&)> prepare; // not timed
    std::function<void(TFormFB&)> run;
};

void Choose(TFormFB& form, int first, int count) {
    form.PanFB1MouseDown(form.PanFB[first], Qt::LeftButton, {});
    for (int i = first + 1; i < first + count; ++i)
        form.PanFB1MouseDown(form.PanFB[i], Qt::LeftButton, Qt::ControlModifier);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    TForm1 form1;
    TConfiguration& cfg = form1.Cfg;
    cfg.Serv.SetSlotModuleCode(1, 13);
    cfg.Serv.SetSlotModuleCode(2, 2);  // discrete inputs: 12 light-board cells
    cfg.Serv.SetSlotModuleCode(3, 11); // a relay module
    cfg.Serv.SetDiscrInCount(48);
    cfg.Serv.SetAnInCount(8);
    TFormFB& form = *form1.FormFB;
    form.resize(1000, 800);
    form.show();
    QCoreApplication::processEvents();

    // The block dialog: an AND block, or the values it was filled with; the deletion asked: yes.
    SetModalHandler([](QDialog* d) {
        if (auto* dlg = qobject_cast<TFormCreatFB*>(d)) {
            if (dlg->RadioGroup1->ItemIndex() < 0) dlg->RadioGroup1->Button(0)->click();
            dlg->OK->click();
        }
        return int(mrOk);
    });
    SetMessageBoxHandler([](QWidget*, const MessageBoxRequest&) { return int(mrYes); });

    const std::vector<Command> commands = {
        {"edit in place", 120, [](TFormFB& f) { f.PanFB1MouseDown(f.PanFB[60], Qt::LeftButton, {}); },
         [](TFormFB& f) { f.AFB->trigger(); }},
        {"delete 10 chosen", 120, [](TFormFB& f) { Choose(f, 50, 10); },
         [](TFormFB& f) { f.ADelChoose->trigger(); }},
        {"select all", 120, [](TFormFB&) {}, [](TFormFB& f) { f.AChooseAll->trigger(); }},
        {"create at the end", 110, [](TFormFB&) {}, [](TFormFB& f) { f.ABFunc->trigger(); }},
        {"insert before block 1", 110, [](TFormFB& f) { f.PanFB1MouseDown(f.PanFB[0], Qt::RightButton, {}); },
         [](TFormFB& f) { f.InsertBl->trigger(); }},
        {"copy 10, insert before block 1", 110,
         [](TFormFB& f) {
             Choose(f, 20, 10);
             f.PanFB1MouseDown(f.PanFB[0], Qt::RightButton, {});
         },
         [](TFormFB& f) {
             f.ACopyGroup->trigger();
             f.AInSertGroup->trigger();
         }},
    };
    for (const Command& c : commands) {
        std::vector<double> ms;
        for (int r = 0; r < runs; ++r) {
            FillBenchScheme(cfg.FB, c.blocks);
            form.RebuildFBScheme();
            QCoreApplication::processEvents();
            c.prepare(form);
            QElapsedTimer t;
            t.start();
            c.run(form);
            QCoreApplication::processEvents();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf(
            "%-32s %3d blocks, %d runs: median %.2f ms, min %.2f ms, max %.2f ms (panels after: %d)\n",
            c.name, c.blocks, runs, ms[ms.size() / 2], ms.front(), ms.back(), cfg.FB.EditorState.PanelCount);
    }
    return 0;
}
