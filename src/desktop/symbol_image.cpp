#include "desktop/symbol_image.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>

#include <array>

// Resources of a static library are registered by hand; this must sit outside any namespace.
static void registerSymbolResources() {
    Q_INIT_RESOURCE(symbols);
}

namespace desktop {

namespace {

struct Symbol {
    const char* name;
    // A freedesktop icon-theme name standing for the same thing.
    const char* themeName;
};

constexpr std::array<Symbol, 15> kSymbols = {{
    {"lock", "changes-prevent-symbolic"},
    {"lock.open", "changes-allow-symbolic"},
    {"arrow.trianglehead.branch", "vcs-branch-symbolic"},
    {"xmark", "window-close-symbolic"},
    {"trash", "user-trash-symbolic"},
    {"gear", "emblem-system-symbolic"},
    {"chevron.down", "pan-down-symbolic"},
    {"digitalcrown.horizontal.press", "go-bottom-symbolic"},
    {"digitalcrown.horizontal.press.fill", "go-bottom-symbolic"},
    {"folder.fill", "folder-symbolic"},
    {"doc.fill", "x-office-document-symbolic"},
    {"doc.text.fill", "text-x-generic-symbolic"},
    {"waveform", "audio-x-generic-symbolic"},
    {"film.fill", "video-x-generic-symbolic"},
    {"doc.richtext.fill", "application-pdf-symbolic"},
}};

const Symbol* find(const QString& name) {
    for (const Symbol& symbol : kSymbols) {
        if (name == QLatin1String(symbol.name))
            return &symbol;
    }
    return nullptr;
}

} // namespace

SymbolImage::SymbolImage() {
    registerSymbolResources();
}

QStringList SymbolImage::names() {
    QStringList result;
    for (const Symbol& symbol : kSymbols)
        result << QString::fromLatin1(symbol.name);
    return result;
}

QIcon SymbolImage::bundled(const QString& name) {
    registerSymbolResources();
    if (!find(name))
        return {};
    QIcon icon(QStringLiteral(":/symbols/%1.svg").arg(name));
    icon.setIsMask(true);
    return icon;
}

QIcon SymbolImage::icon(const QString& name) const {
    // Icon engines key their rendered pixmaps by engine: a fresh icon for every tile would fill
    // the pixmap cache with renderings nobody asks for again.
    if (const auto it = m_icons.constFind(name); it != m_icons.cend())
        return *it;
    const Symbol* symbol = find(name);
    if (!symbol)
        return {};
    QIcon icon;
    const QString themeName = QString::fromLatin1(symbol->themeName);
    if (QIcon::hasThemeIcon(themeName)) {
        icon = QIcon::fromTheme(themeName);
        icon.setIsMask(true);
    } else {
        icon = bundled(name);
    }
    m_icons.insert(name, icon);
    return icon;
}

QSize SymbolImage::naturalSize(const QString& name) const {
    auto it = m_naturalSizes.constFind(name);
    if (it == m_naturalSizes.cend())
        it = m_naturalSizes.insert(name, icon(name).actualSize(QSize(256, 256)));
    return *it;
}

QPixmap SymbolImage::image(const QString& name, QSize size, const QColor& tint,
                           qreal devicePixelRatio) const {
    // Rasterising a symbol's vector art is the costly part of building a tile: each name, size
    // and ratio is drawn once. Colours are not part of the key, as the drop region animates
    // through hundreds of them; recolouring a small pixmap is cheap.
    const QString key = QStringLiteral("holdfin-symbol:%1:%2x%3:%4")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    QPixmap mask;
    if (!QPixmapCache::find(key, &mask)) {
        const QIcon symbol = icon(name);
        if (symbol.isNull() || size.isEmpty())
            return {};
        mask = symbol.pixmap(size, devicePixelRatio);
        QPixmapCache::insert(key, mask);
    }
    return recoloured(mask, tint);
}

QPixmap SymbolImage::tinted(const QIcon& icon, QSize size, const QColor& tint,
                            qreal devicePixelRatio) {
    if (icon.isNull() || size.isEmpty())
        return {};
    return recoloured(icon.pixmap(size, devicePixelRatio), tint);
}

QPixmap SymbolImage::recoloured(QPixmap pixmap, const QColor& tint) {
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), tint);
    return pixmap;
}

} // namespace desktop
