#include "symbol_image.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>

#include <array>

// Resources of a static library are registered by hand; this must sit outside any namespace.
static void registerSymbolResources() {
    Q_INIT_RESOURCE(symbols);
}

namespace platform {

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
    const Symbol* symbol = find(name);
    if (!symbol)
        return {};
    const QString themeName = QString::fromLatin1(symbol->themeName);
    if (QIcon::hasThemeIcon(themeName)) {
        QIcon icon = QIcon::fromTheme(themeName);
        icon.setIsMask(true);
        return icon;
    }
    return bundled(name);
}

QSize SymbolImage::naturalSize(const QString& name) const {
    auto it = m_naturalSizes.constFind(name);
    if (it == m_naturalSizes.cend())
        it = m_naturalSizes.insert(name, icon(name).actualSize(QSize(256, 256)));
    return *it;
}

QPixmap SymbolImage::image(const QString& name, QSize size, const QColor& tint,
                           qreal devicePixelRatio) const {
    // Rasterising a symbol's vector art is the costly part of building a tile; the few
    // name, size and colour combinations in use are drawn once.
    const QString key = QStringLiteral("holdfin-symbol:%1:%2x%3:%4:%5")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(tint.rgba(), 8, 16)
                            .arg(devicePixelRatio);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;
    const QIcon symbol = icon(name);
    if (symbol.isNull())
        return {};
    QPixmap result = tinted(symbol, size, tint, devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

QPixmap SymbolImage::tinted(const QIcon& icon, QSize size, const QColor& tint,
                            qreal devicePixelRatio) {
    if (icon.isNull() || size.isEmpty())
        return {};
    QPixmap pixmap = icon.pixmap(size, devicePixelRatio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), tint);
    return pixmap;
}

} // namespace platform
