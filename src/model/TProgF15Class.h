#pragma once
// The two Ф15 ModBus-master write blocks (block 11, 81 bytes: byte 0 the block number, then two
// F15Record of 40 bytes at bytes 1 + 40k).
// F15Record: 0 function code (15 or 0), 1 inputs, 2 slave address, 3..4 start address (i16),
// 5..6 data count (i16), 7 bit 4 external acknowledge, bit 5 external reset, 8 + j signal
// number of input j (0..31); little-endian.
//
// Indices: out of range, getters give 0 and setters change nothing.

#include "DeviceLayouts.h"

#include <array>
#include <cstdint>

class TProgF15Class {
  public:
    static constexpr int RecordCount = 2;
    static constexpr int RecordSize = 40;
    static constexpr int SignalCount = 32;

    TProgF15Class();

    int GetF15Unchanged() const { return F15Unchanged; }
    void SetF15Unchanged(int v) { F15Unchanged = v; }
    int GetF15Saved() const { return F15Saved; }
    void SetF15Saved(int v) { F15Saved = v; }
    int GetF15Modified() const { return F15Modified; }
    void SetF15Modified(int v) { F15Modified = v; }
    int GetF15Selected() const { return F15Selected; }
    void SetF15Selected(int v) { F15Selected = v; }

    int GetByte(int k) const;
    void SetByte(int k, int value);

    // Record k (0 or 1).
    int GetFuncCode(int k) const;
    void SetFuncCode(int k, int v);
    int GetB2(int k) const;
    void SetB2(int k, int v);
    int GetB3(int k) const;
    void SetB3(int k, int v);
    int GetW4(int k) const;
    void SetW4(int k, int v);
    int GetW6(int k) const;
    void SetW6(int k, int v);
    int GetKvit(int k) const;
    void SetKvit(int k, int v);
    int GetSbros(int k) const;
    void SetSbros(int k, int v);
    int GetSignal(int k, int j) const;
    void SetSignal(int k, int j, int v);

  private:
    uint8_t* Record(int k);
    const uint8_t* Record(int k) const;

    std::array<uint8_t, DeviceBlocks::F15Len> Bytes{};
    int F15Unchanged = 1;
    int F15Saved = 0;
    int F15Modified = 0;
    int F15Selected = 0;
};
