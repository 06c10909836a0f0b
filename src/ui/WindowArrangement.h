#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the commands of the "Fenster" menu put the child windows of the
// client area, worked out on sizes alone. Every size is a child window's
// frame size, every place relative to the client area's visible part.

// The property of a child window's frame that holds the size it opened with.
inline constexpr const char* kInitialSizeProperty = "balkorInitialSize";

// A child window as the arrangement sees it.
struct ChildWindowSize {
    QSize current;
    QSize initial; // the size it opened with
    QSize minimum;
    // The window sets its own width (the input windows follow their grids'
    // columns), so a tile keeps it.
    bool ownWidth = false;
};

// "Überlappend": each window one step further down and right than the one
// before, at least as large as it opened where that fits in the area; a
// window that would not fit starts again at the top left corner.
QList<QRect> CascadeRects(const QList<ChildWindowSize>& windows, QSize area, int step);

// "Nebeneinander": the windows in their order in rows of at most ⌈√n⌉, no two
// overlapping; a window that does not fit beside the others of its row starts
// the next row. Windows with their own width keep it, the others share the
// rest of their row. A window whose minimum needs more room than the area has
// reaches beyond its edge (the client area scrolls).
QList<QRect> TileRects(const QList<ChildWindowSize>& windows, QSize area);

// "Symbole anordnen": the minimised windows side by side along the bottom edge
// from the left; one that does not fit beside the others starts a new row
// above them.
QList<QPoint> IconPositions(const QList<QSize>& icons, QSize area);

// The place nearest to window's at which it lies inside the area; a window
// larger than the area keeps its top left corner inside.
QPoint PlaceInside(const QRect& window, QSize area);

class QWidget;
// A child window to the front: its frame shown (restored when minimised) and
// made the area's active window; a window without a frame is raised itself.
void BringWindowToFront(QWidget* window);
