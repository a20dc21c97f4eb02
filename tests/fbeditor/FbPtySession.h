#pragma once
// The end-to-end run of the function-block editor: devsim on a pseudo-terminal, the port open on
// it, the editor (with its block dialog) opened from the discrete-signal editor; and the check of
// the device's function-block records.

#include "BlockExchange.h"
#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "FbEditorFixture.h"

#include <algorithm>
#include <functional>

// Reads blocks 20..31 of device 0 and checks that they hold the records.
inline void ExpectDeviceHolds(TComPortClass& port, const std::vector<FbRecord>& written) {
    std::vector<uint8_t> reply(256);
    for (int b = 0; b < 12; ++b) {
        ASSERT_EQ(ReadBlock(port, 0, 20 + b, reply), 0);
        for (int r = 0; r < 10; ++r)
            EXPECT_TRUE(std::equal(written[size_t(10 * b + r)].begin(), written[size_t(10 * b + r)].end(),
                                   reply.begin() + 4 + 16 * r))
                << "record " << 10 * b + r;
    }
}

// F10 writes the table and the device's blocks hold it; F9 after clearing the records reads the
// same table back.
inline void ExpectWrittenAndReadBack(TComPortClass& port, TFormFB& form, TProgFBClass& fb) {
    const auto written = AllRecords(fb);
    QTest::keyClick(&form, Qt::Key_F10);
    EXPECT_EQ(fb.FBModified, 0);
    ExpectDeviceHolds(port, written);
    for (int i = 0; i < fb.FBCount; ++i)
        fb.ClearRecord(i);
    QTest::keyClick(&form, Qt::Key_F9);
    EXPECT_EQ(AllRecords(fb), written);
}

using FbEditorSession =
    std::function<void(TComPortClass&, TFormFB&, TConfiguration&, ScriptedModals&, ScriptedMessageBoxes&)>;

// Prepares the configuration (logged in with the full level), then runs the session while the
// editor is open; devsim runs with the given arguments.
inline void RunFbEditorOverPty(const std::function<void(TConfiguration&)>& prepare,
                               const FbEditorSession& session, const QStringList& devsimArgs = {}) {
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
