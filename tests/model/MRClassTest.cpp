#include "BitFieldCheck.h"
#include "TProgMRClass.h"

#include <gtest/gtest.h>

namespace {
ByteView View(TProgMRClass& m) {
    return {121, [&m](int k) { return m.GetModByte(k); }, [&m](int k, int v) { m.SetModByte(k, v); }};
}
} // namespace

TEST(MRClass, BitFieldSettersTouchOnlyTheirBits) {
    TProgMRClass x;
    const int o = 1 + 24 * 4 + 3 * 7; // last output of the last module: byte 118
    CheckBitFields(View(x), {
                                BIT_FIELD(o, 0x01, x.SetTipVyh(v, 7, 4), x.GetTipVyh(7, 4)),
                                BIT_FIELD(o, 0x02, x.SetKvitBlock(v, 7, 4), x.GetKvitBlock(7, 4)),
                                BIT_FIELD(o, 0x04, x.SetSbrTopLevel(v, 7, 4), x.GetSbrTopLevel(7, 4)),
                                BIT_FIELD(o, 0x08, x.SetKvitTopLevel(v, 7, 4), x.GetKvitTopLevel(7, 4)),
                                BIT_FIELD(o, 0x10, x.SetSbrPanel(v, 7, 4), x.GetSbrPanel(7, 4)),
                                BIT_FIELD(o, 0x20, x.SetKvitPanel(v, 7, 4), x.GetKvitPanel(7, 4)),
                                BIT_FIELD(o + 1, 0xFF, x.SetVxKvit(7, 4, v), x.GetVxKvit(7, 4)),
                                BIT_FIELD(o + 2, 0xFF, x.SetVhSbr(7, 4, v), x.GetVhSbr(7, 4)),
                                BIT_FIELD(25, 0x20, x.SetKvitPanel(v, 0, 1), x.GetKvitPanel(0, 1)),
                            });
}

TEST(MRClass, BoundsFlagsAndInputNumberCheck) {
    TProgMRClass mr;
    EXPECT_EQ(mr.GetModByte(0), 9);
    View(mr).Fill();
    const auto before = View(mr).Snapshot();
    mr.SetTipVyh(1, 8, 4); // would be byte 121
    mr.SetVhSbr(0, 5, 1);
    mr.SetVxKvit(-1, 0, 1);
    mr.SetModByte(121, 1);
    EXPECT_EQ(View(mr).Snapshot(), before);
    mr.SetKvitPanel(7, 2, 2); // any non-zero value sets the bit only
    EXPECT_EQ(mr.GetModByte(1 + 48 + 6), before[1 + 48 + 6] | 0x20);

    mr.SetMrBaseSaved(3, 0);
    mr.SetMrBaseSaved(9, 0);
    EXPECT_EQ(mr.GetMrBaseSaved(3), 0);
    EXPECT_EQ(mr.GetMrBaseSaved(4), 1);
    EXPECT_EQ(mr.GetMrBaseSaved(9), 0);
    for (const auto& [text, good] : std::vector<std::pair<const char*, bool>>{{"0", true},
                                                                              {"255", true},
                                                                              {"", false},
                                                                              {"256", false},
                                                                              {"-1", false},
                                                                              {"1,5", false},
                                                                              {"abc", false}})
        EXPECT_EQ(TProgMRClass::CheckVhText(text), good) << text;
}
