// main() of test programs that need a QApplication (on the platform ctest sets, offscreen for
// unit and widget tests). Link holdfin_test_main_qt.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    // Test discovery runs without the test environment: no display to open then.
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
