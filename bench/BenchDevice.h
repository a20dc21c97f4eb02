#pragma once
// What the benchmarks against devsim share: the device on a pseudo-terminal at an emulated baud
// rate with the exchange on its own thread, and a 10 ms probe timer on the window thread.

#include "Comportclass.h"
#include "DevsimProcess.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

// A 10 ms timer on the window thread; records the longest gap between its ticks.
class Probe {
  public:
    Probe() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0) longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        clock_.start();
        timer_.start(10);
    }
    double LongestGapMs() const { return double(longest_) / 1e6; }
    void Reset() {
        last_ = -1;
        longest_ = 0;
    }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 longest_ = 0;
};

// Starts devsim at baud with args and opens port on it, the exchange on its own thread.
inline bool OpenDevsim(DevsimProcess& devsim, TComPortClass& port, const QString& program, int baud,
                       const QStringList& args) {
    QString error;
    if (!devsim.Start(program, QStringList{"--baud", QString::number(baud)} + args, &error)) {
        std::fprintf(stderr, "cannot start devsim: %s\n", qPrintable(error));
        return false;
    }
    port.UseExchangeThread();
    port.SetPortName(devsim.Link());
    port.SetSpeed(baud);
    if (!port.OpenPort(&error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(devsim.Link()), qPrintable(error));
        return false;
    }
    return true;
}
