#pragma once
// The current-output control loops: table 1 (loop records) and table 2 (program set-point
// records, ПЗ), RegCount records of 28 bytes each, the block buffer of blocks 32 and 33, the
// online table and the loop editor's state.
//
// RegRecord (28 bytes): 0 PV input number (0 = free), 1 loop type code, 2 output (DAC output − 1,
// or the inner loop's number + 7 for the outer loop of a cascade), 3 bit 0 output action
// (0 direct, 1 reverse), Float24 Kp, Ti, Td, OL, OH, dSP (OSF) at bytes 6, 9, 12, 15, 18, 21.
// ПЗ record (28 bytes): 0 the loop it feeds; point k (0..5): time (u16) at 1 + 4k, value (i16)
// at 3 + 4k, little-endian.
//
// Indices: out of range, getters give 0 or an empty text and setters change nothing.

#include "DeviceLayouts.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

// The loop editor's scheme bookkeeping (rows, frames, ПЗ slots and the selection).
struct RegEditState {
    static constexpr int Slots = 6;
    static constexpr std::array<int, Slots> NoSlots = {-1, -1, -1, -1, -1, -1};
    int FrameCount = 0;
    std::array<int, Slots> RowFrame = NoSlots; // −1 = none
    std::array<int, Slots> RowRecord = NoSlots;
    std::array<int, Slots> PZFrame = NoSlots;
    std::array<int, Slots> PZNumber = NoSlots;
    int CurFrame = -1;
    int SelectedRow = -1;
    int SelectedRecord = -1;
    std::array<int, Slots> Reg_Choose{};
    int SelectedCount = 0;
    int ClickedRow = -1;
    int MainRow = -1; // main row found by the last frame lookup
    int EditMode = 0; // 1 while an existing loop is being edited
    int N_Ctrl = 0;   // group insert: 1 before the clicked row, 0 after the last row
};

class TProgRegClass {
  public:
    static constexpr int RecordSize = 28;
    static constexpr int RegMaxCount = 2;                      // configured number of loop slots
    static constexpr int BlockData = RegMaxCount * RecordSize; // 56
    static constexpr int BufferSize = 168;
    static constexpr int BlockReplyData = 4; // 'D' reply: data from byte 4
    static constexpr int PZPoints = 6;
    static constexpr int OnlineLoops = 6;

    // New-loop defaults.
    static constexpr float DefaultKp = 1.0f;
    static constexpr float DefaultTi = 3000.0f;
    static constexpr float DefaultTd = 0.0f;
    static constexpr float DefaultOL = 0.0f;
    static constexpr float DefaultOH = 100.0f;
    static constexpr float DefaultOSF = 25.0f;

    RegEditState RegEdit;

    int GetBlockLen() const { return BlockLen; }
    void SetBlockLen(int v) { BlockLen = v; }
    int GetRegModified() const { return RegModified; }
    void SetRegModified(int v) { RegModified = v; }
    int GetRegInformFillOnly() const { return RegInformFillOnly; }
    void SetRegInformFillOnly(int v) { RegInformFillOnly = v; }
    int GetCurRegIndex() const { return CurRegIndex; }
    void SetCurRegIndex(int v) { CurRegIndex = v; }
    int GetCurPZIndex() const { return CurPZIndex; }
    void SetCurPZIndex(int v) { CurPZIndex = v; }
    // Current loop count, 0..RegMaxCount.
    int GetRegCount() const { return RegCount; }
    void SetRegCount(int v);
    double GetPVScaleLow() const { return PVScaleLow; }
    void SetPVScaleLow(double v) { PVScaleLow = v; }
    double GetPVScaleHigh() const { return PVScaleHigh; }
    void SetPVScaleHigh(double v) { PVScaleHigh = v; }

    // Blocks: the 56 data bytes after the block number into the cleared buffer (refuses fewer),
    // the same from a 'D' reply; the buffer into table 1 (0x20) or table 2 (0x21) and back.
    // Another id changes nothing.
    bool TakeBlockData(std::span<const uint8_t> data);
    bool TakeBlockFromReply(std::span<const uint8_t> reply);
    bool BlockToRecords(int id);
    bool RecordsToBlock(int id);
    int GetBufferByte(int k) const;

