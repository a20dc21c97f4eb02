#pragma once
// The control-loop dialog: kind, PV input, PID parameters and output limits of one current
// output, the inner loop of a cascade and the points of a program set point. The loop editor
// fills the fields, shows it modally and stores the fields when Cancelled is 0; the dialog itself
// stores nothing into the loop records.

#include "CreatRegRules.h"

#include <QDialog>
#include <array>

class EditorContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormCreatReg : public QDialog {
    Q_OBJECT
  public:
    explicit TFormCreatReg(EditorContext& context, QWidget* parent = nullptr);

    int Cancelled = 1;   // 0 after OK; 1 after "Отмена", the close box or Esc
    int ModalResult = 2; // 2, or 6 while a closing check fails

    QLabel *LabReg, *LabNReg, *LabCreatProg, *Label4, *LabAdOUT, *LabInf1, *LabInf, *LabInf2, *LabInf3;
    QLabel* ErrorText; // the input-error hint
    QLineEdit* EditNKReg;
    QComboBox *CBoxTReg, *CBoxTOut, *CBoxTOut1, *Razm1, *Razm2;
    QPushButton *InformBut, *OK, *Cancel;
    QGroupBox *GBComp, *GBRegInt, *GBPZ;
    QLineEdit *EditNReg, *EditAnVh, *EditVhPZ, *EditKp, *EditTi, *EditTd, *EditOL, *EditOH, *EditdSP,
        *EditAdOUT;
    QLineEdit *EditNReg1, *EditAnVh1, *EditVhSP, *EditKp1, *EditTi1, *EditTd1, *EditOL1, *EditOH1, *EditdSP1,
        *EditAdOUT1;
    QLineEdit *EditNPZ, *EditAReg;
    std::array<QLineEdit*, 6> IntervalEdits{}; // Edit1..Edit6
    std::array<QLineEdit*, 6> ValueEdits{};    // Edit7..Edit12

    // The control of a field of the rules.
    QWidget* Field(RegField f) const { return fields_[size_t(f)]; }
    // The fields, the kind, the groups' states, the output caption and action as the rules see them.
    CreatRegForm ReadForm() const;
    void ShowForm(const CreatRegForm& form);

    void CBoxTRegClick(int index);
    void EditNRegExit();
    void EditVhPZExit();
    void EditAdOUTExit();
    void EditAnVhExit();
    void EditAnVh1Exit();
    void InformButClick();
    void OKClick();
    void CancelClick();
    // False while a check fails (the hint shows at its field).
    bool FormCloseQuery();

  public slots:
    void reject() override; // the close box and Esc cancel

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void ShowPvInput(QLineEdit* edit, QComboBox* units, QLabel* header, QLabel* line, bool storeScale);
    void Hint(QWidget* control, const QString& text = InputErrorText);
    void LeaveField(QWidget* edit);
    void TryClose();
    void Changed();

    EditorContext& ctx_;
    std::array<QWidget*, RegFieldCount> fields_{};
    std::array<QLineEdit*, 12> paramEdits_{};
    std::vector<QLineEdit*> digitEdits_;
};
