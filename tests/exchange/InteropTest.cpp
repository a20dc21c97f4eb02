// The exchange against libmodbus as an independent ModBus server on a pseudo-terminal.

#include "Comportclass.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <modbus.h>
#include <thread>

using Bytes = std::vector<uint8_t>;

TEST(Interop, LibmodbusServerAnswersTheExchange) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    // The server on the master side, the exchange on the terminal as on a serial port.
    modbus_t* ctx = modbus_new_rtu(ptsname(master), 115200, 'N', 8, 2);
    ASSERT_NE(ctx, nullptr);
    modbus_set_slave(ctx, 4);
    ASSERT_EQ(modbus_set_socket(ctx, master), 0);
    modbus_set_indication_timeout(ctx, 0, 100000);
    modbus_mapping_t* map = modbus_mapping_new(2000, 100, 800, 10);
    ASSERT_NE(map, nullptr);
    map->tab_input_bits[5] = 1;
    map->tab_input_bits[7] = 1;
    map->tab_input_registers[2] = 0x1234;
    map->tab_registers[700] = 0xBEEF;
    map->tab_bits[1020] = 1;

    std::atomic<bool> stop{false};
    std::thread server([&] {
        uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        while (!stop) {
            const int n = modbus_receive(ctx, query);
            if (n > 0) modbus_reply(ctx, query, n, map);
        }
    });

    TComPortClass port;
    port.SetPortName(QString::fromLocal8Bit(ptsname(master)));
    port.SetSpeed(115200);
    ASSERT_TRUE(port.OpenPort(nullptr));
    const int dev = 3; // bus address 4
    Bytes reply(256);
    auto req = [&](int f, Bytes d) { return port.Obmen(dev, f, int(d.size()), d.data(), reply); };

    ASSERT_EQ(req(1, {0x03, 0xF8, 0x00, 0x10}), 0); // coils 1016..1031
    EXPECT_EQ(reply[2], 2);
    EXPECT_EQ(reply[3], 0x10); // coil 1020
    ASSERT_EQ(req(2, {0x00, 0x00, 0x00, 0x08}), 0);
    EXPECT_EQ(reply[3], 0xA0); // inputs 5 and 7, least significant bit first
    ASSERT_EQ(req(3, {0x02, 0xBC, 0x00, 0x01}), 0);
    EXPECT_EQ((Bytes{reply.begin() + 2, reply.begin() + 5}), (Bytes{2, 0xBE, 0xEF}));
    ASSERT_EQ(req(4, {0x00, 0x00, 0x00, 0x04}), 0);
    EXPECT_EQ(reply[2], 8);
    EXPECT_EQ(reply[7], 0x12);
    EXPECT_EQ(reply[8], 0x34);
    ASSERT_EQ(req(5, {0x03, 0x10, 0xFF, 0x00}), 0); // coil 784 on
    EXPECT_EQ(map->tab_bits[784], 1);
    ASSERT_EQ(req(15, {0x00, 0x68, 0x00, 0x0A, 0x02, 0x05, 0x02}), 0); // coils 104..113
    EXPECT_EQ((Bytes{map->tab_bits + 104, map->tab_bits + 114}), (Bytes{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    ASSERT_EQ(req(16, {0x02, 0xA0, 0x00, 0x02, 0x04, 0x42, 0x48, 0x00, 0x00}), 0); // 50.0f at 672
    EXPECT_EQ(map->tab_registers[672], 0x4248);
    EXPECT_EQ(map->tab_registers[673], 0);
    // The server's exceptions come back as their codes.
    EXPECT_EQ(req(3, {0x03, 0xE8, 0x00, 0x01}), 2);

    stop = true;
    server.join();
    port.ClosePort();
    modbus_close(ctx); // closes the master side
    modbus_free(ctx);
    modbus_mapping_free(map);
}
