#include "TProgMBAClass.h"

#include "AnChannelLayout.h"
#include "ByteFields.h"
#include "Float24.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <cmath>

using namespace ByteFields;

namespace ACL = AnChannelLayout;

TProgMBAClass::TProgMBAClass() {
    UnitList.fill(' ');
    for (auto& record : Modules)
        for (int c = 0; c < ChannelCount; ++c)
            ACL::BlankPoz(record.data() + 1 + ChannelSize * c);
}

QString TProgMBAClass::GetKalibrRazm(int row) const {
    return row >= 0 && row < CalibRows ? KalibrRazm[size_t(row)] : QString();
}

void TProgMBAClass::SetKalibrRazm(int row, const QString& text) {
    if (row >= 0 && row < CalibRows) KalibrRazm[size_t(row)] = text;
}

int TProgMBAClass::GetModuleByte(int m, int k) const {
    if (m < 0 || m >= ModuleCount || k < 0 || k >= RecordSize) return 0;
    return Modules[size_t(m)][size_t(k)];
}

void TProgMBAClass::SetModuleByte(int m, int k, int value) {
    if (m < 0 || m >= ModuleCount || k < 0 || k >= RecordSize) return;
    Modules[size_t(m)][size_t(k)] = uint8_t(value);
}

int TProgMBAClass::GetModuleType(int m) const {
    return GetModuleByte(m, ModuleTypeByte);
}

void TProgMBAClass::SetModuleType(int m, int value) {
    SetModuleByte(m, ModuleTypeByte, value);
}

uint8_t* TProgMBAClass::Module(int m) {
    return m >= 0 && m < ModuleCount ? Modules[size_t(m)].data() : nullptr;
}
const uint8_t* TProgMBAClass::Module(int m) const {
    return const_cast<TProgMBAClass*>(this)->Module(m);
}

uint8_t* TProgMBAClass::Channel(int m, int c) {
    if (m < 0 || m >= ModuleCount || c < 0 || c >= ChannelCount) return nullptr;
    return Modules[size_t(m)].data() + 1 + ChannelSize * c;
}

const uint8_t* TProgMBAClass::Channel(int m, int c) const {
    return const_cast<TProgMBAClass*>(this)->Channel(m, c);
}

int TProgMBAClass::GetChSk(int m, int c) const {
    return ReadField(Channel(m, c), ACL::ScaleKind);
}
void TProgMBAClass::SetChSk(int m, int c, int kind) {
    WriteField(Channel(m, c), ACL::ScaleKind, kind);
}
int TProgMBAClass::GetChRazm(int m, int c) const {
    return ReadField(Channel(m, c), ACL::Unit);
}
void TProgMBAClass::SetChRazm(int m, int c, int unit) {
    WriteField(Channel(m, c), ACL::Unit, unit);
}
int TProgMBAClass::GetChTInp(int m, int c) const {
    return ReadField(Channel(m, c), ACL::InputType);
}
void TProgMBAClass::SetChTInp(int m, int c, int type) {
    WriteField(Channel(m, c), ACL::InputType, type);
}
int TProgMBAClass::GetChB1Bits0to5(int m, int c) const {
    return ReadField(Channel(m, c), ACL::RangeIndex);
}
void TProgMBAClass::SetChB1Bits0to5(int m, int c, int index) {
    WriteField(Channel(m, c), ACL::RangeIndex, index);
}
int TProgMBAClass::GetChB1Bits4to5(int m, int c) const {
    return ReadField(Channel(m, c), ACL::DeadBand);
}
void TProgMBAClass::SetChB1Bits4to5(int m, int c, int band) {
    WriteField(Channel(m, c), ACL::DeadBand, band);
}
int TProgMBAClass::GetChB1Bit6(int m, int c) const {
    return ReadField(Channel(m, c), ACL::Connection);
}
void TProgMBAClass::SetChB1Bit6(int m, int c, int v) {
    WriteField(Channel(m, c), ACL::Connection, v);
}

