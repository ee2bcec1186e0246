#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace shelf {

// A failed load; only its description is ever shown (in a diagnostic line).
struct LoadError {
    QString message;
};

// A loaded object that is neither a URL nor bytes; `kind` names what it was.
struct OtherItem {
    QString kind;
};

// What loadItemForTypeIdentifier hands back: nothing, a URL, bytes, another object, or an error.
using LoadedItem = std::variant<std::monostate, QUrl, QByteArray, OtherItem, LoadError>;
// What loadDataRepresentationForTypeIdentifier hands back: nothing, bytes, or an error.
using LoadedData = std::variant<std::monostate, QByteArray, LoadError>;

// One dragged item of a drop, able to load itself in one or more representations. Built on
// the GUI thread from everything the drop carried; it never reads the drag source again.
class ItemProvider {
public:
    using ItemHandler = std::function<void(LoadedItem)>;
    using DataHandler = std::function<void(LoadedData)>;

    virtual ~ItemProvider() = default;

    // The identifiers of the provider's representations, most faithful first. Any thread.
    virtual QStringList registeredTypeIdentifiers() const = 0;
    // True when a representation conforms to `typeIdentifier`; always the same answer. Any thread.
    virtual bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const = 0;
    // Loads the representation for `typeIdentifier`; calls `handler` exactly once, on any
    // thread, with the item (possibly nothing) or an error, also when there is no such
    // representation.
    virtual void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) = 0;
    // Loads the bytes of the representation for `typeIdentifier`; calls `handler` exactly once,
    // on any thread, with the bytes (possibly nothing) or an error.
    virtual void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                         DataHandler handler) = 0;
};

using ItemProviderList = std::vector<std::shared_ptr<ItemProvider>>;

} // namespace shelf
