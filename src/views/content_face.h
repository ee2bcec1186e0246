#pragma once

#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace core {
class DiagnosticLog;
}

namespace desktop {
class SymbolImage;
class Workspace;
} // namespace desktop

namespace views {

// What building a tile's face looks things up in.
struct FaceEnvironment {
    const desktop::Workspace& workspace;
    const desktop::SymbolImage& symbols;
    core::DiagnosticLog& log;
    desktop::ColorScheme colorScheme;
};

// The face of an entry: its one payload as an icon with its name below, or for any other
// number of payloads a cascade of up to three file icons above "N files". File icons are
// looked up anew on every call. The caller takes ownership.
QWidget* makeContentFace(const shelf::BucketItem& item, const FaceEnvironment& environment);

// The file-system path of a payload's content: the path of its URL, or when the content is
// not a URL the content less a leading "file://" (reporting "Invalid URL").
QString filePathOf(const QString& content, core::DiagnosticLog& log);

// The foreground colour given to file icons (it shows on single-colour icons only).
QColor fileIconForeground(desktop::ColorScheme colorScheme);

// Up to three icons stacked with a diagonal offset, centred as a group.
class CascadeView final : public QWidget {
    Q_OBJECT
public:
    explicit CascadeView(QWidget* parent = nullptr);

    // Padding of every icon of a cascade of `count` icons.
    static int padding(int count);
    // Offset of icon `index` from the cascade's frame, the group's centring included.
    static QPoint offset(int index, int count);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace views
