#include "SimLink.h"

#include <algorithm>

bool SimLink::Open(const LinkSettings& s, QString* error) {
    if (refuseOpen) {
        if (error) *error = QStringLiteral("Нет такого устройства");
        return false;
    }
    settings = s;
    open_ = true;
    return true;
}

LinkStatus SimLink::Write(const uint8_t* data, int len) {
    if (!open_) return LinkStatus::Failed;
    if (device_.PortLost()) return LinkStatus::Lost;
    if (auto reply = device_.Handle(std::span(data, size_t(len)))) rx_.Send(timing, *reply, Now());
    return LinkStatus::Ok;
}

Micros SimLink::Now() const {
    return clock_ ? std::chrono::milliseconds(clock_->NowMs()) : Micros(0);
}

int SimLink::Read(uint8_t* data, int len, int timeoutMs) {
    if (device_.PortLost()) return -1;
    // Without a clock every byte has arrived; with one, those that arrive within the time-out.
    const Micros start = Now();
    const Micros deadline = clock_ ? start + std::chrono::milliseconds(timeoutMs) : Micros::max();
    const int n = std::min(len, rx_.ArrivedBy(deadline));
    const Micros last = rx_.Take(data, n);
    if (clock_) {
        if (n < len)
            clock_->Advance(timeoutMs);
        else if (n > 0)
            clock_->Advance(int(std::chrono::ceil<std::chrono::milliseconds>(last - start).count()));
    }
    return n;
}
