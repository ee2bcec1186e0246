#include "icon_view.h"

#include "desktop/symbol_image.h"

#include <QPainter>

namespace views {

namespace {

// Large enough that theme icons answer with their natural proportions.
constexpr QSize kProbeSize{256, 256};

} // namespace

IconView::IconView(QIcon icon, int padding, std::optional<QColor> foreground, QString source,
                   QWidget* parent)
    : QWidget(parent), m_icon(std::move(icon)), m_padding(padding), m_foreground(foreground),
      m_source(std::move(source)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void IconView::setIcon(QIcon icon, int padding, std::optional<QColor> foreground, QString source) {
    m_icon = std::move(icon);
    m_padding = padding;
    m_foreground = foreground;
    m_source = std::move(source);
    update();
}

QRect IconView::imageRect() const {
    const QRect area = rect().adjusted(m_padding, m_padding, -m_padding, -m_padding);
    if (area.isEmpty() || m_icon.isNull())
        return {};
    QSize natural = m_icon.actualSize(kProbeSize);
    if (natural.isEmpty())
        natural = kProbeSize;
    const QSize fitted = natural.scaled(area.size(), Qt::KeepAspectRatio);
    QRect image(QPoint(0, 0), fitted);
    image.moveCenter(area.center());
    return image;
}

void IconView::paintEvent(QPaintEvent*) {
    const QRect target = imageRect();
    if (target.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = devicePixelRatioF();
    const QPixmap pixmap =
        m_icon.isMask() ? desktop::SymbolImage::tinted(
                              m_icon, target.size(),
                              m_foreground.value_or(palette().color(QPalette::WindowText)), ratio)
                        : m_icon.pixmap(target.size(), ratio);
    // Theme icons smaller than asked for are scaled up: the image is resizable.
    painter.drawPixmap(target, pixmap);
}

} // namespace views
