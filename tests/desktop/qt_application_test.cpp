#include "desktop/color_scheme_service.h"
#include "desktop/qt_application.h"
#include "support/fake_window_system.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QWidget>

namespace {

using testing_support::FakeWindowSystem;

class QtApplicationTest : public testing::Test {
protected:
    QList<bool> skipsFor(const QWidget& window) const {
        QList<bool> result;
        for (const auto& [handle, skip] : windowSystem.skipTaskbarCalls())
            if (handle == window.windowHandle())
                result << skip;
        return result;
    }

    FakeWindowSystem windowSystem;
    desktop::ColorSchemeService colorSchemes{nullptr};
    desktop::QtApplication application{colorSchemes, &windowSystem};
};

TEST_F(QtApplicationTest, OrdinaryWindowsLeaveTheTaskbarOnlyWhileAccessory) {
    QWidget settings;
    settings.winId();
    QWidget tool(nullptr, Qt::Tool);
    tool.winId();

    application.setListedInTaskbar(false);
    application.setListedInTaskbar(true);

    EXPECT_EQ(skipsFor(settings), (QList<bool>{true, false}));
    EXPECT_TRUE(skipsFor(tool).isEmpty()) << "tool windows keep their own hints";
    EXPECT_TRUE(application.isListedInTaskbar());
}

TEST_F(QtApplicationTest, WindowsShownLaterTakeTheListing) {
    application.setListedInTaskbar(false);
    QDialog dialog;
    QMenu popup;
    dialog.show();
    popup.show();

    EXPECT_EQ(skipsFor(dialog), QList<bool>{true});
    EXPECT_TRUE(skipsFor(popup).isEmpty());
}

TEST_F(QtApplicationTest, DeactivateHandsActivationAway) {
    application.deactivate();
    EXPECT_EQ(windowSystem.yields(), 1);
}

TEST_F(QtApplicationTest, AppearanceGoesToTheColourSchemes) {
    application.setAppearance(desktop::Appearance::Dark);
    EXPECT_EQ(colorSchemes.colorScheme(), desktop::ColorScheme::Dark);
    application.setAppearance(desktop::Appearance::Light);
    EXPECT_EQ(colorSchemes.colorScheme(), desktop::ColorScheme::Light);
    QApplication::setPalette(QPalette());
}

} // namespace
