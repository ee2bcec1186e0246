#include "launch_at_login.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace preferences {

void updateLaunchAtLogin(preferences::Autostart& service, bool isEnabled) {
    if (isEnabled)
        service.enable();
    else
        service.disable();
}

namespace {

// One Exec argument: quoted when it holds a reserved character, then escaped as a desktop-entry
// string value, with literal percent signs doubled.
QString execArgument(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    static const QString escapedInQuotes = QStringLiteral("\"`$\\");
    const bool isQuoted =
        std::any_of(path.begin(), path.end(), [](QChar c) { return reserved.contains(c); });
    QString argument;
    if (isQuoted) {
        argument += QLatin1Char('"');
        for (QChar c : path) {
            if (escapedInQuotes.contains(c))
                argument += QLatin1Char('\\');
            argument += c;
        }
        argument += QLatin1Char('"');
    } else {
        argument = path;
    }
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return argument;
}

} // namespace

XdgAutostart::XdgAutostart(QString appId, QString executable)
    : m_appId(std::move(appId)), m_executable(std::move(executable)) {}

QString XdgAutostart::executable() const {
    return m_executable.isEmpty() ? QCoreApplication::applicationFilePath() : m_executable;
}

QString XdgAutostart::entryPath() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + m_appId + QStringLiteral(".desktop");
}

QString XdgAutostart::desktopEntry(const QString& executable) {
    if (executable.isEmpty() ||
        std::any_of(executable.begin(), executable.end(), [](QChar c) { return c < u' '; }))
        return {};
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Holdfin\n"
                          "Comment=A drop shelf for drag and drop\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(executable));
}

bool XdgAutostart::enable() {
    const QString text = desktopEntry(executable());
    if (text.isEmpty())
        return false;
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool XdgAutostart::isEnabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // An entry stays for a desktop's own reasons; these lines turn it off.
    const QList<QByteArray> lines = file.readAll().split('\n');
    return std::none_of(lines.begin(), lines.end(), [](const QByteArray& line) {
        const QByteArray setting = line.trimmed();
        return setting == "Hidden=true" || setting == "X-GNOME-Autostart-enabled=false";
    });
}

bool XdgAutostart::disable() {
    const QString path = entryPath();
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(path);
}

} // namespace preferences
