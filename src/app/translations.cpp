#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

namespace {

const QString kCatalogues = QStringLiteral(":/holdfin/translations");

void install(QObject& owner, const QLocale& locale, const QString& name, const QString& directory) {
    auto* translator = new QTranslator(&owner);
    if (translator->load(locale, name, QStringLiteral("_"), directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void installTranslations(QObject& owner, const QLocale& locale) {
    const QString holdfin = QStringLiteral("holdfin");
    install(owner, QLocale(QLocale::English), holdfin, kCatalogues);
    install(owner, locale, holdfin, kCatalogues);
    install(owner, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace app
