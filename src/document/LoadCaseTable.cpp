#include "document/LoadCaseTable.h"

#include "document/Document.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies text, cut at a whole UTF-8 character where it is too long.
void CopyText(char* to, const std::string& text) {
    size_t n = std::min(text.size(), static_cast<size_t>(LoadCaseTable::kTextBytes - 1));
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(to, text.data(), n);
    to[n] = '\0';
}

} // namespace

LoadCaseTable::LoadCaseTable(Document& document)
    : InputContainer(sizeof(Rec)), document_(document) {
    Sync();
}

void LoadCaseTable::Sync() {
    if (syncing_)
        return;
    syncing_ = true;
    const int n = document_.LoadCaseCount();
    for (int k = 0; k < n; ++k) {
        auto* rec = static_cast<Rec*>(RowRecord(k));
        const DocumentHalf& half = document_.LoadCaseAt(k);
        rec->head.flag = kFlagFile;
        CopyText(rec->text[kName], half.Name());
        CopyText(rec->text[kFile], half.File());
        CopyText(rec->text[kModified], half.Modified() ? "geändert" : "");
        CopyText(rec->text[kCurrent], k == document_.CurrentLoadCase() ? "aktuell" : "");
    }
    if (Count() > n)
        RemoveAt(n, Count() - n);
    InvalidateIndex();
    if (TableGrid* grid = Grid()) {
        grid->SetRowCount(std::max(n, 1) + grid->FixedRows());
        grid->Repaint();
    }
    syncing_ = false;
}

int LoadCaseTable::IsRowValid(int row, int /*col*/) {
    return row >= 0 && row < document_.LoadCaseCount() ? 1 : 0;
}

void* LoadCaseTable::ValuePtr(int row, int col) {
    if (row < 0 || row >= Count() || col < 0 || col >= kColumns)
        return nullptr;
    return static_cast<Rec*>(At(row))->text[col];
}

void LoadCaseTable::StoreValue(int row, int col, const void* value) {
    if (col != kName || row < 0 || row >= document_.LoadCaseCount() || !value)
        return;
    const std::string name = static_cast<const char*>(value);
    // A load case keeps a name: the protocols and the selector show it.
    if (!name.empty())
        document_.RenameLoadCase(row, name);
    Sync();
}

bool LoadCaseTable::IsCellReadOnly(int row, int col) {
    return col != kName || row < 0 || row >= document_.LoadCaseCount();
}

void LoadCaseTable::NotifyChanged() {
    Sync();
}
