#include "system_version.h"

#include <utility>

namespace settings_access {

SystemVersion::SystemVersion(Query isAtLeast) : m_isAtLeast(std::move(isAtLeast)) {}

SystemVersion SystemVersion::current() {
    return SystemVersion([](const OperatingSystemVersion&) { return true; });
}

SystemVersion SystemVersion::fixed(OperatingSystemVersion version) {
    return SystemVersion(
        [version](const OperatingSystemVersion& other) { return version >= other; });
}

bool SystemVersion::isAtLeast(const OperatingSystemVersion& version) const {
    return m_isAtLeast && m_isAtLeast(version);
}

} // namespace settings_access
