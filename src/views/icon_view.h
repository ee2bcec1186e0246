#pragma once

#include <QIcon>
#include <QWidget>

#include <optional>

namespace views {

// A resizable image: the icon scaled to fit inside the widget less `padding` on every side,
// aspect ratio kept, centred. A mask (template) icon is drawn in the foreground colour, the
// palette's text colour when none is set; a full-colour icon keeps its own colours.
class IconView final : public QWidget {
    Q_OBJECT
public:
    IconView(QIcon icon, int padding, std::optional<QColor> foreground, QString source,
             QWidget* parent = nullptr);

    // Shows `icon` instead, as the constructor would.
    void setIcon(QIcon icon, int padding, std::optional<QColor> foreground, QString source);

    int padding() const { return m_padding; }
    std::optional<QColor> foreground() const { return m_foreground; }
    const QIcon& icon() const { return m_icon; }
    // What the icon was made from: a symbol name or a file path.
    const QString& source() const { return m_source; }
    // Where the image is drawn, in the widget's coordinates.
    QRect imageRect() const;

    QSize sizeHint() const override { return {32, 32}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon m_icon;
    int m_padding;
    std::optional<QColor> m_foreground;
    QString m_source;
};

} // namespace views
