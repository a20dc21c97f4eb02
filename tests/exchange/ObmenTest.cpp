#include "BlockExchange.h"
#include "DeviceLayouts.h"
#include "ModbusFrame.h"
#include "ScriptedDialogs.h"
#include "SimFixture.h"

#include <deque>

using Bytes = std::vector<uint8_t>;

namespace {

// A link that answers every write with the next canned reply (bytes as given) and records what
// it got.
class CannedLink : public SerialLink {
  public:
    bool Open(const LinkSettings&, QString*) override { return open = true; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    LinkStatus Write(const uint8_t* d, int n) override {
        written.emplace_back(d, d + n);
        if (writeStatus != LinkStatus::Ok) return writeStatus;
        if (!replies.empty()) {
            rx.insert(rx.end(), replies.front().begin(), replies.front().end());
            replies.pop_front();
        }
        return LinkStatus::Ok;
    }
    int Read(uint8_t* d, int n, int) override {
        int i = 0;
        for (; i < n && !rx.empty(); ++i, rx.pop_front())
            d[i] = rx.front();
        return i;
    }
    void Purge() override { rx.clear(); }

    bool open = false;
    LinkStatus writeStatus = LinkStatus::Ok;
    std::deque<Bytes> replies;
    std::deque<uint8_t> rx;
    std::vector<Bytes> written;
};

Bytes Reply(int address, int function, Bytes data) {
    return Frame::Build(address, function, data);
}

} // namespace

TEST(Obmen, WithoutPortNothingIsSentAndTheUserIsTold) {
    TComPortClass port;
    EXPECT_EQ(port.GetSpeed(), 9600);
    EXPECT_EQ(port.GetParity(), LinkParity::None);
    EXPECT_EQ(port.GetStopBits(), 2);
    EXPECT_EQ(port.GetPortName(), "COM1");
    EXPECT_EQ(port.GetPovt1(), 5);
    EXPECT_FALSE(port.IsOpen());
    Bytes reply(16);
    EXPECT_EQ(port.Obmen(0, 3, 0, nullptr, reply), 256);

    ScriptedMessageBoxes boxes;
    boxes.Expect("Не выбран COM-порт.", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    port.ShowObmError(0, 256);
    port.ShowObmError(0, 0); // nothing
    EXPECT_EQ(boxes.Shown(), 1);
}

TEST_F(SimFixture, FramesSentAreByteExactAndRepliesCopiedWhole) {
    Bytes reply(256);
    const Bytes read{0x00, 0x00, 0x00, 0x0A};
    ASSERT_EQ(port.Obmen(0, 3, 4, read.data(), reply), 0);
    EXPECT_EQ(device.Received().back(), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
    // The whole frame from the address byte on, CRC included.
    const Bytes& sent = device.Sent().back();
    ASSERT_EQ(sent.size(), 25u);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), reply.begin()));

    // Address is DevNum + 1.
    device.SetAddress(3);
    ASSERT_EQ(port.Obmen(2, Frame::Status, 0, nullptr, reply), 0);
    EXPECT_EQ(device.Received().back(), Frame::Build(3, 0x0E, {}));
    EXPECT_EQ(reply[0], 3);

    // A function outside the table sends nothing.
    const size_t before = device.Received().size();
    EXPECT_EQ(port.Obmen(2, 6, 4, read.data(), reply), 1);
    EXPECT_EQ(port.Obmen(2, 3, 300, read.data(), reply), 1);
    // So does a device number that is no bus address: 255 would be sent to address 0.
    EXPECT_EQ(port.Obmen(255, 3, 4, read.data(), reply), 1);
    EXPECT_EQ(port.Obmen(-1, 3, 4, read.data(), reply), 1);
    EXPECT_EQ(device.Received().size(), before);

    // Broadcast goes to address 0 and waits for nothing.
    const auto t0 = clock.NowMs();
    const uint8_t b[3] = {1, 2, 3};
    EXPECT_EQ(port.Obmen(2, 'F', 3, b, reply), 0);
    EXPECT_EQ(device.Received().back(), Frame::Build(0, 'F', Bytes{1, 2, 3}));
    EXPECT_EQ(clock.NowMs(), t0);
    EXPECT_EQ(device.Received().size(), before + 1);
}

