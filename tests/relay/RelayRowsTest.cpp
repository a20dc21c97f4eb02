// The rules of a relay-module row without windows: what each choice does to the record and the
// row, the row loaded from a record, the replace rule by module code and the module index.
#include "editors/relay/RelayRows.h"
#include "Configuration.h"

#include <gtest/gtest.h>

using namespace RelayRows;

namespace {
// Output 2 of module 1 with every source set and input numbers 7 and 8.
void FullRecord(TProgMRClass& mr) {
    mr.SetModByte(1 + 24 + 6, 0x3C);
    mr.SetVxKvit(2, 1, 7);
    mr.SetVhSbr(2, 1, 8);
}
} // namespace

TEST(RelayRows, EachChoiceSetsBitsBytesChecksAndEnabledStates) {
    struct Case {
        const char* name;
        std::function<void(Row&, TProgMRClass&)> apply;
        int byte0, byte1, byte2;
        bool kvitChecked, sbrChecked, kvitEnabled, sbrEnabled;
        const char *vxKvit, *vhSbr;
    };
    const Case cases[] = {
        {"control", [](Row& r, TProgMRClass& mr) { ApplyType(r, mr, 2, 1, Control); }, 0x01, 0, 8, false,
         false, false, true, "00", "8"},
        {"signal", [](Row& r, TProgMRClass& mr) { ApplyType(r, mr, 2, 1, Signal); }, 0x3C, 7, 8, true, true,
         true, true, "7", "8"},
        {"sound", [](Row& r, TProgMRClass& mr) { ApplyLightSound(r, mr, 2, 1, Sound); }, 0x2A, 7, 0, true,
         false, true, false, "7", "00"},
        {"light", [](Row& r, TProgMRClass& mr) { ApplyLightSound(r, mr, 2, 1, Light); }, 0x3C, 7, 8, true,
         true, true, true, "7", "8"},
        {"blocking", [](Row& r, TProgMRClass& mr) { ApplyBlocking(r, mr, 2, 1, 1); }, 0x3E, 7, 8, true, true,
         true, true, "7", "8"},
    };
    for (const Case& c : cases) {
        TProgMRClass mr;
        FullRecord(mr);
        Row row = LoadRow(mr, 2, 1, 12);
        c.apply(row, mr);
        EXPECT_EQ(std::tuple(mr.GetModByte(31), mr.GetVxKvit(2, 1), mr.GetVhSbr(2, 1)),
                  std::tuple(c.byte0, c.byte1, c.byte2))
            << c.name;
        EXPECT_EQ(std::tuple(row.kvitVizo && row.kvitTopLevel, row.sbrVizo && row.sbrTopLevel,
                             row.kvitEnabled, row.sbrEnabled, row.vxKvit, row.vhSbr),
                  std::tuple(c.kvitChecked, c.sbrChecked, c.kvitEnabled, c.sbrEnabled, QString(c.vxKvit),
                             QString(c.vhSbr)))
            << c.name;
        // Only output 2 of module 1 changes.
        for (int k = 0; k < TProgMRClass::ImageLen; ++k)
            if (k < 31 || k > 33) {
                EXPECT_EQ(mr.GetModByte(k), k == 0 ? 9 : 0) << c.name << " " << k;
            }
    }
}

TEST(RelayRows, LoadedRowFollowsTheRulesAndTheInputLimit) {
    TProgMRClass mr;
    FullRecord(mr);
    mr.SetVhSbr(2, 1, 13);
    Row row = LoadRow(mr, 2, 1, 12);
    EXPECT_EQ(row.vxKvit, "7");
    EXPECT_EQ(row.vhSbr, "0"); // above 12 × 1
    EXPECT_EQ(mr.GetVhSbr(2, 1), 0);

    // A control output brought in with acknowledge sources: they are cleared, blocking kept.
    mr.SetModByte(31, 0x3F);
    mr.SetVxKvit(2, 1, 5);
    row = LoadRow(mr, 2, 1, 12);
    EXPECT_EQ(row.type, Control);
    EXPECT_EQ(row.blocking, 1);
    EXPECT_FALSE(row.kvitEnabled);
    EXPECT_EQ(row.vxKvit, "00");
    EXPECT_EQ(mr.GetModByte(31), 0x17); // the reset sources stay
    EXPECT_EQ(mr.GetVxKvit(2, 1), 0);
}

TEST(RelayRows, ReplaceRuleByModuleCode) {
    struct Case {
        int copied, target;
        bool allowed;
    };
    for (const Case& c : {Case{3, 4, true}, Case{11, 3, true}, Case{3, 12, false}, Case{11, 12, false},
                          Case{12, 12, true}, Case{11, 11, true}, Case{5, 6, false}, Case{6, 5, true}})
        EXPECT_EQ(TProgMRClass::ReplaceAllowed(c.copied, c.target), c.allowed)
            << c.copied << "->" << c.target;
}

TEST(RelayRows, ModuleIndexIsThePlaceAmongTheRelayModules) {
    TServClass serv;
    const std::array codes{13, 11, 2, 7, 12, 0, 11, 3};
    const std::array index{-1, 0, -1, -1, 1, -1, 2, -1};
    for (int slot = 1; slot <= 8; ++slot)
        serv.SetSlotModuleCode(slot, codes[size_t(slot - 1)]);
    for (int slot = 1; slot <= 8; ++slot)
        EXPECT_EQ(serv.RelayModuleIndex(slot), index[size_t(slot - 1)]) << slot;
    EXPECT_EQ(serv.RelayModuleIndex(0), -1);
    EXPECT_EQ(serv.RelayModuleIndex(9), -1);
}
