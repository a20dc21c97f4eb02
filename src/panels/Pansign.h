#pragma once
// The signalling panel of a function block: the signalling type on the left, the light-board
// cell on the right.

#include "Shape.h"

class TPanSign : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kWidth = 56;
    static constexpr int kHeight = 32;

    // Type: 0 none, 1 warning, 2 alarm, 3 indication; a cell of 0 shows none.
    TPanSign(QWidget* owner, int type, int cell, int number);

    int Number() const { return number_; }
    int Type() const { return type_; }
    int Cell() const { return cell_; }

    // owner: the editor, as the callers pass it; the panel does not need it.
    void PutTipS(QWidget* owner, int type);
    void PutNTabS(QWidget* owner, int type, int cell);

    // The short name of a signalling type as the panel writes it; an unknown type reads as none.
    static QString TypeText(int type);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int type_ = 0;
    int cell_ = 0;
    int number_;
};
