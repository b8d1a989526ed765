#include "ui/frame/dockedpanesizing.h"

#include <QDockWidget>
#include <QMainWindow>

#include <algorithm>

namespace {

// The frame the pane is docked in and the other docked, visible panes of its edge; no frame
// for a floating, hidden or undocked pane.
struct DockedPane
{
    QMainWindow *frame = nullptr;
    Qt::DockWidgetArea area = Qt::NoDockWidgetArea;
    QList<QDockWidget *> edge; // the pane included
};

DockedPane locate(QDockWidget *pane)
{
    DockedPane found;
    if (!pane || pane->isFloating() || !pane->isVisible())
        return found;
    auto *frame = qobject_cast<QMainWindow *>(pane->parentWidget());
    if (!frame || frame->dockWidgetArea(pane) == Qt::NoDockWidgetArea)
        return found;
    found.frame = frame;
    found.area = frame->dockWidgetArea(pane);
    for (QDockWidget *dock : frame->findChildren<QDockWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!dock->isFloating() && dock->isVisible() && frame->dockWidgetArea(dock) == found.area)
            found.edge << dock;
    }
    return found;
}

// Extent and start of a pane along the orientation.
int length(const QDockWidget *dock, Qt::Orientation o)
{
    return o == Qt::Vertical ? dock->height() : dock->width();
}

int start(const QDockWidget *dock, Qt::Orientation o)
{
    return o == Qt::Vertical ? dock->y() : dock->x();
}

// The panes of the edge in one line with the pane along the orientation (one column for
// Qt::Vertical, one row for Qt::Horizontal), in their order.
QList<QDockWidget *> lineOf(const DockedPane &docked, QDockWidget *pane, Qt::Orientation o)
{
    const QRect own = pane->geometry();
    QList<QDockWidget *> line;
    for (QDockWidget *dock : docked.edge) {
        const QRect r = dock->geometry();
        const bool across = o == Qt::Vertical ? r.left() <= own.right() && r.right() >= own.left()
                                              : r.top() <= own.bottom() && r.bottom() >= own.top();
        if (across)
            line << dock;
    }
    std::sort(line.begin(), line.end(),
              [o](QDockWidget *a, QDockWidget *b) { return start(a, o) < start(b, o); });
    return line;
}

// Moves the divider beside the pane along the orientation so that the pane gets the length.
void moveDivider(QDockWidget *pane, int wanted, Qt::Orientation o)
{
    const DockedPane docked = locate(pane);
    if (!docked.frame)
        return;
    const bool alongEdge = o == Qt::Vertical
        ? docked.area == Qt::TopDockWidgetArea || docked.area == Qt::BottomDockWidgetArea
        : docked.area == Qt::LeftDockWidgetArea || docked.area == Qt::RightDockWidgetArea;
    const QList<QDockWidget *> line = lineOf(docked, pane, o);
    // A lone pane across its edge has only the edge's own divider, which runs the other way.
    if (line.size() == 1 && !alongEdge)
        return;
    const int span = start(line.last(), o) + length(line.last(), o) - start(line.first(), o);
    if (span - 4 < wanted)
        return;
    if (line.size() == 1) {
        docked.frame->resizeDocks({ pane }, { wanted }, o);
        return;
    }
    // The neighbour across the divider takes up the difference; naming every pane of the line
    // with its size keeps the others where they are.
    const qsizetype at = line.indexOf(pane);
    const qsizetype neighbour = at + 1 < line.size() ? at + 1 : at - 1;
    QList<int> sizes;
    for (QDockWidget *dock : line)
        sizes << length(dock, o);
    sizes[neighbour] += sizes[at] - wanted;
    sizes[at] = wanted;
    docked.frame->resizeDocks(line, sizes, o);
}

} // namespace

void SetPaneHeightByDivider(QDockWidget *pane, int height)
{
    moveDivider(pane, height, Qt::Vertical);
}

void SetPaneWidthByDivider(QDockWidget *pane, int width)
{
    moveDivider(pane, width, Qt::Horizontal);
}

void SetDockedPaneSize(QDockWidget *pane, int size)
{
    const DockedPane docked = locate(pane);
    if (!docked.frame || size <= 0)
        return;
    const Qt::Orientation across
        = docked.area == Qt::LeftDockWidgetArea || docked.area == Qt::RightDockWidgetArea
        ? Qt::Horizontal
        : Qt::Vertical;
    // The panes side by side across the edge share the new size in their present proportions.
    const QList<QDockWidget *> row = lineOf(docked, pane, across);
    int total = 0;
    for (QDockWidget *dock : row)
        total += length(dock, across);
    QList<int> sizes;
    for (QDockWidget *dock : row)
        sizes << (total > 0 ? length(dock, across) * size / total : size / int(row.size()));
    docked.frame->resizeDocks(row, sizes, across);
}
