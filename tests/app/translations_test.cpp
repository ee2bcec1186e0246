// The user's locale picks Holdfin's catalogue and Qt's; English stays exactly as written.
#include "app/translations.h"
#include "shelf/entry_caption.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

TEST(Translations, TheLocalePicksTheCatalogueAndItsPluralForms) {
    const std::pair<QLocale, QStringList> cases[] = {
        {QLocale(QLocale::German), {"1 Datei", "3 Dateien", "Abbrechen"}},
        {QLocale(QLocale::English), {"1 file", "3 files", "Cancel"}},
        {QLocale(QLocale::Swahili), {"1 file", "3 files", "Cancel"}}, // no catalogue: English
    };
    const shelf::BucketItemData file(QStringLiteral("file:///tmp/a"), shelf::UTType::fileURL);
    for (const auto& [locale, expected] : cases) {
        QObject translators;
        app::installTranslations(translators, locale);
        EXPECT_EQ((QStringList{shelf::multiPayloadCaption({file}),
                               shelf::multiPayloadCaption({file, file, file}),
                               QCoreApplication::translate("QPlatformTheme", "Cancel")}),
                  expected);
    }
}
