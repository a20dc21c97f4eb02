#include "ConfigTransfer.h"

#include "BlockAdapter.h"
#include "BlockExchange.h"
#include "BlockSet.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "LoopReserve.h"
#include "ServInput.h"
#include "ShownTransfer.h"
#include "TextCodec.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

const QString kWarning = QStringLiteral("Предупреждение");
const QString kError = QStringLiteral("Ошибка");

// The discrete records that the device read does not carry are cleared, so nothing of the
// previous configuration survives in the new one (ApplyBlockSet empties function blocks 60..
// of a 60-block device).
void ClearUncarried(TConfiguration& cfg) {
    cfg.Veg.ClearRecords(TProgVegClass::RecordsPerBlock,
                         TProgVegClass::RecordCount - TProgVegClass::RecordsPerBlock);
}

} // namespace

void ApplyComposition(TConfiguration& cfg, const uint8_t* record) {
    cfg.Serv.SetDevAddr(record[Composition::DevNum]);
    for (int s = 0; s < TServClass::SlotCount; ++s)
        cfg.Serv.SetSlotModuleCode(s + 1, record[Composition::SlotCodes + s]);
    cfg.Serv.SetDiscrInCount(record[Composition::DiscreteInputs]);
    cfg.Serv.SetAnInCount(record[Composition::AnalogueInputs]);
}

void TakeDeviceComposition(TConfiguration& cfg, const uint8_t* record) {
    ApplyComposition(cfg, record);
    cfg.Serv.SetDefaultInputTexts();
}

bool FbCapacityMatches(QWidget* parent, TComPortClass& port, int devNum, int fbCount) {
    int capacity = 0;
    if (!RunShownTransfer(port, devNum, nullptr, parent, [&](const TransferProgress&) {
            return port.Run([&] { return ReadFbCapacity(port, devNum, capacity); });
        }))
        return false;
    if (capacity == fbCount) return true;
    MessageBox(parent,
               QStringLiteral("Прибор  на %1 ФБ,\nконфигурация на %2 ФБ.\nПередача невозможна")
                   .arg(capacity)
                   .arg(fbCount),
               kError, MsgButtons::OK, MsgIcon::Error);
    return false;
}

// The relay output count is not kept by the configuration: eight per relay module.
void BuildComposition(const TConfiguration& cfg, uint8_t* record) {
    std::memset(record, 0, Composition::Size);
    record[Composition::DevNum] = uint8_t(cfg.Serv.GetDevAddr());
    for (int s = 0; s < TServClass::SlotCount; ++s)
        record[Composition::SlotCodes + s] = uint8_t(cfg.Serv.GetSlotModuleCode(s + 1));
    record[Composition::DiscreteInputs] = uint8_t(cfg.Serv.GetDiscrInCount());
    record[Composition::AnalogueInputs] = uint8_t(cfg.Serv.GetAnInCount());
    const int relays = 8 * cfg.Serv.GetCntModMR();
    record[Composition::RelayOutputs] = uint8_t(relays & 0xFF);
    record[Composition::RelayOutputs + 1] = uint8_t(relays >> 8);
}

std::vector<int> ConfigBlockIds(int fbCount) {
    std::vector<int> ids{DeviceBlocks::AnModuleFirst, DeviceBlocks::DiscreteFirst};
    for (int i = 0; i < fbCount / TProgFBClass::RecordsPerBlock; ++i)
        ids.push_back(DeviceBlocks::FBFirst + i);
    for (int id : {DeviceBlocks::RegLoops, DeviceBlocks::RegProgram, DeviceBlocks::UnitList,
                   DeviceBlocks::NamesFirst, DeviceBlocks::NamesFirst + 1})
        ids.push_back(id);
    return ids;
}

bool TakeConfigBlock(TConfiguration& cfg, int id, const uint8_t* data, int size) {
    if (data == nullptr || size < 0) return false;
    return BlockAdapter::TakeBlock(cfg, id, std::span<const uint8_t>(data, size_t(size)));
}

void PackConfigBlock(TConfiguration& cfg, int id, uint8_t* out, int size) {
    if (out == nullptr || size <= 0) return;
    std::memset(out, 0, size_t(size));
    BlockAdapter::PackBlock(cfg, id, std::span<uint8_t>(out, size_t(size)));
}

