#include "backend/drop_hold.h"

#include <QCoreApplication>
#include <QMouseEvent>

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
        if (isHolding())
            return true;
        // Only the release that ends the drag is held.
        m_isDone = !m_isReadingEarly || !m_isReadingEarly();
        if (m_isDone)
            return false;
        m_release.reset(static_cast<QMouseEvent*>(event->clone()));
        m_receiver = watched;
        // A read may come a little before the release that prompted it.
        m_quiet.start(m_sinceRead.isValid() && m_sinceRead.elapsed() < m_timing.quiet.count()
                          ? m_timing.quiet
                          : m_timing.firstRead);
        m_bound.start(m_timing.bound);
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return isHolding();
    default:
        return false;
    }
}

void DropHold::letGo() {
    m_quiet.stop();
    m_bound.stop();
    std::unique_ptr<QMouseEvent> release = std::move(m_release);
    if (!release)
        return;
    m_isDone = true;
    QObject* receiver = m_receiver ? m_receiver.data() : QCoreApplication::instance();
    QCoreApplication::sendEvent(receiver, release.get());
}

} // namespace backend
