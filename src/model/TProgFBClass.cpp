#include "TProgFBClass.h"

#include "ByteFields.h"
#include "Float24.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstring>

using namespace ByteFields;

namespace {

bool InRange(int i, int n) {
    return i >= 0 && i < n;
}

constexpr int CalcType = TProgFBClass::TypeCalc;
constexpr int ComparatorType = TProgFBClass::TypeComparator;

// The record fields, in the order of the layout in the header.
constexpr Field TypeByte = Byte(0), Type = Bits(0, 0, 4), Subtype = Bits(0, 4, 4);
constexpr Field InType = Bits(1, 3, 1).Repeated(4, 2), InKind = Bits(1, 0, 3).Repeated(4, 2);
constexpr Field InNum = Byte(2).Repeated(4, 2);
constexpr Field AlarmSec = Byte(3), AlarmMin = Byte(4), AlarmHour = Bits(5, 2, 6);
constexpr Field TimerDiskr = Bits(5, 0, 2), TimeUst = Byte(6);
constexpr Field X1Num = Bits(1, 0, 7), X1Src = Flag(1, 7), CompCond = Bits(5, 7, 1), CompHyst = Bits(5, 2, 5);
constexpr Field In8Type = Bits(7, 3, 1), In8Kind = Bits(7, 0, 3), In8Num = Byte(8);
constexpr Field CountLow = Bits(1, 4, 4), CountHigh = Bits(3, 4, 1); // set point bits 0-3 and bit 4
constexpr Field SigTipS = Bits(9, 6, 2), SigKont = Flag(9, 5), SigNTabS = Bits(9, 0, 5);
constexpr Field RelayMask = Byte(10).Repeated(5, 1); // relay modules 1..5
constexpr Field IntegrNum = Byte(1).Repeated(12, 1), B13 = Byte(13), DayStartHour = Byte(14);
constexpr Field X2Src = Flag(5, 7), X2Num = Bits(5, 0, 7);
// Selector 1 is byte 9, selector 2 byte 6.
constexpr Field CalcByte(int sel) {
    return sel == 1 ? Byte(9) : sel == 2 ? Byte(6) : Field{};
}

} // namespace

TProgFBClass::TProgFBClass() {
    texts_.fill(' ');
    ResetAlgorithms();
}

void TProgFBClass::RecountLogicFBLimit() {
    // Both integrator records stay reserved while one integrator is in use.
    const int n = FBCount - ArithBlockCount - (IntegratorCount != 0 ? 2 : 0);
    logicFBLimit_ = std::clamp(n, 0, FBCount);
}

void TProgFBClass::RecountTable() {
    const int limit = std::min(FBCount, int(FBCapacity));
    int n = 0;
    while (n < limit && GetType(n) >= 1 && GetType(n) <= TypeCounter)
        ++n;
    LogicFBCount = n;
    const CalcCounts calc = CountCalcRecords(n);
    IntegratorCount = calc.integrators;
    ArithBlockCount = calc.arithBlocks;
    RecountLogicFBLimit();
}

TProgFBClass::CalcCounts TProgFBClass::CountCalcRecords(int from) const {
    constexpr int span = 26;
    constexpr int lastIndex = 119;
    CalcCounts c;
    for (int i = std::max(from, 0); i < from + span && i <= lastIndex && i < FBCount; ++i) {
        if (GetType(i) != CalcType) continue;
        if (GetCalcOp(i) == 0)
            ++c.integrators;
        else
            ++c.arithBlocks;
    }
    return c;
}

uint8_t* TProgFBClass::Rec(int i) {
    return InRange(i, Slots) ? records_.data() + i * RecordLen : nullptr;
}
const uint8_t* TProgFBClass::Rec(int i) const {
    return InRange(i, Slots) ? records_.data() + i * RecordLen : nullptr;
}

int TProgFBClass::GetRecByte(int i, int k) const {
    const uint8_t* r = Rec(i);
    return r && InRange(k, RecordLen) ? r[k] : 0;
}

void TProgFBClass::SetRecByte(int i, int k, int value) {
    if (uint8_t* r = Rec(i); r && InRange(k, RecordLen)) r[k] = uint8_t(value);
}

