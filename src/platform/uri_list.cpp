#include "uri_list.h"

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Sloppy sources put raw UTF-8 or Latin-1 bytes in their lists; decoding them as UTF-8 would
// turn a non-UTF-8 name into replacement characters, so encode them as they are instead.
QByteArray encodeRawBytes(QByteArrayView line) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QList<QUrl> parseUriList(const QByteArray& body) {
    QList<QUrl> urls;
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype end = body.indexOf('\n', start);
        if (end < 0)
            end = body.size();
        qsizetype first = start;
        qsizetype last = end;
        while (first < last && isBlank(body.at(first)))
            ++first;
        while (last > first && isBlank(body.at(last - 1)))
            --last;
        start = end + 1;
        if (first == last || body.at(first) == '#')
            continue;
        const QUrl url =
            QUrl::fromEncoded(encodeRawBytes(QByteArrayView(body).sliced(first, last - first)));
        if (url.isValid() && !url.isRelative())
            urls << url;
    }
    return urls;
}

} // namespace platform
