#pragma once
// Reading the configuration from the device and writing it back.

#include <cstdint>

class QProgressBar;
class QWidget;
class TComPortClass;
struct TConfiguration;

// The 15-byte device composition into the configuration (device number, slot module codes,
// input counts) and back.
void ApplyComposition(TConfiguration& cfg, const uint8_t* record);
void BuildComposition(const TConfiguration& cfg, uint8_t* record);

// Reads the composition (identify request) and the configuration blocks from device devNum
// (counted from 0), stepping the progress bar. A failure is reported once and ends the read.
// On success the configuration is in device mode and its reserve image holds what was read.
bool ReadConfigFromDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                          QProgressBar* progress);

// Writes the configuration to device devNum after the access level, the presence of a
// configuration and the device's composition have been checked; reports every refusal and
// failure itself.
bool WriteConfigToDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                         QProgressBar* progress);
