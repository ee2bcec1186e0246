#include "scripting/entry_rows.h"

#include "scripting/file_uris.h"
#include "shelf/entry_caption.h"
#include "views/payload_files.h"
#include "views/payload_url.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

namespace scripting {

namespace {

const QString kFile = QStringLiteral("file");
const QString kLink = QStringLiteral("link");
const QString kText = QStringLiteral("text");

// A dropped link arrives as a text that is one URL.
QString payloadKind(const shelf::BucketItemData& payload) {
    if (views::isFileLike(payload.type))
        return kFile;
    if (payload.type.conforms(shelf::UTType::url))
        return kLink;
    const std::optional<QUrl> url = views::urlFromString(payload.content);
    return url && !url->isLocalFile() ? kLink : kText;
}

QString entryKind(const QStringList& payloadKinds) {
    if (payloadKinds.isEmpty() ||
        payloadKinds.count(payloadKinds.constFirst()) != payloadKinds.size())
        return QStringLiteral("mixed");
    return payloadKinds.constFirst() == kText ? kText
                                              : payloadKinds.constFirst() + QLatin1Char('s');
}

QByteArray printable(QByteArray bytes) {
    for (char& byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f)
            byte = '?';
    }
    return bytes;
}

std::optional<QString> strictUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? std::nullopt : std::optional<QString>(text);
}

// What a line shows of one payload.
QByteArray lineField(const QString& content, const QString& kind) {
    if (kind == kText)
        return printable(content.section(QLatin1Char('\n'), 0, 0).toUtf8());
    if (kind == kFile) {
        if (const auto path = localPathOf(content.toLatin1()))
            return printable(*path);
    }
    return printable(content.toUtf8());
}

QJsonObject jsonPayload(const QString& content, const QString& type, const QString& kind) {
    QJsonObject payload{{QStringLiteral("type"), type}};
    if (kind == kText) {
        payload.insert(QStringLiteral("text"), content);
        return payload;
    }
    payload.insert(QStringLiteral("url"), content);
    if (const auto path = kind == kFile ? localPathOf(content.toLatin1()) : std::nullopt) {
        if (const auto name = strictUtf8(*path))
            payload.insert(QStringLiteral("path"), *name);
    }
    return payload;
}

} // namespace

EntryRow entryRow(const shelf::BucketItem& item) {
    QStringList contents;
    QStringList types;
    QStringList kinds;
    for (const shelf::BucketItemData& payload : item.items) {
        contents << payload.content;
        types << payload.type.identifier();
        kinds << payloadKind(payload);
    }
    const QString caption = item.items.size() == 1 ? item.items.constFirst().displayName()
                                                   : shelf::multiPayloadCaption(item.items);
    return {{QStringLiteral("id"), item.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("kind"), entryKind(kinds)},
            {QStringLiteral("caption"), caption},
            {QStringLiteral("locked"), item.isLocked},
            {QStringLiteral("contents"), contents},
            {QStringLiteral("types"), types},
            {QStringLiteral("kinds"), kinds}};
}

QByteArray listLines(const QList<EntryRow>& rows) {
    QByteArray out;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const EntryRow& row = rows.at(i);
        const QString caption = row.value(QStringLiteral("caption")).toString();
        out += QByteArray::number(i + 1) + '\t' +
               row.value(QStringLiteral("kind")).toString().toUtf8() + '\t' +
               printable(caption.section(QLatin1Char('\n'), 0, 0).toUtf8());
        const QStringList contents = row.value(QStringLiteral("contents")).toStringList();
        const QStringList kinds = row.value(QStringLiteral("kinds")).toStringList();
        for (qsizetype p = 0; p < contents.size(); ++p)
            out += '\t' + lineField(contents.at(p), kinds.value(p));
        out += '\n';
    }
    return out;
}

QByteArray listJson(const QList<EntryRow>& rows) {
    QJsonArray entries;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const EntryRow& row = rows.at(i);
        const QStringList contents = row.value(QStringLiteral("contents")).toStringList();
        const QStringList types = row.value(QStringLiteral("types")).toStringList();
        const QStringList kinds = row.value(QStringLiteral("kinds")).toStringList();
        QJsonArray payloads;
        for (qsizetype p = 0; p < contents.size(); ++p)
            payloads.append(jsonPayload(contents.at(p), types.value(p), kinds.value(p)));
        entries.append(QJsonObject{
            {QStringLiteral("position"), i + 1},
            {QStringLiteral("id"), row.value(QStringLiteral("id")).toString()},
            {QStringLiteral("kind"), row.value(QStringLiteral("kind")).toString()},
            {QStringLiteral("caption"), row.value(QStringLiteral("caption")).toString()},
            {QStringLiteral("locked"), row.value(QStringLiteral("locked")).toBool()},
            {QStringLiteral("payloads"), payloads}});
    }
    return QJsonDocument(entries).toJson(QJsonDocument::Indented);
}

QList<QByteArray> localPaths(const EntryRow& row) {
    const QStringList contents = row.value(QStringLiteral("contents")).toStringList();
    const QStringList kinds = row.value(QStringLiteral("kinds")).toStringList();
    QList<QByteArray> paths;
    for (qsizetype p = 0; p < contents.size(); ++p) {
        if (kinds.value(p) != kFile)
            continue;
        if (const auto path = localPathOf(contents.at(p).toLatin1()))
            paths << *path;
    }
    return paths;
}

} // namespace scripting
