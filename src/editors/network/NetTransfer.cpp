#include "NetTransfer.h"

#include "BlockAdapter.h"
#include "BlockExchange.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "LocalNetwork.h"
#include "ScalingKit.h"
#include "ShownTransfer.h"
#include "editors/common/EditorContext.h"

#include <algorithm>

namespace NetTransfer {

bool WriteStage(EditorContext& context, QProgressBar* bar, QWidget* parent, const std::vector<int>& ids,
                int progressMax, int progressStep, void (*stored)(EditorContext&, int)) {
    TConfiguration& cfg = context.Cfg();
    TComPortClass& port = context.ComPort();
    BlockWritePlan plan;
    plan.blockIds = ids;
    plan.progressMax = progressMax;
    plan.progressStep = progressStep;
    // A block is packed before each of its attempts: when block i is packed, the blocks before it
    // are stored.
    int reached = 0;
    plan.pack = [&](int i, std::span<uint8_t> image) {
        reached = std::max(reached, i);
        BlockAdapter::PackBlock(cfg, ids[size_t(i)], image);
    };
    int devNum = cfg.Serv.DevNum;
    const bool ok = RunShownTransfer(port, devNum, bar, parent, [&](const TransferProgress& report) {
        return BlockWriteCommit(port, devNum, plan, report);
    });
    if (stored) {
        const int done = ok ? int(ids.size()) : reached;
        for (int i = 0; i < done; ++i)
            stored(context, i);
    }
    return ok;
}

std::vector<int> GroupBlocks(const EditorContext& context) {
    std::vector<int> ids;
    // The sent groups travel as the last device blocks of 1..8, after the analogue modules' own.
    const int groups = Scaling::SentGroups(context.Cfg());
    for (int id = TProgMBMClass::GroupCount - groups + 1; id <= TProgMBMClass::GroupCount; ++id)
        ids.push_back(id);
    return ids;
}

bool WriteGroups(EditorContext& context, QProgressBar* bar, QWidget* parent, int progressMax,
                 int progressStep) {
    const auto ids = GroupBlocks(context);
    if (ids.empty()) return true;
    const bool ok = WriteStage(context, bar, parent, ids, progressMax, progressStep,
                               [](EditorContext& c, int i) { LocalNet::SaveGroupReserve(c.Cfg(), i); });
    if (!ok) {
        LocalNet::RestoreGroupsFromReserve(context.Cfg());
        return false;
    }
    context.Cfg().MBM.NetEdit.AnGroupsWritten = 1;
    return true;
}

namespace {

std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

// Steps after block 10; false on a failed write.
bool WriteTables(EditorContext& context, QProgressBar* bar, QWidget* parent) {
    TConfiguration& cfg = context.Cfg();
    NetEditState& st = cfg.MBM.NetEdit;
    LocalNet::SaveCountsReserve(cfg);
    st.DescriptorWritten = 1;
    const int own = cfg.Serv.GetCtrlDiCount() + 4 * cfg.Serv.GetCtrlVyhCount();
    if (st.NetTablesChanged == 1) {
        if (!WriteStage(context, bar, parent, Range(12 + own / 24, 19), 80, 10)) return false;
        LocalNet::SaveDiscreteTableReserve(cfg);
        if (!WriteStage(context, bar, parent, Range(40 + own / 16, 51), 120, 10)) return false;
    }
    LocalNet::SaveNamesReserve(cfg);
    if (cfg.FB.FBRenumbered == 1 &&
        !WriteStage(context, bar, parent, Range(20, 20 + cfg.FB.FBCount / 10 - 1), 100, 25))
        return false;
    LocalNet::SaveFbReserve(cfg);
    return true;
}

} // namespace

bool SaveNetwork(EditorContext& context, QProgressBar* bar, QWidget* parent, int speedIndex,
                 int parityIndex) {
    TConfiguration& cfg = context.Cfg();
    NetEditState& st = cfg.MBM.NetEdit;
    bool ok = true;
    if (st.LinkChanged == 1 && (speedIndex < 0 || speedIndex > 3 || parityIndex < 0 || parityIndex > 3)) {
        MessageBox(parent, QStringLiteral("ошибка настроек обмена"), QStringLiteral("Программатор ВЕГ-17"));
        ok = false;
    } else {
        if (!(st.AnGroupsWritten == 1 && st.DescriptorWritten == 1))
            ok = WriteGroups(context, bar, parent, 100, 20);
        if (ok) {
            ok = WriteStage(context, bar, parent, {DeviceBlocks::NetDescriptor}, 100, 20);
            if (ok) LocalNet::SaveDescriptorReserve(cfg);
        }
        // Whatever else changed with the link settings is written too.
        if (ok) ok = WriteTables(context, bar, parent);
        LocalNet::RecountNetInputs(cfg);
        LocalNet::SaveInputTextsReserve(cfg);
        st.NetTablesChanged = 0;
    }
    st.LinkChanged = 0;
    context.ComPort().Delay(3000);
    return ok;
}

bool SaveF15(EditorContext& context, QProgressBar* bar, QWidget* parent, int progressStep) {
    if (!WriteStage(context, bar, parent, {DeviceBlocks::F15Blocks}, 100, progressStep)) return false;
    LocalNet::SaveF15Reserve(context.Cfg());
    context.Cfg().F15.SetF15Modified(0);
    return true;
}

} // namespace NetTransfer
