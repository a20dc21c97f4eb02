#include "Clock.h"

#include <chrono>
#include <thread>

int64_t RealClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

RealClock& RealClock::Instance() {
    static RealClock clock;
    return clock;
}
