// The relay-module editor against the devsim program over a real pseudo-terminal, on the exchange
// thread: EditSlot reads block 9, one output becomes a control output, OK and Yes write the
// block, and the device then holds the edited module beside its other four modules unchanged.

#include "DevsimPort.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "editors/relay/Prog_mr.h"

#include <QComboBox>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

TEST(RelayEditorEndToEnd, ReadEditWriteOverAPseudoTerminal) {
    DevsimProcess devsim;
    ScriptedMessageBoxes boxes;

    TForm1 form1;
    TComPortClass& port = form1.ComPort;
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {}, port));
    TConfiguration& cfg = form1.Cfg;
    form1.InPortClick();
    ASSERT_EQ(cfg.Serv.FileMode, 0);
    ASSERT_EQ(cfg.Serv.GetSlotModuleCode(3), 11);
    cfg.Veg.AccessLevel = 1;
    const Bytes sample = DeviceBlock(port, DeviceBlocks::RelayBase);

    TFormMR& form = *form1.FormMR;
    ScriptedModals modals;
    modals.Then([&](QDialog* dialog) -> int {
        EXPECT_EQ(dialog, &form);
        form.show();
        form.TipVyh[1]->setCurrentIndex(1);
        emit form.TipVyh[1]->activated(1);
        boxes.Expect("База  была изменена. Пeредать в прибор?", "Подтвердите передачу базы данных",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrYes);
        form.OKClick();
        EXPECT_FALSE(form.isVisible());
        return form.result();
    });
    ASSERT_TRUE(form.EditSlot(3));
    EXPECT_EQ(modals.Shown(), 1);

    // Output 2 of module 1 is a control output now: no acknowledge sources, no reset boxes.
    Bytes expected = sample;
    expected[3] = uint8_t((sample[3] & ~0x3F) | 0x01);
    expected[4] = 0;
    const Bytes written = DeviceBlock(port, DeviceBlocks::RelayBase);
    EXPECT_EQ(written, expected);
    for (int m = 1; m < TProgMRClass::ModuleCount; ++m)
        EXPECT_NE(Bytes(sample.begin() + 24 * m, sample.begin() + 24 * m + 24),
                  Bytes(sample.begin(), sample.begin() + 24));

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}
