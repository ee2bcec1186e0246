#pragma once

#include "shelf/ut_type.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <cstddef>

namespace shelf {

// One payload of a shelf entry: a URL string (file, folder, image) or a text.
struct BucketItemData {
    QUuid id = QUuid::createUuid();
    QString content;
    shelf::UTType type;

    BucketItemData() = default;
    BucketItemData(QString content, shelf::UTType type)
        : content(std::move(content)), type(std::move(type)) {}

    // The symbol name that stands for the payload's type.
    QString iconName() const;
    // The text a tile shows for the payload.
    QString displayName() const;

    // Compares id, then content (by canonical Unicode equivalence), then type.
    friend bool operator==(const BucketItemData& a, const BucketItemData& b);
};

// One shelf entry: the payloads of one drop.
struct BucketItem {
    QUuid id = QUuid::createUuid();
    QList<BucketItemData> items;
    bool isLocked = false;

    BucketItem() = default;
    BucketItem(QList<BucketItemData> items, bool isLocked)
        : items(std::move(items)), isLocked(isLocked) {}

    // Compares id, then the payloads in order, then isLocked.
    friend bool operator==(const BucketItem& a, const BucketItem& b);
};

// Consistent with ==; fields are fed in declaration order.
std::size_t qHash(const BucketItemData& data, std::size_t seed = 0) noexcept;
std::size_t qHash(const BucketItem& item, std::size_t seed = 0) noexcept;

} // namespace shelf
