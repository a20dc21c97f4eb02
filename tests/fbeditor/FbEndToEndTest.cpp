// The function-block editor against the devsim program over a real pseudo-terminal, opened from
// the discrete-signal editor: F9 reads the blocks, a record is edited, F10 writes them, and the
// device holds what was written.

#include "FbPtySession.h"
#include "SampleConfig.h"

#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
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
void EditorSession(TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals&,
                   ScriptedMessageBoxes&) { // any box fails the test
    TProgFBClass& fb = cfg.FB;
    ASSERT_TRUE(ShowActive(form));

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
    const auto written = AllRecords(fb);

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

    ExpectDeviceHolds(port, written);

    // Read back into a cleared table: the scheme shows the two blocks again.
    fb.ClearRecord(0);
    fb.ClearRecord(1);
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(AllRecords(fb), written);
    ASSERT_EQ(fb.EditorState.PanelCount, 2);
    EXPECT_EQ(form.PanFB[1]->InputBox(0)->Text(), "ФБ1");
    EXPECT_NE(form.PanMR[1], nullptr);

    form.close(); // nothing changed: no question
    EXPECT_FALSE(form.isVisible());
}

} // namespace

TEST(FbEndToEnd, ReadEditWriteOverAPseudoTerminal) {
    QTemporaryDir dir;
    RunFbEditorOverPty([](TConfiguration&) {}, EditorSession, {"--log", dir.filePath("bus.log")});
    // Two reads of the twelve blocks and the check of the written ones: the held F9 sent nothing.
    EXPECT_EQ(LoggedReads(dir.filePath("bus.log")), 3 * 12);
}
