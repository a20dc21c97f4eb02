#pragma once
// The exchange-settings dialog: first-stage repeats (1 or 5), second stage, transmit delay. It
// knows no exchange: each opening shows what current gives, and OK hands the values to apply.

#include "Comportclass.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QSpinBox;

class TFormNastr : public QDialog {
    Q_OBJECT
  public:
    TFormNastr(std::function<ExchangeSettings()> current, std::function<void(const ExchangeSettings&)> apply,
               QWidget* parent = nullptr);

    QComboBox* ComboPovt1;
    QSpinBox* SpinPovt2;
    QSpinBox* SpinDelay;

    ExchangeSettings Settings() const; // the chosen values
    void OKButtonClick();              // applies them and closes

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FillFromPort();
    std::function<ExchangeSettings()> current_;
    std::function<void(const ExchangeSettings&)> apply_;
};
