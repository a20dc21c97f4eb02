// The function-block editor against the devsim program over a real pseudo-terminal, opened from
// the discrete-signal editor. F9 reads the blocks, a record is edited, F10 writes them, and the
// device holds what was written; and blocks are created, inserted, copied, appended and deleted,
// given signalling and a relay output, written and read back as the same scheme.

#include "BlockExchange.h"
#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "FbEditorFixture.h"
#include "SampleConfig.h"

#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <set>

namespace {

// Reads blocks 20..31 of device 0 and checks that they hold the records.
void ExpectDeviceHolds(TComPortClass& port, const std::vector<FbRecord>& written) {
    std::vector<uint8_t> reply(256);
    for (int b = 0; b < 12; ++b) {
        ASSERT_EQ(ReadBlock(port, 0, 20 + b, reply), 0);
        for (int r = 0; r < 10; ++r)
            EXPECT_TRUE(std::equal(written[size_t(10 * b + r)].begin(), written[size_t(10 * b + r)].end(),
                                   reply.begin() + 4 + 16 * r))
                << "record " << 10 * b + r;
    }
}

using FbEditorSession =
    std::function<void(TComPortClass&, TFormFB&, TConfiguration&, ScriptedModals&, ScriptedMessageBoxes&)>;

// Prepares the configuration (logged in with the full level), then runs the session while the
// editor is open; devsim runs with the given arguments.
void RunFbEditorOverPty(const std::function<void(TConfiguration&)>& prepare, const FbEditorSession& session,
                        const QStringList& devsimArgs = {}) {
    QString error;
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, devsimArgs, &error)) << error.toStdString();
    ScriptedMessageBoxes boxes;

    TComPortClass port;
    ASSERT_TRUE(ConnectToDevsim(port, devsim, &error)) << error.toStdString();
    EditorSurroundings parts(port);
    TConfiguration& cfg = *parts.cfg;
    cfg.Veg.AccessLevel = 1;
    prepare(cfg);

    FbEditors editors(parts.context);
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) {
        EXPECT_EQ(dialog, &editors.fb);
        session(port, editors.fb, cfg, modals, boxes);
        return int(mrCancel);
    });
    editors.prgD.AFB->trigger();
    EXPECT_GE(modals.Shown(), 1); // the editor opened

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}

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
void ReadEditWrite(TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals&,
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

// The block dialog answered with an OR of discrete input `input` and block `block`.
ScriptedModals::Handler OrOf(int input, int block) {
    return [=](QDialog* d) {
        auto* dlg = static_cast<TFormCreatFB*>(d);
        dlg->RadioGroup1->Button(2)->click();
        dlg->TypeBoxes[0]->setCurrentIndex(1);
        dlg->EditVx1->setText(QString::number(input));
        dlg->TypeBoxes[1]->setCurrentIndex(1);
        dlg->SourceBoxes[1]->setCurrentIndex(1);
        dlg->EditVx2->setText(QString::number(block));
        dlg->OK->click();
        return 0;
    };
}

void CreateInsertCopyDelete(TComPortClass& port, TFormFB& form, TConfiguration& cfg, ScriptedModals& modals,
                            ScriptedMessageBoxes& boxes) {
    TProgFBClass& fb = cfg.FB;
    ASSERT_TRUE(ShowActive(form));
    QTest::keyClick(&form, Qt::Key_F9);
    ASSERT_EQ(fb.EditorState.PanelCount, SampleConfig::FunctionBlocks);
    // The sample's calculation records behind the blocks: two integrators, its arithmetic blocks.
    ASSERT_EQ((std::array{fb.IntegratorCount, fb.ArithBlockCount}),
              (std::array{2, SampleConfig::ArithBlocks}));
    const auto down = [&](int i, Qt::MouseButton b, Qt::KeyboardModifiers m = {}) {
        form.PanFB1MouseDown(form.PanFB[i], b, m);
    };

    modals.Then(OrOf(3, 10));
    form.ABFunc->trigger(); // block 11
    down(1, Qt::RightButton);
    modals.Then(OrOf(4, 1));
    form.InsertBl->trigger(); // before block 2: 12 blocks
    ASSERT_EQ(fb.EditorState.PanelCount, 12);
    EXPECT_EQ(fb.GetInNum(11, 1), 11); // the created block follows block 10
    down(0, Qt::LeftButton);
    down(1, Qt::LeftButton, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier); // blocks 13 and 14
    ASSERT_EQ(fb.EditorState.PanelCount, 14);
    EXPECT_EQ(fb.GetInNum(13, 1), 13); // the copy of block 2 takes the copy of block 1
    down(4, Qt::LeftButton);
    ExpectDeleteQuestion(boxes, mrYes);
    QTest::keyClick(&form, Qt::Key_Delete);
    ASSERT_EQ(fb.EditorState.PanelCount, 13);

    down(0, Qt::LeftButton);
    modals.Then([](QDialog* d) {
        auto* sig = static_cast<TFormSig*>(d);
        sig->SetType(TFormSig::stAlarm);
        sig->SetCell(5);
        return 1;
    });
    form.ABSign->trigger();
    modals.Then([](QDialog* d) {
        static_cast<TFormVyh*>(d)->SetMask(0, 0x06);
        return TFormVyh::kAccepted;
    });
    form.ABVyh->trigger();
    // Ctrl+O and Ctrl+S open the dialogs of the selected block again.
    modals.Then([](QDialog* d) {
        EXPECT_EQ(static_cast<TFormVyh*>(d)->Mask(0), 0x06);
        return 0;
    });
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    modals.Then([](QDialog* d) {
        EXPECT_EQ(static_cast<TFormSig*>(d)->Cell(), 5);
        return 1;
    });
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(modals.Shown(), 7); // the editor itself and six dialogs
    EXPECT_EQ((std::array{fb.GetSigTipS(0), fb.GetSigNTabS(0), fb.GetB9Plus(0, 1)}), (std::array{2, 5, 6}));

    // The device's blocks 20..31 hold the records, and F9 shows the same scheme again.
    const auto written = AllRecords(fb);
    QTest::keyClick(&form, Qt::Key_F10);
    EXPECT_EQ(fb.FBModified, 0);
    ExpectDeviceHolds(port, written);
    for (int i = 0; i < fb.FBCount; ++i)
        fb.ClearRecord(i);
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(AllRecords(fb), written);
    EXPECT_EQ(fb.EditorState.PanelCount, 13);
    EXPECT_NE(form.PanSign[0], nullptr);
    EXPECT_EQ(form.PanFB[12]->InputBox(1)->Text(), "ФБ12");
    form.close();
}

} // namespace

TEST(FbEndToEnd, ReadEditWriteOverAPseudoTerminal) {
    QTemporaryDir dir;
    RunFbEditorOverPty([](TConfiguration&) {}, ReadEditWrite, {"--log", dir.filePath("bus.log")});
    // Two reads of the twelve blocks, the read of block 26 that learns the device's capacity
    // before the write, and the check of the written ones: the held F9 sent nothing.
    EXPECT_EQ(LoggedReads(dir.filePath("bus.log")), 3 * 12 + 1);
}

TEST(FbEditEndToEnd, CreateInsertCopyDeleteWriteAndReadBack) {
    RunFbEditorOverPty(
        [](TConfiguration& cfg) {
            cfg.Serv.SetSlotModuleCode(1, 15); // a controller with relays and 16 own inputs
            cfg.Serv.SetDiscrInCount(16);
        },
        CreateInsertCopyDelete);
}
