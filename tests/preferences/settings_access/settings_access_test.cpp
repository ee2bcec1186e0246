#include "preferences/settings_access/legacy_open_settings.h"
#include "preferences/settings_access/open_settings_access_action.h"
#include "preferences/settings_access/open_settings_injection_view.h"
#include "preferences/settings_access/pre_post_actions_button_style.h"
#include "preferences/settings_access/settings_access_environment.h"
#include "preferences/settings_access/settings_button.h"

#include "support/fake_main_queue.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QStringList>

#include <memory>
#include <set>
#include <thread>
#include <vector>

using namespace settings_access;

namespace {

constexpr OperatingSystemVersion kBeforeSettingsLink{13, 6, 0};
constexpr OperatingSystemVersion kWithSettingsLink{14, 0, 0};

// A delegate that answers both action messages.
class BothMessagesDelegate : public QObject {
    Q_OBJECT
public:
    explicit BothMessagesDelegate(QStringList& log) : m_log(log) {}
public slots:
    void showSettingsWindow() { m_log << QStringLiteral("showSettingsWindow"); }
    void showPreferencesWindow() { m_log << QStringLiteral("showPreferencesWindow"); }

private:
    QStringList& m_log;
};

// A delegate that answers only the older message.
class PreferencesOnlyDelegate : public QObject {
    Q_OBJECT
public:
    explicit PreferencesOnlyDelegate(QStringList& log) : m_log(log) {}
    // Not a slot: a plain method of the same name is no answer to the message.
    void showSettingsWindow() { m_log << QStringLiteral("not a slot"); }
public slots:
    void showPreferencesWindow() { m_log << QStringLiteral("showPreferencesWindow"); }

private:
    QStringList& m_log;
};

// Builds the platform of one test: its version, an optional delegate, a manual main queue and a
// settings window that records being opened.
struct Harness {
    explicit Harness(OperatingSystemVersion version)
        : platform{SystemVersion::fixed(version), [this] { return delegate; },
                   [this](std::function<void()> task) { queue.async(std::move(task)); },
                   [this] { log << QStringLiteral("open"); }} {}

    QObject* delegate = nullptr;
    QStringList log;
    testing_support::FakeMainQueue queue;
    SettingsPlatform platform;
};

QStringList pressSettingsButton(Harness& harness) {
    SettingsAccessEnvironment environment(harness.platform);
    QObject owner;
    QAction* button = settingsButton(
        environment, QStringLiteral("Preferences\u2026"),
        [&] { harness.log << QStringLiteral("pre"); },
        [&] { harness.log << QStringLiteral("post"); }, &owner);
    EXPECT_EQ(button->text(), QStringLiteral("Preferences\u2026"));
    button->trigger();
    return harness.log;
}

} // namespace

TEST(LegacySettingsAccess, DelegateAnsweringBothMessagesGetsOnlyTheFirst) {
    Harness harness(kBeforeSettingsLink);
    BothMessagesDelegate delegate(harness.log);
    harness.delegate = &delegate;
    EXPECT_EQ(legacyOpenSettings(harness.platform), std::nullopt);
    EXPECT_EQ(harness.log, QStringList{QStringLiteral("showSettingsWindow")});
}

TEST(LegacySettingsAccess, DelegateAnsweringOnlyTheSecondGetsIt) {
    Harness harness(kBeforeSettingsLink);
    PreferencesOnlyDelegate delegate(harness.log);
    harness.delegate = &delegate;
    EXPECT_EQ(legacyOpenSettings(harness.platform), std::nullopt);
    EXPECT_EQ(harness.log, QStringList{QStringLiteral("showPreferencesWindow")});
}

TEST(LegacySettingsAccess, WithoutAnAnsweringDelegateTheSelectorIsNotFound) {
    QObject silent;
    for (QObject* delegate : {static_cast<QObject*>(nullptr), &silent}) {
        Harness harness(kBeforeSettingsLink);
        harness.delegate = delegate;
        EXPECT_EQ(legacyOpenSettings(harness.platform), LegacyOpenSettingsError::selectorNotFound);
        EXPECT_FALSE(sendToApplicationDelegate(harness.platform, kShowSettingsWindow));
    }
}

