#include "desktop/color_scheme_service.h"
#include "desktop/portal_color_scheme.h"
#include "support/fake_desktop_color_scheme.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusVariant>
#include <QSignalSpy>

namespace {

using desktop::Appearance;
using desktop::ColorScheme;
using desktop::ColorSchemeService;
using testing_support::FakeDesktopColorScheme;

ColorScheme applicationScheme() {
    return ColorSchemeService::schemeOf(QApplication::palette());
}

class ColorSchemeServiceTest : public testing::Test {
protected:
    void TearDown() override { QApplication::setPalette(QPalette()); }
    FakeDesktopColorScheme desktop;
};

struct Choice {
    Appearance appearance;
    std::optional<ColorScheme> desktopPreference;
    ColorScheme expected;
};

class ColorSchemeServiceChoice : public ColorSchemeServiceTest,
                                 public testing::WithParamInterface<Choice> {};

INSTANTIATE_TEST_SUITE_P(
    Appearances, ColorSchemeServiceChoice,
    testing::Values(Choice{Appearance::Light, ColorScheme::Dark, ColorScheme::Light},
                    Choice{Appearance::Dark, ColorScheme::Light, ColorScheme::Dark},
                    Choice{Appearance::Dark, std::nullopt, ColorScheme::Dark},
                    Choice{Appearance::System, ColorScheme::Dark, ColorScheme::Dark},
                    Choice{Appearance::System, ColorScheme::Light, ColorScheme::Light}));

TEST_P(ColorSchemeServiceChoice, ViewsAndWidgetsGetTheChosenScheme) {
    desktop.setPreference(GetParam().desktopPreference);
    ColorSchemeService service(&desktop);
    service.setAppearance(GetParam().appearance);

    EXPECT_EQ(service.colorScheme(), GetParam().expected);
    EXPECT_EQ(applicationScheme(), GetParam().expected) << "the application palette follows";
}

TEST_F(ColorSchemeServiceTest, FollowsTheDesktopLiveOnlyWhileSystemIsChosen) {
    ColorSchemeService service(&desktop);
    service.setAppearance(Appearance::System);
    desktop.setPreference(ColorScheme::Light);
    QSignalSpy changes(&service, &ColorSchemeService::colorSchemeChanged);

    desktop.setPreference(ColorScheme::Dark);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<ColorScheme>(), ColorScheme::Dark);
    EXPECT_EQ(applicationScheme(), ColorScheme::Dark);

    service.setAppearance(Appearance::Light);
    EXPECT_EQ(changes.count(), 2);
    desktop.setPreference(ColorScheme::Light);
    desktop.setPreference(ColorScheme::Dark);
    EXPECT_EQ(changes.count(), 2) << "a forced scheme ignores the desktop";
    EXPECT_EQ(service.colorScheme(), ColorScheme::Light);
}

TEST_F(ColorSchemeServiceTest, SignalsOnlyRealChanges) {
    desktop.setPreference(ColorScheme::Dark);
    ColorSchemeService service(&desktop);
    QSignalSpy changes(&service, &ColorSchemeService::colorSchemeChanged);

    service.setAppearance(Appearance::Dark);
    service.setAppearance(Appearance::System);
    desktop.setPreference(ColorScheme::Dark);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ColorSchemeServiceTest, WithoutADesktopPreferenceJudgesTheDesktopPalette) {
    QApplication::setPalette(ColorSchemeService::darkPalette());
    ColorSchemeService dark(&desktop);
    EXPECT_EQ(dark.colorScheme(), ColorScheme::Dark);
    QApplication::setPalette(ColorSchemeService::lightPalette());
    ColorSchemeService light(nullptr);
    EXPECT_EQ(light.colorScheme(), ColorScheme::Light);
    light.setAppearance(Appearance::Dark);
    light.setAppearance(Appearance::System);
    EXPECT_EQ(light.colorScheme(), ColorScheme::Light);
    EXPECT_EQ(applicationScheme(), ColorScheme::Light) << "the desktop palette is restored";
}

struct PortalValue {
    QVariant value;
    std::optional<ColorScheme> expected;
};

class PortalColorSchemeValue : public testing::TestWithParam<PortalValue> {};

INSTANTIATE_TEST_SUITE_P(
    Values, PortalColorSchemeValue,
    testing::Values(PortalValue{QVariant(0u), std::nullopt},
                    PortalValue{QVariant(1u), ColorScheme::Dark},
                    PortalValue{QVariant(2u), ColorScheme::Light},
                    PortalValue{QVariant(7u), std::nullopt},
                    PortalValue{QVariant::fromValue(QDBusVariant(QVariant(1u))), ColorScheme::Dark},
                    PortalValue{QVariant(QStringLiteral("dark")), std::nullopt},
                    PortalValue{QVariant(), std::nullopt}));

TEST_P(PortalColorSchemeValue, MapsThePortalsNumbers) {
    EXPECT_EQ(desktop::PortalColorScheme::fromPortalValue(GetParam().value), GetParam().expected);
}

} // namespace
