#include "BitFieldCheck.h"
#include "DeviceLayouts.h"
#include "TProgMBMClass.h"

#include <gtest/gtest.h>

namespace {

constexpr int R = 15; // last request record
constexpr int Req = 1 + 12 * R;
constexpr int Groups = 194; // scaling group bytes follow the descriptor in the snapshot

std::vector<uint8_t> Snapshot(const TProgMBMClass& mbm)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < 194; ++k)
        bytes.push_back(uint8_t(mbm.GetByte(k)));
    for (int g = 0; g < TProgMBMClass::GroupCount; ++g)
        for (int k = 0; k < TProgMBMClass::GroupSize; ++k)
            bytes.push_back(uint8_t(mbm.GetBlockByte(g, k)));
    return bytes;
}

void Fill(TProgMBMClass& mbm)
{
    for (int k = 0; k < 194; ++k)
        mbm.SetByte(k, k * 53 + 7);
    for (int g = 0; g < TProgMBMClass::GroupCount; ++g)
        for (int k = 0; k < TProgMBMClass::GroupSize; ++k)
            mbm.SetBlockByte(g, k, (g * 169 + k) * 29 + 3);
}

void MarkChannels(TProgMBMClass& mbm)
{
    for (int n = 0; n < TProgMBMClass::NetChannelCount; ++n)
        mbm.SetChPozText(QString("K%1").arg(n), n);
}

} // namespace

TEST(MBMClass, BitFieldSettersTouchOnlyTheirBits)
{
    TProgMBMClass mbm;
    auto& x = mbm;
    using S = std::function<void(int)>;
    using G = std::function<int()>;
    // Network channel 13 is channel 1 of group 2.
    const int ch13 = Groups + 2 * 169 + 1 + 28;
    const std::vector<BitFieldCase> cases = {
        {"KodF", Req, 0xFF, S([&](int v) { x.SetKodF(v, R); }), G([&] { return x.GetKodF(R); })},
        {"KolVh", Req + 1, 0xFF, S([&](int v) { x.SetKolVh(v, R); }), G([&] { return x.GetKolVh(R); })},
        {"Ustr", Req + 2, 0xFF, S([&](int v) { x.SetUstr(v, R); }), G([&] { return x.GetUstr(R); })},
        {"TipUstr", Req + 7, 0x0F, S([&](int v) { x.SetTipUstr(v, R); }), G([&] { return x.GetTipUstr(R); })},
        {"StAddrBeg1", Req + 8, 0xFF, S([&](int v) { x.SetStAddrBeg1(v, R); }),
         G([&] { return x.GetStAddrBeg1(R); })},
        {"StAddrBeg2", Req + 9, 0xFF, S([&](int v) { x.SetStAddrBeg2(v, R); }),
         G([&] { return x.GetStAddrBeg2(R); })},
        {"LinkBits2to3", 193, 0x0C, S([&](int v) { x.SetLinkBits2to3(v); }), G([&] { return x.GetLinkBits2to3(); })},
        {"LinkBits0to1", 193, 0x03, S([&](int v) { x.SetLinkBits0to1(v); }), G([&] { return x.GetLinkBits0to1(); })},
        {"ChRazm", ch13, 0xF0, S([&](int v) { x.SetChRazm(v, 13); }), G([&] { return x.GetChRazm(13); })},
    };
    CheckBitFields(cases, [&] { Fill(mbm); }, [&] { return Snapshot(mbm); });
}

TEST(MBMClass, WordFieldsAreLittleEndianAndSigned)
{
    TProgMBMClass mbm;
    mbm.SetAdBegDat(-2, 3);
    EXPECT_EQ(mbm.GetByte(1 + 36 + 3), 0xFE);
    EXPECT_EQ(mbm.GetByte(1 + 36 + 4), 0xFF);
    EXPECT_EQ(mbm.GetAdBegDat(3), -2);
    mbm.SetKolDat(0x1234, 3);
    EXPECT_EQ(mbm.GetByte(1 + 36 + 5), 0x34);
    EXPECT_EQ(mbm.GetKolDat(3), 0x1234);
    mbm.SetXMax(16384, 15);
    EXPECT_EQ(mbm.GetByte(1 + 180 + 10), 0x00);
    EXPECT_EQ(mbm.GetByte(1 + 180 + 11), 0x40);
    EXPECT_EQ(mbm.GetXMax(15), 16384);
    EXPECT_EQ(mbm.GetByte(193), 0); // the link byte after record 15 untouched

    const auto before = Snapshot(mbm);
    mbm.SetXMax(1, 16);
    mbm.SetKodF(1, -1);
    mbm.SetByte(194, 1);
    mbm.SetBlockByte(8, 0, 1);
    mbm.SetChRazm(1, 48);
    EXPECT_FALSE(mbm.SetChNSkText("1", -1));
    mbm.SetChPozText("X", 48);
    EXPECT_EQ(Snapshot(mbm), before);
    EXPECT_EQ(mbm.GetKodF(16), 0);
    EXPECT_EQ(mbm.GetChPozText(48), "");
}

