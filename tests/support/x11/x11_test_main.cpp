// main() of X11 test programs that need a QApplication on a private X server: starts Xvfb and
// openbox first (ctest runs each test case in its own process, so each case gets its own
// server), then the QApplication on it, then the tests. Link holdfin_test_main_x11.
#include "xvfb_session.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    testing_support::x11::XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "no X server for the tests: %s\n", error->c_str());
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
