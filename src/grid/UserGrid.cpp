#include "grid/UserGrid.h"

#include "grid/CommandErrors.h"
#include "grid/GridMessages.h"
#include "grid/UserCell.h"
#include "grid/UserHeader.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStatusTipEvent>
#include <climits>

namespace {

const QColor kGridLineColour(160, 160, 160);

// The keys the grid wants even when a menu or window has a shortcut on them.
bool GridKey(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C:
        case Qt::Key_V:
        case Qt::Key_X:
        case Qt::Key_Delete:
        case Qt::Key_Z:
        case Qt::Key_Y:
        case Qt::Key_A:
        case Qt::Key_D:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return false;
        }
    }
    if (mods & Qt::AltModifier)
        return key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_Insert ||
               key == Qt::Key_Delete;
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return true;
    default:
        return !event.text().isEmpty() && event.text()[0].isPrint();
    }
}

// Text on a dark cell (the blue block) is white, else black.
QColor TextColour(const QColor& fill) {
    return qGray(fill.rgb()) < 100 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

TUserGrid::TUserGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    popupMenu1_ = new QMenu(this);
    connect(popupMenu1_->addAction(QString::fromUtf8(kBlockMenuAdd)), &QAction::triggered, this,
            [this] { RunCommand([this] { AddPoupClick(); }); });
    connect(popupMenu1_->addAction(QString::fromUtf8(kBlockMenuMultiply)), &QAction::triggered,
            this, [this] { RunCommand([this] { MultPoupClick(); }); });
    connect(popupMenu1_->addAction(QString::fromUtf8(kBlockMenuDelete)), &QAction::triggered, this,
            [this] { RunCommand([this] { DelPoupClick(); }); });
    connect(popupMenu1_->addAction(QString::fromUtf8(kBlockMenuSeries)), &QAction::triggered, this,
            [this] { RunCommand([this] { SeriesPoupClick(); }); });
    // The grid fills its parent (unless a layout places it).
    if (parent) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
    RowsChanged();
}

TUserGrid::~TUserGrid() {
    Detach();
}

void TUserGrid::SetParentForm(QWidget* form) {
    parentForm_ = form;
    PostAdjust();
}

// ---- what GridCore asks of the window ---------------------------------------------

int TUserGrid::TextWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text);
}

int TUserGrid::TextHeight() const {
    return fontMetrics().height();
}

bool TUserGrid::HasFocus() const {
    return hasFocus();
}

int TUserGrid::ClientWidth() const {
    return viewport()->width();
}

int TUserGrid::ClientHeight() const {
    return viewport()->height();
}

QString TUserGrid::ClipboardText() const {
    return QGuiApplication::clipboard()->text();
}

void TUserGrid::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void TUserGrid::OpenListMenu(QMenu* menu, int x, int y) {
    menu->popup(viewport()->mapToGlobal(QPoint(x, y)));
}

// The status bar of the main window shows the text (a status tip travels
// up to it).
void TUserGrid::ShowStatus(const QString& text) {
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void TUserGrid::SwitchPage(int step) {
    Q_EMIT PageStepRequested(step);
}

void TUserGrid::OpenBlockMenu(int x, int y) {
    popupMenu1_->popup(viewport()->mapToGlobal(QPoint(x, y)));
}

void TUserGrid::TakeFocus() {
    setFocus(Qt::OtherFocusReason);
}

void TUserGrid::InvalidateRect(const QRect& rect) {
    viewport()->update(rect);
}

void TUserGrid::InvalidateAll() {
    viewport()->update();
}

void TUserGrid::RowsChanged() {
    if (syncingScroll_)
        return;
    syncingScroll_ = true;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, RowCount() - FixedRows() - VisibleDataRows()));
    bar->setPageStep(VisibleDataRows());
    bar->setSingleStep(1);
    bar->setValue(TopRow() - FixedRows());
    syncingScroll_ = false;
}

void TUserGrid::ColumnsResized() {
    PostAdjust();
    viewport()->update();
}

void TUserGrid::scrollContentsBy(int, int) {
    if (syncingScroll_)
        return;
    syncingScroll_ = true;
    SetTopRow(FixedRows() + verticalScrollBar()->value());
    syncingScroll_ = false;
    viewport()->update();
}

// ---- width adjustment -----------------------------------------------------------------

// One adjustment is queued at a time, and only a change of size queues one,
// so a parent that cannot take the width ends the adjusting at once.
void TUserGrid::PostAdjust() {
    if (adjustPending_)
        return;
    adjustPending_ = true;
    PostWindowMessage(this, UGM_ADJUST);
}

void TUserGrid::Adjust() {
    adjustPending_ = false;
    ++adjustCount_;
    QWidget* form = parentForm_;
    if (form && isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus) {
        const int change = GetDWidth();
        if (change != 0 && !form->isMinimized() && !form->isMaximized())
            form->resize(form->width() + change, form->height());
        DrawHeader();
    } else if (AlowStrech()) {
        StretchColumns();
    }
}

void TUserGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RowsChanged();
    SetTopRow(TopRow());
    PostAdjust();
}

void TUserGrid::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    PostAdjust();
}

bool TUserGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && !parentWidget()->layout())
        setGeometry(parentWidget()->rect());
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- messages and input -----------------------------------------------------------------

