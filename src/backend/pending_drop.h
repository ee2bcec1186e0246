#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace backend {

// A drop of another application's drag, taken over from the toolkit so that reading its data
// never waits on the source (see DragSelection::takeOverDrop). The source waits until
// finish(); a drop let go without it is refused. GUI thread only.
class PendingDrop {
public:
    virtual ~PendingDrop() = default;

    // The MIME types the drop offers, named as the toolkit's drop data names them.
    virtual QStringList formats() const = 0;
    // Reads `format` as the toolkit's drop data would give it (an image for
    // "application/x-qt-image" comes encoded) and hands it to `done` on the GUI thread, never
    // from inside this call. Empty when the format is not offered, the source refused it, or it
    // did not deliver within a bound of the backend's; once a source has stalled, every later
    // read of its drop is empty at once. One read at a time, in the order asked.
    using ReadHandler = std::function<void(QByteArray)>;
    virtual void read(const QString& format, ReadHandler done) = 0;
    // Tells the source that the drop is over: taken as a copy, or refused. Later calls and
    // reads do nothing.
    virtual void finish(bool isTaken) = 0;
};

} // namespace backend
