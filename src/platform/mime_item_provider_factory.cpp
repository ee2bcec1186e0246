#include "mime_item_provider_factory.h"

#include "mime_item_providers.h"
#include "uri_list.h"

#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QThreadPool>
#include <QUrl>

namespace platform {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kQtImage = QStringLiteral("application/x-qt-image");

// Text formats in the order they are preferred; all give UTF-8 or plain ASCII in practice.
bool isTextFormat(const QString& format) {
    const QString f = format.toLower().remove(QLatin1Char(' '));
    return f == QLatin1String("text/plain;charset=utf-8") || f == QLatin1String("text/plain") ||
           f == QLatin1String("utf8_string");
}

QString textFormat(const QStringList& formats) {
    for (const char* wanted : {"text/plain;charset=utf-8", "text/plain", "utf8_string"}) {
        for (const QString& format : formats) {
            if (format.toLower().remove(QLatin1Char(' ')) == QLatin1String(wanted))
                return format;
        }
    }
    return {};
}

bool isImageFormat(const QString& format) {
    return format.startsWith(QLatin1String("image/"), Qt::CaseInsensitive);
}

// PNG when offered (lossless and readable everywhere), else the source's first image format.
QString imageFormat(const QStringList& formats) {
    if (formats.contains(QStringLiteral("image/png"), Qt::CaseInsensitive))
        return QStringLiteral("image/png");
    for (const QString& format : formats) {
        if (isImageFormat(format))
            return format.toLower();
    }
    return {};
}

} // namespace

MimeItemProviderFactory::MimeItemProviderFactory(QString imageCacheDirectory, QThreadPool& pool)
    : m_imageCacheDirectory(std::move(imageCacheDirectory)),
      m_loads(std::make_shared<LoadQueue>(pool, pool.maxThreadCount())) {}

ItemProviderList MimeItemProviderFactory::providersFor(const QMimeData& data) {
    ItemProviderList providers;
    const QStringList formats = data.formats();
    if (formats.contains(kUriList)) {
        const QList<QByteArray> uris = parseUriList(data.data(kUriList));
        providers.reserve(static_cast<std::size_t>(uris.size()));
        for (const QByteArray& uri : uris) {
            if (isFileUri(uri)) {
                providers.push_back(std::make_shared<UrlItemProvider>(
                    uri, true, m_resolver.typesForFileUri(uri), m_loads));
            } else if (QUrl::fromEncoded(uri).isValid()) {
                // Links are few; checking them here keeps garbage out of the drop.
                providers.push_back(std::make_shared<UrlItemProvider>(
                    uri, false, m_resolver.typesForLink(), m_loads));
            }
        }
        if (!providers.empty())
            return providers;
    }
    if (const QString format = textFormat(formats); !format.isEmpty()) {
        // No text is nothing to keep (also what a read the source did not answer gives).
        if (QByteArray text = data.data(format); !text.isEmpty()) {
            providers.push_back(std::make_shared<TextItemProvider>(std::move(text), m_loads));
            return providers;
        }
    }
    if (const QString format = imageFormat(formats); !format.isEmpty()) {
        QByteArray bytes = data.data(format);
        if (!bytes.isEmpty()) {
            const QString suffix = QMimeDatabase().mimeTypeForName(format).preferredSuffix();
            providers.push_back(std::make_shared<ImageItemProvider>(
                std::move(bytes), QImage(), suffix, m_resolver.typesForImage(format),
                m_imageCacheDirectory, m_loads));
            return providers;
        }
    }
    if (formats.contains(kQtImage)) {
        QImage image = qvariant_cast<QImage>(data.imageData());
        if (!image.isNull())
            providers.push_back(std::make_shared<ImageItemProvider>(
                QByteArray(), std::move(image), QStringLiteral("png"),
                m_resolver.typesForImage(QStringLiteral("image/png")), m_imageCacheDirectory,
                m_loads));
    }
    return providers;
}

bool MimeItemProviderFactory::canProvide(const QMimeData& data) {
    const QStringList formats = data.formats();
    for (const QString& format : formats) {
        if (format == kUriList || format == kQtImage || isTextFormat(format) ||
            isImageFormat(format))
            return true;
    }
    return false;
}

QString MimeItemProviderFactory::defaultImageCacheDirectory() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("holdfin"));
}

void MimeItemProviderFactory::clearImageCache(const QString& directory) {
    QDir dir(directory);
    if (directory.isEmpty() || !dir.exists())
        return;
    // Links are removed, not followed (a link to a folder too); sub-folders are not ours and
    // stay.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isDir())
            QFile::remove(entry.filePath());
    }
}

} // namespace platform
