#include "PollService.h"

#include "BlockExchange.h"
#include "Comportclass.h"

#include <condition_variable>
#include <mutex>

// What a tick shares with its job on the exchange thread.
struct PollService::Flight {
    std::mutex mutex;
    std::condition_variable ended;
    bool started = false;
    bool running = false;
    bool cancelled = false;
    int result = 0;
    PollReplies replies;

    // The job's way in: false when the tick was stopped before it began.
    bool Begin() {
        std::lock_guard lock(mutex);
        if (cancelled) return false;
        started = running = true;
        return true;
    }
    bool Cancelled() {
        std::lock_guard lock(mutex);
        return cancelled;
    }
    void End() {
        std::lock_guard lock(mutex);
        running = false;
        ended.notify_all();
    }
    // Stops the tick; waits while its job is on the line.
    void Cancel() {
        std::unique_lock lock(mutex);
        cancelled = true;
        ended.wait(lock, [this] { return !running; });
    }
};

PollRequest PollFrame(int devNum, int func, std::vector<uint8_t> data, int replySize) {
    return [=](TComPortClass& port, std::vector<uint8_t>& reply) {
        reply.assign(size_t(replySize), 0);
        return port.Obmen(devNum, func, int(data.size()), data.data(), reply);
    };
}

PollRequest PollBlock(int devNum, int blockId) {
    return [=](TComPortClass& port, std::vector<uint8_t>& reply) {
        reply.assign(256, 0);
        return ReadBlock(port, devNum, blockId, reply);
    };
}

PollService::PollService(TComPortClass& port, QObject* parent) : QObject(parent), port_(port) {
    connect(&timer_, &QTimer::timeout, this, &PollService::Tick);
}

PollService::~PollService() {
    Stop();
}

void PollService::Start(int intervalMs) {
    timer_.start(intervalMs);
}

void PollService::Stop() {
    timer_.stop();
    if (!flight_) return;
    flight_->Cancel();
    flight_.reset();
}

bool PollService::Tick() {
    if (flight_ || port_.Busy() || requests_.empty()) return false;
    auto flight = std::make_shared<Flight>();
    flight_ = flight;
    port_.Executor().Post([this, flight, requests = requests_] {
        if (!flight->Begin()) return;
        port_.SetAttemptStop([flight] { return flight->Cancelled(); });
        for (const PollRequest& request : requests) {
            if (flight->Cancelled()) break;
            std::vector<uint8_t> reply;
            flight->result = request(port_, reply);
            if (flight->result != 0) break;
            flight->replies.push_back(std::move(reply));
        }
        port_.SetAttemptStop({});
        // This service is alive here: Stop waits for a running job. A delivery still queued
        // or held when it is destroyed is dropped.
        port_.Executor().Deliver(this, [this, flight] { Deliver(flight); });
        flight->End();
    });
    return true;
}

void PollService::Deliver(const std::shared_ptr<Flight>& flight) {
    if (flight != flight_) return; // a tick stopped in the meantime
    flight_.reset();
    if (flight->result != 0) {
        timer_.stop();
        emit Failed(flight->result);
        return;
    }
    emit Polled(flight->replies);
}
