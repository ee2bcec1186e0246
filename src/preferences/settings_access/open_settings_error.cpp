#include "open_settings_error.h"

namespace settings_access {

namespace {
const QString kLegacyDomain = QStringLiteral("SettingsAccess.LegacyOpenSettingsError");
const QString kOpenDomain = QStringLiteral("SettingsAccess.OpenSettingsError");
} // namespace

ActionError toActionError(LegacyOpenSettingsError error) {
    return {kLegacyDomain, static_cast<int>(error)};
}

ActionError toActionError(OpenSettingsError error) {
    return {kOpenDomain, static_cast<int>(error)};
}

std::optional<LegacyOpenSettingsError> legacyOpenSettingsError(const ActionError& error) {
    if (error.domain != kLegacyDomain || error.code < 0 ||
        error.code > static_cast<int>(LegacyOpenSettingsError::selectorNotFound))
        return std::nullopt;
    return static_cast<LegacyOpenSettingsError>(error.code);
}

std::optional<OpenSettingsError> openSettingsError(const ActionError& error) {
    if (error.domain != kOpenDomain || error.code < 0 ||
        error.code > static_cast<int>(OpenSettingsError::settingsLinkNotConnected))
        return std::nullopt;
    return static_cast<OpenSettingsError>(error.code);
}

OpenSettingsError toOpenSettingsError(LegacyOpenSettingsError error) {
    switch (error) {
    case LegacyOpenSettingsError::unsupportedPlatform:
        return OpenSettingsError::unsupportedPlatform;
    case LegacyOpenSettingsError::selectorNotFound:
        return OpenSettingsError::selectorNotFound;
    }
    return OpenSettingsError::selectorNotFound;
}

} // namespace settings_access
