#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class GridCore;
class InputContainer;
struct InputModel;

// The ten input pages' grids as the input windows set them up (columns,
// formats, lists, widths and headers), for tests that need real grids.
enum class Page {
    Knoten,
    Staebe,
    Querschnitte,
    Gelenke,
    Knotenlasten,
    Zwangsverformungen,
    Streckenlasten,
    Einzellasten,
    Gelenklasten,
    Temperatur
};
inline constexpr int kPageCount = 10;

QString PageName(Page page);
InputContainer& PageTable(InputModel& model, Page page);

// Configures grid like the page and binds it to the page's table of model;
// the column and header objects are returned (they must outlive the binding).
std::vector<std::unique_ptr<QObject>> SetUpPage(GridCore& grid, Page page, InputModel& model);