TEST(LegacySettingsAccess, SettingsButtonRunsPreDelegatePostInOrder) {
    Harness withoutDelegate(kBeforeSettingsLink);
    EXPECT_EQ(pressSettingsButton(withoutDelegate), (QStringList{"pre", "post"}));

    Harness withDelegate(kBeforeSettingsLink);
    BothMessagesDelegate delegate(withDelegate.log);
    withDelegate.delegate = &delegate;
    EXPECT_EQ(pressSettingsButton(withDelegate),
              (QStringList{"pre", "showSettingsWindow", "post"}));
}

TEST(LegacySettingsAccess, SharedActionIsUsableAtOnceAndRunsOnTheMainQueue) {
    Harness harness(kBeforeSettingsLink);
    BothMessagesDelegate delegate(harness.log);
    harness.delegate = &delegate;
    SettingsAccessEnvironment environment(harness.platform);
    auto action = environment.openSettings();

    (*action)();
    EXPECT_TRUE(harness.log.isEmpty()) << "invoking must return before the request runs";
    EXPECT_EQ(harness.queue.drain(), 1u);
    EXPECT_EQ(harness.log, QStringList{"showSettingsWindow"});

    // A link cannot take over here: the binding is a constant.
    action->closureBinding().set([] { return std::optional<ActionError>(); });
    EXPECT_FALSE(action->closureBinding().get());
}

TEST(LegacySettingsAccess, SelectorNotFoundBecomesTheOpenSettingsErrorOfTheSameCase) {
    Harness harness(kBeforeSettingsLink);
    auto action = OpenSettingsAccessAction::create(harness.platform);
    EXPECT_EQ(action->perform(), toActionError(OpenSettingsError::selectorNotFound));
}

TEST(NewerSettingsAccess, LegacyOpeningIsUnsupportedAndMapsToTheOpenSettingsError) {
    Harness harness(kWithSettingsLink);
    BothMessagesDelegate delegate(harness.log);
    harness.delegate = &delegate;
    EXPECT_EQ(legacyOpenSettings(harness.platform), LegacyOpenSettingsError::unsupportedPlatform);

    auto action = OpenSettingsAccessAction::create(harness.platform);
    action->setClosure([&]() -> std::optional<ActionError> {
        if (auto error = legacyOpenSettings(harness.platform))
            return toActionError(*error);
        return std::nullopt;
    });
    EXPECT_EQ(action->perform(), toActionError(OpenSettingsError::unsupportedPlatform));
    EXPECT_TRUE(harness.log.isEmpty());
}

TEST(NewerSettingsAccess, OtherErrorsPassUnchanged) {
    Harness harness(kWithSettingsLink);
    auto action = OpenSettingsAccessAction::create(harness.platform);
    const ActionError foreign{QStringLiteral("Elsewhere.Failure"), 1};
    action->setClosure([foreign] { return std::optional<ActionError>(foreign); });
    EXPECT_EQ(action->perform(), foreign);
}

TEST(NewerSettingsAccess, SettingsButtonRunsPreOpenPostInOrder) {
    Harness harness(kWithSettingsLink);
    BothMessagesDelegate delegate(harness.log);
    harness.delegate = &delegate;
    EXPECT_EQ(pressSettingsButton(harness), (QStringList{"pre", "open", "post"}))
        << "no action message on this path";
}

TEST(NewerSettingsAccess, ActionIsNotConnectedUntilAnInjectionViewWasShown) {
    Harness harness(kWithSettingsLink);
    SettingsAccessEnvironment environment(harness.platform);
    auto action = environment.openSettings();

    (*action)();
    harness.queue.drain();
    EXPECT_TRUE(harness.log.isEmpty());
    EXPECT_EQ(action->perform(), toActionError(OpenSettingsError::settingsLinkNotConnected));

    OpenSettingsInjectionView view(environment, new QLabel(QStringLiteral("shelf")));
    EXPECT_EQ(action->perform(), toActionError(OpenSettingsError::settingsLinkNotConnected))
        << "building the view is not showing it";
    view.show();
    (*action)();
    EXPECT_TRUE(harness.log.isEmpty());
    harness.queue.drain();
    EXPECT_EQ(harness.log, QStringList{"open"});
}

TEST(NewerSettingsAccess, InjectionViewTakesNoRoomFromItsContent) {
    Harness harness(kWithSettingsLink);
    SettingsAccessEnvironment environment(harness.platform);
    auto* content = new QLabel(QStringLiteral("shelf"));
    OpenSettingsInjectionView view(environment, content);
    view.resize(160, 310);
    view.show();
    EXPECT_EQ(content->geometry(), view.rect());
}

