#include "desktop/user_defaults.h"

#include <QStandardPaths>

namespace desktop {

namespace {
QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/holdfin/holdfin.conf");
}
} // namespace

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent),
      m_settings(filePath.isEmpty() ? defaultPath() : filePath, QSettings::IniFormat) {}

bool UserDefaults::contains(const QString& key) const {
    return m_settings.contains(key);
}

QVariant UserDefaults::object(const QString& key) const {
    return m_settings.value(key);
}

bool UserDefaults::boolForKey(const QString& key, bool fallback) const {
    const QVariant value = m_settings.value(key);
    if (!value.isValid())
        return fallback;
    // INI files store every value as text.
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const {
    const QVariant value = m_settings.value(key);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

void UserDefaults::setBool(const QString& key, bool value) {
    setObject(key, value);
}

void UserDefaults::setObject(const QString& key, const QVariant& value) {
    m_settings.setValue(key, value);
    m_settings.sync();
    emit changed(key);
}

void UserDefaults::remove(const QString& key) {
    m_settings.remove(key);
    m_settings.sync();
    emit changed(key);
}

} // namespace desktop
