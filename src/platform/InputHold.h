#pragma once
// Holds the user's input while the program waits for work that runs elsewhere: input to every
// window is dropped and the wait cursor shows; painting, timers and queued calls go on. A close
// request is refused, so no window closes under its own wait.

#include <QObject>

class InputHold : public QObject {
  public:
    InputHold();
    ~InputHold() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The same as a pair of calls, for a wait that another layer brackets (the exchange's Run):
// each ReleaseInput ends the latest HoldInput.
void HoldInput();
void ReleaseInput();
