#pragma once
// The end-to-end tests' side of the devsim program on a pseudo-terminal: the exchange object
// connected to it on the exchange thread, and a block read back from the device.

#include "BlockExchange.h"
#include "Comportclass.h"
#include "DeviceLayouts.h"
#include "DevsimProcess.h"
#include "HeldExchange.h"

#include <gtest/gtest.h>
#include <vector>

inline bool ConnectToDevsim(TComPortClass& port, const DevsimProcess& devsim, QString* error) {
    UseHeldExchangeThread(port);
    port.SetPortName(devsim.Link());
    port.SetSpeed(115200);
    return port.OpenPort(error);
}

// devsim started with a bus log ("bus.log" in its directory) and args, the exchange connected
// to it; false after a test failure.
inline bool StartLoggedDevsim(DevsimProcess& devsim, const QString& program, const QStringList& args,
                              TComPortClass& port) {
    QString error;
    if (devsim.Start(program, QStringList{"--log", devsim.TempPath("bus.log")} + args, &error) &&
        ConnectToDevsim(port, devsim, &error))
        return true;
    ADD_FAILURE() << error.toStdString();
    return false;
}

// The data of device block id (after the block number), read back from the device.
inline std::vector<uint8_t> DeviceBlock(TComPortClass& port, int id) {
    std::vector<uint8_t> reply(256);
    EXPECT_EQ(ReadBlock(port, 0, id, reply), 0) << id;
    return std::vector<uint8_t>(reply.begin() + 4, reply.begin() + 4 + DeviceBlocks::LengthOf(id) - 1);
}
