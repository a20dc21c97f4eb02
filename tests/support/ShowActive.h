#pragma once
// A window shown and made the active one, so that keys and clicks reach it as they reach the user's.

#include <QApplication>
#include <QTest>
#include <QWidget>

inline bool ShowActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}
