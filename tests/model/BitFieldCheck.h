#pragma once
// Table-driven check of field accessors: each setter changes only its own bits and its getter
// reads back what was stored; a call out of range changes no byte and reads 0.

#include <gtest/gtest.h>

#include <bit>
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
    // A pattern without zero bytes and with no two neighbouring bytes alike.
    void Fill() const {
        for (int k = 0; k < Size; ++k)
            Set(k, (k * 37 + 11) % 255 + 1);
    }
};

enum class FieldStore {
    Low,    // the low bits of the value
    Flag,   // 1 for any non-zero value
    Signed, // a 16-bit word, read back sign-extended
};

struct BitFieldCase {
    const char* Name;
    int Byte;      // index into the view of the field's lowest byte; −1: out of range, no field
    uint32_t Mask; // the field's bits, 16 of them over Byte and Byte + 1 for a little-endian word
    FieldStore Store;
    std::function<void(int)> Set;
    std::function<int()> Get;
};

// One case: the setter statement may use `v`; the getter expression names the case.
#define FIELD_CASE(byte, mask, store, set, get)                                                              \
    BitFieldCase {                                                                                           \
#get, byte, mask, store, [&](int v) { set; }, [&] { return get; }                                    \
    }
#define BIT_FIELD(byte, mask, set, get) FIELD_CASE(byte, mask, FieldStore::Low, set, get)
#define FLAG_FIELD(byte, mask, set, get) FIELD_CASE(byte, mask, FieldStore::Flag, set, get)
#define SIGNED_FIELD(byte, set, get) FIELD_CASE(byte, 0xFFFF, FieldStore::Signed, set, get)
#define NO_FIELD(set, get) FIELD_CASE(-1, 0, FieldStore::Low, set, get)

inline void CheckBitFields(const ByteView& view, const std::vector<BitFieldCase>& cases) {
    for (const BitFieldCase& field : cases) {
        SCOPED_TRACE(field.Name);
        const int shift = field.Mask ? std::countr_zero(field.Mask) : 0;
        const int max = int(field.Mask >> shift);
        for (int v : {0, max, 1, max / 2, max + 1, -1, 2, 0}) {
            view.Fill();
            std::vector<uint8_t> expected = view.Snapshot();
            const int stored = field.Store == FieldStore::Flag ? v != 0 : v & max;
            int read = 0;
            if (field.Byte >= 0) {
                const size_t b = size_t(field.Byte);
                uint32_t window = expected[b] | (field.Mask > 0xFF ? expected[b + 1] << 8 : 0);
                window = (window & ~field.Mask) | (uint32_t(stored) << shift);
                expected[b] = uint8_t(window);
                if (field.Mask > 0xFF) expected[b + 1] = uint8_t(window >> 8);
                read = field.Store == FieldStore::Signed ? int16_t(stored) : stored;
            }
            field.Set(v);
            const std::vector<uint8_t> bytes = view.Snapshot();
            for (size_t k = 0; k < bytes.size(); ++k)
                EXPECT_EQ(bytes[k], expected[k]) << "value " << v << ", byte " << k;
            EXPECT_EQ(field.Get(), read) << "value " << v;
        }
    }
}
