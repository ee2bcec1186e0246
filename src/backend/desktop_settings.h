#pragma once

#include <QObject>
#include <QVariantMap>

namespace backend {

// The toolkit settings a desktop publishes to every application (theme and icon theme names,
// fonts, timings), by their XSettings names such as "Net/IconThemeName". GUI thread only.
class DesktopSettings : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DesktopSettings() override = default;

    // Every published setting: a QString, an int or a QColor. Empty when the desktop publishes
    // none or they cannot be read. Read anew at each call.
    virtual QVariantMap values() const = 0;

signals:
    // The desktop published other settings, or another settings manager took over.
    void valuesChanged();
};

} // namespace backend
