#pragma once
// The simulated device as a SerialLink, for in-process tests. With a virtual clock, a read that
// waits for bytes that never come advances the clock by its time-out and returns at once.

#include "Clock.h"
#include "SimDevice.h"
#include "serial/SerialLink.h"

#include <deque>

class SimLink : public SerialLink {
  public:
    SimLink(SimDevice& device, VirtualClock* clock = nullptr) : device_(device), clock_(clock) {}
    bool Open(const LinkSettings& settings, QString* error) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    LinkStatus Write(const uint8_t* data, int len) override;
    int Read(uint8_t* data, int len, int timeoutMs) override;
    void Purge() override { rx_.clear(); }

    bool refuseOpen = false; // Open fails, as with a port that does not exist
    LinkSettings settings;   // as last opened

  private:
    SimDevice& device_;
    VirtualClock* clock_;
    bool open_ = false;
    std::deque<uint8_t> rx_;
};
