#pragma once
// The local-network master: the network descriptor (block 10), the eight network scaling groups
// and the edit state of the local-network editors.
//
// Descriptor (194 bytes): byte 0 the block number, 16 MbmRequest of 12 bytes at bytes 1 + 12i,
// the link settings byte at 193 (bits 2..3 speed index, bits 0..1 parity and stop index).
// MbmRequest: 0 function code, 1 outputs, 2 slave address, 3..4 start address (i16), 5..6 data
// count (i16), 7 bits 0..3 slave type, 8 first discrete position, 9 first analogue position,
// 10..11 maximum code (i16); little-endian.
// Scaling group (169 bytes): byte 0 the block number when sent, then 6 AnChannel of 28 bytes;
// network channel n (0..47) is channel n % 6 of group n / 6.
//
// Indices: out of range, getters give 0 or an empty text and setters change nothing.

#include "DeviceLayouts.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>

// The edit state of the local-network editors.
struct NetEditState {
    int LinkChanged = 0;
    int NetTablesChanged = 0;
    int DescriptorWritten = 1;
    int AnGroupsWritten = 1;
    std::array<int, 16> BlockFailed{};
    int FreedDiscrete = 0;
    int SelectedBlock = 0;
    int EditMode = 0;
    int CountChanged = 0;
    int TypeChanged = 0;
    int DiscreteShift = 0;
    int AnalogueShift = 0;
};

class TProgMBMClass {
  public:
    static constexpr int RequestCount = 16;
    static constexpr int RequestSize = 12;
    static constexpr int LinkByte = 193;
    static constexpr int GroupCount = 8;
    static constexpr int GroupSize = 169;
    static constexpr int ChannelSize = 28;
    static constexpr int ChannelsPerGroup = 6;
    static constexpr int NetChannelCount = GroupCount * ChannelsPerGroup; // 48
    static constexpr int AnPositions = 48; // positions of the analogue-signal array
    // Where the data of a 'G' reply starts (address, function and byte count before it).
    static constexpr int GReplyData = 3;

    TProgMBMClass();

    NetEditState NetEdit;

    // Length bytes of block 10, block 11 and the scaling blocks 1..8.
    int GetDescriptorLen() const { return DescriptorLen; }
    void SetDescriptorLen(int v) { DescriptorLen = v; }
    int GetF15Len() const { return F15Len; }
    void SetF15Len(int v) { F15Len = v; }
    int GetScaleLen() const { return ScaleLen; }
    void SetScaleLen(int v) { ScaleLen = v; }

    int GetByte(int k) const;
    void SetByte(int k, int value);

    // Request record i (0..15); setters take the value first.
    int GetKodF(int i) const;
    void SetKodF(int v, int i);
    int GetKolVh(int i) const;
    void SetKolVh(int v, int i);
    int GetUstr(int i) const;
    void SetUstr(int v, int i);
    int GetAdBegDat(int i) const;
    void SetAdBegDat(int v, int i);
    int GetKolDat(int i) const;
    void SetKolDat(int v, int i);
    int GetTipUstr(int i) const;
    void SetTipUstr(int v, int i);
    int GetStAddrBeg1(int i) const;
    void SetStAddrBeg1(int v, int i);
    int GetStAddrBeg2(int i) const;
    void SetStAddrBeg2(int v, int i);
    int GetXMax(int i) const;
    void SetXMax(int v, int i);

    // Link settings byte.
    int GetLinkBits2to3() const;
    void SetLinkBits2to3(int v);
    int GetLinkBits0to1() const;
    void SetLinkBits0to1(int v);

    // Scaling group bytes.
    int GetBlockByte(int g, int k) const;
    void SetBlockByte(int g, int k, int value);

    // Network channel n (0..47); setters take the value first; text setters refuse text that is
    // not a number the format holds (returns false, the field keeps its value).
    int GetChRazm(int n) const;
    void SetChRazm(int v, int n);
    QString GetChNSkText(int n) const;
    bool SetChNSkText(const QString& text, int n);
    QString GetChVSkText(int n) const;
    bool SetChVSkText(const QString& text, int n);
    QString GetChUstLLText(int n) const;
    bool SetChUstLLText(const QString& text, int n);
    QString GetChUstLText(int n) const;
    bool SetChUstLText(const QString& text, int n);
    QString GetChUstHText(int n) const;
    bool SetChUstHText(const QString& text, int n);
    QString GetChUstHHText(int n) const;
    bool SetChUstHHText(const QString& text, int n);
    float GetChNSk(int n) const;
    float GetChVSk(int n) const;
    QString GetChPozText(int n) const;
    void SetChPozText(const QString& text, int n);

    // True when the text may be stored as a scale end or set point (kind 0 low end, 1 high end,
    // 2 set point): a decimal number in −32767..32767, at most one comma and not in last place,
    // no "б", "Б" or "?" among the first 7 characters, one minus sign at most and only in first place.
    static bool CheckAnValueText(const QString& text, int kind);

    // Channel table edits over the 48 network channels; out-of-range parts are cut off.
    void DeleteChannels(int p, int n);
    void InsertChannels(int p, int n);
    void SetDefaultChannels(int p, int n);

    // Live values: the entries of a 'G' reply for the analogue positions p .. p + n − 1 (0..47).
    // Refuses a reply shorter than n entries or positions outside the array.
    bool TakeSensorTypesFromReply(int p, int n, std::span<const uint8_t> reply);
    int GetLiveFlags(int p) const;
    float GetLiveValue(int p) const;
    // The state texts of positions p .. p + n − 1: "L(L-H)" below L, "H(L-H)" above H, else "норма".
    QStringList ShowChannelState(int n, int p) const;

  private:
    uint8_t* Request(int i);
    const uint8_t* Request(int i) const;
    uint8_t* NetChannel(int n);
    const uint8_t* NetChannel(int n) const;

    std::array<uint8_t, DeviceBlocks::NetDescriptorLen> Descriptor{};
    std::array<std::array<uint8_t, GroupSize>, GroupCount> Groups{};
    std::array<std::array<uint8_t, GEntry::Size>, AnPositions> Live{};
    int DescriptorLen = DeviceBlocks::NetDescriptorLen;
    int F15Len = DeviceBlocks::F15Len;
    int ScaleLen = DeviceBlocks::AnModuleLen;
};
