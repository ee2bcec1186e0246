// Test entry point for unit and widget tests: one QApplication on Qt's offscreen platform,
// so objects that need an event loop or widgets can be built without a display.
#include "app/translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The texts as an English-speaking user sees them, plural forms included.
    app::installTranslations(app, QLocale(QLocale::English));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
