#include "BlockAdapter.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using namespace DeviceBlocks;

int DataLen(int id) {
    return LengthOf(id) - 1;
}

// Block data no two blocks share.
Bytes Pattern(int id, int size) {
    Bytes b(size_t(size), 0);
    for (int k = 0; k < size; ++k)
        b[size_t(k)] = uint8_t(id * 31 + k * 7 + 3);
    return b;
}

Bytes Pack(TConfiguration& cfg, int id) {
    Bytes out(size_t(DataLen(id)), 0);
    EXPECT_TRUE(BlockAdapter::PackBlock(cfg, id, out)) << id;
    return out;
}

// Slot 1 the controller, slot 2 an analogue module, slot 3 a discrete module: blocks 1 and 2
// are the modules, blocks 3..8 the network scaling groups 0..5.
void TwoAnalogueModules(TConfiguration& cfg) {
    cfg.Serv.SetSlotModuleCode(1, 13);
    cfg.Serv.SetSlotModuleCode(2, 8);
    cfg.Serv.SetSlotModuleCode(3, 2);
}

// Where data byte 20 of block id must land.
struct BlockCase {
    int first, last;
    std::function<int(const TConfiguration&, int id)> byte20;
};

const std::vector<BlockCase>& Cases() {
    static const std::vector<BlockCase> cases = {
        {1, 2, [](const TConfiguration& c, int id) { return c.MBA.GetModuleByte(id - 1, 21); }},
        {3, 8, [](const TConfiguration& c, int id) { return c.MBM.GetBlockByte(id - 3, 21); }},
        {9, 9, [](const TConfiguration& c, int) { return c.MR.GetModByte(21); }},
        {10, 10, [](const TConfiguration& c, int) { return c.MBM.GetByte(21); }},
        {11, 11, [](const TConfiguration& c, int) { return c.F15.GetByte(21); }},
        {12, 19, [](const TConfiguration& c, int id) { return c.Veg.GetRecByte(24 * (id - 12) + 2, 4); }},
        {20, 31, [](const TConfiguration& c, int id) { return c.FB.GetRecByte(10 * (id - 20) + 1, 4); }},
        {32, 32, [](const TConfiguration& c, int) { return c.Reg.GetRecByte(0, 20); }},
        {33, 33, [](const TConfiguration& c, int) { return c.Reg.GetPZByte(0, 20); }},
        {35, 35, [](const TConfiguration& c, int) { return c.MBA.GetUnitListByte(20); }},
        {40, 51,
         [](const TConfiguration& c, int id) {
             return int(uint8_t(c.Serv.GetNameRow(16 * (id - 40) + 1)[6]));
         }},
        {60, 67, [](const TConfiguration& c, int id) { return c.MBA.GetRangeRecordByte(id - 60, 20); }},
    };
    return cases;
}

std::vector<int> AllIds() {
    std::vector<int> ids;
    for (const BlockCase& c : Cases())
        for (int id = c.first; id <= c.last; ++id)
            ids.push_back(id);
    return ids;
}

} // namespace

// Short data and unknown ids change nothing; the rest of the data must match the pattern taken.
TEST(BlockAdapter, EveryBlockLandsInItsRecordsAndPacksBackUnchangedAndShortDataIsRefused) {
    auto cfg = std::make_unique<TConfiguration>();
    TwoAnalogueModules(*cfg);
    for (int id : AllIds())
        ASSERT_TRUE(BlockAdapter::TakeBlock(*cfg, id, Pattern(id, DataLen(id)))) << id;
    EXPECT_EQ(cfg->FB.BlockLengthByte, FBLen);
    cfg->FB.BlockLengthByte = 100;
    for (int id : AllIds())
        EXPECT_FALSE(BlockAdapter::TakeBlock(*cfg, id, Bytes(size_t(DataLen(id) - 1), 0x55))) << id;
    const Bytes plenty(300, 0x55);
    for (int id : {-1, 0, 34, 36, 39, 52, 59, 68, DeviceNumber, 255, 1000}) {
        EXPECT_FALSE(BlockAdapter::TakeBlock(*cfg, id, plenty)) << id;
        Bytes out(300, 0xEE);
        EXPECT_FALSE(BlockAdapter::PackBlock(*cfg, id, out)) << id;
        EXPECT_EQ(out, Bytes(300, 0xEE)) << id;
    }
    EXPECT_EQ(cfg->FB.BlockLengthByte, 100);

    // Taken all first, packed afterwards: no block overwrites another.
    for (const BlockCase& c : Cases())
        for (int id = c.first; id <= c.last; ++id) {
            const Bytes expected = Pattern(id, DataLen(id));
            EXPECT_EQ(c.byte20(*cfg, id), expected[20]) << id;
            EXPECT_EQ(Pack(*cfg, id), expected) << id;
        }
    // Byte 0 of the images is the block number; the length bytes are the blocks'.
    EXPECT_EQ(
        (std::vector{cfg->MBA.GetModuleByte(1, 0), cfg->MBM.GetBlockByte(0, 0), cfg->MBM.GetBlockByte(5, 0),
                     cfg->MR.GetModByte(0), cfg->MBM.GetByte(0), cfg->F15.GetByte(0)}),
        (std::vector{2, 3, 8, 9, 10, 11}));

    // A third analogue module takes block 3 from the scaling groups.
    cfg->Serv.SetSlotModuleCode(4, 6);
    Bytes module2(size_t(DataLen(3)));
    for (int k = 0; k < DataLen(3); ++k)
        module2[size_t(k)] = uint8_t(cfg->MBA.GetModuleByte(2, k + 1));
    EXPECT_EQ(Pack(*cfg, 3), module2);
    EXPECT_NE(Pack(*cfg, 3), Pattern(3, DataLen(3)));
}

