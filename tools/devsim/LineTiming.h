#pragma once
// The pace of the serial line, as both front ends of the simulated device deliver replies: each
// byte takes 11 bit times (start, 8 data, parity or stop, stop), after the device's turnaround.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

using Micros = std::chrono::microseconds;

struct LineTiming {
    int baud = 0;         // 0: no line time, replies arrive at once
    int turnaroundMs = 0; // the device's think time before it answers

    // From a request's last byte to the arrival of the first `bytes` bytes of its reply.
    Micros ReplyTime(int bytes) const;
};

// Reply bytes on their way to the master, each with the time it arrives there (in the front
// end's own clock).
class ReplyLine {
  public:
    // Queues the reply to a request whose last byte arrived at requestEnd; it follows any reply
    // still on the line.
    void Send(const LineTiming& timing, const std::vector<uint8_t>& reply, Micros requestEnd);
    int ArrivedBy(Micros t) const;
    std::optional<Micros> NextArrival() const;
    // Takes the first n bytes into out; returns when the last of them arrived.
    Micros Take(uint8_t* out, int n);
    void Clear() { bytes_.clear(); }

  private:
    struct Byte {
        uint8_t value;
        Micros at;
    };
    std::deque<Byte> bytes_;
};
