#pragma once

#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

class QVBoxLayout;

namespace core {
class DiagnosticLog;
}

namespace desktop {
class SymbolImage;
class Workspace;
} // namespace desktop

namespace views {

class CaptionLabel;
class CascadeView;
class IconView;

// The face of an entry: its one payload as an icon with its name below, or for any other
// number of payloads a cascade of up to three file icons above a count of what they are. Every
// setEntry looks the file icons up anew (nothing is cached); the widgets stay, and are made again
// only when the kind of face changes.
class ContentFace final : public QWidget {
    Q_OBJECT
public:
    // The three services must outlive the face.
    ContentFace(const desktop::Workspace& workspace, const desktop::SymbolImage& symbols,
                core::DiagnosticLog& log, QWidget* parent = nullptr);

    // Shows `item`, its file icons in the foreground colour of `colorScheme`.
    void setEntry(const shelf::BucketItem& item, desktop::ColorScheme colorScheme);

private:
    void setSinglePayload(const shelf::BucketItemData& payload, const QColor& foreground);
    void setCascade(const shelf::BucketItem& item, const QColor& foreground);
    // Puts `area` (the icon or the cascade) above the caption, deleting the other kind.
    void setIconArea(QWidget* area);

    const desktop::Workspace& m_workspace;
    const desktop::SymbolImage& m_symbols;
    core::DiagnosticLog& m_log;
    QVBoxLayout* m_layout;
    IconView* m_icon = nullptr;       // the single-payload face's
    CascadeView* m_cascade = nullptr; // the multi-payload face's
    CaptionLabel* m_caption;
};

// The file-system path of a payload's content: the path of its URL, or when the content is
// not a URL the content less a leading "file://" (reporting "Invalid URL").
QString filePathOf(const QString& content, core::DiagnosticLog& log);

// The foreground colour given to file icons (it shows on single-colour icons only).
QColor fileIconForeground(desktop::ColorScheme colorScheme);

// Up to three icons stacked with a diagonal offset, centred as a group; later icons are drawn
// over earlier ones.
class CascadeView final : public QWidget {
    Q_OBJECT
public:
    explicit CascadeView(QWidget* parent = nullptr);

    // Padding of every icon of a cascade of `count` icons.
    static int padding(int count);
    // Offset of icon `index` from the cascade's frame, the group's centring included.
    static QPoint offset(int index, int count);

    // Makes the cascade hold `count` icons, keeping the first ones it has.
    void setIconCount(int count);
    QList<IconView*> icons() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeIcons();
};

} // namespace views
