#pragma once
// The function-block scheme as data: which records become panels, where each element of a block
// stands, what its panel shows, which blocks feed it, its connectors and the algorithm labels.
// Computed from the records without any widget; the editor window places its widgets from it.
//
// Rows and columns: three panels a row. A block goes one column right of the block before; a
// block after a relay output, or after the third column, starts the next row; so does the first
// block of an algorithm that would not stand in column 0.

#include "Paneltypes.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TProgFBClass;
class TServClass;
struct FBLinkRecord;

namespace FbScheme {

constexpr int ColumnWidth = 250;
constexpr int RowHeight = 120;
constexpr int SchemeTop = 15; // the first row's top
constexpr int RelayLeft = 750;
constexpr int RelayWidth = 64;
constexpr int Inputs = 4;

// The words of a block's link record, named.
struct Link {
    int index = 0; // the block's index
    int left = 0;
    int top = 0;
    int row = 0;
    int column = 0;
    std::array<int, Inputs> feeders{}; // the block number feeding input j; 0 when none
    // The record as the editor state keeps it.
    FBLinkRecord ToRecord() const;
};

struct Input {
    QString caption;
    InputType type = itNormal;
};

// The settings the panel shows; only those of the block's type are present.
struct Settings {
    struct Alarm {
        int hour = 0, minute = 0, second = 0;
    };
    std::optional<TimerType> timer;
    std::optional<Alarm> alarm;         // timer T5
    std::optional<TimerDiskr> timeUnit; // timers and comparators, with time
    int time = 0;                       // 0..120
    std::optional<TriggerType> trigger;
    std::optional<ComparatorCondition> condition; // comparators, with limit and hysteresis
    float limit = 0;
    int hysteresis = 0;            // 0..31
    std::optional<int> countLimit; // counters
};

struct Connector {
    QPoint pos;
    ShapeZType shape = stZigzag0;
    bool shown = false;
};

struct Signalling {
    int type = 0;
    int cell = 0; // the light-board cell
    QPoint panel;
    Connector connector;
};

struct RelayOutput {
    std::array<uint8_t, 5> masks{}; // relay modules 1..5, bit r for relay r + 1
    QPoint panel;                   // RelayWidth wide
    QPoint line;                    // from the block's column to the relay panel
    int lineWidth = 0;
};

struct Block {
    TFBType type = ftAND;
    Settings settings;
    std::array<Input, Inputs> inputs;
    Link link;
    QPoint panel;
    QRect background; // behind the panel and, with a relay output, its line and relay panel
    QPoint mark;
    Connector output; // reaches the input of the next block that takes this one, or the relay line
    std::optional<Signalling> signalling;
    std::optional<RelayOutput> relay;
};

struct AlgorithmLabel {
    QString caption;
    QPoint pos;
    bool shown = true; // false: the algorithm keeps its slot but gets no label
};

struct Layout {
    std::vector<Block> blocks; // block n at position n
    std::vector<AlgorithmLabel> labels;
    // The calculation records after the blocks.
    int integrators = 0;
    int arithBlocks = 0;
    // The scheme area's height; none without blocks.
    std::optional<int> height;
};

// The scheme of the logic records from index 0 up to the first record of another type, within
// FBCount. analogueIdent gives the identifier of analogue signal number 1..192; panelHeight is
// the height of a block panel. Block addingRelay (an index) gets a relay output although its
// relay masks are still empty: one is being added.
Layout LayOut(const TProgFBClass& fb, const TServClass& serv,
              const std::function<QString(int)>& analogueIdent, int panelHeight, int addingRelay = -1);

// The signalling panel and its connector beside the block panel at `panel`.
Signalling SignallingAt(QPoint panel, int type, int cell);

} // namespace FbScheme
