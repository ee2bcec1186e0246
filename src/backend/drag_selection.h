#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class QWindow;

namespace backend {

class PendingDrop;

// What a drag can carry that the shelf knows how to take.
enum class DragContent { Image, Color, Text, Url };

// The drag selection (XDND's XdndSelection on X11): the data of the drag currently (or last) under
// way. Called on the GUI thread only; never blocks on a drag source.
class DragSelection {
public:
    virtual ~DragSelection() = default;

    // Takes a new value whenever a new drag has written the drag selection (Holdfin's own drags
    // included). Any difference means a new drag; the value itself carries no meaning.
    virtual std::int64_t serial() const = 0;
    // Whether the current contents can be read as at least one of `kinds`. False when the
    // contents are unknown (the source did not tell in time) or there is no drag.
    virtual bool hasContent(std::initializer_list<DragContent> kinds) const = 0;
    // Whether the source of the current drag has answered a request for its data (a refusal
    // counts) since its drag began; true when unknown. Reading the data of a source that never
    // answers would wait on it.
    virtual bool hasSourceAnswered() const = 0;

    // Takes the drop of the drag now over `window` (one of Holdfin's top-level windows) over
    // from the toolkit, whose reads of another application's drop wait on the source. Call
    // from the drag-enter handler of a target that accepts the drag. If the drag is dropped
    // onto `window`, the toolkit's drop event does not come: `onDrop` runs on the GUI thread,
    // never from inside this call, with the drop to read and finish; the target gets the
    // toolkit's drag-leave once it is finished. A new drag or the drag leaving `window` ends
    // the take-over; so does an empty `onDrop`. False when the drop is not taken over
    // (Holdfin's own drags, no such support): the toolkit's drop event comes as usual.
    using DropHandler = std::function<void(std::shared_ptr<PendingDrop>)>;
    virtual bool takeOverDrop(QWindow* window, DropHandler onDrop) = 0;
};

} // namespace backend
