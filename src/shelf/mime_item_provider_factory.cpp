#include "shelf/mime_item_provider_factory.h"

#include "core/hand_over.h"
#include "shelf/logging.h"
#include "shelf/mime_item_providers.h"
#include "shelf/uri_list.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QUrl>

namespace shelf {

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

MimeItemProviderFactory::MimeItemProviderFactory(QString imageCacheDirectory)
    : m_imageCacheDirectory(std::move(imageCacheDirectory)) {
    m_drops.setMaxThreadCount(1);
}

DropContents MimeItemProviderFactory::read(const QMimeData& data) {
    DropContents contents;
    const QStringList formats = data.formats();
    if (formats.contains(kUriList)) {
        const QList<QByteArray> uris = parseUriList(data.data(kUriList));
        contents.uris.reserve(uris.size());
        for (const QByteArray& uri : uris) {
            if (isFileUri(uri))
                contents.uris.append({uri, true});
            else if (QUrl::fromEncoded(uri).isValid())
                // Links are few; checking them here keeps garbage out of the drop.
                contents.uris.append({uri, false});
        }
        if (!contents.uris.isEmpty())
            return contents;
    }
    if (const QString format = textFormat(formats); !format.isEmpty()) {
        // No text is nothing to keep (also what a read the source did not answer gives).
        contents.text = data.data(format);
        if (!contents.text.isEmpty())
            return contents;
    }
    if (const QString format = imageFormat(formats); !format.isEmpty()) {
        contents.imageBytes = data.data(format);
        contents.imageFormat = format;
        if (!contents.imageBytes.isEmpty())
            return contents;
    }
    if (formats.contains(kQtImage))
        contents.image = qvariant_cast<QImage>(data.imageData());
    return contents;
}

ItemProviderList MimeItemProviderFactory::providersFor(const DropContents& contents) {
    std::lock_guard lock(m_resolverMutex);
    ItemProviderList providers;
    providers.reserve(static_cast<std::size_t>(contents.uris.size()));
    for (const DropContents::Uri& uri : contents.uris) {
        providers.push_back(std::make_shared<UrlItemProvider>(
            uri.encoded, uri.isFile,
            uri.isFile ? m_resolver.typesForFileUri(uri.encoded) : m_resolver.typesForLink()));
    }
    if (!contents.text.isEmpty())
        providers.push_back(std::make_shared<TextItemProvider>(contents.text));
    if (!contents.imageBytes.isEmpty()) {
        const QString suffix =
            QMimeDatabase().mimeTypeForName(contents.imageFormat).preferredSuffix();
        providers.push_back(std::make_shared<ImageItemProvider>(
            contents.imageBytes, QImage(), suffix, m_resolver.typesForImage(contents.imageFormat),
            m_imageCacheDirectory));
    } else if (!contents.image.isNull()) {
        providers.push_back(std::make_shared<ImageItemProvider>(
            QByteArray(), contents.image, QStringLiteral("png"),
            m_resolver.typesForImage(QStringLiteral("image/png")), m_imageCacheDirectory));
    }
    return providers;
}

void MimeItemProviderFactory::makeProviders(DropContents contents, ProvidersHandler handler) {
    auto drop = [this, contents = std::move(contents), handler = std::move(handler)] {
        QElapsedTimer timer;
        timer.start();
        ItemProviderList providers = providersFor(contents);
        const qint64 madeMs = timer.elapsed();
        const std::size_t count = providers.size();
        handler(std::move(providers));
        qCDebug(lcDrop, "%zu providers made in %lld ms, handled in %lld ms", count, madeMs,
                timer.elapsed() - madeMs);
    };
    core::startOnPool(m_drops, std::move(drop));
}

void MimeItemProviderFactory::waitForDrops() {
    m_drops.waitForDone();
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

} // namespace shelf
