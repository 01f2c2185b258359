// The widgets need a QApplication, and the tests never need a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The tests click one button after another faster than any user, which the window would
    // take for double clicks; the test of double clicks sets a time of its own.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
