#pragma once

#include "grid/UserCell.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <cstdint>
#include <memory>

// A choice menu entry: the index of the list entry it stands for.
class UMenuItem : public QAction {
    Q_OBJECT
public:
    UMenuItem(const QString& text, int index, QObject* parent = nullptr)
        : QAction(text, parent), index_(index) {}
    int Index() const { return index_; }

private:
    int index_;
};

// The choice menu of a list column, with the cell it was opened for.
class UListBox : public QMenu {
    Q_OBJECT
public:
    explicit UListBox(QWidget* parent = nullptr) : QMenu(parent) {}
    int row = -1;
    int col = -1;
};

// A choice column: the stored value is a 32-bit index into a fixed list of
// entries (its own List, or the table's list for the column when List is
// empty). Typing completes an entry as soon as the typed beginning is unique;
// a character that fits no entry is refused with the beep. A double click
// steps to the next entry; the right button opens the list as a menu.
class TUserList : public TUserCell {
    Q_OBJECT
public:
    explicit TUserList(QObject* parent = nullptr);
    ~TUserList() override;

    const QStringList& List() const { return list_; }
    void SetList(const QStringList& strings);

    int ListCount();
    // Entry i; "Fehler" without a grid and without an own list.
    QString ListItem(int i);
    // Number of entries that begin with text, index set to the chosen one:
    // first ignoring case; when several match, again with case, where an
    // entry exactly as long as the text wins at once.
    int GetNIndex(int& index, const QString& text);

    void ValueToText(const void* value, QString& text) override;
    bool Textfilter(QString& text) override;
    // nullptr for a text that names no entry: the stored choice stays.
    const void* TextToValue(const QString& text) override;
    bool UDblClick(void* value) override;
    void UMouseDown(int row, int col, int x, int y, void* value) override;
    int GetCellTyp() const override { return 1; }

    // A choice from the menu becomes the edit text, marked changed.
    void PopupClick(UMenuItem* item);
    UListBox* ListBox() const { return listBox_.get(); }

private:
    QStringList list_;
    std::unique_ptr<UListBox> listBox_;
    int32_t index_ = 0;
};
