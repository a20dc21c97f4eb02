#pragma once
// The writes of the local-network windows, one BlockWritePlan per stage, each shown on the
// window's bar and its failure reported once (ShowObmError).

#include <vector>

class EditorContext;
class QProgressBar;
class QWidget;

namespace NetTransfer {

// Writes blocks ids in order by BlockWriteCommit with the bar's maximum and step; after each
// stored block calls stored(index) (null allowed). True when every block is stored.
bool WriteStage(EditorContext& context, QProgressBar* bar, QWidget* parent, const std::vector<int>& ids,
                int progressMax, int progressStep, void (*stored)(EditorContext&, int) = nullptr);

// The device blocks of the network scaling groups: n + 1 .. 8 for n analogue modules.
std::vector<int> GroupBlocks(const EditorContext& context);

// Writes the scaling groups; each stored group goes into the reserve, a failure restores all
// eight from it. True when all are stored.
bool WriteGroups(EditorContext& context, QProgressBar* bar, QWidget* parent, int progressMax,
                 int progressStep);

// The whole network after the list window's edits: groups (unless the groups and the descriptor
// are written), block 10, then, when the tables changed, blocks 12.., 40.., and the function
// blocks when their inputs were renumbered; reserves after each stage, the recount, and a
// final pause of 3000 ms. False with "ошибка настроек обмена" (shown) for a bad link setting.
bool SaveNetwork(EditorContext& context, QProgressBar* bar, QWidget* parent, int speedIndex, int parityIndex);

// Block 11 with the bar's maximum and step; on success the reserve and F15Modified = 0.
bool SaveF15(EditorContext& context, QProgressBar* bar, QWidget* parent, int progressStep);

} // namespace NetTransfer
