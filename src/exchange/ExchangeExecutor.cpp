#include "ExchangeExecutor.h"

#include <QEventLoop>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

// Counts a waiting Run for Busy().
class RunningMark {
  public:
    explicit RunningMark(std::atomic<int>& count) : count_(count) { ++count_; }
    ~RunningMark() { --count_; }

  private:
    std::atomic<int>& count_;
};

// A Run's wait, shared with its job: the job may outlive the Run's event loop.
struct RunState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int result = 0;
    QEventLoop* loop = nullptr; // cleared before the loop is gone
};

} // namespace

void ExchangeExecutor::Deliver(QObject* context, std::function<void()> call) {
    QMetaObject::invokeMethod(
        context, [this, context, call = std::move(call)]() mutable { Arrive(context, std::move(call)); });
}

void ExchangeExecutor::Arrive(QObject* context, std::function<void()> call) {
    if (Busy())
        held_.emplace_back(context, std::move(call));
    else
        call();
}

void ExchangeExecutor::ReleaseHeld() {
    if (Busy()) return; // an outer Run still waits
    auto held = std::move(held_);
    held_.clear();
    for (auto& [context, call] : held) {
        if (!context) continue;
        QObject* target = context.data();
        QMetaObject::invokeMethod(
            target, [this, target, call = std::move(call)]() mutable { Arrive(target, std::move(call)); },
            Qt::QueuedConnection);
    }
}

int InlineExecutor::Run(const std::function<int()>& job) {
    int result = 0;
    {
        RunningMark mark(running_);
        result = job();
    }
    ReleaseHeld();
    return result;
}

struct ExchangeThread::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    QThread* thread = nullptr;

    void Push(std::function<void()> job) {
        {
            std::lock_guard lock(mutex);
            jobs.push_back(std::move(job));
        }
        wake.notify_one();
    }
    // The thread's loop: sleeps until a job comes, runs the jobs in order, ends when told to
    // stop and nothing is left.
    void Serve() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return stopping || !jobs.empty(); });
                if (jobs.empty()) return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }
};

ExchangeThread::ExchangeThread(std::function<void()> hold, std::function<void()> release)
    : queue_(std::make_unique<Queue>()), hold_(std::move(hold)), release_(std::move(release)) {
    queue_->thread = QThread::create([q = queue_.get()] { q->Serve(); });
    queue_->thread->setObjectName(QStringLiteral("exchange"));
    queue_->thread->start();
}

ExchangeThread::~ExchangeThread() {
    {
        std::lock_guard lock(queue_->mutex);
        queue_->stopping = true;
    }
    queue_->wake.notify_one();
    queue_->thread->wait();
    delete queue_->thread;
}

bool ExchangeThread::OnExchangeThread() const {
    return QThread::currentThread() == queue_->thread;
}

int ExchangeThread::Run(const std::function<int()>& job) {
    if (OnExchangeThread()) return job();
    auto state = std::make_shared<RunState>();
    {
        RunningMark mark(running_);
        if (hold_) hold_();
        QEventLoop loop;
        state->loop = &loop;
        // The quit is queued behind every progress report the job posted, so they all reach the
        // window before the caller goes on.
        queue_->Push([state, &job] {
            const int r = job();
            std::lock_guard lock(state->mutex);
            state->result = r;
            state->done = true;
            if (state->loop) QMetaObject::invokeMethod(state->loop, &QEventLoop::quit, Qt::QueuedConnection);
            state->finished.notify_one();
        });
        loop.exec();
        // A quit of the whole program ends the loop early: the job still runs on what the caller
        // handed over, so wait for its own end.
        std::unique_lock lock(state->mutex);
        state->finished.wait(lock, [&] { return state->done; });
        state->loop = nullptr;
        lock.unlock();
        if (release_) release_();
    }
    ReleaseHeld();
    return state->result;
}

int ExchangeThread::Call(const std::function<int()>& job) {
    if (OnExchangeThread()) return job();
    std::mutex m;
    std::condition_variable finished;
    bool done = false;
    int result = 0;
    queue_->Push([&] {
        const int r = job();
        std::lock_guard lock(m);
        result = r;
        done = true;
        finished.notify_one();
    });
    std::unique_lock lock(m);
    finished.wait(lock, [&] { return done; });
    return result;
}

void ExchangeThread::Post(std::function<void()> job) {
    queue_->Push(std::move(job));
}
