#pragma once

#include <compare>
#include <functional>

namespace settings_access {

struct OperatingSystemVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
    friend auto operator<=>(const OperatingSystemVersion&, const OperatingSystemVersion&) = default;
};

// The operating-system version test that chooses between the two ways of opening the settings
// window. A value; any thread.
class SystemVersion final {
public:
    // Answers whether the running system is at least the given version.
    using Query = std::function<bool(const OperatingSystemVersion&)>;

    explicit SystemVersion(Query isAtLeast);
    // This platform: the newer path everywhere (a settings link exists, buttons take roles).
    static SystemVersion current();
    // A system that reports exactly `version`; for choosing a path on purpose.
    static SystemVersion fixed(OperatingSystemVersion version);

    bool isAtLeast(const OperatingSystemVersion& version) const;
    // 14.0.0 and later: the settings window opens through a settings link.
    bool hasSettingsLink() const { return isAtLeast({14, 0, 0}); }
    // 12.0.0 and later: buttons built by a style take the configuration's role.
    bool hasButtonRoles() const { return isAtLeast({12, 0, 0}); }

private:
    Query m_isAtLeast;
};

} // namespace settings_access
