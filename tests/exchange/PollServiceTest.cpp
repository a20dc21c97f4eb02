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

    // The first request fails: the second is not sent, one report, the timer
    // already stopped.
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

// The exchange thread with the simulated device on the real clock; the first
// read after Hold() waits until the test lets it go.
class ThreadedExchange : public ::testing::Test {
  protected:
    struct GatedLink : SimLink {
        using SimLink::SimLink;
        int Read(uint8_t* data, int len, int timeoutMs) override {
            if (held.exchange(false)) {
                entered.set_value();
                release.get_future().wait_for(std::chrono::seconds(5));
            }
            return SimLink::Read(data, len, timeoutMs);
        }
        std::atomic<bool> held = false;
        std::promise<void> entered, release;
    };
    void SetUp() override {
        UseHeldExchangeThread(port);
        port.SetLink(std::unique_ptr<SerialLink>(link = new GatedLink(device)));
        ASSERT_TRUE(port.OpenPort(nullptr));
    }
    void Hold() {
        link->entered = {};
        link->release = {};
        link->held = true;
    }
    bool Entered() {
        return link->entered.get_future().wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    }
    // Lets the read go after ms, from another thread (this one may be waiting).
    std::thread ReleaseAfter(int ms) {
        return std::thread([this, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            link->release.set_value();
        });
    }
    SimDevice device;
    TComPortClass port;
    GatedLink* link = nullptr;
};

TEST_F(ThreadedExchange, ATransferKeepsTheEventLoopGoingAndDropsTheUsersInput) {
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
    // The job ends once the window's timer has ticked ten times (or after 5 s if
    // it does not).
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

// A setting changed while a transfer runs takes effect after it, never under
// it.
TEST_F(ThreadedExchange, ASettingChangedDuringARunWaitsForItsEnd) {
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

// The program quitting during a transfer: the Run returns the job's own result,
// after its end.
TEST_F(ThreadedExchange, AQuitDuringARunWaitsForTheJobsEnd) {
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

// A report that comes during a transfer opens its box after the transfer, where
// the user can answer it with Escape, and once.
TEST_F(ThreadedExchange, ABoxRequestedDuringATransferIsShownAfterItAndAnswerable) {
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

// A view closed while a request waits on the line: the close waits out that
// attempt, and neither a retry nor the next request follows it (the device
// answering, then silent); no report comes.
TEST_F(ThreadedExchange, ClosingAViewWaitsOutTheAttemptOnTheLineAndNothingFollows) {
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent);
        device.ClearLog();
        if (silent) device.Faults().faults = {Fault{FaultKind::NoReply, -1, -1, -1, 0}};
        Hold();
        auto poll = std::make_unique<PollService>(port);
        PollLog log(*poll);
        poll->SetRequests({PollBlock(0, 20), PollBlock(0, 21)});
        poll->Start(10);
        ASSERT_TRUE(poll->Tick());
        ASSERT_TRUE(Entered());
        EXPECT_FALSE(poll->Tick()); // a tick inside a running poll starts nothing
        // The line is let go well after the close has begun.
        std::thread releaser = ReleaseAfter(300);
        poll.reset(); // the view closes
        releaser.join();
        QTest::qWait(100);
        EXPECT_EQ(device.Received(), std::vector<Bytes>{Frame::Build(1, 'D', Bytes{20})});
        EXPECT_TRUE(log.replies.empty());
        EXPECT_TRUE(log.failures.empty());
    }
    // The next request, outside the poll, makes all its attempts again.
    device.ClearLog();
    std::vector<uint8_t> reply(256);
    EXPECT_EQ(ReadBlock(port, 0, 20, reply), ObmNoReply);
    EXPECT_EQ(device.Received().size(), 7u);
}

TEST_F(ThreadedExchange, AWriteStartedDuringAPollGoesAfterItNeverBetween) {
    PollService poll(port);
    PollLog log(poll);
    poll.SetRequests({PollBlock(0, 20), PollBlock(0, 21)});
    Hold();
    ASSERT_TRUE(poll.Tick());
    ASSERT_TRUE(Entered());
    std::thread releaser = ReleaseAfter(100);
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
