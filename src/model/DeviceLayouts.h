#pragma once
// Numbers and lengths of the device blocks, and the layouts of the live-data replies that the
// model, the exchange and the device simulator must agree on. Kept in one place.

#include <cstdint>

namespace DeviceBlocks {

// Block numbers (the first data byte of a 'D' read or 'E' write request).
constexpr int AnModuleFirst = 1; // 1..8: local analogue modules, then the network scaling groups
constexpr int AnModuleLast = 8;
constexpr int RelayBase = 9;      // relay-output modules
constexpr int NetDescriptor = 10; // local-network descriptor
constexpr int F15Blocks = 11;     // the two Ф15 block records
constexpr int DiscreteFirst = 12; // 12..19: discrete table, 24 records each
constexpr int DiscreteLast = 19;
constexpr int FBFirst = 20; // 20..31: function blocks, 10 records each
constexpr int FBLast = 31;
constexpr int RegLoops = 32;   // control loops (table 1)
constexpr int RegProgram = 33; // program set points (table 2)
constexpr int UnitList = 35;
constexpr int NamesFirst = 40; // 40..51: input names and texts
constexpr int NamesLast = 51;
constexpr int RangeFirst = 60; // 60..67: measuring-range records, read only
constexpr int RangeLast = 67;
constexpr int DeviceNumber = 99;

// Length bytes: the block number byte plus the data bytes.
constexpr int AnModuleLen = 169;
constexpr int RelayBaseLen = 121;
constexpr int NetDescriptorLen = 194;
constexpr int F15Len = 81;
constexpr int DiscreteLen = 193;
constexpr int FBLen = 161;
constexpr int RegLen = 57;
constexpr int UnitListLen = 97; // 16 names of 6 characters
constexpr int NamesLen = 225;
constexpr int RangeLen = 44; // the 43-byte range record
constexpr int DeviceNumberLen = 2;

// The length byte of block id, 0 for a block the device does not have.
constexpr int LengthOf(int id) {
    if (id >= AnModuleFirst && id <= AnModuleLast) return AnModuleLen;
    if (id == RelayBase) return RelayBaseLen;
    if (id == NetDescriptor) return NetDescriptorLen;
    if (id == F15Blocks) return F15Len;
    if (id >= DiscreteFirst && id <= DiscreteLast) return DiscreteLen;
    if (id >= FBFirst && id <= FBLast) return FBLen;
    if (id == RegLoops || id == RegProgram) return RegLen;
    if (id == UnitList) return UnitListLen;
    if (id >= NamesFirst && id <= NamesLast) return NamesLen;
    if (id >= RangeFirst && id <= RangeLast) return RangeLen;
    if (id == DeviceNumber) return DeviceNumberLen;
    return 0;
}

} // namespace DeviceBlocks

// The 15-byte device composition returned by the identify request (function 0x11) and kept
// in a configuration file after the device-number byte:
//   byte 0       device number (bus address − 1)
//   bytes 1..8   module code of slots 1..8 (13 or 15 the controller module, 6..9 I/O modules,
//                0 empty)
//   byte 9       discrete input count
//   byte 10      analogue input count
//   bytes 11..12 relay output count, little-endian
//   bytes 13..14 reserved, 0
namespace Composition {
constexpr int Size = 15;
constexpr int DevNum = 0;
constexpr int SlotCodes = 1;
constexpr int DiscreteInputs = 9;
constexpr int AnalogueInputs = 10;
constexpr int RelayOutputs = 11;
} // namespace Composition

// One entry of a 'G' reply (live analogue values): 8 bytes per value.
//   bytes 0..1  ADC code, signed 16-bit, little-endian
//   bytes 2..4  the value in engineering units, Float24
//   bytes 5..6  the value in per cent of the scale, tenths of a per cent, signed 16-bit LE
//   byte 7      flags: bit 0 below L, bit 1 above H, bit 2 value not reliable (sensor fault)
// A 'G' request carries two bytes: the first position and the count of values; the reply's
// byte count is 8 × count.
namespace GEntry {
constexpr int Size = 8;
constexpr int AdcCode = 0;
constexpr int Value = 2;
constexpr int Percent = 5;
constexpr int Flags = 7;
constexpr uint8_t FlagBelowL = 0x01;
constexpr uint8_t FlagAboveH = 0x02;
constexpr uint8_t FlagUnreliable = 0x04;
constexpr int MaxEntries = 50; // the 400-byte reply buffer of the views
// The reply's byte count is one byte: one request carries at most 31 entries.
constexpr int MaxPerRequest = 31;
constexpr int ColdJunctionBase = 128; // position m + 127 is the cold junction of module m
} // namespace GEntry

// The 43-byte measuring-range record of a module (blocks 60..67; reply data from byte 4):
//   byte 0           module code
//   bytes 1 + 4r ..  for rows r = 0..6 (six inputs and the cold junction): minimum ADC code
//                    (signed 16-bit LE) then maximum ADC code (signed 16-bit LE)
//   bytes 29..42     reserved
namespace RangeRecord {
constexpr int Size = 43;
constexpr int ModuleCode = 0;
constexpr int Rows = 7;
constexpr int MinCode(int row) {
    return 1 + 4 * row;
}
constexpr int MaxCode(int row) {
    return 3 + 4 * row;
}
} // namespace RangeRecord

// The 8 calibration bytes of a function-4 reply (input registers 0..3, big-endian each):
//   register 0  the channel selected for calibration (0 none, 1..7)
//   register 1  calibration state: 0 idle, 1 start of scale calibrated, 2 end calibrated,
//               3 both calibrated
//   register 2  result of the last calibration: 0 good, 1 code out of range
//   register 3  reserved
namespace CalibData {
constexpr int Size = 8;
constexpr int SelectedChannel = 0;
constexpr int State = 1;
constexpr int LastResult = 2;
} // namespace CalibData
