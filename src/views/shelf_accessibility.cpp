#include "shelf_accessibility.h"

#include "views/bucket_item_view.h"
#include "views/lazy_list_view.h"

#include <QAccessibleWidget>

namespace views {

namespace {

class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(LazyListView* list) : QAccessibleWidget(list, QAccessible::List) {}

    int childCount() const override { return static_cast<int>(tiles().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = tiles();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(tiles().indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }

private:
    QList<QWidget*> tiles() const { return static_cast<LazyListView*>(widget())->liveWidgets(); }
};

class TileAccessible final : public QAccessibleWidget {
public:
    explicit TileAccessible(BucketItemView* tile)
        : QAccessibleWidget(tile, QAccessible::ListItem) {}

    QAccessibleInterface* parent() const override {
        for (QWidget* above = widget()->parentWidget(); above; above = above->parentWidget()) {
            if (qobject_cast<LazyListView*>(above))
                return QAccessible::queryAccessibleInterface(above);
        }
        return QAccessibleWidget::parent();
    }
    int childCount() const override { return static_cast<int>(controls().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = controls();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(controls().indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }

private:
    QList<QWidget*> controls() const {
        QList<QWidget*> shown;
        for (QWidget* control : static_cast<BucketItemView*>(widget())->controls()) {
            if (!control->isHidden())
                shown << control;
        }
        return shown;
    }
};

QAccessibleInterface* shelfAccessible(const QString&, QObject* object) {
    if (auto* tile = qobject_cast<BucketItemView*>(object))
        return new TileAccessible(tile);
    if (auto* list = qobject_cast<LazyListView*>(object))
        return new ListAccessible(list);
    return nullptr;
}

} // namespace

void installShelfAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(shelfAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace views
