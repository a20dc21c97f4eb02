#include "BlockAdapter.h"

#include "Configuration.h"
#include "DeviceLayouts.h"

#include <algorithm>
#include <array>

using namespace DeviceBlocks;

namespace BlockAdapter {
namespace {

enum class Kind {
    None,
    Module,
    ScaleGroup,
    Relay,
    Descriptor,
    F15,
    Discrete,
    FB,
    Loops,
    Units,
    Names,
    Range
};

// Where block id lives: the kind of record and its index (module, group, page, table id).
struct Target {
    Kind kind = Kind::None;
    int index = 0;
};

bool Within(int id, int first, int last) {
    return id >= first && id <= last;
}

constexpr int LongestBlockData() {
    int n = 0;
    for (int id = 0; id < 256; ++id)
        n = std::max(n, LengthOf(id) - 1);
    return n;
}

Target Resolve(const TConfiguration& cfg, int id) {
    if (Within(id, AnModuleFirst, AnModuleLast)) {
        const int k = id - AnModuleFirst;
        const int modules = cfg.Serv.GetCntMod6F();
        return k < modules ? Target{Kind::Module, k} : Target{Kind::ScaleGroup, k - modules};
    }
    if (id == RelayBase) return {Kind::Relay, 0};
    if (id == NetDescriptor) return {Kind::Descriptor, 0};
    if (id == F15Blocks) return {Kind::F15, 0};
    if (Within(id, DiscreteFirst, DiscreteLast)) return {Kind::Discrete, id - DiscreteFirst};
    if (Within(id, FBFirst, FBLast)) return {Kind::FB, id - FBFirst};
    if (id == RegLoops || id == RegProgram) return {Kind::Loops, id};
    if (id == UnitList) return {Kind::Units, 0};
    if (Within(id, NamesFirst, NamesLast)) return {Kind::Names, id - NamesFirst};
    if (Within(id, RangeFirst, RangeLast)) return {Kind::Range, id - RangeFirst};
    return {};
}

// An image whose byte 0 holds the block number and whose next bytes are the block data.
template <class SetByte> void TakeImage(int id, std::span<const uint8_t> data, SetByte set) {
    set(0, id);
    for (size_t k = 0; k < data.size(); ++k)
        set(int(k) + 1, data[k]);
}

template <class GetByte> void PackImage(std::span<uint8_t> out, GetByte get) {
    for (size_t k = 0; k < out.size(); ++k)
        out[k] = uint8_t(get(int(k) + 1));
}

template <class GetByte> void PackBytes(std::span<uint8_t> out, GetByte get) {
    for (size_t k = 0; k < out.size(); ++k)
        out[k] = uint8_t(get(int(k)));
}

void Take(TConfiguration& cfg, int id, Target t, std::span<const uint8_t> data, int len) {
    switch (t.kind) {
    case Kind::Module:
        TakeImage(id, data, [&](int k, int v) { cfg.MBA.SetModuleByte(t.index, k, v); });
        cfg.MBA.SetBlockLen(len);
        break;
    case Kind::ScaleGroup:
        TakeImage(id, data, [&](int k, int v) { cfg.MBM.SetBlockByte(t.index, k, v); });
        cfg.MBM.SetScaleLen(len);
        break;
    case Kind::Relay:
        TakeImage(id, data, [&](int k, int v) { cfg.MR.SetModByte(k, v); });
        cfg.MR.SetBlockLen(len);
        break;
    case Kind::Descriptor:
        TakeImage(id, data, [&](int k, int v) { cfg.MBM.SetByte(k, v); });
        cfg.MBM.SetDescriptorLen(len);
        break;
    case Kind::F15:
        TakeImage(id, data, [&](int k, int v) { cfg.F15.SetByte(k, v); });
        cfg.MBM.SetF15Len(len);
        break;
    case Kind::Discrete:
        cfg.Veg.BlockToRecords(t.index, data.data(), int(data.size()));
        cfg.Veg.SetBlockLen(len);
        break;
    case Kind::FB:
        cfg.FB.TakeBlockData(data);
        cfg.FB.BlockToFbs(t.index);
        cfg.FB.BlockLengthByte = len;
        break;
    case Kind::Loops:
        cfg.Reg.TakeBlockData(data);
        cfg.Reg.BlockToRecords(t.index);
        cfg.Reg.SetBlockLen(len);
        break;
    case Kind::Units:
        for (size_t k = 0; k < data.size(); ++k)
            cfg.MBA.SetUnitListByte(int(k), data[k]);
        break;
    case Kind::Names:
        cfg.Serv.BlockToNameTable(t.index, data.data(), int(data.size()));
        cfg.Serv.SetNameBlockLen(len);
        break;
    case Kind::Range:
        cfg.MBA.TakeRangeRecord(t.index, data);
        break;
    case Kind::None:
        break;
    }
}

void Pack(TConfiguration& cfg, Target t, std::span<uint8_t> out) {
    switch (t.kind) {
    case Kind::Module:
        PackImage(out, [&](int k) { return cfg.MBA.GetModuleByte(t.index, k); });
        break;
    case Kind::ScaleGroup:
        PackImage(out, [&](int k) { return cfg.MBM.GetBlockByte(t.index, k); });
        break;
    case Kind::Relay:
        PackImage(out, [&](int k) { return cfg.MR.GetModByte(k); });
        break;
    case Kind::Descriptor:
        PackImage(out, [&](int k) { return cfg.MBM.GetByte(k); });
        break;
    case Kind::F15:
        PackImage(out, [&](int k) { return cfg.F15.GetByte(k); });
        break;
    case Kind::Discrete:
        cfg.Veg.RecordsToBlock(t.index);
        PackBytes(out, [&](int k) { return cfg.Veg.GetBlockByte(k); });
        break;
    case Kind::FB:
        cfg.FB.FbsToBlock(t.index);
        PackBytes(out, [&](int k) { return cfg.FB.GetPageByte(k); });
        break;
    case Kind::Loops:
        cfg.Reg.RecordsToBlock(t.index);
        PackBytes(out, [&](int k) { return cfg.Reg.GetBufferByte(k); });
        break;
    case Kind::Units:
        PackBytes(out, [&](int k) { return cfg.MBA.GetUnitListByte(k); });
        break;
    case Kind::Names:
        cfg.Serv.NameTableToBlock(t.index);
        PackBytes(out, [&](int k) { return cfg.Serv.GetNameBlockByte(k); });
        break;
    case Kind::Range:
        PackBytes(out, [&](int k) { return cfg.MBA.GetRangeRecordByte(t.index, k); });
        break;
    case Kind::None:
        break;
    }
}

} // namespace

bool TakeBlock(TConfiguration& cfg, int id, std::span<const uint8_t> data) {
    const Target t = Resolve(cfg, id);
    const int len = LengthOf(id);
    if (t.kind == Kind::None || data.size() < size_t(len - 1)) return false;
    Take(cfg, id, t, data.first(size_t(len - 1)), len);
    return true;
}

bool PackBlock(TConfiguration& cfg, int id, std::span<uint8_t> out) {
    const Target t = Resolve(cfg, id);
    if (t.kind == Kind::None) return false;
    std::array<uint8_t, LongestBlockData()> block{};
    const auto data = std::span<uint8_t>(block).first(size_t(LengthOf(id) - 1));
    Pack(cfg, t, data);
    std::copy_n(data.begin(), std::min(data.size(), out.size()), out.begin());
    return true;
}

} // namespace BlockAdapter
