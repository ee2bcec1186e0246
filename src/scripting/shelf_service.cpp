#include "scripting/shelf_service.h"

#include "core/hand_over.h"
#include "panel/drag_monitor.h"
#include "scripting/file_uris.h"
#include "shelf/drop_intake.h"
#include "shelf/mime_item_provider_factory.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QMimeData>
#include <QThreadPool>

#include <algorithm>

namespace scripting {

// org.holdfin.Shelf1: the bus side of ShelfService.
class ShelfAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.holdfin.Shelf1")
public:
    ShelfAdaptor(QObject& busObject, ShelfService& service)
        : QDBusAbstractAdaptor(&busObject), m_service(service) {}

public slots:
    // The answers of Add and AddText come later, once the entry is on the shelf.
    QStringList Add(const QStringList& uris, bool split, const QDBusMessage& message) {
        m_service.add(uris, split, message);
        return {};
    }
    QStringList AddText(const QString& text, const QDBusMessage& message) {
        m_service.addText(text, message);
        return {};
    }
    QList<QVariantMap> List() const { return m_service.list(); }
    void Remove(const QString& id, const QDBusMessage& message) { m_service.remove(id, message); }
    void Clear() { m_service.clear(); }
    void Show() { m_service.show(); }
    void Hide() { m_service.hide(); }

signals:
    void EntriesAdded(const QStringList& ids);
    void EntriesRemoved(const QStringList& ids);
    void EntriesChanged(const QStringList& ids);

private:
    ShelfService& m_service;
};

namespace {

QStringList idsOf(const QList<shelf::BucketItem>& items, qsizetype first, qsizetype last) {
    QStringList ids;
    for (qsizetype row = first; row <= last && row < items.size(); ++row)
        ids << items.at(row).id.toString(QUuid::WithoutBraces);
    return ids;
}

bool isCall(const QDBusMessage& message) {
    return message.type() == QDBusMessage::MethodCallMessage;
}

// Answers a call whose answer was put off. Any thread.
void sendError(const QDBusConnection& bus, const QDBusMessage& call, const QString& name,
               const QString& text) {
    if (isCall(call))
        bus.send(call.createErrorReply(name, text));
}

} // namespace

ShelfService::ShelfService(QObject& busObject, QDBusConnection bus, panel::DragMonitor& dragMonitor,
                           shelf::MimeItemProviderFactory& providers, core::MainQueue& mainQueue,
                           core::DiagnosticLog& log, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_dragMonitor(dragMonitor), m_providers(providers),
      m_mainQueue(mainQueue), m_log(log), m_adaptor(new ShelfAdaptor(busObject, *this)) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
    const panel::ShelfModel& model = dragMonitor.shelfModel();
    connect(&model, &panel::ShelfModel::rowsInserted, m_adaptor,
            [this](const QModelIndex&, int first, int last) {
                emit m_adaptor->EntriesAdded(idsOf(m_dragMonitor.draggedItems(), first, last));
            });
    connect(&model, &panel::ShelfModel::rowsAboutToBeRemoved, m_adaptor,
            [this](const QModelIndex&, int first, int last) {
                emit m_adaptor->EntriesRemoved(idsOf(m_dragMonitor.draggedItems(), first, last));
            });
    connect(&model, &panel::ShelfModel::dataChanged, m_adaptor,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                emit m_adaptor->EntriesChanged(
                    idsOf(m_dragMonitor.draggedItems(), topLeft.row(), bottomRight.row()));
            });
}

ShelfService::~ShelfService() {
    delete m_adaptor;
}

void ShelfService::add(const QStringList& uris, bool isSplit, const QDBusMessage& call) {
    if (isCall(call))
        call.setDelayedReply(true);
    // Reading thousands of URIs would hold the GUI thread for a frame: a pool thread reads them,
    // as the list of a drop that brings them, so that the same URIs make the same entry.
    core::startOnPool(*QThreadPool::globalInstance(), [uris, call, bus = m_bus,
                                                       intake = intakeFor(isSplit, call),
                                                       &providers = m_providers] {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uris.join(QStringLiteral("\r\n")).toUtf8());
        shelf::DropContents contents = shelf::MimeItemProviderFactory::read(data);
        if (contents.uris.isEmpty())
            return sendError(bus, call, nothingToAddError(),
                             QStringLiteral("No file or link to add"));
        take(providers, intake, std::move(contents), bus, call);
    });
}

