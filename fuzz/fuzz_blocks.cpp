// Blocks read from the device: the fuzz bytes are a block set, taken into a configuration by the
// one block taker, then read by what shows them: the function-block scheme, the algorithm
// window's block rows, the control-loop scheme, and packed back as a write would. Byte 0: bit 0
// the device refused block 26 (60 blocks), bits 1..3 the number of analogue modules, bits 4..7 a
// block getting a relay output plus one. Then blocks, each its number, its data length and data.

#include "AlgTableEdit.h"
#include "BlockAdapter.h"
#include "BlockSet.h"
#include "DeviceLayouts.h"
#include "FuzzConfig.h"
#include "Panfb.h"
#include "editors/fb/FbSchemeLayout.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/regulators/RegSchemeLayout.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    BlockSet set;
    set.sixtyBlocks = data[0] & 1;
    for (size_t i = 1; i + 1 < size;) {
        const size_t n = std::min<size_t>(data[i + 1], size - i - 2);
        set.blocks.emplace_back(data[i], std::vector<uint8_t>(data + i + 2, data + i + 2 + n));
        i += 2 + n;
    }
    auto cfg = NewConfiguration();
    for (int slot = 1; slot <= ((data[0] >> 1) & 7); ++slot)
        cfg->Serv.SetSlotModuleCode(slot, 6);
    ApplyBlockSet(*cfg, set);

    const auto ident = [](int n) { return QString::number(n); };
    (void)FbScheme::LayOut(cfg->FB, cfg->Serv, ident, TPanFB::kHeight, (data[0] >> 4) - 1);
    (void)BlockRows(cfg->FB, cfg->Serv, CreatFb::TypeNames());
    const RegScheme::Layout reg = RegScheme::LayOut(*cfg, ident);
    for (size_t f = 0; f < reg.frames.size(); ++f) {
        (void)RegScheme::FindRegRow(cfg->Reg, reg.rows, reg.rowCount, int(f));
        (void)RegScheme::FindPZSlot(reg.rows, reg.pzCount, int(f));
    }
    std::array<uint8_t, 256> out{};
    for (const auto& [id, block] : set.blocks)
        (void)BlockAdapter::PackBlock(*cfg, id, out);
    return 0;
}
