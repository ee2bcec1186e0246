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

// A caption line holds a few dozen characters: of a text of megabytes only its ends are
// measured, which would otherwise take seconds for every layout.
constexpr qsizetype kEndCharacters = 200;

} // namespace

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QWidget(parent) {
    setFont(captionFont(font()));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setText(text);
}

void CaptionLabel::setText(const QString& text) {
    if (text == m_text && !m_line.isNull())
        return;
    m_text = text;
    m_isCut = text.size() > 2 * kEndCharacters;
    if (m_isCut) {
        // Not between the halves of a surrogate pair.
        qsizetype head = kEndCharacters, tail = kEndCharacters;
        if (text.at(head - 1).isHighSurrogate())
            --head;
        if (text.at(text.size() - tail).isLowSurrogate())
            --tail;
        m_line = singleLine(text.left(head) + QChar(0x2026) + text.right(tail));
    } else {
        m_line = singleLine(text);
    }
    updateGeometry();
    update();
}

QString CaptionLabel::displayedText() const {
    const int width = qMax(0, this->width() - 2 * kHorizontalPadding);
    return fontMetrics().elidedText(m_line, Qt::ElideMiddle, width);
}

bool CaptionLabel::isElided() const {
    return m_isCut || displayedText() != m_line;
}

QSize CaptionLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(m_line) + 2 * kHorizontalPadding,
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
