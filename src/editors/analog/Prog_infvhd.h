#pragma once
// The live view of the controller module's six discrete inputs, polled every 3 s: the health of
// the viewed module (its coil among the 16 from 1016, selected by TProgVegClass::GetCount), the
// input states and their validity. The sensor-type window fills the header before showing it.

#include "LiveView.h"
#include "Obrtipdat.h"

#include <array>

class TFormVhD : public TFormLiveView {
    Q_OBJECT
  public:
    static constexpr int Inputs = 6;

    explicit TFormVhD(EditorContext& context, QWidget* parent = nullptr);

    QLabel *TipMod, *LabAMod, *LabSost;
    std::array<QLabel*, Inputs> Name{}, Vh{}, TRecv{};

    void SetHeader(const LiveInputsHeader& header);

  protected:
    std::vector<PollRequest> Requests() const override;
    void ShowReplies(const PollReplies& replies) override;
};
