#pragma once
// The relay-output panel of a function block: five relay modules of eight relays, one row each,
// the relays the block drives marked.

#include "Shape.h"

#include <array>
#include <cstdint>

class TPanMR : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kModules = 5;
    static constexpr int kRelays = 8;
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 42;

    TPanMR(QWidget* owner, int number);

    int Number() const { return number_; }

    // Module 0..4; other modules are ignored. Bit r of mask marks relay r + 1. owner: the
    // editor, as the callers pass it; the panel does not need it.
    void ActiveMR(QWidget* owner, int module, uint8_t mask);
    void PassiveMR(QWidget* owner, int module);
    uint8_t Mask(int module) const;

    // "МР<m+1>:  " followed by the marked relay numbers separated by commas.
    QString ModuleText(int module) const;
    // The text of one module followed by a blank when it has marked relays, else empty.
    QString GetHint1() const { return Hint(0); }
    QString GetHint2() const { return Hint(1); }
    QString GetHint3() const { return Hint(2); }
    QString GetHint4() const { return Hint(3); }
    QString GetHint5() const { return Hint(4); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString Hint(int module) const;
    void SetMask(int module, uint8_t mask);

    int number_;
    std::array<uint8_t, kModules> masks_{};
};
