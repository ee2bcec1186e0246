#pragma once

#include "shelf/item_provider.h"
#include "shelf/provider_types.h"

#include <functional>
#include <mutex>
#include <vector>

namespace testing_support {

// An item provider whose identifiers and load outcomes a test sets. Conformance follows the
// built-in type table, or with `Conformance::Exact` only the identifiers themselves. Loads answer
// at once on the calling thread unless the provider is deferred; then complete() answers the held
// loads, from whatever thread the test chooses.
class FakeItemProvider final : public shelf::ItemProvider {
public:
    struct Load {
        bool isDataLoad;
        QString typeIdentifier;
    };

    enum class Conformance { TypeTable, Exact };

    explicit FakeItemProvider(QStringList identifiers, bool isDeferred = false,
                              Conformance conformance = Conformance::TypeTable);

    void setItem(shelf::LoadedItem item);
    void setData(shelf::LoadedData data);
    // Called as each load starts, before it is answered or held.
    void setOnLoad(std::function<void()> onLoad);

    // Answers every held load with the configured outcome; returns how many it answered.
    int complete();
    std::vector<Load> loads() const;

    QStringList registeredTypeIdentifiers() const override { return m_types.identifiers(); }
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override {
        return m_conformance == Conformance::Exact ? m_types.identifiers().contains(typeIdentifier)
                                                   : m_types.conformsTo(typeIdentifier);
    }
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    std::function<void()> startLoad(bool isDataLoad, const QString& typeIdentifier,
                                    std::function<void()> answer);

    const shelf::ProviderTypes m_types;
    const bool m_isDeferred;
    const Conformance m_conformance;
    mutable std::mutex m_mutex;
    shelf::LoadedItem m_item;
    shelf::LoadedData m_data;
    std::function<void()> m_onLoad;
    std::vector<Load> m_loads;
    std::vector<std::function<void()>> m_held;
};

} // namespace testing_support
