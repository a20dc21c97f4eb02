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
    const auto first = LookUpPvInput(*cfg, 4); // module 0, channel 3
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->network);
    EXPECT_EQ(first->module, 0);
    EXPECT_EQ(first->channel, 3);
    EXPECT_EQ(first->lowText, "-10");
    EXPECT_EQ(first->highText, "90");
    EXPECT_FLOAT_EQ(first->low, -10);
    EXPECT_FLOAT_EQ(first->high, 90);
    EXPECT_EQ(first->unit, 2);
    EXPECT_EQ(first->position.trimmed(), "TE-3");

    const auto second = LookUpPvInput(*cfg, 7); // module 1, channel 0
    ASSERT_TRUE(second);
    EXPECT_EQ(second->module, 1);
    EXPECT_EQ(second->channel, 0);
    EXPECT_FLOAT_EQ(second->high, 250);

    // Network values 1..3 after the 12 local numbers: the function-1 record does not count.
    const auto net2 = LookUpPvInput(*cfg, 14);
    ASSERT_TRUE(net2);
    EXPECT_TRUE(net2->network);
    EXPECT_EQ(net2->channel, 1); // 8 − 4·2 + 1
    EXPECT_FLOAT_EQ(net2->high, 16);
    EXPECT_EQ(net2->unit, 5);
    EXPECT_EQ(net2->position.trimmed(), "NET-2");
    const auto net3 = LookUpPvInput(*cfg, 15);
    ASSERT_TRUE(net3);
    EXPECT_EQ(net3->channel, 2);
    EXPECT_FLOAT_EQ(net3->high, 4);

    for (int n : {0, -1, 5, 6, 11, 12, 16, 300}) // places 5 and 6 of a module; past the network
        EXPECT_FALSE(LookUpPvInput(*cfg, n)) << n;

    // A record whose first position lies outside the network channels resolves to nothing.
    cfg->MBM.SetStAddrBeg2(60, 1);
    EXPECT_FALSE(LookUpPvInput(*cfg, 13));
    cfg->MBM.SetStAddrBeg2(2, 1);
    EXPECT_FALSE(LookUpPvInput(*cfg, 13));
}
