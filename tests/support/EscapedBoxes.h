#pragma once
// The interactive message boxes as the user meets them, on the exchange thread: every box that
// opens is recorded (its text, and whether a transfer was waiting then) and answered by an Escape
// key press. A box Escape cannot close within a second is closed by force, so that a test fails
// instead of hanging.

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

class EscapedBoxes {
  public:
    explicit EscapedBoxes(std::function<bool()> transferRunning) : running_(std::move(transferRunning)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start(20);
    }
    // Waits until n boxes were shown and none is open.
    bool WaitFor(int n) {
        return QTest::qWaitFor([&] { return texts.size() >= n && !QApplication::activeModalWidget(); },
                               10000);
    }

    QStringList texts;
    bool duringTransfer = false; // a box opened while a transfer waited
    bool stuck = false;          // a box did not close on Escape

  private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (box != current_) {
            current_ = box;
            tries_ = 0;
            texts << box->text();
            duringTransfer = duringTransfer || running_();
        }
        if (++tries_ > 50) {
            stuck = true;
            box->hide(); // no close event: the input hold would eat it
            return;
        }
        QTest::keyClick(box, Qt::Key_Escape);
    }

    std::function<bool()> running_;
    QTimer timer_;
    QPointer<QMessageBox> current_;
    int tries_ = 0;
};