bool TUserGrid::event(QEvent* event) {
    switch (static_cast<int>(event->type())) {
    case UGM_ADJUST:
        RunCommand([this] { Adjust(); });
        return true;
    case UGM_CLEARROW:
        RunCommand([this] { ClearCurrentRow(); });
        return true;
    case UGM_GOTOCELL:
        // Sent to a grid, 3027 is always a cell to show (UM_REFRESH goes only
        // to child windows); an event without parameters is no message.
        if (const auto* message = dynamic_cast<const WindowMessage*>(event)) {
            if (message->WParam() >= 0 && message->WParam() <= INT_MAX && message->LParam() >= 0 &&
                message->LParam() < kGridColumnSlots) {
                show();
                setFocus(Qt::OtherFocusReason);
                RunCommand([this, message] {
                    GotoCell(static_cast<int>(message->WParam()),
                             static_cast<int>(message->LParam()));
                });
            }
            return true;
        }
        break;
    case QEvent::ShortcutOverride:
        if (GridKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QAbstractScrollArea::event(event);
}

// One QKeyEvent is both the key going down and its character: the key goes
// to the column first, and its text is typed only when the key was not
// consumed and neither Ctrl nor Alt is held.
void TUserGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        mods |= Qt::ShiftModifier;
    }
    event->accept();
    RunCommand([&] {
        const bool consumed = UKeyDown(key, mods);
        if (consumed || (mods & (Qt::ControlModifier | Qt::AltModifier)))
            return;
        for (const QChar ch : event->text())
            UKeyPress(ch);
    });
}

void TUserGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    RunCommand([&] {
        if (event->button() == Qt::LeftButton)
            UMouseDown(GridButton::Left, at.x(), at.y());
        else if (event->button() == Qt::RightButton)
            UMouseDown(GridButton::Right, at.x(), at.y());
    });
}

void TUserGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    RunCommand([&] {
        if (event->button() == Qt::LeftButton)
            UMouseDown(GridButton::Left, at.x(), at.y(), true);
        else if (event->button() == Qt::RightButton)
            UMouseDown(GridButton::Right, at.x(), at.y());
    });
}

void TUserGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    RunCommand([&] { UMouseMove(at.x(), at.y()); });
}

void TUserGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        RunCommand([this] { UMouseUp(); });
}

void TUserGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RunCommand([&] { FocusGained(event->reason() != Qt::PopupFocusReason); });
}

// A popup menu (the block menu, a list's choice menu) takes the focus only
// for its own time: the edit goes on when it closes.
void TUserGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) {
        viewport()->update();
        return;
    }
    FocusLost();
}

void TUserGrid::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

// ---- painting -------------------------------------------------------------------------------

void TUserGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, palette().color(QPalette::Base));
    const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleDataRows());
    const int pitch = DefaultRowHeight() + GridLineWidth();
    const int bottom = (FixedRows() + lastRow - TopRow() + 1) * pitch;
    painter.fillRect(QRect(0, 0, GetWidth(), bottom) & clip, kGridLineColour);
    const QColor face = palette().color(QPalette::Button);
    QSet<const TUserHeader*> drawn;
    for (int row = 0; row <= lastRow; row = row + 1 == FixedRows() ? TopRow() : row + 1) {
        for (int col = 0; col < ColCount(); ++col) {
            const QRect rect = CellRect(row, col);
            if (rect.isEmpty() || !rect.intersects(clip))
                continue;
            if (row < FixedRows()) {
                const TUserHeader* header = Headers(row, col);
                if (!header)
                    painter.fillRect(rect, face);
                else if (!drawn.contains(header))
                    header->Draw(painter, face);
                drawn.insert(header);
            } else if (TUserCell* cell = Columns(col); cell && col >= FixedCols()) {
                DrawCellPaint(painter, cell->PaintCell(row, col));
            } else {
                DefaultDraw(painter, row, col, rect);
            }
        }
    }
}

void TUserGrid::DrawCellPaint(QPainter& painter, const CellPaint& paint) const {
    if (!paint.paint)
        return;
    painter.fillRect(paint.rect, paint.fill);
    if (!paint.showText)
        return;
    painter.save();
    painter.setClipRect(paint.rect);
    painter.setPen(TextColour(paint.fill));
    painter.drawText(paint.textX, paint.textY + fontMetrics().ascent(), paint.text);
    if (paint.caretX >= 0) {
        painter.setPen(Qt::black);
        painter.drawLine(paint.caretX, paint.rect.top() + 1, paint.caretX, paint.rect.top() + 16);
    }
    painter.restore();
}

// The row-number cells: framed, the number centred; red for the current row
// while the grid has no focus (SelectRow).
void TUserGrid::DefaultDraw(QPainter& painter, int row, int col, const QRect& rect) const {
    if (col != 0 || row < FixedRows()) {
        painter.fillRect(rect, palette().color(QPalette::Base));
        return;
    }
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(NumberCellMarked(row) ? kNumberCellRed : palette().color(QPalette::Button));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    const QString number = QString::number(row - FixedRows() + 1);
    const QFontMetrics metrics = fontMetrics();
    const int x =
        static_cast<int>(rect.left() + (rect.width() - metrics.horizontalAdvance(number)) / 2.0);
    const int y = static_cast<int>(rect.top() + (rect.height() - metrics.height()) / 2.0);
    painter.drawText(x, y + metrics.ascent(), number);
    painter.restore();
}
