#pragma once

#include "grid/GridCore.h"
#include "model/Tables.h"
#include "ui/InputPages.h"

#include <QObject>
#include <memory>

// The grids of the input windows' pages (ui/InputPages.h), for tests that
// need real grids without their windows.
using Page = InputPage;
inline constexpr int kPageCount = kInputPageCount;

inline QString PageName(Page page) {
    return InputPageCaption(page);
}

// Lays grid out like the page and binds it to the page's table of model;
// the returned object owns the column and header objects (which must
// outlive the binding).
inline std::unique_ptr<QObject> SetUpPage(GridCore& grid, Page page, InputModel& model) {
    auto parts = std::make_unique<QObject>();
    SetUpInputPage(grid, page, parts.get());
    grid.SetContainer(&InputPageTable(model, page));
    return parts;
}
