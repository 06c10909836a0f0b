#include "grid/UserList.h"

#include "grid/CommandErrors.h"

#include <cstring>

TUserList::TUserList(QObject* parent) : TUserCell(parent), listBox_(std::make_unique<UListBox>()) {}

TUserList::~TUserList() = default;

void TUserList::SetList(const QStringList& strings) {
    list_ = strings;
    if (Grid())
        Grid()->Repaint();
}

int TUserList::ListCount() {
    if (!list_.isEmpty())
        return static_cast<int>(list_.size());
    return Grid() ? Grid()->GetListStringsCount(Column()) : 0;
}

QString TUserList::ListItem(int i) {
    if (!list_.isEmpty())
        return i >= 0 && i < list_.size() ? list_[i] : QString();
    if (!Grid())
        return QStringLiteral("Fehler");
    return Grid()->GetListStrings(Column(), i);
}

int TUserList::GetNIndex(int& index, const QString& text) {
    index = 0;
    if (text.isEmpty())
        return 0;
    const int count = ListCount();
    int matches = 0;
    for (int i = 0; i < count; ++i) {
        if (ListItem(i).startsWith(text, Qt::CaseInsensitive)) {
            index = i;
            ++matches;
        }
    }
    if (matches <= 1)
        return matches;
    index = 0;
    matches = 0;
    for (int i = 0; i < count; ++i) {
        const QString item = ListItem(i);
        if (!item.startsWith(text, Qt::CaseSensitive))
            continue;
        index = i;
        if (item.size() == text.size())
            return 1;
        ++matches;
    }
    return matches;
}

void TUserList::ValueToText(const void* value, QString& text) {
    if (!value)
        return;
    int32_t index;
    std::memcpy(&index, value, sizeof index);
    text = index >= 0 && index < ListCount() ? ListItem(index) : QString();
}

bool TUserList::Textfilter(QString& text) {
    int index = 0;
    const int matches = GetNIndex(index, text);
    if (matches == 0)
        return false;
    if (matches == 1)
        text = ListItem(index);
    return true;
}

const void* TUserList::TextToValue(const QString& text) {
    int index = 0;
    if (GetNIndex(index, text) == 0)
        return nullptr;
    index_ = index;
    return &index_;
}

bool TUserList::UDblClick(void* value) {
    const int count = ListCount();
    if (!value || count <= 0)
        return false;
    int32_t index;
    std::memcpy(&index, value, sizeof index);
    index = index >= 0 && index < count ? (index + 1) % count : 0;
    std::memcpy(value, &index, sizeof index);
    if (Grid())
        Grid()->SetEditText(ListItem(index));
    return true;
}

void TUserList::UMouseDown(int row, int col, int x, int y, void*) {
    if (!Grid())
        return;
    listBox_->clear();
    const int count = ListCount();
    if (count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        auto* item = new UMenuItem(ListItem(i), i, listBox_.get());
        connect(item, &QAction::triggered, this,
                [this, item] { RunCommand([this, item] { PopupClick(item); }); });
        listBox_->addAction(item);
    }
    listBox_->row = row;
    listBox_->col = col;
    Grid()->OpenListMenu(listBox_.get(), x, y);
}

void TUserList::PopupClick(UMenuItem* item) {
    GridCore* grid = Grid();
    if (!grid || !item)
        return;
    const int row = listBox_->row;
    const int col = listBox_->col;
    if (row < grid->FixedRows() || row >= grid->RowCount() || col < 1 || col >= grid->ColCount())
        return;
    // The menu may outlive the edit cell (the grid lost the focus meanwhile).
    if (grid->EditRow() != row || grid->EditCol() != col) {
        grid->Push();
        LoadEditText(row, col);
        grid->SetEditChanged(false);
    }
    // The row becomes valid before the choice is stored, so that the
    // defaults of a new row do not replace it.
    grid->SetEditText(ListItem(item->Index()));
    grid->Change();
    grid->Push();
    grid->InvalidateCell(row, col);
}
