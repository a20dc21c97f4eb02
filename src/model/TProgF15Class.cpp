#include "TProgF15Class.h"

#include "ByteFields.h"

using namespace ByteFields;

TProgF15Class::TProgF15Class() {
    Bytes[0] = DeviceBlocks::F15Blocks;
}

int TProgF15Class::GetByte(int k) const {
    return k >= 0 && size_t(k) < Bytes.size() ? Bytes[size_t(k)] : 0;
}

void TProgF15Class::SetByte(int k, int value) {
    if (k >= 0 && size_t(k) < Bytes.size()) Bytes[size_t(k)] = uint8_t(value);
}

uint8_t* TProgF15Class::Record(int k) {
    return k >= 0 && k < RecordCount ? Bytes.data() + 1 + RecordSize * k : nullptr;
}

const uint8_t* TProgF15Class::Record(int k) const {
    return const_cast<TProgF15Class*>(this)->Record(k);
}

namespace {
constexpr Field FuncCode = Byte(0), B2 = Byte(1), B3 = Byte(2), W4 = Int16(3), W6 = Int16(5);
constexpr Field Kvit = Bits(7, 4, 1), Sbros = Bits(7, 5, 1);
constexpr Field Signal = Byte(8).Repeated(TProgF15Class::SignalCount, 1);
} // namespace

int TProgF15Class::GetFuncCode(int k) const {
    return ReadField(Record(k), FuncCode);
}
void TProgF15Class::SetFuncCode(int k, int v) {
    WriteField(Record(k), FuncCode, v);
}
int TProgF15Class::GetB2(int k) const {
    return ReadField(Record(k), B2);
}
void TProgF15Class::SetB2(int k, int v) {
    WriteField(Record(k), B2, v);
}
int TProgF15Class::GetB3(int k) const {
    return ReadField(Record(k), B3);
}
void TProgF15Class::SetB3(int k, int v) {
    WriteField(Record(k), B3, v);
}
int TProgF15Class::GetW4(int k) const {
    return ReadField(Record(k), W4);
}
void TProgF15Class::SetW4(int k, int v) {
    WriteField(Record(k), W4, v);
}
int TProgF15Class::GetW6(int k) const {
    return ReadField(Record(k), W6);
}
void TProgF15Class::SetW6(int k, int v) {
    WriteField(Record(k), W6, v);
}
int TProgF15Class::GetKvit(int k) const {
    return ReadField(Record(k), Kvit);
}
void TProgF15Class::SetKvit(int k, int v) {
    WriteField(Record(k), Kvit, v);
}
int TProgF15Class::GetSbros(int k) const {
    return ReadField(Record(k), Sbros);
}
void TProgF15Class::SetSbros(int k, int v) {
    WriteField(Record(k), Sbros, v);
}
int TProgF15Class::GetSignal(int k, int j) const {
    return ReadField(Record(k), Signal.At(j));
}
void TProgF15Class::SetSignal(int k, int j, int v) {
    WriteField(Record(k), Signal.At(j), v);
}
