#include "drop_intake.h"

#include "core/diagnostic_log.h"
#include "core/main_queue.h"

#include <QStringDecoder>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace shelf {

using shelf::LoadedData;
using shelf::LoadedItem;
using shelf::LoadError;
using shelf::UTType;

namespace {

// The state one drop shares with its load handlers; it lives until its commit has run.
struct Drop {
    core::MainQueue* mainQueue;
    core::DiagnosticLog* log;
    DropIntake::AddItem addItem;

    std::mutex mutex; // serialises the stores of handlers on different threads
    // One slot per provider, so the entry keeps the order of the drop whatever order the
    // loads finish in.
    std::vector<std::optional<BucketItemData>> payloadSlots;
    // Loads not yet finished, plus one held by handleDrop until every load has been started.
    std::atomic<int> pendingLoads = 1;

    void store(std::size_t slot, BucketItemData payload) {
        std::lock_guard lock(mutex);
        payloadSlots[slot] = std::move(payload);
    }

    void startLoad() { pendingLoads.fetch_add(1, std::memory_order_relaxed); }

    // The last to finish hands the commit to the GUI thread; anything a load submitted to the
    // main queue before finishing runs first.
    static void finishLoad(const std::shared_ptr<Drop>& drop) {
        if (drop->pendingLoads.fetch_sub(1, std::memory_order_acq_rel) == 1)
            drop->mainQueue->async([drop] { drop->commit(); });
    }

    void commit() {
        QList<BucketItemData> payloads;
        {
            std::lock_guard lock(mutex);
            payloads.reserve(static_cast<qsizetype>(payloadSlots.size()));
            for (auto& slot : payloadSlots) {
                if (slot)
                    payloads.append(std::move(*slot));
            }
            payloadSlots.clear();
        }
        if (payloads.isEmpty()) {
            core::print(*log, "Received 0 items");
            return;
        }
        core::print(*log, "Dropping", payloads.size(), "items");
        if (addItem)
            addItem(BucketItem(std::move(payloads), false));
    }
};

using SharedDrop = std::shared_ptr<Drop>;

// A list literal of quoted strings: ["public.png", "public.file-url"].
QString listLiteral(const QStringList& identifiers) {
    QStringList quoted;
    quoted.reserve(identifiers.size());
    for (QString identifier : identifiers) {
        identifier.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        identifier.replace(QLatin1Char('"'), QLatin1String("\\\""));
        quoted << QLatin1Char('"') + identifier + QLatin1Char('"');
    }
    return QLatin1Char('[') + quoted.join(QLatin1String(", ")) + QLatin1Char(']');
}

// A URL's absolute string: fully percent-encoded, so every byte of a file name survives.
QString absoluteString(const QUrl& url) {
    return QString::fromLatin1(url.toEncoded());
}

// `absolute` is the URL's absolute string; without query or fragment it ends with the path.
bool hasDirectoryPath(const QUrl& url, const QString& absolute) {
    if (!url.hasQuery() && !url.hasFragment())
        return absolute.endsWith(QLatin1Char('/'));
    return url.path(QUrl::FullyEncoded).endsWith(QLatin1Char('/'));
}

UTType fileOrFolder(const QUrl& url, const QString& absolute) {
    return hasDirectoryPath(url, absolute) ? UTType::folder : UTType::fileURL;
}

// Strict UTF-8: any malformed sequence is a failure, never replacement characters.
std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void loadPreferredType(const SharedDrop& drop, std::size_t slot, shelf::ItemProvider& provider,
                       const QString& identifier) {
    provider.loadItemForTypeIdentifier(identifier, [drop, slot, identifier](LoadedItem item) {
        auto& log = *drop->log;
        const auto* bytes = std::get_if<QByteArray>(&item);
        const std::optional<QString> text = bytes ? decodeUtf8(*bytes) : std::nullopt;
        if (const auto* error = std::get_if<LoadError>(&item)) {
            core::print(log,
                        QStringLiteral("Error loading file of type ") + identifier +
                            QStringLiteral(":"),
                        error->message);
            Drop::finishLoad(drop);
        } else if (const auto* url = std::get_if<QUrl>(&item)) {
            const QString absolute = absoluteString(*url);
            drop->store(slot, {absolute, fileOrFolder(*url, absolute)});
            Drop::finishLoad(drop);
            core::print(log, QStringLiteral("Dropped File URL (") + identifier +
                                 QStringLiteral("): ") + absolute);
        } else if (text) {
            drop->store(slot, {*text, UTType::plainText});
            Drop::finishLoad(drop);
            core::print(log, QStringLiteral("Dropped File Content (") + identifier +
                                 QStringLiteral("): ") + core::userText(log, *text));
        } else {
            core::print(log, QStringLiteral("Failed to extract file content or URL for type ") +
                                 identifier);
            Drop::finishLoad(drop);
        }
    });
}

void loadFileUrl(const SharedDrop& drop, std::size_t slot, shelf::ItemProvider& provider) {
    provider.loadDataRepresentationForTypeIdentifier(
        UTType::fileURL.identifier(), [drop, slot](LoadedData data) {
            auto& log = *drop->log;
            std::optional<QUrl> url;
            if (const auto* bytes = std::get_if<QByteArray>(&data)) {
                if (auto text = decodeUtf8(*bytes); text && !text->isEmpty()) {
                    QUrl parsed(*text, QUrl::StrictMode);
                    if (parsed.isValid())
                        url = parsed;
                }
            }
            if (const auto* error = std::get_if<LoadError>(&data)) {
                core::print(log, "Error loading file URL:", error->message);
            } else if (url) {
                const QString absolute = absoluteString(*url);
                drop->store(slot, {absolute, fileOrFolder(*url, absolute)});
                core::print(log, QStringLiteral("Dropped File URL: ") + absolute);
            } else {
                core::print(log, "Failed to extract file URL");
            }
            Drop::finishLoad(drop);
        });
}

void loadSourceFile(const SharedDrop& drop, std::size_t slot, shelf::ItemProvider& provider) {
    provider.loadItemForTypeIdentifier(
        UTType::swiftSource.identifier(), [drop, slot](LoadedItem item) {
            if (const auto* error = std::get_if<LoadError>(&item)) {
                core::print(*drop->log, "Error loading Swift source file:", error->message);
            } else if (const auto* url = std::get_if<QUrl>(&item)) {
                // Appended on the GUI thread; submitted before the load is marked finished, so
                // it runs before the drop's commit.
                drop->mainQueue->async([drop, slot, content = absoluteString(*url)] {
                    drop->store(slot, {content, UTType::fileURL});
                    core::print(*drop->log, QStringLiteral("Dropped Swift File URL: ") + content);
                });
            } else {
                core::print(*drop->log, "Could not extract Swift file as URL");
            }
            Drop::finishLoad(drop);
        });
}

void loadImage(const SharedDrop& drop, std::size_t slot, shelf::ItemProvider& provider) {
    provider.loadItemForTypeIdentifier(UTType::image.identifier(), [drop, slot](LoadedItem item) {
        auto& log = *drop->log;
        if (const auto* error = std::get_if<LoadError>(&item)) {
            core::print(log, "Error loading image:", error->message);
        } else if (const auto* url = std::get_if<QUrl>(&item)) {
            const QString absolute = absoluteString(*url);
            drop->store(slot, {absolute, UTType::image});
            core::print(log, QStringLiteral("Dropped Image URL: ") + absolute);
        } else {
            core::print(log, "Failed to extract image");
        }
        Drop::finishLoad(drop);
    });
}

} // namespace

