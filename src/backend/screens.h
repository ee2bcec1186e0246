#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

namespace backend {

// One monitor, in Qt's desktop coordinates (top-left origin, y growing downwards).
struct ScreenInfo {
    QString name;
    QRect geometry;
};

// The monitors of the desktop. GUI thread only.
class Screens : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Screens() override = default;

    // Every monitor; empty when there is none.
    virtual QList<ScreenInfo> screens() const = 0;
    // The primary monitor, or nothing when there is none.
    virtual std::optional<ScreenInfo> primary() const = 0;
    // The primary monitor's area less docks and panels; the zero rectangle without a screen.
    virtual QRect primaryAvailableGeometry() const = 0;

signals:
    // A monitor was added or removed, or a geometry or the primary monitor changed.
    void screensChanged();
};

} // namespace backend
