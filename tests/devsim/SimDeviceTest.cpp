#include "SimDevice.h"
#include "DeviceLayouts.h"
#include "FaultOptions.h"
#include "LineTiming.h"
#include "ModbusFrame.h"
#include "SampleConfig.h"
#include "SimLink.h"
#include "TProgFBClass.h"

#include <gtest/gtest.h>
#include <set>

using Bytes = std::vector<uint8_t>;

namespace {

Bytes Ask(SimDevice& d, int function, Bytes data) {
    auto r = d.Handle(Frame::Build(d.Address(), function, data));
    return r ? *r : Bytes{};
}

int Le16(const Bytes& b, size_t at) {
    return int16_t(b[at] | (b[at + 1] << 8));
}

} // namespace

TEST(SimDevice, LiveValuesCalibrationCoilsAndStandardFunctions) {
    SimDevice d;
    d.SetInput(7, 5.0);
    d.SetInput(8, 95.0);
    Bytes r = Ask(d, 'G', {6, 3});
    ASSERT_EQ(r.size(), size_t(3 + 24 + 2));
    EXPECT_EQ(r[2], 24);
    const int code7 = Le16(r, 3 + 8 + GEntry::AdcCode);
    EXPECT_NEAR(code7, 4000 + 160 * 5, 160);
    EXPECT_EQ(r[3 + 8 + GEntry::Flags], GEntry::FlagBelowL);
    EXPECT_EQ(r[3 + 16 + GEntry::Flags], GEntry::FlagAboveH);
    EXPECT_NEAR(Le16(r, 3 + 8 + GEntry::Percent), 50, 10);
    d.SetInput(7, 50.0);
    r = Ask(d, 'G', {7, 1});
    EXPECT_NEAR(Le16(r, 3 + GEntry::AdcCode), 4000 + 160 * 50, 160);
    EXPECT_EQ(Ask(d, 'G', {0, 51})[1], 'G' | 0x80);

    // Select channel 3 of module 1, calibrate its start, read the state back by function 4.
    EXPECT_EQ(Ask(d, 5, {0x10, 0x13, 0xFF, 0x00}), Frame::Build(1, 5, Bytes{0x10, 0x13, 0xFF, 0x00}));
    Ask(d, 5, {0x11, 0x13, 0xFF, 0x00});
    r = Ask(d, 4, {0, 0, 0, 4});
    EXPECT_EQ((Bytes{r.begin() + 2, r.begin() + 7}), (Bytes{8, 0, 3, 0, 1}));
    Ask(d, 5, {0x10, 0x13, 0x00, 0x00});
    EXPECT_EQ(Ask(d, 4, {0, 0, 0, 4})[4], 0);
    EXPECT_EQ(Ask(d, 5, {0x10, 0x13, 0x12, 0x34})[2], 3); // not on, not off
    // Module health: the three fitted modules healthy, the empty fourth slot not.
    EXPECT_EQ(Ask(d, 1, {0x03, 0xF8, 0, 16})[3] & 0x0F, 0x08);
    EXPECT_EQ(Ask(d, 2, {0, 0, 0, 6})[2], 1);
    // Coils and holding registers written in a block read back; the set point of loop 0 is 50.0;
    // a read of more than 125 registers is refused.
    EXPECT_EQ(Ask(d, 15, {0x03, 0x10, 0, 6, 1, 0x2D}), Frame::Build(1, 15, Bytes{0x03, 0x10, 0, 6}));
    EXPECT_EQ(Ask(d, 1, {0x03, 0x10, 0, 6}), Frame::Build(1, 1, Bytes{1, 0x2D}));
    EXPECT_EQ(Ask(d, 16, {0x02, 0xA6, 0, 2, 4, 0x41, 0x20, 0, 0}),
              Frame::Build(1, 16, Bytes{0x02, 0xA6, 0, 2}));
    EXPECT_EQ(Ask(d, 3, {0x02, 0xA6, 0, 2}), Frame::Build(1, 3, Bytes{4, 0x41, 0x20, 0, 0}));
    EXPECT_EQ(Ask(d, 3, {0x02, 0xA0, 0, 1}), Frame::Build(1, 3, Bytes{2, 0x42, 0x48}));
    EXPECT_EQ(Ask(d, 3, {0, 0, 0, 126}), Frame::Build(1, 3 | 0x80, Bytes{3}));
}

