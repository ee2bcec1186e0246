#include "fake_desktop_services.h"

#include <QPixmap>

namespace testing_support {

QIcon FakeDesktopServices::fileIcon(const QString& path) const {
    m_iconLookups << path;
    QPixmap pixmap(64, 64);
    pixmap.fill(isMaskIcon ? QColor(Qt::black) : fullColour);
    QIcon icon(pixmap);
    icon.setIsMask(isMaskIcon);
    return icon;
}

bool FakeDesktopServices::openUrl(const QUrl& url) {
    m_openedUrls << url;
    return true;
}

bool FakeDesktopServices::showInFileManager(const QList<QUrl>& urls) {
    m_shownItems << urls;
    return !urls.isEmpty();
}

} // namespace testing_support
