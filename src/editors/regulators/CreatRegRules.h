#pragma once
// The rules of the control-loop dialog without its window: the fields a kind choice fills, the
// checks on closing and the stored form of a program set point's values.
//
// Kinds (the loop-type list): 0 signal repeater, 1 single loop, 2 cascade (outer and inner
// loop), 3 loop fed by a program set point (ПЗ); 4 is an empty item, −1 nothing chosen.

#include <QString>
#include <array>
#include <optional>

class TProgRegClass;

// The dialog's fields, in the order of the window's array of controls.
enum class RegField {
    TReg, // the loop-type list
    AnVh,
    NReg,
    AdOUT,
    Kp,
    Ti,
    Td,
    OL,
    OH,
    dSP,
    VhPZ,
    AReg,
    NPZ,
    NReg1,
    AnVh1,
    VhSP,
    Kp1,
    Ti1,
    Td1,
    OL1,
    OH1,
    dSP1,
    AdOUT1,
    Interval0,              // the six reference-point intervals
    Value0 = Interval0 + 6, // the six reference-point set points
    Count = Value0 + 6,
};
constexpr int RegFieldCount = int(RegField::Count);
constexpr RegField Interval(int k) {
    return RegField(int(RegField::Interval0) + k);
}
constexpr RegField Value(int k) {
    return RegField(int(RegField::Value0) + k);
}

// The dialog's state as the rules see it.
struct CreatRegForm {
    std::array<QString, RegFieldCount> text;
    int kind = -1;
    bool comp = false, regInt = false, pz = false; // group boxes enabled
    bool cascadeCaption = false;                   // the output caption names the inner loop
    int outAction = 0;                             // the outer loop's output-action item

    QString& operator[](RegField f) { return text[size_t(f)]; }
    const QString& operator[](RegField f) const { return text[size_t(f)]; }
};

struct KindContext {
    int controllerCode = 0; // module code of slot 1: 13 or 15
    int curRegIndex = 0;    // loop rows in the scheme
    int curPZIndex = 0;     // program set points in the scheme
};

// The user's choice of kind `index`: resets and fills the fields and switches the groups.
// On a controller of code 15 the single loop and the cascade are not offered (kind −1); on code
// 13 a cascade with one loop row present becomes a single loop. Returns the kind set.
int ChooseKind(CreatRegForm& form, int index, const KindContext& ctx);

// The new-loop defaults as the dialog shows them ("1,0000").
QString DefaultText(float value);

struct CloseContext {
    int regCount = 2;
    int anInCount = 0;
    double pvLow = 0, pvHigh = 0; // scale of the outer loop's PV input
    const TProgRegClass* reg = nullptr;
};

struct Refusal {
    RegField field;
    QString text;
    bool operator==(const Refusal&) const = default;
};

// The checks on closing with OK, in their order; the first failure, or nothing.
std::optional<Refusal> CheckClose(const CreatRegForm& form, const CloseContext& ctx);

// One field's range check: nothing when acceptable, else the refusal text. The repeater (kind 0)
// only needs a number.
std::optional<QString> CheckEditRange(const QString& text, double high, double low, int kind);

// "Величина вне диапазона low - high".
QString OutOfRangeText(double low, double high);
extern const QString InputErrorText; // " Ошибка ввода "

// A program set point's value as stored: value / span × 16383, truncated toward zero; nothing
// when the span is not positive or the result leaves −32768..32767.
std::optional<int> PZStoredValue(double value, double span);
double PZShownValue(int stored, double span);
