#include "caption_label.h"

#include <QPainter>

namespace views {

namespace {

// A caption: a size below the body text.
QFont captionFont(QFont font) {
    font.setPixelSize(11);
    return font;
}

// Newlines and tabs inside a text would break the single line.
QString singleLine(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

CaptionLabel::CaptionLabel(QString text, QWidget* parent)
    : QWidget(parent), m_text(std::move(text)) {
    setFont(captionFont(font()));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void CaptionLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

QString CaptionLabel::displayedText() const {
    const int width = qMax(0, this->width() - 2 * kHorizontalPadding);
    return fontMetrics().elidedText(singleLine(m_text), Qt::ElideMiddle, width);
}

bool CaptionLabel::isElided() const {
    return displayedText() != singleLine(m_text);
}

QSize CaptionLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(m_text) + 2 * kHorizontalPadding,
            fontMetrics().height()};
}

QSize CaptionLabel::minimumSizeHint() const {
    return {2 * kHorizontalPadding, fontMetrics().height()};
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = rect().adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);
    painter.drawText(area, Qt::AlignCenter, displayedText());
}

} // namespace views
