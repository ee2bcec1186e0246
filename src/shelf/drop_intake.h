#pragma once

#include "shelf/bucket_item.h"
#include "shelf/item_provider.h"

#include <QStringList>

#include <functional>

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace shelf {

// Turns the item providers of one drop into one shelf entry: each provider is classified
// by a fixed order of type tests, one representation of it is loaded, and once every load
// has finished the payloads collected become one BucketItem.
class DropIntake final {
public:
    using AddItem = std::function<void(const BucketItem&)>;

    // `addItem` gets each drop's entry on the GUI thread. The queue, the log and whatever
    // `addItem` uses must outlive the loads of every drop; this object need not: a drop
    // whose loads are still running commits even after its intake is gone.
    DropIntake(core::MainQueue& mainQueue, core::DiagnosticLog& log, AddItem addItem);

    // Logs every provider's identifiers, then classifies each and starts its load; returns
    // true at once, whatever becomes of the items. Any thread; a drop's lines keep their order.
    bool handleDrop(const shelf::ItemProviderList& providers) const;

    // Identifiers tested, in this order, before any other classification.
    static const QStringList& preferredTypeIdentifiers();

private:
    core::MainQueue* m_mainQueue;
    core::DiagnosticLog* m_log;
    AddItem m_addItem;
};

} // namespace shelf