std::array<uint8_t, TProgFBClass::RecordLen> TProgFBClass::GetRecord(int i) const {
    std::array<uint8_t, RecordLen> rec{};
    if (const uint8_t* r = Rec(i)) std::memcpy(rec.data(), r, RecordLen);
    return rec;
}

void TProgFBClass::SetRecord(int i, const std::array<uint8_t, RecordLen>& rec) {
    if (uint8_t* r = Rec(i)) std::memcpy(r, rec.data(), RecordLen);
}

void TProgFBClass::ClearRecord(int i) {
    if (uint8_t* r = Rec(i)) std::memset(r, 0, RecordLen);
}

void TProgFBClass::MoveRecords(int from, int to, int count) {
    const int limit = std::min(FBCount, int(Slots));
    if (count <= 0 || from < 0 || to < 0 || from + count > limit || to + count > limit) return;
    std::memmove(Rec(to), Rec(from), size_t(count) * RecordLen);
}

bool TProgFBClass::TakeBlockData(std::span<const uint8_t> data) {
    if (data.size() < size_t(PageBytes)) return false;
    std::memcpy(page_.data(), data.data(), PageBytes);
    return true;
}

bool TProgFBClass::TakeBlockFromReply(const uint8_t* reply, int size) {
    if (reply == nullptr || size < ReplyDataOffset) return false;
    return TakeBlockData({reply + ReplyDataOffset, size_t(size - ReplyDataOffset)});
}

void TProgFBClass::BlockToFbs(int n) {
    if (InRange(n, FBCapacity / RecordsPerBlock))
        std::memcpy(Rec(n * RecordsPerBlock), page_.data(), PageBytes);
}

void TProgFBClass::FbsToBlock(int n) {
    if (InRange(n, FBCapacity / RecordsPerBlock))
        std::memcpy(page_.data(), Rec(n * RecordsPerBlock), PageBytes);
}

int TProgFBClass::GetPageByte(int k) const {
    return InRange(k, PageBytes) ? page_[k] : 0;
}

bool TProgFBClass::TakeTextBlockFromBuf(const uint8_t* buf, int size) {
    if (buf == nullptr || size < TextPageBytes) return false;
    std::memcpy(textPage_.data(), buf, TextPageBytes);
    return true;
}

void TProgFBClass::TextBlockToFbs(int p) {
    if (p < 0) return;
    for (int s = 0; s < RecordsPerBlock; ++s) {
        const int slot = RecordsPerBlock * p + s;
        if (!InRange(slot, Slots)) return;
        std::memcpy(texts_.data() + slot * TextLen, textPage_.data() + s * TextLen, TextLen);
    }
}

int TProgFBClass::GetTextPageByte(int k) const {
    return InRange(k, TextPageBytes) ? textPage_[k] : 0;
}

QString TProgFBClass::GetFbText(int slot) const {
    return InRange(slot, Slots) ? TextCodec::DecodeTrimmed(texts_.data() + slot * TextLen, TextLen)
                                : QString();
}

void TProgFBClass::SetFbText(int slot, const QString& text) {
    if (InRange(slot, Slots)) TextCodec::EncodePadded(text, texts_.data() + slot * TextLen, TextLen);
}

QString TProgFBClass::FloatText(int i, int k) const {
    const uint8_t* r = Rec(i);
    return r ? Float24::ToText(r + k) : QString();
}

bool TProgFBClass::SetFloatText(int i, int k, const QString& text) {
    uint8_t* r = Rec(i);
    return r && Float24::FromText(text, r + k);
}

