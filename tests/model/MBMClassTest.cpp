#include "BitFieldCheck.h"
#include "DeviceLayouts.h"
#include "TProgMBMClass.h"

#include <gtest/gtest.h>

namespace {

constexpr int R = 15; // last request record
constexpr int Req = 1 + 12 * R;
constexpr int Groups = 194; // scaling group bytes follow the descriptor in the snapshot

// The descriptor, then the eight scaling groups.
ByteView View(TProgMBMClass& m) {
    const int groupBytes = TProgMBMClass::GroupCount * TProgMBMClass::GroupSize;
    const auto at = [](int k) {
        return std::pair{(k - Groups) / TProgMBMClass::GroupSize, (k - Groups) % TProgMBMClass::GroupSize};
    };
    return {Groups + groupBytes,
            [&m, at](int k) { return k < Groups ? m.GetByte(k) : m.GetBlockByte(at(k).first, at(k).second); },
            [&m, at](int k, int v) {
                k < Groups ? m.SetByte(k, v) : m.SetBlockByte(at(k).first, at(k).second, v);
            }};
}

void MarkChannels(TProgMBMClass& mbm) {
    for (int n = 0; n < TProgMBMClass::NetChannelCount; ++n)
        mbm.SetChPozText(QString("K%1").arg(n), n);
}

} // namespace

TEST(MBMClass, FieldsTouchOnlyTheirBitsAndIndicesOutOfRangeNothing) {
    TProgMBMClass x;
    const int ch13 = Groups + 2 * 169 + 1 + 28; // network channel 13 is channel 1 of group 2
    CheckBitFields(View(x), {
                                BIT_FIELD(Req, 0xFF, x.SetKodF(v, R), x.GetKodF(R)),
                                BIT_FIELD(Req + 1, 0xFF, x.SetKolVh(v, R), x.GetKolVh(R)),
                                BIT_FIELD(Req + 2, 0xFF, x.SetUstr(v, R), x.GetUstr(R)),
                                SIGNED_FIELD(Req + 3, x.SetAdBegDat(v, R), x.GetAdBegDat(R)),
                                SIGNED_FIELD(Req + 5, x.SetKolDat(v, R), x.GetKolDat(R)),
                                BIT_FIELD(Req + 7, 0x0F, x.SetTipUstr(v, R), x.GetTipUstr(R)),
                                BIT_FIELD(Req + 8, 0xFF, x.SetStAddrBeg1(v, R), x.GetStAddrBeg1(R)),
                                BIT_FIELD(Req + 9, 0xFF, x.SetStAddrBeg2(v, R), x.GetStAddrBeg2(R)),
                                SIGNED_FIELD(Req + 10, x.SetXMax(v, R), x.GetXMax(R)),
                                SIGNED_FIELD(1 + 3, x.SetAdBegDat(v, 0), x.GetAdBegDat(0)),
                                BIT_FIELD(193, 0x0C, x.SetLinkBits2to3(v), x.GetLinkBits2to3()),
                                BIT_FIELD(193, 0x03, x.SetLinkBits0to1(v), x.GetLinkBits0to1()),
                                BIT_FIELD(ch13, 0xF0, x.SetChRazm(v, 13), x.GetChRazm(13)),
                                NO_FIELD(x.SetXMax(v, 16), x.GetXMax(16)),
                                NO_FIELD(x.SetKodF(v, -1), x.GetKodF(-1)),
                                NO_FIELD(x.SetByte(194, v), x.GetByte(194)),
                                NO_FIELD(x.SetBlockByte(8, 0, v), x.GetBlockByte(8, 0)),
                                NO_FIELD(x.SetBlockByte(0, 169, v), x.GetBlockByte(0, 169)),
                                NO_FIELD(x.SetChRazm(v, 48), x.GetChRazm(48)),
                                NO_FIELD(x.SetChRazm(v, -1), x.GetChRazm(-1)),
                                NO_FIELD(x.SetChPozText("X", 48), int(x.GetChPozText(48).size())),
                                NO_FIELD(x.SetChNSkText("1", -1), int(x.GetChNSkText(-1).size())),
                            });
}

TEST(MBMClass, AnalogueValueTextCheck) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {"12,5", true},   {"-32767", true},    {"", false},    {"1,2,3", false},
        {"12,", false},   {"-", false},        {"5-", false},  {"1-2", false},
        {"32768", false}, {"-32767,5", false}, {"б12", false}, {"1 2", false},
    };
    for (const auto& [text, good] : cases)
        EXPECT_EQ(TProgMBMClass::CheckAnValueText(QString::fromUtf8(text), 2), good) << text;
}

TEST(MBMClass, ChannelDeleteInsertAtTheEnds) {
    TProgMBMClass mbm;
    for (int g = 0; g < 8; ++g)
        mbm.SetBlockByte(g, 0, 0x55);
    MarkChannels(mbm);
    mbm.SetChUstLText("7", 47);

    mbm.DeleteChannels(0, 2);
    EXPECT_EQ(mbm.GetChPozText(0), "K2");
    EXPECT_EQ(mbm.GetChPozText(5), "K7"); // crosses a group boundary
    EXPECT_EQ(mbm.GetChUstLText(45), "7");
    for (int n : {46, 47}) { // the emptied tail gets the default channel
        EXPECT_EQ(mbm.GetChPozText(n), "");
        EXPECT_EQ(mbm.GetChVSkText(n), "100");
        EXPECT_EQ(mbm.GetChUstLText(n), "0");
    }

    MarkChannels(mbm);
    mbm.DeleteChannels(46, 5); // cut at the table end
    mbm.DeleteChannels(-1, 1);
    EXPECT_EQ(QStringList({mbm.GetChPozText(0), mbm.GetChPozText(45), mbm.GetChPozText(47)}),
              QStringList({"K0", "K45", ""}));

    MarkChannels(mbm);
    mbm.InsertChannels(0, 1);
    mbm.InsertChannels(48, 1);
    EXPECT_EQ(mbm.GetChPozText(1), "K0");
    EXPECT_EQ(mbm.GetChPozText(47), "K46"); // the last one is lost
    for (int g = 0; g < 8; ++g)
        EXPECT_EQ(mbm.GetBlockByte(g, 0), 0x55);

    mbm.SetDefaultChannels(10, 2);
    EXPECT_EQ(mbm.GetBlockByte(1, 1 + 28 * 4), 1); // channel 10: kind nibble 1
    EXPECT_EQ(QStringList({mbm.GetChPozText(10), mbm.GetChUstHText(11), mbm.GetChPozText(12)}),
              QStringList({"", "100", "K11"}));
    mbm.SetDefaultChannels(47, 1000000); // cut at the end, no overflow
    EXPECT_EQ(mbm.GetChPozText(47), "");
}

TEST(MBMClass, LiveValuesAndStates) {
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
    EXPECT_FALSE(mbm.TakeSensorTypesFromReply(0, 4, reply));  // reply too short
    reply.pop_back();
    EXPECT_FALSE(mbm.TakeSensorTypesFromReply(0, 3, reply));
    EXPECT_EQ(mbm.GetLiveFlags(46), GEntry::FlagBelowL);
}
