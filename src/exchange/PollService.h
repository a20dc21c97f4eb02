#pragma once
// The poll service of the periodic views (channel calibration, live values, the online loop
// view): the one way a window asks the device for values on a timer.
//
// - A view owns one PollService and gives it the requests of one tick. Every intervalMs the
//   timer starts a tick: the requests run in order on the exchange thread, and each later
//   request is sent only when the earlier one succeeded.
// - The replies come back on the view's thread by Polled; the view paints them.
// - A tick that falls inside a running poll, or inside a transfer, starts nothing.
// - A failure stops the timer first; then Failed(result) is emitted once, for the view's one
//   report (ShowObmError).
// - Polled and Failed never come inside a transfer's wait (ExchangeExecutor::Deliver): a tick
//   that ends while a write of the view waits is delivered after that write has returned, so its
//   report is a box the user can answer.
// - A write the user starts from the view goes through the same exchange thread: it waits for
//   the running poll and goes next, never interleaved with it.
// - Stop (and the destructor) stops the timer and drops the rest of the tick. A poll not yet
//   started sends nothing; a request already on the line is waited out, for its current
//   attempt only (no retry follows), which the attempt's time-out bounds. No frame goes out for this view and
//   no result arrives after Stop.
// With the inline executor (unit tests) a tick runs whole inside Tick().

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TComPortClass;

// One request of a tick: fills reply with the whole reply frame and returns the exchange result.
using PollRequest = std::function<int(TComPortClass& port, std::vector<uint8_t>& reply)>;

// A plain request: function func with its data, a reply of at most replySize bytes.
PollRequest PollFrame(int devNum, int func, std::vector<uint8_t> data, int replySize);
// The 'D' read of a block, with the block read's own reply checks.
PollRequest PollBlock(int devNum, int blockId);

using PollReplies = std::vector<std::vector<uint8_t>>;

class PollService : public QObject {
    Q_OBJECT
  public:
    explicit PollService(TComPortClass& port, QObject* parent = nullptr);
    ~PollService() override;

    void SetRequests(std::vector<PollRequest> requests) { requests_ = std::move(requests); }
    // Starts the timer; the first tick comes after one interval (call Tick for one at once).
    void Start(int intervalMs);
    void Stop();
    bool Active() const { return timer_.isActive(); }
    bool Polling() const { return flight_ != nullptr; }
    // Starts one tick; false when it started nothing (a poll or a transfer is running).
    bool Tick();

  signals:
    void Polled(const PollReplies& replies);
    void Failed(int result);

  private:
    struct Flight;
    void Deliver(const std::shared_ptr<Flight>& flight);

    TComPortClass& port_;
    QTimer timer_;
    std::vector<PollRequest> requests_;
    std::shared_ptr<Flight> flight_; // the tick in flight
};
