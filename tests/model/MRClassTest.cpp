#include "BitFieldCheck.h"
#include "TProgMRClass.h"

#include <gtest/gtest.h>

TEST(MRClass, FieldsTouchOnlyTheirBitsSlotFlagsAndInputNumbers) {
    TProgMRClass x;
    const ByteView view{121, [&x](int k) { return x.GetModByte(k); },
                        [&x](int k, int v) { x.SetModByte(k, v); }};
    const int o = 1 + 24 * 4 + 3 * 7; // last output of the last module: byte 118
    CheckBitFields(view, {
                             FLAG_FIELD(o, 0x01, x.SetTipVyh(v, 7, 4), x.GetTipVyh(7, 4)),
                             FLAG_FIELD(o, 0x02, x.SetKvitBlock(v, 7, 4), x.GetKvitBlock(7, 4)),
                             FLAG_FIELD(o, 0x04, x.SetSbrTopLevel(v, 7, 4), x.GetSbrTopLevel(7, 4)),
                             FLAG_FIELD(o, 0x08, x.SetKvitTopLevel(v, 7, 4), x.GetKvitTopLevel(7, 4)),
                             FLAG_FIELD(o, 0x10, x.SetSbrPanel(v, 7, 4), x.GetSbrPanel(7, 4)),
                             FLAG_FIELD(o, 0x20, x.SetKvitPanel(v, 7, 4), x.GetKvitPanel(7, 4)),
                             BIT_FIELD(o + 1, 0xFF, x.SetVxKvit(7, 4, v), x.GetVxKvit(7, 4)),
                             BIT_FIELD(o + 2, 0xFF, x.SetVhSbr(7, 4, v), x.GetVhSbr(7, 4)),
                             FLAG_FIELD(25, 0x20, x.SetKvitPanel(v, 0, 1), x.GetKvitPanel(0, 1)),
                             NO_FIELD(x.SetTipVyh(v, 8, 4), x.GetTipVyh(8, 4)),
                             NO_FIELD(x.SetVhSbr(0, 5, v), x.GetVhSbr(0, 5)),
                             NO_FIELD(x.SetVxKvit(-1, 0, v), x.GetVxKvit(-1, 0)),
                             NO_FIELD(x.SetModByte(121, v), x.GetModByte(121)),
                         });

    // The slot flags and the input-number check.
    x.SetMrBaseSaved(3, 0);
    x.SetMrBaseSaved(9, 0);
    EXPECT_EQ((std::array{x.GetMrBaseSaved(3), x.GetMrBaseSaved(4), x.GetMrBaseSaved(9)}),
              (std::array{0, 1, 0}));
    const std::pair<const char*, bool> cases[] = {{"0", true},    {"255", true}, {"", false},
                                                  {"256", false}, {"-1", false}, {"1,5", false},
                                                  {"abc", false}};
    for (const auto& [text, good] : cases)
        EXPECT_EQ(TProgMRClass::CheckVhText(text), good) << text;
}
