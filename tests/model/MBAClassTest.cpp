#include "BitFieldCheck.h"
#include "DeviceLayouts.h"
#include "Float24.h"
#include "TProgMBAClass.h"

#include <gtest/gtest.h>

namespace {

constexpr int M = 3; // module under test
constexpr int C = 2; // channel under test

constexpr int RS = TProgMBAClass::RecordSize;

ByteView View(TProgMBAClass& m) {
    return {TProgMBAClass::ModuleCount * RS, [&m](int k) { return m.GetModuleByte(k / RS, k % RS); },
            [&m](int k, int v) { m.SetModuleByte(k / RS, k % RS, v); }};
}

std::vector<uint8_t> GReply(std::initializer_list<std::pair<int, uint8_t>> entries, float value = 0.0f) {
    std::vector<uint8_t> reply = {1, 'G', uint8_t(GEntry::Size * entries.size())};
    for (const auto& [code, flags] : entries) {
        uint8_t entry[GEntry::Size] = {uint8_t(code & 0xFF), uint8_t((code >> 8) & 0xFF)}; // the ADC code, LE
        Float24::FromFloat(value, entry + GEntry::Value);
        entry[GEntry::Flags] = flags;
        reply.insert(reply.end(), entry, entry + GEntry::Size);
    }
    return reply;
}

// The module code, then each row's minimum and maximum code (16-bit LE), then zeros.
std::vector<uint8_t> RangeReply(int moduleCode, std::initializer_list<std::pair<int, int>> rows) {
    std::vector<uint8_t> reply = {1, 'D', DeviceBlocks::RangeLen, 60, uint8_t(moduleCode)};
    for (const auto& [min, max] : rows)
        reply.insert(reply.end(), {uint8_t(min & 0xFF), uint8_t((min >> 8) & 0xFF), uint8_t(max & 0xFF),
                                   uint8_t((max >> 8) & 0xFF)});
    reply.resize(4 + RangeRecord::Size);
    return reply;
}

std::vector<uint8_t> CalibReply(int channel, int state, int result) {
    return {1, 4, 8, 0, uint8_t(channel), 0, uint8_t(state), 0, uint8_t(result), 0, 0};
}

} // namespace

TEST(MBAClass, FieldsTouchOnlyTheirBitsAndIndicesOutOfRangeNothing) {
    TProgMBAClass x;
    const int ch = M * RS + 1 + 28 * C;
    CheckBitFields(View(x), {
                                BIT_FIELD(ch, 0x0F, x.SetChSk(M, C, v), x.GetChSk(M, C)),
                                BIT_FIELD(ch, 0xF0, x.SetChRazm(M, C, v), x.GetChRazm(M, C)),
                                BIT_FIELD(ch + 1, 0x07, x.SetChTInp(M, C, v), x.GetChTInp(M, C)),
                                BIT_FIELD(ch + 1, 0x3F, x.SetChB1Bits0to5(M, C, v), x.GetChB1Bits0to5(M, C)),
                                BIT_FIELD(ch + 1, 0x30, x.SetChB1Bits4to5(M, C, v), x.GetChB1Bits4to5(M, C)),
                                BIT_FIELD(ch + 1, 0x40, x.SetChB1Bit6(M, C, v), x.GetChB1Bit6(M, C)),
                                BIT_FIELD(M * RS + 120, 0x01, x.SetConnBit(M, 1, v), x.GetConnBit(M, 1)),
                                BIT_FIELD(M * RS + 120, 0x02, x.SetConnBit(M, 2, v), x.GetConnBit(M, 2)),
                                BIT_FIELD(M * RS + 121, 0xF0, x.SetRangeHi(M, 1, v), x.GetRangeHi(M, 1)),
                                BIT_FIELD(M * RS + 122, 0xF0, x.SetRangeHi(M, 2, v), x.GetRangeHi(M, 2)),
                                BIT_FIELD(M * RS + 122, 0x0F, x.SetRangeLo(M, 2, v), x.GetRangeLo(M, 2)),
                                FLAG_FIELD(M * RS + 113, 0x20, x.SetRangeInt(M, 5, v), x.GetRangeInt(M, 5)),
                                NO_FIELD(x.SetModuleByte(8, 0, v), x.GetModuleByte(8, 0)),
                                NO_FIELD(x.SetModuleByte(0, 169, v), x.GetModuleByte(0, 169)),
                                NO_FIELD(x.SetModuleByte(-1, 0, v), x.GetModuleByte(-1, 0)),
                                NO_FIELD(x.SetChSk(0, 6, v), x.GetChSk(0, 6)),
                                NO_FIELD(x.SetChRazm(8, 0, v), x.GetChRazm(8, 0)),
                                NO_FIELD(x.SetConnBit(0, 3, v), x.GetConnBit(0, 3)),
                                NO_FIELD(x.SetConnBit(8, 1, v), x.GetConnBit(8, 1)),
                                NO_FIELD(x.SetRangeHi(0, 0, v), x.GetRangeHi(0, 0)),
                                NO_FIELD(x.SetRangeLo(0, 3, v), x.GetRangeLo(0, 3)),
                                NO_FIELD(x.SetRangeInt(0, 8, v), x.GetRangeInt(0, 8)),
                                NO_FIELD(x.SetChNSkText(0, -1, "1"), int(x.GetChNSkText(0, -1).size())),
                                NO_FIELD(x.SetChPozText(8, 0, "X"), int(x.GetChVSkText(8, 0).size())),
                            });
    EXPECT_FALSE(x.SetChNSkText(0, -1, "1"));
    EXPECT_FALSE(x.TakeRangeRecordFromReply(8, RangeReply(8, {})));
}

