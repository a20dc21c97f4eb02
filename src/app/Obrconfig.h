#pragma once
// Creating a configuration from the 8-character hexadecimal modification code: one module code
// per slot.

#include <QDialog>
#include <QStringList>
#include <array>

class QLineEdit;
struct TConfiguration;

using SlotCodes = std::array<int, 8>;

// Checks a modification code: 8 hexadecimal digits, the controller module (13 БРОН or 15 БРОК)
// in slot 1 and only there, known module codes, at most 5 relay modules. Returns the message
// that refuses it, or an empty text with the slot codes in *codes.
QString CheckModifCode(const QString& code, SlotCodes* codes);

// The code of the slot codes, in capital hexadecimal digits.
QString ModifCodeText(const SlotCodes& codes);

// Makes a new configuration of these modules in cfg: everything but the access level and the
// clipboard starts afresh; the slot codes, the input counts, the default input texts and the
// unit list (unitNames, 16 entries) are set, the device number is devNum (0..30), and the
// configuration is in file mode and modified.
void CreateConfiguration(TConfiguration& cfg, const SlotCodes& codes, int devNum,
                         const QStringList& unitNames);

// The dialog: the user types the modification code; OK closes it only with a valid code.
class TConfig : public QDialog {
    Q_OBJECT
  public:
    explicit TConfig(QWidget* parent = nullptr);

    QLineEdit* EditModif;
    int Cancelled = 1; // 0 after OK with a valid code, 1 after Cancel; the opener sets 1 first
    SlotCodes Codes{}; // the slot codes of the accepted code

    void OKClick(); // checks the code; a refused one is shown and the dialog stays open
    void CancelClick();

  protected:
    // Every opening puts the focus on the code, selected, so a typed code and Enter create it.
    void showEvent(QShowEvent* event) override;
};
