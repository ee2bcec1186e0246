#pragma once

#include "backend/drag_session.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

namespace backend {

// Everything a drag out (or a copy) of the shelf hands over, target by target, so that each
// advertised format carries its data: the URLs as text/uri-list (CRLF after each) and
// text/x-moz-url (UTF-16, URL and title per line pair); the text, UTF-8, as text/plain,
// text/plain;charset=utf-8 and UTF8_STRING, and as STRING and TEXT only where Latin-1 holds it.
// The text of an entry with strings is its strings, one per line; of an entry of URLs alone,
// their local paths (raw bytes of the name) or the URLs themselves, one per line.
struct DragOffer {
    // The formats to give Qt's drag. Its X11 back-end adds text/x-moz-url and text/plain to a
    // URI list, and UTF8_STRING, STRING and TEXT to text/plain, which `targets` covers.
    QStringList mimeFormats;
    // Every target a peer may ask for, in the order offered, with its bytes; never empty bytes.
    QList<QPair<QByteArray, QByteArray>> targets;
    // The text, UTF-8; what Qt asks for under text/plain whichever text target a peer named.
    QByteArray text;

    // The bytes of `target`; empty for one not offered.
    QByteArray data(const QByteArray& target) const;
    bool offers(const QByteArray& target) const;
};

DragOffer makeDragOffer(const QList<DragItem>& items);

} // namespace backend
