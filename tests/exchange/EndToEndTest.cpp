// The exchange over a real pseudo-terminal against the devsim program.

#include "BlockExchange.h"
#include "Comportclass.h"
#include "DevsimPort.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <QTest>
#include <gtest/gtest.h>
#include <sys/resource.h>

using Bytes = std::vector<uint8_t>;

TEST(EndToEnd, ReadsAndWritesBlocksOfDevsimOverAPseudoTerminal) {
    QString error;
    DevsimProcess devsim;
    const QString logPath = devsim.TempPath("bus.log");
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--log", logPath}, &error)) << error.toStdString();
    EXPECT_TRUE(devsim.Pty().startsWith("/dev/pts/"));

    TComPortClass port;
    port.SetPortName(devsim.Link());
    port.SetSpeed(115200);
    ASSERT_TRUE(port.OpenPort(&error)) << error.toStdString();

    uint8_t comp[15] = {};
    ASSERT_EQ(ReadComposition(port, 0, comp), 0);
    EXPECT_EQ(comp[1], 13);

    Bytes reply(256);
    ASSERT_EQ(ReadBlock(port, 0, 35, reply), 0);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 4), (Bytes{0x01, 0x44, 97, 35}));
    EXPECT_EQ(reply[4], 0xE3); // "гр" of "град.С" in the single-byte code page
    EXPECT_EQ(reply[5], 0xF0);

    BlockWritePlan plan;
    plan.blockIds = {20, 21};
    plan.pack = [](int i, std::span<uint8_t> image) {
        for (size_t k = 0; k < image.size(); ++k)
            image[k] = uint8_t(k + i);
    };
    int devNum = 0;
    ASSERT_EQ(BlockWriteCommit(port, devNum, plan), 0);
    ASSERT_EQ(ReadBlock(port, 0, 21, reply), 0);
    for (int k = 0; k < 160; ++k)
        ASSERT_EQ(reply[size_t(4 + k)], uint8_t(k + 1)) << k;

    // The device side goes away under an open port: a result, not a crash.
    devsim.Stop();
    EXPECT_EQ(ReadBlock(port, 0, 21, reply), 135);
    port.ClosePort();
    EXPECT_EQ(devsim.ExitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(devsim.Link()));

    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(log.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 10);
    const QRegularExpression form("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (->|<-)( [0-9a-f]{2})+$");
    for (const QString& l : lines)
        EXPECT_TRUE(form.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(lines[0].endsWith("-> 01 11 c0 2c"));
    EXPECT_TRUE(lines[2].endsWith("-> 01 44 23 52 d9"));
    EXPECT_TRUE(lines[4].contains("-> 01 45 14 00 01 02 03")) << lines[4].toStdString();
}

namespace {

int64_t ProcessCpuMs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000 +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000;
}

} // namespace

// The exchange thread on a pseudo-terminal to devsim, one block read done.
class LostPort : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        port.SetPovt2(0);
        ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {}, &error) && ConnectToDevsim(port, devsim, &error))
            << error.toStdString();
        ASSERT_EQ(ReadBlock(port, 0, 20, reply), 0);
    }
    void RestartDevice() {
        QString error;
        ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {}, &error)) << error.toStdString();
    }
    DevsimProcess devsim;
    TComPortClass port;
    Bytes reply = Bytes(256);
};

TEST_F(LostPort, DroppedAtOnceAndOpenedAgainWhenTheDeviceIsBack) {
    // The device goes away while the port is open: nothing spins on the dead line.
    devsim.Stop();
    const int64_t cpu0 = ProcessCpuMs();
    QTest::qWait(2000);
    EXPECT_LT(ProcessCpuMs() - cpu0, 50);

    // Still gone: the request fails once with the lost port.
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), ObmPortLost);
    EXPECT_EQ(port.ObmErrorText(0, ObmPortLost), "COM-порт недоступен.\nУстройство 1, порт " + devsim.Link());
    EXPECT_TRUE(port.IsOpen()); // still the chosen port

    // Back on the same link: the next request opens the port anew and succeeds.
    RestartDevice();
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), 0);
    EXPECT_EQ(reply[3], 20);
}

TEST_F(LostPort, ADeviceThatWentAwayBetweenRequestsIsFoundAgainOnTheNext) {
    // The loss shows only when the next request meets the dead descriptor; the port is opened
    // anew within that request.
    devsim.Stop();
    RestartDevice();
    EXPECT_EQ(ReadBlock(port, 0, 21, reply), 0);
    EXPECT_EQ(reply[3], 21);
}

// A device that answers past the time-out (by more than a loaded machine's wake-up delay), paced
// as a 9600-baud line: the late bytes of each attempt are drained before the next attempt, the
// retry's or the next request's, so no request takes another's reply; each fails as not answered.
TEST(EndToEnd, ALateReplyIsNeverTakenForAnotherAttempts) {
    QString error;
    DevsimProcess devsim;
    const QString log = devsim.TempPath("bus.log");
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--baud", "9600", "--turnaround", "150", "--log", log}, &error))
        << error.toStdString();
    TComPortClass port;
    port.SetPortName(devsim.Link());
    port.SetPovt1(1);
    port.SetPovt2(1);
    ASSERT_TRUE(port.OpenPort(&error)) << error.toStdString();
    const Bytes first{0, 31}, second{31, 9};
    Bytes reply(3 + 8 * 31 + 2), reply2(3 + 8 * 9 + 2);
    EXPECT_EQ(port.Obmen(0, 'G', 2, first.data(), reply), ObmNoReply);
    EXPECT_EQ(port.Obmen(0, 'G', 2, second.data(), reply2), ObmNoReply);
    const QString g1 = "01 47 00 1f f0 05", g2 = "01 47 1f 09 79 fb";
    EXPECT_EQ(DevsimProcess::LoggedRequests(log), QStringList({g1, g1, g2, g2}));
}
