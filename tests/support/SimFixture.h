#pragma once
// The exchange object wired to the in-process simulated device on a virtual clock.

#include "Comportclass.h"
#include "SimDevice.h"
#include "SimLink.h"

#include <gtest/gtest.h>

class SimFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        auto l = std::make_unique<SimLink>(device, &clock);
        link = l.get();
        port.SetClock(&clock);
        port.SetLink(std::move(l));
        ASSERT_TRUE(port.OpenPort(nullptr));
    }
    int CountOf(int function) const { return int(device.ReceivedOf(function).size()); }

    SimDevice device;
    VirtualClock clock;
    TComPortClass port;
    SimLink* link = nullptr;
};
