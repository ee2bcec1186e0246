#include "preferences/settings_access/settings_access_environment.h"
#include "preferences/settings_access/settings_button.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QStringList>

#include <memory>

using namespace settings_access;

// A "Preferences…" entry runs its pre-action, opens through the shared action, then runs its
// post-action; an entry that outlives the application's action still runs its own actions.
TEST(SettingsButton, RunsPreOpenPostInOrder) {
    QStringList log;
    auto environment =
        std::make_unique<SettingsAccessEnvironment>([&] { log << QStringLiteral("open"); });
    QObject owner;
    QAction* button = settingsButton(
        *environment, QStringLiteral("Preferences\u2026"), [&] { log << QStringLiteral("pre"); },
        [&] { log << QStringLiteral("post"); }, &owner);
    EXPECT_EQ(button->text(), QStringLiteral("Preferences\u2026"));
    button->trigger();
    EXPECT_EQ(log, (QStringList{"pre", "open", "post"}));

    environment->openSettings().trigger();
    EXPECT_EQ(log.size(), 4) << "the shared action opens on its own too";
    environment.reset();
    log.clear();
    button->trigger();
    EXPECT_EQ(log, (QStringList{"pre", "post"}));
}
