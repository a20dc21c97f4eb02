// What the function-block editor adds to the block session: its blocks, the algorithms a read
// discards, the reserve of the last written records, the panels, and its file mode.

#include "FbEditorFixture.h"
#include "Obrinform.h"
#include "panels/Panfb.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>

#include <tuple>

namespace {

// The device's data of record i, as block 20 + i / 10 holds it.
FbRecord DeviceRecord(SimDevice& d, int i) {
    FbRecord r;
    std::copy_n(d.Block(20 + i / 10).begin() + 16 * (i % 10), 16, r.begin());
    return r;
}

void FillLocal(TProgFBClass& fb, uint8_t seed) {
    for (int i = 0; i < TProgFBClass::FBCapacity; ++i)
        for (int k = 0; k < 16; ++k)
            fb.SetRecByte(i, k, uint8_t(seed + i * 3 + k));
}

void SetSomeAlgorithms(TConfiguration& cfg) {
    cfg.FB.AlgTable.SetCount(2);
    cfg.FB.AlgTable.SetCountNext(9);
    cfg.FB.AlgTable.SetMark(0, 1);
    cfg.FB.AlgTable.SetEntry(0, 0, 1);
    cfg.FB.AlgTable.SetEntry(1, 3, 7);
    cfg.FB.SetFbText(0, "Насос");
    cfg.Reserv.AlgReserve.SetCount(2);
    cfg.Reserv.AlgReserve.SetMark(5, 6);
    cfg.Reserv.AlgReserve.SetEntry(0, 0, 1);
    cfg.Reserv.AlgNames().SetByte(0, 0, 'A');
}

} // namespace

TEST_F(FbEditorFixture, ReadTakesTwelveBlocksAndDiscardsTheAlgorithms) {
    FillDeviceBlocks();
    device.Block(20)[0] = 1; // one AND block, then a record of no logic type
    SetSomeAlgorithms(Cfg());
    FB().BlockLengthByte = 100;
    Form().InPortClick();

    EXPECT_EQ(CountOf('D'), 12);
    for (int i = 0; i < 120; ++i)
        ASSERT_EQ(FB().GetRecord(i), DeviceRecord(device, i)) << i;
    // The scheme is rebuilt.
    EXPECT_EQ(std::tuple(FB().BlockLengthByte, FB().FBCount, FB().FBModified, FB().EditorState.PanelCount),
              std::tuple(161, 120, 0, 1));
    EXPECT_TRUE(Form().ProgressBar1->isHidden());

    // The algorithms are gone from the table and from the reserve.
    const auto& alg = FB().AlgTable;
    const auto& reserve = Cfg().Reserv.AlgReserve;
    EXPECT_EQ(std::tuple(alg.GetCount(), alg.GetCountNext(), alg.GetMark(0), alg.GetEntry(1, 3)),
              std::tuple(0, 0, 255, 255));
    EXPECT_EQ(std::tuple(reserve.GetCount(), reserve.GetMark(5), reserve.GetEntry(0, 0)),
              std::tuple(0, 255, 255));
    EXPECT_EQ(std::pair(FB().GetFbText(0), Cfg().Reserv.AlgNames().GetByte(0, 0)),
              std::pair(QString(), int(' ')));
    EXPECT_EQ(Cfg().Reserv.FbRecords().GetByte(119, 15), DeviceRecord(device, 119)[15]); // as read
}

