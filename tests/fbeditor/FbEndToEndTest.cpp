// The function-block editor against the devsim program over a real pseudo-terminal, opened from
// the discrete-signal editor: F9 reads the blocks, a record is edited, F10 writes them, and the
// device holds what was written.

#include "BlockExchange.h"
#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "FbEditorFixture.h"
#include "SampleConfig.h"
#include "ScriptedDialogs.h"
#include "panels/Panfb.h"

#include <QApplication>
#include <QFile>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    PaintCounter(QWidget& widget, int& count) : count_(count) { widget.installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return false;
    }

  private:
    int& count_;
};

// The read requests ('D') the device logged.
int LoggedReads(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    int n = 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.contains(" -> ") && line.split(' ').value(3) == "44") ++n;
    return n;
}

// What the user does in the editor while it is shown.
void EditorSession(TComPortClass& port, TFormFB& form, TProgFBClass& fb) {
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(fb.FBCount, 120);
    EXPECT_EQ(fb.EditorState.PanelCount, SampleConfig::FunctionBlocks); // the device's sample scheme

    // Two blocks: an OR of discrete inputs 1 and 2, and a timer T2 taking the OR.
    for (int i = 2; i < SampleConfig::FunctionBlocks; ++i)
        fb.ClearRecord(i);
    SetLogicRecord(fb, 0, 3, {{0, 1}, {0, 2}});
    SetLogicRecord(fb, 1, 6, {{1, 1}});
    fb.SetSubtype(1, 2);
    fb.SetTimeUst(1, 45);
    fb.SetB9Plus(1, 1, 0x09);
    fb.SetRecByte(119, 15, 0x5A); // the last record's last byte
    fb.FBModified = 1;
    const auto written0 = fb.GetRecord(0), written1 = fb.GetRecord(1), written119 = fb.GetRecord(119);

    // While the write runs on the exchange thread, a 10 ms probe on this thread keeps firing, the
    // progress bar moves and repaints, and the keys the user presses meanwhile (a read, a
    // close) reach no window.
    int probes = 0, paints = 0;
    std::set<int> progress;
    PaintCounter counter(*form.ProgressBar1, paints);
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++probes;
        progress.insert(form.ProgressBar1->value());
        if (probes == 5) {
            QTest::keyClick(&form, Qt::Key_F9);
            QTest::keyClick(&form, Qt::Key_Escape);
        }
    });
    probe.start(10);
    QTest::keyClick(&form, Qt::Key_F10);
    probe.stop();
    EXPECT_GT(probes, 100); // the write takes 4.2 s of pauses
    EXPECT_GE(progress.size(), 4u);
    EXPECT_GT(paints, 3);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.ProgressBar1->isHidden());
    EXPECT_EQ(fb.FBModified, 0);
    EXPECT_TRUE(form.windowTitle().endsWith("устройство 1"));

    // The device's blocks hold the records.
    std::vector<uint8_t> reply(256);
    ASSERT_EQ(ReadBlock(port, 0, 20, reply), 0);
    EXPECT_TRUE(std::equal(written0.begin(), written0.end(), reply.begin() + 4));
    EXPECT_TRUE(std::equal(written1.begin(), written1.end(), reply.begin() + 4 + 16));
    ASSERT_EQ(ReadBlock(port, 0, 31, reply), 0);
    EXPECT_TRUE(std::equal(written119.begin(), written119.end(), reply.begin() + 4 + 9 * 16));

    // Read back into a cleared table: the scheme shows the two blocks again.
    fb.ClearRecord(0);
    fb.ClearRecord(1);
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(fb.GetRecord(0), written0);
    ASSERT_EQ(fb.EditorState.PanelCount, 2);
    EXPECT_EQ(form.PanFB[1]->InputBox(0)->Text(), "ФБ1");
    EXPECT_NE(form.PanMR[1], nullptr);

    form.close(); // nothing changed: no question
    EXPECT_FALSE(form.isVisible());
}

} // namespace

TEST(FbEndToEnd, ReadEditWriteOverAPseudoTerminal) {
    QString error;
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--log", devsim.TempPath("bus.log")}, &error))
        << error.toStdString();
    ScriptedMessageBoxes boxes; // any box fails the test

    TComPortClass port;
    ASSERT_TRUE(ConnectToDevsim(port, devsim, &error)) << error.toStdString();
    EditorSurroundings parts(port);
    parts.cfg->Veg.AccessLevel = 1;
    TProgFBClass& fb = parts.cfg->FB;

    FbEditors editors(parts.context);
    TFormFB& form = editors.fb;
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) {
        EXPECT_EQ(dialog, &form);
        EditorSession(port, form, fb);
        return int(mrCancel); // the editor's normal end
    });
    editors.prgD.AFB->trigger();
    EXPECT_EQ(modals.Shown(), 1);

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
    // Two reads of the twelve blocks and the checks of blocks 20 and 31: the held F9 sent
    // nothing.
    EXPECT_EQ(LoggedReads(devsim.TempPath("bus.log")), 2 * 12 + 2);
}
