#pragma once
// The loop editor's table edits without its window: the free record and ПЗ of a new loop, the
// dialog's fields for an existing loop and the storing of an accepted dialog, the deletion of
// loop groups, the copy to the clipboard, the group check and what the online view is given.

#include "CreatRegRules.h"
#include "TProgRegClass.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

class TCopyBlocksClass;
struct TConfiguration;

namespace RegEdit {

// The first record whose PV input is 0, or −1.
int FirstFreeRecord(const TProgRegClass& reg);
// The first ПЗ record no loop's type code refers to, or −1.
int FirstFreePZ(const TProgRegClass& reg);

// The dialog's fields before a create or an edit.
CreatRegForm ResetForm();

// The ПЗ values as the dialog was given them: a text left unchanged keeps its stored value.
struct PreparedPZ {
    int pz = -1;
    std::array<QString, TProgRegClass::PZPoints> text;
    std::array<int, TProgRegClass::PZPoints> stored{};
};

// The dialog's fields for record rec: the kind, the loop, a cascade's inner loop (its output
// action into innerAction) and a ПЗ-fed loop's points (as given, into pz).
CreatRegForm EditForm(const TConfiguration& cfg, int rec, int& innerAction, PreparedPZ& pz);

// Stores an accepted dialog of kind `kind` for frame `frame` into the tables and into the row
// st.SelectedRow.
void StoreForm(TConfiguration& cfg, RegEditState& st, const CreatRegForm& form, int frame, int kind,
               int innerAction, const PreparedPZ& pz);

// Deletes the loop group whose main loop is record rec: the groups of laterMains (their main
// records) follow its links, then its records and its ПЗ record go. Sets RegModified. Returns the
// records removed, as numbered before.
std::vector<int> DeleteGroup(TProgRegClass& reg, int rec, const std::vector<int>& laterMains);
// Deletes every frame of the bookkeeping whose main row is flagged; the number of groups deleted.
int DeleteSelected(TProgRegClass& reg, const RegEditState& st, int rowCount);

// The number of rows flagged in Reg_Choose.
int ChosenCount(const RegEditState& st, int rowCount);

// The flagged rows' loop records into the clipboard; the number copied (0: none flagged, the
// clipboard unchanged).
int CopySelected(const TProgRegClass& reg, const RegEditState& st, int rowCount, TCopyBlocksClass& copy);
// False when the clipboard's first run of copied rows needs more rows than are free.
bool GroupFits(const TCopyBlocksClass& copy, int rowCount);

// What the online view gets for a loop.
struct OnlineEntry {
    int kind = 0;
    int record = 0, inner = -1;
    int input = 0, innerInput = 0;
    std::array<float, 2> low{}, high{};
    std::array<uint8_t, 3> flags{}; // two loops, AP on the first panel, AP on the second
    std::optional<QString> refusal; // "проверить шкалы анал. вх. …" for a zero span
};
OnlineEntry PrepareOnline(const TConfiguration& cfg, int rec);

} // namespace RegEdit
