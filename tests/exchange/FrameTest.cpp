#include "ModbusFrame.h"

#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

// The functions on the line are checked against the simulator in ObmenTest; here other
// addresses and data.
TEST(Frame, BuildMatchesKnownCrcVectors) {
    struct Case {
        int address, function;
        Bytes data, crc;
    };
    const Case cases[] = {
        {0x01, 0x03, {0x00, 0x00, 0x00, 0x0A}, {0xC5, 0xCD}},
        {0x01, 0x03, {0x00, 0x00, 0x00, 0x01}, {0x84, 0x0A}},
        {0x11, 0x03, {0x00, 0x6B, 0x00, 0x03}, {0x76, 0x87}},
        {0x01, 0x04, {0x00, 0x00, 0x00, 0x01}, {0x31, 0xCA}},
        {0x01, 0x05, {0x00, 0x00, 0xFF, 0x00}, {0x8C, 0x3A}},
        {0x02, 0x0E, {}, {0x81, 0x14}},
        {0x01, 'E', {0x23, 0x20, 0x20, 0x20}, {0xDE, 0x53}},
        {0x00, 'F', {0x01, 0x02, 0x03}, {0x21, 0xE9}},
    };
    for (const auto& c : cases) {
        Bytes want{uint8_t(c.address), uint8_t(c.function)};
        want.insert(want.end(), c.data.begin(), c.data.end());
        want.insert(want.end(), c.crc.begin(), c.crc.end());
        EXPECT_EQ(Frame::Build(c.address, c.function, c.data), want);
        EXPECT_TRUE(Frame::CrcOk(want));
        want[want.size() - 3] ^= 1;
        EXPECT_FALSE(Frame::CrcOk(want));
    }
    EXPECT_FALSE(Frame::CrcOk(Bytes{0x01, 0x03, 0x00}));
}

TEST(Frame, ReplyLengthRules) {
    EXPECT_EQ(Frame::ReplyLength(3, 8, Bytes{0x01, 0x03, 0x14}), 0x14 + 5);
    EXPECT_EQ(Frame::ReplyLength(Frame::Status, 4, Bytes{0x01, 0x8E, 0x06}), 5); // exception
    EXPECT_EQ(Frame::ReplyLength(3, 8, Bytes{0x01, 0x83}), 5);
}
