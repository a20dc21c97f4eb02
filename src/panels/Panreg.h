#pragma once
// The regulator panel of the loop scheme. A PID loop and a repeater show their input rows (PV and
// SP) on the left and the body with the number box, the image and the parameters on the right; a
// program set point panel shows its six points. The loop's output mark goes right under it.

#include "Panelpart.h"

#include <array>

class TPanReg : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kWidth = 180;
    static constexpr int kMarkTopPS = 72; // panel heights; the output mark sits at these offsets
    static constexpr int kMarkTopPID = 168;
    static constexpr int kMarkTopPZ = 216;
    static constexpr int kRows = 2;
    static constexpr int kPoints = 6;
    static constexpr int InputLineY(int row) { return 20 + 24 * row; }

    TPanReg(QWidget* owner, int number, TRegType type, TTypeOut out, TTypeRFC rfc);

    int Number() const { return number_; }
    TRegType RegType() const { return type_; }

    void PutSP(int spType);
    void SetIdVh1(const QString& text);
    void SetIdVh2(const QString& text);
    void PutKP(float value) { SetParam(0, value); }
    void PutTi(float value) { SetParam(1, value); }
    void PutTd(float value) { SetParam(2, value); }
    void PutOL(float value) { SetParam(3, value); }
    void PutOH(float value) { SetParam(4, value); }
    void PutdSP(float value) { SetParam(5, value); }
    // Point 0..5 of a program set point; other points are ignored.
    void PutTime(int point, int time);
    void PutValue(int point, float value);

    PanelPart* Body() const { return body_; }
    PanelPart* NumberBox() const { return numberBox_; }
    PanelPart* Image() const { return image_; }
    // The parameters or the points, as shown; it passes presses on to the body.
    PanelPart* Values() const { return values_; }
    // Input row 0 (PV) or 1 (SP); nullptr for a program set point panel, which has none.
    TInputBox* InputRow(int row) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void Changed() override; // shows the kind, the parameters and the points

  private:
    void SetParam(int index, float value);
    void SetRowText(int row, const QString& text);

    int number_;
    TRegType type_;
    TTypeOut out_;
    TTypeRFC rfc_;
    int spType_ = 0;
    std::array<float, 6> params_{};
    std::array<int, kPoints> times_{};
    std::array<float, kPoints> pointValues_{};

    PanelPart* body_;
    PanelPart* numberBox_;
    PanelPart* image_;
    PanelPart* values_;
    std::array<TInputBox*, kRows> rows_{};
};
