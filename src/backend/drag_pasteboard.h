#pragma once

#include <cstdint>
#include <initializer_list>

namespace backend {

// What a drag can carry that the shelf knows how to take.
enum class PasteboardClass { Image, Color, String, Url };

// The system's drag pasteboard: the data of the drag currently (or last) under way.
// Called on the GUI thread only; never blocks on a drag source.
class DragPasteboard {
public:
    virtual ~DragPasteboard() = default;

    // Takes a new value whenever a new drag has written the pasteboard (Holdfin's own drags
    // included). Any difference means a new drag; the value itself carries no meaning.
    virtual std::int64_t changeCount() const = 0;
    // Whether the current contents can be read as at least one of `classes`. False when the
    // contents are unknown (the source did not tell in time) or there is no drag.
    virtual bool canReadObjectForClasses(std::initializer_list<PasteboardClass> classes) const = 0;
    // Whether the source of the current drag has answered a request for its data (a refusal
    // counts) since its drag began; true when unknown. Reading the data of a source that never
    // answers would wait on it.
    virtual bool hasSourceAnswered() const = 0;
};

} // namespace backend
