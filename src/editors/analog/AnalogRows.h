#pragma once
// The rules of the analogue-module editor's channel rows, apart from the window: which lists and
// boxes a row shows, the row hints, the close validation of the scale limits, the reserve of the
// edited record, and the lines of the printed module base.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct TConfiguration;

namespace AnalogRows {

constexpr int Rows = 4; // the window's channel rows; the record holds six channels

bool IsController(int code); // БРОН (13) or БРОК (15)

enum class SkItems { Sensors, ScaleLaws };
enum class TInpItems { Hidden, Wiring, Pressure, Current };

// What one row shows for its scale kind.
struct RowLayout {
    SkItems sk = SkItems::Sensors;
    TInpItems tinp = TInpItems::Hidden;
    bool standardRange = false; // MinSk/MaxSk lists instead of the NSK/VSK boxes
    bool deadBand = false;
};

// The rows as the window opens them, whatever the module: rows 0 and 1 temperature inputs,
// rows 2 and 3 current inputs.
RowLayout OpeningLayout(int row, int kind);
// The rows after a base replacement: the I/O modules' layout by module code; a controller's rows
// (and a code outside the table) as on opening.
RowLayout ReplacementLayout(int code, int row, int kind);
// Whether the input-signal heading shows after a base replacement (codes 6 and 9).
bool ReplacementShowsInputHeading(int code);

QStringList Items(SkItems items);
QStringList Items(TInpItems items);

// "номер аналогового сигнала в базе n (адрес 0xNN)" of row r of module index m0.
QString RowHint(int m0, int row);

// The rows the close validation walks: four channels of a controller, six of another module,
// never more than the window's rows.
int ValidatedRows(int code);

// The texts of a row's scale controls.
struct ScaleTexts {
    QString nsk, vsk, minSk, maxSk;
};

// What the close validation found in a row.
struct ScaleFinding {
    enum Kind {
        EmptyFreeLimit,     // an empty NSK (box 0) or VSK (box 1) of a controller's free scale
        EmptyStandardLimit, // an empty MinSk (box 0) or MaxSk (box 1) list
        BadSpan,            // maximum not above minimum: VSK gets the stored maximum back
    } kind;
    int row;
    int box;
    bool operator==(const ScaleFinding&) const = default;
};

// The close validation of the scale limits of module index m0: the first empty limit ends it;
// bad spans are collected. kinds are the stored scale kinds of the rows.
std::vector<ScaleFinding> CheckScales(int code, const std::array<int, Rows>& kinds,
                                      const std::array<ScaleTexts, Rows>& texts);

// Record m0 into its reserve; back, with the eight module-type bytes from theirs.
void SaveModuleReserve(TConfiguration& cfg, int m0);
void RestoreModuleReserve(TConfiguration& cfg, int m0);

// The texts of one printed channel row, as the row's controls show them.
struct PrintRow {
    QString poz, tinp, sk, razm, nsk, vsk, minSk, maxSk, ll, l, h, hh;
    int kind = 0; // the stored scale kind
};
// The printed module base: the title, the module line, the input line and, for codes 6 to 9 and
// the controllers, the table of the rows. A controller's rows take the input-signal layout with
// each value under its heading, and show what the window shows on opening: the input signal
// where the row has one, the standard-range lists or the free-scale boxes.
QStringList ModuleBaseLines(const QString& title, const QString& labMod, const QString& labTMod,
                            const QString& labN, int code, const std::vector<PrintRow>& rows);

} // namespace AnalogRows
