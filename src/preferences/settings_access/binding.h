#pragma once

#include <functional>
#include <utility>

namespace settings_access {

// A two-way binding: reads and writes a value kept elsewhere.
template <typename T> class Binding final {
public:
    Binding(std::function<T()> get, std::function<void(T)> set)
        : m_get(std::move(get)), m_set(std::move(set)) {}

    // Always reads `value`; writes change nothing.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](T) {});
    }

    T get() const { return m_get(); }
    void set(T value) const { m_set(std::move(value)); }

private:
    std::function<T()> m_get;
    std::function<void(T)> m_set;
};

} // namespace settings_access
