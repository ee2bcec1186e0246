#pragma once

#include <QMimeData>

#include <utility>
#include <vector>

namespace testing_support {

// Drop data as another X11 client offers it: each format's bytes exactly as the source sent
// them. (QMimeData::setData parses text/uri-list into URLs and re-encodes it, losing comments
// and raw bytes, so it cannot stand for a foreign drop.)
class RawMimeData final : public QMimeData {
public:
    using Formats = std::vector<std::pair<QString, QByteArray>>;

    explicit RawMimeData(Formats formats) : m_formats(std::move(formats)) {}

    QStringList formats() const override {
        QStringList names;
        for (const auto& entry : m_formats)
            names << entry.first;
        return names;
    }

protected:
    QVariant retrieveData(const QString& format, QMetaType) const override {
        for (const auto& [name, bytes] : m_formats) {
            if (name == format)
                return bytes;
        }
        return {};
    }

private:
    Formats m_formats;
};

} // namespace testing_support
