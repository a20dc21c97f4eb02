#pragma once
// The algorithm tables as the algorithm window shows and edits them: one row per algorithm
// (number, name, block list) and one row per logic block. The window only moves these rows
// between its grids and the functions below.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TProgFBClass;
class TServClass;

// One row of the algorithm grid.
struct AlgGridRow {
    QString number; // " " and the 1-based number as the window writes it
    QString name;
    QString list; // block numbers, each followed by a comma
};

// Why the algorithm grid was refused.
enum class AlgGridError {
    None,
    BadItem,  // "error ": an item that is no short decimal number, too many items, a list over
              // 599 characters, or a number cell outside 1..FBCount
    BadBlock, // "error N ФБ": a block number outside 1..LogicFBCount
};

// Clears the tables (names, lists and marks of algorithms 0..FBCount, count 0), then stores the
// rows in order up to the first empty number cell: the name under the row's number, the list
// and the count by the row's position. A row without a name only clears that name. Stops at the
// first error; what was stored before it stays. nameCleared hears of each name a row without a
// name cleared (0-based algorithm).
AlgGridError StoreAlgorithmGrid(TProgFBClass& fb, const std::vector<AlgGridRow>& rows,
                                const std::function<void(int algorithm)>& nameCleared = {});

// The message box text of an error.
QString AlgGridErrorText(AlgGridError error);

// The algorithm rows as the editor opens the window: every algorithm of the count with its name
// and its list up to the first end mark (an entry in the list's last slot gets no comma).
std::vector<AlgGridRow> AlgorithmRows(const TProgFBClass& fb);

// The algorithm rows after a load from a file: the lists hold the entries up to LogicFBCount;
// an entry above it ends that algorithm's list (later algorithms still fill); the last algorithm
// is extended on screen by every block after its last listed one up to LogicFBCount.
std::vector<AlgGridRow> LoadedAlgorithmRows(const TProgFBClass& fb);

// The block rows: one per built logic block of types 1..9, seven cells: " " and the number,
// "ФБ" and the number, the type name (typeNames[type - 1]) and the captions of its inputs
// (a discrete input's identifier, "ФБ" and the number of a feeding block, else empty).
std::vector<QStringList> BlockRows(const TProgFBClass& fb, const TServClass& serv,
                                   const QStringList& typeNames);
