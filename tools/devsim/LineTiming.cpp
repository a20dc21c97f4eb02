#include "LineTiming.h"

#include <algorithm>

Micros LineTiming::ReplyTime(int bytes) const {
    const int64_t line = baud > 0 ? (int64_t(bytes) * 11 * 1000000 + baud - 1) / baud : 0;
    return std::chrono::milliseconds(turnaroundMs) + Micros(line);
}

void ReplyLine::Send(const LineTiming& timing, const std::vector<uint8_t>& reply, Micros requestEnd) {
    const Micros start = bytes_.empty() ? requestEnd : std::max(requestEnd, bytes_.back().at);
    for (size_t k = 0; k < reply.size(); ++k)
        bytes_.push_back({reply[k], start + timing.ReplyTime(int(k + 1))});
}

int ReplyLine::ArrivedBy(Micros t) const {
    const auto late = std::find_if(bytes_.begin(), bytes_.end(), [t](const Byte& b) { return b.at > t; });
    return int(late - bytes_.begin());
}

std::optional<Micros> ReplyLine::NextArrival() const {
    if (bytes_.empty()) return std::nullopt;
    return bytes_.front().at;
}

Micros ReplyLine::Take(uint8_t* out, int n) {
    Micros last{0};
    for (int i = 0; i < n && !bytes_.empty(); ++i) {
        out[i] = bytes_.front().value;
        last = bytes_.front().at;
        bytes_.pop_front();
    }
    return last;
}
