#include "BlockSession.h"

#include "BlockAdapter.h"
#include "BlockSet.h"
#include "Comportclass.h"
#include "ConfigTransfer.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "ModbusFrame.h"
#include "ServInput.h"
#include "ShownTransfer.h"

#include <QWidget>
#include <algorithm>
#include <array>

BlockSession::BlockSession(TConfiguration& cfg, TComPortClass& port, QWidget* parent,
                           BlockSessionBlocks blocks)
    : cfg_(cfg), port_(port), parent_(parent), blocks_(std::move(blocks)) {}

bool BlockSession::Read(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1) return false;
    const std::vector<int> ids = blocks_.readIds(cfg_);
    const int devNum = cfg_.Serv.DevNum;
    const bool identify = blocks_.compositionTaken && !cfg_.Serv.HoldsConfiguration();
    uint8_t composition[Composition::Size] = {};
    BlockSet set;
    const bool read = RunShownTransfer(port_, devNum, bar, parent_, [&](const TransferProgress& report) {
        return port_.Run([&] {
            ProgressCounter progress(report, blocks_.progressMax);
            progress.Start();
            if (identify)
                if (const int r = ReadComposition(port_, devNum, composition); r != 0) return r;
            return ReadBlockSet(port_, devNum, ids, progress, blocks_.progressStep, set);
        });
    });
    if (!read) return false;
    if (identify) {
        TakeDeviceComposition(cfg_, composition);
        cfg_.Serv.CompositionOnly = 1;
    }
    ApplyBlockSet(cfg_, set);
    if (set.sixtyBlocks)
        MessageBox(parent_, QStringLiteral("Прибор  на 60 ФБ"), QStringLiteral("Предупреждение"),
                   MsgButtons::OK, MsgIcon::Warning);
    if (identify) blocks_.compositionTaken(cfg_);
    return true;
}

bool BlockSession::Write(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1) return false;
    if (!ServInput::TransferAllowed(cfg_.Veg, parent_)) {
        ClearModified();
        return false;
    }
    if (blocks_.askWhenUnmodified && !Modified() &&
        MessageBox(parent_, QStringLiteral("Данные не были изменены.Передавать?"),
                   QStringLiteral("Подтвердите передачу данных"), MsgButtons::YesNo, MsgIcon::Question,
                   mrNo) != mrYes)
        return false;
    if (blocks_.checkFbCapacity && !FbCapacityMatches(parent_, port_, cfg_.Serv.DevNum, cfg_.FB.FBCount))
        return false;

    if (!blocks_.clearModifiedAfterWrite) ClearModified();
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
    plan.pauseBeforeBlockMs = blocks_.pauseBeforeBlockMs;
    plan.refresh = blocks_.devNumRefresh;
    plan.stepBeforeFirstWrite = blocks_.stepBeforeFirstWrite;
    if (blocks_.blockStored)
        plan.stored = [this, &plan](int i) { blocks_.blockStored(cfg_, plan.blockIds[size_t(i)]); };
    const int devAddr = cfg_.Serv.GetDevAddr();
    plan.devAddr = [devAddr] { return devAddr; };
    int devNum = cfg_.Serv.DevNum;
    const bool stored = RunShownTransfer(port_, devNum, bar, parent_, [&](const TransferProgress& report) {
        return BlockWriteCommit(port_, devNum, plan, report);
    });
    if (blocks_.devNumRefresh != DevNumRefresh::Never) cfg_.Serv.DevNum = devNum;
    if (!stored) {
        if (blocks_.writeFailed) blocks_.writeFailed(cfg_);
        return false;
    }
    if (blocks_.clearModifiedAfterWrite) ClearModified();
    if (blocks_.saveReserve) blocks_.saveReserve(cfg_);
    if (blocks_.written) blocks_.written(cfg_);
    if (parent_ && blocks_.writtenCaption) parent_->setWindowTitle(blocks_.writtenCaption(cfg_));
    return true;
}

bool BlockSession::CloseQuery(QProgressBar* bar) {
    if (cfg_.Serv.FileMode == 1 && blocks_.saveReserveOnFileClose && blocks_.saveReserve)
        blocks_.saveReserve(cfg_);
    return CloseStaged(cfg_, parent_,
                       {Modified(), blocks_.closeQuestion, blocks_.closeCaption, [&] { Write(bar); },
                        [&] {
                            ClearModified();
                            if (blocks_.restoreReserve) blocks_.restoreReserve(cfg_);
                        }});
}

bool BlockSession::CloseStaged(TConfiguration& cfg, QWidget* parent, const CloseStage& stage) {
    if (!stage.modified) return true;
    if (cfg.Serv.FileMode == 1) {
        cfg.Serv.Modified = 1;
        return true;
    }
    switch (
        MessageBox(parent, stage.question, stage.caption, MsgButtons::YesNoCancel, MsgIcon::Question, mrNo)) {
    case mrYes:
        stage.write();
        return true;
    case mrNo:
        stage.restore();
        return true;
    default:
        return false;
    }
}