TEST(MBMClass, AnalogueValueTextCheck)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {"12,5", true},    {"0,1", true},      {"-5", true},    {"32767", true}, {"-32767", true},
        {"0", true},       {"", false},        {"1,2,3", false}, {"12,", false},  {"-", false},
        {"--5", false},    {"5-", false},      {"1-2", false},  {"32768", false}, {"-32767,5", false},
        {"б12", false},    {"123456Б", false}, {"1?", false},   {"abc", false},  {"1 2", false},
    };
    for (const auto& [text, good] : cases)
        EXPECT_EQ(TProgMBMClass::CheckAnValueText(QString::fromUtf8(text), 2), good) << text;
}

TEST(MBMClass, ChannelDeleteInsertAtTheEnds)
{
    TProgMBMClass mbm;
    for (int g = 0; g < 8; ++g)
        mbm.SetBlockByte(g, 0, 0x55);
    MarkChannels(mbm);
    mbm.SetChUstLText("7", 47);

    mbm.DeleteChannels(0, 2);
    EXPECT_EQ(mbm.GetChPozText(0), "K2");
    EXPECT_EQ(mbm.GetChPozText(5), "K7"); // crosses a group boundary
    EXPECT_EQ(mbm.GetChPozText(45), "K47");
    EXPECT_EQ(mbm.GetChUstLText(45), "7");
    for (int n : {46, 47}) {
        EXPECT_EQ(mbm.GetChPozText(n), "");
        EXPECT_EQ(mbm.GetChNSkText(n), "0");
        EXPECT_EQ(mbm.GetChVSkText(n), "100");
        EXPECT_EQ(mbm.GetChUstLText(n), "0");
        EXPECT_EQ(mbm.GetChUstHHText(n), "100");
    }
    for (int g = 0; g < 8; ++g)
        EXPECT_EQ(mbm.GetBlockByte(g, 0), 0x55) << "group id byte moved";

    MarkChannels(mbm);
    mbm.DeleteChannels(46, 5); // cut at the table end
    EXPECT_EQ(mbm.GetChPozText(45), "K45");
    EXPECT_EQ(mbm.GetChPozText(47), "");
    mbm.DeleteChannels(-1, 1);
    EXPECT_EQ(mbm.GetChPozText(0), "K0");

    MarkChannels(mbm);
    mbm.InsertChannels(0, 1);
    EXPECT_EQ(mbm.GetChPozText(1), "K0");
    EXPECT_EQ(mbm.GetChPozText(47), "K46"); // the last one is lost
    mbm.InsertChannels(47, 3);
    EXPECT_EQ(mbm.GetChPozText(47), "K46");
    mbm.InsertChannels(48, 1);
    EXPECT_EQ(mbm.GetChPozText(47), "K46");
    for (int g = 0; g < 8; ++g)
        EXPECT_EQ(mbm.GetBlockByte(g, 0), 0x55);

    mbm.SetDefaultChannels(10, 2);
    EXPECT_EQ(mbm.GetBlockByte(1, 1 + 28 * 4), 1); // channel 10: kind nibble 1
    EXPECT_EQ(mbm.GetChPozText(10), "");
    EXPECT_EQ(mbm.GetChUstHText(11), "100");
    EXPECT_EQ(mbm.GetChPozText(12), "K11");
    mbm.SetDefaultChannels(47, 1000000); // cut at the end, no overflow
    EXPECT_EQ(mbm.GetChPozText(47), "");
}

TEST(MBMClass, LiveValuesAndStates)
{
    TProgMBMClass mbm;
    std::vector<uint8_t> reply = {1, 'G', 24};
    for (uint8_t flags : {uint8_t(0), GEntry::FlagBelowL, GEntry::FlagAboveH}) {
        uint8_t entry[GEntry::Size] = {};
        entry[GEntry::Flags] = flags;
        reply.insert(reply.end(), entry, entry + GEntry::Size);
    }
    ASSERT_TRUE(mbm.TakeSensorTypesFromReply(45, 3, reply));
    EXPECT_EQ(mbm.ShowChannelState(3, 45), QStringList({"норма", "L(L-H)", "H(L-H)"}));
    EXPECT_FALSE(mbm.TakeSensorTypesFromReply(46, 3, reply)); // past position 47
    EXPECT_FALSE(mbm.TakeSensorTypesFromReply(0, 4, reply)); // reply too short
    reply.pop_back();
    EXPECT_FALSE(mbm.TakeSensorTypesFromReply(0, 3, reply));
    EXPECT_EQ(mbm.GetLiveFlags(46), GEntry::FlagBelowL);
}
