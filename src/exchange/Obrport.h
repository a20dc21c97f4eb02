#pragma once
// The port dialog: the port (listed or typed), speed, parity and stop bits; OK opens the port.

#include <QDialog>

class QComboBox;
class TComPortClass;

class TFormPort : public QDialog {
    Q_OBJECT
  public:
    explicit TFormPort(TComPortClass& port, QWidget* parent = nullptr);
    // Pre-fills the port box (the program's --port option).
    void SetPortName(const QString& name);

    QComboBox* ComboPort;
    QComboBox* ComboSpeed;
    QComboBox* ComboParity;
    QComboBox* ComboStop;

    // Stores the settings and opens the port; a port that cannot be opened is reported and the
    // dialog stays open with the port closed.
    void OKButtonClick();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FillFromPort();
    TComPortClass& port_;
};
