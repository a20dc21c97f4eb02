#include "BitFieldCheck.h"
#include "TProgF15Class.h"

#include <gtest/gtest.h>

namespace {
ByteView View(TProgF15Class& f) {
    return {81, [&f](int k) { return f.GetByte(k); }, [&f](int k, int v) { f.SetByte(k, v); }};
}
} // namespace

TEST(F15Class, BitFieldsWordsAndBounds) {
    TProgF15Class x;
    const int r = 41; // record 1
    CheckBitFields(View(x), {
                                BIT_FIELD(r, 0xFF, x.SetFuncCode(1, v), x.GetFuncCode(1)),
                                BIT_FIELD(r + 1, 0xFF, x.SetB2(1, v), x.GetB2(1)),
                                BIT_FIELD(r + 2, 0xFF, x.SetB3(1, v), x.GetB3(1)),
                                BIT_FIELD(r + 7, 0x10, x.SetKvit(1, v), x.GetKvit(1)),
                                BIT_FIELD(r + 7, 0x20, x.SetSbros(1, v), x.GetSbros(1)),
                                BIT_FIELD(r + 39, 0xFF, x.SetSignal(1, 31, v), x.GetSignal(1, 31)),
                                BIT_FIELD(9, 0xFF, x.SetSignal(0, 0, v), x.GetSignal(0, 0)),
                            });

    TProgF15Class f15;
    EXPECT_EQ(f15.GetByte(0), 11);
    f15.SetW4(0, 0x0340);
    f15.SetW6(0, -1);
    EXPECT_EQ(f15.GetByte(4), 0x40);
    EXPECT_EQ(f15.GetByte(5), 0x03);
    EXPECT_EQ(f15.GetW6(0), -1);
    View(f15).Fill();
    const auto before = View(f15).Snapshot();
    f15.SetSignal(1, 32, 9); // would be byte 81
    f15.SetSignal(0, -1, 9);
    f15.SetFuncCode(2, 15);
    f15.SetByte(81, 1);
    EXPECT_EQ(View(f15).Snapshot(), before);
}
