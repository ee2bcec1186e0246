#include "shelf_model.h"

#include "shelf/entry_caption.h"

#include <QIcon>
#include <QMimeDatabase>

#include <algorithm>
#include <utility>
#include <vector>

namespace panel {

using shelf::BucketItem;

ShelfModel::ShelfModel(QObject* parent) : QAbstractListModel(parent) {}

BucketItem ShelfModel::itemAt(const QModelIndex& index) {
    return index.data(ItemRole).value<BucketItem>();
}

int ShelfModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

namespace {

// The theme's icon for what the entry holds: the first payload's type, or a folder of several.
QIcon entryIcon(const BucketItem& item) {
    if (item.items.size() != 1)
        return QIcon::fromTheme(QStringLiteral("folder"));
    const shelf::BucketItemData& payload = item.items.constFirst();
    if (shelf::isWebAddress(payload.content))
        return QIcon::fromTheme(QStringLiteral("text-html"));
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(payload.displayName(), QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
}

} // namespace

QVariant ShelfModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const BucketItem& item = m_items.at(index.row());
    switch (role) {
    case ItemRole:
        return QVariant::fromValue(item);
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return shelf::entryCaption(item);
    case Qt::DecorationRole:
        return entryIcon(item);
    case Qt::AccessibleTextRole:
        return shelf::entryDescription(item);
    default:
        return {};
    }
}

QHash<int, QByteArray> ShelfModel::roleNames() const {
    return {{ItemRole, QByteArrayLiteral("item")}};
}

void ShelfModel::insert(qsizetype row, const BucketItem& item) {
    row = std::clamp<qsizetype>(row, 0, m_items.size());
    beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
    m_items.insert(row, item);
    endInsertRows();
}

void ShelfModel::remove(qsizetype row) {
    if (!isRow(row))
        return;
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
    m_items.removeAt(row);
    endRemoveRows();
}

void ShelfModel::replace(qsizetype row, const QList<BucketItem>& replacement) {
    if (!isRow(row))
        return;
    remove(row);
    if (replacement.isEmpty())
        return;
    const auto last = static_cast<int>(row + replacement.size() - 1);
    beginInsertRows({}, static_cast<int>(row), last);
    m_items.insert(row, replacement.size(), BucketItem());
    std::copy(replacement.cbegin(), replacement.cend(), m_items.begin() + row);
    endInsertRows();
}

void ShelfModel::set(qsizetype row, const BucketItem& item) {
    if (!isRow(row) || m_items.at(row) == item)
        return;
    m_items[row] = item;
    const QModelIndex changed = index(static_cast<int>(row));
    emit dataChanged(changed, changed);
}

void ShelfModel::assign(QList<BucketItem> items) {
    const qsizetype oldSize = m_items.size();
    const qsizetype newSize = items.size();
    const qsizetype common = std::min(oldSize, newSize);
    qsizetype prefix = 0;
    while (prefix < common && m_items.at(prefix).id == items.at(prefix).id)
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix &&
           m_items.at(oldSize - 1 - suffix).id == items.at(newSize - 1 - suffix).id)
        ++suffix;

    // Matched entries whose value differs, as runs of rows of the new list.
    std::vector<std::pair<qsizetype, qsizetype>> changed;
    auto compare = [&](qsizetype oldRow, qsizetype newRow) {
        if (m_items.at(oldRow) == items.at(newRow))
            return;
        if (!changed.empty() && changed.back().second == newRow - 1)
            changed.back().second = newRow;
        else
            changed.emplace_back(newRow, newRow);
    };
    for (qsizetype row = 0; row < prefix; ++row)
        compare(row, row);
    for (qsizetype k = suffix; k > 0; --k)
        compare(oldSize - k, newSize - k);

    const qsizetype removed = oldSize - prefix - suffix;
    if (removed > 0) {
        beginRemoveRows({}, static_cast<int>(prefix), static_cast<int>(prefix + removed - 1));
        m_items.remove(prefix, removed);
        endRemoveRows();
    }
    const qsizetype inserted = newSize - prefix - suffix;
    if (inserted > 0) {
        beginInsertRows({}, static_cast<int>(prefix), static_cast<int>(prefix + inserted - 1));
        if (m_items.isEmpty()) {
            m_items = items; // shares the storage: a long shelf costs no copy
        } else {
            QList<BucketItem> next;
            next.reserve(newSize);
            next.append(m_items.first(prefix));
            next.append(items.sliced(prefix, inserted));
            next.append(m_items.last(suffix));
            m_items = std::move(next);
        }
        endInsertRows();
    }
    m_items = std::move(items);
    for (const auto& [first, last] : changed)
        emit dataChanged(index(static_cast<int>(first)), index(static_cast<int>(last)));
}

} // namespace panel
