#include "backend/x11/xsettings.h"

#include <QColor>
#include <QString>

#include <cstdint>

namespace backend::x11 {

namespace {

enum : std::uint8_t { kInteger = 0, kString = 1, kColor = 2 };
enum : std::uint8_t { kLsbFirst = 0, kMsbFirst = 1 };

// Reads the buffer front to back; every read past its end fails and poisons the reader.
class Reader {
public:
    Reader(QByteArrayView data, bool isMsbFirst) : m_data(data), m_isMsbFirst(isMsbFirst) {}

    bool isGood() const { return m_isGood; }
    qsizetype remaining() const { return m_data.size() - m_position; }

    bool skip(qsizetype count) {
        if (!m_isGood || count < 0 || count > remaining())
            return m_isGood = false;
        m_position += count;
        return true;
    }
    std::uint8_t card8() { return static_cast<std::uint8_t>(read(1)); }
    std::uint16_t card16() { return static_cast<std::uint16_t>(read(2)); }
    std::uint32_t card32() { return read(4); }
    // `count` bytes and the padding that rounds them up to four.
    QByteArrayView padded(std::uint32_t count) {
        const qsizetype start = m_position;
        const qsizetype length = static_cast<qsizetype>(count);
        if (!skip(length) || !skip((4 - length % 4) % 4))
            return {};
        return m_data.sliced(start, length);
    }

private:
    std::uint32_t read(int bytes) {
        const qsizetype start = m_position;
        if (!skip(bytes))
            return 0;
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto byte =
                static_cast<std::uint8_t>(m_data[start + (m_isMsbFirst ? i : bytes - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

    QByteArrayView m_data;
    qsizetype m_position = 0;
    bool m_isMsbFirst;
    bool m_isGood = true;
};

std::optional<QVariant> readValue(Reader& reader, std::uint8_t type) {
    switch (type) {
    case kInteger:
        return QVariant(static_cast<int>(static_cast<std::int32_t>(reader.card32())));
    case kString: {
        const QByteArrayView text = reader.padded(reader.card32());
        return QVariant(QString::fromUtf8(text));
    }
    case kColor: {
        const std::uint16_t red = reader.card16();
        const std::uint16_t green = reader.card16();
        const std::uint16_t blue = reader.card16();
        const std::uint16_t alpha = reader.card16();
        return QVariant(QColor::fromRgba64(red, green, blue, alpha));
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QVariantMap> parseXSettings(QByteArrayView data) {
    if (data.isEmpty())
        return std::nullopt;
    const auto order = static_cast<std::uint8_t>(data.front());
    if (order != kLsbFirst && order != kMsbFirst)
        return std::nullopt;
    Reader reader(data, order == kMsbFirst);
    reader.skip(4);  // byte order and three unused bytes
    reader.card32(); // the manager's serial
    const std::uint32_t count = reader.card32();
    QVariantMap settings;
    // Each record takes at least 12 bytes: a count beyond the buffer fails in the loop, which
    // never runs longer than the buffer is.
    for (std::uint32_t i = 0; i < count && reader.isGood(); ++i) {
        const std::uint8_t type = reader.card8();
        reader.skip(1);
        const QByteArrayView name = reader.padded(reader.card16());
        reader.card32(); // the serial of its last change
        const std::optional<QVariant> value = readValue(reader, type);
        if (!value || !reader.isGood() || name.isEmpty())
            return std::nullopt;
        settings.insert(QString::fromLatin1(name), *value);
    }
    if (!reader.isGood())
        return std::nullopt;
    return settings;
}

} // namespace backend::x11
