// The devsim program paces its replies as a serial line of the given speed would.

#include "BlockExchange.h"
#include "Comportclass.h"
#include "DevsimProcess.h"
#include "LineTiming.h"
#include "ModbusFrame.h"
#include "SimDevice.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

TEST(DevsimLineTime, ABlockReplyTakesItsLineTime) {
    QString error;
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--baud", "9600", "--turnaround", "20"}, &error))
        << error.toStdString();
    TComPortClass port;
    port.SetPortName(devsim.Link());
    port.SetSpeed(9600);
    ASSERT_TRUE(port.OpenPort(&error)) << error.toStdString();

    SimDevice reference;
    const Bytes expected = *reference.Handle(Frame::Build(1, 'D', Bytes{20}));
    ASSERT_EQ(expected.size(), size_t(166));
    const int64_t lineUs = LineTiming{9600, 20}.ReplyTime(166).count(); // 210.2 ms

    Bytes reply(256);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(ReadBlock(port, 0, 20, reply), 0);
    const int64_t elapsedUs = timer.nsecsElapsed() / 1000;
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 166), expected);
    EXPECT_GE(elapsedUs, lineUs);
    EXPECT_LT(elapsedUs, 3 * lineUs + 1000000); // wide: a loaded machine delays the reply, never hastens it
    RecordProperty("elapsed_us", std::to_string(elapsedUs));
    port.ClosePort();
}
