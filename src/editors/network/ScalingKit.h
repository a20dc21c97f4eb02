#pragma once
// The network input scaling window's logic: which rows a request block owns, the labels the
// opener gives every analogue block's rows, and the lines of the printed table.
//
// Row r of the window is network channel r. Request block i owns rows s .. s + KolVh(i) − 1 with
// s = StAddr_Beg2(i) − 4 × (analogue modules). A block whose rows would leave 0..47 owns none:
// nothing of it is filled, stored or enabled.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct TConfiguration;

namespace Scaling {

constexpr int Rows = 48;
constexpr int Columns = 10;

struct BlockRows {
    int first = 0;
    int count = 0; // 0: the block owns no row
};
BlockRows RowsOf(const TConfiguration& cfg, int i);

// The scaling groups the device keeps: they travel as device blocks B + 1..8 for B analogue
// modules, so only groups 0..7 − B, the rows below 6 × (8 − B), are ever sent.
int SentGroups(const TConfiguration& cfg);
int SentRows(const TConfiguration& cfg);
// The rows of block i that are edited and stored: its rows below SentRows. The others are shown
// disabled.
BlockRows EditableRows(const TConfiguration& cfg, int i);

struct RowLabels {
    int row = 0;
    QString ident;  // LabN: the identifier of the value
    QString number; // Label: the input number in the analogue-signal array
    QString hint;   // of LabN
};
// The labels of the rows of every block with function 3 or 4.
std::vector<RowLabels> Labels(const TConfiguration& cfg);

// The cells of one printed row: identifier, input number, position, unit, low end, high end,
// LL, L, H, HH.
using TableRow = std::array<QString, Columns>;
// The table in the tab layout (the RTF file) and in the fixed-width layout (the hidden panel):
// identity line, title, an empty line, two header lines, the rows.
QStringList TabLines(const QString& identity, const QString& title, const std::vector<TableRow>& rows);
QStringList FixedLines(const QString& identity, const QString& title, const std::vector<TableRow>& rows);

} // namespace Scaling