void RefreshConfigReserve(TConfiguration& cfg) {
    auto& r = cfg.Reserv;
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        r.ModuleImages().SetByte(0, k, cfg.MBA.GetModuleByte(0, k));
    for (int m = 0; m < TProgMBAClass::ModuleCount; ++m)
        r.SetModuleType(m, cfg.MBA.GetModuleType(m));
    for (int i = 0; i < TProgVegClass::RecordCount; ++i) {
        const auto rec = cfg.Veg.GetRecord(i);
        r.DiscreteTable().Set(i, rec.data(), int(rec.size()));
    }
    r.SetDiscrInCount(cfg.Serv.GetDiscrInCount());
    r.SetAnInCount(cfg.Serv.GetAnInCount());
    for (int i = 0; i < TServClass::InputCount; ++i) {
        QByteArray row = cfg.Serv.GetNameRow(i);
        row.append('\0'); // reserve rows are 15 bytes
        r.Names().Set(i, row);
        r.SetInputTextRow(i, cfg.Serv.GetInputTextRow(i));
    }
    for (int i = 0; i < TProgFBClass::Slots; ++i) {
        const auto rec = cfg.FB.GetRecord(i);
        r.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
    // The algorithm tables, with their names as stored (100 bytes, blank padded).
    const auto& alg = cfg.FB.AlgTable;
    r.ResetAlgorithms();
    r.AlgReserve.SetCount(alg.GetCount());
    for (int a = 0; a < TProgFBClass::Slots; ++a) {
        r.AlgReserve.SetMark(a, alg.GetMark(a));
        for (int j = 0; j < TReservBlocksClass::AlgListLen; ++j)
            r.AlgReserve.SetEntry(a, j, alg.GetEntry(a, j));
        std::array<uint8_t, TProgFBClass::TextLen> name{};
        TextCodec::EncodePadded(cfg.FB.GetFbText(a), name.data(), int(name.size()));
        r.AlgNames().Set(a, name.data(), int(name.size()));
    }
    SaveLoopReserve(cfg);
}

namespace {

// The identify request into s, and every configuration block into blocks; 0 or the failure.
// Runs on the exchange thread.
int ReadConfigBlocks(TConfiguration& s, BlockSet& blocks, TComPortClass& port, int devNum,
                     const TransferProgress& report) {
    const std::vector<int> ids = ConfigBlockIds(TProgFBClass::FBCapacity);
    ProgressCounter progress(report, int(ids.size()) + 1);
    progress.Start();
    uint8_t comp[Composition::Size] = {};
    if (const int r = ReadComposition(port, devNum, comp); r != 0) return r;
    TakeDeviceComposition(s, comp);
    progress.Step(1);
    return ReadBlockSet(port, devNum, ids, progress, 1, blocks);
}

} // namespace

// The read goes into a scratch copy that replaces the configuration only when every block
// has come: a failed read leaves the configuration, its mode and its reserve image as they
// were.
bool ReadConfigFromDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                          QProgressBar* progress) {
    auto scratch = std::make_unique<TConfiguration>(cfg);
    TConfiguration& s = *scratch;
    BlockSet blocks;
    if (!RunShownTransfer(port, devNum, progress, parent, [&](const TransferProgress& report) {
            return port.Run([&] { return ReadConfigBlocks(s, blocks, port, devNum, report); });
        }))
        return false;
    ApplyBlockSet(s, blocks);
    ClearUncarried(s);
    s.Serv.ClearNames(2 * TServClass::NamesPerBlock, TServClass::InputCount - 2 * TServClass::NamesPerBlock);
    // The algorithms exist only in files.
    s.FB.ResetAlgorithms();
    s.Serv.FileMode = 0;
    s.Serv.Modified = 0;
    s.Serv.CompositionOnly = 0;
    s.Serv.DevNum = devNum;
    RefreshConfigReserve(s);
    cfg = std::move(s);
    return true;
}

bool WriteConfigToDevice(QWidget* parent, TConfiguration& cfg, TComPortClass& port, int devNum,
                         QProgressBar* progress) {
    if (!ServInput::TransferAllowed(cfg.Veg, parent)) return false;
    if (!cfg.Serv.HoldsConfiguration()) {
        MessageBox(parent, QStringLiteral("Конфигурация не задана"), kWarning, MsgButtons::OK,
                   MsgIcon::Warning);
        return false;
    }
    uint8_t dev[Composition::Size] = {};
    uint8_t own[Composition::Size] = {};
    if (const int r = ReadComposition(port, devNum, dev); r != 0) {
        ShowObmError(port, devNum, r, parent);
        return false;
    }
    BuildComposition(cfg, own);
    if (dev[Composition::DiscreteInputs] != own[Composition::DiscreteInputs] ||
        dev[Composition::AnalogueInputs] != own[Composition::AnalogueInputs]) {
        MessageBox(
            parent,
            QStringLiteral("Количество входов прибора\nне соответствует конфигурации.\nПередача невозможна"),
            kError, MsgButtons::OK, MsgIcon::Error);
        return false;
    }
    // A device of another block capacity would keep blocks of its own beside the written ones,
    // or refuse the blocks it lacks half-way.
    if (!FbCapacityMatches(parent, port, devNum, cfg.FB.FBCount)) return false;
    if (std::memcmp(dev + Composition::SlotCodes, own + Composition::SlotCodes, TServClass::SlotCount) != 0 &&
        MessageBox(
            parent,
            QStringLiteral("Состав модулей прибора\nне соответствует конфигурации.\nПродолжить передачу?"),
            kWarning, MsgButtons::YesNo, MsgIcon::Warning, mrNo) != mrYes)
        return false;

    BlockWritePlan plan;
    plan.blockIds = ConfigBlockIds(cfg.FB.FBCount);
    plan.pack = [&](int i, std::span<uint8_t> image) {
        PackConfigBlock(cfg, plan.blockIds[size_t(i)], image.data(), int(image.size()));
    };
    plan.progressMax = int(plan.blockIds.size());
    plan.progressStep = 1;
    int dn = devNum;
    if (!RunShownTransfer(port, dn, progress, parent, [&](const TransferProgress& report) {
            return BlockWriteCommit(port, dn, plan, report);
        }))
        return false;
    RefreshConfigReserve(cfg);
    return true;
}
