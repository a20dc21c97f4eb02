#pragma once
// The relay-output modules: the block-9 image (121 bytes: byte 0 the block number 9, then
// 5 modules × 8 MrOutput of 3 bytes; output o of module m at byte 1 + 24m + 3o).
// MrOutput: byte 0 bit 0 output type, bit 1 light/sound or blocking, bit 2 reset from the top
// level, bit 3 acknowledge from the top level, bit 4 reset from the panel, bit 5 acknowledge
// from the panel; byte 1 external acknowledge input; byte 2 external reset input.
//
// Indices: out of range, getters give 0 and setters change nothing.

#include "DeviceLayouts.h"

#include <QString>
#include <array>
#include <cstdint>

class TProgMRClass {
  public:
    static constexpr int ModuleCount = 5;
    static constexpr int OutputCount = 8;
    static constexpr int OutputSize = 3;
    static constexpr int ModuleSize = OutputCount * OutputSize; // 24
    static constexpr int SlotCount = 8;
    static constexpr int ImageLen = DeviceBlocks::RelayBaseLen; // 121

    TProgMRClass();

    int GetBlockLen() const { return BlockLen; }
    void SetBlockLen(int v) { BlockLen = v; }

    int GetCurSlot() const { return CurSlot; }
    void SetCurSlot(int slot) { CurSlot = slot; }
    int GetSlot2() const { return Slot2; }
    void SetSlot2(int slot) { Slot2 = slot; }

    // One flag per slot 1..8: 1 while the slot's base is unchanged since shown or written.
    int GetMrBaseSaved(int slot) const;
    void SetMrBaseSaved(int slot, int v);
    // The copied module base: module index (−1 = nothing copied) and the module code of its slot.
    int GetMrCopyIndex() const { return MrCopyIndex; }
    void SetMrCopyIndex(int v) { MrCopyIndex = v; }
    int GetMrCopyCode() const { return MrCopyCode; }
    void SetMrCopyCode(int v) { MrCopyCode = v; }

    int GetModByte(int i) const;
    void SetModByte(int i, int value);
    void SetModByte2(int i, int value) { SetModByte(i, value); }

    // Bits of byte 0 of output o of module m, as 0 or 1; setters (value, output, module).
    int GetTipVyh(int o, int m) const;
    void SetTipVyh(int v, int o, int m);
    int GetKvitBlock(int o, int m) const;
    void SetKvitBlock(int v, int o, int m);
    int GetSbrTopLevel(int o, int m) const;
    void SetSbrTopLevel(int v, int o, int m);
    int GetKvitTopLevel(int o, int m) const;
    void SetKvitTopLevel(int v, int o, int m);
    int GetSbrPanel(int o, int m) const;
    void SetSbrPanel(int v, int o, int m);
    int GetKvitPanel(int o, int m) const;
    void SetKvitPanel(int v, int o, int m);
    // External acknowledge and reset input numbers (bytes 1 and 2).
    int GetVxKvit(int o, int m) const;
    void SetVxKvit(int o, int m, int v);
    int GetVhSbr(int o, int m) const;
    void SetVhSbr(int o, int m, int v);

    // Whether a base copied from a module of code copiedCode may replace the base of a module of
    // code code: into codes below 6 from any module, into the others only from the same code.
    static bool ReplaceAllowed(int copiedCode, int code) { return code == copiedCode || code < 6; }

    // True when the text is an input number that fits its byte: an integer 0..255.
    static bool CheckVhText(const QString& text);

  private:
    uint8_t* Output(int o, int m);
    const uint8_t* Output(int o, int m) const;

    std::array<uint8_t, DeviceBlocks::RelayBaseLen> Image{};
    std::array<int, SlotCount> MrBaseSaved{};
    int BlockLen = DeviceBlocks::RelayBaseLen;
    int CurSlot = 1;
    int Slot2 = 1;
    int MrCopyIndex = -1;
    int MrCopyCode = 0;
};
