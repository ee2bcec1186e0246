#include "text_preview_view.h"

#include "desktop/color_scheme_service.h"

#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace views {

namespace {

constexpr int kPadding = 4;
constexpr int kPageInset = 5;
constexpr qreal kCornerRadius = 4;
constexpr int kTextPixelSize = 8;
constexpr int kHostPixelSize = 11;
// Wider than tall, like a card: a page as narrow as a sheet would hold a word a line.
constexpr double kPageAspect = 1.5;

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

// The first lines of `text` with something on them; tabs and control characters as spaces.
QStringList firstLines(const QString& text) {
    QStringList lines;
    QString line;
    const auto flush = [&] {
        if (!line.trimmed().isEmpty() || !lines.isEmpty())
            lines << line.trimmed();
        line.clear();
    };
    for (const QChar c : QStringView(text).left(TextPreviewView::kMaxCharacters)) {
        if (lines.size() == TextPreviewView::kMaxLines)
            break;
        if (isLineBreak(c)) {
            if (c != QLatin1Char('\r'))
                flush();
        } else {
            line += c.category() == QChar::Other_Control ? QChar(u' ') : c;
        }
    }
    if (lines.size() < TextPreviewView::kMaxLines && !line.trimmed().isEmpty())
        lines << line.trimmed();
    return lines;
}

QStringList linkLines(const QString& address) {
    const QUrl url(address.trimmed());
    QString rest = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::PrettyDecoded);
    if (rest == QLatin1String("/"))
        rest.clear();
    QStringList lines{url.host()};
    if (!rest.isEmpty())
        lines << rest.left(TextPreviewView::kMaxCharacters);
    return lines;
}

} // namespace

TextPreviewView::TextPreviewView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TextPreviewView::setText(const QString& text, Kind kind, desktop::ColorScheme colorScheme) {
    m_kind = kind;
    m_colorScheme = colorScheme;
    m_lines = kind == Kind::Link ? linkLines(text.left(kMaxCharacters)) : firstLines(text);
    update();
}

QPalette TextPreviewView::schemePalette() const {
    // The application's palette follows the scheme; where it does not (yet), the scheme wins.
    if (desktop::ColorSchemeService::schemeOf(palette()) == m_colorScheme)
        return palette();
    return m_colorScheme == desktop::ColorScheme::Dark
               ? desktop::ColorSchemeService::darkPalette()
               : desktop::ColorSchemeService::lightPalette();
}

QColor TextPreviewView::pageColor() const {
    return schemePalette().color(QPalette::Base);
}

QColor TextPreviewView::textColor() const {
    return schemePalette().color(QPalette::Text);
}

QRect TextPreviewView::pageRect() const {
    const QRect area = rect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
    if (area.isEmpty())
        return {};
    const int width = std::min(area.width(), int(area.height() * kPageAspect));
    QRect page(0, 0, width, area.height());
    page.moveCenter(area.center());
    return page;
}

void TextPreviewView::paintEvent(QPaintEvent*) {
    const QRect page = pageRect();
    if (page.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(page).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
    QColor border = textColor();
    border.setAlphaF(0.18f);
    painter.fillPath(shape, pageColor());
    painter.setPen(border);
    painter.drawPath(shape);
    painter.setClipPath(shape);
    const QRect inside = page.adjusted(kPageInset, kPageInset - 1, -kPageInset, -kPageInset);
    if (m_kind == Kind::Link)
        paintLink(painter, inside);
    else
        paintText(painter, inside);
}

void TextPreviewView::paintText(QPainter& painter, const QRect& inside) const {
    QFont small = font();
    small.setPixelSize(kTextPixelSize);
    painter.setFont(small);
    painter.setPen(textColor());
    // Wrapped as on a page; what does not fit is cut off by the page's edge.
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     m_lines.join(QLatin1Char('\n')));
}

void TextPreviewView::paintLink(QPainter& painter, const QRect& inside) const {
    if (m_lines.isEmpty())
        return;
    QFont host = font();
    host.setPixelSize(kHostPixelSize);
    host.setUnderline(true);
    const QFontMetrics hostMetrics(host);
    QFont rest = font();
    rest.setPixelSize(kTextPixelSize);
    const QFontMetrics restMetrics(rest);
    const int height = hostMetrics.height() + (m_lines.size() > 1 ? restMetrics.height() : 0);
    int y = inside.center().y() - height / 2;
    painter.setFont(host);
    painter.setPen(schemePalette().color(QPalette::Link));
    painter.drawText(QRect(inside.left(), y, inside.width(), hostMetrics.height()), Qt::AlignCenter,
                     hostMetrics.elidedText(m_lines.first(), Qt::ElideMiddle, inside.width()));
    if (m_lines.size() < 2)
        return;
    y += hostMetrics.height();
    QColor secondary = textColor();
    secondary.setAlphaF(0.6f);
    painter.setFont(rest);
    painter.setPen(secondary);
    painter.drawText(QRect(inside.left(), y, inside.width(), restMetrics.height()), Qt::AlignCenter,
                     restMetrics.elidedText(m_lines.at(1), Qt::ElideRight, inside.width()));
}

} // namespace views