TEST(NewerSettingsAccess, ClosureBindingHoldsTheActionWeakly) {
    Harness harness(kWithSettingsLink);
    auto action = OpenSettingsAccessAction::create(harness.platform);
    const Binding<FallibleAction> binding = action->closureBinding();
    binding.set([] { return std::optional<ActionError>(); });
    EXPECT_TRUE(action->closure());
    EXPECT_TRUE(binding.get());

    std::weak_ptr<OpenSettingsAccessAction> weak = action;
    action.reset();
    EXPECT_TRUE(weak.expired()) << "the binding must not keep the action alive";
    EXPECT_FALSE(binding.get());
    binding.set([] { return std::optional<ActionError>(); });
}

TEST(SharedOpenSettingsAction, EveryReadGivesTheSameAction) {
    Harness harness(kWithSettingsLink);
    SettingsAccessEnvironment environment(harness.platform);
    EXPECT_EQ(environment.openSettings(), environment.openSettings());
}

TEST(SharedOpenSettingsAction, ConcurrentFirstReadsCreateOneAction) {
    Harness harness(kWithSettingsLink);
    SettingsAccessEnvironment environment(harness.platform);
    constexpr int kReaders = 8;
    std::vector<std::shared_ptr<OpenSettingsAccessAction>> seen(kReaders);
    std::vector<std::thread> readers;
    for (int i = 0; i < kReaders; ++i)
        readers.emplace_back([&environment, &seen, i] { seen[i] = environment.openSettings(); });
    for (auto& reader : readers)
        reader.join();
    const std::set<OpenSettingsAccessAction*> distinct = [&] {
        std::set<OpenSettingsAccessAction*> set;
        for (const auto& action : seen)
            set.insert(action.get());
        return set;
    }();
    EXPECT_EQ(distinct.size(), 1u);
    EXPECT_EQ(*distinct.begin(), environment.openSettings().get());
}

TEST(PrePostActionsButtonStyle, RecordsTheTriggerOnEveryBuildAndKeepsTheRoleFromVersion12) {
    struct Case {
        OperatingSystemVersion version;
        std::optional<ButtonRole> expectedRole;
    };
    for (const Case& c : {Case{{11, 7, 0}, std::nullopt}, Case{{12, 0, 0}, ButtonRole::cancel}}) {
        FallibleAction performed;
        const Binding<FallibleAction> perform([&] { return performed; },
                                              [&](FallibleAction a) { performed = std::move(a); });
        const PrePostActionsButtonStyle style(SystemVersion::fixed(c.version), {}, {}, perform);
        int triggered = 0;
        const ButtonBody body =
            style.makeBody({QStringLiteral("x"), [&] { ++triggered; }, ButtonRole::cancel});
        EXPECT_EQ(body.role, c.expectedRole);
        ASSERT_TRUE(performed);
        EXPECT_EQ(performed(), std::nullopt);
        body.action();
        EXPECT_EQ(triggered, 2);
    }
}

TEST(OpenSettingsErrors, BridgeWithTheirTypeAsDomainAndTheirPositionAsCode) {
    EXPECT_EQ(toActionError(LegacyOpenSettingsError::unsupportedPlatform),
              (ActionError{"SettingsAccess.LegacyOpenSettingsError", 0}));
    EXPECT_EQ(toActionError(LegacyOpenSettingsError::selectorNotFound),
              (ActionError{"SettingsAccess.LegacyOpenSettingsError", 1}));
    EXPECT_EQ(toActionError(OpenSettingsError::unsupportedPlatform),
              (ActionError{"SettingsAccess.OpenSettingsError", 0}));
    EXPECT_EQ(toActionError(OpenSettingsError::selectorNotFound),
              (ActionError{"SettingsAccess.OpenSettingsError", 1}));
    EXPECT_EQ(toActionError(OpenSettingsError::settingsLinkNotConnected),
              (ActionError{"SettingsAccess.OpenSettingsError", 2}));
    for (auto error : {OpenSettingsError::unsupportedPlatform, OpenSettingsError::selectorNotFound,
                       OpenSettingsError::settingsLinkNotConnected})
        EXPECT_EQ(openSettingsError(toActionError(error)), error);
    EXPECT_EQ(openSettingsError({QStringLiteral("SettingsAccess.OpenSettingsError"), 3}),
              std::nullopt);
    EXPECT_EQ(legacyOpenSettingsError(toActionError(OpenSettingsError::selectorNotFound)),
              std::nullopt);
}

#include "settings_access_test.moc"
