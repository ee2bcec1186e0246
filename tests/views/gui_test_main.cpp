#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need an application object. They draw off screen: ctest sets the platform, and
// test discovery (which runs this binary without ctest's environment) gets the same default.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
