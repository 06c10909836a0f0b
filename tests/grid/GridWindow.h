#pragma once

#include "GridLayouts.h"
#include "PageFixture.h"
#include "grid/UserGrid.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

// A window holding a grid set up like an input page, plus a line edit to
// take the focus away.
struct GridWindow {
    explicit GridWindow(Page page, QSize size = QSize(600, 420)) {
        model.SetObserver(&changes);
        window.resize(size);
        grid = new TUserGrid(&window);
        other = new QLineEdit(&window);
        other->setGeometry(0, size.height() - 2, 10, 2);
        grid->SetDialogs(&dialogs);
        parts = SetUpPage(*grid, page, model);
    }
    bool Show() {
        window.show();
        window.activateWindow();
        grid->setFocus();
        return QTest::qWaitForWindowActive(&window);
    }
    QPoint Centre(int row, int col) const { return grid->CellRect(row, col).center(); }
    QRgb Pixel(int row, int col) const {
        const QRect rect = grid->CellRect(row, col);
        return grid->viewport()->grab().toImage().pixel(rect.right() - 2, rect.top() + 2);
    }

    InputModel model;
    ChangeCounter changes;
    FakeGridDialogs dialogs;
    QWidget window;
    TUserGrid* grid;
    QLineEdit* other;
    std::unique_ptr<QObject> parts;
};
