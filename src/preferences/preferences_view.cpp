#include "preferences_view.h"

#include "general_preferences_view.h"

#include <QIcon>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace preferences {

namespace {
const QString kGeneralTab = QStringLiteral("General");
constexpr int kMaximumWidth = 420;
constexpr int kMinimumHeight = 100;
} // namespace

PreferencesView::PreferencesView(desktop::Settings& settings, AppDelegateHooks delegate,
                                 const QString& selectedTab, QWidget* parent)
    : QWidget(parent), m_selectedTab(selectedTab), m_tabs(new QTabWidget(this)),
      m_general(new GeneralPreferencesView(settings, std::move(delegate))) {
    const int general = m_tabs->addTab(
        m_general, QIcon::fromTheme(QStringLiteral("preferences-system")), tr("General"));
    m_tabs->tabBar()->setTabData(general, kGeneralTab);
    // The pane's frame must not squeeze the fixed-width page below its width.
    m_tabs->setMaximumWidth(std::max(kMaximumWidth, m_tabs->minimumSizeHint().width()));
    m_tabs->setMinimumHeight(kMinimumHeight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 0, Qt::AlignCenter);

    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { setSelectedTab(m_tabs->tabBar()->tabData(index).toString()); });
}

void PreferencesView::setSelectedTab(const QString& tab) {
    if (tab == m_selectedTab)
        return;
    m_selectedTab = tab;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabBar()->tabData(i).toString() == tab) {
            const QSignalBlocker blocker(m_tabs);
            m_tabs->setCurrentIndex(i);
        }
    }
    retitleWindow(tab);
}

void PreferencesView::retitleWindow(const QString& tab) {
    QWidget* settingsWindow = window();
    settingsWindow->setWindowTitle(tab);
    settingsWindow->setSizeIncrement(1, 1);
}

} // namespace preferences
