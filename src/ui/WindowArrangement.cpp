#include "ui/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <cmath>

QList<QRect> CascadeRects(const QList<ChildWindowSize>& windows, QSize area, int step) {
    QList<QRect> rects;
    int offset = 0;
    for (const ChildWindowSize& window : windows) {
        const QSize initial = window.initial.boundedTo(area).expandedTo(window.minimum);
        if (offset > 0 &&
            (offset + initial.width() > area.width() || offset + initial.height() > area.height()))
            offset = 0;
        const QSize room(area.width() - offset, area.height() - offset);
        const QSize size = window.current.expandedTo(initial).boundedTo(room);
        rects << QRect(QPoint(offset, offset), size.expandedTo(window.minimum));
        offset += step;
    }
    return rects;
}

namespace {

// The widths of one row of windows: own widths kept, the rest of the area
// shared by the others, none below its minimum.
QList<int> RowWidths(const QList<ChildWindowSize>& row, int areaWidth) {
    int ownTotal = 0;
    int shared = 0;
    for (const ChildWindowSize& window : row) {
        if (window.ownWidth)
            ownTotal += window.current.width();
        else
            ++shared;
    }
    const int share = shared > 0 ? std::max(0, areaWidth - ownTotal) / shared : 0;
    QList<int> widths;
    for (const ChildWindowSize& window : row)
        widths << (window.ownWidth ? window.current.width()
                                   : std::max(share, window.minimum.width()));
    return widths;
}

} // namespace

namespace {

// The least width a window takes in a row.
int LeastWidth(const ChildWindowSize& window) {
    return window.ownWidth ? window.current.width() : window.minimum.width();
}

// The windows in rows, in their order: a row takes up to columns windows
// while their least widths fit the area.
QList<QList<ChildWindowSize>> TileRows(const QList<ChildWindowSize>& windows, int areaWidth) {
    const int columns = static_cast<int>(std::ceil(std::sqrt(double(windows.size()))));
    QList<QList<ChildWindowSize>> rows;
    int used = 0;
    for (const ChildWindowSize& window : windows) {
        if (rows.isEmpty() || rows.last().size() == columns ||
            used + LeastWidth(window) > areaWidth) {
            rows.append(QList<ChildWindowSize>());
            used = 0;
        }
        rows.last() << window;
        used += LeastWidth(window);
    }
    return rows;
}

} // namespace

QList<QRect> TileRects(const QList<ChildWindowSize>& windows, QSize area) {
    QList<QRect> rects;
    const QList<QList<ChildWindowSize>> rows = TileRows(windows, area.width());
    int y = 0;
    for (const QList<ChildWindowSize>& row : rows) {
        int height = area.height() / static_cast<int>(rows.size());
        for (const ChildWindowSize& window : row)
            height = std::max(height, window.minimum.height());
        int x = 0;
        for (int width : RowWidths(row, area.width())) {
            rects << QRect(x, y, width, height);
            x += width;
        }
        y += height;
    }
    return rects;
}

QList<QPoint> IconPositions(const QList<QSize>& icons, QSize area) {
    QList<QPoint> places;
    int x = 0;
    int bottom = area.height();
    int rowHeight = 0;
    for (const QSize& icon : icons) {
        if (x > 0 && x + icon.width() > area.width()) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        places << QPoint(x, bottom - icon.height());
        x += icon.width();
        rowHeight = std::max(rowHeight, icon.height());
    }
    return places;
}

QPoint PlaceInside(const QRect& window, QSize area) {
    const int x = std::max(0, std::min(window.x(), area.width() - window.width()));
    const int y = std::max(0, std::min(window.y(), area.height() - window.height()));
    return {x, y};
}

void BringWindowToFront(QWidget* window) {
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    if (sub->isMinimized())
        sub->showNormal();
    else
        sub->show();
    if (QMdiArea* area = sub->mdiArea())
        area->setActiveSubWindow(sub);
}
