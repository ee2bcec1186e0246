#include "content_face.h"

#include "caption_label.h"
#include "core/diagnostic_log.h"
#include "desktop/desktop_services.h"
#include "desktop/thumbnails.h"
#include "icon_view.h"
#include "payload_url.h"
#include "shelf/entry_caption.h"
#include "text_preview_view.h"

#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace views {

using shelf::UTType;

namespace {

constexpr int kMaxCascadeIcons = 3;
constexpr int kFileIconPadding = 4;
// The tallest a picture gets in a tile, in device-independent pixels.
constexpr int kPictureHeight = 90;

} // namespace

ContentFace::ContentFace(const desktop::DesktopServices& desktopServices,
                         desktop::Thumbnails& thumbnails, core::DiagnosticLog& log, QWidget* parent)
    : QWidget(parent), m_desktopServices(desktopServices), m_thumbnails(thumbnails), m_log(log),
      m_layout(new QVBoxLayout(this)), m_caption(new CaptionLabel(QString(), this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_caption);
    connect(&m_thumbnails, &desktop::Thumbnails::thumbnailChanged, this,
            &ContentFace::onThumbnailChanged);
}

void ContentFace::setEntry(const shelf::BucketItem& item, desktop::ColorScheme colorScheme) {
    const QColor foreground = fileIconForeground(colorScheme);
    m_filePictures.clear();
    if (item.items.size() == 1)
        setSinglePayload(item.items.constFirst(), foreground, colorScheme);
    else
        setCascade(item, foreground);
}

void ContentFace::setSinglePayload(const shelf::BucketItemData& payload, const QColor& foreground,
                                   desktop::ColorScheme colorScheme) {
    setObjectName(QStringLiteral("singlePayloadFace"));
    m_caption->setText(payload.displayName());
    // Exactly plain text shows its first lines, a web address its host; every other type, text
    // subtypes included, is shown by the file of its content.
    const bool isLink = shelf::isWebAddress(payload.content);
    if (isLink || payload.type == UTType::plainText) {
        if (!m_preview) {
            m_preview = new TextPreviewView(this);
            setIconArea(m_preview);
        }
        m_preview->setText(payload.content,
                           isLink ? TextPreviewView::Kind::Link : TextPreviewView::Kind::Text,
                           colorScheme);
        return;
    }
    if (!m_icon) {
        m_icon = new IconView(QIcon(), 0, std::nullopt, QString(), this);
        setIconArea(m_icon);
    }
    showFile(m_icon, payload.content, kFileIconPadding, foreground);
}

void ContentFace::setCascade(const shelf::BucketItem& item, const QColor& foreground) {
    setObjectName(QStringLiteral("multiPayloadFace"));
    if (!m_cascade) {
        m_cascade = new CascadeView(this);
        setIconArea(m_cascade);
    }
    const qsizetype count = item.items.size();
    const int shown = static_cast<int>(std::min<qsizetype>(count, kMaxCascadeIcons));
    m_cascade->setIconCount(shown);
    const QList<IconView*> icons = m_cascade->icons();
    for (int i = 0; i < shown; ++i)
        showFile(icons.at(i), item.items.at(i).content, CascadeView::padding(shown), foreground);
    m_caption->setText(shelf::multiPayloadCaption(item.items));
}

void ContentFace::showFile(IconView* icon, const QString& content, int padding,
                           const QColor& foreground) {
    const QString path = filePathOf(content, m_log);
    const QString thumbnailPath = thumbnailPathOf(content);
    QImage picture;
    if (!thumbnailPath.isEmpty()) {
        m_filePictures.append({icon, thumbnailPath, padding, foreground});
        picture = m_thumbnails.thumbnail(thumbnailPath, thumbnailEdge());
    }
    showPicture(icon, path, picture, padding, foreground);
}

void ContentFace::showPicture(IconView* icon, const QString& path, const QImage& picture,
                              int padding, const QColor& foreground) {
    if (picture.isNull())
        icon->setIcon(m_desktopServices.fileIcon(path), padding, foreground, path);
    else
        icon->setIcon(QIcon(QPixmap::fromImage(picture)), padding, std::nullopt, path);
}

void ContentFace::onThumbnailChanged(const QString& path) {
    // Only the pictures change: the entry is not shown anew, so nothing is reported twice.
    for (const FilePicture& shown : std::as_const(m_filePictures)) {
        if (shown.icon && shown.path == path)
            showPicture(shown.icon, shown.icon->source(),
                        m_thumbnails.thumbnail(path, thumbnailEdge()), shown.padding,
                        shown.foreground);
    }
}

int ContentFace::thumbnailEdge() const {
    return static_cast<int>(std::ceil(kPictureHeight * devicePixelRatioF()));
}

void ContentFace::setIconArea(QWidget* area) {
    if (area != m_icon) {
        delete m_icon;
        m_icon = nullptr;
    }
    if (area != m_preview) {
        delete m_preview;
        m_preview = nullptr;
    }
    if (area != m_cascade) {
        delete m_cascade;
        m_cascade = nullptr;
    }
    m_layout->insertWidget(0, area);
}

QString filePathOf(const QString& content, core::DiagnosticLog& log) {
    if (const std::optional<QUrl> url = urlFromString(content))
        return url->path();
    core::print(log, "Invalid URL");
    const QString scheme = QStringLiteral("file://");
    return content.startsWith(scheme) ? content.mid(scheme.size()) : content;
}

QString thumbnailPathOf(const QString& content) {
    const std::optional<QUrl> url = urlFromString(content);
    if (!url || !url->isLocalFile() || content.endsWith(QLatin1Char('/')))
        return {};
    const QString path = url->toLocalFile();
    return path.isEmpty() || path.endsWith(QLatin1Char('/')) ? QString() : path;
}

QColor fileIconForeground(desktop::ColorScheme colorScheme) {
    if (colorScheme == desktop::ColorScheme::Light) {
        QColor color(Qt::black);
        color.setAlphaF(0.69f);
        return color;
    }
    return Qt::white;
}

CascadeView::CascadeView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int CascadeView::padding(int count) {
    return 3 * (count - 1) + 4;
}

QPoint CascadeView::offset(int index, int count) {
    return {-6 * index + 3 * (count - 1), 6 * index - 3 * (count - 1)};
}

QList<IconView*> CascadeView::icons() const {
    return findChildren<IconView*>(Qt::FindDirectChildrenOnly);
}

void CascadeView::setIconCount(int count) {
    QList<IconView*> current = icons();
    while (current.size() > count)
        delete current.takeLast();
    for (qsizetype i = current.size(); i < count; ++i)
        (new IconView(QIcon(), 0, std::nullopt, QString(), this))->show();
    placeIcons();
}

void CascadeView::resizeEvent(QResizeEvent*) {
    placeIcons();
}

void CascadeView::placeIcons() {
    const QList<IconView*> shown = icons();
    const int count = static_cast<int>(shown.size());
    for (int i = 0; i < count; ++i)
        shown.at(i)->setGeometry(rect().translated(offset(i, count)));
}

} // namespace views
