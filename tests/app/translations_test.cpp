// The user's locale picks Holdfin's catalogue and Qt's; English stays exactly as written.
#include "app/translations.h"
#include "shelf/entry_caption.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QObject>

TEST(Translations, TheLocalePicksTheCatalogueAndItsPluralForms) {
    const struct {
        QLocale locale;
        const char* oneFile;
        const char* threeFiles;
        const char* qtCancel;
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), "1 Datei", "3 Dateien", "Abbrechen"},
        {QLocale(QLocale::English), "1 file", "3 files", "Cancel"},
        {QLocale(QLocale::Swahili), "1 file", "3 files", "Cancel"}, // no catalogue: English
    };
    const shelf::BucketItemData file(QStringLiteral("file:///tmp/a"), shelf::UTType::fileURL);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QObject translators;
        app::installTranslations(translators, c.locale);
        EXPECT_EQ(shelf::multiPayloadCaption({file, file, file}), QString::fromUtf8(c.threeFiles));
        EXPECT_EQ(shelf::multiPayloadCaption({file}), QString::fromUtf8(c.oneFile));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QString::fromUtf8(c.qtCancel));
    }
}
