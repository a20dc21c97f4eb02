#include "BlockExchange.h"
#include "ModbusFrame.h"
#include "SimFixture.h"

#include <ctime>

using Bytes = std::vector<uint8_t>;

TEST(Delay, WaitsByTheClockWithoutSpinning) {
    TComPortClass port;
    const int64_t t0 = port.GetClock().NowMs();
    const std::clock_t cpu0 = std::clock();
    port.Delay(1000);
    EXPECT_GE(port.GetClock().NowMs() - t0, 1000);
    EXPECT_LT(double(std::clock() - cpu0) / CLOCKS_PER_SEC, 0.1);
}

TEST(Obmen, ErrorTextsAndNoPort) {
    TComPortClass port;
    Bytes reply(16);
    EXPECT_EQ(port.Obmen(0, 3, 0, nullptr, reply), 256);
    EXPECT_EQ(port.ObmErrorText(0, 256), "Не выбран COM-порт.");
    EXPECT_EQ(port.ObmErrorText(0, 0), "");

    port.SetPortName("/dev/ttyUSB0");
    for (const auto& [dev, r, text] : std::vector<std::tuple<int, int, QString>>{
             {2, 130, "Прибор не отвечает.\nУстройство 3, порт /dev/ttyUSB0"},
             {0, 131,
              "Ошибка контрольной суммы ответа.\nУстройство 1, порт "
              "/dev/ttyUSB0"},
             {0, 6, "Прибор занят записью.\nУстройство 1, порт /dev/ttyUSB0"},
             {0, 77, "Ошибка обмена, код 77.\nУстройство 1, порт /dev/ttyUSB0"}})
        EXPECT_EQ(port.ObmErrorText(dev, r), text);
    for (int r = 129; r <= 135; ++r)
        EXPECT_FALSE(ObmResultText(r).isEmpty());
}

// Each function the tool sends, as it goes on the line (known CRCs), and the
// reply frame the exchange hands back: the device's whole frame, of the length
// the function's rule gives.
TEST_F(SimFixture, EveryFunctionOnTheLineAndItsReply) {
    struct Case {
        int function;
        Bytes data, crc;
        size_t replyLength;
    };
    const Case cases[] = {
        {0x01, {0x03, 0xF8, 0x00, 0x10}, {0xBC, 0x73}, 7},
        {0x02, {0x00, 0x00, 0x00, 0x06}, {0xF8, 0x08}, 6},
        {0x03, {0x02, 0xA0, 0x00, 0x24}, {0x44, 0x4B}, 77},
        {0x04, {0x00, 0x00, 0x00, 0x04}, {0xF1, 0xC9}, 13},
        {0x05, {0x03, 0x10, 0xFF, 0x00}, {0x8D, 0xBB}, 8},
        {0x0F, {0x00, 0x13, 0x00, 0x0A, 0x02, 0xCD, 0x01}, {0x72, 0xCB}, 8},
        {0x10, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x48, 0x00, 0x00}, {0x74, 0xD9}, 8},
        {0x0E, {}, {0x81, 0xE4}, 4},
        {0x11, {}, {0xC0, 0x2C}, 20},
        {'D', {0x14}, {0x13, 0x0F}, 166},
        {'G', {0x00, 0x06}, {0x31, 0xCF}, 53},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function);
        Bytes reply(300, 0xEE);
        ASSERT_EQ(port.Obmen(0, c.function, int(c.data.size()), c.data.data(), reply), 0);
        Bytes frame{0x01, uint8_t(c.function)};
        frame.insert(frame.end(), c.data.begin(), c.data.end());
        frame.insert(frame.end(), c.crc.begin(), c.crc.end());
        EXPECT_EQ(device.Received().back(), frame);
        const Bytes& sent = device.Sent().back();
        ASSERT_EQ(sent.size(), c.replyLength);
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), reply.begin()));
        EXPECT_EQ(reply[c.replyLength], 0xEE); // nothing past the frame
    }
    // Address is DevNum + 1; a function outside the table or a device number that
    // is no bus address (255 would go to address 0) sends nothing; broadcast goes
    // to 0 and waits for nothing.
    Bytes reply(256);
    const Bytes read{0x00, 0x00, 0x00, 0x0A};
    device.SetAddress(3);
    ASSERT_EQ(port.Obmen(2, Frame::Status, 0, nullptr, reply), 0);
    EXPECT_EQ(device.Received().back(), Frame::Build(3, 0x0E, {}));
    const size_t before = device.Received().size();
    const int refused[][3] = {{2, 6, 4}, {2, 3, 300}, {255, 3, 4}, {-1, 3, 4}};
    for (const auto& r : refused)
        EXPECT_EQ(port.Obmen(r[0], r[1], r[2], read.data(), reply), 1);
    EXPECT_EQ(device.Received().size(), before);
    const auto t0 = clock.NowMs();
    EXPECT_EQ(port.Obmen(2, 'F', 3, read.data(), reply), 0);
    EXPECT_EQ(device.Received().back(), Frame::Build(0, 'F', Bytes{0, 0, 0}));
    EXPECT_EQ(clock.NowMs(), t0);
    EXPECT_EQ(device.Received().size(), before + 1);
}

