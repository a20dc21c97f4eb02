#include "BlockExchange.h"
#include "ModbusFrame.h"
#include "ScriptedDialogs.h"
#include "SimFixture.h"

using Bytes = std::vector<uint8_t>;

namespace {

BlockWritePlan FbPlan(int blocks) {
    BlockWritePlan plan;
    for (int i = 0; i < blocks; ++i)
        plan.blockIds.push_back(20 + i);
    plan.pack = [](int i, std::span<uint8_t> image) {
        for (size_t k = 0; k < image.size(); ++k)
            image[k] = uint8_t(i * 16 + k);
    };
    return plan;
}

std::vector<int> Repeat(std::vector<int> unit, int times) {
    std::vector<int> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

class BlockWrite : public SimFixture {
  protected:
    // Runs the sequence on a fresh log; the sequence itself shows no box (an unexpected one fails),
    // and the text a window reports for its result, if any, names device 1.
    int Commit(const BlockWritePlan& plan, const char* error = nullptr, const TransferProgress& report = {}) {
        device.ClearLog();
        clock.sleeps.clear();
        ScriptedMessageBoxes boxes;
        int devNum = 0;
        const int r = BlockWriteCommit(port, devNum, plan, report);
        EXPECT_EQ(port.ObmErrorText(devNum, r),
                  error ? QString::fromUtf8(error) + "\nУстройство 1, порт COM1" : "");
        return r;
    }
    // The functions of the frames received, in order; each frame is whole: the device's address,
    // a write carries its block number and the block's 160 bytes, a poll nothing, the CRC is right.
    std::vector<int> Functions() const {
        std::vector<int> out;
        for (const auto& f : device.Received()) {
            EXPECT_EQ(f[0], device.Address());
            EXPECT_TRUE(Frame::CrcOk(f));
            EXPECT_TRUE(f[1] == 'E' ? f.size() == 165u && f[2] >= 20 && f[2] <= 31 : f.size() == 4u);
            out.push_back(f[1]);
        }
        return out;
    }
};

} // namespace

TEST_F(BlockWrite, WritesEveryBlockWithItsPausesAndProgress) {
    for (int blocks : {6, 12}) {
        std::vector<std::pair<int, int>> reports;
        std::vector<int> seen; // the value reported when each block is packed
        BlockWritePlan plan = FbPlan(blocks);
        auto pack = plan.pack;
        plan.pack = [&](int i, std::span<uint8_t> image) {
            seen.push_back(reports.back().first);
            pack(i, image);
        };
        EXPECT_EQ(Commit(plan, nullptr, [&](int value, int max) { reports.emplace_back(value, max); }), 0);
        const auto writes = device.ReceivedOf('E');
        ASSERT_EQ(int(writes.size()), blocks);
        // Address, 'E', the block number, the packed block, the CRC; then the status poll.
        for (int i = 0; i < blocks; ++i) {
            Bytes data{uint8_t(20 + i)};
            for (int k = 0; k < 160; ++k)
                data.push_back(uint8_t(i * 16 + k));
            EXPECT_EQ(writes[size_t(i)], Frame::Build(1, 'E', data));
            EXPECT_EQ(device.Block(20 + i), Bytes(data.begin() + 1, data.end()));
        }
        EXPECT_EQ(Functions(), Repeat({'E', 0x0E}, blocks));
        EXPECT_EQ(clock.sleeps, Repeat({50, 300}, blocks));
        // Max 120, 30 a block, never past the end.
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 120);
        EXPECT_EQ(reports.back(), std::make_pair(120, 120));
        EXPECT_EQ(int(reports.size()), blocks + 1);
    }
}

TEST_F(BlockWrite, BusyPollsAreRepeatedAndBounded) {
    // Busy three times, then stored: four polls and one write per block.
    device.Faults().busyPolls = 3;
    EXPECT_EQ(Commit(FbPlan(2)), 0);
    EXPECT_EQ(Functions(), Repeat({'E', 0x0E, 0x0E, 0x0E, 0x0E}, 2));
    EXPECT_EQ(clock.sleeps, Repeat({50, 300, 200, 200, 200}, 2));

    // Busy for ever: gives up after a minute of polls, with one report.
    device.Faults().busyPolls = -1;
    const auto t0 = clock.NowMs();
    EXPECT_EQ(Commit(FbPlan(2), "Прибор занят записью."), 6);
    EXPECT_EQ(CountOf('E'), 1);
    EXPECT_EQ(CountOf(0x0E), 1 + 60000 / 200);
    EXPECT_LE(clock.NowMs() - t0, 61000);
}