int TProgFBClass::GetType(int i) const {
    return ReadField(Rec(i), Type);
}
void TProgFBClass::SetTypeByte(int i, int v) {
    WriteField(Rec(i), TypeByte, v);
}
int TProgFBClass::GetSubtype(int i) const {
    return ReadField(Rec(i), Subtype);
}
void TProgFBClass::SetSubtype(int i, int v) {
    WriteField(Rec(i), Subtype, v);
}
int TProgFBClass::GetTimerDiskr(int i) const {
    return ReadField(Rec(i), TimerDiskr);
}
void TProgFBClass::SetTimerDiskr(int i, int v) {
    WriteField(Rec(i), TimerDiskr, v);
}
int TProgFBClass::GetTimeUst(int i) const {
    return ReadField(Rec(i), TimeUst);
}
void TProgFBClass::SetTimeUst(int i, int v) {
    WriteField(Rec(i), TimeUst, v);
}
int TProgFBClass::GetAlarmHour(int i) const {
    return ReadField(Rec(i), AlarmHour);
}
void TProgFBClass::SetAlarmHour(int i, int v) {
    WriteField(Rec(i), AlarmHour, v);
}
int TProgFBClass::GetAlarmMin(int i) const {
    return ReadField(Rec(i), AlarmMin);
}
void TProgFBClass::SetAlarmMin(int i, int v) {
    WriteField(Rec(i), AlarmMin, v);
}
int TProgFBClass::GetAlarmSec(int i) const {
    return ReadField(Rec(i), AlarmSec);
}
void TProgFBClass::SetAlarmSec(int i, int v) {
    WriteField(Rec(i), AlarmSec, v);
}
int TProgFBClass::GetX1Num(int i) const {
    return ReadField(Rec(i), X1Num);
}
void TProgFBClass::SetX1Num(int i, int v) {
    WriteField(Rec(i), X1Num, v);
}
int TProgFBClass::GetX1Src(int i) const {
    return ReadField(Rec(i), X1Src);
}
void TProgFBClass::SetX1Src(int i, int v) {
    WriteField(Rec(i), X1Src, v);
}
QString TProgFBClass::GetCompUstText(int i) const {
    return FloatText(i, 2);
}
bool TProgFBClass::SetCompUstText(int i, const QString& text) {
    return SetFloatText(i, 2, text);
}
int TProgFBClass::GetCompCond(int i) const {
    return ReadField(Rec(i), CompCond);
}
void TProgFBClass::SetCompCond(int i, int v) {
    WriteField(Rec(i), CompCond, v);
}
int TProgFBClass::GetCompHyst(int i) const {
    return ReadField(Rec(i), CompHyst);
}
void TProgFBClass::SetCompHyst(int i, int v) {
    WriteField(Rec(i), CompHyst, v);
}
int TProgFBClass::GetCountUst(int i) const {
    return ReadField(Rec(i), CountLow) | ReadField(Rec(i), CountHigh) << 4;
}
void TProgFBClass::SetCountUst(int i, int v) {
    WriteField(Rec(i), CountLow, v);
    WriteField(Rec(i), CountHigh, v >> 4);
}
int TProgFBClass::GetInType(int i, int j) const {
    return ReadField(Rec(i), InType.At(j));
}
void TProgFBClass::SetInType(int i, int j, int v) {
    WriteField(Rec(i), InType.At(j), v);
}
int TProgFBClass::GetInKind(int i, int j) const {
    return ReadField(Rec(i), InKind.At(j));
}
void TProgFBClass::SetInKind(int i, int j, int v) {
    WriteField(Rec(i), InKind.At(j), v);
}
int TProgFBClass::GetInNum(int i, int j) const {
    return ReadField(Rec(i), InNum.At(j));
}
void TProgFBClass::SetInNum(int i, int j, int v) {
    WriteField(Rec(i), InNum.At(j), v);
}
int TProgFBClass::GetIn8Type(int i) const {
    return ReadField(Rec(i), In8Type);
}
void TProgFBClass::SetIn8Type(int i, int v) {
    WriteField(Rec(i), In8Type, v);
}
int TProgFBClass::GetIn8Kind(int i) const {
    return ReadField(Rec(i), In8Kind);
}
void TProgFBClass::SetIn8Kind(int i, int v) {
    WriteField(Rec(i), In8Kind, v);
}
int TProgFBClass::GetIn8Num(int i) const {
    return ReadField(Rec(i), In8Num);
}
void TProgFBClass::SetIn8Num(int i, int v) {
    WriteField(Rec(i), In8Num, v);
}
int TProgFBClass::GetSigTipS(int i) const {
    return ReadField(Rec(i), SigTipS);
}
void TProgFBClass::SetSigTipS(int i, int v) {
    WriteField(Rec(i), SigTipS, v);
}
int TProgFBClass::GetSigNTabS(int i) const {
    return ReadField(Rec(i), SigNTabS);
}
void TProgFBClass::SetSigNTabS(int i, int v) {
    WriteField(Rec(i), SigNTabS, v);
}
int TProgFBClass::GetSigKont(int i) const {
    return ReadField(Rec(i), SigKont);
}
void TProgFBClass::SetSigKont(int i, int v) {
    WriteField(Rec(i), SigKont, v);
}
int TProgFBClass::GetB9Plus(int i, int k) const {
    return ReadField(Rec(i), RelayMask.At(k - 1));
}
void TProgFBClass::SetB9Plus(int i, int k, int v) {
    WriteField(Rec(i), RelayMask.At(k - 1), v);
}

