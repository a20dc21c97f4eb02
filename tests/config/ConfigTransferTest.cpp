// Reading the configuration from the simulated device and writing it back: the frames on the
// line, the blocks in the model and in the device, the 60-block device, failures half-way.

#include "ConfigTransfer.h"
#include "ConfigSamples.h"
#include "DeviceLayouts.h"
#include "ModbusFrame.h"
#include "ScriptedDialogs.h"
#include "SimFixture.h"

#include <QProgressBar>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<int> BlocksOf(const std::vector<Bytes>& frames) {
    std::vector<int> ids;
    for (const auto& f : frames)
        ids.push_back(f.size() > 2 ? f[2] : -1);
    return ids;
}

std::vector<int> Expected(int fbCount) {
    std::vector<int> v{1, 12};
    for (int id = 20; id < 20 + fbCount / 10; ++id)
        v.push_back(id);
    for (int id : {32, 33, 35, 40, 41})
        v.push_back(id);
    return v;
}

class ConfigTransferTest : public SimFixture {
  protected:
    // A device of three modules whose input counts are those of the sample configurations.
    ConfigTransferTest() {
        auto& composition = device.Composition();
        const uint8_t slotCodes[8] = {13, 7, 9, 0, 0, 0, 0, 0};
        std::copy(std::begin(slotCodes), std::end(slotCodes), composition.begin() + Composition::SlotCodes);
        composition[Composition::DiscreteInputs] = 24;
        composition[Composition::AnalogueInputs] = 4;
    }
    void FillDevice() {
        for (int id : Expected(120)) {
            auto& b = device.Block(id);
            for (size_t k = 0; k < b.size(); ++k)
                b[k] = uint8_t(id * 31 + k * 7);
        }
    }
    void MatchSampleModules() {
        device.Composition()[Composition::SlotCodes + 3] = 2;
        device.Composition()[Composition::SlotCodes + 4] = 11;
    }
    // Every block the transfer carries is the same in the model and in the device (where in the
    // model each block's bytes go is the block adapter's own).
    void ExpectModelMatchesDevice(TConfiguration& cfg, int fbCount) {
        for (int id : Expected(fbCount)) {
            Bytes image(device.Block(id).size());
            PackConfigBlock(cfg, id, image.data(), int(image.size()));
            EXPECT_EQ(image, device.Block(id)) << id;
        }
        // The reserve holds what the device now has.
        EXPECT_EQ(cfg.Reserv.FbRecords().GetByte(fbCount - 1, 15), cfg.FB.GetRecByte(fbCount - 1, 15));
        EXPECT_EQ(cfg.Reserv.LoopRecords().GetByte(1, 3), cfg.Reg.GetRecByte(1, 3));
        EXPECT_EQ(cfg.Reserv.LoopRecords().GetByte(2, 5), cfg.Reg.GetPZByte(0, 5));
        EXPECT_EQ(cfg.Reserv.ModuleImages().Get(0).mid(1),
                  QByteArray(reinterpret_cast<const char*>(device.Block(1).data()), 168));
        EXPECT_TRUE(bar.isHidden());
    }
    QProgressBar bar;
};

} // namespace

// A 60-block device refuses block 26 with code 3: read without an error, F = 60.
TEST_F(ConfigTransferTest, ReadTakesEveryBlockIntoTheModelAndTheReserve) {
    FillDevice();
    device.SetAddress(3);
    for (bool sixty : {false, true}) {
        SCOPED_TRACE(sixty);
        device.ClearLog();
        device.Faults().sixtyBlocks = sixty;
        const int f = sixty ? 60 : 120;
        auto cfg = MakeSample(120, 9);
        cfg->Serv.FileMode = 1;
        cfg->Serv.Modified = 1;
        ScriptedMessageBoxes none;
        ASSERT_TRUE(ReadConfigFromDevice(nullptr, *cfg, port, 2, &bar));

        // Frames: the identify request, then one 'D' per block in the fixed order.
        std::vector<int> asked = Expected(f);
        if (sixty) asked.insert(asked.begin() + 8, 26);
        EXPECT_EQ(device.Received().size(), 1 + asked.size());
        EXPECT_EQ(device.Received()[0], Frame::Build(3, 0x11, {}));
        EXPECT_EQ(BlocksOf(device.ReceivedOf('D')), asked);
        EXPECT_EQ(device.Received()[2], Frame::Build(3, 'D', Bytes{12}));

        ExpectModelMatchesDevice(*cfg, f);
        EXPECT_EQ(cfg->FB.FBCount, f);
        EXPECT_TRUE(!sixty || (cfg->FB.GetRecByte(60, 5) == 0 && cfg->FB.GetRecByte(119, 0) == 0));
        EXPECT_EQ(cfg->MBA.GetModuleByte(0, 0), 1);
        EXPECT_EQ(cfg->Serv.GetNameText(40), QString()); // names of the previous configuration are gone
        EXPECT_EQ(cfg->Serv.GetSlotModuleCode(2), 7);
        EXPECT_EQ(cfg->Serv.GetSlotModuleCode(4), 0);
        EXPECT_EQ(cfg->Serv.GetDevAddr(), 2);
        EXPECT_EQ(cfg->Serv.DevNum, 2);
        EXPECT_EQ(cfg->Serv.FileMode, 0);
        EXPECT_EQ(cfg->Serv.Modified, 0);
        // The algorithms are reset.
        EXPECT_EQ(cfg->FB.AlgTable.GetCount(), 0);
        EXPECT_EQ(cfg->FB.AlgTable.GetMark(0), 255);
        EXPECT_EQ(cfg->FB.GetFbText(0), QString());
        EXPECT_EQ(cfg->Reserv.AlgReserve.GetEntry(0, 0), 255);
        EXPECT_EQ(bar.value(), bar.maximum());
    }
}

