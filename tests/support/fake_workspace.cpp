#include "fake_workspace.h"

#include <QPixmap>

namespace testing_support {

QIcon FakeWorkspace::iconForFile(const QString& path) const {
    m_iconLookups << path;
    QPixmap pixmap(64, 64);
    pixmap.fill(isMaskIcon ? QColor(Qt::black) : fullColour);
    QIcon icon(pixmap);
    icon.setIsMask(isMaskIcon);
    return icon;
}

bool FakeWorkspace::openUrl(const QUrl& url) {
    m_openedUrls << url;
    return true;
}

bool FakeWorkspace::showItems(const QList<QUrl>& urls) {
    m_shownItems << urls;
    return !urls.isEmpty();
}

} // namespace testing_support
