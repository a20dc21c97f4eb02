#pragma once
// The live view of the analogue values of one network request block, polled every second by 'G'
// requests of at most 31 values each: 48 rows, one per analogue position; the block's rows show
// their identifier, unit, position, value and set-point state, the other rows stay empty.

#include "editors/analog/LiveView.h"

#include <array>

class TFormVhDLoc;

class TFormVhAnL : public TFormLiveView {
    Q_OBJECT
  public:
    static constexpr int Rows = 48;

    explicit TFormVhAnL(EditorContext& context, QWidget* parent = nullptr);

    TFormVhDLoc* FormVhDLoc = nullptr; // the discrete view of the block's set-point signals

    QLabel *TipUstr, *LabUstr;
    std::array<QLabel*, Rows> Name{}, Addr{}, Val{}, Raz{}, Sost{};
    QPushButton* ButOnLine;

    // Request block i (0-based, function 3 or 4): its type, slave address, the rows of its values
    // labelled with their identifiers and units, every value cleared.
    void Prepare(int i);
    int Block() const { return block_; }
    void ButOnLineClick();

  protected:
    std::vector<PollRequest> Requests() const override;
    void ShowReplies(const PollReplies& replies) override;

  private:
    void ClearValues();
    int block_ = 0;
};