#define MBA_CHANNEL_FLOAT(Name, offset)                                                                      \
    QString TProgMBAClass::Get##Name##Text(int m, int c) const {                                             \
        return ACL::FloatText(Channel(m, c), offset);                                                        \
    }                                                                                                        \
    bool TProgMBAClass::Set##Name##Text(int m, int c, const QString& text) {                                 \
        return ACL::SetFloatText(Channel(m, c), offset, text);                                               \
    }

MBA_CHANNEL_FLOAT(ChNSk, ACL::NSk)
MBA_CHANNEL_FLOAT(ChVSk, ACL::VSk)
MBA_CHANNEL_FLOAT(ChUstLL, ACL::UstLL)
MBA_CHANNEL_FLOAT(ChUstL, ACL::UstL)
MBA_CHANNEL_FLOAT(ChUstH, ACL::UstH)
MBA_CHANNEL_FLOAT(ChUstHH, ACL::UstHH)
#undef MBA_CHANNEL_FLOAT

float TProgMBAClass::GetChNSk(int m, int c) const {
    return ACL::FloatValue(Channel(m, c), ACL::NSk);
}

float TProgMBAClass::GetChVSk(int m, int c) const {
    return ACL::FloatValue(Channel(m, c), ACL::VSk);
}

QString TProgMBAClass::GetChPozText(int m, int c) const {
    return ACL::PozText(Channel(m, c));
}

void TProgMBAClass::SetChPozText(int m, int c, const QString& text) {
    ACL::SetPozText(Channel(m, c), text);
}

namespace {
// Current output selector s (1, 2) is element s − 1; bit r of the module-type byte is the sensor
// type of discrete sensor r.
constexpr Field ConnBit = Bits(TProgMBAClass::ConnByte, 0, 1).Repeated(2, 0, 1);
constexpr Field RangeHi = Bits(TProgMBAClass::RangeByte1, 4, 4).Repeated(2, 1);
constexpr Field RangeLo = Bits(TProgMBAClass::RangeByte1, 0, 4).Repeated(2, 1);
constexpr Field SensorType =
    Flag(TProgMBAClass::ModuleTypeByte, 0).Repeated(TProgMBAClass::RangeEntries, 0, 1);
} // namespace

int TProgMBAClass::GetConnBit(int m, int sel) const {
    return ReadField(Module(m), ConnBit.At(sel - 1));
}
void TProgMBAClass::SetConnBit(int m, int sel, int v) {
    WriteField(Module(m), ConnBit.At(sel - 1), v);
}
int TProgMBAClass::GetRangeHi(int m, int sel) const {
    return ReadField(Module(m), RangeHi.At(sel - 1));
}
void TProgMBAClass::SetRangeHi(int m, int sel, int v) {
    WriteField(Module(m), RangeHi.At(sel - 1), v);
}
int TProgMBAClass::GetRangeLo(int m, int sel) const {
    return ReadField(Module(m), RangeLo.At(sel - 1));
}
void TProgMBAClass::SetRangeLo(int m, int sel, int v) {
    WriteField(Module(m), RangeLo.At(sel - 1), v);
}

int TProgMBAClass::GetRangeInt(int m, int r) const {
    return ReadField(Module(m), SensorType.At(r));
}

void TProgMBAClass::SetRangeInt(int m, int r, int value) {
    WriteField(Module(m), SensorType.At(r), value);
}

TProgMBAClass::SkList TProgMBAClass::FillMinSkList(std::span<const ScaleRange> ranges, int rangeIndex) {
    SkList list;
    for (const ScaleRange& range : ranges) {
        const QString text = ScaleRangeTable::LimitText(range.Min);
        if (!list.Items.contains(text)) list.Items << text;
    }
    if (list.Items.isEmpty()) return list;
    list.Selected = 0;
    if (rangeIndex >= 0 && size_t(rangeIndex) < ranges.size())
        list.Selected = int(list.Items.indexOf(ScaleRangeTable::LimitText(ranges[size_t(rangeIndex)].Min)));
    return list;
}

