#include "TProgF15Class.h"

#include "ByteFields.h"

using namespace ByteFields;

TProgF15Class::TProgF15Class() { Bytes[0] = DeviceBlocks::F15Blocks; }

int TProgF15Class::GetByte(int k) const { return k >= 0 && size_t(k) < Bytes.size() ? Bytes[size_t(k)] : 0; }

void TProgF15Class::SetByte(int k, int value)
{
    if (k >= 0 && size_t(k) < Bytes.size())
        Bytes[size_t(k)] = uint8_t(value);
}

uint8_t* TProgF15Class::Record(int k)
{
    return k >= 0 && k < RecordCount ? Bytes.data() + 1 + RecordSize * k : nullptr;
}

const uint8_t* TProgF15Class::Record(int k) const { return const_cast<TProgF15Class*>(this)->Record(k); }

#define F15_BITS(Name, offset, shift, width)                                                                  \
    RECORD_FIELD(TProgF15Class, Name, Record, offset, (ReadBits<shift, width>), (WriteBits<shift, width>),     \
                 (int i, int v))
#define F15_WORD(Name, offset) RECORD_FIELD(TProgF15Class, Name, Record, offset, ReadI16, WriteI16, (int i, int v))

F15_BITS(FuncCode, 0, 0, 8)
F15_BITS(B2, 1, 0, 8)
F15_BITS(B3, 2, 0, 8)
F15_WORD(W4, 3)
F15_WORD(W6, 5)
F15_BITS(Kvit, 7, 4, 1)
F15_BITS(Sbros, 7, 5, 1)
#undef F15_BITS
#undef F15_WORD

int TProgF15Class::GetSignal(int k, int j) const
{
    const uint8_t* r = Record(k);
    return r && j >= 0 && j < SignalCount ? r[8 + j] : 0;
}

void TProgF15Class::SetSignal(int k, int j, int v)
{
    if (uint8_t* r = Record(k); r && j >= 0 && j < SignalCount)
        r[8 + j] = uint8_t(v);
}
