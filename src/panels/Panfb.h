#pragma once
// The function-block panel of the block scheme: four input boxes on the left, the body with the
// number box and the type image on the right. Its output leaves the body's right edge at the
// level of input 4, where the editor places the output mark.

#include "Panelpart.h"

#include <array>

class TPanFB : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kWidth = 150;
    static constexpr int kHeight = 106;
    static constexpr int kInputs = 4;
    // Vertical centre of input j's line, from the panel's top; the connectors reach these.
    static constexpr int InputLineY(int j) { return 20 + 24 * j; }

    TPanFB(QWidget* owner, int number, TFBType type);

    int Number() const { return number_; }

    TFBType GetTFB() const { return type_; }
    void SetTFB(TFBType type);

    void SetTimer(TimerType timer);
    void SetTimerD(TimerDiskr diskr);
    void SetTime(int time);
    void SetHour(int hour);
    void SetMin(int min);
    void SetSec(int sec);
    void SetTrigger(TriggerType trigger);
    void SetCompCond(ComparatorCondition cond);
    void SetLimit(float limit);
    void PutLimit(float limit) { SetLimit(limit); }
    void SetLimitCount(int count);
    void PutLimitCount(int count) { SetLimitCount(count); }
    void SetGisterezis(int percent);
    void PutGisterezis(int percent) { SetGisterezis(percent); }

    // Input index 0..3; other indices are ignored.
    void PutIdVh(int input, const QString& text);
    void PutTInp(int input, InputType type);

    // The number of input boxes the block type shows: a timer T5 has one; a comparator two,
    // its discrete input and its analogue operand X1.
    int InputCount() const;

    PanelPart* Body() const { return body_; }
    PanelPart* NumberBox() const { return numberBox_; }
    PanelPart* TypeImage() const { return typeImage_; }
    // Input box j, or nullptr when the block type has no input j.
    TInputBox* InputBox(int input) const;

    // The type names as the scheme shows them, indexed by TFBType.
    static QString TypeName(TFBType type);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void Changed() override; // shows the settings and the inputs of the type

  private:
    QStringList SettingLines() const;

    int number_;
    TFBType type_;
    TimerType timer_ = T0;
    TimerDiskr diskr_ = tdms;
    int time_ = 0;
    int hour_ = 0, min_ = 0, sec_ = 0;
    TriggerType trigger_ = ttRS;
    ComparatorCondition cond_ = ccL;
    float limit_ = 0;
    int limitCount_ = 0;
    int hysteresis_ = 0;

    PanelPart* body_;
    PanelPart* numberBox_;
    PanelPart* typeImage_;
    std::array<TInputBox*, kInputs> inputs_{};
};
