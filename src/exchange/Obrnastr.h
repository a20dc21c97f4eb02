#pragma once
// The exchange-settings dialog: first-stage repeats (1 or 5), second stage, transmit delay.

#include <QDialog>

class QComboBox;
class QSpinBox;
class TComPortClass;

class TFormNastr : public QDialog {
    Q_OBJECT
  public:
    explicit TFormNastr(TComPortClass& port, QWidget* parent = nullptr);

    QComboBox* ComboPovt1;
    QSpinBox* SpinPovt2;
    QSpinBox* SpinDelay;

    void OKButtonClick(); // stores the settings and closes

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FillFromPort();
    TComPortClass& port_;
};