TEST(SimDevice, BlocksAndFaultsAsPlanned) {
    SimDevice d;
    // Writes need the exact block length; range records are read only.
    Bytes e(DeviceBlocks::RegLen, 9);
    e[0] = 32;
    EXPECT_EQ(Ask(d, 'E', e), Frame::Build(1, 'E', Bytes{1, 32}));
    EXPECT_EQ(d.Block(32)[0], 9);
    for (size_t wrong : {e.size() - 1, e.size() + 1}) {
        e.resize(wrong, 9);
        EXPECT_EQ(Ask(d, 'E', e), Frame::Build(1, 'E' | 0x80, Bytes{3})) << wrong;
    }
    Bytes range(DeviceBlocks::RangeLen, 0);
    range[0] = 60;
    EXPECT_EQ(Ask(d, 'E', range)[2], 2);
    EXPECT_EQ(Ask(d, 'D', {60})[2], DeviceBlocks::RangeLen);
    EXPECT_EQ(Ask(d, 'D', {36})[2], 2);
    EXPECT_EQ(Ask(d, 0x2B, {})[2], 1);

    // Other addresses, broadcasts and damaged frames get no reply.
    EXPECT_FALSE(d.Handle(Frame::Build(2, 'D', Bytes{20})));
    EXPECT_FALSE(d.Handle(Frame::Build(0, 'F', Bytes{1, 2})));
    Bytes bad = Frame::Build(1, 'D', Bytes{20});
    bad.back() ^= 1;
    EXPECT_FALSE(d.Handle(bad));

    // Faults from the command line, applied in order and counted down.
    std::string error;
    ASSERT_TRUE(ParseFault("exception,function=0x44,block=21,count=1,code=4", d.Faults(), &error));
    ASSERT_TRUE(ParseFault("bad-crc,function=68,count=1", d.Faults(), &error));
    for (const char* bad : {"exception,function=3", "slow,count=1", "short,count"})
        EXPECT_FALSE(ParseFault(bad, d.Faults(), &error)) << bad;
    int n = 0;
    EXPECT_TRUE(ParseNumber("0x2580", 1, 10000000, n));
    EXPECT_EQ(n, 9600);
    for (const char* bad : {"", "0", "96k", "-5", "99999999999999999999"})
        EXPECT_FALSE(ParseNumber(bad, 1, 10000000, n)) << bad;
    EXPECT_EQ(Ask(d, 'D', {21}), Frame::Build(1, 'D' | 0x80, Bytes{4}));
    EXPECT_FALSE(Frame::CrcOk(Ask(d, 'D', {21})));
    EXPECT_TRUE(Frame::CrcOk(Ask(d, 'D', {21})));
    d.Faults().sixtyBlocks = true;
    EXPECT_EQ(Ask(d, 'D', {25})[1], 'D');
    EXPECT_EQ(Ask(d, 'D', {26}), Frame::Build(1, 'D' | 0x80, Bytes{3}));

    // An altered reply travels with its CRC made right again, and is logged as sent.
    d.Faults().alter = [](const Bytes& request, Bytes& reply) {
        if (request[2] != 22) return false;
        reply[4] ^= 0xFF;
        return true;
    };
    const Bytes altered = Ask(d, 'D', {22});
    EXPECT_TRUE(Frame::CrcOk(altered));
    EXPECT_EQ(altered[4], d.Block(22)[0] ^ 0xFF);
    EXPECT_EQ(d.Sent().back(), altered);
    EXPECT_EQ(Ask(d, 'D', {23})[4], d.Block(23)[0]);

    // Stream framing: the request length from its first bytes.
    EXPECT_EQ(SimDevice::RequestLength(Bytes{1}), 0);
    EXPECT_EQ(SimDevice::RequestLength(Bytes{1, 'E', 20}), 165);
    EXPECT_EQ(SimDevice::RequestLength(Bytes{1, 16, 0, 0, 0, 2}), 0);
    EXPECT_EQ(SimDevice::RequestLength(Bytes{1, 16, 0, 0, 0, 2, 4}), 13);
    EXPECT_EQ(SimDevice::RequestLength(Bytes{0, 'F', 1}), -1);
}

TEST(LineTiming, ReplyTimeIsElevenBitsAByteAfterTheTurnaround) {
    struct Case {
        int baud, turnaroundMs, bytes;
        int64_t us;
    };
    const Case cases[] = {
        {9600, 0, 166, 190209}, // 190208.3 rounded up
        {115200, 0, 8, 764},    {19200, 5, 1, 5573}, {1200, 0, 256, 2346667}, {0, 0, 166, 0}, // no line time
        {0, 30, 166, 30000},
    };
    for (const Case& c : cases)
        EXPECT_EQ((LineTiming{c.baud, c.turnaroundMs}.ReplyTime(c.bytes).count()), c.us)
            << c.baud << " " << c.bytes;
}

