#include "symbol_button.h"

#include "desktop/symbol_image.h"

#include <QPainter>

namespace views {

SymbolButton::SymbolButton(const desktop::SymbolImage& symbols, const QString& symbolName,
                           int height, QColor tint, QWidget* parent)
    : QAbstractButton(parent), m_symbols(symbols), m_height(height), m_tint(tint) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setSymbolName(symbolName);
}

void SymbolButton::setSymbolName(const QString& name) {
    m_symbolName = name;
    setAccessibleName(name);
    setFixedSize(sizeHint());
    update();
}

QSize SymbolButton::sizeHint() const {
    const QSize natural = m_symbols.naturalSize(m_symbolName);
    if (natural.isEmpty())
        return {m_height, m_height};
    return natural.scaled(QSize(4 * m_height, m_height), Qt::KeepAspectRatio);
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QColor color = m_tint;
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.5f);
    const QPixmap pixmap = m_symbols.image(m_symbolName, size(), color, devicePixelRatioF());
    QRect target(QPoint(0, 0), pixmap.deviceIndependentSize().toSize());
    target.moveCenter(rect().center());
    painter.drawPixmap(target, pixmap);
}

} // namespace views
