#pragma once
// A horizontal connector line (from a block's output to its relay panel).

#include "Shape.h"

class TShapeHorz : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kHeight = 3;

    explicit TShapeHorz(QWidget* owner);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
