// The PV input behind an analogue input number.
#include "PvInput.h"
#include "Configuration.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Two analogue modules (codes 13 and 6) and three request records: discrete (function 1), then
// two analogue ones (function 3 with two values, function 4 with one).
std::unique_ptr<TConfiguration> TwoModulesAndANetwork() {
    auto cfg = std::make_unique<TConfiguration>();
    cfg->Serv.SetSlotModuleCode(1, 13);
    cfg->Serv.SetSlotModuleCode(2, 6);
    cfg->MBA.SetChNSkText(0, 3, "-10");
    cfg->MBA.SetChVSkText(0, 3, "90");
    cfg->MBA.SetChRazm(0, 3, 2);
    cfg->MBA.SetChPozText(0, 3, "TE-3");
    cfg->MBA.SetChVSkText(1, 0, "250");
    cfg->MBM.SetKodF(1, 0), cfg->MBM.SetKolVh(4, 0);
    cfg->MBM.SetKodF(3, 1), cfg->MBM.SetKolVh(2, 1), cfg->MBM.SetStAddrBeg2(8, 1);
    cfg->MBM.SetKodF(4, 2), cfg->MBM.SetKolVh(1, 2), cfg->MBM.SetStAddrBeg2(10, 2);
    cfg->MBM.SetChVSkText("16", 1);
    cfg->MBM.SetChPozText("NET-2", 1);
    cfg->MBM.SetChRazm(5, 1);
    cfg->MBM.SetChVSkText("4", 2);
    return cfg;
}

} // namespace

TEST(PvInput, LocalChannelsNetworkValuesAndWhatResolvesToNothing) {
    const auto cfg = TwoModulesAndANetwork();
    struct Case {
        int n;
        bool network;
        int module, channel;
        const char *lowText, *highText, *position;
        float low, high;
        int unit;
    };
    // Network values 1..3 after the 12 local numbers: the function-1 record does not count.
    for (const Case& c : {Case{4, false, 0, 3, "-10", "90", "TE-3", -10, 90, 2},
                          Case{7, false, 1, 0, "0", "250", "", 0, 250, 0},
                          Case{14, true, 0, 1, "0", "16", "NET-2", 0, 16, 5}, // 8 − 4·2 + 1
                          Case{15, true, 0, 2, "0", "4", "", 0, 4, 0}}) {
        const auto in = LookUpPvInput(*cfg, c.n);
        ASSERT_TRUE(in) << c.n;
        EXPECT_EQ(std::tuple(in->network, in->module, in->channel, in->lowText, in->highText, in->unit),
                  std::tuple(c.network, c.module, c.channel, c.lowText, c.highText, c.unit))
            << c.n;
        EXPECT_EQ(in->position.trimmed(), c.position) << c.n;
        EXPECT_FLOAT_EQ(in->low, c.low) << c.n;
        EXPECT_FLOAT_EQ(in->high, c.high) << c.n;
    }
    for (int n : {0, -1, 5, 6, 11, 12, 16, 300}) // places 5 and 6 of a module; past the network
        EXPECT_FALSE(LookUpPvInput(*cfg, n)) << n;

    // A record whose first position lies outside the network channels resolves to nothing.
    cfg->MBM.SetStAddrBeg2(60, 1);
    EXPECT_FALSE(LookUpPvInput(*cfg, 13));
    cfg->MBM.SetStAddrBeg2(2, 1);
    EXPECT_FALSE(LookUpPvInput(*cfg, 13));
}
