// The window handling of the main window: the commands of the "Fenster" menu,
// a client area that reaches every child window, and the main window's place,
// size and file dialog folder from one run to the next.
#include "grid/GridMessages.h"
#include "settings/WindowState.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/QtProgram.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

// A tile is laid out again while the input windows still change their width
// to their columns (a grid that gains a scroll bar); two rounds settle it.
constexpr int kTilePasses = 3;

ChildWindowSize SizesOf(const QMdiSubWindow* sub) {
    ChildWindowSize sizes;
    sizes.current = sub->size();
    sizes.initial = sub->property(kInitialSizeProperty).toSize();
    sizes.minimum = sub->minimumSizeHint().expandedTo(sub->minimumSize());
    sizes.ownWidth = qobject_cast<const TInputForm*>(sub->widget()) != nullptr;
    return sizes;
}

QList<ChildWindowSize> SizesOf(const QList<QMdiSubWindow*>& windows) {
    QList<ChildWindowSize> sizes;
    for (const QMdiSubWindow* sub : windows)
        sizes << SizesOf(sub);
    return sizes;
}

// The height of a child window's title bar and upper frame: a cascade step.
int TitleHeight(const QMdiSubWindow* sub) {
    constexpr int kFallback = 24;
    return sub->widget() && sub->widget()->y() > 0 ? sub->widget()->y() : kFallback;
}

} // namespace

void TMainForm::SetUpClientArea() {
    // A child window reaching beyond an edge (a small main window, a window
    // the user moved) stays reachable.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TMainForm::KeepInsideClientArea(QMdiSubWindow* sub) const {
    if (!sub->isMinimized() && !sub->isMaximized())
        sub->move(PlaceInside(sub->geometry(), mdiArea->viewport()->size()));
}

QList<QMdiSubWindow*> TMainForm::ArrangedWindows() const {
    // Icons stay icons; a maximised window is arranged with its frame.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        if (sub->isHidden() || sub->isMinimized())
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        windows << sub;
    }
    return windows;
}

void TMainForm::WindowCascadeItemClick() {
    // In the order they lie on each other, so the window in front stays in
    // front and every title bar shows.
    const QList<QMdiSubWindow*> arranged = ArrangedWindows();
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (arranged.contains(sub))
            windows << sub;
    if (windows.isEmpty())
        return;
    const QList<QRect> rects =
        CascadeRects(SizesOf(windows), mdiArea->viewport()->size(), TitleHeight(windows.first()));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(rects[i]);
        windows[i]->raise();
    }
    mdiArea->setActiveSubWindow(windows.last());
}

void TMainForm::WindowTileItemClick() {
    const QList<QMdiSubWindow*> windows = ArrangedWindows();
    for (int pass = 0; pass < kTilePasses; ++pass) {
        const QList<QRect> rects = TileRects(SizesOf(windows), mdiArea->viewport()->size());
        bool moved = false;
        for (qsizetype i = 0; i < windows.size(); ++i)
            if (windows[i]->geometry() != rects[i]) {
                windows[i]->setGeometry(rects[i]);
                moved = true;
            }
        if (!moved)
            break;
        // The grids fit their windows to their columns now, not later.
        QCoreApplication::sendPostedEvents(nullptr, UGM_ADJUST);
    }
}

void TMainForm::WindowArrangeItemClick() {
    QList<QMdiSubWindow*> icons;
    QList<QSize> sizes;
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (sub->isMinimized()) {
            icons << sub;
            sizes << sub->size();
        }
    const QList<QPoint> places = IconPositions(sizes, mdiArea->viewport()->size());
    for (qsizetype i = 0; i < icons.size(); ++i)
        icons[i]->move(places[i]);
}

void TMainForm::WindowMinimizeItemClick() {
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        (*it)->showMinimized();
}

QSize TMainForm::FirstRunSize() const {
    // Room for the two input windows side by side (so that "Nebeneinander"
    // keeps them apart) and for the load window at its place, each with the
    // frame of a child window.
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight) + frame;
    const QSize area(kGeometryFormSize.width() + kLoadFormSize.width() + 4 * frame,
                     kLoadFormPosition.y() + kLoadFormSize.height() + title + frame);
    const int chrome =
        menuBar()->sizeHint().height() + ToolBar1->height() + statusBar()->sizeHint().height();
    // The columns of the grids widen with the font, and a scroll bar may come.
    constexpr QSize kSlack(48, 24);
    return area + QSize(2 * mdiArea->frameWidth(), chrome + 2 * mdiArea->frameWidth()) + kSlack;
}

void TMainForm::RestoreWindowState() {
    const WindowState state = configFile.isEmpty()
                                  ? WindowState()
                                  : ReadWindowState(WindowStatePath(configFile.toStdString()));
    if (!state.fileFolder.empty())
        dialogs_.SetFileFolder(QString::fromStdString(state.fileFolder));
    if (state.mainWindow) {
        // The place of the frame and the size inside it, as Qt restores
        // them on every desktop.
        move(state.mainWindow->x, state.mainWindow->y);
        resize(state.mainWindow->width, state.mainWindow->height);
    } else {
        resize(FirstRunSize());
    }
    // A screen given up since, or a smaller one, still shows the window.
    FitIntoScreen(*this);
    if (state.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::SaveWindowState() const {
    if (configFile.isEmpty())
        return;
    WindowState state;
    state.maximised = isMaximized();
    // The frame's place and the size inside it; of the normal window when
    // maximised or minimised.
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const QPoint place = normal.topLeft() - frameOffset;
    state.mainWindow = WindowRect{place.x(), place.y(), normal.width(), normal.height()};
    state.fileFolder = dialogs_.FileFolder().toStdString();
    WriteWindowState(state, WindowStatePath(configFile.toStdString()));
}
