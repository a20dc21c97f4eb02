#pragma once
// The relay-output dialog: which relays of the five relay modules a block drives, one mask byte
// per module, bit r for relay r + 1.

#include <QDialog>
#include <QLabel>
#include <array>
#include <cstdint>

// One relay box: Tag 1 when set (drawn 0x8080), 0 when not (0xC0C0C0); a click toggles it.
class RelayBox : public QLabel {
    Q_OBJECT
  public:
    static constexpr uint32_t kSetColor = 0x8080;
    static constexpr uint32_t kClearColor = 0xC0C0C0;

    RelayBox(int number, QWidget* parent);
    int Tag() const { return tag_; }
    void SetTag(int tag); // also sets the colour

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int tag_ = 0;
};

class TFormVyh : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kModules = 5;
    static constexpr int kRelays = 8;
    static constexpr int kAccepted = 2; // modal result of OK; Cancel gives 0

    explicit TFormVyh(QWidget* parent = nullptr);

    // module 0..4, relay 0..7
    void SetModuleVisible(int module, bool visible); // its label only
    void SetBoxVisible(int module, int relay, bool visible);
    void SetBoxTag(int module, int relay, int tag);
    RelayBox* Box(int module, int relay) const { return Boxes[module][relay]; }
    // A mask byte sets the module's eight boxes; reading it gives them back.
    void SetMask(int module, uint8_t mask);
    uint8_t Mask(int module) const;

    int Cancelled = 0; // 0 after OK, 1 after Cancel

    QLabel* LabNVh;    // number label
    QLabel* LabelName; // name label
    std::array<QLabel*, kModules> LabMR{};
    std::array<std::array<RelayBox*, kRelays>, kModules> Boxes{};

  signals:
    // A box was toggled by the user.
    void Changed();

  public slots:
    void accept() override;
    void reject() override; // gives back the masks the caller set

  private:
    std::array<uint8_t, kModules> savedMasks_{};
};
