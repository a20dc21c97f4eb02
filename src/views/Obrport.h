#pragma once
// The port dialog: the port (listed or typed), speed, parity and stop bits. It knows no
// exchange: each opening shows what current gives, and OK hands the chosen settings to apply,
// which the caller makes open the port.

#include "serial/SerialLink.h"

#include <QDialog>
#include <functional>

class QComboBox;

class TFormPort : public QDialog {
    Q_OBJECT
  public:
    // apply: false with the reason when the port does not open.
    using Apply = std::function<bool(const LinkSettings& settings, QString* error)>;
    TFormPort(std::function<LinkSettings()> current, Apply apply, QWidget* parent = nullptr);
    // Pre-fills the port box (the program's --port option).
    void SetPortName(const QString& name);

    QComboBox* ComboPort;
    QComboBox* ComboSpeed;
    QComboBox* ComboParity;
    QComboBox* ComboStop;

    // The chosen settings.
    LinkSettings Settings() const;
    // Applies the settings; an empty port name, or a port that cannot be opened, is reported and the
    // dialog stays open.
    void OKButtonClick();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FillFromPort();
    std::function<LinkSettings()> current_;
    Apply apply_;
};
