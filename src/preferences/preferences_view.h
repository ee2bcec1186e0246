#pragma once

#include "app_delegate_hooks.h"

#include <QString>
#include <QWidget>

class QTabWidget;

namespace desktop {
class Settings;
}

namespace preferences {

class GeneralPreferencesView;

// The settings window's content: a tab view with the single tab "General". GUI thread.
class PreferencesView final : public QWidget {
    Q_OBJECT
public:
    PreferencesView(desktop::Settings& settings, AppDelegateHooks delegate,
                    const QString& selectedTab = QStringLiteral("General"),
                    QWidget* parent = nullptr);

    QString selectedTab() const { return m_selectedTab; }
    // Selects the tab tagged `tab`; a change (never the first showing) retitles the window.
    void setSelectedTab(const QString& tab);

    GeneralPreferencesView* generalView() const { return m_general; }

private:
    void retitleWindow(const QString& tab);

    QString m_selectedTab;
    QTabWidget* m_tabs;
    GeneralPreferencesView* m_general;
};

} // namespace preferences