// A read's reply must carry the byte count its request asked for (ceil(N / 8)
// for functions 1 and 2, 2N for 3 and 4): one byte more or less with a good CRC
// is a malformed reply, retried like one, never data.
TEST_F(SimFixture, AReadReplyOfAnotherByteCountIsMalformedNeverData) {
    const struct {
        int function;
        Bytes data;
        int count;
    } cases[] = {
        {1, {0x03, 0xF8, 0x00, 0x10}, 2},  {1, {0x03, 0xF8, 0x00, 0x11}, 3}, {2, {0x00, 0x00, 0x00, 0x06}, 1},
        {3, {0x02, 0xA0, 0x00, 0x24}, 72}, {4, {0x00, 0x00, 0x00, 0x04}, 8},
    };
    Bytes reply(256);
    for (const auto& c : cases) {
        for (const int delta : {-1, 1, 0}) {
            SCOPED_TRACE(c.function * 1000 + c.count * 10 + delta);
            device.Faults().alter = [delta](const Bytes&, Bytes& r) {
                if (delta < 0) r.erase(r.end() - 3);
                if (delta > 0) r.insert(r.end() - 2, 0x00);
                r[2] = uint8_t(r[2] + delta);
                return true;
            };
            device.ClearLog();
            std::fill(reply.begin(), reply.end(), 0xEE);
            const int r = port.Obmen(0, c.function, 4, c.data.data(), reply);
            const Bytes& sent = device.Sent().back();
            ASSERT_EQ(int(sent.size()), c.count + delta + 5);
            EXPECT_EQ(sent[2], c.count + delta);
            EXPECT_EQ(device.Received().back(), Frame::Build(1, c.function, c.data));
            if (delta != 0) {
                EXPECT_EQ(r, ObmBadLength);
                EXPECT_EQ(CountOf(c.function), 7);
                EXPECT_EQ(reply[0], 0xEE); // nothing handed back
            } else {
                EXPECT_EQ(r, 0);
                EXPECT_TRUE(std::equal(sent.begin(), sent.end(), reply.begin()));
            }
        }
    }
}

