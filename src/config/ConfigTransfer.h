#pragma once
// Reading the configuration from the device and writing it back.

#include <cstdint>
#include <vector>

class QProgressBar;
class QWidget;
class TComPortClass;
struct TConfiguration;

// The 15-byte device composition into the configuration (device number, slot module codes,
// input counts) and back.
void ApplyComposition(TConfiguration& cfg, const uint8_t* record);
void BuildComposition(const TConfiguration& cfg, uint8_t* record);
// The composition the identify request read, with the default identifier texts of its inputs.
void TakeDeviceComposition(TConfiguration& cfg, const uint8_t* record);

// Learns the function-block capacity of device devNum (ReadFbCapacity) and compares it with
// fbCount, the configuration's. A failed read is reported by ShowObmError; a device of another
// capacity gets one box naming both ("Прибор  на 60 ФБ,\nконфигурация на 120 ФБ.\nПередача
// невозможна"). True when the capacities are the same; nothing is written by it.
bool FbCapacityMatches(QWidget* parent, TComPortClass& port, int devNum, int fbCount);

// Reads the composition (identify request) and the configuration blocks from device devNum
// (counted from 0), stepping the progress bar. A failure is reported once and ends the read,
// leaving the configuration, its mode and its reserve image as they were. Code 3 on block 26
// means a 60-block device. On success the configuration is in device mode, not modified, DevNum
// is devNum, the algorithms are reset and the reserve image holds what was read.
bool ReadConfigFromDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                          QProgressBar* progress);

// Writes the configuration to device devNum after the access level, the presence of a
// configuration (TServClass::HoldsConfiguration), the device's composition and its
// function-block capacity have been checked; reports every refusal and failure itself.
bool WriteConfigToDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                         QProgressBar* progress);

// The blocks of the configuration in transfer order: analogue module 1, the discrete block,
// the function blocks of fbCount records, the two loop blocks, the unit list, names 40 and 41.
std::vector<int> ConfigBlockIds(int fbCount);

// One block's data (without the block number) into the owning data class; false when the id
// is not a configuration block or the data are too short.
bool TakeConfigBlock(TConfiguration& cfg, int id, const uint8_t* data, int size);
// Packs one block's data (length byte − 1 bytes) from the owning data class into out.
void PackConfigBlock(TConfiguration& cfg, int id, uint8_t* out, int size);

// Copies what a device read or a file carries into the reserve image: analogue module 1 and
// the module types, the discrete table, the input counts, names and texts, the function-block
// records, the algorithms and the loop tables.
void RefreshConfigReserve(TConfiguration& cfg);
