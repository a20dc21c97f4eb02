#pragma once
// The control-loop scheme as data: one frame per loop group, its loop panels (two for a cascade),
// the program set-point panel of a ПЗ-fed loop, the output marks and the connectors, with the
// row and frame bookkeeping they give. Computed from the loop tables without any widget; the
// editor window places its widgets from it.
//
// Every index taken from a record (a cascade's inner loop, a ПЗ number, a PV input) is used only
// when it names an existing record or channel; a type code of no known kind draws a plain frame
// with its mark.

#include "Paneltypes.h"
#include "Panreg.h"
#include "TProgRegClass.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

struct TConfiguration;

namespace RegScheme {

constexpr int FrameLeft = 24;
constexpr int FrameWidth = 600;
constexpr int FrameHeight = 320;
constexpr int PanelTop = 15;      // below the frame's top
constexpr int OuterLeft = 20;     // the outer loop of a cascade and a ПЗ panel, from the frame's left
constexpr int LoopLeft = 232;     // every other loop panel
constexpr int MarkLeft = 109;     // a mark, from its panel's left
constexpr int ConnectorTop = 44;  // a connector, below its panel's top
constexpr int ConnectorLeft = 80; // a connector, from its mark's left
constexpr int HeightMargin = 20;

enum Kind { Repeater = 0, Single = 1, Cascade = 2, ProgramFed = 3 };

// True for the type codes of the four kinds: 0, 1, 8..13, 16..21.
bool KnownType(int typeCode);

struct Loop {
    int row = 0;
    int record = 0;
    TRegType type = rtPID;
    TTypeOut out = toDirect;
    int spType = 0;                // the type code, shown as the set-point kind
    QString ident;                 // the PV input's identifier
    std::array<float, 6> params{}; // Kp, Ti, Td, OL, OH, OSF
    QPoint panel;
    QPoint mark;
    QString markText;
};

struct ProgramPanel {
    int slot = 0;
    int pz = 0; // the ПЗ record
    std::array<int, TProgRegClass::PZPoints> times{};
    std::array<float, TProgRegClass::PZPoints> values{}; // in the PV input's units
    QPoint panel;
    QPoint mark;
    QString markText;
    QPoint connector; // shape stProgramSP
};

struct Frame {
    QRect rect;
    int kind = 0;            // the main loop's kind; another type code for a loop of no known kind
    std::vector<Loop> loops; // the main loop first; a cascade's inner loop second
    std::optional<QPoint> cascadeConnector; // shape stCascade, on the outer loop's row
    std::optional<ProgramPanel> program;
};

// A loop drawn in row r (a repeater or single loop) drives DAC output r + 1: its record's output
// byte is set to r when it differs.
struct OutputFix {
    int record = 0;
    int output = 0;
};

struct Layout {
    std::vector<Frame> frames;
    RegEditState rows; // FrameCount, RowFrame, RowRecord, PZFrame, PZNumber; the rest cleared
    int rowCount = 0;
    int pzCount = 0;
    std::vector<OutputFix> fixes;
    // The scheme area's height; none without frames.
    std::optional<int> height;
};

// The scheme of the loop tables. analogueIdent gives the identifier of analogue input 1..n.
Layout LayOut(const TConfiguration& cfg, const std::function<QString(int)>& analogueIdent);

// The row of a frame's main loop (every loop but a cascade's inner one); the last such row, or −1.
int FindRegRow(const TProgRegClass& reg, const RegEditState& st, int rowCount, int frame);
// The last ПЗ slot of a frame, or −1.
int FindPZSlot(const RegEditState& st, int pzCount, int frame);
// The other row of a cascade's frame, or −1.
int PartnerRow(const RegEditState& st, int rowCount, int frame, int row);

// The span (maximum − minimum) of a PV input's scale; 0 when the input names no channel.
double PvSpan(const TConfiguration& cfg, int n);

} // namespace RegScheme
