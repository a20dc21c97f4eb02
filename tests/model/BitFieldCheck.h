#pragma once
// Table-driven check of bit-field accessors: each setter changes only its own bits of one byte
// and its getter reads the value back.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

// The bytes of the object under test, addressed as one flat array.
struct ByteView {
    int Size;
    std::function<int(int)> Get;
    std::function<void(int, int)> Set;

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> bytes;
        for (int k = 0; k < Size; ++k)
            bytes.push_back(uint8_t(Get(k)));
        return bytes;
    }
    // A pattern with no two neighbouring bytes alike.
    void Fill() const {
        for (int k = 0; k < Size; ++k)
            Set(k, (k * 37 + 11) & 0xFF);
    }
};

struct BitFieldCase {
    const char* Name;
    int Byte;     // index into the view
    uint8_t Mask; // the field's bits within that byte
    std::function<void(int)> Set;
    std::function<int()> Get;
};

// One case: the setter statement may use `v`; the getter expression names the case.
#define BIT_FIELD(byte, mask, set, get)                                                                      \
    BitFieldCase {                                                                                           \
#get, byte, mask, [&](int v) { set; }, [&] { return get; }                                           \
    }

inline void CheckBitFields(const ByteView& view, const std::vector<BitFieldCase>& cases) {
    for (const BitFieldCase& field : cases) {
        SCOPED_TRACE(field.Name);
        int shift = 0;
        while (!((field.Mask >> shift) & 1))
            ++shift;
        const int max = field.Mask >> shift;
        for (int v : {0, max, 1, max / 2, 0}) {
            view.Fill();
            std::vector<uint8_t> expected = view.Snapshot();
            expected[size_t(field.Byte)] =
                uint8_t((expected[size_t(field.Byte)] & ~field.Mask) | (v << shift));
            field.Set(v);
            EXPECT_EQ(view.Snapshot(), expected) << "value " << v;
            EXPECT_EQ(field.Get(), v);
        }
    }
}
