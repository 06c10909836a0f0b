#pragma once

#include "MainFormFixture.h"
#include "grid/UserCell.h"
#include "grid/UserGrid.h"

#include <QApplication>
#include <QTest>

// A shown and active main window on fresh tables, for typing into its input
// windows as a user does: real key and mouse events.
struct InputWindowFixture : MainFormFixture {
    InputWindowFixture() {
        form->resize(1180, 800);
        form->show();
        form->activateWindow();
        shown = QTest::qWaitForWindowActive(form.get());
    }

    TSystemInputForm& Geometry() {
        form->System1->trigger();
        return *form->GeometryWindow();
    }
    TLoadInputForm& Loads() {
        form->Belastung1->trigger();
        return *form->LoadWindow();
    }

    // Chooses a page with a click on its tab; its grid takes the focus.
    static TUserGrid* ShowPage(TInputForm& window, int index) {
        TPageTabs* tabs = window.PageControl1->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(index).center());
        return window.PageGrid(index);
    }
    // Makes a cell current with a click.
    static void Click(TUserGrid* grid, int row, int col) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(row, col).center());
    }
    // Key presses; "\t" is the Tab key.
    static void Type(TUserGrid* grid, const QString& keys) { QTest::keyClicks(grid, keys); }
    // The text a cell shows.
    static QString Shown(TUserGrid* grid, int row, int col) {
        return grid->Columns(col)->CellText(row, col);
    }

    bool shown = false;
};
