#pragma once

#include "shelf/mime_item_provider_factory.h"

#include <functional>
#include <memory>

namespace backend {
class PendingDrop;
}

namespace views {

// Reads a taken-over drop into what it carries, exactly as MimeItemProviderFactory::read reads
// the toolkit's drop data, without ever waiting on the source: the factory's read runs over
// the formats fetched so far, and the first format it asked for and lacked is fetched next,
// until it lacks none. A source that stalls ends it early with what came before.
class DropDataReader final {
public:
    using Done = std::function<void(shelf::DropContents)>;

    // Calls `done` on the GUI thread once the contents are known (at once when nothing needs
    // fetching). Keeps `drop` until then.
    static void read(std::shared_ptr<backend::PendingDrop> drop, Done done);
};

} // namespace views
