#pragma once
// The one clock the exchange waits by. The program uses the steady clock and sleeps the thread;
// tests use VirtualClock, where every wait passes at once and is recorded.

#include <cstdint>
#include <vector>

class Clock {
  public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() = 0;
    // Waits ms milliseconds without spinning the CPU and without processing window messages.
    virtual void SleepMs(int ms) = 0;
};

class RealClock : public Clock {
  public:
    int64_t NowMs() override;
    void SleepMs(int ms) override;
    static RealClock& Instance();
};

class VirtualClock : public Clock {
  public:
    int64_t NowMs() override { return now_; }
    void SleepMs(int ms) override {
        sleeps.push_back(ms);
        if (ms > 0) now_ += ms;
    }
    // Time passing without a wait of the caller (a read time-out of the simulated line).
    void Advance(int ms) {
        if (ms > 0) now_ += ms;
    }
    std::vector<int> sleeps; // every SleepMs in order

  private:
    int64_t now_ = 0;
};
