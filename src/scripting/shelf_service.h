#pragma once

#include "scripting/entry_rows.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QDBusMessage;

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace panel {
class DragMonitor;
}

namespace shelf {
class DropIntake;
class MimeItemProviderFactory;
struct DropContents;
} // namespace shelf

namespace scripting {

class ShelfAdaptor;

// The running Holdfin's shelf on the session bus, as org.holdfin.Shelf1 (introspection in
// resources/dbus/org.holdfin.Shelf1.xml) on the object SingleInstance exports. Everything it
// does runs on the GUI thread without waiting for anyone: an added entry is answered once its
// payloads have loaded, as a drop of the same things would be. GUI thread.
class ShelfService final : public QObject {
    Q_OBJECT
public:
    // The errors a refused call gets.
    static QString noSuchEntryError() {
        return QStringLiteral("org.holdfin.Shelf1.Error.NoSuchEntry");
    }
    static QString noSuchFileError() {
        return QStringLiteral("org.holdfin.Shelf1.Error.NoSuchFile");
    }
    static QString nothingToAddError() {
        return QStringLiteral("org.holdfin.Shelf1.Error.NothingToAdd");
    }
    // As much text as a drop may carry.
    static constexpr qsizetype kLargestText = qsizetype(256) << 20;

    // Adds the interface to `busObject` (not yet necessarily on `bus`), which must outlive this
    // service. Everything else must outlive the loads of every entry added.
    ShelfService(QObject& busObject, QDBusConnection bus, panel::DragMonitor& dragMonitor,
                 shelf::MimeItemProviderFactory& providers, core::MainQueue& mainQueue,
                 core::DiagnosticLog& log, QObject* parent = nullptr);
    ~ShelfService() override;

    // Parks `uris` (files, folders, links) as one entry, or one per URI with `isSplit`, shows
    // the shelf and answers `call` with the new entries' ids; with an error, and nothing parked,
    // when a file is not there or nothing is left to park. Without a call, answers nobody.
    void add(const QStringList& uris, bool isSplit, const QDBusMessage& call);
    void addText(const QString& text, const QDBusMessage& call);
    QList<EntryRow> list() const;
    void remove(const QString& id, const QDBusMessage& call);
    void clear();
    void show();
    void hide();

private:
    // What makes an added entry's payloads one entry on the shelf and answers `call`.
    shelf::DropIntake intakeFor(bool isSplit, const QDBusMessage& call);
    // Parks `contents` unless a file among them is not there. Any thread.
    static void take(shelf::MimeItemProviderFactory& providers, const shelf::DropIntake& intake,
                     shelf::DropContents contents, const QDBusConnection& bus,
                     const QDBusMessage& call);

    QDBusConnection m_bus;
    panel::DragMonitor& m_dragMonitor;
    shelf::MimeItemProviderFactory& m_providers;
    core::MainQueue& m_mainQueue;
    core::DiagnosticLog& m_log;
    QPointer<ShelfAdaptor> m_adaptor;
};

} // namespace scripting
