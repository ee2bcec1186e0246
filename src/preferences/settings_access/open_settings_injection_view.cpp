#include "open_settings_injection_view.h"

#include "pre_post_actions_button_style.h"

#include <QGraphicsOpacityEffect>
#include <QPushButton>
#include <QVBoxLayout>

namespace settings_access {

OpenSettingsInjectionView::OpenSettingsInjectionView(const SettingsAccessEnvironment& environment,
                                                     QWidget* content, QWidget* parent)
    : QWidget(parent), m_platform(environment.platform()),
      m_openSettingsLegacy(environment.openSettings()), m_content(content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (m_content)
        layout->addWidget(m_content);

    if (m_platform.systemVersion.hasSettingsLink()) {
        // Outside the layout: it must take no room and catch no click.
        m_hiddenLink = new QPushButton(this);
        m_hiddenLink->setFlat(true);
        m_hiddenLink->setFixedSize(0, 0);
        m_hiddenLink->setFocusPolicy(Qt::NoFocus);
        m_hiddenLink->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* opacity = new QGraphicsOpacityEffect(m_hiddenLink);
        opacity->setOpacity(0.0);
        m_hiddenLink->setGraphicsEffect(opacity);
    }
}

void OpenSettingsInjectionView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_hiddenLink)
        buildHiddenLink();
}

void OpenSettingsInjectionView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_hiddenLink)
        m_hiddenLink->move(rect().center());
}

void OpenSettingsInjectionView::buildHiddenLink() {
    const SettingsLink link(QString(), m_platform.openSettingsWindow);
    const PrePostActionsButtonStyle style(m_platform.systemVersion, {}, {},
                                          m_openSettingsLegacy->closureBinding());
    const ButtonBody body = style.makeBody(link.configuration());
    m_hiddenLink->disconnect(this);
    connect(m_hiddenLink, &QPushButton::clicked, this, [action = body.action] { action(); });
}

} // namespace settings_access
