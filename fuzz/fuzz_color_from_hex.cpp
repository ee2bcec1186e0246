// Fuzzes the hex colour parser with arbitrary text (UTF-8, so any code point and any
// malformed sequence Qt replaces).
#include "views/color_from_hex.h"

#include <QColor>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool isHexDigits(const QString& text) {
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 0x80) &&
            !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QColor color = views::colorFromHex(text);
    check(color.isValid() && color.spec() == QColor::Rgb);

    // Plain hex digits of a length the parser reads must give what Qt's own parser gives
    // (#RGB, #RRGGBB, #AARRGGBB).
    const qsizetype length = text.size();
    if ((length == 3 || length == 6 || length == 8) && isHexDigits(text))
        check(color.rgba() == QColor(QLatin1Char('#') + text).rgba());
    return 0;
}
