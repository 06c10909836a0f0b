#pragma once

#include <QString>

class GridCore;
class InputContainer;
class QObject;
struct InputModel;

// The pages of the two input windows: the geometry window's five and the
// load window's six, each in its window's order but for the springs, which
// came last.
enum class InputPage {
    Knoten,
    Staebe,
    Querschnitte,
    Gelenke,
    Knotenlasten,
    Zwangsverformungen,
    Streckenlasten,
    Einzellasten,
    Gelenklasten,
    Temperatur,
    Federn
};
inline constexpr int kInputPageCount = 11;
inline constexpr int kGeometryPageCount = 5;

// The page's tab caption; the plausibility checks name pages by it.
QString InputPageCaption(InputPage page);
// The record table the page's grid edits.
InputContainer& InputPageTable(InputModel& model, InputPage page);
// The help topic of the page's grid.
int InputPageHelpTopic(InputPage page);

// Lays the grid out like the page: column count, header rows, widths, one
// column object per data column (numbers with their formats, choice lists
// with their filters) and the header captions. The column and header objects
// are children of owner. The grid is not bound to a table here.
void SetUpInputPage(GridCore& grid, InputPage page, QObject* owner);
