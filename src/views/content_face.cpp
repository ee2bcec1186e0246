#include "content_face.h"

#include "caption_label.h"
#include "core/diagnostic_log.h"
#include "desktop/symbol_image.h"
#include "desktop/workspace.h"
#include "entry_caption.h"
#include "icon_view.h"
#include "payload_url.h"

#include <QVBoxLayout>

#include <algorithm>

namespace views {

using shelf::UTType;

namespace {

constexpr int kMaxCascadeIcons = 3;
constexpr int kSymbolPadding = 6;
constexpr int kFileIconPadding = 4;

} // namespace

ContentFace::ContentFace(const desktop::Workspace& workspace, const desktop::SymbolImage& symbols,
                         core::DiagnosticLog& log, QWidget* parent)
    : QWidget(parent), m_workspace(workspace), m_symbols(symbols), m_log(log),
      m_layout(new QVBoxLayout(this)), m_caption(new CaptionLabel(QString(), this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_caption);
}

void ContentFace::setEntry(const shelf::BucketItem& item, desktop::ColorScheme colorScheme) {
    const QColor foreground = fileIconForeground(colorScheme);
    if (item.items.size() == 1)
        setSinglePayload(item.items.constFirst(), foreground);
    else
        setCascade(item, foreground);
}

void ContentFace::setSinglePayload(const shelf::BucketItemData& payload, const QColor& foreground) {
    setObjectName(QStringLiteral("singlePayloadFace"));
    if (!m_icon) {
        m_icon = new IconView(QIcon(), 0, std::nullopt, QString(), this);
        setIconArea(m_icon);
    }
    // Exactly plain text gets its symbol; every other type, text subtypes included, is shown
    // by the file icon of its content.
    if (payload.type == UTType::plainText) {
        const QString name = payload.iconName();
        m_icon->setIcon(m_symbols.icon(name), kSymbolPadding, std::nullopt, name);
    } else {
        const QString path = filePathOf(payload.content, m_log);
        m_icon->setIcon(m_workspace.iconForFile(path), kFileIconPadding, foreground, path);
    }
    m_caption->setText(payload.displayName());
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
    for (int i = 0; i < shown; ++i) {
        const QString path = filePathOf(item.items.at(i).content, m_log);
        icons.at(i)->setIcon(m_workspace.iconForFile(path), CascadeView::padding(shown), foreground,
                             path);
    }
    m_caption->setText(multiPayloadCaption(item.items));
}

void ContentFace::setIconArea(QWidget* area) {
    if (area != m_icon) {
        delete m_icon;
        m_icon = nullptr;
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
