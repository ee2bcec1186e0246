#pragma once

#include "backend/drag_selection.h"
#include "backend/x11/x11_drop_reader.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace backend::x11 {

class X11Connection;

// The XDND selection (XdndSelection) as the drag selection. Every new owner of the selection
// is a new drag; its offered types are learnt without waiting on any drag source (a fresh
// XdndTypeList, a TARGETS conversion, or conversions of a few cheap types with the exact
// selection time, one after the other until the first answer, again every few milliseconds
// at the time of the latest pointer motion while all are refused), and the change count
// takes a new value once they are known or `bound` has passed. A source that has not told
// by then counts with the XdndTypeList it had when its drag began, if any (a list written
// before the news of the drag came cannot be heard being written); without one it holds
// nothing readable, but is asked again at each motion until the button goes up, and the count
// changes again if it tells. Holdfin's own drags are never asked
// and count as holding nothing readable. A native Wayland drag shows as the compositor's X
// client taking the selection; when it refuses TARGETS (KWin), file URLs and text are
// assumed: the real types come with XdndEnter. Drops taken over from Qt are read by an
// X11DropReader on the same connection. GUI thread only.
class X11DragSelection final : public QObject, public DragSelection {
    Q_OBJECT
public:
    // Watches through `connection`, which must outlive this object. Without XFixes the count
    // never changes, nothing is readable, and one line on standard error says why.
    explicit X11DragSelection(X11Connection& connection,
                              std::chrono::milliseconds bound = std::chrono::milliseconds(250),
                              QObject* parent = nullptr);
    ~X11DragSelection() override;

    std::int64_t serial() const override { return m_serial; }
    bool hasContent(std::initializer_list<DragContent> kinds) const override;
    bool hasSourceAnswered() const override { return m_hasOwnerAnswered; }
    bool takeOverDrop(QWindow* window, DropHandler onDrop) override;

    // Whether the types of the current owner are still being learnt.
    bool isLearning() const { return m_pending.owner != 0; }
    // Whether the current drag is a native Wayland one (the compositor's X client owns the
    // selection), and whether that owner answered TARGETS.
    bool isCompositorDrag() const { return m_isCompositorOwner; }
    bool hasCompositorAnsweredTargets() const { return m_hasCompositorAnsweredTargets; }
    // The current owner and the selection time of its ownership; 0 before any.
    std::uint32_t owner() const { return m_owner; }
    std::uint32_t ownerTime() const { return m_ownerTime; }

signals:
    // The change count took a new value (after the types of a new owner became known).
    void serialChanged();

private:
    struct Pending {
        std::uint32_t owner = 0;
        std::uint32_t time = 0;        // the selection time of the ownership
        std::uint32_t askedTarget = 0; // the conversion awaiting an answer (0: none)
        std::uint32_t askedTime = 0;   // the time that conversion carries
        int round = 0;                 // rounds of probes refused so far
        std::size_t nextProbe = 0;     // index into probeTypes() once TARGETS was refused
        bool isCompositor = false;     // the compositor's X client (a native Wayland drag)
        bool isLate = false; // past the bound: asked again at each motion until the button is up
        std::vector<std::uint32_t> earlierTypeList; // XdndTypeList as it was when first seen
    };

    void handleEvent(const void* event);
    void ownerChanged(std::uint32_t owner, std::uint32_t selectionTime);
    void selectionConverted(std::uint32_t requestor, std::uint32_t target, std::uint32_t property,
                            std::uint32_t time);
    void propertyChanged(std::uint32_t window, std::uint32_t atom, std::uint32_t time);
    void askNextProbe();
    void convert(std::uint32_t target, std::uint32_t time);
    std::vector<std::uint32_t> readAtomList(std::uint32_t window, std::uint32_t property,
                                            bool isDeleting);
    void finish(std::vector<std::string> types);
    void stopWatchingOwner();

    X11Connection& m_connection;
    X11DropReader m_drops;
    int m_listener = 0;
    std::int64_t m_serial = 0;
    std::vector<std::string> m_types;
    Pending m_pending;
    QTimer m_bound;
    QTimer m_retry;
    std::uint32_t m_selection = 0;
    std::uint32_t m_typeList = 0;
    std::uint32_t m_targets = 0;
    std::uint32_t m_property = 0;
    std::uint32_t m_lastInputTime = 0; // of the latest raw motion or press (while watched)
    std::uint32_t m_ownerTime = 0;     // the selection time of the current owner
    std::uint32_t m_owner = 0;
    bool m_hasOwnerAnswered = true;
    bool m_isCompositorOwner = false;
    bool m_hasCompositorAnsweredTargets = false;
};

} // namespace backend::x11
