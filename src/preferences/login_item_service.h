#pragma once

namespace preferences {

// Registration of Holdfin as an application started at login. GUI thread.
class LoginItemService {
public:
    virtual ~LoginItemService() = default;

    // Registers Holdfin to start at login; false when the registration could not be made.
    virtual bool registerLoginItem() = 0;
    // Removes the registration (none counts as removed); false when it could not be removed.
    virtual bool unregisterLoginItem() = 0;
    // Whether Holdfin will start at the next login, whoever made or removed the registration.
    virtual bool isRegistered() const = 0;
};

} // namespace preferences
