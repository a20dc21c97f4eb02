// The control-loop editor from the main window's button against the devsim program over a real
// pseudo-terminal, on the exchange thread: the editor reads the device's two loops, one is edited
// through the loop dialog, F10 writes blocks 32 and 33, the device holds them byte for byte, the
// main window's summary follows, and the editor closes without a question.

#include "BlockExchange.h"
#include "DeviceLayouts.h"
#include "DevsimPort.h"
#include "LoopSummary.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "ShowActive.h"
#include "editors/regulators/Obrcreat_reg.h"
#include "editors/regulators/Prog_reg.h"
#include "panels/Panreg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

namespace {

// The loop table (0) or the ПЗ table (1) as its block holds it.
Bytes Table(const TProgRegClass& reg, int table) {
    Bytes out;
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < TProgRegClass::RecordSize; ++k)
            out.push_back(uint8_t(table == 0 ? reg.GetRecByte(i, k) : reg.GetPZByte(i, k)));
    return out;
}

} // namespace

TEST(RegEditorEndToEnd, ReadEditWriteAndCloseOverAPseudoTerminal) {
    DevsimProcess devsim;
    ScriptedMessageBoxes boxes; // any box fails the test

    TForm1 form1;
    TComPortClass& port = form1.ComPort;
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {}, port));
    TConfiguration& cfg = form1.Cfg;
    form1.InPortClick();
    ASSERT_EQ(cfg.Serv.FileMode, 0);
    cfg.Veg.AccessLevel = 1;
    const Bytes deviceLoops = DeviceBlock(port, DeviceBlocks::RegLoops);
    const Bytes devicePZ = DeviceBlock(port, DeviceBlocks::RegProgram);
    const auto summaryInput = [&] { return form1.LoopSummary->CellText(0, TLoopSummary::cInput); };
    ASSERT_EQ(summaryInput(), "вх № 1");

    TFormReg& form = *form1.FormReg;
    TProgRegClass& reg = cfg.Reg;
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) -> int {
        EXPECT_EQ(dialog, &form);
        EXPECT_TRUE(ShowActive(form)); // reads blocks 32 and 33
        EXPECT_EQ(Table(reg, 0), deviceLoops);
        EXPECT_EQ(Table(reg, 1), devicePZ);
        EXPECT_EQ(reg.RegEdit.FrameCount, 2); // devsim's two single loops
        EXPECT_EQ(form.PanReg[1]->Number(), 2);
        EXPECT_FALSE(form.LabelFile->isVisible());

        // Loop 1 in the dialog: PV from input 3, Kp 2,5, Ti 60.
        TFormCreatReg& creat = *form1.FormCreatReg;
        modals.Then([&](QDialog* d) {
            EXPECT_EQ(d, &creat);
            EXPECT_EQ(creat.EditAnVh->text(), "1");
            creat.EditAnVh->setText("3");
            creat.EditAnVhExit();
            creat.EditKp->setText("2,5");
            creat.EditTi->setText("60");
            creat.OKClick();
            EXPECT_EQ(creat.Cancelled, 0) << creat.ErrorText->text().toStdString();
            return int(mrOk);
        });
        emit form.PanReg[0]->Body()->DblClick(form.PanReg[0]->Body());
        EXPECT_EQ(reg.GetAnVh(0), 3);
        EXPECT_EQ(summaryInput(), "вх № 1"); // not before the write

        QTest::keyClick(&form, Qt::Key_F10); // edited: no question
        // The device holds the read loops with the three edited fields of loop 1.
        TProgRegClass edited;
        EXPECT_TRUE(edited.TakeBlockData(deviceLoops));
        EXPECT_TRUE(edited.BlockToRecords(DeviceBlocks::RegLoops));
        edited.SetAnVh(0, 3);
        EXPECT_TRUE(edited.SetKPText(0, "2,5"));
        EXPECT_TRUE(edited.SetTiText(0, "60"));
        const Bytes expected = Table(edited, 0);
        EXPECT_EQ(Table(reg, 0), expected);
        EXPECT_EQ(DeviceBlock(port, DeviceBlocks::RegLoops), expected);
        EXPECT_EQ(DeviceBlock(port, DeviceBlocks::RegProgram), devicePZ);

        EXPECT_EQ(summaryInput(), "вх № 3"); // the main window's summary follows the write

        form.close(); // written: no question
        EXPECT_FALSE(form.isVisible());
        return form.result();
    });
    form1.ButProgReg->click();
    EXPECT_EQ(modals.Shown(), 2);

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}
