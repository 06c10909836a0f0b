#pragma once

#include "grid/GridCore.h"

#include <QChar>
#include <QColor>
#include <QObject>
#include <QString>

// A column component: serves one data column of one grid. It turns the
// stored value into the cell text and typed text back into a value, filters
// and maps typed characters, handles the editing keys and describes how its
// cells are painted. TUserInt and TUserList are the columns in use.
//
// The window that holds the grid creates its columns (usually with itself as
// the QObject parent), sets Column, ColWidth and the other properties and then
// Grid. A column releases its grid slot when it is destroyed; a grid that goes
// first unbinds its columns.
class TUserCell : public QObject {
    Q_OBJECT
public:
    explicit TUserCell(QObject* parent = nullptr);
    ~TUserCell() override;

    // The grid column served; a negative value serves none. Moving a bound
    // column releases its old slot.
    int Column() const { return column_; }
    void SetColumn(int column);
    // When > 0, the grid moves on to the next cell as soon as the text has
    // this many characters.
    int MaxTextLen() const { return maxTextLen_; }
    void SetMaxTextLen(int length) { maxTextLen_ = length; }
    // Column width in pixels, given to the grid column when > 0.
    int ColWidth() const { return colWidth_; }
    void SetColWidth(int width);
    GridCore* Grid() const { return grid_; }
    void SetGrid(GridCore* grid);
    // Centre the text instead of a 3-pixel left margin.
    bool Center() const { return center_; }
    void SetCenter(bool flag);
    // Character map: pairs (from, to); "0N1J" turns a typed 0 into N, 1 into J.
    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& filter) { filter_ = filter; }
    // A computed column: shown grey, never edited, skipped by Tab and Enter.
    bool OnlyRead() const { return onlyRead_; }
    void SetOnlyRead(bool flag);

    // The text of a stored value (nothing for no value).
    virtual void ValueToText(const void* value, QString& text) = 0;
    // May rewrite an edited text; false refuses the edit (the caller keeps
    // the text as it was and beeps).
    virtual bool Textfilter(QString& text);
    // The character to insert, or 0 to refuse it.
    virtual QChar Charfilter(QChar ch);
    virtual QColor CellColor(int row, int col);
    // Block arithmetic on the stored value in place; false when the result
    // cannot be stored (the value stays as it was).
    virtual bool Add(void* value, double x);
    virtual bool Mult(void* value, double x);
    // The value of a text, valid until the next call; nullptr when the text
    // cannot be stored (the stored value stays).
    virtual const void* TextToValue(const QString& text) = 0;
    // The text that stores exactly this value again: the clipboard's and
    // the fill commands' text (a number with all its digits).
    virtual QString ExactText(const void* value);
    // Puts a text that was not typed (pasted, filled) through what typing
    // applies: the grid's and the column's character filters, the map and
    // the text filter. False when the cell could not take it.
    bool FilterText(QString& text);
    virtual void EditChar(QChar ch);
    // An editing key; true when consumed (the platform grid does not see it).
    virtual bool EditKey(int key, Qt::KeyboardModifiers shift);
    // A double click on the current cell; true when it changed the value.
    virtual bool UDblClick(void* value);
    // The right button outside the block; (x, y) the bottom-left corner of the
    // current cell.
    virtual void UMouseDown(int row, int col, int x, int y, void* value);
    // The caret to the character boundary nearest to x (from the column's left).
    virtual void PlaceCursor(int row, int col, int x);
    virtual QChar MapChar(QChar ch);
    virtual CellPaint PaintCell(int row, int col);
    // 1 for a list column, 0 otherwise.
    virtual int GetCellTyp() const { return 0; }
    // Distributes a clipboard text over the grid from the edit row and column col.
    virtual void PasteText(int col, const QString& text);

    // Makes (row, col) the grid's edit cell with the stored text.
    void LoadEditText(int row, int col);
    // The text's left margin in the cell (stored for PrefixWidth).
    int TextOffset(int col, const QString& text);
    // Width of the first count characters plus the text offset.
    int PrefixWidth(const QString& text, int count) const;
    // The shown text of a stored cell.
    QString CellText(int row, int col);

    // Called by a grid that goes away while this column is bound to it.
    void GridDestroyed(GridCore* grid);

private:
    // Backspace (before the caret) and Delete (after it).
    void DeleteChar(bool before);
    void Register();
    void Unregister();

    int column_ = 0;
    int maxTextLen_ = 0;
    int colWidth_ = 0;
    GridCore* grid_ = nullptr;
    bool center_ = false;
    QString filter_;
    bool onlyRead_ = false;
    int textOffset_ = 3;
};
