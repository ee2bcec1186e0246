#pragma once

#include "desktop/workspace.h"

#include <QIcon>
#include <QMimeDatabase>

namespace desktop {

// File icons from the user's icon theme by MIME type; URLs through QDesktopServices.
class DesktopWorkspace final : public Workspace {
public:
    QIcon iconForFile(const QString& path) const override;
    bool openUrl(const QUrl& url) override;

private:
    QMimeDatabase m_mimeDatabase;
    mutable QIcon m_folderIcon;
    mutable QIcon m_documentIcon;
};

} // namespace desktop
