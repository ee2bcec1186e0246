// Fuzzes the reader of the saved shelf with files of any shape: it must refuse or accept
// without crashing, and whatever it accepts must survive being written and read again.
//
// Input: the file's bytes.
#include "shelf/shelf_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

using shelf::BucketItem;
using shelf::ShelfFile;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto decoded = ShelfFile::decode(bytes);
    if (const auto* problem = std::get_if<QString>(&decoded)) {
        check(!problem->isEmpty());
        return 0;
    }
    const auto& items = std::get<QList<BucketItem>>(decoded);
    const auto again = ShelfFile::decode(ShelfFile::encode(items));
    check(std::holds_alternative<QList<BucketItem>>(again));
    check(std::get<QList<BucketItem>>(again) == items);
    return 0;
}
