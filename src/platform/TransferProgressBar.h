#pragma once
// A window's progress bar during one transfer: shown at 0 while this object lives, hidden at
// its end. Report() is the transfer's progress callback; it may be called from the exchange
// thread and reaches the bar on the bar's own thread.

#include <functional>

class QProgressBar;

class TransferProgressBar {
  public:
    explicit TransferProgressBar(QProgressBar* bar);
    ~TransferProgressBar();
    TransferProgressBar(const TransferProgressBar&) = delete;
    TransferProgressBar& operator=(const TransferProgressBar&) = delete;

    std::function<void(int value, int maximum)> Report() const;

  private:
    QProgressBar* bar_;
};