TEST(MBAClass, ChannelTextsAndRangeTable) {
    TProgMBAClass mba;
    const int ch = 1 + 28 * 5; // Float24 scale minimum at channel bytes 2..4, set point HH at 17..19
    EXPECT_TRUE(mba.SetChNSkText(1, 5, "1"));
    EXPECT_TRUE(mba.SetChUstHHText(1, 5, "-1"));
    EXPECT_FALSE(mba.SetChNSkText(1, 5, "12,5,1")); // refused: the field keeps its value
    EXPECT_EQ(
        (std::array{mba.GetModuleByte(1, ch + 1), mba.GetModuleByte(1, ch + 3), mba.GetModuleByte(1, ch + 4),
                    mba.GetModuleByte(1, ch + 18), mba.GetModuleByte(1, ch + 19)}),
        (std::array{0, 0x40, 1, 0xC0, 1}));
    EXPECT_FLOAT_EQ(mba.GetChNSk(1, 5), 1.0f);
    mba.SetChPozText(2, 0, "ТП-1");
    EXPECT_EQ(mba.GetModuleByte(2, 1 + 20 + 4), ' ');
    mba.SetChPozText(2, 1, "ТП-101 длинный");
    EXPECT_EQ(QStringList({mba.GetChPozText(2, 0), mba.GetChPozText(2, 1)}),
              QStringList({"ТП-1", "ТП-101 д"}));
    EXPECT_EQ(mba.GetModuleByte(2, 1 + 28 * 2), 0); // next channel untouched

    mba.SetModuleType(4, 0x81);
    EXPECT_EQ((std::array{mba.GetRangeInt(4, 0), mba.GetRangeInt(4, 3), mba.GetRangeInt(4, 7)}),
              (std::array{1, 0, 1}));
    mba.SetRangeInt(4, 3, 1);
    EXPECT_EQ(mba.GetModuleType(4), 0x89);
    // A record written whole (a file, a device read, a pasted base) is what the table shows.
    mba.SetModuleByte(4, TProgMBAClass::ModuleTypeByte, 0x22);
    EXPECT_EQ((std::array{mba.GetRangeInt(4, 1), mba.GetRangeInt(4, 3), mba.GetRangeInt(4, 5)}),
              (std::array{1, 0, 1}));
}

TEST(MBAClass, StandardRangeListsAndUnitList) {
    const auto ranges = TProgMBAClass::GetScaleRanges(0);
    ASSERT_EQ(ranges.size(), 6u);
    const auto mins = TProgMBAClass::FillMinSkList(ranges, 3);
    const auto maxs = TProgMBAClass::FillMaxSkList(ranges, "0", 2);
    EXPECT_EQ((std::array{mins.Items, maxs.Items}),
              (std::array{QStringList({"0", "-50", "200"}), QStringList({"200", "400", "600"})}));
    EXPECT_EQ((std::array{mins.Selected, maxs.Selected}), (std::array{1, 2}));
    EXPECT_EQ(TProgMBAClass::FillMaxSkList(ranges, "0", 4).Selected, 0); // range 4 has another minimum
    EXPECT_EQ(TProgMBAClass::FindRangeIndex("-50", "150", ranges), 4);
    EXPECT_EQ(TProgMBAClass::FindRangeIndex("0", "150", ranges), -1);
    EXPECT_EQ(TProgMBAClass::FillMinSkList(TProgMBAClass::GetScaleRanges(9), 0).Selected, -1);
    EXPECT_TRUE(TProgMBAClass::GetScaleRanges(16).empty());

    TProgMBAClass mba;
    const QStringList defaults = {"кПа", "кгС/см2"};
    mba.SetRazmFromControl(defaults, 0);
    mba.SetRazmFromControl(defaults, 1);
    mba.SetRazmFromControl(defaults, 2); // no such item: blanks
    EXPECT_EQ(mba.GetUnitListByte(3), ' ');
    const QStringList list = mba.FillRazmList();
    ASSERT_EQ(list.size(), 16);
    EXPECT_EQ(list.mid(0, 3), QStringList({"кПа", "кгС/см", ""})); // cut to the six bytes of a unit
}

