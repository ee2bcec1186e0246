#pragma once

#include <QString>

#include <optional>

namespace settings_access {

// Why opening the settings window by action message failed. Equal and hashed by case.
enum class LegacyOpenSettingsError { unsupportedPlatform, selectorNotFound };

// Why a request of the shared open-settings action failed. Equal and hashed by case.
enum class OpenSettingsError { unsupportedPlatform, selectorNotFound, settingsLinkNotConnected };

// Any error an action may fail with, as the platform carries errors: a domain naming the error
// type and a code. This module's errors bridge to it with the case's position as the code.
struct ActionError {
    QString domain;
    int code = 0;
    friend bool operator==(const ActionError&, const ActionError&) = default;
};

ActionError toActionError(LegacyOpenSettingsError error);
ActionError toActionError(OpenSettingsError error);
// The module error an `ActionError` bridges back to; nothing when it is of another domain or an
// unknown code.
std::optional<LegacyOpenSettingsError> legacyOpenSettingsError(const ActionError& error);
std::optional<OpenSettingsError> openSettingsError(const ActionError& error);

// The legacy error of a case becomes the open-settings error of the same name.
OpenSettingsError toOpenSettingsError(LegacyOpenSettingsError error);

} // namespace settings_access
