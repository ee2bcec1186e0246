#pragma once

#include "desktop/thumbnails.h"

#include <QHash>
#include <QStringList>

namespace testing_support {

// Answers with the pictures a test gave it, at once; records every path asked for.
class FakeThumbnails final : public desktop::Thumbnails {
    Q_OBJECT
public:
    QImage thumbnail(const QString& path, int edge) override {
        m_requests << path;
        m_lastEdge = edge;
        return m_pictures.value(path);
    }

    // Gives `path` the picture `image` (none when null) and says so.
    void setThumbnail(const QString& path, const QImage& image) {
        m_pictures.insert(path, image);
        emit thumbnailChanged(path);
    }

    const QStringList& requests() const { return m_requests; }
    int lastEdge() const { return m_lastEdge; }

private:
    QHash<QString, QImage> m_pictures;
    QStringList m_requests;
    int m_lastEdge = 0;
};

} // namespace testing_support
