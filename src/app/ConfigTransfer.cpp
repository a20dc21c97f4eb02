#include "ConfigTransfer.h"

void ApplyComposition(TConfiguration&, const uint8_t*) {}

void BuildComposition(const TConfiguration&, uint8_t*) {}

bool ReadConfigFromDevice(QWidget*, TConfiguration&, TComPortClass&, int, QProgressBar*) { return false; }

bool WriteConfigToDevice(QWidget*, TConfiguration&, TComPortClass&, int, QProgressBar*) { return false; }