int TProgFBClass::GetCalcOp(int i) const {
    return GetSubtype(i);
}
void TProgFBClass::SetCalcOp(int i, int v) {
    SetSubtype(i, v);
}
int TProgFBClass::GetIntegrNum(int i, int k) const {
    return ReadField(Rec(i), IntegrNum.At(k));
}
void TProgFBClass::SetIntegrNum(int i, int k, int v) {
    WriteField(Rec(i), IntegrNum.At(k), v);
}
void TProgFBClass::SetB13(int i, int v) {
    WriteField(Rec(i), B13, v);
}
int TProgFBClass::GetDayStartHour(int i) const {
    return ReadField(Rec(i), DayStartHour);
}
void TProgFBClass::SetDayStartHour(int i, int v) {
    WriteField(Rec(i), DayStartHour, v);
}
int TProgFBClass::GetX2Src(int i) const {
    return ReadField(Rec(i), X2Src);
}
void TProgFBClass::SetX2Src(int i, int v) {
    WriteField(Rec(i), X2Src, v);
}
int TProgFBClass::GetX2Num(int i) const {
    return ReadField(Rec(i), X2Num);
}
void TProgFBClass::SetX2Num(int i, int v) {
    WriteField(Rec(i), X2Num, v);
}

QString TProgFBClass::GetConstText(int i, int k) const {
    return k == 1 ? FloatText(i, 2) : k == 2 ? FloatText(i, 6) : QString();
}

bool TProgFBClass::SetConstText(int i, int k, const QString& text) {
    return k == 1 ? SetFloatText(i, 2, text) : k == 2 ? SetFloatText(i, 6, text) : false;
}

int TProgFBClass::GetCalcByte(int i, int sel) const {
    return ReadField(Rec(i), CalcByte(sel));
}
void TProgFBClass::SetCalcByte(int i, int sel, int v) {
    WriteField(Rec(i), CalcByte(sel), v);
}

void TProgFBClass::ForEachInputRef(const std::function<void(uint8_t&, uint8_t&)>& fn) {
    const int limit = std::min(FBCount, int(Slots));
    for (int i = 0; i < limit; ++i) {
        uint8_t* r = Rec(i);
        const int type = r[0] & 0x0F;
        if (type == ComparatorType) {
            fn(r[7], r[8]);
            continue;
        }
        const int inputs = FBInputCount(type, r[0] >> 4);
        for (int j = 0; j < inputs; ++j)
            fn(r[1 + 2 * j], r[2 + 2 * j]);
    }
}

// Maps the numbers of the inputs of the given source kinds; a result outside 1..192 becomes 0.
void TProgFBClass::RenumberKinds(std::initializer_list<int> kinds, const std::function<int(int)>& map) {
    ForEachInputRef([&](uint8_t& first, uint8_t& number) {
        if (number == 0 || std::find(kinds.begin(), kinds.end(), first & 0x07) == kinds.end()) return;
        const int n = map(number);
        number = uint8_t(n >= 1 && n <= MaxSignal ? n : 0);
    });
    FBRenumbered = 1;
}