// The in-process link hands out each reply byte when the line has carried it: a read that gets
// its bytes moves the virtual clock to the last one's arrival, one that times out by its time-out.
TEST(LineTiming, SimLinkAdvancesTheVirtualClockByTheLineTime) {
    SimDevice d;
    VirtualClock clock;
    SimLink link(d, &clock);
    link.timing = {9600, 0};
    ASSERT_TRUE(link.Open({}, nullptr));
    const Bytes request = Frame::Build(1, 'D', Bytes{20});
    ASSERT_EQ(link.Write(request.data(), int(request.size())), LinkStatus::Ok);
    const Bytes expected = d.Sent().back();
    ASSERT_EQ(expected.size(), size_t(166));

    // As the exchange reads: the head, then the rest.
    Bytes got(166);
    EXPECT_EQ(link.Read(got.data(), 3, 104), 3);
    EXPECT_EQ(clock.NowMs(), 4); // 3.4 ms
    EXPECT_EQ(link.Read(got.data() + 3, 163, 287), 163);
    EXPECT_EQ(clock.NowMs(), 191);
    EXPECT_EQ(got, expected);

    // A time-out shorter than the line time gets the bytes carried by then: 87 in 100 ms.
    link.timing.turnaroundMs = 30;
    ASSERT_EQ(link.Write(request.data(), int(request.size())), LinkStatus::Ok);
    EXPECT_EQ(link.Read(got.data(), 3, 30), 0);
    EXPECT_EQ(clock.NowMs(), 221);
    EXPECT_EQ(link.Read(got.data(), 166, 100), 87);
    EXPECT_EQ(clock.NowMs(), 321);
    EXPECT_EQ(link.Read(got.data() + 87, 79, 500), 79);
    EXPECT_EQ(clock.NowMs(), 191 + 30 + 191);
    EXPECT_EQ(got, expected);

    // Without a clock replies arrive at once.
    SimLink instant(d);
    instant.timing = {9600, 30};
    ASSERT_TRUE(instant.Open({}, nullptr));
    instant.Write(request.data(), int(request.size()));
    EXPECT_EQ(instant.Read(got.data(), 166, 0), 166);
}

// The starting configuration, read back as the tool reads it ('D' replies into the model), is a
// connected scheme: every input is a discrete input the device has or an earlier block's output.
TEST(SimDevice, StartsWithAConsistentSampleConfiguration) {
    SimDevice d;
    TProgFBClass fb;
    for (int n = 0; n < 12; ++n) {
        const Bytes r = Ask(d, 'D', {uint8_t(DeviceBlocks::FBFirst + n)});
        ASSERT_TRUE(fb.TakeBlockFromReply(r.data(), int(r.size())));
        fb.BlockToFbs(n);
    }
    const int inputs = d.Composition()[Composition::DiscreteInputs];
    std::set<int> types;
    for (int i = 0; i < TProgFBClass::FBCapacity; ++i) {
        const int type = fb.GetType(i);
        if (i >= SampleConfig::FunctionBlocks) {
            // The integrators and arithmetic blocks, then nothing.
            const bool calc = i < SampleConfig::FunctionBlocks + 2 + SampleConfig::ArithBlocks;
            EXPECT_EQ(type, calc ? TProgFBClass::TypeCalc : 0) << i;
            continue;
        }
        types.insert(type);
        const int count = TProgFBClass::FBInputCount(type, fb.GetSubtype(i));
        ASSERT_GT(count, 0) << i;
        for (int j = 0; j < std::min(count, 2); ++j) {
            const int kind = type == 8 ? fb.GetIn8Kind(i) : fb.GetInKind(i, j);
            const int num = type == 8 ? fb.GetIn8Num(i) : fb.GetInNum(i, j);
            EXPECT_TRUE(kind == 0 ? num >= 1 && num <= inputs : kind == 1 && num >= 1 && num <= i)
                << i << " " << j;
        }
    }
    EXPECT_EQ(types, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(fb.GetSigTipS(SampleConfig::SignallingBlock), 1);
    EXPECT_EQ(fb.GetB9Plus(SampleConfig::RelayBlock, 1), 1);
    fb.RecountTable();
    EXPECT_EQ((std::array{fb.LogicFBCount, fb.IntegratorCount, fb.ArithBlockCount}),
              (std::array{SampleConfig::FunctionBlocks, 2, SampleConfig::ArithBlocks}));
    // Each calculated operand is an earlier block's result.
    for (int k = 0; k < SampleConfig::ArithBlocks; ++k) {
        const int i = SampleConfig::FunctionBlocks + 2 + k;
        EXPECT_TRUE(!fb.GetX1SrcCalc(i) || (fb.GetX1NumCalc(i) >= 1 && fb.GetX1NumCalc(i) <= k)) << k;
    }
    // Other slots (devsim --slots) bring their own input and relay counts.
    d.SetSlotCodes({15, 2, 2, 11, 12, 0, 0, 0});
    EXPECT_EQ(Bytes(d.Composition().begin() + Composition::DiscreteInputs, d.Composition().begin() + 13),
              Bytes({48, 4, 16, 0}));
}
