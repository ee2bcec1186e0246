#include "desktop/settings.h"

#include <QStandardPaths>

namespace desktop {

namespace {
QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/holdfin/holdfin.conf");
}
} // namespace

Settings::Settings(const QString& filePath, QObject* parent)
    : QObject(parent),
      m_settings(filePath.isEmpty() ? defaultPath() : filePath, QSettings::IniFormat) {}

bool Settings::contains(const QString& key) const {
    return m_settings.contains(key);
}

QVariant Settings::value(const QString& key) const {
    return m_settings.value(key);
}

bool Settings::boolValue(const QString& key, bool fallback) const {
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

std::optional<QString> Settings::stringValue(const QString& key) const {
    const QVariant value = m_settings.value(key);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

void Settings::setValue(const QString& key, const QVariant& value) {
    m_settings.setValue(key, value);
    m_settings.sync();
    emit valueChanged(key);
}

void Settings::remove(const QString& key) {
    m_settings.remove(key);
    m_settings.sync();
    emit valueChanged(key);
}

} // namespace desktop
