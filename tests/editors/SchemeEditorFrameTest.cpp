// The frame of the scheme editors, under an editor of its own that only counts what reaches it:
// its actions and keys, the close query behind every way of closing, the scheme area's wheel and
// mouse, and the information buttons. Then every window of the editors under minimise and restore.

#include "editors/common/SchemeEditorFrame.h"
#include "EditorFixture.h"
#include "Obrnastr.h"
#include "Obrport.h"
#include "ShowActive.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_infvhd.h"
#include "editors/analog/Prog_kalibr.h"
#include "editors/analog/Prog_mba.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/network/Prog_f15.h"
#include "editors/network/Prog_lnet.h"
#include "editors/network/Prog_mbm.h"
#include "editors/regulators/Obrcreat_reg.h"
#include "editors/regulators/Uniregvis.h"
#include "editors/relay/Prog_mr.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <tuple>

namespace {

class CountingEditor : public SchemeEditorFrame {
  public:
    using SchemeEditorFrame::SchemeEditorFrame;

    void InPortClick() override { ++reads; }
    void OutPortClick() override { ++writes; }
    bool FormCloseQuery() override {
        ++closeQueries;
        return mayClose;
    }
    void ScrollBox1Click(QObject* sender) override {
        clickedBy = sender;
        ++emptyClicks;
    }
    bool InformFillOnly() const override { return fillOnly; }
    void FormShow() override { ++openings; }

    int reads = 0, writes = 0, closeQueries = 0, openings = 0, emptyClicks = 0;
    bool mayClose = false, fillOnly = false;
    QObject* clickedBy = nullptr;
};

class SchemeEditorFrameTest : public ::testing::Test {
  protected:
    TComPortClass port;
    EditorSurroundings parts{port};
    CountingEditor editor{parts.context};
};
// The editor context on the same surroundings: the identity line of printed tables, and the
// information windows it prints through.
using EditorContextTest = SchemeEditorFrameTest;

} // namespace

TEST_F(SchemeEditorFrameTest, ActionsCarryTheirCaptionsAndKeys) {
    EXPECT_EQ(editor.ScrollBoxPopup, editor.PopupMenu3);
    EXPECT_TRUE(editor.LabelFile->isHidden());
    EXPECT_TRUE(editor.ProgressBar1->isHidden());
    EXPECT_TRUE(editor.InformButMR->isHidden());

    const std::tuple<QAction*, QString, QKeySequence> cases[] = {
        {editor.AInPort, "Ввод с СОМ-порта", Qt::Key_F9},
        {editor.AOutPort, "Вывод на СОМ-порт", Qt::Key_F10},
        {editor.AClose, "Выход", Qt::ALT | Qt::Key_X},
        {editor.ACopyGroup, "Копировать ", Qt::CTRL | Qt::Key_C},
        {editor.AAddGroup, "", Qt::CTRL | Qt::Key_V},
        {editor.AChooseAll, "Выделить все", Qt::CTRL | Qt::Key_A},
        {editor.ADelChoose, "Удалить", Qt::Key_Delete},
        {editor.ADelete, "Удаление элементов", {}},
    };
    for (const auto& [action, caption, key] : cases) {
        EXPECT_EQ(action->text(), caption);
        EXPECT_EQ(action->shortcut(), key) << caption.toStdString();
        EXPECT_TRUE(editor.actions().contains(action)) << caption.toStdString();
    }
}

TEST_F(SchemeEditorFrameTest, KeysReachTheEditorAndEveryCloseAsksItsQuery) {
    ASSERT_TRUE(ShowActive(editor));
    QTest::keyClick(&editor, Qt::Key_F9);
    QTest::keyClick(&editor, Qt::Key_F10);
    QTest::keyClick(&editor, Qt::Key_F10);
    EXPECT_EQ(editor.reads, 1);
    EXPECT_EQ(editor.writes, 2);

    // Refused: Alt+X, Escape and the close box leave the window open.
    QTest::keyClick(&editor, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(&editor, Qt::Key_Escape);
    editor.close();
    EXPECT_EQ(editor.closeQueries, 3);
    EXPECT_TRUE(editor.isVisible());

    editor.mayClose = true;
    QTest::keyClick(&editor, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(editor.closeQueries, 4);
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(SchemeEditorFrameTest, WheelScrollsTheSchemeByTenPixels) {
    editor.SchemeArea->resize(200, 3000);
    editor.resize(400, 400);
    editor.show();
    QScrollBar* bar = editor.ScrollBox1->verticalScrollBar();
    const auto turn = [&](QWidget* target, int delta) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        return bar->value();
    };
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), -120), 10);
    EXPECT_EQ(turn(editor.SchemeArea, -120), 20);
    EXPECT_EQ(turn(editor.SchemeArea, 120), 10);
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), 120), 0);
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), 120), 0); // not above the top
}

