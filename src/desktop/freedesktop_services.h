#pragma once

#include "desktop/desktop_services.h"

#include <QDBusConnection>
#include <QIcon>
#include <QMimeDatabase>
#include <QObject>

namespace desktop {

// File icons from the user's icon theme by MIME type; URLs through QDesktopServices; files
// shown through the file manager's D-Bus interface (org.freedesktop.FileManager1) on `bus`.
class FreedesktopServices final : public DesktopServices {
public:
    explicit FreedesktopServices(QDBusConnection bus = QDBusConnection::sessionBus());

    QIcon fileIcon(const QString& path) const override;
    bool openUrl(const QUrl& url) override;
    bool showInFileManager(const QList<QUrl>& urls) override;

private:
    QMimeDatabase m_mimeDatabase;
    mutable QIcon m_folderIcon;
    mutable QIcon m_documentIcon;
    QDBusConnection m_bus;
    QObject m_pendingCalls; // parent of the watchers of calls not yet answered
};

} // namespace desktop
