#pragma once
// The simulated device as a SerialLink, for in-process tests. With a virtual clock, a read that
// waits for bytes that never come advances the clock by its time-out and returns at once, and a
// read that gets its bytes advances it to the arrival of the last one (see `timing`). Without a
// clock every reply arrives at once.

#include "Clock.h"
#include "LineTiming.h"
#include "SimDevice.h"
#include "serial/SerialLink.h"

class SimLink : public SerialLink {
  public:
    SimLink(SimDevice& device, VirtualClock* clock = nullptr) : device_(device), clock_(clock) {}
    bool Open(const LinkSettings& settings, QString* error) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    LinkStatus Write(const uint8_t* data, int len) override;
    int Read(uint8_t* data, int len, int timeoutMs) override;
    void Purge() override { rx_.Clear(); }

    bool refuseOpen = false; // Open fails, as with a port that does not exist
    LinkSettings settings;   // as last opened
    LineTiming timing;       // replies at once unless set

  private:
    Micros Now() const; // of the virtual clock, 0 without one

    SimDevice& device_;
    VirtualClock* clock_;
    bool open_ = false;
    ReplyLine rx_;
};
