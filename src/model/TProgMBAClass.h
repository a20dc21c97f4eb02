#pragma once
// The analogue input modules: eight 169-byte module records, the unit list, the measuring-range
// records and the calibration state.
//
// AnModuleRecord (169 bytes): byte 0 the block number when sent, then six AnChannel of 28 bytes
// at bytes 1 + 28c. A controller module (codes 13, 15) uses channels 0..3; the place of channel 4
// holds the module-type byte (113: bit r = sensor type of discrete sensor r, 0 dry contact,
// 1 NAMUR) and the current outputs (120: range bits, 121 and 122: correction codes).
//
// AnChannel (28 bytes): byte 0 low nibble scale kind, high nibble unit index; byte 1 input type
// (bits 0..2), standard range index (bits 0..5), dead band (bits 4..5), connection type (bit 6);
// Float24 scale minimum, maximum, set points LL, L, H, HH at bytes 2, 5, 8, 11, 14, 17; position
// text at bytes 20..27.
//
// Indices: a module, channel, byte or row index out of range never touches memory outside the
// record; getters then give 0 or an empty text and setters change nothing (and return false
// where they return a result).

#include "DeviceLayouts.h"
#include "ScaleRanges.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>

class TProgMBAClass {
  public:
    static constexpr int ModuleCount = 8;
    static constexpr int RecordSize = 169;
    static constexpr int ChannelCount = 6;
    static constexpr int ChannelSize = 28;
    static constexpr int ModuleTypeByte = 113;
    static constexpr int ConnByte = 120;
    static constexpr int RangeByte1 = 121; // selector 1; selector 2 is byte 122
    static constexpr int RangeEntries = 8;
    static constexpr int UnitCount = 16;
    static constexpr int UnitWidth = 6;
    static constexpr int CalibRows = 7;

    // Where the data of a reply starts: 'G' and function-4 replies carry address, function and
    // byte count before the data; a 'D' reply also the block number.
    static constexpr int GReplyData = 3;
    static constexpr int CalibReplyData = 3;
    static constexpr int BlockReplyData = 4;

    TProgMBAClass();

    // Length byte of the module blocks (169), replaced by the count of the last read reply.
    int GetBlockLen() const { return BlockLen; }
    void SetBlockLen(int len) { BlockLen = len; }

    int GetCurSlot() const { return CurSlot; }
    void SetCurSlot(int slot) { CurSlot = slot; }
    int GetSlot2() const { return Slot2; }
    void SetSlot2(int slot) { Slot2 = slot; }

    int GetMbaBaseChanged() const { return MbaBaseChanged; }
    void SetMbaBaseChanged(int v) { MbaBaseChanged = v; }
    int GetMbaBaseChangedSave() const { return MbaBaseChangedSave; }
    void SetMbaBaseChangedSave(int v) { MbaBaseChangedSave = v; }
    // The module base copied last: its module index (−1 = nothing copied) and module code.
    int GetMbaCopyIndex() const { return MbaCopyIndex; }
    void SetMbaCopyIndex(int v) { MbaCopyIndex = v; }
    int GetMbaCopyCode() const { return MbaCopyCode; }
    void SetMbaCopyCode(int v) { MbaCopyCode = v; }

    // Calibration state: the module code of the calibrated slot, the selected channel
    // (0 none, 1..7), the view flag (0 open, 1 closed) and the unit texts of the seven rows.
    int GetKalibrModuleCode() const { return KalibrModuleCode; }
    void SetKalibrModuleCode(int v) { KalibrModuleCode = v; }
    int GetKalibrChannel() const { return KalibrChannel; }
    void SetKalibrChannel(int v) { KalibrChannel = v; }
    int GetKalibrViewClosed() const { return KalibrViewClosed; }
    void SetKalibrViewClosed(int v) { KalibrViewClosed = v; }
    QString GetKalibrRazm(int row) const;
    void SetKalibrRazm(int row, const QString& text);

    // Whole record bytes.
    int GetModuleByte(int m, int k) const;
    void SetModuleByte(int m, int k, int value);
    void SetModuleByte2(int m, int k, int value) { SetModuleByte(m, k, value); }

    // Byte 113.
    int GetModuleType(int m) const;
    void SetModuleType(int m, int value);

    // Channel fields of channel c (0..5) of module m.
    int GetChSk(int m, int c) const;
    void SetChSk(int m, int c, int kind);
    int GetChRazm(int m, int c) const;
    void SetChRazm(int m, int c, int unit);
    int GetChTInp(int m, int c) const;
    void SetChTInp(int m, int c, int type);
    int GetChB1Bits0to5(int m, int c) const;
    void SetChB1Bits0to5(int m, int c, int index);
    int GetChB1Bits4to5(int m, int c) const;
    void SetChB1Bits4to5(int m, int c, int band);
    int GetChB1Bit6(int m, int c) const;
    void SetChB1Bit6(int m, int c, int v);