TEST_F(SimFixture, RetriesInTwoStagesOnlyOnNoReplyShortAndChecksum) {
    Bytes reply(256);
    const uint8_t id = 35;
    struct Case {
        FaultKind kind;
        int count, result, frames;
    };
    // Five first-stage attempts and two second-stage ones by default.
    const Case cases[] = {
        {FaultKind::NoReply, -1, 130, 7},    {FaultKind::BadCrc, -1, 131, 7},
        {FaultKind::ShortReply, -1, 129, 7}, {FaultKind::BadCrc, 3, 0, 4},
        {FaultKind::NoReply, 6, 0, 7},
    };
    for (const auto& c : cases) {
        device.Faults().faults = {Fault{c.kind, 'D', -1, c.count, 0}};
        device.ClearLog();
        clock.sleeps.clear();
        EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), c.result) << int(c.kind);
        EXPECT_EQ(CountOf('D'), c.frames) << int(c.kind);
        for (const auto& f : device.ReceivedOf('D')) // every attempt the same frame
            EXPECT_EQ(f, (Bytes{0x01, 0x44, 0x23, 0x52, 0xD9}));
        // The second stage pauses before each of its attempts.
        EXPECT_EQ(int(clock.sleeps.size()), std::max(0, c.frames - 5));
    }
    // An exception is the device's answer: returned at once.
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', -1, -1, 2}};
    device.ClearLog();
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 2);
    EXPECT_EQ(CountOf('D'), 1);

    // One first-stage attempt and no second stage.
    port.SetPovt1(1);
    port.SetPovt2(0);
    device.Faults().faults = {Fault{FaultKind::NoReply, -1, -1, -1, 0}};
    device.ClearLog();
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 130);
    EXPECT_EQ(CountOf('D'), 1);

    // The transmit delay comes before every frame.
    port.SetTransmitDelay(20);
    device.Faults().faults = {Fault{FaultKind::NoReply, -1, -1, 1, 0}};
    port.SetPovt1(5);
    clock.sleeps.clear();
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 0);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{20, 20}));
    port.SetTransmitDelay(0);

    // A lost port ends at once.
    port.SetPovt1(5);
    device.Faults().faults = {Fault{FaultKind::PortLost, -1, -1, 1, 0}};
    device.ClearLog();
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 135);
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 135);
    EXPECT_EQ(CountOf('D'), 1);
}

TEST(Obmen, MalformedRepliesAreFailuresNeverOverflows) {
    TComPortClass port;
    VirtualClock clock;
    auto owned = std::make_unique<CannedLink>();
    CannedLink& link = *owned;
    port.SetClock(&clock);
    port.SetLink(std::move(owned));
    port.SetPovt1(1);
    port.SetPovt2(0);
    ASSERT_TRUE(port.OpenPort(nullptr));
    const uint8_t id = 20;
    Bytes reply(8);

    link.replies = {Reply(2, 'D', {1, 20})};
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 132);
    link.replies = {Reply(1, 'E', {1, 20})};
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 133);
    link.replies = {Reply(1, 0x80 | 'D', {7})};
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 7);
    link.replies = {Reply(1, 0x80 | 'D', {130})}; // not a device exception code
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 129);
    // Longer than the caller's buffer.
    Bytes longer(20, 0);
    longer[0] = 19;
    link.replies = {Reply(1, 'D', longer)};
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 129);
    link.replies = {Bytes{0x01, 'D', 0x05, 0x14}};
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 129);
    // The block read checks the length byte and the echoed block number.
    Bytes big(256);
    Bytes data{161, 21};
    data.resize(162);
    link.replies = {Reply(1, 'D', data)};
    EXPECT_EQ(ReadBlock(port, 0, 20, big), 129);
    data[0] = 160;
    data[1] = 20;
    data.resize(161);
    link.replies = {Reply(1, 'D', data)};
    EXPECT_EQ(ReadBlock(port, 0, 20, big), 129);
    Bytes shortComp(11, 0);
    shortComp[0] = 10;
    link.replies = {Reply(1, 0x11, shortComp)};
    uint8_t comp[15];
    EXPECT_EQ(ReadComposition(port, 0, comp), 129);

    ASSERT_EQ(link.written.size(), 9u);
    for (size_t i = 0; i + 1 < link.written.size(); ++i)
        EXPECT_EQ(link.written[i], (Bytes{0x01, 0x44, 0x14, 0x13, 0x0F}));
    EXPECT_EQ(link.written.back(), (Bytes{0x01, 0x11, 0xC0, 0x2C}));

    link.writeStatus = LinkStatus::Failed;
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 134);
    link.writeStatus = LinkStatus::Lost;
    EXPECT_EQ(port.Obmen(0, 'D', 1, &id, reply), 135);
}

TEST_F(SimFixture, BlockReadAndIdentifyGiveTheDevicesData) {
    Bytes reply(256);
    device.Block(21)[0] = 0xAB;
    ASSERT_EQ(ReadBlock(port, 0, 21, reply), 0);
    EXPECT_EQ(reply[2], 161);
    EXPECT_EQ(reply[3], 21);
    EXPECT_EQ(reply[4], 0xAB);
    EXPECT_EQ(device.Received().back(), Frame::Build(1, 'D', Bytes{21}));

    device.Faults().sixtyBlocks = true;
    EXPECT_EQ(ReadBlock(port, 0, 26, reply), 3);

    uint8_t comp[15] = {};
    ASSERT_EQ(ReadComposition(port, 0, comp), 0);
    EXPECT_EQ(comp[Composition::SlotCodes], 13);
    EXPECT_EQ(comp[Composition::DevNum], 0);
}

