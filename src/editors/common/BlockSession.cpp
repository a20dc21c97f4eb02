#include "BlockSession.h"

#include "BlockAdapter.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "ModbusFrame.h"
#include "TransferProgressBar.h"

#include <QWidget>
#include <algorithm>
#include <array>

namespace {

bool IsFunctionBlock(int id) {
    return id >= DeviceBlocks::FBFirst && id <= DeviceBlocks::FBLast;
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

void ApplyBlockSet(TConfiguration& cfg, const BlockSet& set) {
    bool functionBlocks = set.sixtyBlocks;
    for (const auto& [id, data] : set.blocks) {
        BlockAdapter::TakeBlock(cfg, id, data);
        functionBlocks = functionBlocks || IsFunctionBlock(id);
    }
    if (!functionBlocks) return;
    TProgFBClass& fb = cfg.FB;
    fb.FBCount = set.sixtyBlocks ? 60 : TProgFBClass::FBCapacity;
    for (int i = fb.FBCount; i < TProgFBClass::Slots; ++i)
        fb.ClearRecord(i);
    fb.RecountLogicFBCount();
}

BlockSession::BlockSession(TConfiguration& cfg, TComPortClass& port, QWidget* parent,
                           BlockSessionBlocks blocks)
    : cfg_(cfg), port_(port), parent_(parent), blocks_(std::move(blocks)) {}

bool BlockSession::Read(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1) return false;
    const std::vector<int> ids = blocks_.readIds(cfg_);
    const int devNum = cfg_.Serv.DevNum;
    BlockSet set;
    int r = 0;
    {
        TransferProgressBar shown(bar);
        const TransferProgress report = shown.Report();
        r = port_.Run([&] {
            ProgressCounter progress(report, blocks_.progressMax);
            progress.Start();
            return ReadBlockSet(port_, devNum, ids, progress, blocks_.progressStep, set);
        });
    }
    if (r != 0) {
        port_.ShowObmError(devNum, r, parent_);
        return false;
    }
    ApplyBlockSet(cfg_, set);
    if (set.sixtyBlocks)
        MessageBox(parent_, QStringLiteral("Прибор  на 60 ФБ"), QStringLiteral("Предупреждение"),
                   MsgButtons::OK, MsgIcon::Warning);
    return true;
}

bool BlockSession::Write(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1) return false;
    if (!cfg_.Veg.TransferAllowed(parent_)) {
        ClearModified();
        return false;
    }
    if (!Modified() && MessageBox(parent_, QStringLiteral("Данные не были изменены.Передавать?"),
                                  QStringLiteral("Подтвердите передачу данных"), MsgButtons::YesNo,
                                  MsgIcon::Question, mrNo) != mrYes)
        return false;

    ClearModified();
    BlockWritePlan plan;
    plan.blockIds = blocks_.writeIds ? blocks_.writeIds(cfg_) : blocks_.readIds(cfg_);
    // A length byte past the block would send bytes no block holds.
    const int len = blocks_.lengthByte ? blocks_.lengthByte(cfg_) : Frame::MaxData;
    plan.lengthByte = [&plan, len](int i) {
        return std::clamp(len, 1, DeviceBlocks::LengthOf(plan.blockIds[size_t(i)]));
    };
    plan.pack = [this, &plan](int i, std::span<uint8_t> image) {
        BlockAdapter::PackBlock(cfg_, plan.blockIds[size_t(i)], image);
    };
    plan.progressMax = blocks_.progressMax;
    plan.progressStep = blocks_.progressStep;
    int devNum = cfg_.Serv.DevNum;
    int r = 0;
    {
        TransferProgressBar shown(bar);
        r = BlockWriteCommit(port_, devNum, plan, shown.Report());
    }
    if (r != 0) {
        port_.ShowObmError(devNum, r, parent_);
        return false;
    }
    if (blocks_.saveReserve) blocks_.saveReserve(cfg_);
    if (parent_ && blocks_.writtenCaption) parent_->setWindowTitle(blocks_.writtenCaption(cfg_));
    return true;
}

bool BlockSession::CloseQuery(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1) {
        if (blocks_.saveReserveOnFileClose && blocks_.saveReserve) blocks_.saveReserve(cfg_);
        if (Modified()) cfg_.Serv.Modified = 1;
        return true;
    }
    if (!Modified()) return true;
    switch (MessageBox(parent_, blocks_.closeQuestion, blocks_.closeCaption, MsgButtons::YesNoCancel,
                       MsgIcon::Question, mrNo)) {
    case mrYes:
        Write(bar);
        return true;
    case mrNo:
        ClearModified();
        if (blocks_.restoreReserve) blocks_.restoreReserve(cfg_);
        return true;
    default:
        return false;
    }
}