    // Float24 fields as decimal text with a comma; a setter refuses text that is not a number the
    // format holds (returns false, the field keeps its value).
    QString GetChNSkText(int m, int c) const;
    bool SetChNSkText(int m, int c, const QString& text);
    QString GetChVSkText(int m, int c) const;
    bool SetChVSkText(int m, int c, const QString& text);
    QString GetChUstLLText(int m, int c) const;
    bool SetChUstLLText(int m, int c, const QString& text);
    QString GetChUstLText(int m, int c) const;
    bool SetChUstLText(int m, int c, const QString& text);
    QString GetChUstHText(int m, int c) const;
    bool SetChUstHText(int m, int c, const QString& text);
    QString GetChUstHHText(int m, int c) const;
    bool SetChUstHHText(int m, int c, const QString& text);
    // The scale limits as numbers.
    float GetChNSk(int m, int c) const;
    float GetChVSk(int m, int c) const;
    QString GetChPozText(int m, int c) const;
    void SetChPozText(int m, int c, const QString& text);

    // Current outputs, selector 1 or 2: range bit (byte 120 bit 0 / 1), start-of-scale correction
    // (high nibble) and end-of-scale correction (low nibble) of byte 121 / 122.
    int GetConnBit(int m, int sel) const;
    void SetConnBit(int m, int sel, int v);
    int GetRangeHi(int m, int sel) const;
    void SetRangeHi(int m, int sel, int v);
    int GetRangeLo(int m, int sel) const;
    void SetRangeLo(int m, int sel, int v);

    // The range table: entry r of module m is the sensor type of discrete sensor r, read from and
    // written to bit r of the module-type byte, so it follows the record whatever wrote it.
    int GetRangeInt(int m, int r) const;
    void SetRangeInt(int m, int r, int value);

    // Standard ranges of a scale kind, and the texts of the two range lists.
    struct SkList {
        QStringList Items;
        int Selected = -1; // item to select, −1 with an empty list
    };
    static std::span<const ScaleRange> GetScaleRanges(int kind) { return ScaleRangeTable::Ranges(kind); }
    // The distinct minimums; the one of range rangeIndex selected (the first when that is no range).
    static SkList FillMinSkList(std::span<const ScaleRange> ranges, int rangeIndex);
    // The maximums of the ranges whose minimum is minText; the one of range rangeIndex selected
    // when it belongs to that minimum, else the first.
    static SkList FillMaxSkList(std::span<const ScaleRange> ranges, const QString& minText, int rangeIndex);
    // The index of the range whose limits equal both texts, −1 when none does.
    static int FindRangeIndex(const QString& minText, const QString& maxText,
                              std::span<const ScaleRange> ranges);

    // Unit list: 16 names of 6 characters, blank padded.
    QString GetRazmName(int i) const; // trailing blanks cut
    QStringList FillRazmList() const;
    // Entry i becomes 6 blanks, then takes up to 6 characters of items[i].
    void SetRazmFromControl(const QStringList& items, int i);
    int GetUnitListByte(int k) const; // k = 0..95
    void SetUnitListByte(int k, int value);

    // Range records (43 bytes per module, blocks 60..67).
    int GetRangeRecordByte(int m, int k) const;
    int GetRangeMinCode(int m, int row) const;
    int GetRangeMaxCode(int m, int row) const;

    // Reply takers. Each refuses a reply shorter than its data (returns false, keeps the data).
    // The 6 ADC-code entries of a 'G' reply (rows 1..6).
    bool TakeSensorTypesFromReply(std::span<const uint8_t> reply);
    // The cold-junction entry of a 'G' reply (row 7).
    bool TakeHeaderFromReply(std::span<const uint8_t> reply);
    // The 43-byte range record of module m: the block data after the block number, or a 'D' reply.
    bool TakeRangeRecord(int m, std::span<const uint8_t> data);
    bool TakeRangeRecordFromReply(int m, std::span<const uint8_t> reply);
    // The 8 calibration bytes of a function-4 reply.
    bool TakeCalibFromReply(std::span<const uint8_t> reply);

    int GetAdcCode(int row) const; // row 0..6, from the 'G' entries
    int GetAdcFlags(int row) const;
    int GetCalibRegister(int reg) const; // 0..3, from the calibration bytes

    // The texts of one calibration row.
    struct CalibRowTexts {
        QString Position, Unit, MinCode, AdcCode, MaxCode, Value, Percent, Violation, State;
    };
    // The seven rows of the calibration view of module m (position texts are the window's;
    // Position stays empty here).
    std::array<CalibRowTexts, CalibRows> FillCalibrationView(int m) const;

  private:
    uint8_t* Channel(int m, int c);
    const uint8_t* Channel(int m, int c) const;
    uint8_t* Module(int m);
    const uint8_t* Module(int m) const;

    std::array<std::array<uint8_t, RecordSize>, ModuleCount> Modules{};
    std::array<uint8_t, UnitCount * UnitWidth> UnitList{};
    std::array<std::array<uint8_t, DeviceBlocks::RangeLen - 1>, ModuleCount> RangeRecords{};
    std::array<std::array<uint8_t, GEntry::Size>, CalibRows> AdcEntries{};
    std::array<uint8_t, CalibData::Size> Calib{};
    std::array<QString, CalibRows> KalibrRazm;

    int BlockLen = DeviceBlocks::AnModuleLen;
    int CurSlot = 1;
    int Slot2 = 1;
    int MbaBaseChanged = 0;
    int MbaBaseChangedSave = 0;
    int MbaCopyIndex = -1;
    int MbaCopyCode = 0;
    int KalibrModuleCode = 0;
    int KalibrChannel = 0;
    int KalibrViewClosed = 1;
};
