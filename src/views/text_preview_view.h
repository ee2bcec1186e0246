#pragma once

#include "desktop/color_scheme.h"

#include <QStringList>
#include <QWidget>

class QPainter;

namespace views {

// A text's first lines, small, on a page in the scheme's colours; or a link: its host in the
// link colour above the rest of its address. However long the text, only its first
// kMaxCharacters are ever looked at, so a huge text costs no more than a short one.
class TextPreviewView final : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Text, Link };
    static constexpr qsizetype kMaxCharacters = 400;
    static constexpr int kMaxLines = 6;

    explicit TextPreviewView(QWidget* parent = nullptr);

    // Shows `text` (a text, or a URL for a link) as `kind`.
    void setText(const QString& text, Kind kind, desktop::ColorScheme colorScheme);

    Kind kind() const { return m_kind; }
    // What the page shows, line by line, before wrapping (a text) or eliding (a link) to its
    // width: for a link its host, then the rest of the address when there is any.
    const QStringList& lines() const { return m_lines; }
    // The page's colour and the text's, after the scheme.
    QColor pageColor() const;
    QColor textColor() const;
    // Where the page is drawn, in the widget's coordinates.
    QRect pageRect() const;

    QSize sizeHint() const override { return {96, 64}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPalette schemePalette() const;
    void paintText(QPainter& painter, const QRect& inside) const;
    void paintLink(QPainter& painter, const QRect& inside) const;

    Kind m_kind = Kind::Text;
    QStringList m_lines;
    desktop::ColorScheme m_colorScheme = desktop::ColorScheme::Light;
};

} // namespace views
