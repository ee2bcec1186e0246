#include "views/drop_data_reader.h"

#include "backend/pending_drop.h"

#include <QHash>
#include <QImage>
#include <QMimeData>

#include <optional>

namespace views {

namespace {

// The formats fetched so far; a read of any other gives nothing and is remembered.
class FetchedMimeData final : public QMimeData {
public:
    FetchedMimeData(QStringList formats, const QHash<QString, QByteArray>& fetched)
        : m_formats(std::move(formats)), m_fetched(fetched) {}

    QStringList formats() const override { return m_formats; }
    bool hasFormat(const QString& format) const override { return m_formats.contains(format); }
    // The first format read that was not fetched.
    const std::optional<QString>& missing() const { return m_missing; }

protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override {
        const auto found = m_fetched.constFind(format);
        if (found == m_fetched.cend()) {
            if (!m_missing)
                m_missing = format;
            return {};
        }
        // An image comes encoded, as a toolkit image is asked for.
        if (type.id() == QMetaType::QImage)
            return QImage::fromData(*found);
        return *found;
    }

private:
    QStringList m_formats;
    const QHash<QString, QByteArray>& m_fetched;
    mutable std::optional<QString> m_missing;
};

struct Reading {
    std::shared_ptr<backend::PendingDrop> drop;
    QHash<QString, QByteArray> fetched;
    DropDataReader::Done done;
};

void step(const std::shared_ptr<Reading>& reading) {
    const FetchedMimeData data(reading->drop->formats(), reading->fetched);
    shelf::DropContents contents = shelf::MimeItemProviderFactory::read(data);
    if (!data.missing()) {
        reading->done(std::move(contents));
        return;
    }
    // Each turn fetches a format not fetched before: the formats offered bound the turns.
    const QString format = *data.missing();
    reading->drop->read(format, [reading, format](const QByteArray& bytes) {
        reading->fetched.insert(format, bytes);
        step(reading);
    });
}

} // namespace

void DropDataReader::read(std::shared_ptr<backend::PendingDrop> drop, Done done) {
    auto reading = std::make_shared<Reading>();
    reading->drop = std::move(drop);
    reading->done = std::move(done);
    step(reading);
}

} // namespace views
