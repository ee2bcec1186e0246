#pragma once

#include <QKeyCombination>
#include <QObject>

namespace backend {

// Key combinations taken for Holdfin system wide, whichever window has the keyboard focus; the
// focused program no longer sees them while they are taken. GUI thread only.
class GlobalShortcuts : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes `keys` (one key with its modifiers). False when the platform cannot, the key is not
    // on the keyboard, or another program holds the combination; nothing is then taken. Taking
    // a combination already taken counts once more.
    virtual bool grab(QKeyCombination keys) = 0;
    // Gives back one taking of `keys`; the combination is free again once every taking is
    // given back. Combinations not taken are ignored.
    virtual void release(QKeyCombination keys) = 0;

signals:
    // A taken combination was pressed (key repeat does not press it again).
    void activated(QKeyCombination keys);
};

} // namespace backend