// A read shows the sensor types the device holds, not those the configuration had before.
TEST_F(ConfigTransferTest, ReadShowsTheDevicesSensorTypes) {
    FillDevice();
    auto namur = MakeSample(120);
    SetSensors2And6(*namur, 1);
    PackConfigBlock(*namur, 1, device.Block(1).data(), int(device.Block(1).size()));
    auto cfg = MakeSample(120, 9);
    SetSensors2And6(*cfg, 0);
    ScriptedMessageBoxes none;
    ASSERT_TRUE(ReadConfigFromDevice(nullptr, *cfg, port, 0, &bar));
    EXPECT_EQ(ShownSensorTypes(*cfg), kNamur2And6);
}

TEST_F(ConfigTransferTest, FailedReadIsReportedOnceAndChangesNothing) {
    FillDevice();
    const struct {
        Fault fault;
        const char* text;
    } cases[] = {
        {{FaultKind::Exception, 'D', 33, -1, 2}, "Неверный адрес данных."},
        {{FaultKind::NoReply, 'D', 20, -1, 0}, "Прибор не отвечает."},
        {{FaultKind::Exception, 0x11, -1, -1, 4}, "Отказ прибора."},
        // Code 3 tells a 60-block device on block 26 only.
        {{FaultKind::Exception, 'D', 27, -1, 3}, "Неверное значение данных."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        device.Faults().faults = {c.fault};
        auto cfg = MakeSample(120, 9);
        cfg->Serv.FileMode = 1;
        cfg->Serv.Modified = 1;
        const QByteArray before = Fingerprint(*cfg);
        {
            ScriptedMessageBoxes boxes;
            boxes.Expect(QString::fromUtf8(c.text) + "\nУстройство 1, порт COM1", QStringLiteral("Ошибка"),
                         MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
            EXPECT_FALSE(ReadConfigFromDevice(nullptr, *cfg, port, 0, &bar));
        }
        EXPECT_EQ(Fingerprint(*cfg), before);
        EXPECT_TRUE(bar.isHidden());
    }
}

TEST_F(ConfigTransferTest, WriteRefusalsSendNoBlock) {
    auto cfg = MakeSample(120);
    const auto expectRefusal = [&](const QString& text, const QString& caption, int answer = mrOk) {
        device.ClearLog();
        ScriptedMessageBoxes boxes;
        boxes.ExpectText(text, caption, answer);
        EXPECT_FALSE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
        EXPECT_TRUE(device.ReceivedOf('E').empty());
    };
    cfg->Veg.AccessLevel = 0;
    expectRefusal(QStringLiteral("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор"),
                  QStringLiteral("Предупреждение"));
    EXPECT_TRUE(device.Received().empty());
    cfg->Veg.AccessLevel = 1;
    cfg->Serv.SetSlotModuleCode(1, 0);
    expectRefusal(QStringLiteral("Конфигурация не задана"), QStringLiteral("Предупреждение"));
    cfg->Serv.SetSlotModuleCode(1, 13);
    cfg->Serv.SetAnInCount(5);
    expectRefusal(
        QStringLiteral("Количество входов прибора\nне соответствует конфигурации.\nПередача невозможна"),
        QStringLiteral("Ошибка"));
    EXPECT_EQ(device.Received().size(), 1u); // the identify request only
    cfg->Serv.SetAnInCount(4);
    expectRefusal(
        QStringLiteral("Состав модулей прибора\nне соответствует конфигурации.\nПродолжить передачу?"),
        QStringLiteral("Предупреждение"), mrNo);
    EXPECT_EQ(cfg->Reserv.FbRecords().GetByte(0, 1), 0);
}

TEST_F(ConfigTransferTest, WriteStoresEveryBlockAndRefreshesTheReserve) {
    MatchSampleModules();
    device.Faults().busyPolls = 1;
    for (int f : {120, 60}) {
        SCOPED_TRACE(f);
        device.ClearLog();
        device.Faults().sixtyBlocks = f == 60;
        clock.sleeps.clear();
        auto cfg = MakeSample(f);
        {
            ScriptedMessageBoxes none;
            ASSERT_TRUE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
        }
        // The device's capacity is learnt before the first block.
        EXPECT_EQ(device.Received()[1], Frame::Build(1, 'D', Bytes{26}));
        EXPECT_EQ(device.Received()[2][1], 'E');
        const auto writes = device.ReceivedOf('E');
        EXPECT_EQ(BlocksOf(writes), Expected(f));
        Bytes e12{12};
        for (int i = 0; i < 24; ++i)
            for (int k = 0; k < 8; ++k)
                e12.push_back(uint8_t(cfg->Veg.GetRecByte(i, k)));
        EXPECT_EQ(writes[1], Frame::Build(1, 'E', e12));
        ExpectModelMatchesDevice(*cfg, f);
        // Each block: 50 ms, the write, 300 ms, a busy poll, 200 ms, the poll that finds it stored.
        const int n = int(Expected(f).size());
        EXPECT_EQ(int(device.ReceivedOf(0x0E).size()), 2 * n);
        for (int pause : {50, 300, 200})
            EXPECT_EQ(std::count(clock.sleeps.begin(), clock.sleeps.end(), pause), n) << pause;
    }
}

TEST_F(ConfigTransferTest, WriteFailingHalfWayIsReportedOnceAndKeepsTheReserve) {
    MatchSampleModules();
    device.Faults().faults = {{FaultKind::Exception, 'E', 22, -1, 7}};
    auto cfg = MakeSample(120);
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Прибор не может выполнить запрос.\nУстройство 1, порт COM1"),
                     QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        EXPECT_FALSE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
    }
    EXPECT_EQ(BlocksOf(device.ReceivedOf('E')), (std::vector<int>{1, 12, 20, 21, 22}));
    EXPECT_EQ(cfg->Reserv.FbRecords().GetByte(0, 1), 0);
    EXPECT_TRUE(bar.isHidden());
}

// The simulator's configuration, read from a device of one block capacity, goes to a device of
// the other: only the identify request and the read of block 26 reach it, one box names both
// capacities, and the write fails. A device of the configuration's capacity takes every block.
TEST_F(ConfigTransferTest, WriteToADeviceOfAnotherBlockCapacityWritesNoBlock) {
    for (int f : {120, 60}) {
        SCOPED_TRACE(f);
        const bool sixty = f == 60;
        device.Faults().sixtyBlocks = sixty;
        auto cfg = std::make_unique<TConfiguration>();
        cfg->Veg.AccessLevel = 1;
        {
            ScriptedMessageBoxes none;
            ASSERT_TRUE(ReadConfigFromDevice(nullptr, *cfg, port, 0, &bar));
        }
        ASSERT_EQ(cfg->FB.FBCount, f);

        device.Faults().sixtyBlocks = !sixty;
        device.ClearLog();
        {
            ScriptedMessageBoxes boxes;
            boxes.Expect(
                sixty ? QStringLiteral("Прибор  на 120 ФБ,\nконфигурация на 60 ФБ.\nПередача невозможна")
                      : QStringLiteral("Прибор  на 60 ФБ,\nконфигурация на 120 ФБ.\nПередача невозможна"),
                QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
            EXPECT_FALSE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
        }
        EXPECT_EQ(device.Received(),
                  (std::vector<Bytes>{Frame::Build(1, 0x11, {}), Frame::Build(1, 'D', Bytes{26})}));
        EXPECT_TRUE(bar.isHidden());

        device.Faults().sixtyBlocks = sixty;
        device.ClearLog();
        {
            ScriptedMessageBoxes none;
            EXPECT_TRUE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
        }
        EXPECT_EQ(BlocksOf(device.ReceivedOf('E')), Expected(f));
        ExpectModelMatchesDevice(*cfg, f);
    }
}

// An editor that took only the device's composition leaves the tool without a configuration:
// the whole-configuration write refuses before anything reaches the device.
TEST_F(ConfigTransferTest, CompositionAloneIsNoConfigurationToWrite) {
    auto cfg = MakeSample(120);
    cfg->Serv.CompositionOnly = 1;
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Конфигурация не задана"), QStringLiteral("Предупреждение"),
                     MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        EXPECT_FALSE(WriteConfigToDevice(nullptr, *cfg, port, 0, &bar));
    }
    EXPECT_TRUE(device.Received().empty());
    // A read from the device makes it a configuration again.
    ScriptedMessageBoxes none;
    ASSERT_TRUE(ReadConfigFromDevice(nullptr, *cfg, port, 0, &bar));
    EXPECT_TRUE(cfg->Serv.HoldsConfiguration());
}
