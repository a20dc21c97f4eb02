// The exchange thread and the poll service of the periodic views.
#include "PollService.h"
#include "BlockExchange.h"
#include "Dialogs.h"
#include "EscapedBoxes.h"
#include "HeldExchange.h"
#include "ModbusFrame.h"
#include "SimFixture.h"

#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <future>
#include <thread>

using Bytes = std::vector<uint8_t>;

namespace {

const Bytes kReadRegisters{0x00, 0x10, 0x00, 0x02};

// Waits on this thread until done, at most limitMs.
template <class Done> void WaitFor(Done done, int limitMs = 5000) {
    for (int waited = 0; waited < limitMs && !done(); waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// Replies and failures of a poll service, as a view sees them.
struct PollLog {
    explicit PollLog(PollService& poll) {
        QObject::connect(&poll, &PollService::Polled, &context,
                         [this](const PollReplies& r) { replies.push_back(r); });
        QObject::connect(&poll, &PollService::Failed, &context, [this, &poll](int r) {
            failures.push_back(r);
            timerRunningAtFailure = poll.Active();
        });
    }
    QObject context;
    std::vector<PollReplies> replies;
    std::vector<int> failures;
    bool timerRunningAtFailure = false;
};

// A request held on the exchange thread until the test lets it go, then a block read.
struct HeldRequest {
    std::promise<void> started, release;
    PollRequest Request(int blockId) {
        return [this, blockId](TComPortClass& port, std::vector<uint8_t>& reply) {
            started.set_value();
            release.get_future().wait_for(std::chrono::seconds(5));
            reply.assign(256, 0);
            return ReadBlock(port, 0, blockId, reply);
        };
    }
    // Lets the request go after ms, from another thread (this one may be waiting).
    std::thread ReleaseAfter(int ms) {
        return std::thread([this, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            release.set_value();
        });
    }
};

std::vector<int> Functions(const SimDevice& device) {
    std::vector<int> out;
    for (const auto& f : device.Received())
        out.push_back(f[1]);
    return out;
}

} // namespace

using Poll = SimFixture;

TEST_F(Poll, ATickChainsItsRequestsAndAFailureStopsTheTimerBeforeItsOneReport) {
    PollService poll(port);
    PollLog log(poll);
    poll.SetRequests({PollBlock(0, 20), PollFrame(0, 4, kReadRegisters, 9)});
    poll.Start(1000);
    ASSERT_TRUE(poll.Tick());
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Frame::Build(1, 'D', Bytes{20}), Frame::Build(1, 4, kReadRegisters)}));
    ASSERT_EQ(log.replies.size(), 1u);
    ASSERT_EQ(log.replies[0].size(), 2u);
    EXPECT_EQ(Bytes(log.replies[0][0].begin(), log.replies[0][0].begin() + 166), device.Sent()[0]);
    EXPECT_EQ(log.replies[0][1], device.Sent()[1]);
    EXPECT_TRUE(poll.Active());

    // The first request fails: the second is not sent, one report, the timer already stopped.
    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', -1, 1, 2}};
    ASSERT_TRUE(poll.Tick());
    EXPECT_EQ(Functions(device), std::vector<int>{'D'});
    EXPECT_EQ(log.failures, std::vector<int>{2});
    EXPECT_FALSE(log.timerRunningAtFailure);
    EXPECT_EQ(log.replies.size(), 1u);

    // Inside a transfer a tick starts nothing.
    device.ClearLog();
    port.Run([&] {
        EXPECT_FALSE(poll.Tick());
        return 0;
    });
    EXPECT_TRUE(device.Received().empty());
}

TEST(ExchangeThread, ATransferKeepsTheEventLoopGoingAndDropsTheUsersInput) {
    TComPortClass port;
    UseHeldExchangeThread(port);
    struct KeyCounter : QWidget {
        int keys = 0;
        void keyPressEvent(QKeyEvent*) override { ++keys; }
    } window;
    window.show();
    std::atomic<int> ticks = 0;
    bool busySeen = false, closed = true;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++ticks;
        busySeen = busySeen || port.Busy();
        if (ticks == 3) {
            QTest::keyClick(&window, Qt::Key_A);
            closed = window.close();
        }
    });
    probe.start(10);
    bool onExchangeThread = false;
    // The job ends once the window's timer has ticked ten times (or after 5 s if it does not).
    const int r = port.Run([&] {
        onExchangeThread = port.Executor().OnExchangeThread();
        WaitFor([&] { return ticks >= 10; });
        return 7;
    });
    probe.stop();
    EXPECT_EQ(r, 7);
    EXPECT_TRUE(onExchangeThread);
    EXPECT_FALSE(port.Executor().OnExchangeThread());
    EXPECT_GE(ticks, 10);
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(port.Busy());
    EXPECT_EQ(window.keys, 0);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(&window, Qt::Key_A); // input reaches the window again
    EXPECT_EQ(window.keys, 1);
}

// A setting changed while a transfer runs takes effect after it, never under it.
TEST(ExchangeThread, ASettingChangedDuringARunWaitsForItsEnd) {
    TComPortClass port;
    UseHeldExchangeThread(port);
    std::atomic<bool> set = false;
    QTimer::singleShot(0, [&] {
        port.SetTransmitDelay(20);
        set = true;
    });
    const int seen = port.Run([&] {
        WaitFor([&] { return bool(set); }, 300);
        return port.GetTransmitDelay();
    });
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(port.GetTransmitDelay(), 20);
}

