#include "symbol_button.h"

#include "desktop/symbol_image.h"

#include <QPainter>
#include <QPainterPath>

namespace views {

namespace {

constexpr qreal kHighlightRadius = 6;
constexpr float kHighlightAlpha = 0.18f;

} // namespace

SymbolButton::SymbolButton(const desktop::SymbolImage& symbols, const QString& symbolName,
                           int height, QColor tint, int target, QWidget* parent)
    : QAbstractButton(parent), m_symbols(symbols), m_height(height), m_tint(tint),
      m_target(target) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setSymbolName(symbolName);
}

void SymbolButton::setSymbolName(const QString& name) {
    m_symbolName = name;
    setFixedSize(sizeHint());
    update();
}

QSize SymbolButton::symbolSize() const {
    const QSize natural = m_symbols.naturalSize(m_symbolName);
    if (natural.isEmpty())
        return {m_height, m_height};
    return natural.scaled(QSize(4 * m_height, m_height), Qt::KeepAspectRatio);
}

QSize SymbolButton::sizeHint() const {
    return symbolSize().expandedTo(QSize(m_target, m_target));
}

void SymbolButton::setHighlighted(bool isHighlighted) {
    if (isHighlighted == m_isHighlighted)
        return;
    m_isHighlighted = isHighlighted;
    update();
}

void SymbolButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    setHighlighted(true);
}

void SymbolButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHighlighted(false);
}

void SymbolButton::setOpacity(qreal opacity) {
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_isHighlighted) {
        painter.setRenderHint(QPainter::Antialiasing);
        QColor highlight = m_tint;
        highlight.setAlphaF(highlight.alphaF() * kHighlightAlpha);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), kHighlightRadius, kHighlightRadius);
        painter.fillPath(shape, highlight);
    }
    QColor color = m_tint;
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.5f);
    const QPixmap pixmap = m_symbols.image(m_symbolName, symbolSize(), color, devicePixelRatioF());
    QRect target(QPoint(0, 0), pixmap.deviceIndependentSize().toSize());
    target.moveCenter(rect().center());
    painter.drawPixmap(target, pixmap);
}

} // namespace views
