#include "backend/drag_offer.h"

#include "core/local_path.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace backend {

namespace {

// The local path of a file URL as the bytes of its name, else the URL itself.
QByteArray textOf(const QUrl& url) {
    const QByteArray path = core::localPathBytes(url);
    return path.isEmpty() ? url.toEncoded() : path;
}

// Latin-1 bytes of UTF-8 `text`, or nothing when it is not valid UTF-8 or holds characters
// beyond Latin-1.
std::optional<QByteArray> latin1Of(const QByteArray& text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return std::nullopt;
    for (const QChar c : decoded) {
        if (c.unicode() > 0xff)
            return std::nullopt;
    }
    return decoded.toLatin1();
}

QByteArray mozUrlOf(const QList<QUrl>& urls) {
    QString list;
    for (const QUrl& url : urls) {
        const QString title =
            url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toDisplayString();
        list +=
            QString::fromLatin1(url.toEncoded()) + QLatin1Char('\n') + title + QLatin1Char('\n');
    }
    list.chop(1);
    return {reinterpret_cast<const char*>(list.utf16()), list.size() * 2};
}

} // namespace

QByteArray DragOffer::data(const QByteArray& target) const {
    for (const auto& [name, bytes] : targets) {
        if (name == target)
            return bytes;
    }
    return {};
}

bool DragOffer::offers(const QByteArray& target) const {
    return std::any_of(targets.begin(), targets.end(),
                       [&](const auto& pair) { return pair.first == target; });
}

DragOffer makeDragOffer(const QList<DragItem>& items) {
    QList<QUrl> urls;
    QByteArray uriList;
    QByteArrayList strings;
    QByteArrayList urlTexts;
    for (const DragItem& item : items) {
        if (const auto* url = std::get_if<QUrl>(&item.writer)) {
            urls << *url;
            uriList += url->toEncoded() + "\r\n";
            urlTexts << textOf(*url);
        } else {
            strings << std::get<QString>(item.writer).toUtf8();
        }
    }
    // A file URL stays out of the text of an entry that has text of its own: a receiver that
    // prefers text would take it for part of that text.
    const QByteArray text = (strings.isEmpty() ? urlTexts : strings).join('\n');

    DragOffer offer;
    offer.text = text;
    auto add = [&offer](const QByteArray& target, const QByteArray& bytes) {
        if (!bytes.isEmpty() && !offer.offers(target))
            offer.targets.append({target, bytes});
    };
    if (!uriList.isEmpty()) {
        offer.mimeFormats << QStringLiteral("text/uri-list");
        add("text/uri-list", uriList);
        add("text/x-moz-url", mozUrlOf(urls));
        add("text/plain", text);
    }
    if (!strings.isEmpty() && !text.isEmpty()) {
        const std::optional<QByteArray> latin1 = latin1Of(text);
        // Qt's X11 drag names STRING and TEXT beside text/plain: only text Latin-1 can hold
        // goes by that name.
        offer.mimeFormats << (latin1 ? QStringLiteral("text/plain")
                                     : QStringLiteral("UTF8_STRING"));
        offer.mimeFormats << QStringLiteral("text/plain;charset=utf-8");
        if (latin1)
            add("text/plain", text);
        add("text/plain;charset=utf-8", text);
        add("UTF8_STRING", text);
        if (latin1) {
            add("STRING", *latin1);
            add("TEXT", *latin1);
        }
    }
    return offer;
}

} // namespace backend