// Any press on the empty scheme restores its popup; only a left click reaches the editor's click,
// once. The scheme is the whole visible area: on the canvas, and beside and below it where the
// window is larger than the scheme.
TEST_F(SchemeEditorFrameTest, ClickOnTheEmptySchemeRestoresItsPopupAndOnlyALeftOneReachesTheEditor) {
    editor.SchemeArea->resize(200, 150);
    editor.resize(700, 500);
    editor.show();
    QWidget* viewport = editor.ScrollBox1->viewport();
    ASSERT_GT(viewport->width(), 500);
    ASSERT_GT(viewport->height(), 300);
    for (const auto& [target, at] : {std::pair<QWidget*, QPoint>{editor.SchemeArea, QPoint(100, 75)},
                                     {viewport, QPoint(450, 50)},
                                     {viewport, QPoint(50, 250)}}) {
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
            editor.ScrollBoxPopup = editor.PopupMenu1; // as after a press on an element
            editor.clickedBy = nullptr;
            editor.emptyClicks = 0;
            QTest::mouseClick(target, button, {}, at);
            EXPECT_EQ(editor.ScrollBoxPopup, editor.PopupMenu3)
                << button << " at " << at.x() << "," << at.y();
            EXPECT_EQ(editor.clickedBy, button == Qt::LeftButton ? editor.ScrollBox1 : nullptr) << button;
            EXPECT_EQ(editor.emptyClicks, button == Qt::LeftButton ? 1 : 0) << button;
        }
    }
}

TEST_F(SchemeEditorFrameTest, InformationButtonsFillTheirWindows) {
    editor.show();
    parts.inform.StringGrid1->item(5, TInform::dcText)->setText("старое");
    editor.fillOnly = true;
    editor.InformBut->click();
    EXPECT_TRUE(parts.inform.StringGrid1->item(5, TInform::dcText)->text().isEmpty());
    EXPECT_TRUE(parts.inform.isHidden());
    editor.fillOnly = false;
    editor.InformBut->click();
    EXPECT_TRUE(parts.inform.isVisible());
    editor.InformButMRClick();
    EXPECT_TRUE(parts.informMR.isVisible());
}

TEST_F(EditorContextTest, IdentityLineNamesTheFileInFileModeElseTheDevice) {
    EditorContext& context = parts.context;
    const std::tuple<int, int, QString, QString, QString> cases[] = {
        {0, 0, "", "", "ВЕГ-17    № 1"},
        {0, 30, "D8300B00", "/data/a.veg", "ВЕГ-17  D8300B00  № 31"},
        {1, 4, "D8300B00", "/data/a.veg", "Файл /data/a.veg"},
        {1, 4, "D8300B00", "", "Файл "},
    };
    for (const auto& [fileMode, devNum, code, file, line] : cases) {
        parts.cfg->Serv.FileMode = fileMode;
        parts.cfg->Serv.DevNum = devNum;
        context.SetModifCode(code);
        context.SetConfigFileName(file);
        EXPECT_EQ(context.FileMode(), fileMode == 1);
        EXPECT_EQ(context.IdentityLine(), line);
    }
}

// Filling is the scheme editors' information buttons' test; here both print buttons keep the save
// dialog's answer in the context.
TEST_F(EditorContextTest, PrintButtonsOfItsWindowsKeepTheSaveDialogsAnswer) {
    ScriptedModals modals;
    for (QPushButton* print : {parts.inform.ButPrint, parts.informMR.ButPrint}) {
        parts.context.SaveDialogAccepted = 7;
        modals.Then([](QDialog*) { return int(QDialog::Rejected); });
        print->click();
        EXPECT_EQ(parts.context.SaveDialogAccepted, 0);
    }
    EXPECT_EQ(modals.Shown(), 2);
}

// Minimise and restore: the window manager hides and shows a window spontaneously, and no editor
// or periodic view takes that for a closing and an opening. Each window is opened and changed as
// a user would change it, then minimised and restored: what it shows and runs, its state in the
// configuration and the line to the device stay as they were, and no box appears.

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
    CountingEditor scheme{parts.context};
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
