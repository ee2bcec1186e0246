// The main of test programs whose tests need a QApplication (widgets, resources, event loop).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Test discovery runs the program without the tests' environment: never need a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
