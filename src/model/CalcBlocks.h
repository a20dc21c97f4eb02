#pragma once
// The calculation records of the function-block table: the two flow-integrator records after the
// logic blocks and the arithmetic blocks after them. Reading, storing and deleting them as the
// calculation-block dialog and the math-block overview do it. No widgets.
//
// Placement: integrator 1 at LogicFBCount and integrator 2 after it while IntegratorCount is not 0
// (offset d = 2, else 0); arithmetic block k at LogicFBCount + d + k. Y, the result's address in
// the calculated values, equals the block's ordinal k + 1. Every store or deletion keeps the
// records at and beyond FBCount zero and ends with TProgFBClass::RecountTable.

#include <QString>
#include <array>

class TProgFBClass;

namespace CalcBlocks {

constexpr int MaxArithBlocks = 24;
constexpr int IntegratorInputs = 12;
constexpr int IntegratorEdits = 2 * IntegratorInputs;
constexpr int IntegratorMark = 12; // byte 13 of integrator 2 while it is in use
constexpr int FirstOperation = 1;  // add
constexpr int LastOperation = 5;   // square root
constexpr int MaxConstant = 32767;

// The four entry actions of the dialog.
enum Action { CreateIntegrators = 0, CreateArith = 1, EditIntegrators = 2, EditArith = 3 };

int IntegratorOffset(const TProgFBClass& fb);
// Index of arithmetic block k.
int ArithIndex(const TProgFBClass& fb, int k);
// The operation of record i: 1..5 for an arithmetic block, 0 for anything else (an integrator, a
// logic block, a nibble out of range).
int OperationAt(const TProgFBClass& fb, int i);
// The overview's label of an operation: "+", "-", "X", ":", "SQRT"; empty for the rest.
QString OperationSign(int op);
bool HasX2(int op);
bool HasC2(int op);
// Y of block i: byte 9 for add and subtract, byte 6 for the others.
int ResultOf(const TProgFBClass& fb, int i);
void SetResultOf(TProgFBClass& fb, int i, int y);

// Why an entry action is refused, checked in this order; the text of a refusal.
enum class Refusal { None, TableFull, IntegratorsExist, ArithFull, NoIntegrators, NoArith };
Refusal CheckAction(const TProgFBClass& fb, int action);
QString RefusalText(Refusal r);

// The 24 integrator inputs (entries 0..11 integrator 1, 12..23 integrator 2) and the day-start hour.
struct IntegratorValues {
    std::array<int, IntegratorEdits> numbers{};
    int dayStartHour = 0;
};
IntegratorValues ReadIntegrators(const TProgFBClass& fb);
// Stores the integrators. Creating makes room for the two records ahead of the arithmetic blocks
// when any number is non-zero; with all numbers 0, or without room, nothing changes. Editing with
// all numbers 0 removes both records. False when nothing was stored.
bool StoreIntegrators(TProgFBClass& fb, const IntegratorValues& v, bool create);

struct ArithValues {
    int op = 0;    // 1..5
    int x1Src = 0; // 0 analogue signal, 1 calculated value
    int x1Num = 0;
    QString c1 = QStringLiteral("0");
    int x2Src = 0;
    int x2Num = 0;
    QString c2 = QStringLiteral("0");
    int y = 0;
};
ArithValues ReadArith(const TProgFBClass& fb, int i);
// Stores block i: a new block only at the first free slot behind the others, an edit only over an
// existing block. Bytes the operation does not use stay as they were. False, with nothing changed,
// for an operation outside 1..5 or another index.
bool StoreArith(TProgFBClass& fb, int i, const ArithValues& v, bool create);

struct DeleteResult {
    bool deleted = false;
    bool comparatorPresent = false; // the scheme shows the renumbered comparators
};
// Deletes arithmetic block k: references to its result become 0, references to later results
// follow their blocks down, the later blocks move down one record and the last one is zeroed.
DeleteResult DeleteArith(TProgFBClass& fb, int k);

// The overview's 24 captions.
std::array<QString, MaxArithBlocks> OverviewCaptions(const TProgFBClass& fb);

} // namespace CalcBlocks
