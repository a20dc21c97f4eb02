#pragma once
// A modal window looked at while it is open, as the user sees it, and closed by Escape.

#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// What a title bar needs to show caption whole: its text in the application font made bold, and
// about 160 pixels for the window's icon and buttons.
inline int TitleBarWidth(const QString& caption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + 160;
}

// Runs check on the modal window that opens next, once it shows, then presses Escape in it.
inline void CheckNextModal(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check = std::move(check)] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window) return ADD_FAILURE() << "no modal window open";
        check(window);
        QTest::keyClick(window, Qt::Key_Escape);
    });
}
