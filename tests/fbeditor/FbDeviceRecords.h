#pragma once
// The function-block records of the editor's table and of the device's blocks 20..31, for the
// end-to-end tests.

#include "BlockExchange.h"
#include "TProgFBClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

using FbTableRecords = std::vector<std::array<uint8_t, TProgFBClass::RecordLen>>;

inline FbTableRecords Records(const TProgFBClass& fb) {
    FbTableRecords t;
    for (int i = 0; i < fb.FBCount; ++i)
        t.push_back(fb.GetRecord(i));
    return t;
}

// Reads blocks 20..31 of device 0 and checks that they hold the records.
inline void ExpectDeviceHolds(TComPortClass& port, const FbTableRecords& written) {
    std::vector<uint8_t> reply(256);
    for (int b = 0; b < 12; ++b) {
        ASSERT_EQ(ReadBlock(port, 0, 20 + b, reply), 0);
        for (int r = 0; r < 10; ++r)
            EXPECT_TRUE(std::equal(written[size_t(10 * b + r)].begin(), written[size_t(10 * b + r)].end(),
                                   reply.begin() + 4 + 16 * r))
                << "record " << 10 * b + r;
    }
}
