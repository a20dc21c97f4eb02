#include "TProgVegClass.h"

#include <algorithm>
#include <cstring>

namespace {
bool InRange(int i, int n) {
    return i >= 0 && i < n;
}
} // namespace

TProgVegClass::TProgVegClass() {
    ClearRecords(0, RecordCount);
}

int TProgVegClass::GetRecByte(int i, int k) const {
    return InRange(i, RecordCount) && InRange(k, RecordLen) ? records_[i * RecordLen + k] : 0;
}

void TProgVegClass::SetRecByte(int i, int k, int value) {
    if (InRange(i, RecordCount) && InRange(k, RecordLen)) records_[i * RecordLen + k] = uint8_t(value);
}

std::array<uint8_t, TProgVegClass::RecordLen> TProgVegClass::GetRecord(int i) const {
    std::array<uint8_t, RecordLen> rec{};
    if (InRange(i, RecordCount)) std::memcpy(rec.data(), records_.data() + i * RecordLen, RecordLen);
    return rec;
}

void TProgVegClass::SetRecord(int i, const std::array<uint8_t, RecordLen>& rec) {
    if (InRange(i, RecordCount)) std::memcpy(records_.data() + i * RecordLen, rec.data(), RecordLen);
}

void TProgVegClass::DeleteRecords(int p, int n) {
    if (!InRange(p, RecordCount) || n <= 0) return;
    n = std::min(n, RecordCount - p);
    std::memmove(records_.data() + p * RecordLen, records_.data() + (p + n) * RecordLen,
                 size_t(RecordCount - p - n) * RecordLen);
    ClearRecords(RecordCount - n, n);
}

void TProgVegClass::ClearRecords(int p, int n) {
    if (!InRange(p, RecordCount) || n <= 0) return;
    n = std::min(n, RecordCount - p);
    for (int i = p; i < p + n; ++i) {
        std::memset(records_.data() + i * RecordLen, 0, RecordLen);
        records_[i * RecordLen] = EmptyByte0;
    }
}

void TProgVegClass::InsertRecords(int p, int n) {
    if (!InRange(p, RecordCount) || n <= 0) return;
    n = std::min(n, RecordCount - p);
    std::memmove(records_.data() + (p + n) * RecordLen, records_.data() + p * RecordLen,
                 size_t(RecordCount - p - n) * RecordLen);
    ClearRecords(p, n);
}

void TProgVegClass::RecordsToBlock(int N) {
    if (InRange(N, BlockCount)) std::memcpy(block_.data(), records_.data() + N * BlockBytes, BlockBytes);
}

bool TProgVegClass::BlockToRecords(int N, const uint8_t* data, int size) {
    if (!InRange(N, BlockCount) || data == nullptr || size < BlockBytes) return false;
    std::memcpy(records_.data() + N * BlockBytes, data, BlockBytes);
    return true;
}

int TProgVegClass::GetBlockByte(int k) const {
    return InRange(k, BlockBytes) ? block_[k] : 0;
}