TEST(BlockAdapter, DataBeyondTheBlockIsIgnoredAndAShortOutGetsTheBlocksStart) {
    auto cfg = std::make_unique<TConfiguration>();
    ASSERT_TRUE(BlockAdapter::TakeBlock(*cfg, UnitList, Pattern(UnitList, DataLen(UnitList) + 20)));
    Bytes out(size_t(DataLen(UnitList) + 4), 0xEE), head(10, 0);
    ASSERT_TRUE(BlockAdapter::PackBlock(*cfg, UnitList, out));
    ASSERT_TRUE(BlockAdapter::PackBlock(*cfg, UnitList, head));
    Bytes expected = Pattern(UnitList, DataLen(UnitList));
    expected.resize(out.size(), 0xEE); // the bytes past the block untouched
    EXPECT_EQ(out, expected);
    EXPECT_EQ(head, Pattern(UnitList, 10));
}

TEST(TextCodec, DeviceTextsEndAtTheFirstZeroByteThenLoseTrailingBlanks) {
    const auto bytes = [](const char* latin, int n) { return Bytes(latin, latin + n); };
    const Bytes cyrillic = [] {
        QByteArray b = TextCodec::Encode(QStringLiteral("ПОЗ-1"));
        b.append(3, '\0');
        return Bytes(b.begin(), b.end());
    }();
    const struct {
        Bytes field;
        QString text;
    } cases[] = {
        {bytes("\0\0\0\0\0\0\0\0", 8), ""}, {cyrillic, QStringLiteral("ПОЗ-1")},
        {bytes("AB \0 CD ", 8), "AB"},      {bytes("\0ABCDEFG", 8), ""},
        {bytes("  AB    ", 8), "  AB"},     {bytes("        ", 8), ""},
        {bytes("ABCDEFGH", 8), "ABCDEFGH"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextCodec::DecodeTrimmed(c.field.data(), int(c.field.size())), c.text)
            << c.text.toStdString();
}

TEST(TextCodec, ZeroFilledTextsFromTheDeviceReadAsEmpty) {
    auto cfg = std::make_unique<TConfiguration>();
    TwoAnalogueModules(*cfg);
    for (int id : {1, 3, UnitList, NamesFirst})
        ASSERT_TRUE(BlockAdapter::TakeBlock(*cfg, id, Bytes(size_t(DataLen(id)), 0)));
    cfg->FB.TakeTextBlockFromBuf(Bytes(TProgFBClass::TextPageBytes, 0).data(), TProgFBClass::TextPageBytes);
    cfg->FB.TextBlockToFbs(0);

    EXPECT_EQ(QStringList({cfg->MBA.GetChPozText(0, 0), cfg->MBA.GetChPozText(0, 5), cfg->MBM.GetChPozText(0),
                           cfg->MBA.GetRazmName(0), cfg->Serv.GetNameText(15), cfg->FB.GetFbText(9)}),
              QStringList(6));

    Bytes units(size_t(DataLen(UnitList)), 0);
    const QByteArray kpa = TextCodec::Encode(QStringLiteral("кПа"));
    std::copy(kpa.begin(), kpa.end(), units.begin() + TProgMBAClass::UnitWidth);
    ASSERT_TRUE(BlockAdapter::TakeBlock(*cfg, UnitList, units));
    EXPECT_EQ(cfg->MBA.GetRazmName(1), QStringLiteral("кПа"));
}
