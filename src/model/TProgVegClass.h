#pragma once
// The discrete-signal processing table: 192 input-handler records (DiskrRec, 8 bytes each), the
// transfer buffer of blocks 12..19 (24 records each), the scheme's changed flag and the access
// level. Index policy: see TServClass.h.

#include <array>
#include <cstdint>

class TProgVegClass {
  public:
    static constexpr int RecordCount = 192;
    static constexpr int RecordLen = 8;
    static constexpr int RecordsPerBlock = 24;
    static constexpr int BlockCount = 8;                           // blocks 12..19
    static constexpr int BlockBytes = RecordsPerBlock * RecordLen; // 192
    static constexpr uint8_t EmptyByte0 = 0x20;

    TProgVegClass();

    int AccessLevel = 0;    // 1 full: device writes and calibration allowed
    int SchemeModified = 0; // the scheme or the passports changed

    int GetRecByte(int i, int k) const;
    void SetRecByte(int i, int k, int value);
    std::array<uint8_t, RecordLen> GetRecord(int i) const;
    void SetRecord(int i, const std::array<uint8_t, RecordLen>& rec);

    // Remove n records at p (later ones shift down, the tail becomes empty records), empty them
    // (byte 0 = 0x20, bytes 1..7 = 0; stops at 192), or open n empty records at p (later ones
    // shift up, records pushed past 192 are lost).
    void DeleteRecords(int p, int n);
    void ClearRecords(int p, int n);
    void InsertRecords(int p, int n);

    // Block 12 + N: records 24N .. 24N + 23.
    void RecordsToBlock(int N);
    bool BlockToRecords(int N, const uint8_t* data, int size);
    int GetBlockByte(int k) const;
    const uint8_t* Block() const { return block_.data(); }
    int GetBlockLen() const { return blockLen_; }
    void SetBlockLen(int v) { blockLen_ = v; }

    // The index the discrete-input live view uses to pick the module's health bit.
    int GetCount() const { return count_; }
    void SetCount(int v) { count_ = v; }

  private:
    std::array<uint8_t, RecordCount * RecordLen> records_{};
    std::array<uint8_t, BlockBytes> block_{};
    int blockLen_ = BlockBytes + 1;
    int count_ = 0;
};
