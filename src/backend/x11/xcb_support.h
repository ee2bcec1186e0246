#pragma once

#include <cstdlib>
#include <memory>

struct xcb_connection_t;

namespace backend::x11 {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
// What xcb hands over for the caller to free: replies, errors, events.
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// Qt's own X connection; null on a platform other than xcb.
xcb_connection_t* qtConnection();

} // namespace backend::x11
