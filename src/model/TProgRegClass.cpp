#include "TProgRegClass.h"

#include "ByteFields.h"
#include "Float24.h"

#include <algorithm>

using namespace ByteFields;

namespace {
constexpr int KpOffset = 6, TiOffset = 9, TdOffset = 12, OLOffset = 15, OHOffset = 18, dSPOffset = 21;
constexpr Field AnVh = Byte(0), TReg = Byte(1), Vyh = Byte(2), TypeOut = Bits(3, 0, 1);
constexpr Field PZReg = Byte(0), PZTime = Uint16(1).Repeated(TProgRegClass::PZPoints, 4),
                PZValue = Int16(3).Repeated(TProgRegClass::PZPoints, 4);
} // namespace

void TProgRegClass::SetRegCount(int v) {
    RegCount = std::clamp(v, 0, RegMaxCount);
}

TProgRegClass::Table* TProgRegClass::TableOf(int id) {
    if (id == DeviceBlocks::RegLoops) return &Loops;
    if (id == DeviceBlocks::RegProgram) return &PZs;
    return nullptr;
}

bool TProgRegClass::TakeBlockData(std::span<const uint8_t> data) {
    if (data.size() < size_t(BlockData)) return false;
    Buffer.fill(0);
    std::copy_n(data.begin(), BlockData, Buffer.begin());
    return true;
}

bool TProgRegClass::TakeBlockFromReply(std::span<const uint8_t> reply) {
    const auto data = ByteFields::ReplyData(reply, BlockReplyData, BlockData);
    return !data.empty() && TakeBlockData(data);
}

bool TProgRegClass::BlockToRecords(int id) {
    Table* table = TableOf(id);
    if (!table) return false;
    for (int i = 0; i < RegMaxCount; ++i)
        std::copy_n(Buffer.begin() + RecordSize * i, RecordSize, (*table)[size_t(i)].begin());
    return true;
}

bool TProgRegClass::RecordsToBlock(int id) {
    Table* table = TableOf(id);
    if (!table) return false;
    for (int i = 0; i < RegMaxCount; ++i)
        std::copy_n((*table)[size_t(i)].begin(), RecordSize, Buffer.begin() + RecordSize * i);
    return true;
}

int TProgRegClass::GetBufferByte(int k) const {
    return k >= 0 && size_t(k) < Buffer.size() ? Buffer[size_t(k)] : 0;
}

uint8_t* TProgRegClass::Rec(int i) {
    return i >= 0 && i < RegMaxCount ? Loops[size_t(i)].data() : nullptr;
}
const uint8_t* TProgRegClass::Rec(int i) const {
    return const_cast<TProgRegClass*>(this)->Rec(i);
}
uint8_t* TProgRegClass::PZ(int p) {
    return p >= 0 && p < RegMaxCount ? PZs[size_t(p)].data() : nullptr;
}
const uint8_t* TProgRegClass::PZ(int p) const {
    return const_cast<TProgRegClass*>(this)->PZ(p);
}

int TProgRegClass::GetRecByte(int i, int k) const {
    const uint8_t* r = Rec(i);
    return r && k >= 0 && k < RecordSize ? r[k] : 0;
}

void TProgRegClass::SetRecByte(int i, int k, int value) {
    if (uint8_t* r = Rec(i); r && k >= 0 && k < RecordSize) r[k] = uint8_t(value);
}

int TProgRegClass::GetPZByte(int p, int k) const {
    const uint8_t* r = PZ(p);
    return r && k >= 0 && k < RecordSize ? r[k] : 0;
}

void TProgRegClass::SetPZByte(int p, int k, int value) {
    if (uint8_t* r = PZ(p); r && k >= 0 && k < RecordSize) r[k] = uint8_t(value);
}

int TProgRegClass::GetAnVh(int i) const {
    return ReadField(Rec(i), AnVh);
}
void TProgRegClass::SetAnVh(int i, int n) {
    WriteField(Rec(i), AnVh, n);
}
int TProgRegClass::GetTReg(int i) const {
    return ReadField(Rec(i), TReg);
}
void TProgRegClass::SetTReg(int i, int /*kind*/, int code) {
    WriteField(Rec(i), TReg, code);
}
int TProgRegClass::GetVyh(int i) const {
    return ReadField(Rec(i), Vyh);
}
void TProgRegClass::SetVyh(int i, int v) {
    WriteField(Rec(i), Vyh, v);
}
int TProgRegClass::GetTypeOut(int i) const {
    return ReadField(Rec(i), TypeOut);
}
void TProgRegClass::SetTypeOut(int i, int v) {
    WriteField(Rec(i), TypeOut, v);
}