TEST_F(SimFixture, RetriesInTwoStagesOnlyOnNoReplyShortAndChecksum) {
    Bytes reply(256);
    const uint8_t id = 35;
    const auto run = [&](Fault f) {
        device.Faults().faults = {f};
        device.ClearLog();
        clock.sleeps.clear();
        return port.Obmen(0, 'D', 1, &id, reply);
    };
    struct Case {
        FaultKind kind;
        int count, result, frames;
    };
    // Five first-stage attempts and two second-stage ones by default; an
    // exception is the device's answer, returned at once.
    const Case cases[] = {
        {FaultKind::NoReply, -1, 130, 7},    {FaultKind::BadCrc, -1, 131, 7},
        {FaultKind::ShortReply, -1, 129, 7}, {FaultKind::BadCrc, 3, 0, 4},
        {FaultKind::NoReply, 6, 0, 7},       {FaultKind::Exception, -1, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.kind));
        EXPECT_EQ(run(Fault{c.kind, 'D', -1, c.count, 2}), c.result);
        EXPECT_EQ(CountOf('D'), c.frames);
        for (const auto& f : device.ReceivedOf('D')) // every attempt the same frame
            EXPECT_EQ(f, (Bytes{0x01, 0x44, 0x23, 0x52, 0xD9}));
        // The second stage pauses before each of its attempts.
        EXPECT_EQ(int(clock.sleeps.size()), std::max(0, c.frames - 5));
    }
    // One first-stage attempt and no second stage.
    port.SetPovt1(1);
    port.SetPovt2(0);
    EXPECT_EQ(run(Fault{FaultKind::NoReply, -1, -1, -1, 0}), 130);
    EXPECT_EQ(CountOf('D'), 1);

    // The transmit delay comes before every frame.
    port.SetTransmitDelay(20);
    port.SetPovt1(5);
    EXPECT_EQ(run(Fault{FaultKind::NoReply, -1, -1, 1, 0}), 0);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{20, 20}));

    // A lost port ends at once.
    EXPECT_EQ(run(Fault{FaultKind::PortLost, -1, -1, 1, 0}), 135);
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 135);
    EXPECT_EQ(CountOf('D'), 1);
}

// Replies of another device, function or shape: failures, never data past the
// caller's buffer.
TEST_F(SimFixture, MalformedRepliesAreFailuresNeverOverflows) {
    port.SetPovt1(1);
    port.SetPovt2(0);
    const uint8_t id = 20;
    Bytes reply(8), big(256);
    Bytes longer(20, 0), badLength{161, 21}, badEcho{160, 20}, shortComposition(11, 0);
    longer[0] = 19; // longer than the caller's buffer
    badLength.resize(162);
    badEcho.resize(161);
    shortComposition[0] = 10;
    // 'D' a request, 'B' a block read (it checks the length byte and the echoed
    // block number), 'C' the composition read.
    const struct {
        char ask;
        Bytes reply;
        int result;
    } cases[] = {
        {'D', Frame::Build(2, 'D', Bytes{1, 20}), 132},
        {'D', Frame::Build(1, 'E', Bytes{1, 20}), 133},
        {'D', Frame::Build(1, 0x80 | 'D', Bytes{7}), 7},
        {'D', Frame::Build(1, 0x80 | 'D', Bytes{130}), 129}, // not a device exception code
        {'D', Frame::Build(1, 'D', longer), 129},
        {'D', Bytes{0x01, 'D', 0x05, 0x14}, 129},
        {'B', Frame::Build(1, 'D', badLength), 129},
        {'B', Frame::Build(1, 'D', badEcho), 129},
        {'C', Frame::Build(1, 0x11, shortComposition), 129},
    };
    for (const auto& c : cases) {
        device.Faults().alter = [&](const Bytes&, Bytes& r) {
            r = c.reply;
            return false;
        };
        device.ClearLog();
        uint8_t comp[15];
        const int r = c.ask == 'B'   ? ReadBlock(port, 0, 20, big)
                      : c.ask == 'C' ? ReadComposition(port, 0, comp)
                                     : port.Obmen(0, 'D', 1, &id, reply);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(device.Received().back(),
                  (c.ask == 'C' ? Frame::Build(1, 0x11, {}) : Bytes{0x01, 0x44, 0x14, 0x13, 0x0F}));
        EXPECT_EQ(device.Received().size(), 1u);
    }
    // A line that takes no frame.
    struct RefusingLink : SimLink {
        using SimLink::SimLink;
        LinkStatus Write(const uint8_t*, int) override { return LinkStatus::Failed; }
    };
    port.SetLink(std::make_unique<RefusingLink>(device, &clock));
    ASSERT_TRUE(port.OpenPort(nullptr));
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 134);
}
