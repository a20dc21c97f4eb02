// Minimise and restore: the window manager hides and shows a window spontaneously, and no editor
// or periodic view takes that for a closing and an opening. Each window is opened and changed as
// a user would change it, then minimised and restored: what it shows and runs, its state in the
// configuration and the line to the device stay as they were, and no box appears.

#include "EditorFixture.h"
#include "Obrnastr.h"
#include "Obrport.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_infvhd.h"
#include "editors/analog/Prog_kalibr.h"
#include "editors/analog/Prog_mba.h"
#include "editors/common/SchemeEditorFrame.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/network/Prog_f15.h"
#include "editors/network/Prog_lnet.h"
#include "editors/network/Prog_mbm.h"
#include "editors/regulators/Obrcreat_reg.h"
#include "editors/regulators/Uniregvis.h"
#include "editors/relay/Prog_mr.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// What a window shows and runs: its controls (shown, enabled, colour, text, check, choice), its
// focus and its timers.
QStringList Snapshot(const QWidget& window) {
    QStringList out;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        QString s = QString("%1 %2 %3 %4")
                        .arg(w->metaObject()->className())
                        .arg(w->isVisibleTo(&window))
                        .arg(w->isEnabled())
                        .arg(w->palette().color(QPalette::Base).name());
        if (const auto* e = qobject_cast<const QLineEdit*>(w)) s += ' ' + e->text();
        if (const auto* l = qobject_cast<const QLabel*>(w)) s += ' ' + l->text();
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) s += b->isChecked() ? " down" : " up";
        if (const auto* c = qobject_cast<const QComboBox*>(w)) s += ' ' + QString::number(c->currentIndex());
        if (const auto* n = qobject_cast<const QSpinBox*>(w)) s += ' ' + QString::number(n->value());
        out << s;
    }
    out << QString("focus %1").arg(quintptr(window.focusWidget()));
    for (const QTimer* t : window.findChildren<QTimer*>())
        out << (t->isActive() ? "timer on" : "timer off");
    return out;
}

// The frame both scheme editors stand on, counting its openings.
class SchemeEditor : public SchemeEditorFrame {
  public:
    using SchemeEditorFrame::SchemeEditorFrame;
    void InPortClick() override {}
    void OutPortClick() override {}
    bool FormCloseQuery() override { return true; }
    void FormShow() override { ++openings; }
    int openings = 0;
};

// An opened window, what the user changed in it and its state in the configuration.
struct Opened {
    QWidget* window;
    std::function<void()> change = [] {};
    std::function<QString()> kept = [] { return QString(); };
};

class WindowOpening : public EditorFixture {
  protected:
    TConfiguration& cfg = Cfg();
    TFormMBM mbm{parts.context};
    TFormF15 f15{parts.context};
    SchemeEditor scheme{parts.context};
    TFormMR relay{parts.context};
    TFormPROG analog{parts.context, {}};
    TFormTipDat sensors{parts.context};
    TFormKalibr calibration{parts.context};
    TFormLNet net{parts.context, mbm, f15};
    TFormCreatFB createFB{parts.context};
    TFormCreatReg createLoop{parts.context};
    TFormVhD liveView{parts.context};
    TFormRegOnLine loopView{parts.context};
    TFormPort portDialog{[this] { return port.GetLinkSettings(); }, {}};
    TFormNastr settingsDialog{[this] { return port.GetExchangeSettings(); }, {}};
};

} // namespace

TEST_F(WindowOpening, MinimiseAndRestoreChangeNothing) {
    TProgMRClass& mr = cfg.MR;
    const std::vector<std::pair<const char*, Opened>> windows = {
        {"scheme editors", {&scheme, [] {}, [&] { return QString::number(scheme.openings); }}},
        {"relay editor",
         {&relay, [&] { mr.SetMrBaseSaved(mr.GetCurSlot(), 0); },
          [&] { return QString::number(mr.GetMrBaseSaved(mr.GetCurSlot())); }}},
        {"analogue editor",
         {&analog,
          [&] {
              QPalette refused = analog.Sk[0]->palette();
              refused.setColor(QPalette::Base, Qt::red);
              analog.Sk[0]->setPalette(refused);
          }}},
        {"sensor types", {&sensors}},
        {"calibration", {&calibration}},
        {"network",
         {&net, [&] { net.Skor->setCurrentIndex(2), cfg.MBM.NetEdit.LinkChanged = 1; },
          [&] { return QString::number(cfg.MBM.NetEdit.LinkChanged); }}},
        {"network requests", {&mbm}},
        {"network F15",
         {&f15, [&] { f15.EditKolVh->setText("3"), f15.EditKolVhChange(); },
          [&] { return QString::number(cfg.F15.GetF15Unchanged()); }}},
        {"block creation", {&createFB, [&] { createFB.EditT->setFocus(); }}},
        {"loop creation", {&createLoop, [&] { createLoop.ErrorText->show(); }}},
        {"live view", {&liveView}},
        {"online loop view", {&loopView}},
        {"port",
         {&portDialog,
          [&] { portDialog.ComboSpeed->setCurrentIndex(portDialog.ComboSpeed->currentIndex() + 1); }}},
        {"exchange settings", {&settingsDialog, [&] { settingsDialog.SpinPovt2->setValue(5); }}},
    };
    for (const auto& [name, w] : windows) {
        SCOPED_TRACE(name);
        w.window->show();
        w.change();
        const QStringList before = Snapshot(*w.window) << w.kept();
        device.ClearLog();
        w.window->showMinimized();
        EXPECT_EQ(Snapshot(*w.window) << w.kept(), before);
        w.window->showNormal();
        EXPECT_EQ(Snapshot(*w.window) << w.kept(), before);
        EXPECT_TRUE(device.Received().empty());
        w.window->hide();
    }
}
