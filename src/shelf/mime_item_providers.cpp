#include "shelf/mime_item_providers.h"

#include "core/local_path.h"

#include "shelf/ut_type.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace shelf {

namespace {

const ProviderTypes& fileUrlChain() {
    static const ProviderTypes types({UTType::fileURL.identifier()});
    return types;
}

LoadError noRepresentation(const QString& typeIdentifier) {
    return {QStringLiteral("The item has no representation of type %1.").arg(typeIdentifier)};
}

LoadError notAUrl(const QByteArray& uri) {
    return {QStringLiteral("%1 is not a valid URL.").arg(QString::fromLatin1(uri))};
}

QString describePath(const QByteArray& path) {
    return QString::fromLocal8Bit(path);
}

// A directory's URL ends with a slash; the name alone cannot tell, so look at the file.
QUrl withDirectorySlash(const QUrl& url) {
    if (url.path(QUrl::FullyEncoded).endsWith(QLatin1Char('/')))
        return url;
    const QByteArray path = core::localPathBytes(url);
    struct stat info {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return url;
    QUrl directory =
        QUrl::fromEncoded(url.toEncoded(QUrl::RemoveQuery | QUrl::RemoveFragment) + '/');
    if (url.hasQuery())
        directory.setQuery(url.query(QUrl::FullyEncoded));
    if (url.hasFragment())
        directory.setFragment(url.fragment(QUrl::FullyEncoded));
    return directory;
}

LoadedData readFile(const QUrl& url) {
    const QByteArray path = core::localPathBytes(url);
    if (path.isEmpty())
        return LoadError{QStringLiteral("%1 is not a local file.").arg(url.toDisplayString())};
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return LoadError{
            QStringLiteral("Could not open %1: %2")
                .arg(describePath(path), QString::fromLocal8Bit(std::strerror(errno)))};
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return LoadError{
                QStringLiteral("Could not read %1: %2")
                    .arg(describePath(path), QString::fromLocal8Bit(std::strerror(error)))};
        }
        bytes.append(buffer, count);
    }
    ::close(fd);
    return bytes;
}

} // namespace

// ---- UrlItemProvider

UrlItemProvider::UrlItemProvider(QByteArray uri, bool isFile, SharedProviderTypes types)
    : m_uri(std::move(uri)), m_isFile(isFile), m_types(std::move(types)) {}

void UrlItemProvider::loadItemForTypeIdentifier(const QString& typeIdentifier,
                                                ItemHandler handler) {
    const QUrl url = QUrl::fromEncoded(m_uri);
    if (!m_types->conformsTo(typeIdentifier))
        handler(noRepresentation(typeIdentifier));
    else if (!url.isValid())
        handler(notAUrl(m_uri));
    else if (!m_isFile && !UTType::url.conforms(UTType(typeIdentifier)))
        handler(url.toEncoded()); // a link read as text is its text
    else
        handler(m_isFile ? withDirectorySlash(url) : url);
}

void UrlItemProvider::loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                              DataHandler handler) {
    const QUrl url = QUrl::fromEncoded(m_uri);
    if (!m_types->conformsTo(typeIdentifier))
        handler(noRepresentation(typeIdentifier));
    else if (!url.isValid())
        handler(notAUrl(m_uri));
    else if (!m_isFile || fileUrlChain().conformsTo(typeIdentifier))
        handler((m_isFile ? withDirectorySlash(url) : url).toEncoded());
    else
        handler(readFile(url));
}

// ---- TextItemProvider

TextItemProvider::TextItemProvider(QByteArray text) : m_text(std::move(text)) {}

QStringList TextItemProvider::registeredTypeIdentifiers() const {
    return {UTType::plainText.identifier()};
}

bool TextItemProvider::hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const {
    return UTType::plainText.conforms(UTType(typeIdentifier));
}

