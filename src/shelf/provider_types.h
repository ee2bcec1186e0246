#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace shelf {

// The registered identifiers of a provider together with everything they conform to, so a
// conformance question is one hash lookup. Immutable; many providers share one instance.
class ProviderTypes final {
public:
    explicit ProviderTypes(QStringList identifiers);

    const QStringList& identifiers() const { return m_identifiers; }
    // True when one of the identifiers conforms to `typeIdentifier`.
    bool conformsTo(const QString& typeIdentifier) const {
        return m_conformsTo.contains(typeIdentifier);
    }

private:
    QStringList m_identifiers;
    QSet<QString> m_conformsTo;
};

using SharedProviderTypes = std::shared_ptr<const ProviderTypes>;

} // namespace shelf