// The program quitting during a transfer: the Run returns the job's own result, after its end.
TEST(ExchangeThread, AQuitDuringARunWaitsForTheJobsEnd) {
    TComPortClass port;
    UseHeldExchangeThread(port);
    std::atomic<bool> quit = false;
    int r = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            QCoreApplication::exit();
            quit = true;
        });
        r = port.Run([&] {
            WaitFor([&] { return bool(quit); });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return 7;
        });
    });
    QCoreApplication::exec();
    EXPECT_EQ(r, 7);
}

// A report that comes during a transfer opens its box after the transfer, where the user can
// answer it with Escape, and once.
TEST(ExchangeThread, ABoxRequestedDuringATransferIsShownAfterItAndAnswerable) {
    TComPortClass port;
    UseHeldExchangeThread(port);
    QWidget window;
    window.show();
    EscapedBoxes boxes([&] { return port.Busy(); });
    int answer = -1;
    const int r = port.Run([&] {
        port.Executor().Deliver(&window, [&] { answer = MessageBox(&window, "Отказ", "Ошибка"); });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return 7;
    });
    EXPECT_EQ(r, 7);
    EXPECT_TRUE(boxes.texts.isEmpty());
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.texts, QStringList{"Отказ"});
    EXPECT_FALSE(boxes.duringTransfer);
    EXPECT_FALSE(boxes.stuck);
    EXPECT_EQ(answer, int(mrOk)); // Escape on an OK box
}

// The exchange thread with the simulated device on the real clock.
class ThreadedPoll : public ::testing::Test {
  protected:
    void SetUp() override {
        UseHeldExchangeThread(port);
        port.SetLink(std::make_unique<SimLink>(device));
        ASSERT_TRUE(port.OpenPort(nullptr));
    }
    SimDevice device;
    TComPortClass port;
};

TEST_F(ThreadedPoll, ClosingAViewWaitsOutTheRequestOnTheLineAndNothingFollows) {
    HeldRequest held;
    auto poll = std::make_unique<PollService>(port);
    PollLog log(*poll);
    poll->SetRequests({held.Request(20), PollBlock(0, 21)});
    poll->Start(10);
    ASSERT_TRUE(poll->Tick());
    ASSERT_EQ(held.started.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(poll->Tick()); // a tick inside a running poll starts nothing
    std::thread releaser = held.ReleaseAfter(100);
    poll.reset(); // the view closes
    releaser.join();
    QTest::qWait(100);
    EXPECT_EQ(device.Received(), std::vector<Bytes>{Frame::Build(1, 'D', Bytes{20})});
    EXPECT_TRUE(log.replies.empty());
    EXPECT_TRUE(log.failures.empty());
}

TEST_F(ThreadedPoll, AWriteStartedDuringAPollGoesAfterItNeverBetween) {
    HeldRequest held;
    PollService poll(port);
    PollLog log(poll);
    poll.SetRequests({held.Request(20), PollBlock(0, 21)});
    ASSERT_TRUE(poll.Tick());
    ASSERT_EQ(held.started.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    std::thread releaser = held.ReleaseAfter(100);
    BlockWritePlan plan;
    plan.blockIds = {22};
    plan.pauseBeforeBlockMs = plan.pauseAfterWriteMs = 0;
    int devNum = 0;
    EXPECT_EQ(BlockWriteCommit(port, devNum, plan), 0);
    releaser.join();
    EXPECT_EQ(Functions(device), (std::vector<int>{'D', 'D', 'E', 0x0E}));
    // Held while the write waited, delivered from the event loop after it.
    EXPECT_TRUE(log.replies.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(log.replies.size(), 1u);
}

TEST(ThreadedPollStop, ClosingAViewEndsTheRequestAfterItsCurrentAttempt) {
    // A silent device on a line whose first read waits until the test lets it go: the view is
    // closed during that attempt, and no retry follows it.
    struct SlowLink : SimLink {
        using SimLink::SimLink;
        int Read(uint8_t* data, int len, int timeoutMs) override {
            if (!waited) {
                waited = true;
                entered.set_value();
                release.get_future().wait_for(std::chrono::seconds(5));
            }
            return SimLink::Read(data, len, timeoutMs);
        }
        bool waited = false;
        std::promise<void> entered, release;
    };
    SimDevice device;
    device.Faults().faults = {Fault{FaultKind::NoReply, -1, -1, -1, 0}};
    TComPortClass port;
    UseHeldExchangeThread(port);
    auto owned = std::make_unique<SlowLink>(device);
    SlowLink& link = *owned;
    port.SetLink(std::move(owned));
    ASSERT_TRUE(port.OpenPort(nullptr));

    auto poll = std::make_unique<PollService>(port);
    PollLog log(*poll);
    poll->SetRequests({PollBlock(0, 20)});
    ASSERT_TRUE(poll->Tick());
    ASSERT_EQ(link.entered.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    // The line is let go well after the close has begun: a close that did not stop the retries
    // shows as a second attempt.
    std::atomic<bool> closing = false;
    std::thread releaser([&] {
        WaitFor([&] { return bool(closing); });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        link.release.set_value();
    });
    closing = true;
    poll.reset();
    releaser.join();
    EXPECT_EQ(device.Received().size(), 1u); // of the 7 attempts, only the one on the line
    EXPECT_TRUE(log.failures.empty());

    // The next request, outside the poll, makes all its attempts again.
    device.ClearLog();
    std::vector<uint8_t> reply(256);
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), ObmNoReply);
    EXPECT_EQ(device.Received().size(), 7u);
}
