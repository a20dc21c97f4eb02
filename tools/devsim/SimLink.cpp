#include "SimLink.h"

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
    if (auto reply = device_.Handle(std::span(data, size_t(len))))
        rx_.insert(rx_.end(), reply->begin(), reply->end());
    return LinkStatus::Ok;
}

int SimLink::Read(uint8_t* data, int len, int timeoutMs) {
    if (device_.PortLost()) return -1;
    int n = 0;
    for (; n < len && !rx_.empty(); ++n) {
        data[n] = rx_.front();
        rx_.pop_front();
    }
    if (n < len && clock_) clock_->Advance(timeoutMs);
    return n;
}
