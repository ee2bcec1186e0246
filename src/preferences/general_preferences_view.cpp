#include "general_preferences_view.h"

#include "desktop/settings.h"
#include "desktop/settings_keys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace preferences {

namespace keys = desktop::settings_keys;

namespace {
constexpr int kWidth = 420;
constexpr int kSidePadding = 20;
} // namespace

GeneralPreferencesView::GeneralPreferencesView(desktop::Settings& settings,
                                               AppDelegateHooks delegate, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_delegate(std::move(delegate)),
      m_launchAtLoginToggle(new QCheckBox(tr("Launch Application at login"), this)),
      m_showMenuBarIconToggle(new QCheckBox(tr("Show menu bar icon"), this)),
      m_appearancePicker(new QComboBox(this)),
      m_keepShelfToggle(new QCheckBox(tr("Keep the shelf between sessions"), this)),
      m_showShelfShortcutEdit(new QKeySequenceEdit(this)) {
    m_showShelfShortcutEdit->setObjectName(QStringLiteral("showShelfShortcut"));
    m_showShelfShortcutEdit->setClearButtonEnabled(true);
    m_showShelfShortcutEdit->setToolTip(tr("Shows or hides the shelf from any program"));
    m_keepShelfToggle->setObjectName(QStringLiteral("keepShelf"));
    m_launchAtLoginToggle->setObjectName(QStringLiteral("launchAtLogin"));
    m_showMenuBarIconToggle->setObjectName(QStringLiteral("showMenuBarIcon"));
    m_appearancePicker->setObjectName(QStringLiteral("selectedAppearance"));
    // Shown in the user's language; stored by its English key.
    static const char* const appearanceNames[] = {QT_TR_NOOP("Light"), QT_TR_NOOP("Dark"),
                                                  QT_TR_NOOP("System")};
    for (const char* appearance : appearanceNames)
        m_appearancePicker->addItem(tr(appearance), QString::fromLatin1(appearance));
    // Screen readers name a field by its label (a combo box on Linux by its value, with the
    // label as its relation).
    m_showShelfShortcutEdit->setAccessibleName(tr("Show the shelf with"));

    auto* appearanceLabel = new QLabel(tr("Appearance:"), this);
    appearanceLabel->setBuddy(m_appearancePicker);
    auto* appearanceRow = new QHBoxLayout;
    appearanceRow->addWidget(appearanceLabel);
    appearanceRow->addWidget(m_appearancePicker);
    appearanceRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSidePadding, 0, kSidePadding, 0);
    layout->addWidget(m_launchAtLoginToggle);
    layout->addWidget(m_showMenuBarIconToggle);
    layout->addLayout(appearanceRow);
    layout->addWidget(m_keepShelfToggle);
    auto* shortcutLabel = new QLabel(tr("Show the shelf with:"), this);
    shortcutLabel->setBuddy(m_showShelfShortcutEdit);
    auto* shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(shortcutLabel);
    shortcutRow->addWidget(m_showShelfShortcutEdit);
    shortcutRow->addStretch();
    layout->addLayout(shortcutRow);
    setFixedWidth(kWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    for (const QString& key : {QString(keys::launchAtLogin), QString(keys::showMenuBarIcon),
                               QString(keys::selectedAppearance), QString(keys::keepShelf),
                               QString(keys::showShelfShortcut)})
        showStoredValue(key);

    connect(m_launchAtLoginToggle, &QCheckBox::toggled, this,
            &GeneralPreferencesView::setLaunchAtLogin);
    connect(m_showMenuBarIconToggle, &QCheckBox::toggled, this,
            &GeneralPreferencesView::setShowMenuBarIcon);
    connect(m_keepShelfToggle, &QCheckBox::toggled, this, &GeneralPreferencesView::setKeepShelf);
    // One combination is a shortcut: it is taken as soon as it is typed.
    connect(m_showShelfShortcutEdit, &QKeySequenceEdit::keySequenceChanged, this,
            [this](const QKeySequence& typed) {
                if (!typed.isEmpty())
                    m_showShelfShortcutEdit->clearFocus();
            });
    connect(m_showShelfShortcutEdit, &QKeySequenceEdit::editingFinished, this,
            [this] { setShowShelfShortcut(m_showShelfShortcutEdit->keySequence()); });
    connect(m_showShelfShortcutEdit, &QKeySequenceEdit::keySequenceChanged, this,
            [this](const QKeySequence& typed) {
                if (typed.isEmpty())
                    setShowShelfShortcut({});
            });
    connect(m_appearancePicker, &QComboBox::activated, this, [this](int index) {
        setSelectedAppearance(m_appearancePicker->itemData(index).toString());
    });
    connect(&m_settings, &desktop::Settings::valueChanged, this,
            &GeneralPreferencesView::showStoredValue);
}

bool GeneralPreferencesView::launchAtLogin() const {
    return m_settings.boolValue(keys::launchAtLogin, keys::launchAtLoginFallback);
}

bool GeneralPreferencesView::showMenuBarIcon() const {
    return m_settings.boolValue(keys::showMenuBarIcon, keys::showMenuBarIconFallback);
}

QString GeneralPreferencesView::selectedAppearance() const {
    return m_settings.stringValue(keys::selectedAppearance)
        .value_or(QString(keys::appearanceSystem));
}

bool GeneralPreferencesView::keepShelf() const {
    return m_settings.boolValue(keys::keepShelf, keys::keepShelfFallback);
}

QKeySequence GeneralPreferencesView::showShelfShortcut() const {
    return QKeySequence::fromString(
        m_settings.stringValue(keys::showShelfShortcut).value_or(QString()),
        QKeySequence::PortableText);
}

void GeneralPreferencesView::showEvent(QShowEvent* event) {
    // The autostart entry may have been removed or hidden behind Holdfin's back.
    if (m_delegate.isLaunchingAtLogin) {
        const bool isLaunching = m_delegate.isLaunchingAtLogin();
        if (isLaunching != launchAtLogin())
            m_settings.setValue(keys::launchAtLogin, isLaunching);
    }
    QWidget::showEvent(event);
}

bool GeneralPreferencesView::isDelegateRegistered() const {
    return m_delegate.isDelegateRegistered && m_delegate.isDelegateRegistered();
}

void GeneralPreferencesView::setLaunchAtLogin(bool isEnabled) {
    m_settings.setValue(keys::launchAtLogin, isEnabled);
    if (isDelegateRegistered() && m_delegate.updateLaunchAtLogin)
        m_delegate.updateLaunchAtLogin(isEnabled);
}

void GeneralPreferencesView::setShowMenuBarIcon(bool isShown) {
    m_settings.setValue(keys::showMenuBarIcon, isShown);
}

void GeneralPreferencesView::setSelectedAppearance(const QString& appearance) {
    m_settings.setValue(keys::selectedAppearance, appearance);
    if (isDelegateRegistered() && m_delegate.applyAppearance)
        m_delegate.applyAppearance();
}

void GeneralPreferencesView::setKeepShelf(bool isKept) {
    m_settings.setValue(keys::keepShelf, isKept);
}

void GeneralPreferencesView::setShowShelfShortcut(const QKeySequence& shortcut) {
    const QString stored = shortcut.isEmpty()
                               ? QString()
                               : QKeySequence(shortcut[0]).toString(QKeySequence::PortableText);
    if (stored == m_settings.stringValue(keys::showShelfShortcut).value_or(QString()))
        return;
    if (stored.isEmpty())
        m_settings.remove(keys::showShelfShortcut);
    else
        m_settings.setValue(keys::showShelfShortcut, stored);
}

void GeneralPreferencesView::showStoredValue(const QString& key) {
    if (key == keys::launchAtLogin) {
        const QSignalBlocker blocker(m_launchAtLoginToggle);
        m_launchAtLoginToggle->setChecked(launchAtLogin());
    } else if (key == keys::showMenuBarIcon) {
        const QSignalBlocker blocker(m_showMenuBarIconToggle);
        m_showMenuBarIconToggle->setChecked(showMenuBarIcon());
    } else if (key == keys::selectedAppearance) {
        // A stored name that is none of the rows selects no row.
        m_appearancePicker->setCurrentIndex(m_appearancePicker->findData(selectedAppearance()));
    } else if (key == keys::showShelfShortcut) {
        const QSignalBlocker blocker(m_showShelfShortcutEdit);
        m_showShelfShortcutEdit->setKeySequence(showShelfShortcut());
    } else if (key == keys::keepShelf) {
        const QSignalBlocker blocker(m_keepShelfToggle);
        m_keepShelfToggle->setChecked(keepShelf());
    }
}

} // namespace preferences
