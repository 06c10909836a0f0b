#include "grid/UserHeader.h"

#include "grid/GridCore.h"

#include <QPainter>

TUserHeader::TUserHeader(QObject* parent) : QObject(parent) {}

TUserHeader::~TUserHeader() {
    if (grid_)
        grid_->RemoveHeader(this);
}

void TUserHeader::SetGrid(GridCore* grid) {
    if (grid_ && grid_ != grid)
        grid_->RemoveHeader(this);
    grid_ = grid;
    Actual();
}

void TUserHeader::SetRowB(int row) {
    rowB_ = row;
    Actual();
}

void TUserHeader::SetRowE(int row) {
    rowE_ = row;
    Actual();
}

void TUserHeader::SetColB(int col) {
    colB_ = col;
    Actual();
}

void TUserHeader::SetColE(int col) {
    colE_ = col;
    Actual();
}

void TUserHeader::SetSpan(int rowB, int rowE, int colB, int colE) {
    rowB_ = rowB;
    rowE_ = rowE;
    colB_ = colB;
    colE_ = colE;
    Actual();
}

void TUserHeader::SetText(const QString& text) {
    text_ = text;
    Actual();
}

void TUserHeader::Actual() {
    if (!grid_)
        return;
    if (0 <= rowB_ && rowB_ <= rowE_ && 0 <= colB_ && colB_ <= colE_)
        grid_->SetHeader(rowB_, rowE_, colB_, colE_, this);
    else
        grid_->RemoveHeader(this);
}

QRect TUserHeader::Rect() const {
    if (!grid_)
        return QRect();
    const QPoint topLeft = grid_->TopLeft(rowB_, colB_);
    const QPoint bottomRight = grid_->BottomRight(rowE_, colE_);
    return QRect(topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x(),
                 bottomRight.y() - topLeft.y());
}

void TUserHeader::Draw(QPainter& painter, const QColor& face) const {
    if (!grid_)
        return;
    const QRect rect = Rect();
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(face);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setClipRect(rect);
    const QFontMetrics metrics = painter.fontMetrics();
    const int x =
        static_cast<int>(rect.left() + (rect.width() - metrics.horizontalAdvance(text_)) / 2.0);
    const int y = static_cast<int>(rect.top() + (rect.height() - metrics.height()) / 2.0);
    painter.drawText(x, y + metrics.ascent(), text_);
    painter.restore();
}

void TUserHeader::GridDestroyed(GridCore* grid) {
    if (grid_ == grid)
        grid_ = nullptr;
}
