#include "desktop/settings_keys.h"
#include "preferences/general_preferences_view.h"
#include "preferences/launch_at_login.h"
#include "preferences/preferences_view.h"

#include "desktop/settings.h"
#include "support/fake_autostart.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace preferences;
namespace keys = desktop::settings_keys;

namespace {

// A preferences view over empty settings in a temporary file, with a delegate whose calls are
// recorded together with the value stored at the time of the call.
class PreferencesTest : public testing::Test {
protected:
    AppDelegateHooks hooks(bool isDelegateRegistered) {
        return {[isDelegateRegistered] { return isDelegateRegistered; },
                [this] {
                    calls << QStringLiteral("applyAppearance ") +
                                 settings.stringValue(keys::selectedAppearance).value_or("-");
                },
                [this](bool isEnabled) {
                    calls << QStringLiteral("updateLaunchAtLogin ") +
                                 (settings.boolValue(keys::launchAtLogin, false) ? "stored-on"
                                                                                 : "stored-off");
                    updateLaunchAtLogin(autostart, isEnabled);
                },
                [this] { return autostart.isEnabled(); }};
    }

    QCheckBox* toggle(QWidget& view, const char* name) {
        return view.findChild<QCheckBox*>(QLatin1String(name));
    }
    QComboBox* picker(QWidget& view) {
        return view.findChild<QComboBox*>(QStringLiteral("selectedAppearance"));
    }
    void choose(QComboBox* combo, const QString& row) {
        // As the user does: keys move the selection and report it as activated.
        while (combo->currentText() != row) {
            const int before = combo->currentIndex();
            QKeyEvent press(QEvent::KeyPress,
                            combo->findText(row) > before ? Qt::Key_Down : Qt::Key_Up,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(combo, &press);
            ASSERT_NE(combo->currentIndex(), before);
        }
    }

    QTemporaryDir dir;
    desktop::Settings settings{dir.filePath(QStringLiteral("holdfin.conf"))};
    testing_support::FakeAutostart autostart;
    QStringList calls;
};

} // namespace

TEST_F(PreferencesTest, EmptyDefaultsShowLaunchOffIconOnAndSystem) {
    GeneralPreferencesView view(settings, hooks(true));
    EXPECT_FALSE(toggle(view, "launchAtLogin")->isChecked());
    EXPECT_TRUE(toggle(view, "showMenuBarIcon")->isChecked());
    EXPECT_EQ(picker(view)->currentText(), QStringLiteral("System"));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_FALSE(settings.contains(keys::launchAtLogin)) << "showing stores nothing";
}

TEST_F(PreferencesTest, TogglesAndPickerCarryTheirLabelsAndRows) {
    GeneralPreferencesView view(settings, hooks(true));
    EXPECT_EQ(toggle(view, "launchAtLogin")->text(), QStringLiteral("Launch Application at login"));
    EXPECT_EQ(toggle(view, "showMenuBarIcon")->text(), QStringLiteral("Show menu bar icon"));
    QStringList rows;
    for (int i = 0; i < picker(view)->count(); ++i)
        rows << picker(view)->itemText(i);
    EXPECT_EQ(rows, (QStringList{"Light", "Dark", "System"}));
    EXPECT_EQ(view.width(), 420);
}

TEST_F(PreferencesTest, EachLaunchAtLoginToggleStoresFirstThenMakesOneRequest) {
    GeneralPreferencesView view(settings, hooks(true));
    QCheckBox* launch = toggle(view, "launchAtLogin");
    launch->click();
    EXPECT_TRUE(settings.boolValue(keys::launchAtLogin, false));
    launch->click();
    EXPECT_FALSE(settings.boolValue(keys::launchAtLogin, true));
    EXPECT_EQ(calls,
              (QStringList{"updateLaunchAtLogin stored-on", "updateLaunchAtLogin stored-off"}));
    EXPECT_EQ(autostart.requests(), (QStringList{"enable", "disable"}));
}

TEST_F(PreferencesTest, FailedRegistrationKeepsTheToggleOn) {
    autostart.setSucceeding(false);
    GeneralPreferencesView view(settings, hooks(true));
    QCheckBox* launch = toggle(view, "launchAtLogin");
    launch->click();
    EXPECT_TRUE(launch->isChecked());
    EXPECT_TRUE(settings.boolValue(keys::launchAtLogin, false));
    EXPECT_EQ(autostart.requests(), QStringList{"enable"});
}

TEST_F(PreferencesTest, EachShowingTicksLaunchAtLoginAsTheEntryIs) {
    GeneralPreferencesView view(settings, hooks(true));
    QCheckBox* launch = toggle(view, "launchAtLogin");
    for (const bool isEnabled : {true, false, true}) {
        autostart.setEnabledElsewhere(isEnabled); // by the desktop's session settings
        view.show();
        EXPECT_EQ(launch->isChecked(), isEnabled);
        EXPECT_EQ(settings.boolValue(keys::launchAtLogin, !isEnabled), isEnabled);
        view.hide();
    }
    EXPECT_TRUE(autostart.requests().isEmpty()) << "the entry is never rewritten";
}

TEST_F(PreferencesTest, ChosenAppearanceIsStoredThenAppliedAtOnce) {
    GeneralPreferencesView view(settings, hooks(true));
    choose(picker(view), QStringLiteral("Dark"));
    choose(picker(view), QStringLiteral("System"));
    EXPECT_EQ(calls, (QStringList{"applyAppearance Dark", "applyAppearance System"}));
    EXPECT_EQ(settings.stringValue(keys::selectedAppearance), QStringLiteral("System"));
}

TEST_F(PreferencesTest, WithoutADelegateTheSettersOnlyStore) {
    GeneralPreferencesView view(settings, hooks(false));
    toggle(view, "launchAtLogin")->click();
    choose(picker(view), QStringLiteral("Light"));
    EXPECT_TRUE(settings.boolValue(keys::launchAtLogin, false));
    EXPECT_EQ(settings.stringValue(keys::selectedAppearance), QStringLiteral("Light"));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(autostart.requests().isEmpty());
}

TEST_F(PreferencesTest, HidingTheMenuBarIconOnlyStores) {
    GeneralPreferencesView view(settings, hooks(true));
    toggle(view, "showMenuBarIcon")->click();
    EXPECT_FALSE(settings.boolValue(keys::showMenuBarIcon, true));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(autostart.requests().isEmpty());
}

TEST_F(PreferencesTest, ControlsFollowWritesMadeElsewhere) {
    GeneralPreferencesView view(settings, hooks(true));
    settings.setValue(keys::showMenuBarIcon, false);
    settings.setValue(keys::launchAtLogin, true);
    settings.setValue(keys::selectedAppearance, QStringLiteral("Dark"));
    EXPECT_FALSE(toggle(view, "showMenuBarIcon")->isChecked());
    EXPECT_TRUE(toggle(view, "launchAtLogin")->isChecked());
    EXPECT_EQ(picker(view)->currentText(), QStringLiteral("Dark"));
    EXPECT_TRUE(calls.isEmpty()) << "following a write is not choosing";

    // A name that is none of the rows selects none and is left as stored.
    settings.setValue(keys::selectedAppearance, QStringLiteral("light"));
    EXPECT_EQ(picker(view)->currentIndex(), -1);
    EXPECT_EQ(settings.stringValue(keys::selectedAppearance), QStringLiteral("light"));
}

TEST_F(PreferencesTest, PreferencesViewStartsOnGeneralAndRetitlesOnlyOnTabChange) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Holdfin"));
    auto* view = new PreferencesView(settings, hooks(true), QStringLiteral("General"), &window);
    auto* tabs = view->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->currentWidget(), view->generalView());
    EXPECT_EQ(view->selectedTab(), QStringLiteral("General"));

    window.show();
    view->setSelectedTab(QStringLiteral("General"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Holdfin"));

    view->setSelectedTab(QStringLiteral("Advanced"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Advanced"));
    EXPECT_EQ(window.sizeIncrement(), QSize(1, 1));
}

TEST_F(PreferencesTest, KeepingTheShelfIsOnByDefaultAndOnlyStored) {
    GeneralPreferencesView view(settings, hooks(true));
    QCheckBox* keep = toggle(view, "keepShelf");
    ASSERT_NE(keep, nullptr);
    EXPECT_EQ(keep->text(), QStringLiteral("Keep the shelf between sessions"));
    EXPECT_TRUE(keep->isChecked());
    EXPECT_FALSE(settings.contains(keys::keepShelf)) << "showing stores nothing";
    keep->click();
    EXPECT_FALSE(settings.boolValue(keys::keepShelf, true));
    settings.setValue(keys::keepShelf, true);
    EXPECT_TRUE(keep->isChecked()) << "follows writes made elsewhere";
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(PreferencesTest, ShelfShortcutIsNoneByDefaultStoredWhenTypedAndRemovedWhenCleared) {
    GeneralPreferencesView view(settings, hooks(true));
    auto* edit = view.findChild<QKeySequenceEdit*>(QStringLiteral("showShelfShortcut"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->keySequence().isEmpty());
    EXPECT_FALSE(settings.contains(keys::showShelfShortcut));

    edit->setKeySequence(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    emit edit->editingFinished();
    EXPECT_EQ(settings.stringValue(keys::showShelfShortcut), QStringLiteral("Ctrl+Alt+S"));
    edit->clear();
    EXPECT_FALSE(settings.contains(keys::showShelfShortcut)) << "cleared: none";

    settings.setValue(keys::showShelfShortcut, QStringLiteral("Meta+F5"));
    EXPECT_EQ(edit->keySequence(), QKeySequence(QStringLiteral("Meta+F5")));
    EXPECT_TRUE(calls.isEmpty());
}
