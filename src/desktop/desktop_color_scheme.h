#pragma once

#include "desktop/color_scheme.h"

#include <QObject>

#include <optional>

namespace desktop {

// The desktop's colour-scheme preference, as a desktop service publishes it. GUI thread only.
class DesktopColorScheme : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DesktopColorScheme() override = default;

    // The desktop's preference; nothing when it states none or cannot be asked.
    virtual std::optional<ColorScheme> preference() const = 0;

signals:
    // The desktop's preference changed (or became known).
    void preferenceChanged();
};

} // namespace desktop
