#pragma once
// Where the exchange runs. Every job that touches the serial link goes through one executor, in
// order, one job at a time, so exactly one request is on the line at any moment.
//
// The program runs the exchange on a thread of its own (ExchangeThread): a transfer started from
// a window runs there while the window keeps painting, and the caller still gets a plain result.
// Unit tests use InlineExecutor, which runs every job at once on the calling thread (with the
// virtual clock a whole transfer then takes milliseconds).
//
// Three ways to hand over a job:
// - Run: the caller waits for the result while its event loop keeps painting and timers keep
//   firing, between a hold and a release given from above (the program drops the user's input
//   there, as a modal dialog would). For transfers and single requests from a window. An event
//   loop told to quit during the wait (the program quitting) still waits for the job's own end.
// - Call: the caller waits without processing events. For short jobs that must not let the
//   event loop run, such as opening and closing the port or tearing down.
// - Post: the caller does not wait; the job hands its own results back (PollService does). For
//   the periodic polls.
// A job run from the exchange thread itself (a job calling Obmen) runs at once.
//
// No modal box is ever opened inside a Run: its wait drops the user's input, so a box opened
// there could never be answered and the Run would never return. Results handed back to a window
// go through Deliver, which holds them while a Run waits and hands them over once, in order,
// from the event loop after the Run has returned. The poll service delivers its Polled and
// Failed this way, so a poll failure that comes during a transfer is reported after it.
// Progress reports, which only paint, are posted directly and arrive during the Run.
// Run, Deliver and the deliveries belong to the window thread.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ExchangeExecutor {
  public:
    virtual ~ExchangeExecutor() = default;
    virtual int Run(const std::function<int()>& job) = 0;
    virtual int Call(const std::function<int()>& job) = 0;
    virtual void Post(std::function<void()> job) = 0;
    virtual bool OnExchangeThread() const = 0;
    // True while a Run is waiting for its job: a transfer holds the line, and a periodic view
    // starts no poll inside it.
    bool Busy() const { return running_ > 0; }

    // Runs call on the thread of context (at once when called there outside a Run); while a Run
    // waits, after it. Dropped when context is gone.
    void Deliver(QObject* context, std::function<void()> call);

  protected:
    // The end of a Run: the deliveries held during it go to the event loop.
    void ReleaseHeld();
    std::atomic<int> running_ = 0;

  private:
    void Arrive(QObject* context, std::function<void()> call);
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> held_;
};

class InlineExecutor final : public ExchangeExecutor {
  public:
    int Run(const std::function<int()>& job) override;
    int Call(const std::function<int()>& job) override { return job(); }
    void Post(std::function<void()> job) override { job(); }
    bool OnExchangeThread() const override { return true; }
};

class ExchangeThread final : public ExchangeExecutor {
  public:
    ExchangeThread(std::function<void()> hold, std::function<void()> release);
    // Runs what is queued, then ends the thread.
    ~ExchangeThread() override;
    int Run(const std::function<int()>& job) override;
    int Call(const std::function<int()>& job) override;
    void Post(std::function<void()> job) override;
    bool OnExchangeThread() const override;

  private:
    struct Queue;
    std::unique_ptr<Queue> queue_;
    std::function<void()> hold_;
    std::function<void()> release_;
};
