#include "backend/drop_hold.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>

#include <utility>

namespace backend {

DropHold::DropHold(std::function<bool()> isReadingEarly, Timing timing, QObject* parent)
    : QObject(parent), m_isReadingEarly(std::move(isReadingEarly)), m_timing(timing) {
    for (QTimer* timer : {&m_quiet, &m_bound}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &DropHold::letGo);
    }
}

DropHold::~DropHold() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void DropHold::install() {
    QCoreApplication::instance()->installEventFilter(this);
}

void DropHold::noteRead() {
    m_sinceRead.start();
    if (isHolding())
        m_quiet.start(m_timing.quiet);
}

bool DropHold::eventFilter(QObject* watched, QEvent* event) {
    if (m_isDone)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (const auto* release = dynamic_cast<const QMouseEvent*>(event))
            return isHolding() || holdRelease(watched, *release);
        return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return isHolding();
    default:
        return false;
    }
}

bool DropHold::holdRelease(QObject* receiver, const QMouseEvent& release) {
    // Only the release that ends the drag is held.
    m_isDone = !m_isReadingEarly || !m_isReadingEarly();
    if (m_isDone)
        return false;
    m_release =
        Release{release.position(),  release.globalPosition(), release.button(), release.buttons(),
                release.modifiers(), release.pointingDevice(), receiver};
    // A read may come a little before the release that prompted it.
    const bool isReading = m_sinceRead.isValid() && m_sinceRead.elapsed() < m_timing.quiet.count();
    m_quiet.start(isReading ? m_timing.quiet : m_timing.firstRead);
    m_bound.start(m_timing.bound);
    return true;
}

void DropHold::letGo() {
    m_quiet.stop();
    m_bound.stop();
    if (!m_release)
        return;
    const Release held = *std::exchange(m_release, std::nullopt);
    m_isDone = true;
    QMouseEvent release(QEvent::MouseButtonRelease, held.position, held.position,
                        held.globalPosition, held.button, held.buttons, held.modifiers,
                        held.device ? held.device.data()
                                    : QPointingDevice::primaryPointingDevice());
    QCoreApplication::sendEvent(held.receiver ? held.receiver.data() : QCoreApplication::instance(),
                                &release);
}

} // namespace backend
