#pragma once
// The live view of the discrete signals of one network request block, polled every second: up to
// 12 signals from the block's first discrete position, their states (function 2) and validity
// (function 1, 592 further on). For an analogue block the signals are its set-point signals.

#include "editors/analog/LiveView.h"

#include <array>

class TFormVhDLoc : public TFormLiveView {
    Q_OBJECT
  public:
    static constexpr int Rows = 12;

    explicit TFormVhDLoc(EditorContext& context, QWidget* parent = nullptr);

    QLabel *TipUstr, *LabUstr;
    std::array<QLabel*, Rows> Ident{}, Addr{}, Vh{}, TRecv{};

    // Where the shown signals start and how many; showing the window sets both from the block.
    int Start = 0;
    int Count = 0;
    // The discrete outputs of the discrete blocks before the viewed one.
    int DiscreteBefore = 0;

    // Request block i (0-based): its type and slave address, the rows cleared.
    void Prepare(int i);
    int Block() const { return block_; }

  protected:
    void FormShow() override;
    std::vector<PollRequest> Requests() const override;
    void ShowReplies(const PollReplies& replies) override;

  private:
    void ClearStates();
    int block_ = 0;
};