#define REG_FLOAT(Name, offset)                                                                              \
    QString TProgRegClass::Get##Name##Text(int i) const {                                                    \
        const uint8_t* r = Rec(i);                                                                           \
        return r ? Float24::ToText(r + offset) : QString();                                                  \
    }                                                                                                        \
    bool TProgRegClass::Set##Name##Text(int i, const QString& text) {                                        \
        uint8_t* r = Rec(i);                                                                                 \
        return r && Float24::FromText(text, r + offset);                                                     \
    }                                                                                                        \
    float TProgRegClass::Get##Name(int i) const {                                                            \
        const uint8_t* r = Rec(i);                                                                           \
        return r ? Float24::ToFloat(r + offset) : 0.0f;                                                      \
    }

REG_FLOAT(KP, KpOffset)
REG_FLOAT(Ti, TiOffset)
REG_FLOAT(Td, TdOffset)
REG_FLOAT(OL, OLOffset)
REG_FLOAT(OH, OHOffset)
REG_FLOAT(dSP, dSPOffset)
#undef REG_FLOAT

int TProgRegClass::GetLoopClass(int i) const {
    const int type = GetTReg(i);
    if ((type == 1 && GetVyh(i) >= 8) || (type >= 8 && type <= 13)) return 2;
    if (type >= 16 && type <= 21) return 3;
    return type;
}

int TProgRegClass::GetPZReg(int p) const {
    return ReadField(PZ(p), PZReg);
}
void TProgRegClass::SetPZReg(int p, int n) {
    WriteField(PZ(p), PZReg, n);
}
int TProgRegClass::GetPZTime(int p, int k) const {
    return ReadField(PZ(p), PZTime.At(k));
}
void TProgRegClass::SetPZTime(int p, int k, int t) {
    WriteField(PZ(p), PZTime.At(k), t);
}
int TProgRegClass::GetPZValue(int p, int k) const {
    return ReadField(PZ(p), PZValue.At(k));
}
void TProgRegClass::SetPZValue(int p, int k, int v) {
    WriteField(PZ(p), PZValue.At(k), v);
}

void TProgRegClass::DeleteRows(Table& table, int first, int count) {
    if (first < 0 || first >= RegMaxCount || count <= 0) return;
    count = std::min(count, RegMaxCount - first);
    std::copy(table.begin() + first + count, table.end(), table.begin() + first);
    std::fill(table.end() - count, table.end(), Record{});
}

void TProgRegClass::InsertRows(Table& table, int first, int count) {
    if (first < 0 || first >= RegMaxCount || count <= 0) return;
    count = std::min(count, RegMaxCount - first);
    std::copy_backward(table.begin() + first, table.end() - count, table.end());
    std::fill(table.begin() + first, table.begin() + first + count, Record{});
}

void TProgRegClass::DeleteRecords(int first, int count) {
    DeleteRows(Loops, first, count);
}
void TProgRegClass::InsertRecords(int first, int count) {
    InsertRows(Loops, first, count);
}
void TProgRegClass::DeletePZRecords(int first, int count) {
    DeleteRows(PZs, first, count);
}
void TProgRegClass::InsertPZRecords(int first, int count) {
    InsertRows(PZs, first, count);
}

float TProgRegClass::GetOnlineValue(int j) const {
    return j >= 0 && size_t(j) < Online.size() ? Online[size_t(j)] : 0.0f;
}

void TProgRegClass::SetOnlineValue(int j, float v) {
    if (j >= 0 && size_t(j) < Online.size()) Online[size_t(j)] = v;
}

int TProgRegClass::GetStateByte(int k) const {
    return k >= 0 && k < OnlineLoops ? States[size_t(k)] : 0;
}

void TProgRegClass::SetStateByte(int k, int v) {
    if (k >= 0 && k < OnlineLoops) States[size_t(k)] = uint8_t(v);
}
