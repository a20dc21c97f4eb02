// The local-network windows of the main window against the devsim program over a real
// pseudo-terminal, on the exchange thread: after a read, a discrete and an analogue request block
// and a Ф15 block are created and written; then a block is deleted and the whole network written
// again. The device's blocks hold byte for byte what the configuration says.

#include "BlockAdapter.h"
#include "BlockExchange.h"
#include "DevsimPort.h"
#include "DevsimProcess.h"
#include "Dialogs.h"
#include "LocalNetwork.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "editors/network/Prog_f15.h"
#include "editors/network/Prog_lnet.h"
#include "editors/network/Prog_mbm.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

namespace {

// What the configuration gives for block id.
Bytes ConfigBlock(TConfiguration& cfg, int id) {
    Bytes data(size_t(DeviceBlocks::LengthOf(id) - 1));
    EXPECT_TRUE(BlockAdapter::PackBlock(cfg, id, data));
    return data;
}

Bytes Record(const Bytes& descriptor, int i) {
    const auto at = descriptor.begin() + TProgMBMClass::RequestSize * i;
    return Bytes(at, at + TProgMBMClass::RequestSize);
}

QStringList InputTexts(const TServClass& serv, int first, int last) {
    QStringList texts;
    for (int r = first; r <= last; ++r)
        texts << serv.GetInputText8(r);
    return texts;
}

ScriptedModals::Handler RequestBlock(TFormMBM& mbm, int type, const QString& slave) {
    return [&mbm, type, slave](QDialog* dialog) {
        EXPECT_EQ(dialog, &mbm);
        EXPECT_EQ(mbm.Label9->text(), "Создание");
        mbm.TipUstr->setCurrentIndex(type);
        mbm.TipUstrClick(type);
        mbm.EditUstr->setText(slave);
        mbm.EditKolVhChange();
        mbm.OKClick();
        return mbm.result();
    };
}

} // namespace