TEST(Obmen, ErrorTextsNameTheDeviceAndThePort) {
    TComPortClass port;
    port.SetPortName("/dev/ttyUSB0");
    ScriptedMessageBoxes boxes;
    boxes.ExpectText("Прибор не отвечает.\nУстройство 3, порт /dev/ttyUSB0", "Ошибка")
        .ExpectText("Ошибка контрольной суммы ответа.\nУстройство 1, порт /dev/ttyUSB0", "Ошибка")
        .ExpectText("Прибор занят записью.\nУстройство 1, порт /dev/ttyUSB0", "Ошибка")
        .ExpectText("Ошибка обмена, код 77.\nУстройство 1, порт /dev/ttyUSB0", "Ошибка");
    port.ShowObmError(2, 130);
    port.ShowObmError(0, 131);
    port.ShowObmError(0, 6);
    port.ShowObmError(0, 77);
    for (int r = 129; r <= 135; ++r)
        EXPECT_FALSE(ObmResultText(r).isEmpty());
}

// Each function the tool sends, as it goes on the line (known CRCs), and the reply frame the
// exchange hands back: the device's whole frame, of the length the function's rule gives.
TEST_F(SimFixture, EveryFunctionOnTheLineAndItsReply) {
    struct Case {
        int function;
        Bytes data, frame;
        size_t replyLength;
    };
    const Case cases[] = {
        {0x01, {0x03, 0xF8, 0x00, 0x10}, {0x01, 0x01, 0x03, 0xF8, 0x00, 0x10, 0xBC, 0x73}, 7},
        {0x02, {0x00, 0x00, 0x00, 0x06}, {0x01, 0x02, 0x00, 0x00, 0x00, 0x06, 0xF8, 0x08}, 6},
        {0x03, {0x02, 0xA0, 0x00, 0x24}, {0x01, 0x03, 0x02, 0xA0, 0x00, 0x24, 0x44, 0x4B}, 77},
        {0x04, {0x00, 0x00, 0x00, 0x04}, {0x01, 0x04, 0x00, 0x00, 0x00, 0x04, 0xF1, 0xC9}, 13},
        {0x05, {0x03, 0x10, 0xFF, 0x00}, {0x01, 0x05, 0x03, 0x10, 0xFF, 0x00, 0x8D, 0xBB}, 8},
        {0x0F,
         {0x00, 0x13, 0x00, 0x0A, 0x02, 0xCD, 0x01},
         {0x01, 0x0F, 0x00, 0x13, 0x00, 0x0A, 0x02, 0xCD, 0x01, 0x72, 0xCB},
         8},
        {0x10,
         {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x48, 0x00, 0x00},
         {0x01, 0x10, 0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x48, 0x00, 0x00, 0x74, 0xD9},
         8},
        {0x0E, {}, {0x01, 0x0E, 0x81, 0xE4}, 4},
        {0x11, {}, {0x01, 0x11, 0xC0, 0x2C}, 20},
        {'D', {0x14}, {0x01, 0x44, 0x14, 0x13, 0x0F}, 166},
        {'G', {0x00, 0x06}, {0x01, 0x47, 0x00, 0x06, 0x31, 0xCF}, 53},
    };
    for (const auto& c : cases) {
        Bytes reply(300, 0xEE);
        ASSERT_EQ(port.Obmen(0, c.function, int(c.data.size()), c.data.data(), reply), 0) << c.function;
        EXPECT_EQ(device.Received().back(), c.frame) << c.function;
        const Bytes& sent = device.Sent().back();
        ASSERT_EQ(sent.size(), c.replyLength) << c.function;
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), reply.begin())) << c.function;
        EXPECT_EQ(reply[c.replyLength], 0xEE) << c.function; // nothing past the frame
        EXPECT_EQ(reply[0], 1);
        EXPECT_EQ(reply[1], c.function);
        EXPECT_TRUE(Frame::CrcOk(std::span<const uint8_t>(reply.data(), c.replyLength))) << c.function;
    }
    // What the writes did: coil 784 on, the set point of loop 0 is 50.
    EXPECT_TRUE(device.Coil(784));
    EXPECT_FLOAT_EQ(device.LoopValue(0, 0), 50.0f);
    EXPECT_TRUE(device.Coil(0x13) && !device.Coil(0x14) && device.Coil(0x1A) && device.Coil(0x1B));
}
