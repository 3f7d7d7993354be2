#include "gui/common/grid_view.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace qeltaro::gui {
namespace {

QTableView* gridOf(QObject* object)
{
    for (QObject* o = object; o && o->isWidgetType(); o = o->parent()) {
        if (auto* grid = qobject_cast<QTableView*>(o))
            return grid;
        if (static_cast<QWidget*>(o)->isWindow())
            break;
    }
    return nullptr;
}

class GridWheel : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y();
        if (delta == 0)
            return false;  // a sideways turn scrolls sideways, as Qt does it
        QTableView* focused = gridOf(QApplication::focusWidget());
        if (!focused)
            return gridOf(watched) != nullptr;
        // Fine-grained wheels send parts of a step; a row moves once they add up to one.
        if (focused != grid_)
            pending_ = 0;
        grid_ = focused;
        pending_ += delta;
        const int steps = pending_ / QWheelEvent::DefaultDeltasPerStep;
        pending_ %= QWheelEvent::DefaultDeltasPerStep;
        if (steps != 0) {
            QScrollBar* bar = focused->verticalScrollBar();
            const int row = focused->verticalScrollMode() == QAbstractItemView::ScrollPerItem
                                ? 1
                                : focused->verticalHeader()->defaultSectionSize();
            // Turned toward the user (negative): the top row moves down.
            bar->setValue(bar->value() - steps * row);
        }
        return true;
    }

private:
    QPointer<QTableView> grid_;
    int pending_ = 0;
};

}  // namespace

void installGridWheel()
{
    static QPointer<GridWheel> installed;
    if (installed || !qApp)
        return;
    installed = new GridWheel(qApp);
    qApp->installEventFilter(installed);
}

void setUpReadOnlyGrid(QTableView* grid, const char* name)
{
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setWordWrap(false);
    installGridWheel();
}

void scrollToEndIfLong(QTableView* view)
{
    // Deferred, so the view knows its height; scrollToBottom() also lays out the rows a model
    // reset left pending, which scrollTo() would clamp to the range of the old rows.
    QTimer::singleShot(0, view, [view] {
        if (view->model() && view->model()->rowCount() > 29)
            view->scrollToBottom();
        else
            view->scrollToTop();
    });
}

}  // namespace qeltaro::gui
