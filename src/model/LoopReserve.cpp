#include "LoopReserve.h"

#include "Configuration.h"

void SaveLoopReserve(TConfiguration& cfg, int table) {
    if (table != 0 && table != 1) return;
    auto& image = cfg.Reserv.LoopRecords();
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < TProgRegClass::RecordSize; ++k)
            image.SetByte(table * TProgRegClass::RegMaxCount + i, k,
                          table == 0 ? cfg.Reg.GetRecByte(i, k) : cfg.Reg.GetPZByte(i, k));
}

void SaveLoopReserve(TConfiguration& cfg) {
    SaveLoopReserve(cfg, 0);
    SaveLoopReserve(cfg, 1);
}

void RestoreLoopReserve(TConfiguration& cfg) {
    const auto& image = cfg.Reserv.LoopRecords();
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < TProgRegClass::RecordSize; ++k) {
            cfg.Reg.SetRecByte(i, k, image.GetByte(i, k));
            cfg.Reg.SetPZByte(i, k, image.GetByte(TProgRegClass::RegMaxCount + i, k));
        }
}
