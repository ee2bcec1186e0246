#include "backend/x11/drop_formats.h"

#include <QImageReader>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <unordered_set>

namespace backend::x11 {

namespace {

const std::string kTextPlain = "text/plain";
const std::string kUriList = "text/uri-list";
const std::string kMozUrl = "text/x-moz-url";
const std::string kQtImage = "application/x-qt-image";

bool isStringTarget(const std::string& target) {
    return target == "UTF8_STRING" || target == "STRING" || target == "TEXT";
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string formatOfTarget(const std::string& target) {
    if (isStringTarget(target))
        return kTextPlain;
    if (target == kMozUrl)
        return kUriList;
    return target;
}

// The image types Qt decodes, PNG first, as its drop data tries them.
const std::vector<std::string>& decodableImageTypes() {
    static const std::vector<std::string> types = [] {
        std::vector<std::string> result{"image/png"};
        for (const QByteArray& type : QImageReader::supportedMimeTypes()) {
            if (!contains(result, type.toStdString()))
                result.push_back(type.toStdString());
        }
        return result;
    }();
    return types;
}

// Qt's guess that text came in UTF-16: a byte order mark, or a zero byte beside one that is not.
bool looksLikeUtf16(const QByteArray& data) {
    if (data.size() < 2)
        return false;
    const auto first = static_cast<unsigned char>(data.at(0));
    const auto second = static_cast<unsigned char>(data.at(1));
    return (first == 0xff && second == 0xfe) || (first == 0xfe && second == 0xff) ||
           (first != 0 && second == 0) || (first == 0 && second != 0);
}

QByteArray uriListFromUtf16(const QByteArray& data, bool isFirstOnly) {
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(data.constData()), data.size() / 2);
    QByteArray list;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QUrl url(line.trimmed());
        if (!url.isValid())
            continue;
        list += url.toEncoded() + "\r\n";
        if (isFirstOnly)
            break;
    }
    return list;
}

} // namespace

std::vector<std::string> dropFormats(const std::vector<std::string>& offered) {
    std::vector<std::string> formats;
    // A hostile source lists tens of thousands of types: no search of the list per type.
    std::unordered_set<std::string> seen;
    bool hasImage = false;
    for (const std::string& target : offered) {
        std::string format = formatOfTarget(target);
        if (!format.empty() && seen.insert(format).second)
            formats.push_back(std::move(format));
        hasImage = hasImage || contains(decodableImageTypes(), target);
    }
    if (hasImage && !seen.contains(kQtImage))
        formats.push_back(kQtImage);
    return formats;
}

std::vector<std::string> dropTargets(const std::string& format,
                                     const std::vector<std::string>& offered) {
    std::vector<std::string> targets;
    auto add = [&](const std::string& target) {
        if (contains(offered, target) && !contains(targets, target))
            targets.push_back(target);
    };
    if (format == kTextPlain) {
        for (const char* target : {"UTF8_STRING", "STRING", "TEXT", "text/plain"}) {
            if (contains(offered, target)) {
                add(target);
                break;
            }
        }
    } else if (format == kUriList) {
        add(contains(offered, kUriList) ? kUriList : kMozUrl);
    } else if (format == kQtImage) {
        add(kQtImage);
        for (const std::string& type : decodableImageTypes())
            add(type);
    } else {
        add(format);
    }
    return targets;
}

QByteArray dropData(const std::string& format, const std::string& target, QByteArray data) {
    if (format == kTextPlain) {
        if (data.endsWith('\0'))
            data.chop(1);
        if (target == "UTF8_STRING")
            return QString::fromUtf8(data).toUtf8();
        if (target == "STRING" || target == "TEXT")
            return QString::fromLatin1(data).toUtf8();
    }
    if (format == kUriList && looksLikeUtf16(data))
        return uriListFromUtf16(data, target == kMozUrl);
    if (format == kQtImage || formatOfTarget(target) == format)
        return data;
    return {};
}

} // namespace backend::x11