TProgMBAClass::SkList TProgMBAClass::FillMaxSkList(std::span<const ScaleRange> ranges, const QString& minText,
                                                   int rangeIndex) {
    SkList list;
    for (size_t i = 0; i < ranges.size(); ++i) {
        if (ScaleRangeTable::LimitText(ranges[i].Min) != minText) continue;
        if (int(i) == rangeIndex) list.Selected = int(list.Items.size());
        list.Items << ScaleRangeTable::LimitText(ranges[i].Max);
    }
    if (list.Selected < 0 && !list.Items.isEmpty()) list.Selected = 0;
    return list;
}

int TProgMBAClass::FindRangeIndex(const QString& minText, const QString& maxText,
                                  std::span<const ScaleRange> ranges) {
    const auto min = ParseDecimal(minText);
    const auto max = ParseDecimal(maxText);
    if (!min || !max) return -1;
    for (size_t i = 0; i < ranges.size(); ++i)
        if (float(ranges[i].Min) == float(*min) && float(ranges[i].Max) == float(*max)) return int(i);
    return -1;
}

QString TProgMBAClass::GetRazmName(int i) const {
    if (i < 0 || i >= UnitCount) return QString();
    return TextCodec::DecodeTrimmed(UnitList.data() + UnitWidth * i, UnitWidth);
}

QStringList TProgMBAClass::FillRazmList() const {
    QStringList names;
    for (int i = 0; i < UnitCount; ++i)
        names << GetRazmName(i);
    return names;
}

void TProgMBAClass::SetRazmFromControl(const QStringList& items, int i) {
    if (i < 0 || i >= UnitCount) return;
    TextCodec::EncodePadded(i < items.size() ? items[i] : QString(), UnitList.data() + UnitWidth * i,
                            UnitWidth);
}

int TProgMBAClass::GetUnitListByte(int k) const {
    return k >= 0 && size_t(k) < UnitList.size() ? UnitList[size_t(k)] : 0;
}

void TProgMBAClass::SetUnitListByte(int k, int value) {
    if (k >= 0 && size_t(k) < UnitList.size()) UnitList[size_t(k)] = uint8_t(value);
}

int TProgMBAClass::GetRangeRecordByte(int m, int k) const {
    if (m < 0 || m >= ModuleCount || k < 0 || k >= RangeRecord::Size) return 0;
    return RangeRecords[size_t(m)][size_t(k)];
}

int TProgMBAClass::GetRangeMinCode(int m, int row) const {
    if (m < 0 || m >= ModuleCount || row < 0 || row >= RangeRecord::Rows) return 0;
    return GetI16(RangeRecords[size_t(m)].data() + RangeRecord::MinCode(row));
}

int TProgMBAClass::GetRangeMaxCode(int m, int row) const {
    if (m < 0 || m >= ModuleCount || row < 0 || row >= RangeRecord::Rows) return 0;
    return GetI16(RangeRecords[size_t(m)].data() + RangeRecord::MaxCode(row));
}

bool TProgMBAClass::TakeSensorTypesFromReply(std::span<const uint8_t> reply) {
    const auto data = ReplyData(reply, GReplyData, GEntry::Size * ChannelCount);
    if (data.empty()) return false;
    for (int row = 0; row < ChannelCount; ++row)
        std::copy_n(data.begin() + GEntry::Size * row, GEntry::Size, AdcEntries[size_t(row)].begin());
    return true;
}

bool TProgMBAClass::TakeHeaderFromReply(std::span<const uint8_t> reply) {
    const auto data = ReplyData(reply, GReplyData, GEntry::Size);
    if (data.empty()) return false;
    std::copy_n(data.begin(), GEntry::Size, AdcEntries[CalibRows - 1].begin());
    return true;
}

bool TProgMBAClass::TakeRangeRecord(int m, std::span<const uint8_t> data) {
    if (m < 0 || m >= ModuleCount || data.size() < size_t(RangeRecord::Size)) return false;
    std::copy_n(data.begin(), RangeRecord::Size, RangeRecords[size_t(m)].begin());
    return true;
}

