#pragma once

#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class QVBoxLayout;

namespace core {
class DiagnosticLog;
}

namespace desktop {
class Thumbnails;
class DesktopServices;
} // namespace desktop

namespace views {

class CaptionLabel;
class CascadeView;
class IconView;
class TextPreviewView;

// The face of an entry: its one payload as a picture with its name below, or for any other
// number of payloads a cascade of up to three file pictures above a count of what they are. A
// file's picture is its thumbnail when one is at hand, else its type's icon; it changes when
// the thumbnail comes. A text shows its first lines on a page, a web address its host as a
// link. Every setEntry looks the pictures up anew; the widgets stay, and are made again only
// when the kind of face changes.
class ContentFace final : public QWidget {
    Q_OBJECT
public:
    // The three services must outlive the face.
    ContentFace(const desktop::DesktopServices& desktopServices, desktop::Thumbnails& thumbnails,
                core::DiagnosticLog& log, QWidget* parent = nullptr);

    // Shows `item`, its file icons in the foreground colour of `colorScheme`.
    void setEntry(const shelf::BucketItem& item, desktop::ColorScheme colorScheme);

private:
    void setSinglePayload(const shelf::BucketItemData& payload, const QColor& foreground,
                          desktop::ColorScheme colorScheme);
    void setCascade(const shelf::BucketItem& item, const QColor& foreground);
    // Shows the file of `content` in `icon`: its thumbnail, else its type's icon.
    void showFile(IconView* icon, const QString& content, int padding, const QColor& foreground);
    // Shows `picture` in `icon`, or when it is null the type icon of `path`.
    void showPicture(IconView* icon, const QString& path, const QImage& picture, int padding,
                     const QColor& foreground);
    int thumbnailEdge() const;
    void onThumbnailChanged(const QString& path);
    // Puts `area` (the icon, the preview or the cascade) above the caption, deleting the
    // other kinds.
    void setIconArea(QWidget* area);

    // A file picture that follows its thumbnail.
    struct FilePicture {
        QPointer<IconView> icon;
        QString path;
        int padding;
        QColor foreground;
    };

    const desktop::DesktopServices& m_desktopServices;
    desktop::Thumbnails& m_thumbnails;
    core::DiagnosticLog& m_log;
    QVBoxLayout* m_layout;
    IconView* m_icon = nullptr;           // the single-payload face's
    TextPreviewView* m_preview = nullptr; // the single text's or web address's
    CascadeView* m_cascade = nullptr;     // the multi-payload face's
    CaptionLabel* m_caption;
    QList<FilePicture> m_filePictures; // of the last setEntry
};

// The file-system path of a payload's content: the path of its URL, or when the content is
// not a URL the content less a leading "file://" (reporting "Invalid URL").
QString filePathOf(const QString& content, core::DiagnosticLog& log);

// The absolute path of a local file's `content` that may have a thumbnail (no folders); empty
// otherwise. Reports nothing.
QString thumbnailPathOf(const QString& content);

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
