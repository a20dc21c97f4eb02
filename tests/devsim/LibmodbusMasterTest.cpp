// libmodbus as an independent RTU master against the devsim program on a pseudo-terminal.

#include "DevsimProcess.h"

#include <QFile>
#include <gtest/gtest.h>
#include <modbus.h>

TEST(Interop, LibmodbusMasterAgainstDevsim) {
    DevsimProcess devsim;
    QString error;
    ASSERT_TRUE(devsim.Start(DEVSIM_PATH, {"--address", "2"}, &error)) << error.toStdString();
    const QByteArray path = QFile::encodeName(devsim.Link());
    modbus_t* ctx = modbus_new_rtu(path.constData(), 115200, 'N', 8, 2);
    ASSERT_NE(ctx, nullptr);
    modbus_set_slave(ctx, 2);
    modbus_set_response_timeout(ctx, 1, 0);
    ASSERT_EQ(modbus_connect(ctx), 0);

    uint8_t bits[64] = {};
    ASSERT_EQ(modbus_read_bits(ctx, 1016, 16, bits), 16); // module health
    // The three fitted modules are healthy (0), the empty fourth slot is not (1).
    EXPECT_EQ(bits[0] + bits[1] + bits[2], 0);
    EXPECT_EQ(bits[3], 1);
    ASSERT_EQ(modbus_read_input_bits(ctx, 0, 6, bits), 6);

    uint16_t regs[64] = {};
    ASSERT_EQ(modbus_read_registers(ctx, 672, 36, regs), 36);
    EXPECT_EQ(regs[0], 0x4248); // SP of loop 0: 50.0
    EXPECT_EQ(regs[1], 0);
    ASSERT_EQ(modbus_write_bit(ctx, 0x1012, 1), 1); // select channel 2 of module 1
    ASSERT_EQ(modbus_read_input_registers(ctx, 0, 4, regs), 4);
    EXPECT_EQ(regs[0], 2);

    const uint8_t on[6] = {1, 0, 1, 1, 0, 1};
    ASSERT_EQ(modbus_write_bits(ctx, 784, 6, on), 6);
    ASSERT_EQ(modbus_read_bits(ctx, 784, 6, bits), 6);
    EXPECT_EQ(std::vector<uint8_t>(bits, bits + 6), std::vector<uint8_t>(on, on + 6));

    const uint16_t sp[2] = {0x4120, 0x0000};
    ASSERT_EQ(modbus_write_registers(ctx, 678, 2, sp), 2);
    ASSERT_EQ(modbus_read_registers(ctx, 678, 2, regs), 2);
    EXPECT_EQ(regs[0], 0x4120);

    // The device's exception reaches libmodbus as a ModBus error.
    EXPECT_EQ(modbus_read_registers(ctx, 0, 200, regs), -1);

    modbus_close(ctx);
    modbus_free(ctx);
    devsim.Stop();
    EXPECT_EQ(devsim.ExitCode(), 0);
}
