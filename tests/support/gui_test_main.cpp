// Entry point of the GUI test programs: a QApplication on the offscreen platform, then GoogleTest.
// With VEG_SCREEN_CONFIG: on the screen that file describes, with the tool's Russian dates.
#include <gtest/gtest.h>

#include <QApplication>

#ifdef VEG_SCREEN_CONFIG
#include "RussianDates.h"
#endif

int main(int argc, char** argv) {
#ifdef VEG_SCREEN_CONFIG
    UseRussianDates(); // as the tool starts
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VEG_SCREEN_CONFIG);
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
