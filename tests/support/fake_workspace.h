#pragma once

#include "desktop/workspace.h"

#include <QColor>
#include <QStringList>

namespace testing_support {

// Answers every path with a plain square icon and records the paths, URLs and files asked for.
// A mask icon is opaque black (to be recoloured), a full-colour icon `fullColour`.
class FakeWorkspace final : public desktop::Workspace {
public:
    QIcon iconForFile(const QString& path) const override;
    bool openUrl(const QUrl& url) override;
    bool showItems(const QList<QUrl>& urls) override;

    const QStringList& iconLookups() const { return m_iconLookups; }
    void clearIconLookups() { m_iconLookups.clear(); }
    const QList<QUrl>& openedUrls() const { return m_openedUrls; }
    // The URLs of each showItems call.
    const QList<QList<QUrl>>& shownItems() const { return m_shownItems; }

    bool isMaskIcon = false;
    QColor fullColour{200, 40, 40};

private:
    mutable QStringList m_iconLookups;
    QList<QUrl> m_openedUrls;
    QList<QList<QUrl>> m_shownItems;
};

} // namespace testing_support
