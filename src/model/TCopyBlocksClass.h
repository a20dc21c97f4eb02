#pragma once
// The clipboard for copying function-block groups, module bases, loops and relay-module bases;
// it also keeps the analogue modules while a configuration is created anew. Never saved or
// sent. Index policy: see TServClass.h.

#include "TReservBlocksClass.h"

#include <array>

class TCopyBlocksClass {
  public:
    static constexpr int FbSlots = 121;
    static constexpr int LoopRows = 2;
    static constexpr int RelayModules = 5;

    // Function-block copy buffer: per index a copy mark and the record copied at that index.
    int GetFbCopyMark(int i) const { return Ok(i, FbSlots) ? fbMarks_[i] : 0; }
    void SetFbCopyMark(int i, int v) {
        if (Ok(i, FbSlots)) fbMarks_[i] = v;
    }
    ByteImages<16, FbSlots>& FbRecords() { return fbRecords_; }
    const ByteImages<16, FbSlots>& FbRecords() const { return fbRecords_; }
    int GetFbCopyCount() const { return fbCount_; }
    void SetFbCopyCount(int n) { fbCount_ = n; }

    // One 169-byte copy per analogue module index.
    ByteImages<169, 8>& ModuleCopies() { return modules_; }
    const ByteImages<169, 8>& ModuleCopies() const { return modules_; }

    // Loop clipboard: the copied count, and per row a flag and a 28-byte record image.
    int NReg_Copy = 0;
    int GetRegCopyFlag(int row) const { return Ok(row, LoopRows) ? regFlags_[row] : 0; }
    void SetRegCopyFlag(int row, int v) {
        if (Ok(row, LoopRows)) regFlags_[row] = v;
    }
    ByteImages<28, LoopRows>& RegRecords() { return regRecords_; }
    const ByteImages<28, LoopRows>& RegRecords() const { return regRecords_; }

    // Relay-module base clipboard: 24 bytes per module position.
    ByteImages<24, RelayModules>& RelayBases() { return relay_; }
    const ByteImages<24, RelayModules>& RelayBases() const { return relay_; }

  private:
    static bool Ok(int i, int n) { return i >= 0 && i < n; }
    std::array<int, FbSlots> fbMarks_{};
    ByteImages<16, FbSlots> fbRecords_;
    int fbCount_ = 0;
    ByteImages<169, 8> modules_;
    std::array<int, LoopRows> regFlags_{};
    ByteImages<28, LoopRows> regRecords_;
    ByteImages<24, RelayModules> relay_;
};