// Only 60 blocks count on such a device: the panels, the logic count and the blocks written.
TEST_F(FbEditorFixture, SixtyBlockDeviceBoundsThePanelsAndTheWrite) {
    for (int id = 20; id <= 31; ++id)
        for (int r = 0; r < 10; ++r)
            device.Block(id)[size_t(16 * r)] = 1; // AND blocks everywhere
    device.Faults().sixtyBlocks = true;

    boxes.Expect("Прибор  на 60 ФБ", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    Form().InPortClick();
    EXPECT_EQ(
        std::tuple(FB().FBCount, FB().EditorState.PanelCount, FB().GetLogicFBLimit(), FB().LogicFBCount),
        std::tuple(60, 60, 60, 60));
    EXPECT_TRUE(Form().PanFB[59] && !Form().PanFB[60]);

    FB().FBModified = 1;
    Form().OutPortClick();
    EXPECT_EQ(CountOf('E'), 6);
    EXPECT_EQ(std::pair(Cfg().Reserv.FbRecords().GetByte(59, 0), Cfg().Reserv.FbRecords().GetByte(60, 0)),
              std::pair(1, 0));
}

TEST_F(FbEditorFixture, FailedReadKeepsTheTableAndTheAlgorithms) {
    FillDeviceBlocks();
    device.Faults().faults = {{FaultKind::Exception, 'D', 23, -1, 4}};
    FillLocal(FB(), 0x40);
    SetSomeAlgorithms(Cfg());
    FB().BlockLengthByte = 100;
    const auto before = AllRecords(FB());
    ExpectDeviceError("Отказ прибора.");
    Form().InPortClick();
    EXPECT_EQ(CountOf('D'), 4);
    EXPECT_EQ(AllRecords(FB()), before);
    EXPECT_EQ(std::tuple(FB().FBCount, FB().BlockLengthByte, FB().AlgTable.GetCount()),
              std::tuple(120, 100, 2));
    EXPECT_EQ(Cfg().Reserv.FbRecords().Get(0), QByteArray(16, '\0')); // the reserve neither
}

TEST_F(FbEditorFixture, FileModeSendsNothingAndMarksTheConfiguration) {
    Cfg().Serv.FileMode = 1;
    FB().FBCount = 60;
    Form().InPortClick();
    EXPECT_EQ(FB().FBCount, 120); // set before the mode is looked at
    FB().FBModified = 1;
    Form().OutPortClick();
    EXPECT_TRUE(device.Received().empty());

    Form().FormShow();
    EXPECT_FALSE(Form().LabelFile->isHidden());
    EXPECT_TRUE(parts.inform.isHidden()); // filled, not shown
    EXPECT_TRUE(Form().FormCloseQuery());
    EXPECT_EQ(Cfg().Serv.Modified, 1);

    Cfg().Serv.FileMode = 0;
    Form().FormShow();
    EXPECT_TRUE(Form().LabelFile->isHidden());
}

TEST_F(FbEditorFixture, WriteStoresEveryBlockAndNoRestoresTheLastWritten) {
    EXPECT_TRUE(Form().FormCloseQuery()); // no change, no question
    FillLocal(FB(), 0x11);
    SetAlgorithm(FB(), 0, {1, 2}, "A");
    const auto written = AllRecords(FB());
    FB().FBModified = 1;
    Cfg().Serv.DevNum = 2; // the requests go to the current device number
    Cfg().Serv.SetDevAddr(4);
    device.SetAddress(3);
    Form().OutPortClick();
    ASSERT_EQ(CountOf('E'), 12);
    for (int i = 0; i < 120; ++i) {
        ASSERT_EQ(DeviceRecord(device, i), written[size_t(i)]) << i;
        ASSERT_EQ(Cfg().Reserv.FbRecords().Get(i),
                  QByteArray(reinterpret_cast<const char*>(written[size_t(i)].data()), 16));
    }
    EXPECT_EQ(Form().windowTitle(), "Программирование обработки функциональных блоков ВЕГ-17-Р устройство 5");
    EXPECT_EQ(std::pair(FB().FBModified, Form().ProgressBar1->isHidden()), std::pair(0, true));

    // The records and the algorithms as they were at the write come back; nothing is sent.
    FB().SetRecByte(5, 0, 0x77);
    FB().SetRecByte(119, 15, 0x77);
    SetAlgorithm(FB(), 0, {3}, "B");
    FB().FBModified = 1;
    ExpectWriteQuestion(boxes, mrNo);
    EXPECT_TRUE(Form().FormCloseQuery());
    EXPECT_EQ(AllRecords(FB()), written);
    EXPECT_EQ(std::tuple(AlgList(FB(), 0), FB().GetFbText(0), FB().FBModified, CountOf('E')),
              std::tuple(std::vector{1, 2}, QString("A"), 0, 12));

    // Closing the shown window goes through the query.
    Form().show();
    FB().FBModified = 1;
    ExpectWriteQuestion(boxes, mrCancel);
    Form().close();
    EXPECT_TRUE(Form().isVisible());
    FB().FBModified = 0;
    Form().close();
    EXPECT_FALSE(Form().isVisible());
}

TEST_F(FbEditorFixture, SignallingAndRelayDialogsMarkTheTableOnlyWhileTheEditorIsVisible) {
    TFormSig& sig = editors.sig;
    TFormVyh& vyh = editors.vyh;
    const auto userEdits = [&] {
        QTest::mouseClick(vyh.Box(0, 0), Qt::LeftButton);
        const bool vyhMarked = FB().FBModified != 0;
        FB().FBModified = 0;
        QTest::keyClicks(sig.EditNTab, "5");
        const bool sigMarked = FB().FBModified != 0;
        FB().FBModified = 0;
        return std::pair{vyhMarked, sigMarked};
    };
    EXPECT_EQ(userEdits(), std::pair(false, false)); // the editor is not shown

    Form().show();
    FB().FBModified = 0;
    sig.SetType(TFormSig::stAlarm); // the caller's settings are no change
    sig.SetCell(3);
    vyh.SetMask(1, 0x0F);
    EXPECT_EQ(FB().FBModified, 0);
    EXPECT_EQ(userEdits(), std::pair(true, true));
    Form().hide();
}

// "No" returns to what the last successful read took: the device's table without algorithms.
TEST_F(FbEditorFixture, NoAfterAReadRestoresTheTableAsRead) {
    for (int i = 0; i < 4; ++i) {
        SetBlock(i, 1);
        FB().AlgTable.SetEntry(0, i, i + 1);
        const auto rec = FB().GetRecord(i);
        Cfg().Reserv.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
    FB().AlgTable.SetMark(0, 1);
    FB().AlgTable.SetCount(1);
    FB().SetFbText(0, "Старый");
    device.Block(20).assign(160, 0);
    device.Block(20)[0] = device.Block(20)[16] = 2; // two blocks
    ASSERT_TRUE(ShowActive(Form()));

    QTest::keyClick(&Form(), Qt::Key_F9);
    ASSERT_EQ(FB().EditorState.PanelCount, 2);
    const auto read = AllRecords(FB());
    QTest::mouseClick(Form().PanFB[1], Qt::LeftButton);
    ExpectDeleteQuestion(boxes, mrYes);
    QTest::keyClick(&Form(), Qt::Key_Delete);
    ASSERT_EQ(FB().EditorState.PanelCount, 1);
    ExpectWriteQuestion(boxes, mrNo);
    QTest::keyClick(&Form(), Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(AllRecords(FB()), read);
    EXPECT_EQ(std::tuple(FB().AlgTable.GetCount(), FB().AlgTable.GetEntry(0, 0), FB().AlgTable.GetMark(0)),
              std::tuple(0, 255, 255));
    EXPECT_EQ(std::pair(FB().GetFbText(0), CountOf('E')), std::pair(QString(), 0));
}

// The write first learns the device's capacity: to a device of another capacity no block goes,
// one box names both, and the edits stay marked for a later write.
TEST_F(FbEditorFixture, WriteToADeviceOfAnotherCapacitySendsNoBlock) {
    for (int f : {120, 60}) {
        SCOPED_TRACE(f);
        device.Faults().sixtyBlocks = f == 120;
        device.ClearLog();
        FB().FBCount = f;
        FB().FBModified = 1;
        boxes.Expect(f == 120 ? "Прибор  на 60 ФБ,\nконфигурация на 120 ФБ.\nПередача невозможна"
                              : "Прибор  на 120 ФБ,\nконфигурация на 60 ФБ.\nПередача невозможна",
                     "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        Form().OutPortClick();
        EXPECT_EQ(device.Received(),
                  (std::vector<std::vector<uint8_t>>{Frame::Build(1, 'D', std::vector<uint8_t>{26})}));
        EXPECT_EQ(std::pair(FB().FBModified, Form().ProgressBar1->isHidden()), std::pair(1, true));
    }
}

// In a tool holding no configuration the read first takes the device's composition: the counts
// of its inputs, the captions of the inputs on the scheme, and an unchanged block that keeps its
// inputs through the block dialog's OK. The tool still holds no configuration to write whole.
TEST_F(FbEditorFixture, ReadInAToolHoldingNoConfigurationTakesTheDevicesInputs) {
    ASSERT_FALSE(Cfg().Serv.HoldsConfiguration());
    QSignalSpy taken(&parts.context, &EditorContext::ConfigurationChanged);
    Form().show();
    Form().InPortClick();
    EXPECT_EQ(device.Received()[0], Frame::Build(1, 0x11, {}));
    EXPECT_EQ(CountOf('D'), 12);
    EXPECT_EQ(
        std::tuple(Cfg().Serv.GetDiscrInCount(), Cfg().Serv.GetAnInCount(), Cfg().Serv.GetSlotModuleCode(2)),
        std::tuple(36, 4, 2));
    EXPECT_EQ(std::pair(int(taken.count()), Cfg().Serv.HoldsConfiguration()), std::pair(1, false));
    EXPECT_EQ(parts.inform.StringGrid2->item(0, TInform::acIdent)->text(), "БРОН.А1");
    EXPECT_EQ(Form().PanFB[0]->InputBox(0)->Text(), "БРОН.Д1");
    EXPECT_EQ(Form().PanFB[0]->InputBox(1)->Text(), "БРОН.Д2");

    const FbRecord before = FB().GetRecord(0);
    QTest::mouseClick(Form().PanFB[0], Qt::LeftButton);
    modals.Then([](QDialog* d) {
        static_cast<TFormCreatFB*>(d)->OK->click();
        return 0;
    });
    Form().AFB->trigger();
    EXPECT_EQ(modals.Shown(), 1);
    EXPECT_EQ(FB().GetRecord(0), before);
    EXPECT_EQ(FB().GetInNum(0, 1), 2);
    Form().hide();
}
