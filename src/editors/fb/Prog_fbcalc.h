#pragma once
// The calculation-block dialog: the two flow integrators or one arithmetic block. The
// function-block editor fills it for one of the four actions (CalcBlocks::Action), shows it
// modally and, when Cancelled is 0, stores what Integrators() or Arith() return; the dialog itself
// stores nothing into the records.

#include "CalcBlocks.h"

#include <QDialog>
#include <array>

class EditorContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class RadioGroup;
class TProgFBClass;

class TFormFBCalc : public QDialog {
    Q_OBJECT
  public:
    explicit TFormFBCalc(EditorContext& context, QWidget* parent = nullptr);

    int Cancelled = 1; // 0 after OK, 1 after "Отмена" or the close box

    QLabel *LabCreatProg, *LabFB, *LabNFB1, *Label36, *Label26, *LabNFB2, *Label37, *Label31, *LabNFB3,
        *Label35, *ErrorText;
    RadioGroup* RadioGroup1;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLineEdit *EditNFB1, *EditNFB2, *EditNFB3, *HourBeginDay, *EditX1, *EditC1, *EditX2, *EditC2, *EditY;
    QScrollBar* UpDown1; // steps EditNFB3 through the arithmetic blocks
    QComboBox *ComboBox1, *ComboBox2;
    QPushButton *OK, *Cancel;
    // Edit1..Edit24: entries 0..11 integrator 1, 12..23 integrator 2.
    std::array<QLineEdit*, CalcBlocks::IntegratorEdits> NumberEdits{};

    // Every control to its empty, disabled state.
    void Reset();
    // The fill of an action (fb.CalcAction) after Reset.
    void Fill();
    CalcBlocks::IntegratorValues Integrators() const;
    CalcBlocks::ArithValues Arith() const;
    // The index of the block shown (EditNFB3 - 1).
    int BlockIndex() const;
    // The chosen item of RadioGroup1: 0 the integrators, 1..5 the operation, -1 none.
    int Kind() const;

    void RadioGroup1Click();
    void Edit1Exit(QLineEdit* edit);
    void EditNFB3Exit();
    void UpDown1Click();
    void OKClick();
    void CancelClick();
    // 2 when the edit holds a number in low..high, else 6 with the hint at the edit.
    int CheckEditRange(QLineEdit* edit, double high, double low);
    // False, with the hint at the offending control, while a value is refused.
    bool FormCloseQuery();

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void Changed();
    TProgFBClass& Fb() const;
    int AnInCount() const;
    void LoadIntegrators();
    void LoadBlock(int i);
    void SetUpDown(int min, int max);
    bool NumberOk(QLineEdit* edit);
    bool IsNumberEdit(const QObject* o) const;
    void TryClose();

    EditorContext& ctx_;
};
