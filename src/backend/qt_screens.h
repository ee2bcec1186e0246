#pragma once

#include "backend/screens.h"

class QScreen;

namespace backend {

class WorkArea;

// The monitors as Qt sees them. With several monitors Qt's available geometry is the full
// geometry, so the primary's visible frame is cut down to the desktop's work area.
class QtScreens final : public Screens {
    Q_OBJECT
public:
    // `workArea` may be null: the visible frame is then Qt's available geometry.
    explicit QtScreens(const WorkArea* workArea, QObject* parent = nullptr);

    QList<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> primary() const override;
    QRect primaryAvailableGeometry() const override;

    // `available` cut down to `workArea` (device pixels, scaled by `ratio`); `available`
    // itself when they do not overlap.
    static QRect availableGeometry(const QRect& available, const std::optional<QRect>& workArea,
                                   qreal ratio);

private:
    void watch(QScreen* screen);

    const WorkArea* m_workArea;
};

} // namespace backend
