// The exchange over a real pseudo-terminal against the devsim program.

#include "DevsimPort.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <QTest>
#include <ctime>

using Bytes = std::vector<uint8_t>;

TEST(EndToEnd, ReadsAndWritesBlocksOfDevsimOverAPseudoTerminal) {
    DevsimProcess devsim;
    TComPortClass port;
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {}, port));
    EXPECT_TRUE(devsim.Pty().startsWith("/dev/pts/"));

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

    QFile log(devsim.TempPath("bus.log"));
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

// The exchange thread on a pseudo-terminal to devsim, whose device goes away and comes back.
TEST(EndToEnd, ALostPortIsDroppedAtOnceAndOpenedAgainWhenTheDeviceIsBack) {
    DevsimProcess devsim;
    TComPortClass port;
    port.SetPovt2(0);
    ASSERT_TRUE(StartLoggedDevsim(devsim, DEVSIM_PATH, {}, port));
    Bytes reply(256);
    ASSERT_EQ(ReadBlock(port, 0, 20, reply), 0);

    // The device goes away while the port is open: nothing spins on the dead line.
    devsim.Stop();
    const std::clock_t cpu0 = std::clock();
    QTest::qWait(2000);
    EXPECT_LT(double(std::clock() - cpu0) / CLOCKS_PER_SEC, 0.05);

    // Still gone: the request fails once with the lost port.
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), ObmPortLost);
    EXPECT_EQ(port.ObmErrorText(0, ObmPortLost), "COM-порт недоступен.\nУстройство 1, порт " + devsim.Link());
    EXPECT_TRUE(port.IsOpen()); // still the chosen port

    // Back on the same link: the next request opens the port anew and succeeds.
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH));
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), 0);
    EXPECT_EQ(reply[3], 20);

    // Gone and back between two requests: the loss shows only when the next request meets the
    // dead descriptor; the port is opened anew within that request.
    devsim.Stop();
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH));
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
