#pragma once
// Table-driven check of bit-field accessors: each setter changes only its own bits of one byte
// and its getter reads the value back.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

struct BitFieldCase {
    const char* Name;
    int Byte;     // index into the snapshot
    uint8_t Mask; // the field's bits within that byte
    std::function<void(int)> Set;
    std::function<int()> Get;
};

// fill puts a known pattern everywhere; snapshot returns every byte of the object.
inline void CheckBitFields(const std::vector<BitFieldCase>& cases, const std::function<void()>& fill,
                           const std::function<std::vector<uint8_t>()>& snapshot)
{
    for (const BitFieldCase& field : cases) {
        SCOPED_TRACE(field.Name);
        int shift = 0;
        while (!((field.Mask >> shift) & 1))
            ++shift;
        const int max = field.Mask >> shift;
        for (int v : {0, max, 1, max / 2, 0}) {
            fill();
            std::vector<uint8_t> expected = snapshot();
            expected[size_t(field.Byte)] = uint8_t((expected[size_t(field.Byte)] & ~field.Mask) | (v << shift));
            field.Set(v);
            EXPECT_EQ(snapshot(), expected) << "value " << v;
            EXPECT_EQ(field.Get(), v);
        }
    }
}