void ShelfService::addText(const QString& text, const QDBusMessage& call) {
    if (isCall(call))
        call.setDelayedReply(true);
    shelf::DropContents contents;
    contents.text = text.toUtf8();
    if (contents.text.isEmpty())
        return sendError(m_bus, call, nothingToAddError(), QStringLiteral("No text to add"));
    if (contents.text.size() > kLargestText)
        return sendError(m_bus, call, nothingToAddError(),
                         QStringLiteral("The text is larger than a drop may be"));
    take(m_providers, intakeFor(false, call), std::move(contents), m_bus, call);
}

shelf::DropIntake ShelfService::intakeFor(bool isSplit, const QDBusMessage& call) {
    QPointer<panel::DragMonitor> monitor(&m_dragMonitor);
    return shelf::DropIntake(
        m_mainQueue, m_log, [monitor, isSplit, call, bus = m_bus](const shelf::BucketItem& item) {
            if (!monitor)
                return;
            monitor->addItem(item);
            if (isSplit)
                monitor->splitItem(item);
            monitor->showShelf();
            if (isCall(call)) {
                const qsizetype count = isSplit ? item.items.size() : 1;
                bus.send(call.createReply(idsOf(monitor->draggedItems(), 0, count - 1)));
            }
        });
}

void ShelfService::take(shelf::MimeItemProviderFactory& providers, const shelf::DropIntake& intake,
                        shelf::DropContents contents, const QDBusConnection& bus,
                        const QDBusMessage& call) {
    // Whether the files are there is asked where the entry's other file work happens, off the
    // GUI thread.
    auto checkAndTake = [intake, uris = contents.uris, call,
                         bus](const shelf::ItemProviderList& itemProviders) {
        for (const shelf::DropContents::Uri& uri : uris) {
            const std::optional<QByteArray> path =
                uri.isFile ? localPathOf(uri.encoded) : std::nullopt;
            if (uri.isFile && (!path || !exists(*path)))
                return sendError(bus, call, noSuchFileError(),
                                 QStringLiteral("No such file: ") +
                                     QString::fromLatin1(uri.encoded));
        }
        intake.handleDrop(itemProviders);
    };
    providers.makeProviders(std::move(contents), std::move(checkAndTake));
}

QList<EntryRow> ShelfService::list() const {
    QList<EntryRow> rows;
    rows.reserve(m_dragMonitor.draggedItems().size());
    for (const shelf::BucketItem& item : m_dragMonitor.draggedItems())
        rows << entryRow(item);
    return rows;
}

void ShelfService::remove(const QString& id, const QDBusMessage& call) {
    const QUuid uuid(id);
    const QList<shelf::BucketItem>& items = m_dragMonitor.draggedItems();
    const auto found =
        std::find_if(items.cbegin(), items.cend(),
                     [&uuid](const shelf::BucketItem& item) { return item.id == uuid; });
    if (!uuid.isNull() && found != items.cend()) {
        // A copy: the removal changes the list it is in. Undoable, as the tile's remove button is.
        m_dragMonitor.history().removeItem(shelf::BucketItem(*found));
        return;
    }
    if (isCall(call))
        call.setDelayedReply(true);
    sendError(m_bus, call, noSuchEntryError(), QStringLiteral("No entry ") + id);
}

void ShelfService::clear() {
    // Undoable, as the trash button is.
    m_dragMonitor.history().clearItems();
}

void ShelfService::show() {
    m_dragMonitor.showShelf();
}

void ShelfService::hide() {
    m_dragMonitor.hideShelf();
}

} // namespace scripting

#include "shelf_service.moc"
