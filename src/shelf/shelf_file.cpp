#include "shelf/shelf_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace shelf {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kEntriesKey = QStringLiteral("entries");
const QString kIdKey = QStringLiteral("id");
const QString kLockedKey = QStringLiteral("locked");
const QString kItemsKey = QStringLiteral("items");
const QString kContentKey = QStringLiteral("content");
const QString kTypeKey = QStringLiteral("type");

QString idString(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces);
}

std::optional<QUuid> idOf(const QJsonObject& object) {
    const QJsonValue value = object.value(kIdKey);
    if (!value.isString())
        return std::nullopt;
    const QUuid id = QUuid::fromString(value.toString());
    if (id.isNull())
        return std::nullopt;
    return id;
}

std::optional<BucketItemData> payloadOf(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto id = idOf(object);
    const QJsonValue content = object.value(kContentKey);
    const QJsonValue type = object.value(kTypeKey);
    if (!id || !content.isString() || !type.isString() || type.toString().isEmpty())
        return std::nullopt;
    BucketItemData payload(content.toString(), UTType(type.toString()));
    payload.id = *id;
    return payload;
}

std::optional<BucketItem> entryOf(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto id = idOf(object);
    const QJsonValue locked = object.value(kLockedKey);
    const QJsonValue items = object.value(kItemsKey);
    if (!id || !locked.isBool() || !items.isArray())
        return std::nullopt;
    const QJsonArray payloads = items.toArray();
    QList<BucketItemData> data;
    data.reserve(payloads.size());
    for (const auto& payload : payloads) {
        auto read = payloadOf(payload);
        if (!read)
            return std::nullopt;
        data << std::move(*read);
    }
    BucketItem entry(std::move(data), locked.toBool());
    entry.id = *id;
    return entry;
}

// The end of the JSON object that starts at `begin`, just past its closing brace; -1 when the
// bytes end first.
qsizetype objectEnd(const QByteArray& bytes, qsizetype begin) {
    int depth = 0;
    bool isInString = false;
    for (qsizetype i = begin; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (isInString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                isInString = false;
        } else if (c == '"') {
            isInString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
            return i + 1;
        }
    }
    return -1;
}

} // namespace

QByteArray ShelfFile::encode(const QList<BucketItem>& items) {
    QJsonArray entries;
    for (const BucketItem& item : items) {
        QJsonArray payloads;
        for (const BucketItemData& payload : item.items) {
            payloads.append(QJsonObject{{kIdKey, idString(payload.id)},
                                        {kContentKey, payload.content},
                                        {kTypeKey, payload.type.identifier()}});
        }
        entries.append(QJsonObject{
            {kIdKey, idString(item.id)}, {kLockedKey, item.isLocked}, {kItemsKey, payloads}});
    }
    return QJsonDocument(QJsonObject{{kFormatKey, kFormat}, {kEntriesKey, entries}})
        .toJson(QJsonDocument::Compact);
}

std::variant<QList<BucketItem>, QString> ShelfFile::decode(const QByteArray& bytes) {
    if (bytes.size() > kMaximumSize)
        return QStringLiteral("larger than %1 bytes").arg(kMaximumSize);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset);
    if (!document.isObject())
        return QStringLiteral("not a JSON object");
    const QJsonObject root = document.object();
    const QJsonValue format = root.value(kFormatKey);
    if (!format.isDouble() || format.toDouble() != kFormat)
        return QStringLiteral("not a shelf of format %1").arg(kFormat);
    const QJsonValue entries = root.value(kEntriesKey);
    if (!entries.isArray())
        return QStringLiteral("no list of entries");
    const QJsonArray list = entries.toArray();
    QList<BucketItem> items;
    items.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        auto entry = entryOf(list.at(i));
        if (!entry)
            return QStringLiteral("entry %1 is malformed").arg(i + 1);
        items << std::move(*entry);
    }
    return items;
}

QList<BucketItem> ShelfFile::salvage(const QByteArray& bytes) {
    QList<BucketItem> items;
    const qsizetype key = bytes.indexOf("\"" + kEntriesKey.toLatin1() + "\"");
    qsizetype at = key < 0 ? -1 : bytes.indexOf('[', key);
    if (at < 0)
        return items;
    for (at = bytes.indexOf('{', at + 1); at >= 0; at = bytes.indexOf('{', at)) {
        const qsizetype end = objectEnd(bytes, at);
        if (end < 0)
            break;
        const QJsonDocument document = QJsonDocument::fromJson(bytes.mid(at, end - at));
        if (auto entry = document.isObject() ? entryOf(document.object()) : std::nullopt)
            items << std::move(*entry);
        at = end;
    }
    return items;
}

} // namespace shelf
