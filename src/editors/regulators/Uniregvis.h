#pragma once
// The online loop view: one loop of the device, or the two loops of a cascade, live. Timer1 polls
// the values and states every 3 s through a PollService; the user switches hand/auto and AP, sends
// "+" and "-", and types a new SP (in auto) or OUT (in hand), written at once. The loop editor
// fills the parameters below and shows the view modally.

#include "PollService.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <cstdint>

class EditorContext;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolButton;
class TPanRegVis;

class TFormRegOnLine : public QDialog {
    Q_OBJECT
  public:
    explicit TFormRegOnLine(EditorContext& context, QWidget* parent = nullptr);
    ~TFormRegOnLine() override;

    // Set by the loop editor before showing.
    uint8_t TwoLoops = 0;           // 1: the outer and inner loop of a cascade
    std::array<int, 2> LoopIndex{}; // the loop of panel 0 and panel 1
    std::array<float, 2> PVScaleMin{}, PVScaleMax{};
    std::array<uint8_t, 2> APAllowed{}; // AP may be switched on at the panel

    QLabel *LabNReg, *LabTip, *Label4, *Label6;
    QLineEdit *EditNReg, *EditAnVh, *EditNReg1, *EditAnVh1;
    QScrollArea* ScrollBox1;
    QPushButton *Button1, *Button2;
    QLabel* Label1; // "запущен опрос" while polling runs
    QTimer* Timer1;
    QLineEdit* EditText; // the value being typed
    QProgressBar* ProgressBar1;

    // A panel and its buttons.
    struct LoopPanel {
        TPanRegVis* panel = nullptr;
        QPushButton *plus = nullptr, *minus = nullptr;
        QToolButton *ap = nullptr, *handAut = nullptr;
    };
    const LoopPanel& Panel(int i) const { return panels_[size_t(i)]; }
    int PanelCount() const { return TwoLoops ? 2 : 1; }

    int EditPanel = 0;
    int EditKind = 0; // 0 nothing, 2 SP, 3 OUT
    bool Polling() const { return polling_; }

    void Button2Click();
    void Timer1Timer();
    void Button1Click();
    void SpButAPClick(int i);
    void SpButH_AutClick(int i);
    void p_Button1Click(int i);
    void p_Button2Click(int i);
    void ChangeSPClick(int i);
    void ChangeOUTClick(int i);
    void EditTextExit();
    void PanRegVis0MouseDown(int i, Qt::MouseButton button);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreatePanel(int i, int loopClass);
    void DestroyPanels();
    void Polled(const PollReplies& replies);
    void PollFailed(int result);
    void StartTyping(int i, int kind);
    void ParkEditText();
    // One write of the view, the only way its values reach the device. Without sending:
    // WriteBusy while another write runs, WriteRefused (after its box) at the limited access level.
    static constexpr int WriteBusy = -1, WriteRefused = -2;
    int Send(int func, const std::vector<uint8_t>& data);
    int WriteCoil(int coil, bool on);
    // The result of a switch's write; a refused one puts the panel's switches back.
    void SwitchWritten(int i, int result);
    void Report(int result); // shown while polling is stopped

    EditorContext& ctx_;
    PollService poll_;
    // The switch glyphs, built once for every panel of every opening.
    const QIcon apGlyph_, handAutGlyph_;
    std::array<LoopPanel, 2> panels_{};
    std::array<float, 2> shownSP_{}, shownOUT_{};
    bool polling_ = false;
    bool report_ = true;
    bool built_ = false;
    bool writing_ = false;
};
