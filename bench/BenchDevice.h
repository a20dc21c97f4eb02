#pragma once
// What the benchmarks against devsim share: the device on a pseudo-terminal at an emulated baud
// rate with the exchange on its own thread, a 10 ms probe timer on the window thread, and a
// watched stretch of the window thread's event loop.

#include "BenchCpu.h"
#include "Comportclass.h"
#include "DevsimProcess.h"
#include "Dialogs.h"
#include "InputHold.h"

#include <QElapsedTimer>
#include <QTest>
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
    port.UseExchangeThread(HoldInput, ReleaseInput); // as the program runs it
    port.SetPortName(devsim.Link());
    port.SetSpeed(baud);
    if (!port.OpenPort(&error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(devsim.Link()), qPrintable(error));
        return false;
    }
    return true;
}

struct Watched {
    double cpuShare = 0;     // of one core, in per cent
    double longestGapMs = 0; // between the probe's ticks
};

// Runs the window thread's event loop for seconds under a probe.
inline Watched WatchFor(int seconds) {
    Probe probe;
    QElapsedTimer clock;
    clock.start();
    const double cpu0 = CpuSeconds();
    QTest::qWait(seconds * 1000);
    const double cpu = CpuSeconds() - cpu0, elapsed = double(clock.nsecsElapsed()) / 1e9;
    return {100 * cpu / elapsed, probe.LongestGapMs()};
}

// Shows view, watches the event loop for seconds, closes the view and gives message boxes back.
template <class View> Watched WatchShown(View& view, int seconds) {
    view.show();
    const Watched watched = WatchFor(seconds);
    view.close();
    SetMessageBoxHandler({});
    return watched;
}

// Answers every message box, counting it in failures, and starts the polling of view again, as a
// user would after a failure's box.
template <class View> void RestartAfterEachBox(View& view, int& failures) {
    SetMessageBoxHandler([&view, &failures](QWidget*, const MessageBoxRequest&) {
        ++failures;
        QTimer::singleShot(0, &view, [&view] {
            if (!view.Timer1->isActive()) view.Button1Click();
        });
        return int(mrOk);
    });
}

// The N of "--seconds N" on the command line, else fallback.
inline int SecondsArgument(const QStringList& args, int fallback = 30) {
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == "--seconds") return args[i + 1].toInt();
    return fallback;
}
