#include "shelf/provider_types.h"

#include "shelf/ut_type.h"

namespace shelf {

ProviderTypes::ProviderTypes(QStringList identifiers) : m_identifiers(std::move(identifiers)) {
    QStringList pending = m_identifiers;
    while (!pending.isEmpty()) {
        const QString next = pending.takeLast();
        if (m_conformsTo.contains(next))
            continue;
        m_conformsTo.insert(next);
        pending << UTType(next).directSupertypes();
    }
}

} // namespace shelf
