#pragma once

#include "model/InputContainer.h"

class Document;

// The rows of the window "Lastfälle": one per load case of the document, with
// its name (the only cell the user edits: it renames the load case), its
// file, its change mark and whether it is the current one. The rows follow
// the document (Sync); the table holds no data of its own.
class LoadCaseTable : public InputContainer {
public:
    static constexpr int kTextBytes = 1000;
    enum Column { kName, kFile, kModified, kCurrent, kColumns };
    struct Rec {
        RecordHead head;
        char text[kColumns][kTextBytes];
    };

    explicit LoadCaseTable(Document& document);

    // The rows become those of the document's load cases.
    void Sync();

    int IsRowValid(int row, int col) override;
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    bool IsCellReadOnly(int row, int col) override;
    // A command of the grid that empties or fills rows changes no load case:
    // the rows are shown as the document has them.
    void NotifyChanged() override;
    bool CopyRow(int, int) override { return false; }

private:
    Document& document_;
    bool syncing_ = false;
};
