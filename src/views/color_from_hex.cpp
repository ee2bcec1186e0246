#include "color_from_hex.h"

#include <QTextBoundaryFinder>

#include <cstdint>
#include <limits>

namespace views {

namespace {

// Letters, marks and digits in the Unicode sense.
bool isAlphanumeric(char32_t codePoint) {
    switch (QChar::category(codePoint)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

QString trimmedToAlphanumerics(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    qsizetype begin = 0;
    qsizetype end = codePoints.size();
    while (begin < end && !isAlphanumeric(codePoints.at(begin)))
        ++begin;
    while (end > begin && !isAlphanumeric(codePoints.at(end - 1)))
        --end;
    const QList<uint> kept = codePoints.mid(begin, end - begin);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

int hexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}

// Reads an unsigned hex number from the start, after an optional 0x/0X, up to the first
// non-hex character; 0 when there is nothing to read, the largest value on overflow.
std::uint64_t scanHex(const QString& text) {
    qsizetype i = 0;
    if (text.size() > 2 && text.at(0) == QLatin1Char('0') &&
        (text.at(1) == QLatin1Char('x') || text.at(1) == QLatin1Char('X')) &&
        hexDigit(text.at(2)) >= 0)
        i = 2;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0)
            break;
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 4))
            return std::numeric_limits<std::uint64_t>::max();
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

// User-perceived characters, as a person would count them.
qsizetype characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

int channel(std::uint64_t value) {
    return static_cast<int>(value & 0xFF);
}

} // namespace

QColor colorFromHex(const QString& hex) {
    const QString digits = trimmedToAlphanumerics(hex);
    const std::uint64_t value = scanHex(digits);
    int a = 255, r = 0, g = 0, b = 0;
    switch (characterCount(digits)) {
    case 8:
        a = channel(value >> 24);
        r = channel(value >> 16);
        g = channel(value >> 8);
        b = channel(value);
        break;
    case 6:
        r = channel(value >> 16);
        g = channel(value >> 8);
        b = channel(value);
        break;
    case 3:
        r = channel((value >> 8) & 0xF) * 17;
        g = channel((value >> 4) & 0xF) * 17;
        b = channel(value & 0xF) * 17;
        break;
    default:
        break;
    }
    return QColor::fromRgb(r, g, b, a);
}

} // namespace views
