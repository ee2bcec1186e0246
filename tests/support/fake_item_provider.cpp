#include "fake_item_provider.h"

namespace testing_support {

FakeItemProvider::FakeItemProvider(QStringList identifiers, bool isDeferred,
                                   Conformance conformance)
    : m_types(std::move(identifiers)), m_isDeferred(isDeferred), m_conformance(conformance) {}

void FakeItemProvider::setItem(shelf::LoadedItem item) {
    std::lock_guard lock(m_mutex);
    m_item = std::move(item);
}

void FakeItemProvider::setData(shelf::LoadedData data) {
    std::lock_guard lock(m_mutex);
    m_data = std::move(data);
}

void FakeItemProvider::setOnLoad(std::function<void()> onLoad) {
    std::lock_guard lock(m_mutex);
    m_onLoad = std::move(onLoad);
}

std::vector<FakeItemProvider::Load> FakeItemProvider::loads() const {
    std::lock_guard lock(m_mutex);
    return m_loads;
}

int FakeItemProvider::complete() {
    std::vector<std::function<void()>> held;
    {
        std::lock_guard lock(m_mutex);
        held.swap(m_held);
    }
    for (auto& answer : held)
        answer();
    return static_cast<int>(held.size());
}

std::function<void()> FakeItemProvider::startLoad(bool isDataLoad, const QString& typeIdentifier,
                                                  std::function<void()> answer) {
    std::function<void()> onLoad;
    {
        std::lock_guard lock(m_mutex);
        m_loads.push_back({isDataLoad, typeIdentifier});
        onLoad = m_onLoad;
    }
    if (onLoad)
        onLoad();
    if (!m_isDeferred)
        return answer;
    std::lock_guard lock(m_mutex);
    m_held.push_back(std::move(answer));
    return {};
}

void FakeItemProvider::loadItemForTypeIdentifier(const QString& typeIdentifier,
                                                 ItemHandler handler) {
    auto answer = startLoad(false, typeIdentifier, [this, handler = std::move(handler)] {
        shelf::LoadedItem item;
        {
            std::lock_guard lock(m_mutex);
            item = m_item;
        }
        handler(std::move(item));
    });
    if (answer)
        answer();
}

void FakeItemProvider::loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                               DataHandler handler) {
    auto answer = startLoad(true, typeIdentifier, [this, handler = std::move(handler)] {
        shelf::LoadedData data;
        {
            std::lock_guard lock(m_mutex);
            data = m_data;
        }
        handler(std::move(data));
    });
    if (answer)
        answer();
}

} // namespace testing_support
