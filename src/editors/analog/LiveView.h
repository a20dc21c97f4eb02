#pragma once
// What the four live views share: a window timer that starts one poll per tick through a
// PollService, the start/stop button "Пуск и остановка таймера" with its label "запущен опрос",
// and the polling marker. Showing starts polling; closing stops the timer and waits out the poll
// in flight. A failure stops the timer before its one error box; Button1 starts polling again.
// A view gives its requests, its fixed texts and the painting of a poll's replies.

#include "PollService.h"

#include <QDialog>
#include <vector>

class EditorContext;
class QLabel;
class QPushButton;
class QTimer;
class QVBoxLayout;

class TFormLiveView : public QDialog {
    Q_OBJECT
  public:
    TFormLiveView(EditorContext& context, int intervalMs, QWidget* parent = nullptr);
    ~TFormLiveView() override;

    QTimer* Timer1;
    QPushButton* Button1;
    QLabel* Label1; // "запущен опрос" while polling runs
    // Inverted by every start and stop: 1 while polling is stopped; a failure is reported when,
    // after its stop, it is 1.
    int PollMarker = 1;

    void Button1Click();
    void Timer1Timer() { InClick(); }
    // One poll; nothing while a poll or a transfer runs.
    void InClick();
    bool Polling() const { return poll_.Polling(); }

  protected:
    // The rows of the view above the button.
    QVBoxLayout* Body() const { return body_; }
    EditorContext& Context() const { return ctx_; }
    int DevNum() const;

    virtual void FormShow() {}
    virtual std::vector<PollRequest> Requests() const = 0;
    virtual void ShowReplies(const PollReplies& replies) = 0;
    // Replies the view cannot take: a failed poll, as a malformed reply.
    void ReplyNotTaken();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FormClose();
    void PollFailed(int result);

    EditorContext& ctx_;
    PollService poll_;
    int intervalMs_;
    QVBoxLayout* body_;
};
