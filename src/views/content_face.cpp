#include "content_face.h"

#include "caption_label.h"
#include "core/diagnostic_log.h"
#include "desktop/symbol_image.h"
#include "desktop/workspace.h"
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

IconView* makeFileIcon(const QString& content, int padding, const FaceEnvironment& environment,
                       QWidget* parent) {
    const QString path = filePathOf(content, environment.log);
    return new IconView(environment.workspace.iconForFile(path), padding,
                        fileIconForeground(environment.colorScheme), path, parent);
}

QWidget* makeFace(const QString& objectName) {
    auto* face = new QWidget;
    face->setObjectName(objectName);
    auto* layout = new QVBoxLayout(face);
    layout->setContentsMargins(0, 0, 0, 0);
    return face;
}

QWidget* makeSinglePayloadFace(const shelf::BucketItemData& payload,
                               const FaceEnvironment& environment) {
    QWidget* face = makeFace(QStringLiteral("singlePayloadFace"));
    IconView* icon = nullptr;
    // Exactly plain text gets its symbol; every other type, text subtypes included, is shown
    // by the file icon of its content.
    if (payload.type == UTType::plainText) {
        const QString name = payload.iconName();
        icon =
            new IconView(environment.symbols.icon(name), kSymbolPadding, std::nullopt, name, face);
    } else {
        icon = makeFileIcon(payload.content, kFileIconPadding, environment, face);
    }
    face->layout()->addWidget(icon);
    face->layout()->addWidget(new CaptionLabel(payload.displayName(), face));
    return face;
}

QWidget* makeMultiPayloadFace(const shelf::BucketItem& item, const FaceEnvironment& environment) {
    QWidget* face = makeFace(QStringLiteral("multiPayloadFace"));
    const qsizetype count = item.items.size();
    const int shown = static_cast<int>(std::min<qsizetype>(count, kMaxCascadeIcons));
    auto* cascade = new CascadeView(face);
    for (int i = 0; i < shown; ++i)
        makeFileIcon(item.items.at(i).content, CascadeView::padding(shown), environment, cascade);
    face->layout()->addWidget(cascade);
    face->layout()->addWidget(new CaptionLabel(QStringLiteral("%1 files").arg(count), face));
    return face;
}

} // namespace

QWidget* makeContentFace(const shelf::BucketItem& item, const FaceEnvironment& environment) {
    if (item.items.size() == 1)
        return makeSinglePayloadFace(item.items.constFirst(), environment);
    return makeMultiPayloadFace(item, environment);
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

void CascadeView::resizeEvent(QResizeEvent*) {
    const QList<IconView*> icons = findChildren<IconView*>(Qt::FindDirectChildrenOnly);
    const int count = static_cast<int>(icons.size());
    for (int i = 0; i < count; ++i)
        icons.at(i)->setGeometry(rect().translated(offset(i, count)));
}

} // namespace views
