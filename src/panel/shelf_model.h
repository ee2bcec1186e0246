#pragma once

#include "shelf/bucket_item.h"

#include <QAbstractListModel>
#include <QList>

namespace panel {

// The shelf as a list model: one row per entry, newest first. Beside the entry itself (ItemRole)
// a row answers its caption (DisplayRole, also the tooltip), the icon of what it holds
// (DecorationRole) and what it holds in words, locked or not (AccessibleTextRole), so that
// views, tooltips and screen readers read one source. Every change emits the row
// signals of what it changed and nothing else; an edit that changes nothing is silent. Read-only
// to views: the drag monitor, which owns it, makes every change. GUI thread only.
class ShelfModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // The entry of a row, as a shelf::BucketItem.
    static constexpr int ItemRole = Qt::UserRole + 1;

    explicit ShelfModel(QObject* parent = nullptr);

    const QList<shelf::BucketItem>& items() const { return m_items; }
    // The entry of `index`; an empty entry for an index of another model or out of range.
    static shelf::BucketItem itemAt(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Inserts `item` at `row` (clamped to the list).
    void insert(qsizetype row, const shelf::BucketItem& item);
    // Removes the entry at `row`; nothing when out of range.
    void remove(qsizetype row);
    // Removes the entry at `row`, then inserts `replacement` in its place; nothing when out of
    // range.
    void replace(qsizetype row, const QList<shelf::BucketItem>& replacement);
    // Writes `item` over the entry at `row`; dataChanged only when the value differs.
    void set(qsizetype row, const shelf::BucketItem& item);
    // Makes the list `items`. Entries are matched by id at both ends of the list; what lies
    // between is removed and inserted, and matched entries whose value differs change.
    void assign(QList<shelf::BucketItem> items);

private:
    bool isRow(qsizetype row) const { return row >= 0 && row < m_items.size(); }

    QList<shelf::BucketItem> m_items;
};

} // namespace panel
