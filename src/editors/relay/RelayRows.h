#pragma once
// The rules of one output row of the relay-module editor, kept apart from the widgets: what the
// row's controls show, and which record bits and bytes go with it. A handler applies a rule to
// the row and the record together, then paints the row.

#include <QString>

class TProgMRClass;
struct TConfiguration;

namespace RelayRows {

enum OutputType { Signal = 0, Control = 1 };
enum LightSound { Light = 0, Sound = 1 };

// What the controls of one row show.
struct Row {
    int type = Signal;
    int lightSound = Light; // the light/sound list, shown for a signal output
    int blocking = 0;       // the blocking list, shown for a control output
    bool kvitVizo = false, kvitTopLevel = false, sbrVizo = false, sbrTopLevel = false;
    bool kvitEnabled = true; // both acknowledge boxes and the acknowledge input edit
    bool sbrEnabled = true;  // both reset boxes and the reset input edit
    QString vxKvit = QStringLiteral("00"), vhSbr = QStringLiteral("00");

    bool operator==(const Row&) const = default;
};

// The output type chosen for output o of module m. Control: the blocking list at 0, the
// acknowledge sources cleared and disabled with "00", the reset boxes cleared but enabled.
// Signal: the light/sound list at 0, everything enabled. Bits 0 and 1 follow the lists.
void ApplyType(Row& row, TProgMRClass& mr, int o, int m, int type);
// Light: everything enabled. Sound: the reset sources cleared and disabled with "00".
void ApplyLightSound(Row& row, TProgMRClass& mr, int o, int m, int choice);
// Blocking: bit 1 := the item index.
void ApplyBlocking(Row& row, TProgMRClass& mr, int o, int m, int index);

// The row built from output o of module m by the rules above: an input number above limit, or
// one its rule disables, becomes 0, and a disabled box is cleared. The record takes the row.
Row LoadRow(TProgMRClass& mr, int o, int m, int limit);

// The highest input number an output may name: 12 per discrete-input module.
int InputLimit(const TConfiguration& cfg);

// Block 9 into the reserve image, and back.
void SaveReserve(TConfiguration& cfg);
void RestoreReserve(TConfiguration& cfg);

// The 24 bytes of module m into the clipboard at its position.
void CopyBase(TConfiguration& cfg, int m);
// The clipboard bytes of module c over module m.
void PasteBase(TConfiguration& cfg, int c, int m);

} // namespace RelayRows
