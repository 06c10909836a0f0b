#pragma once

#include <QString>
#include <vector>

// One cell of a pasted text: its row and column counted from the cell the
// paste starts at, and its text.
struct PastedCell {
    int row;
    int col;
    QString text;
};

// Splits a clipboard text into the cells a paste stores, in order. A tab
// moves one column to the right, a CR one row down, an LF back to the
// starting column; an LF without a CR before it (the line end of Linux
// programs) also moves one row down. Empty fields between separators store
// nothing, except an empty first field when the text begins with a separator.
std::vector<PastedCell> SplitPasteText(const QString& text);
