// What the function-block editor adds to the block session: its blocks, the algorithms a read
// discards, the reserve of the last written records, the panels, and its file mode.

#include "FbEditorFixture.h"
#include "Obrinform.h"
#include "panels/Panfb.h"

#include <QProgressBar>

#include <tuple>

using Bytes = std::vector<uint8_t>;

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

    const auto reads = device.ReceivedOf('D');
    ASSERT_EQ(reads.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        const uint8_t id = uint8_t(20 + i);
        EXPECT_EQ(reads[size_t(i)], Frame::Build(1, 'D', std::span(&id, 1))) << i;
    }
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
    EXPECT_EQ(FB().GetFbText(0), QString());
    EXPECT_EQ(Cfg().Reserv.AlgNames().GetByte(0, 0), ' ');
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

    device.ClearLog();
    FB().FBModified = 1;
    Form().OutPortClick();
    const auto writes = device.ReceivedOf('E');
    ASSERT_EQ(writes.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(writes[size_t(i)][2], 20 + i);
    EXPECT_EQ(std::pair(Cfg().Reserv.FbRecords().GetByte(59, 0), Cfg().Reserv.FbRecords().GetByte(60, 0)),
              std::pair(1, 0));
}

TEST_F(FbEditorFixture, FailedOrMalformedReadReportsOnceAndKeepsTheTableAndTheAlgorithms) {
    FillDeviceBlocks();
    const auto shortBlock21 = [](const Bytes& req, Bytes& reply) {
        if (req[1] != 'D' || req[2] != 21) return false;
        reply.resize(4 + 80 + 2);
        reply[2] = 81;
        return true;
    };
    const auto block20EchoesAnother = [](const Bytes& req, Bytes& reply) {
        if (req[1] != 'D' || req[2] != 20) return false;
        reply[3] = 25;
        return true;
    };
    const struct {
        std::vector<Fault> faults;
        decltype(FaultPlan::alter) alter;
        QString text;
        int reads;
    } cases[] = {
        {{{FaultKind::Exception, 'D', 23, -1, 4}}, {}, "Отказ прибора.", 4},
        // Code 3 is the 60-block answer on block 26 only; elsewhere it is an ordinary error.
        {{{FaultKind::Exception, 'D', 24, -1, 3}}, {}, "Неверное значение данных.", 5},
        // Short block data, or another block's number, is a failure too.
        {{}, shortBlock21, "Неверная длина ответа.", 2},
        {{}, block20EchoesAnother, "Неверная длина ответа.", 1},
    };
    FillLocal(FB(), 0x40);
    SetSomeAlgorithms(Cfg());
    FB().BlockLengthByte = 100;
    const auto before = AllRecords(FB());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        device.ClearLog();
        device.Faults().faults = c.faults;
        device.Faults().alter = c.alter;
        ExpectDeviceError(c.text);
        Form().InPortClick();
        EXPECT_TRUE(boxes.Done());
        EXPECT_EQ(CountOf('D'), c.reads);
        EXPECT_EQ(AllRecords(FB()), before);
        EXPECT_EQ(std::pair(FB().FBCount, FB().BlockLengthByte), std::pair(120, 100));
        EXPECT_EQ(FB().AlgTable.GetCount(), 2);
        EXPECT_EQ(Cfg().Reserv.FbRecords().Get(0), QByteArray(16, '\0')); // the reserve neither
    }
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

TEST_F(FbEditorFixture, WriteSendsEveryBlockFrameByFrameThenKeepsTheReserve) {
    FillLocal(FB(), 0x11);
    FB().FBModified = 1;
    Cfg().Serv.DevNum = 2; // the requests go to the current device number
    Cfg().Serv.SetDevAddr(4);
    device.SetAddress(3);
    device.Faults().busyPolls = 3;
    Form().OutPortClick();

    const auto& frames = device.Received();
    ASSERT_EQ(frames.size(), 12u * 5);
    for (int b = 0; b < 12; ++b) {
        Bytes data{uint8_t(20 + b)};
        for (int i = 10 * b; i < 10 * b + 10; ++i) {
            const auto r = FB().GetRecord(i);
            data.insert(data.end(), r.begin(), r.end());
        }
        EXPECT_EQ(frames[size_t(5 * b)], Frame::Build(3, 'E', data)) << b;
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(frames[size_t(5 * b + p)], Frame::Build(3, 0x0E, {})) << b;
        EXPECT_EQ(device.Block(20 + b), Bytes(data.begin() + 1, data.end()));
    }
    std::vector<int> sleeps;
    for (int b = 0; b < 12; ++b)
        sleeps.insert(sleeps.end(), {50, 300, 200, 200, 200});
    EXPECT_EQ(clock.sleeps, sleeps);
    for (int i = 0; i < 120; ++i)
        ASSERT_EQ(Cfg().Reserv.FbRecords().Get(i),
                  QByteArray(reinterpret_cast<const char*>(FB().GetRecord(i).data()), 16));
    EXPECT_EQ(Form().windowTitle(), "Программирование обработки функциональных блоков ВЕГ-17-Р устройство 5");
    EXPECT_EQ(FB().FBModified, 0);
    EXPECT_TRUE(Form().ProgressBar1->isHidden());
}

TEST_F(FbEditorFixture, CloseQueryNoRestoresTheLastWrittenAndClosingAsks) {
    EXPECT_TRUE(Form().FormCloseQuery()); // no change, no question

    FillLocal(FB(), 0x33);
    SetAlgorithm(FB(), 0, {1, 2}, "A");
    const auto written = AllRecords(FB());
    FB().FBModified = 1;
    Form().OutPortClick();
    ASSERT_EQ(CountOf('E'), 12);

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
    for (int i = 0; i < 120; ++i)
        ASSERT_EQ(FB().GetRecord(i), DeviceRecord(device, i)) << i;
    EXPECT_EQ(std::tuple(FB().AlgTable.GetCount(), FB().AlgTable.GetEntry(0, 0), FB().AlgTable.GetMark(0)),
              std::tuple(0, 255, 255));
    EXPECT_EQ(std::pair(FB().GetFbText(0), CountOf('E')), std::pair(QString(), 0));
}
