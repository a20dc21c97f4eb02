#include "BlockSet.h"

#include "BlockAdapter.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "ModbusFrame.h"

#include <array>

namespace {

bool IsFunctionBlock(int id) {
    return id >= DeviceBlocks::FBFirst && id <= DeviceBlocks::FBLast;
}

int CapacityOf(bool sixtyBlocks) {
    return sixtyBlocks ? 60 : TProgFBClass::FBCapacity;
}

} // namespace

std::vector<int> FunctionBlockIds(int fbCount) {
    std::vector<int> ids;
    for (int i = 0; i < fbCount / TProgFBClass::RecordsPerBlock; ++i)
        ids.push_back(DeviceBlocks::FBFirst + i);
    return ids;
}

int ReadBlockSet(TComPortClass& port, int devNum, const std::vector<int>& ids, ProgressCounter& progress,
                 int step, BlockSet& out) {
    std::array<uint8_t, Frame::MaxFrame> reply{};
    for (int id : ids) {
        progress.Step(step);
        if (out.sixtyBlocks && IsFunctionBlock(id)) continue;
        reply.fill(0);
        const int r = ReadBlock(port, devNum, id, reply);
        if (IsSixtyBlockRefusal(id, r)) {
            out.sixtyBlocks = true;
            continue;
        }
        if (r != 0) return r;
        // ReadBlock checked the length byte against the block's length.
        const auto data = std::span<const uint8_t>(reply).subspan(4, size_t(reply[2] - 1));
        out.blocks.emplace_back(id, std::vector<uint8_t>(data.begin(), data.end()));
    }
    return 0;
}

int ReadFbCapacity(TComPortClass& port, int devNum, int& capacity) {
    // The first block a 60-block device lacks.
    constexpr int id = DeviceBlocks::FBFirst + 60 / TProgFBClass::RecordsPerBlock;
    std::array<uint8_t, Frame::MaxFrame> reply{};
    const int r = ReadBlock(port, devNum, id, reply);
    if (r != 0 && !IsSixtyBlockRefusal(id, r)) return r;
    capacity = CapacityOf(r != 0);
    return 0;
}

void ApplyBlockSet(TConfiguration& cfg, const BlockSet& set) {
    bool functionBlocks = set.sixtyBlocks;
    for (const auto& [id, data] : set.blocks) {
        BlockAdapter::TakeBlock(cfg, id, data);
        functionBlocks = functionBlocks || IsFunctionBlock(id);
    }
    if (!functionBlocks) return;
    TProgFBClass& fb = cfg.FB;
    fb.FBCount = CapacityOf(set.sixtyBlocks);
    for (int i = fb.FBCount; i < TProgFBClass::Slots; ++i)
        fb.ClearRecord(i);
    fb.RecountTable();
}