void TextItemProvider::loadItemForTypeIdentifier(const QString& typeIdentifier,
                                                 ItemHandler handler) {
    if (hasItemConformingToTypeIdentifier(typeIdentifier))
        handler(m_text);
    else
        handler(noRepresentation(typeIdentifier));
}

void TextItemProvider::loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                               DataHandler handler) {
    if (hasItemConformingToTypeIdentifier(typeIdentifier))
        handler(m_text);
    else
        handler(noRepresentation(typeIdentifier));
}

// ---- ImageItemProvider

struct ImageItemProvider::Snapshot {
    QByteArray bytes;
    QImage image;
    QString suffix;
    QString cacheDirectory;

    std::once_flag encodeOnce;
    QByteArray encoded;
    std::once_flag writeOnce;
    std::variant<QUrl, LoadError> written;

    // The bytes as the source gave them, or the image encoded as PNG. Any thread.
    const QByteArray& data() {
        std::call_once(encodeOnce, [this] {
            if (!bytes.isEmpty() || image.isNull()) {
                encoded = bytes;
                return;
            }
            QBuffer buffer(&encoded);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        });
        return encoded;
    }

    // Written once, whichever thread and however many loads ask.
    std::variant<QUrl, LoadError> file() {
        std::call_once(writeOnce, [this] { written = writeFile(); });
        return written;
    }

    std::variant<QUrl, LoadError> writeFile();
};

std::variant<QUrl, LoadError> ImageItemProvider::Snapshot::writeFile() {
    const QByteArray& content = data();
    if (content.isEmpty())
        return LoadError{QStringLiteral("The dropped image has no data.")};
    const QByteArray directory = QFile::encodeName(cacheDirectory);
    QDir().mkpath(QFileInfo(cacheDirectory).absolutePath());
    if (::mkdir(directory.constData(), 0700) != 0 && errno != EEXIST)
        return LoadError{QStringLiteral("Could not create %1: %2")
                             .arg(cacheDirectory, QString::fromLocal8Bit(std::strerror(errno)))};
    // The folder may predate us with looser permissions; the images are the user's alone.
    ::chmod(directory.constData(), 0700);

    const QString name =
        QStringLiteral("image-XXXXXX") + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
    QTemporaryFile file(QDir(cacheDirectory).filePath(name)); // created 0600, exclusively
    file.setAutoRemove(false);
    if (!file.open())
        return LoadError{QStringLiteral("Could not create an image file in %1: %2")
                             .arg(cacheDirectory, file.errorString())};
    if (file.write(content) != content.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.remove();
        return LoadError{QStringLiteral("Could not write %1: %2").arg(file.fileName(), reason)};
    }
    file.close();
    return QUrl::fromLocalFile(file.fileName());
}

ImageItemProvider::ImageItemProvider(QByteArray bytes, QImage image, QString suffix,
                                     SharedProviderTypes types, QString cacheDirectory)
    : m_snapshot(std::make_unique<Snapshot>()), m_types(std::move(types)) {
    m_snapshot->bytes = std::move(bytes);
    m_snapshot->image = std::move(image);
    m_snapshot->suffix = std::move(suffix);
    m_snapshot->cacheDirectory = std::move(cacheDirectory);
}

ImageItemProvider::~ImageItemProvider() = default;

void ImageItemProvider::loadItemForTypeIdentifier(const QString& typeIdentifier,
                                                  ItemHandler handler) {
    if (!m_types->conformsTo(typeIdentifier)) {
        handler(noRepresentation(typeIdentifier));
        return;
    }
    auto file = m_snapshot->file();
    if (auto* url = std::get_if<QUrl>(&file))
        handler(*url);
    else
        handler(std::get<LoadError>(file));
}

void ImageItemProvider::loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                                DataHandler handler) {
    if (m_types->conformsTo(typeIdentifier))
        handler(m_snapshot->data());
    else
        handler(noRepresentation(typeIdentifier));
}

} // namespace shelf
