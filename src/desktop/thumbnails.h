#pragma once

#include <QImage>
#include <QObject>
#include <QString>

namespace desktop {

// Pictures of local files, found or made away from the GUI thread. GUI thread only.
class Thumbnails : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The picture of the file at the absolute `path` for an area of `edge` device pixels, when
    // one is at hand; null otherwise (none yet, or none can be had). A null answer or an old
    // one starts a look for a newer picture; thumbnailChanged tells when to ask again.
    virtual QImage thumbnail(const QString& path, int edge) = 0;

signals:
    // The picture of `path` has come, changed or gone.
    void thumbnailChanged(const QString& path);
};

} // namespace desktop
