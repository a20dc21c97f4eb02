#pragma once
// The calibration window of one analogue module: the ADC codes, range and calibration state of
// its channels, polled every 3 s through a PollService, and the selection and calibration of one
// channel by coil writes. The analogue-module editor reads the data once, sets TipMod, Module and
// Positions, and shows the window modally.

#include "PollService.h"

#include <QDialog>
#include <array>

class EditorContext;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

class TFormKalibr : public QDialog {
    Q_OBJECT
  public:
    static constexpr int Rows = 7; // six inputs and the cold junction

    explicit TFormKalibr(EditorContext& context, QWidget* parent = nullptr);
    ~TFormKalibr() override;

    // The error-report switch, shared by the whole program: inverted by every start and stop of
    // the poll, so it is true while polling is stopped.
    static bool ReportErrors;

    // Set by the opener.
    int Module = 1;                      // the 1-based module number
    std::array<QString, Rows> Positions; // the position text of each row

    struct RowTexts {
        QLabel *NV, *RV, *XMin, *XACP, *XMax, *V1M, *V, *KV, *AV;
    };
    QLabel *TipMod, *Heading, *Kalibr;
    std::array<RowTexts, Rows> Row{};
    std::array<QToolButton*, Rows> SpBut{};
    std::array<QPushButton*, Rows> KalMin{}, KalMax{};
    QTimer* Timer1;
    QLabel* Label1; // "запущен таймер" while polling runs
    QPushButton* Button1;

    // All selection buttons up, then the one of channel (1..7) down; 0 leaves all up.
    void SetSelection(int channel);
    // The rows from the data taken (TProgMBAClass::FillCalibrationView).
    void ShowRows();

    // A poll is on its way (its replies not yet shown).
    bool Polling() const { return poll_.Polling(); }

    void Button1Click();
    void Timer1Timer() { InClick(); }
    void InClick();
    void SpBut1Click(int row);  // row 1..7
    void KalMin1Click(int row); // row 1..7
    void KalMax1Click(int row);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FormShow();
    void FormClose();
    void Polled(const PollReplies& replies);
    void PollFailed(int result);
    void Calibrate(int row, int coil, const QString& question);
    // One coil write, its failure always reported; true on success.
    bool WriteCoil(int kind, int channel, bool on);
    void GreyKalibr(bool grey);
    void EnableCalibrationButtons();

    EditorContext& ctx_;
    PollService poll_;
};
