#include "shelf_accessibility.h"

#include "views/bucket_item_view.h"
#include "views/lazy_list_view.h"

#include <QAccessibleWidget>

namespace views {

namespace {

// An accessible whose children are those of a list of its widget's widgets.
class WidgetsAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = children();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(children().indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }

protected:
    virtual QList<QWidget*> children() const = 0;
};

class ListAccessible final : public WidgetsAccessible {
public:
    explicit ListAccessible(LazyListView* list) : WidgetsAccessible(list, QAccessible::List) {}

private:
    QList<QWidget*> children() const override {
        auto* list = qobject_cast<LazyListView*>(widget());
        return list ? list->liveWidgets() : QList<QWidget*>();
    }
};

class TileAccessible final : public WidgetsAccessible {
public:
    explicit TileAccessible(BucketItemView* tile)
        : WidgetsAccessible(tile, QAccessible::ListItem) {}

    QAccessibleInterface* parent() const override {
        for (QWidget* above = widget()->parentWidget(); above; above = above->parentWidget()) {
            if (qobject_cast<LazyListView*>(above))
                return QAccessible::queryAccessibleInterface(above);
        }
        return QAccessibleWidget::parent();
    }

private:
    QList<QWidget*> children() const override {
        QList<QWidget*> shown;
        const auto* tile = qobject_cast<const BucketItemView*>(widget());
        for (QWidget* control : tile ? tile->controls() : QList<QWidget*>()) {
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