// Analogue input numbers: inputs of source kind 2, the comparators' analogue operand, the
// integrators' inputs and the arithmetic blocks' operands taken from analogue signals.
void TProgFBClass::RenumberAnalogue(const std::function<int(int)>& map) {
    RenumberKinds({2}, map);
    const auto apply = [&](uint8_t& field, int mask) {
        const int old = field & mask;
        if (old == 0) return;
        const int n = map(old);
        field = uint8_t((field & ~mask) | (n >= 1 && n <= mask ? n : 0));
    };
    const int limit = std::min(FBCount, int(Slots));
    for (int i = 0; i < limit; ++i) {
        uint8_t* r = Rec(i);
        const int type = r[0] & 0x0F;
        const int op = r[0] >> 4;
        if (type == ComparatorType && !(r[1] & 0x80)) apply(r[1], 0x7F);
        if (type != CalcType) continue;
        if (op == 0) {
            for (int k = 1; k <= 12; ++k)
                apply(r[k], 0xFF);
            continue;
        }
        if (!(r[1] & 0x80)) apply(r[1], 0x7F);
        if (op < 5 && !(r[5] & 0x80)) apply(r[5], 0x7F);
    }
}

namespace {
// The renumbering after n signals at position p were removed.
std::function<int(int)> DeleteMap(int p, int n) {
    return [p, n](int v) { return v <= p ? v : (v <= p + n ? 0 : v - n); };
}
std::function<int(int)> MoveMap(int p, int n, int shift) {
    return [p, n, shift](int v) { return v <= p + n ? v : v + shift; };
}
std::function<int(int)> ClearOne(int p) {
    return [p](int v) { return v == p + 1 ? 0 : v; };
}
} // namespace

void TProgFBClass::FixInputsOnDelete(int p, int n) {
    if (p >= 0 && n > 0) RenumberKinds({0, 4}, DeleteMap(p, n));
}

void TProgFBClass::FixAnInputsOnDelete(int p, int n) {
    if (p >= 0 && n > 0) RenumberAnalogue(DeleteMap(p, n));
}

void TProgFBClass::FixInputsOnDelete2(int p) {
    if (p >= 0) RenumberKinds({0, 4}, ClearOne(p));
}

void TProgFBClass::FixInputsOnDelete3(int p) {
    if (p >= 0) RenumberAnalogue(ClearOne(p));
}

void TProgFBClass::FixInputsOnMove(int p, int n, int shift) {
    if (p >= 0 && n >= 0) RenumberKinds({0, 4}, MoveMap(p, n, shift));
}

void TProgFBClass::FixInputsOnMove2(int p, int n, int shift) {
    if (p >= 0 && n >= 0) RenumberAnalogue(MoveMap(p, n, shift));
}

// Opens room for a copied run of runEnd − runStart + 1 records before `destination`: the built
// records destination .. panelCount − 1 move up by the run's size, the opened records are
// cleared, and every function-block reference (source kind 1) to a moved block follows it.
// Refused when the moved records would not fit into the table.
void TProgFBClass::FixFbRefsOnShift(int destination, int runStart, int runEnd, int panelCount) {
    const int k = runEnd - runStart + 1;
    if (k <= 0 || destination < 0 || destination > panelCount ||
        panelCount + k > std::min(FBCount, int(Slots)))
        return;
    MoveRecords(destination, destination + k, panelCount - destination);
    for (int i = destination; i < destination + k; ++i)
        ClearRecord(i);
    ForEachInputRef([&](uint8_t& first, uint8_t& number) {
        if ((first & 0x07) == 1 && number > destination && number <= panelCount) number = uint8_t(number + k);
    });
    FBRenumbered = 1;
}

void TProgFBClass::ResetAlgorithms() {
    AlgTable.Reset();
    texts_.fill(' ');
}

int TProgFBClass::FBInputCount(int type, int subtype) {
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 9:
        return 4;
    case 5:
        return 2;
    case TypeTimer:
        return subtype == 5 ? 1 : 2; // an unknown timer subtype counts as T0
    case ComparatorType:
        return 1; // its discrete input is kept at bytes 7..8
    default:
        return 0;
    }
}
