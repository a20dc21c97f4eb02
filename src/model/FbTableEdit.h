#pragma once
// Edits of the function-block table as the block editor makes them: storing a block from the
// values of the block dialog, inserting a new block, inserting or appending a copied run,
// deleting a block, and keeping the algorithm lists in step. No widgets.
//
// Numbering: block index i has the number i + 1. An insertion renumbers only function-block
// numbers (source kind 1) of built blocks, 1..LogicFBCount; discrete and analogue numbers
// (kinds 0, 2, 4) and КВУ numbers stay. Algorithm lists are renumbered by value. Every edit
// keeps the records at and beyond FBCount zero and ends with TProgFBClass::RecountTable.

#include <QString>
#include <array>

class TCopyBlocksClass;
class TProgFBClass;
class TServClass;

namespace FbTable {

constexpr int Inputs = 4;
// Signalling, light-board cells and archiving exist for blocks 1..62 only.
constexpr int SignalledBlocks = 62;

// The counts of the configuration the numbers of a block are checked against.
struct Limits {
    int discreteInputs = 0;
    int analogueInputs = 0;
    int ownInputs = 0;             // light-board cells
    int relayModules = 0;          // relay-output modules
    bool controllerRelays = false; // the controller module has relays of its own (slot-1 code 15)
    static Limits Of(const TServClass& serv);
};

// What the block dialog carries, as numbers. Lists are item indexes.
struct BlockValues {
    int type = 1; // 1..9
    int timerType = 0;
    int timeUnit = 0;
    int time = 0;
    int hour = 0, minute = 0, second = 0;
    int trigger = 0;
    int x1Num = 0;
    int x1Src = 0; // 0 analogue input, 1 math block
    QString limit = "0";
    int condition = 0;
    int hysteresis = 0;
    int countLimit = 0;
    std::array<int, Inputs> inType{};   // 0 inverse, 1 direct
    std::array<int, Inputs> inSource{}; // list index: kinds 0, 1, 2 and 4
    std::array<int, Inputs> inNum{};
    bool archive = false;
};

// The source kind stored for a source list index, and back.
int KindOfSource(int source);
int SourceOfKind(int kind);

// The values of record i as the dialog shows them.
BlockValues ReadBlock(const TProgFBClass& fb, int i);

// The clamps and zeroing rules of storing: time 0..120, hysteresis and counter 0..31, and
// numbers out of range set to 0, judged by the table as it is before the block is stored.
BlockValues ApplyStoreRules(const TProgFBClass& fb, BlockValues v, const Limits& lim);

// Stores v into record i. With edit set a change of type clears bytes 0..8 first.
void StoreBlock(TProgFBClass& fb, int i, const BlockValues& v, bool edit);

// Where a new block goes: at the end (mode 0), before block index q (mode 2), after it (mode 3).
enum class Place { End, Before, After };

// Enters the new block at index q (LogicFBCount for Place::End; the target, or the target + 1 for
// Place::After): the calculation records and the blocks from q move up one index, references to
// moved blocks follow them (the new block's own inputs included, as they were typed in the old
// numbers), signalling of blocks from 62 on is cleared after a move, and the new number enters
// the algorithm lists. False, with nothing changed, when the table is full or q is not in
// 0..LogicFBCount.
bool InsertBlock(TProgFBClass& fb, int q, const BlockValues& v, Place place);

// Copies the chosen blocks (marks in fb.EditorState.Chosen) into the buffer; the copied count.
int CopyChosen(const TProgFBClass& fb, TCopyBlocksClass& copy);

enum class GroupResult { NothingCopied, Gap, NoTarget, NoRoom, Inserted };
// Inserts the copied run before built block index `destination`, or appends it after the last
// block when destination is -1. A copy with a gap, a destination that is not a built block, or
// too little room changes nothing.
GroupResult InsertCopiedRun(TProgFBClass& fb, const TCopyBlocksClass& copy, int destination,
                            const Limits& lim);

// Deletes built block p: references to it are cleared, later ones shift down, the later blocks and
// the calculation records move down one index, and the number leaves the algorithm lists (an
// emptied algorithm is removed with its name).
void DeleteBlock(TProgFBClass& fb, int p);

// Every first-block mark 255, then the first block of every list marked with its number.
void RecomputeAlgMarks(TProgFBClass& fb);

} // namespace FbTable
