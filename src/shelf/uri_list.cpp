#include "shelf/uri_list.h"

#include <algorithm>

namespace shelf {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool needsEncoding(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte >= 0x7f;
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ), then ':'
qsizetype schemeLength(QByteArrayView uri) {
    if (uri.isEmpty() || !isAlpha(uri.front()))
        return -1;
    for (qsizetype i = 1; i < uri.size(); ++i) {
        const char c = uri.at(i);
        if (c == ':')
            return i;
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return -1;
    }
    return -1;
}

// Sloppy sources put raw UTF-8 or Latin-1 bytes in their lists; decoding them as UTF-8 would
// turn a non-UTF-8 name into replacement characters, so encode them as they are instead.
QByteArray encodeRawBytes(QByteArrayView line) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(line.size());
    for (const char c : line) {
        if (needsEncoding(c)) {
            const auto byte = static_cast<unsigned char>(c);
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

QList<QByteArray> parseUriList(const QByteArray& body) {
    QList<QByteArray> uris;
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
        const QByteArrayView line = QByteArrayView(body).sliced(first, last - first);
        if (schemeLength(line) < 0)
            continue;
        uris << (std::none_of(line.begin(), line.end(), needsEncoding) ? line.toByteArray()
                                                                       : encodeRawBytes(line));
    }
    return uris;
}

bool isFileUri(const QByteArray& uri) {
    return schemeLength(uri) == 4 &&
           QByteArrayView(uri).first(4).compare("file", Qt::CaseInsensitive) == 0;
}

QString lastPathSegment(const QByteArray& uri) {
    qsizetype end = uri.size();
    for (const char delimiter : {'#', '?'}) {
        const qsizetype at = uri.indexOf(delimiter);
        if (at >= 0)
            end = std::min(end, at);
    }
    const qsizetype slash = uri.lastIndexOf('/', end - 1);
    const qsizetype begin = slash < 0 ? schemeLength(uri) + 1 : slash + 1;
    if (begin >= end)
        return {};
    return QString::fromUtf8(QByteArray::fromPercentEncoding(uri.mid(begin, end - begin)));
}

} // namespace shelf
