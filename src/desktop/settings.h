#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <optional>

namespace desktop {

// The user's persisted preferences: an INI file. Presence of a key is what `contains` says.
// A corrupt or unreadable file reads as empty. GUI thread only.
class Settings final : public QObject {
    Q_OBJECT
public:
    // `filePath` empty: $XDG_CONFIG_HOME/holdfin/holdfin.conf.
    explicit Settings(const QString& filePath = {}, QObject* parent = nullptr);

    bool contains(const QString& key) const;
    QVariant value(const QString& key) const;
    // The stored value read as a Boolean, or `fallback` when absent or not a Boolean.
    bool boolValue(const QString& key, bool fallback) const;
    // The stored value read as a string, or nothing when absent.
    std::optional<QString> stringValue(const QString& key) const;

    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    QString filePath() const { return m_settings.fileName(); }

signals:
    // After every write of `key`, whoever wrote it.
    void valueChanged(const QString& key);

private:
    QSettings m_settings;
};

} // namespace desktop
