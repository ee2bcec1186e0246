#pragma once

#include "desktop/desktop_services.h"

#include <QColor>
#include <QStringList>

namespace testing_support {

// Answers every path with a plain square icon and records the paths, URLs and files asked for.
// A mask icon is opaque black (to be recoloured), a full-colour icon `fullColour`.
class FakeDesktopServices final : public desktop::DesktopServices {
public:
    QIcon fileIcon(const QString& path) const override;
    bool openUrl(const QUrl& url) override;
    bool showInFileManager(const QList<QUrl>& urls) override;

    const QStringList& iconLookups() const { return m_iconLookups; }
    void clearIconLookups() { m_iconLookups.clear(); }
    const QList<QUrl>& openedUrls() const { return m_openedUrls; }
    // The URLs of each showInFileManager call.
    const QList<QList<QUrl>>& shownItems() const { return m_shownItems; }

    bool isMaskIcon = false;
    QColor fullColour{200, 40, 40};

private:
    mutable QStringList m_iconLookups;
    QList<QUrl> m_openedUrls;
    QList<QList<QUrl>> m_shownItems;
};

} // namespace testing_support
