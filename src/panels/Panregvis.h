#pragma once
// The online loop panel: the loop's PV, SP and OUT in value boxes and on bars, and the state marks
// of its input and output. The view places its buttons below the marks, from Top 325.

#include "Panelpart.h"

#include <array>

class TPanRegVis : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kWidth = 184; // holds the online view's "-" button (left 122, width 60)
    static constexpr int kHeight = 430;

    // Loop class: 0 repeater, 1 single loop, 2 cascade, 3 fed by a program set point.
    TPanRegVis(QWidget* owner, int loopNumber, int loopClass);

    int LoopNumber() const { return loopNumber_; }

    void SetNSk_PV(float value) { SetScale(kPV, 0, value); }
    void SetVSk_PV(float value) { SetScale(kPV, 1, value); }
    void SetNSk_SP(float value) { SetScale(kSP, 0, value); }
    void SetVSk_SP(float value) { SetScale(kSP, 1, value); }
    void SetVal_PV(float value) { SetValue(kPV, value); }
    void SetVal_SP(float value) { SetValue(kSP, value); }
    void SetVal_OUT(float value) { SetValue(kOUT, value); }
    void SetColorP_In(const QColor& color);
    void SetColorP_Out(const QColor& color);

    PanelPart* NumberBox() const { return numberBox_; }
    PanelPart* PVBox() const { return boxes_[kPV]; }
    PanelPart* SPBox() const { return boxes_[kSP]; }
    PanelPart* OUTBox() const { return boxes_[kOUT]; }
    QColor ColorP_In() const { return colorIn_; }
    QColor ColorP_Out() const { return colorOut_; }

    // A shown value: two decimals within (-100, 100], one within (-1000, -100] and (100, 1000],
    // none beyond.
    static QString ValueText(float value);
    // The filled share (0..1) of a bar for a value on the scale low..high; 0 on an empty scale.
    static double BarShare(float value, float low, float high);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    enum Quantity { kPV, kSP, kOUT, kQuantities };
    void SetScale(Quantity q, int end, float value);
    void SetValue(Quantity q, float value);

    int loopNumber_;
    int loopClass_;
    std::array<std::array<float, 2>, kQuantities> scales_{{{0, 100}, {0, 100}, {0, 100}}};
    std::array<float, kQuantities> values_{};
    QColor colorIn_ = Qt::red;
    QColor colorOut_ = Qt::green;
    PanelPart* numberBox_;
    std::array<PanelPart*, kQuantities> boxes_{};
};
