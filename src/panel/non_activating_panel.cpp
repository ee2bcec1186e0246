#include "non_activating_panel.h"

#include "backend/window_system.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QVBoxLayout>
#include <QWindow>

namespace panel {

NonActivatingPanel::NonActivatingPanel(const QRect& frame, backend::WindowSystem* windowSystem,
                                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_windowSystem(windowSystem) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setAcceptDrops(true);
    setGeometry(frame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    winId();
    windowHandle()->installEventFilter(this);
}

void NonActivatingPanel::setVisible(bool visible) {
    // The hints go onto the still unmapped window: the window manager reads them on map and
    // drops them again when the window is withdrawn.
    if (visible && !isVisible() && m_windowSystem)
        m_windowSystem->preparePanel(windowHandle());
    QWidget::setVisible(visible);
}

bool NonActivatingPanel::eventFilter(QObject* watched, QEvent* event) {
    // Shown right after being hidden, the window manager may still be withdrawing an earlier
    // mapping and wipe the hints written before the map. The last exposure comes after the
    // last map, so asserting them again at each one leaves them in place.
    if (event->type() == QEvent::Expose && watched == windowHandle() && m_windowSystem &&
        windowHandle()->isExposed())
        m_windowSystem->preparePanel(windowHandle());
    return QWidget::eventFilter(watched, event);
}

void NonActivatingPanel::present() {
    show();
    raise();
    emit presented();
}

void NonActivatingPanel::dismiss() {
    hide();
    emit dismissed();
}

void NonActivatingPanel::setContentView(QWidget* content) {
    if (content == m_content)
        return;
    delete m_content;
    m_content = content;
    if (!m_content)
        return;
    layout()->addWidget(m_content);
    // On screen at once, not a turn later, when the panel is.
    if (isVisible())
        m_content->show();
}

const QStringList& NonActivatingPanel::registeredDraggedTypes() {
    static const QStringList types{QStringLiteral("text/uri-list"), QStringLiteral("image/png"),
                                   QStringLiteral("text/plain"), QStringLiteral("application/pdf")};
    return types;
}

bool NonActivatingPanel::offersRegisteredType(const QStringList& formats) {
    for (const QString& format : formats) {
        // Text comes with a charset parameter as often as without.
        const QString type = format.section(QLatin1Char(';'), 0, 0).trimmed();
        if (registeredDraggedTypes().contains(type, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void NonActivatingPanel::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData() && offersRegisteredType(event->mimeData()->formats()))
        event->acceptProposedAction();
}

void NonActivatingPanel::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData() && offersRegisteredType(event->mimeData()->formats()))
        event->acceptProposedAction();
}

void NonActivatingPanel::dropEvent(QDropEvent* event) {
    // What a drop becomes is the content's business; one that reaches the panel is refused.
    event->ignore();
}

} // namespace panel
