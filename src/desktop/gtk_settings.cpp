#include "desktop/gtk_settings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace desktop {

namespace {
// settings.ini files are a few lines; a larger one is not read past this.
constexpr qint64 kMaximumFileSize = 64 * 1024;

QMap<QString, QString> readSettingsIni(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return GtkSettings::parseSettingsIni(file.read(kMaximumFileSize));
}

bool isTrue(const QString& value) {
    const QString word = value.trimmed().toLower();
    return word == QLatin1String("true") || word == QLatin1String("1") ||
           word == QLatin1String("yes");
}
} // namespace

GtkSettings::GtkSettings(QVariantMap published, const QString& configHome)
    : m_published(std::move(published)) {
    if (configHome.isEmpty())
        return;
    for (const char* version : {"gtk-3.0", "gtk-4.0"})
        m_files.push_back(readSettingsIni(
            QDir(configHome).filePath(QLatin1String(version) + QLatin1String("/settings.ini"))));
}

QString GtkSettings::defaultConfigHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QMap<QString, QString> GtkSettings::parseSettingsIni(QByteArrayView text) {
    QMap<QString, QString> values;
    bool isInSettings = false;
    for (const QByteArray& raw : text.toByteArray().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            isInSettings = line == QLatin1String("[Settings]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!isInSettings || equals <= 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        values.insert(line.left(equals).trimmed(), value);
    }
    return values;
}

QStringList GtkSettings::candidates(const QString& publishedName, const QString& iniKey) const {
    QStringList found;
    const QVariant published = m_published.value(publishedName);
    if (published.isValid())
        found << published.toString().trimmed();
    for (const auto& file : m_files) {
        if (file.contains(iniKey))
            found << file.value(iniKey);
    }
    found.removeAll(QString());
    found.removeDuplicates();
    return found;
}

QStringList GtkSettings::iconThemeNames() const {
    return candidates(QStringLiteral("Net/IconThemeName"), QStringLiteral("gtk-icon-theme-name"));
}

QString GtkSettings::themeName() const {
    return candidates(QStringLiteral("Net/ThemeName"), QStringLiteral("gtk-theme-name")).value(0);
}

bool GtkSettings::prefersDarkTheme() const {
    // The published setting is an int; settings.ini spells a boolean.
    const QVariant published = m_published.value(QStringLiteral("Gtk/ApplicationPreferDarkTheme"));
    if (published.isValid())
        return published.toInt() != 0;
    for (const auto& file : m_files) {
        const auto value = file.find(QStringLiteral("gtk-application-prefer-dark-theme"));
        if (value != file.end())
            return isTrue(*value);
    }
    return false;
}

bool GtkSettings::isDark() const {
    return prefersDarkTheme() || themeName().endsWith(QLatin1String("-dark"), Qt::CaseInsensitive);
}

} // namespace desktop
