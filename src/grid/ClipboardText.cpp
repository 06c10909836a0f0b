#include "grid/ClipboardText.h"

std::vector<PastedCell> SplitPasteText(const QString& text) {
    std::vector<PastedCell> cells;
    int row = 0;
    int col = 0;
    PastedCell target{0, 0, QString()};
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\t') {
            ++col;
        } else if (ch == u'\r') {
            ++row;
        } else if (ch == u'\n') {
            if (i == 0 || text[i - 1] != u'\r')
                ++row;
            col = 0;
        } else {
            if (pending) {
                cells.push_back(target);
                target = PastedCell{row, col, QString()};
                pending = false;
            }
            target.text += ch;
            continue;
        }
        pending = true;
    }
    if (!target.text.isEmpty())
        cells.push_back(target);
    return cells;
}
