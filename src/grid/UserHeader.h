#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class GridCore;
class QPainter;
class QColor;

// One caption over a rectangle of a grid's fixed header rows: rows RowB …
// RowE, grid columns ColB … ColE. It is placed in the grid whenever its grid,
// span or text changes and the span fits the grid's header rows and columns;
// the columns under it widen when the caption needs it.
class TUserHeader : public QObject {
    Q_OBJECT
public:
    explicit TUserHeader(QObject* parent = nullptr);
    ~TUserHeader() override;

    GridCore* Grid() const { return grid_; }
    void SetGrid(GridCore* grid);
    int RowB() const { return rowB_; }
    int RowE() const { return rowE_; }
    int ColB() const { return colB_; }
    int ColE() const { return colE_; }
    void SetRowB(int row);
    void SetRowE(int row);
    void SetColB(int col);
    void SetColE(int col);
    // All four corners at once.
    void SetSpan(int rowB, int rowE, int colB, int colE);
    const QString& Text() const { return text_; }
    void SetText(const QString& text);

    // Hands the header to the grid when the span is complete.
    void Actual();
    // The header's rectangle in the grid's client pixels.
    QRect Rect() const;
    // Fills the rectangle with the face colour, frames it and centres the text.
    void Draw(QPainter& painter, const QColor& face) const;

    // Called by a grid that goes away while this header is placed in it.
    void GridDestroyed(GridCore* grid);

private:
    GridCore* grid_ = nullptr;
    int rowB_ = -1;
    int rowE_ = -1;
    int colB_ = -1;
    int colE_ = -1;
    QString text_;
};
