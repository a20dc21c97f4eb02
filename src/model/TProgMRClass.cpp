#include "TProgMRClass.h"

#include "ByteFields.h"
#include "NumberText.h"

#include <cmath>

using namespace ByteFields;

TProgMRClass::TProgMRClass() {
    Image[0] = DeviceBlocks::RelayBase;
    MrBaseSaved.fill(1);
}

int TProgMRClass::GetMrBaseSaved(int slot) const {
    return slot >= 1 && slot <= SlotCount ? MrBaseSaved[size_t(slot - 1)] : 0;
}

void TProgMRClass::SetMrBaseSaved(int slot, int v) {
    if (slot >= 1 && slot <= SlotCount) MrBaseSaved[size_t(slot - 1)] = v;
}

int TProgMRClass::GetModByte(int i) const {
    return i >= 0 && size_t(i) < Image.size() ? Image[size_t(i)] : 0;
}

void TProgMRClass::SetModByte(int i, int value) {
    if (i >= 0 && size_t(i) < Image.size()) Image[size_t(i)] = uint8_t(value);
}

uint8_t* TProgMRClass::Output(int o, int m) {
    if (o < 0 || o >= OutputCount || m < 0 || m >= ModuleCount) return nullptr;
    return Image.data() + 1 + ModuleSize * m + OutputSize * o;
}

const uint8_t* TProgMRClass::Output(int o, int m) const {
    return const_cast<TProgMRClass*>(this)->Output(o, m);
}

namespace {
constexpr Field TipVyh = Flag(0, 0), KvitBlock = Flag(0, 1), SbrTopLevel = Flag(0, 2),
                KvitTopLevel = Flag(0, 3);
constexpr Field SbrPanel = Flag(0, 4), KvitPanel = Flag(0, 5), VxKvit = Byte(1), VhSbr = Byte(2);
} // namespace

int TProgMRClass::GetTipVyh(int o, int m) const {
    return ReadField(Output(o, m), TipVyh);
}
void TProgMRClass::SetTipVyh(int v, int o, int m) {
    WriteField(Output(o, m), TipVyh, v);
}
int TProgMRClass::GetKvitBlock(int o, int m) const {
    return ReadField(Output(o, m), KvitBlock);
}
void TProgMRClass::SetKvitBlock(int v, int o, int m) {
    WriteField(Output(o, m), KvitBlock, v);
}
int TProgMRClass::GetSbrTopLevel(int o, int m) const {
    return ReadField(Output(o, m), SbrTopLevel);
}
void TProgMRClass::SetSbrTopLevel(int v, int o, int m) {
    WriteField(Output(o, m), SbrTopLevel, v);
}
int TProgMRClass::GetKvitTopLevel(int o, int m) const {
    return ReadField(Output(o, m), KvitTopLevel);
}
void TProgMRClass::SetKvitTopLevel(int v, int o, int m) {
    WriteField(Output(o, m), KvitTopLevel, v);
}
int TProgMRClass::GetSbrPanel(int o, int m) const {
    return ReadField(Output(o, m), SbrPanel);
}
void TProgMRClass::SetSbrPanel(int v, int o, int m) {
    WriteField(Output(o, m), SbrPanel, v);
}
int TProgMRClass::GetKvitPanel(int o, int m) const {
    return ReadField(Output(o, m), KvitPanel);
}
void TProgMRClass::SetKvitPanel(int v, int o, int m) {
    WriteField(Output(o, m), KvitPanel, v);
}
int TProgMRClass::GetVxKvit(int o, int m) const {
    return ReadField(Output(o, m), VxKvit);
}
void TProgMRClass::SetVxKvit(int o, int m, int v) {
    WriteField(Output(o, m), VxKvit, v);
}
int TProgMRClass::GetVhSbr(int o, int m) const {
    return ReadField(Output(o, m), VhSbr);
}
void TProgMRClass::SetVhSbr(int o, int m, int v) {
    WriteField(Output(o, m), VhSbr, v);
}

bool TProgMRClass::CheckVhText(const QString& text) {
    const auto value = ParseDecimal(text);
    return value && *value == std::floor(*value) && *value >= 0.0 && *value <= 255.0;
}