TEST(MBAClass, ReplyTakersFollowTheDeviceLayouts) {
    TProgMBAClass mba;
    auto g = GReply({{100, 0}, {-200, 0}, {300, 0}, {400, 0}, {500, 0}, {32767, GEntry::FlagUnreliable}});
    ASSERT_TRUE(mba.TakeSensorTypesFromReply(g));
    EXPECT_EQ((std::array{mba.GetAdcCode(0), mba.GetAdcCode(1), mba.GetAdcCode(5)}),
              (std::array{100, -200, 32767}));
    EXPECT_EQ(mba.GetAdcFlags(5), GEntry::FlagUnreliable);
    g.pop_back(); // one byte short: refused, earlier data kept
    EXPECT_FALSE(mba.TakeSensorTypesFromReply(g));
    EXPECT_EQ(mba.GetAdcCode(1), -200);
    EXPECT_FALSE(mba.TakeSensorTypesFromReply({}));
    // A reply of one entry in a larger buffer: the bytes after it are not the device's.
    auto oneEntry = GReply({{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}});
    oneEntry[2] = GEntry::Size;
    EXPECT_FALSE(mba.TakeSensorTypesFromReply(oneEntry));
    EXPECT_EQ(mba.GetAdcCode(1), -200);

    ASSERT_TRUE(mba.TakeHeaderFromReply(GReply({{-7, 0}})));
    EXPECT_EQ(mba.GetAdcCode(6), -7);
    EXPECT_EQ(mba.GetAdcCode(0), 100);

    auto range = RangeReply(8, {{1000, 5000}, {-300, 300}});
    ASSERT_TRUE(mba.TakeRangeRecordFromReply(7, range));
    EXPECT_EQ(mba.GetRangeRecordByte(7, RangeRecord::ModuleCode), 8);
    EXPECT_EQ((std::array{mba.GetRangeMinCode(7, 0), mba.GetRangeMaxCode(7, 0), mba.GetRangeMinCode(7, 1)}),
              (std::array{1000, 5000, -300}));
    range.resize(4 + RangeRecord::Size - 1);
    EXPECT_FALSE(mba.TakeRangeRecordFromReply(6, range));
    EXPECT_EQ(mba.GetRangeRecordByte(6, RangeRecord::ModuleCode), 0);

    ASSERT_TRUE(mba.TakeCalibFromReply(CalibReply(3, 2, 1)));
    EXPECT_EQ(
        (std::array{mba.GetCalibRegister(CalibData::SelectedChannel), mba.GetCalibRegister(CalibData::State),
                    mba.GetCalibRegister(CalibData::LastResult)}),
        (std::array{3, 2, 1}));
    auto shortCalib = CalibReply(5, 0, 0);
    shortCalib.pop_back();
    EXPECT_FALSE(mba.TakeCalibFromReply(shortCalib));
    EXPECT_EQ(mba.GetCalibRegister(CalibData::SelectedChannel), 3);
}

TEST(MBAClass, CalibrationViewTexts) {
    TProgMBAClass mba;
    mba.SetChNSkText(0, 0, "0");
    mba.SetChVSkText(0, 0, "100");
    mba.SetChNSkText(0, 1, "-50");
    mba.SetChVSkText(0, 1, "150");
    mba.SetKalibrRazm(0, "град.C");
    ASSERT_TRUE(mba.TakeRangeRecordFromReply(
        0, RangeReply(13, {{1000, 5000}, {1000, 5000}, {0, 0}, {0, 4000}, {0, 4000}, {0, 4000}, {0, 100}})));
    ASSERT_TRUE(mba.TakeSensorTypesFromReply(
        GReply({{3000, 0}, {6000, 0}, {10, 0}, {1000, 0}, {-1, GEntry::FlagUnreliable}, {0, 0}})));
    ASSERT_TRUE(mba.TakeHeaderFromReply(GReply({{50, 0}}, 21.5f)));
    ASSERT_TRUE(mba.TakeCalibFromReply(CalibReply(4, 2, 0)));

    const auto rows = mba.FillCalibrationView(0);
    const auto& r = rows[0];
    EXPECT_EQ(QStringList({r.Unit, r.MinCode, r.AdcCode, r.MaxCode}),
              QStringList({"град.C", "1000", "3000", "5000"}));
    // Value, percent of the code span, violation, state. Row 1 is above the maximum code
    // (extrapolated over the scale); row 2 has no code span; row 3 is the device's selected
    // channel; row 4 is unreliable; row 6 is the cold junction, showing the device's value.
    const QStringList expected[] = {
        {"50,00", "50,0", "", "норма"},          {"200,00", "125,0", "> MAX", "норма"},
        {"---", "---", "> MAX", "норма"},        {"0,00", "25,0", "", "конец"},
        {"0,00", "0,0", "< MIN", "недостовер."}, {"0,00", "0,0", "", "норма"},
        {"21,50", "50,0", "", "норма"}};
    for (int row = 0; row < 7; ++row) {
        const auto& x = rows[size_t(row)];
        EXPECT_EQ(QStringList({x.Value, x.Percent, x.Violation, x.State}), expected[row]) << row;
    }

    ASSERT_TRUE(mba.TakeCalibFromReply(CalibReply(4, 2, 1)));
    EXPECT_EQ(mba.FillCalibrationView(0)[3].State, "ошибка");
    EXPECT_EQ(mba.FillCalibrationView(9)[0].Value, "---"); // no such module: nothing read outside
}
