#include "BitFieldCheck.h"
#include "TProgF15Class.h"

#include <gtest/gtest.h>

TEST(F15Class, FieldsTouchOnlyTheirBitsAndIndicesOutOfRangeNothing) {
    TProgF15Class x;
    const ByteView view{81, [&x](int k) { return x.GetByte(k); }, [&x](int k, int v) { x.SetByte(k, v); }};
    const int r = 41; // record 1
    CheckBitFields(view, {
                             BIT_FIELD(r, 0xFF, x.SetFuncCode(1, v), x.GetFuncCode(1)),
                             BIT_FIELD(r + 1, 0xFF, x.SetB2(1, v), x.GetB2(1)),
                             BIT_FIELD(r + 2, 0xFF, x.SetB3(1, v), x.GetB3(1)),
                             SIGNED_FIELD(r + 3, x.SetW4(1, v), x.GetW4(1)),
                             SIGNED_FIELD(r + 5, x.SetW6(1, v), x.GetW6(1)),
                             BIT_FIELD(r + 7, 0x10, x.SetKvit(1, v), x.GetKvit(1)),
                             BIT_FIELD(r + 7, 0x20, x.SetSbros(1, v), x.GetSbros(1)),
                             BIT_FIELD(r + 39, 0xFF, x.SetSignal(1, 31, v), x.GetSignal(1, 31)),
                             BIT_FIELD(9, 0xFF, x.SetSignal(0, 0, v), x.GetSignal(0, 0)),
                             NO_FIELD(x.SetSignal(1, 32, v), x.GetSignal(1, 32)),
                             NO_FIELD(x.SetSignal(0, -1, v), x.GetSignal(0, -1)),
                             NO_FIELD(x.SetFuncCode(2, v), x.GetFuncCode(2)),
                             NO_FIELD(x.SetW6(-1, v), x.GetW6(-1)),
                             NO_FIELD(x.SetByte(81, v), x.GetByte(81)),
                         });
}