bool TProgMBAClass::TakeRangeRecordFromReply(int m, std::span<const uint8_t> reply) {
    const auto data = ReplyData(reply, BlockReplyData, RangeRecord::Size);
    return !data.empty() && TakeRangeRecord(m, data);
}

bool TProgMBAClass::TakeCalibFromReply(std::span<const uint8_t> reply) {
    const auto data = ReplyData(reply, CalibReplyData, CalibData::Size);
    if (data.empty()) return false;
    std::copy_n(data.begin(), CalibData::Size, Calib.begin());
    return true;
}

int TProgMBAClass::GetAdcCode(int row) const {
    return row >= 0 && row < CalibRows ? GetI16(AdcEntries[size_t(row)].data() + GEntry::AdcCode) : 0;
}

int TProgMBAClass::GetAdcFlags(int row) const {
    return row >= 0 && row < CalibRows ? AdcEntries[size_t(row)][GEntry::Flags] : 0;
}

int TProgMBAClass::GetCalibRegister(int reg) const {
    if (reg < 0 || reg >= CalibData::Size / 2) return 0;
    return (Calib[size_t(2 * reg)] << 8) | Calib[size_t(2 * reg + 1)];
}

// Calibration view arithmetic, per row r (channel r + 1; row 6 the cold junction):
//   codes    minimum and maximum from the module's range record, the ADC code from the 'G' entry;
//   value    rows 0..5: scale low + (code − min) × (scale high − scale low) / (max − min), the scale
//            of channel r of the module record; row 6 has no scale and shows the value the device
//            reports in its 'G' entry; two decimals;
//   per cent (code − min) × 100 / (max − min), one decimal;
//   both are "---" when max equals min; rows 4 and 5 of a controller module (four channels, its
//            record holds the module-type and output bytes there) show neither;
//   violation "< MIN" below the minimum code, "> MAX" above the maximum code, else empty;
//   state    "недостовер." when the device marks the value unreliable; for the row of the channel
//            the device has selected, "ошибка" after a failed calibration, else by the calibration
//            state: "выбран", "начало", "конец", "начало, конец"; other rows "норма".
std::array<TProgMBAClass::CalibRowTexts, TProgMBAClass::CalibRows>
TProgMBAClass::FillCalibrationView(int m) const {
    static const char* const StateTexts[] = {"выбран", "начало", "конец", "начало, конец"};
    std::array<CalibRowTexts, CalibRows> rows;
    const int selected = GetCalibRegister(CalibData::SelectedChannel);
    for (int r = 0; r < CalibRows; ++r) {
        CalibRowTexts& row = rows[size_t(r)];
        const int min = GetRangeMinCode(m, r);
        const int max = GetRangeMaxCode(m, r);
        const int code = GetAdcCode(r);
        row.Unit = KalibrRazm[size_t(r)];
        row.MinCode = QString::number(min);
        row.AdcCode = QString::number(code);
        row.MaxCode = QString::number(max);
        const bool noChannel =
            r >= 4 && r < ChannelCount && (KalibrModuleCode == 13 || KalibrModuleCode == 15);
        if (noChannel) {
            // codes only
        } else if (max == min) {
            row.Value = row.Percent = "---";
        } else {
            const double fraction = double(code - min) / double(max - min);
            double value = 0.0;
            if (r < ChannelCount) {
                const double low = GetChNSk(m, r);
                value = low + fraction * (double(GetChVSk(m, r)) - low);
            } else {
                value = Float24::ToFloat(AdcEntries[size_t(r)].data() + GEntry::Value);
            }
            row.Value = FormatFixed(value, 2);
            row.Percent = FormatFixed(fraction * 100.0, 1);
        }
        row.Violation = code < min ? "< MIN" : code > max ? "> MAX" : "";
        if (GetAdcFlags(r) & GEntry::FlagUnreliable)
            row.State = "недостовер.";
        else if (selected == r + 1)
            row.State = GetCalibRegister(CalibData::LastResult) != 0
                            ? QString("ошибка")
                            : QString(StateTexts[GetCalibRegister(CalibData::State) & 3]);
        else
            row.State = "норма";
    }
    return rows;
}
