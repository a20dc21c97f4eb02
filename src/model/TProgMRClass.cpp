#include "TProgMRClass.h"

#include "ByteFields.h"
#include "NumberText.h"

#include <cmath>

using namespace ByteFields;

TProgMRClass::TProgMRClass()
{
    Image[0] = DeviceBlocks::RelayBase;
    MrBaseSaved.fill(1);
}

int TProgMRClass::GetMrBaseSaved(int slot) const
{
    return slot >= 1 && slot <= SlotCount ? MrBaseSaved[size_t(slot - 1)] : 0;
}

void TProgMRClass::SetMrBaseSaved(int slot, int v)
{
    if (slot >= 1 && slot <= SlotCount)
        MrBaseSaved[size_t(slot - 1)] = v;
}

int TProgMRClass::GetModByte(int i) const { return i >= 0 && size_t(i) < Image.size() ? Image[size_t(i)] : 0; }

void TProgMRClass::SetModByte(int i, int value)
{
    if (i >= 0 && size_t(i) < Image.size())
        Image[size_t(i)] = uint8_t(value);
}

uint8_t* TProgMRClass::Output(int o, int m)
{
    if (o < 0 || o >= OutputCount || m < 0 || m >= ModuleCount)
        return nullptr;
    return Image.data() + 1 + ModuleSize * m + OutputSize * o;
}

const uint8_t* TProgMRClass::Output(int o, int m) const { return const_cast<TProgMRClass*>(this)->Output(o, m); }

int TProgMRClass::GetBit(int o, int m, int bit) const
{
    const uint8_t* out = Output(o, m);
    return out ? GetBits(out[0], bit, 1) : 0;
}

void TProgMRClass::SetBit(int v, int o, int m, int bit)
{
    if (uint8_t* out = Output(o, m))
        SetBits(out[0], bit, 1, v != 0);
}

int TProgMRClass::GetTipVyh(int o, int m) const { return GetBit(o, m, 0); }
void TProgMRClass::SetTipVyh(int v, int o, int m) { SetBit(v, o, m, 0); }
int TProgMRClass::GetKvitBlock(int o, int m) const { return GetBit(o, m, 1); }
void TProgMRClass::SetKvitBlock(int v, int o, int m) { SetBit(v, o, m, 1); }
int TProgMRClass::GetSbrTopLevel(int o, int m) const { return GetBit(o, m, 2); }
void TProgMRClass::SetSbrTopLevel(int v, int o, int m) { SetBit(v, o, m, 2); }
int TProgMRClass::GetKvitTopLevel(int o, int m) const { return GetBit(o, m, 3); }
void TProgMRClass::SetKvitTopLevel(int v, int o, int m) { SetBit(v, o, m, 3); }
int TProgMRClass::GetSbrPanel(int o, int m) const { return GetBit(o, m, 4); }
void TProgMRClass::SetSbrPanel(int v, int o, int m) { SetBit(v, o, m, 4); }
int TProgMRClass::GetKvitPanel(int o, int m) const { return GetBit(o, m, 5); }
void TProgMRClass::SetKvitPanel(int v, int o, int m) { SetBit(v, o, m, 5); }

int TProgMRClass::GetVxKvit(int o, int m) const
{
    const uint8_t* out = Output(o, m);
    return out ? out[1] : 0;
}

void TProgMRClass::SetVxKvit(int o, int m, int v)
{
    if (uint8_t* out = Output(o, m))
        out[1] = uint8_t(v);
}

int TProgMRClass::GetVhSbr(int o, int m) const
{
    const uint8_t* out = Output(o, m);
    return out ? out[2] : 0;
}

void TProgMRClass::SetVhSbr(int o, int m, int v)
{
    if (uint8_t* out = Output(o, m))
        out[2] = uint8_t(v);
}

bool TProgMRClass::CheckVhText(const QString& text)
{
    const auto value = ParseDecimal(text);
    return value && *value == std::floor(*value) && *value >= 0.0 && *value <= 255.0;
}