    int GetRecByte(int i, int k) const;
    void SetRecByte(int i, int k, int value);
    int GetPZByte(int p, int k) const;
    void SetPZByte(int p, int k, int value);

    int GetAnVh(int i) const;
    void SetAnVh(int i, int n);
    int GetTReg(int i) const;
    void SetTReg(int i, int kind, int code); // kind is not used
    int GetVyh(int i) const;
    void SetVyh(int i, int v);
    int GetTypeOut(int i) const;
    void SetTypeOut(int i, int v);

    // Float24 parameters as text (setters refuse text the format cannot hold) and as numbers.
    QString GetKPText(int i) const;
    bool SetKPText(int i, const QString& text);
    QString GetTiText(int i) const;
    bool SetTiText(int i, const QString& text);
    QString GetTdText(int i) const;
    bool SetTdText(int i, const QString& text);
    QString GetOLText(int i) const;
    bool SetOLText(int i, const QString& text);
    QString GetOHText(int i) const;
    bool SetOHText(int i, const QString& text);
    QString GetdSPText(int i) const;
    bool SetdSPText(int i, const QString& text);
    float GetKP(int i) const;
    float GetTi(int i) const;
    float GetTd(int i) const;
    float GetOL(int i) const;
    float GetOH(int i) const;
    float GetdSP(int i) const;

    // 0 repeater, 1 single loop, 2 cascade, 3 fed by a program set point, else the type code.
    int GetLoopClass(int i) const;

    int GetPZReg(int p) const;
    void SetPZReg(int p, int n);
    int GetPZTime(int p, int k) const;
    void SetPZTime(int p, int k, int t);
    int GetPZValue(int p, int k) const;
    void SetPZValue(int p, int k, int v);

    // Remove (shifting down, clearing the freed tail) or open (shifting up, the last records
    // lost, the opened records cleared) count records at first.
    void DeleteRecords(int first, int count);
    void InsertRecords(int first, int count);
    void DeletePZRecords(int first, int count);
    void InsertPZRecords(int first, int count);

    // Online table: SP, OUT, PV of loops 0..5 (slot j = 3 × loop + 0 / 1 / 2) and the six state
    // bytes (byte k holds coils 784 + 8k .. 791 + 8k, bit 0 first).
    float GetOnlineValue(int j) const;
    void SetOnlineValue(int j, float v);
    float GetOnlineSP(int k) const { return GetOnlineValue(3 * k); }
    void SetOnlineSP(int k, float v) { SetOnlineValue(3 * k, v); }
    float GetOnlineOUT(int k) const { return GetOnlineValue(3 * k + 1); }
    void SetOnlineOUT(int k, float v) { SetOnlineValue(3 * k + 1, v); }
    float GetOnlinePV(int k) const { return GetOnlineValue(3 * k + 2); }
    void SetOnlinePV(int k, float v) { SetOnlineValue(3 * k + 2, v); }
    int GetStateByte(int k) const;
    void SetStateByte(int k, int v);
    int GetStateBit0(int k) const { return (GetStateByte(k) >> 0) & 1; }
    int GetStateBit1(int k) const { return (GetStateByte(k) >> 1) & 1; }
    int GetStateBit6(int k) const { return (GetStateByte(k) >> 6) & 1; }
    int GetStateBit7(int k) const { return (GetStateByte(k) >> 7) & 1; }

  private:
    using Record = std::array<uint8_t, RecordSize>;
    using Table = std::array<Record, RegMaxCount>;
    uint8_t* Rec(int i);
    const uint8_t* Rec(int i) const;
    uint8_t* PZ(int p);
    const uint8_t* PZ(int p) const;
    Table* TableOf(int id);
    static void DeleteRows(Table& table, int first, int count);
    static void InsertRows(Table& table, int first, int count);

    Table Loops{};
    Table PZs{};
    std::array<uint8_t, BufferSize> Buffer{};
    std::array<float, 3 * OnlineLoops> Online{};
    std::array<uint8_t, OnlineLoops> States{};
    int BlockLen = DeviceBlocks::RegLen;
    int RegModified = 0;
    int RegInformFillOnly = 0;
    int CurRegIndex = 0;
    int CurPZIndex = 0;
    int RegCount = RegMaxCount;
    double PVScaleLow = 0.0;
    double PVScaleHigh = 0.0;
};
