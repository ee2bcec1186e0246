#include "fake_application.h"

namespace testing_support {

void FakeApplication::setListedInTaskbar(bool listed) {
    m_isListed = listed;
    record(listed ? QStringLiteral("taskbar listed") : QStringLiteral("taskbar hidden"));
}

void FakeApplication::setAppearance(desktop::Appearance appearance) {
    m_appearance = appearance;
    switch (appearance) {
    case desktop::Appearance::Light:
        return record(QStringLiteral("appearance Light"));
    case desktop::Appearance::Dark:
        return record(QStringLiteral("appearance Dark"));
    case desktop::Appearance::System:
        return record(QStringLiteral("appearance System"));
    }
}

void FakeApplication::record(const QString& line) {
    m_calls << line;
    if (onCall)
        onCall(line);
}

} // namespace testing_support