TEST_F(BlockWrite, FailedPollsRetryTheBlockOrEndTheTransfer) {
    // Checksum errors on every poll: five writes of the first block, each followed by its
    // pause and a poll, then one report.
    device.Faults().faults = {Fault{FaultKind::BadCrc, 0x0E, -1, -1, 0}};
    port.SetPovt2(0);
    EXPECT_EQ(Commit(FbPlan(12), "Ошибка контрольной суммы ответа."), 131);
    EXPECT_EQ(Functions(), Repeat({'E', 0x0E, 0x0E, 0x0E, 0x0E, 0x0E}, 5));
    for (const auto& e : device.ReceivedOf('E'))
        EXPECT_EQ(e[2], 20);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 300, 200, 300, 200, 300, 200, 300, 200, 300, 200}));

    // No reply to the first poll: one report, nothing more is sent.
    device.Faults().faults = {Fault{FaultKind::NoReply, 0x0E, -1, -1, 0}};
    EXPECT_EQ(Commit(FbPlan(12), "Прибор не отвечает."), 130);
    EXPECT_EQ(CountOf('E'), 1);
}

TEST_F(BlockWrite, FailedWriteIsAFailedAttemptWithoutPoll) {
    // The first two writes refused (busy, then a failure): no poll follows them; the third is
    // stored.
    device.Faults().faults = {Fault{FaultKind::Exception, 'E', -1, 1, 6},
                              Fault{FaultKind::Exception, 'E', -1, 1, 4}};
    EXPECT_EQ(Commit(FbPlan(1)), 0);
    EXPECT_EQ(Functions(), (std::vector<int>{'E', 'E', 'E', 0x0E}));
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 200, 200, 300}));

    // A 60-block device refuses block 26 every time: GetPovt1 writes, then the report.
    device.Faults().faults.clear();
    device.Faults().sixtyBlocks = true;
    EXPECT_EQ(Commit(FbPlan(12), "Неверное значение данных."), 3);
    EXPECT_EQ(CountOf('E'), 6 + 5);
    EXPECT_EQ(CountOf(0x0E), 6);

    // A write without reply is final: no poll, no second write.
    device.Faults().faults = {Fault{FaultKind::NoReply, 'E', -1, -1, 0}};
    EXPECT_EQ(Commit(FbPlan(12), "Прибор не отвечает."), 130);
    EXPECT_EQ(CountOf(0x0E), 0);
    EXPECT_EQ(CountOf('E'), 7); // the exchange's own attempts of that one request
}

TEST_F(BlockWrite, DevNumIsRefreshedAsThePlanSays) {
    int calls = 0;
    int configured = 0;
    BlockWritePlan plan = FbPlan(3);
    plan.devAddr = [&] {
        ++calls;
        return configured;
    };
    const std::pair<DevNumRefresh, int> cases[] = {
        {DevNumRefresh::Never, 0}, {DevNumRefresh::AfterEachWrite, 3}, {DevNumRefresh::AfterFirstWrite, 1}};
    for (auto [refresh, want] : cases) {
        calls = 0;
        plan.refresh = refresh;
        EXPECT_EQ(Commit(plan), 0);
        EXPECT_EQ(calls, want);
    }
    // The refreshed number is used from the poll right after the write on.
    configured = 1;
    int devNum = 0;
    device.ClearLog();
    EXPECT_EQ(BlockWriteCommit(port, devNum, plan), 130);
    EXPECT_EQ(port.ObmErrorText(devNum, 130), "Прибор не отвечает.\nУстройство 2, порт COM1");
    EXPECT_EQ(devNum, 1);
    EXPECT_EQ(device.Received().front()[0], 1);
    EXPECT_EQ(device.Received().back(), (Bytes{0x02, 0x0E, 0x81, 0x14}));
}
