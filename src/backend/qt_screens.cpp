#include "backend/qt_screens.h"

#include "backend/work_area.h"

#include <QGuiApplication>
#include <QScreen>

namespace backend {

QtScreens::QtScreens(const WorkArea* workArea, QObject* parent)
    : Screens(parent), m_workArea(workArea) {
    auto* app = qGuiApp;
    if (!app)
        return;
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        emit screensChanged();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &Screens::screensChanged);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &Screens::screensChanged);
}

void QtScreens::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &Screens::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &Screens::screensChanged);
}

QList<ScreenInfo> QtScreens::screens() const {
    QList<ScreenInfo> result;
    if (!qGuiApp)
        return result;
    for (const QScreen* screen : QGuiApplication::screens())
        result.append({screen->name(), screen->geometry()});
    return result;
}

std::optional<ScreenInfo> QtScreens::primary() const {
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return std::nullopt;
    return ScreenInfo{screen->name(), screen->geometry()};
}

QRect QtScreens::primaryAvailableGeometry() const {
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return {};
    // Qt already leaves out the docks when there is a single monitor.
    if (QGuiApplication::screens().size() < 2 || !m_workArea)
        return screen->availableGeometry();
    return availableGeometry(screen->availableGeometry(), m_workArea->currentWorkArea(),
                             screen->devicePixelRatio());
}

QRect QtScreens::availableGeometry(const QRect& available, const std::optional<QRect>& workArea,
                                   qreal ratio) {
    if (!workArea || ratio <= 0)
        return available;
    const QRect scaled(qRound(workArea->x() / ratio), qRound(workArea->y() / ratio),
                       qRound(workArea->width() / ratio), qRound(workArea->height() / ratio));
    const QRect frame = available & scaled;
    return frame.isEmpty() ? available : frame;
}

} // namespace backend