TEST(LocalNetEndToEnd, CreateWriteDeleteAndWriteAgainOverAPseudoTerminal) {
    DevsimProcess devsim;
    ScriptedMessageBoxes boxes; // any box not expected fails the test
    TForm1 form1;
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {}, form1.ComPort));
    TConfiguration& cfg = form1.Cfg;
    TComPortClass& port = form1.ComPort;
    TFormLNet& lnet = *form1.FormLNet;
    TFormMBM& mbm = *form1.FormMBM;
    TFormF15& f15 = *form1.FormF15;
    lnet.PopupAutoShow = false;

    form1.InPortClick();
    ASSERT_EQ(cfg.Serv.FileMode, 0);
    ASSERT_EQ(cfg.Serv.GetDiscrInCount(), 36);
    ASSERT_EQ(cfg.Serv.GetAnInCount(), 4);
    const QStringList moduleTexts = InputTexts(cfg.Serv, 24, 35); // the discrete module's inputs
    ASSERT_FALSE(moduleTexts.first().isEmpty());

    const auto transferQuestion = [&] {
        boxes.Expect("База  была изменена. Передать в прибор?", "Подтвердите передачу данных ",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrYes);
    };

    // A ВЕГ-01 block, a ДКРН block and a Ф15 block; the Ф15 editor writes its block at once.
    ScriptedModals modals;
    modals
        .Then([&](QDialog* dialog) {
            EXPECT_EQ(dialog, &lnet);
            lnet.show();
            EXPECT_FALSE(lnet.GroupBox1->isHidden());
            EXPECT_TRUE(lnet.Save->isHidden());
            EXPECT_TRUE(lnet.Save15->isHidden());
            lnet.Button1Click(0);
            lnet.Button1Click(1);
            lnet.LocNet15_1Click(1);
            transferQuestion();
            lnet.OKClick();
            return lnet.result();
        })
        .Then(RequestBlock(mbm, LocalNet::Veg01, "3"))
        .Then(RequestBlock(mbm, LocalNet::Dkrn, "4"))
        .Then([](QDialog* dialog) { // an analogue block's close opens its scaling
            EXPECT_EQ(dialog->windowTitle(),
                      "Программирование масштабирования аналоговых сигналов локальной сети");
            return 2;
        })
        .Then([&](QDialog* dialog) {
            EXPECT_EQ(dialog, &f15);
            f15.EditKodF->setText("15");
            f15.CBoxUstr->setCurrentIndex(1);
            f15.EditKolVh->setText("3");
            f15.EditKolVhExit();
            f15.EditKolDat->setText("3");
            f15.EditAdBegDat->setText("0340");
            for (int j = 0; j < 3; ++j)
                f15.Edits[size_t(j)]->setText(QString::number(37 + j));
            f15.EditKolVhChange();
            boxes.Expect("База  была изменена.Сохранить?", "Подтвердите сохранение базы данных",
                         MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrYes);
            f15.OKClick();
            return f15.result();
        });
    EXPECT_EQ(ShowModal(&lnet), mrCancel);
    ASSERT_TRUE(boxes.Done());

    const Bytes veg01{1, 16, 3, 0, 0, 16, 0, 0, 36, 4, 0, 0};
    const Bytes dkrn{3, 1, 4, 0, 0, 1, 0, 1, 52, 4, 0x00, 0x40};
    Bytes descriptor = DeviceBlock(port, DeviceBlocks::NetDescriptor);
    EXPECT_EQ(descriptor, ConfigBlock(cfg, DeviceBlocks::NetDescriptor));
    EXPECT_EQ(Record(descriptor, 0), veg01);
    EXPECT_EQ(Record(descriptor, 1), dkrn);
    Bytes f15Data{15, 3, 2, 0x40, 0x03, 3, 0, 0, 37, 38, 39};
    f15Data.resize(80);
    EXPECT_EQ(DeviceBlock(port, DeviceBlocks::F15Blocks), f15Data);
    for (int id = 2; id <= 8; ++id)
        EXPECT_EQ(DeviceBlock(port, id), ConfigBlock(cfg, id)) << id;
    EXPECT_EQ(form1.StAllD->text(), "56");
    EXPECT_EQ(InputTexts(cfg.Serv, 24, 35), moduleTexts);

    // A name and a function-block input on the ДКРН block's first set point (row 52), then the
    // ВЕГ-01 block is deleted: both move down by 16, and the whole network is written.
    cfg.Serv.SetNameText(52, "Уровень");
    cfg.FB.SetInNum(0, 1, 53);
    modals.Then([&](QDialog*) {
        lnet.show();
        lnet.Button1MouseDown(0);
        lnet.DeleteBl->trigger();
        transferQuestion();
        lnet.OKClick();
        return lnet.result();
    });
    EXPECT_EQ(ShowModal(&lnet), mrCancel);
    ASSERT_TRUE(boxes.Done());

    descriptor = DeviceBlock(port, DeviceBlocks::NetDescriptor);
    Bytes moved = dkrn;
    moved[8] = 36;
    EXPECT_EQ(Record(descriptor, 0), moved);
    EXPECT_EQ(Record(descriptor, 1), Bytes(12, 0));
    for (int id : {10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 25, 31, 41, 42, 51})
        EXPECT_EQ(DeviceBlock(port, id), ConfigBlock(cfg, id)) << id;
    const Bytes names = DeviceBlock(port, 42); // rows 32..47, 14 characters each
    EXPECT_EQ(Bytes(names.begin() + 4 * 14, names.begin() + 4 * 14 + 7),
              (Bytes{0xD3, 0xF0, 0xEE, 0xE2, 0xE5, 0xED, 0xFC})); // "Уровень" in the single-byte code page
    EXPECT_EQ(form1.StAllD->text(), "40");
    EXPECT_EQ(InputTexts(cfg.Serv, 24, 35), moduleTexts);

    port.ClosePort();
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}
