#pragma once
// The live view of the four discrete outputs of the controller, polled every 3 s. Its openers
// (the analogue-module editor, the relay-module editor) fill the module labels and the output
// labels before showing it.

#include "LiveView.h"

#include <QStringList>
#include <array>

class TFormVyhOnL : public TFormLiveView {
    Q_OBJECT
  public:
    explicit TFormVyhOnL(EditorContext& context, QWidget* parent = nullptr);

    QLabel *LabNMod, *TipMod, *LabAMod;
    std::array<QLabel*, 4> OnOff{}; // the output labels
    std::array<QLabel*, 4> Vyh{};   // "on" on aqua, or "off"

    void SetModuleLabels(const QString& number, const QString& type, const QString& address);
    void SetOutputLabels(const QStringList& texts);

  protected:
    std::vector<PollRequest> Requests() const override;
    void ShowReplies(const PollReplies& replies) override;
};
