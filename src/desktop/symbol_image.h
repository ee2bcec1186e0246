#pragma once

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QStringList>

namespace desktop {

// The named symbols the views draw ("lock", "xmark", "folder.fill", ...): the icon theme's
// symbolic icon where the theme has one, otherwise an SVG of our own. Symbols are
// single-colour images, drawn in the colour asked for. GUI thread only.
class SymbolImage final {
public:
    SymbolImage();

    // Every symbol name known here.
    static QStringList names();
    // The symbol as a mask icon; a null icon for an unknown name.
    QIcon icon(const QString& name) const;
    // The symbol's natural size (its aspect ratio is what matters); empty for an unknown name.
    QSize naturalSize(const QString& name) const;
    // The symbol scaled to fit `size` (aspect ratio kept), in `tint`; null for an unknown name.
    QPixmap image(const QString& name, QSize size, const QColor& tint,
                  qreal devicePixelRatio = 1.0) const;

    // Our own artwork for `name`, ignoring the theme; a null icon for an unknown name.
    static QIcon bundled(const QString& name);
    // `icon` scaled to fit `size` (aspect ratio kept) with every pixel recoloured to `tint`,
    // opacity multiplied through.
    static QPixmap tinted(const QIcon& icon, QSize size, const QColor& tint,
                          qreal devicePixelRatio = 1.0);

private:
    // `pixmap` with every pixel recoloured to `tint`, opacity multiplied through.
    static QPixmap recoloured(QPixmap pixmap, const QColor& tint);

    mutable QHash<QString, QIcon> m_icons;
    mutable QHash<QString, QSize> m_naturalSizes; // asking an SVG icon renders it: ask once
};

} // namespace desktop
