#pragma once
// The block dialog: type, inputs and the timer, trigger, comparator and counter settings of one
// logic function block. The function-block editor fills it, shows it modally and, when
// Cancelled is 0, reads the values back (Values) and stores them; the dialog stores nothing into
// the records.

#include "FbTableEdit.h"

#include <QDialog>
#include <QStringList>
#include <array>

class EditorContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class RadioGroup;

namespace CreatFb {

// What a block type enables in the dialog, and its pin labels.
struct TypeView {
    int inputs = 0;
    bool timerGroup = false; // GBTimer
    bool timerType = false;  // RadioGroup2
    bool trigger = false;    // RadioGroup3
    bool timeUnit = false;   // RadioGroup4
    bool time = false;       // EditT
    bool comparator = false; // GBComp with EditAnVh, EditLim, CBoxCond, EditGist
    bool counter = false;    // GBCount with EditLimCount
    std::array<QString, FbTable::Inputs> pins;
};
TypeView ViewOfType(int type);

// The type names, item texts of RadioGroup1; type code = index + 1.
const QStringList& TypeNames();

// The set point of a comparator: a number (comma or point) in −32767..32767.
bool LimitTextOk(const QString& text);

// The range check of the block dialogs: 2 when the edit holds a number in low..high, else 6 with
// the hint at the edit (the input-error text for no number, else "Величина вне диапазона").
int CheckEditRange(QLineEdit* edit, QWidget* errorText, double high, double low);

} // namespace CreatFb

class TFormCreatFB : public QDialog {
    Q_OBJECT
  public:
    explicit TFormCreatFB(EditorContext& context, QWidget* parent = nullptr);

    // 0 after OK; 1 after "Отмена"; 2 after the close box or Esc, which cancel as well but, unlike
    // "Отмена", ask the editor for nothing further.
    int Cancelled = 1;
    static constexpr int ClosedByBox = 2;

    QLabel *LabFB, *LabNFB, *LabCreatProg, *Label1, *Label13, *ErrorText;
    QLineEdit* EditNFB;
    QToolButton* SBVkl;
    RadioGroup *RadioGroup1, *RadioGroup2, *RadioGroup3, *RadioGroup4;
    QGroupBox *GBTimer, *GroupBox1, *GBComp, *GBCount;
    QLineEdit *EditT, *EditHour, *EditMin, *EditSec, *EditAnVh, *EditLim, *EditGist, *EditLimCount;
    QComboBox *ComboBox9, *CBoxCond;
    QPushButton *InformBut, *OK, *Cancel;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox7, *ComboBox8;
    QLineEdit *EditVx1, *EditVx2, *EditVx3, *EditVx4;
    std::array<QLabel*, FbTable::Inputs> LabRS{};

    // Per input, in input order.
    std::array<QComboBox*, FbTable::Inputs> TypeBoxes{};   // "инверсный" / "прямой"
    std::array<QComboBox*, FbTable::Inputs> SourceBoxes{}; // the four source kinds
    std::array<QLineEdit*, FbTable::Inputs> NumberEdits{};
    std::array<int, FbTable::Inputs> InputValues{}; // reset to 0 by every type change

    void RadioGroup1Click();
    void RadioGroup2Click();
    void SBVklClick();
    void InformButClick();
    void OKClick();
    void CancelClick();
    // 2 when the edit holds a number in low..high, else 6 with the hint at the edit.
    int CheckEditRange(QLineEdit* edit, double high, double low);
    // False, with the hint at the offending edit, while a value is refused.
    bool FormCloseQuery();

    // The editor's fills: the four input rows reset and disabled; a new block; an existing one.
    void ResetInputRows();
    void FillNew(int number, bool archiveAllowed);
    void FillFrom(const FbTable::BlockValues& v, int number, bool archiveAllowed);
    // The values of the controls; the number fields of an unusable text read 0.
    FbTable::BlockValues Values() const;
    // Shows the numbers the storing rules set to 0 as "0".
    void ShowZeroedNumbers(const FbTable::BlockValues& stored);

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void Changed();
    void SetArchive(bool down, bool enabled);
    void TryClose();
    void FormClose();

    EditorContext& ctx_;
    std::vector<QLineEdit*> digitEdits_;
};
