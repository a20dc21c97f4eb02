#pragma once
// The rules of the local ModBus-master network over the configuration: the positions its request
// blocks take in the discrete-signal and analogue-input numberings, the recount of the network
// inputs, the deletion of a request block, the checks and the storing of an edited request
// block, and the checks of a Ф15 block. The windows only show what these give.
//
// Positions: block i takes rows StAddr_Beg1(i) .. + DiscreteNeed − 1 of the 192-row discrete
// table and the analogue inputs StAddr_Beg2(i) .. + AnalogueNeed − 1 of the 48 (the local
// channels counted first, GetGroup6FChannels of them); network channel n of the scaling groups
// is analogue input GetGroup6FChannels + n. Empty blocks need nothing and keep starts 0.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <utility>

struct TConfiguration;

namespace LocalNet {

inline constexpr int DiscretePositions = 192;
inline constexpr int AnaloguePositions = 48;

inline bool IsDiscreteCode(int code) {
    return code == 1 || code == 2;
}
inline bool IsAnalogueCode(int code) {
    return code == 3 || code == 4;
}
inline int DiscreteNeed(int code, int outputs) {
    return IsDiscreteCode(code) ? outputs : IsAnalogueCode(code) ? 4 * outputs : 0;
}
inline int AnalogueNeed(int code, int outputs) {
    return IsAnalogueCode(code) ? outputs : 0;
}

// The first network channel of block i (its StAddr_Beg2 less the local channels).
int ChannelBase(const TConfiguration& cfg, int i);

// "Ф" and the code of a used block, else the empty text.
QString BlockCaption(const TConfiguration& cfg, int i);
// "Ф15" for a Ф15 record with a function code, else the empty text.
QString F15Caption(const TConfiguration& cfg, int k);

// The per-block and total network input counts, and the default identifier texts of each used
// block's rows from its own first discrete position (rows past 191 are not written).
void RecountNetInputs(TConfiguration& cfg);

// Deletes request block k (nothing for an empty one; false then): every later record moves
// down one place with its starts reassigned from the running end, the counts drop by the
// block's need, and the discrete table, names, function-block inputs and network channels
// after the freed range move down. The tables must be written: NetTablesChanged = 1,
// DescriptorWritten = 0.
bool DeleteBlock(TConfiguration& cfg, int k);

// The reserve images the list window writes and restores.
void SaveDescriptorReserve(TConfiguration& cfg);
void SaveGroupReserve(TConfiguration& cfg, int group);
void RestoreGroupsFromReserve(TConfiguration& cfg);
void SaveCountsReserve(TConfiguration& cfg);
void SaveDiscreteTableReserve(TConfiguration& cfg);
void SaveNamesReserve(TConfiguration& cfg);
void SaveFbReserve(TConfiguration& cfg);
void SaveInputTextsReserve(TConfiguration& cfg);
// "No" at closing: descriptor, groups, counts, discrete table, names and function blocks as last
// read or written, then the recount.
void RestoreNetworkFromReserve(TConfiguration& cfg);
void SaveF15Reserve(TConfiguration& cfg);
void RestoreF15FromReserve(TConfiguration& cfg);

// --- The request-block editor ---

enum SlaveType { Veg01 = 0, Dkrn = 1, ZolTs = 2, ZolTp = 3, Dlts = 4, Veg05 = 5, Others = 15 };
const QStringList& SlaveTypeItems(); // the 16 items of TipUstr
inline bool IsReserveType(int type) {
    return type >= 6 && type <= 14;
}

// What a type preset puts into the editor.
struct Preset {
    bool typeCleared = false; // "резерв": no type
    int code = 0;             // function code chosen, 0 none
    QString outputs;          // outputs and data count
    QString xmax;
    bool xmaxEnabled = true;
};
Preset PresetFor(int type, int discreteCount);

// True when the slave type accepts the function code (1..4).
bool FunctionAllowed(int type, int code);

// The editor's entries as the close query reads them.
struct RequestEntries {
    int type = -1; // TipUstr item, −1 none
    int code = 0;  // CBoxKodF item + 1, 0 none
    QString slave, outputs, xmax, start, count;
};

// Checks 1..7 of the close query: the messages in order, empty when the block may be stored.
// Checks 1..3 stop at the first failure, checks 4..7 all run.
QStringList CheckRequest(const RequestEntries& e);

// The record, counts and table flag as they were when the editor opened: a refused edit rolls
// back to them.
struct RequestSnapshot {
    std::array<uint8_t, 194> descriptor{};
    int discreteCount = 0;
    int analogueCount = 0;
    int netTablesChanged = 0;
};
RequestSnapshot TakeSnapshot(const TConfiguration& cfg);
void RollBack(TConfiguration& cfg, const RequestSnapshot& s);

// Where a new block i starts: in front of the first used block after it, else at the counts.
std::pair<int, int> NewBlockStarts(const TConfiguration& cfg, int i);

// Stores checked entries into block i (starting at begD, begA), gives every later used block
// its starts from the running end and stores both counts. When the positions run out, returns
// the messages and leaves block i with function code 0 (the caller rolls back). In correction
// mode (an existing block, correction true) a change of the block's need, and a new block made
// in front of a used one, moves the tables behind it: discrete table, names, function-block inputs, network
// channels. The shifts are computed from the stored code and outputs against the entered ones and kept in
// NetEdit.
QStringList StoreRequest(TConfiguration& cfg, int i, const RequestEntries& e, int begD, int begA,
                         bool correction);

// --- The Ф15 block editor ---

struct F15Entries {
    QString code;
    int slave = -1; // CBoxUstr item, −1 none
    QString inputs, start, count;
    bool kvit = false, sbros = false;
    std::array<QString, 32> signalNumbers;
};

// Where a failed Ф15 check is shown.
enum class F15Fault { None, CodeHint, InputsHint, Message };
struct F15Verdict {
    F15Fault fault = F15Fault::None;
    QString message;
    bool nothingToStore = false; // code 0 on an empty block: closes, nothing stored
};
// Checks block k's entries and stores what passes into record k, in the order of the checks;
// a failure stops there.
F15Verdict CheckAndStoreF15(TConfiguration& cfg, int k, const F15Entries& e);

} // namespace LocalNet