DropIntake::DropIntake(core::MainQueue& mainQueue, core::DiagnosticLog& log, AddItem addItem)
    : m_mainQueue(&mainQueue), m_log(&log), m_addItem(std::move(addItem)) {}

const QStringList& DropIntake::preferredTypeIdentifiers() {
    static const QStringList identifiers = {
        QStringLiteral("public.comma-separated-values-text"),
        QStringLiteral("public.mpeg-2-transport-stream"),
        QStringLiteral("com.apple.log"),
        QStringLiteral("com.apple.quicktime-movie"),
        QStringLiteral("public.mpeg-4"),
        QStringLiteral("org.matroska.mkv"),
        QStringLiteral("org.webmproject.webm"),
        QStringLiteral("public.plain-text"),
    };
    return identifiers;
}

bool DropIntake::handleDrop(const shelf::ItemProviderList& providers) const {
    auto drop = std::make_shared<Drop>();
    drop->mainQueue = m_mainQueue;
    drop->log = m_log;
    drop->addItem = m_addItem;

    // Providers of one kind share one identifier list (implicitly shared storage): a drop of
    // many files formats each distinct list once.
    struct FormattedLine {
        QStringList identifiers; // keeps the storage, and so the key, alive
        QString line;
    };
    std::unordered_map<const QString*, FormattedLine> lines;
    for (const auto& provider : providers) {
        const QStringList identifiers = provider->registeredTypeIdentifiers();
        auto it = lines.find(identifiers.constData());
        if (it == lines.end() || it->second.identifiers.size() != identifiers.size()) {
            const QString line =
                QStringLiteral("Registered Type Identifiers: ") + listLiteral(identifiers);
            it = lines.insert_or_assign(identifiers.constData(), FormattedLine{identifiers, line})
                     .first;
        }
        core::print(*m_log, it->second.line);
    }

    drop->payloadSlots.resize(providers.size());
    for (std::size_t slot = 0; slot < drop->payloadSlots.size(); ++slot) {
        const auto& provider = providers[slot];
        const QString* preferred = nullptr;
        for (const QString& identifier : preferredTypeIdentifiers()) {
            if (provider->hasItemConformingToTypeIdentifier(identifier)) {
                preferred = &identifier;
                break;
            }
        }
        if (preferred) {
            drop->startLoad();
            loadPreferredType(drop, slot, *provider, *preferred);
        } else if (provider->hasItemConformingToTypeIdentifier(UTType::fileURL.identifier())) {
            drop->startLoad();
            loadFileUrl(drop, slot, *provider);
        } else if (provider->hasItemConformingToTypeIdentifier(UTType::swiftSource.identifier())) {
            core::print(*m_log, "Handling a Swift source file type from Recents");
            drop->startLoad();
            loadSourceFile(drop, slot, *provider);
        } else if (provider->hasItemConformingToTypeIdentifier(UTType::image.identifier())) {
            drop->startLoad();
            loadImage(drop, slot, *provider);
        } else {
            m_mainQueue->async([log = m_log] { core::print(*log, "Type not detected"); });
        }
    }

    Drop::finishLoad(drop);
    return true;
}

} // namespace shelf
