#pragma once

#include "desktop/workspace.h"

#include <QColor>
#include <QStringList>

namespace testing_support {

// Answers every path with a plain square icon and records the paths and URLs asked for.
// A mask icon is opaque black (to be recoloured), a full-colour icon `fullColour`.
class FakeWorkspace final : public desktop::Workspace {
public:
    QIcon iconForFile(const QString& path) const override;
    bool openUrl(const QUrl& url) override;

    const QStringList& iconLookups() const { return m_iconLookups; }
    void clearIconLookups() { m_iconLookups.clear(); }
    const QList<QUrl>& openedUrls() const { return m_openedUrls; }

    bool isMaskIcon = false;
    QColor fullColour{200, 40, 40};

private:
    mutable QStringList m_iconLookups;
    QList<QUrl> m_openedUrls;
};

} // namespace testing_support
