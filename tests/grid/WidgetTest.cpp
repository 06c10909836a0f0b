// The grid as a window, offscreen: Qt's keys, mouse, focus, clipboard and
// messages reach the grid's rules; widths follow; the cells are painted in
// their colours.
#include "FakeGrid.h"
#include "GridLayouts.h"
#include "GridWindow.h"
#include "grid/GridMessages.h"
#include "grid/UserGrid.h"
#include "grid/UserHeader.h"
#include "support/QtTestRegistry.h"
#include "support/TableRows.h"
#include "ui/BalkorApplication.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <memory>

class GridWidgetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysTypeAndMove() {
        GridWindow w(Page::Knoten);
        QVERIFY(w.Show());
        QTest::keyClicks(w.grid, QStringLiteral("1,5"));
        QTest::keyClick(w.grid, Qt::Key_Tab);
        QCOMPARE(w.model.nodes.At(0)->x, 1.5);
        QCOMPARE(w.grid->Col(), 2);
        QCOMPARE(QApplication::focusWidget(), w.grid); // Tab stays in the grid
        QTest::keyClick(w.grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w.grid->Col(), 1);
        QCOMPARE(QApplication::focusWidget(), w.grid);
        // With Ctrl or Alt held the key's text is not typed.
        QTest::keyClick(w.grid, Qt::Key_5, Qt::ControlModifier);
        QTest::keyClick(w.grid, Qt::Key_7, Qt::AltModifier);
        QVERIFY(!w.grid->EditChanged());
        QCOMPARE(w.grid->EditText(), QStringLiteral("1.500"));
        QTest::keyClick(w.grid, Qt::Key_Down);
        QCOMPARE(w.grid->Row(), 3);
    }

    void umlautsReachTheColumn() {
        GridWindow w(Page::Knoten);
        QVERIFY(w.Show());
        BeepCounter beeps;
        QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
        QApplication::sendEvent(w.grid, &umlaut);
        QCOMPARE(beeps.count, 1); // the grid lets it through, the number column refuses it
        QVERIFY(GridCore::AcceptsChar(u'ß'));
        QVERIFY(!GridCore::AcceptsChar(u' '));
        QVERIFY(!GridCore::AcceptsChar(u'\t'));
        QVERIFY(!GridCore::AcceptsChar(u'é'));
    }

    void gridKeysWinOverShortcuts() {
        GridWindow w(Page::Knoten);
        auto* copyAction = new QAction(&w.window);
        copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
        w.window.addAction(copyAction);
        int triggered = 0;
        connect(copyAction, &QAction::triggered, [&] { ++triggered; });
        ValidRecord(w.model.nodes, 0).x = 2.5;
        w.model.nodes.Refresh();
        QVERIFY(w.Show());
        w.grid->SetBlock(2, 1, 2, 2, true);
        QTest::keyClick(w.grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(triggered, 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2.5\t0\t\r\n"));
    }

    void pasteTakesLinuxLineEnds() {
        GridWindow w(Page::Knoten);
        QVERIFY(w.Show());
        QGuiApplication::clipboard()->setText(QStringLiteral("7\n8\n"));
        QTest::keyClick(w.grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.model.nodes.At(0)->x, 7.0);
        QCOMPARE(w.model.nodes.At(1)->x, 8.0);
    }

    void failedPasteReachesTheErrorHandler() {
        GridWindow w(Page::Temperatur);
        QVERIFY(w.Show());
        auto* app = static_cast<BalkorApplication*>(QCoreApplication::instance());
        QStringList shown;
        app->SetErrorHandler([&](const QString& message) { shown << message; });
        w.grid->MoveTo(2, 3);
        QGuiApplication::clipboard()->setText(QStringLiteral("4\t5"));
        QTest::keyClick(w.grid, Qt::Key_V, Qt::ControlModifier);
        app->SetErrorHandler(nullptr);
        QCOMPARE(shown, QStringList({QStringLiteral("Kopierbeireich außerhalb der Tabelle")}));
        QCOMPARE(w.model.tempLoads.At(0)->dT, 4.0);
    }

    void mouseSelectsDragsAndOpensTheBlockMenu() {
        GridWindow w(Page::Knoten);
        QVERIFY(w.Show());
        QWidget* viewport = w.grid->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, w.Centre(4, 2));
        QCOMPARE(QPoint(w.grid->Col(), w.grid->Row()), QPoint(2, 4));
        QVERIFY(!w.grid->BlockActive());
        QTest::mousePress(viewport, Qt::LeftButton, {}, w.Centre(3, 1));
        QTest::mouseMove(viewport, w.Centre(5, 2));
        QTest::mouseMove(viewport, w.Centre(6, 3));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, w.Centre(6, 3));
        QVERIFY(w.grid->BlockActive());
        QVERIFY(w.grid->isBlock(5, 2));
        QVERIFY(!w.grid->isBlock(7, 2));
        QCOMPARE(QPoint(w.grid->Col(), w.grid->Row()), QPoint(1, 3));

        QTest::keyClicks(w.grid, QStringLiteral("5"));
        QTest::mouseClick(viewport, Qt::RightButton, {}, w.Centre(4, 2));
        QMenu* menu = w.grid->PopupMenu1();
        QTRY_VERIFY(menu->isVisible());
        QStringList items;
        for (const QAction* action : menu->actions())
            items << action->text();
        QCOMPARE(items, QStringList({QStringLiteral("Addieren"), QStringLiteral("Multiplizieren"),
                                     QStringLiteral("Löschen"), QStringLiteral("Reihe")}));
        // The menu took the focus, but the edit goes on.
        QVERIFY(w.grid->EditChanged());
        QCOMPARE(w.grid->EditRow(), 3);
        w.dialogs.numbers = {2.0};
        menu->actions().at(1)->trigger();
        menu->close();
        QCOMPARE(w.model.nodes.At(1)->x, 10.0); // the typed 5, then the block times 2
        QCOMPARE(w.model.nodes.At(2)->y, 0.0);
    }

    void rightButtonOpensNoParentMenu() {
        GridWindow w(Page::Knoten);
        int parentMenus = 0;
        w.window.setContextMenuPolicy(Qt::CustomContextMenu);
        connect(&w.window, &QWidget::customContextMenuRequested, [&] { ++parentMenus; });
        QVERIFY(w.Show());
        const QPoint at = w.Centre(3, 1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, w.grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w.grid->viewport(), &event);
        QCOMPARE(parentMenus, 0);
    }

    void focusLossStoresTheEdit() {
        GridWindow w(Page::Knoten);
        QVERIFY(w.Show());
        QTest::keyClicks(w.grid, QStringLiteral("42"));
        w.other->setFocus();
        QTRY_VERIFY(!w.grid->hasFocus());
        QCOMPARE(w.model.nodes.At(0)->x, 42.0);
        QCOMPARE(w.grid->EditRow(), -1);
        QVERIFY(!w.grid->Select());
        // The cell is selected again when the focus comes back: typing
        // replaces it.
        w.grid->setFocus();
        QTRY_VERIFY(w.grid->Select());
        QTest::keyClicks(w.grid, QStringLiteral("1"));
        QCOMPARE(w.grid->EditText(), QStringLiteral("1"));
    }

    void messagesShowAndClearCells() {
        GridWindow w(Page::Knoten);
        ValidRecord(w.model.nodes, 3).x = 1;
        w.model.nodes.Refresh();
        QVERIFY(w.Show());
        w.other->setFocus();
        QVERIFY(SendWindowMessage(w.grid, UGM_GOTOCELL, 3, 2));
        QCOMPARE(QPoint(w.grid->Col(), w.grid->Row()), QPoint(2, 5));
        QTRY_VERIFY(w.grid->hasFocus());
        QVERIFY(w.grid->Select());
        // An event of the number without parameters moves nothing.
        QEvent bare(static_cast<QEvent::Type>(UGM_GOTOCELL));
        QApplication::sendEvent(w.grid, &bare);
        QVERIFY(SendWindowMessage(w.grid, UGM_GOTOCELL, -1, 1));
        QVERIFY(SendWindowMessage(w.grid, UGM_GOTOCELL, 0, 99));
        QCOMPARE(QPoint(w.grid->Col(), w.grid->Row()), QPoint(2, 5));
        QVERIFY(SendWindowMessage(w.grid, UGM_CLEARROW));
        QCOMPARE(w.model.nodes.At(3)->flag, 0);
    }

    void parentFormFollowsTheColumns() {
        GridWindow w(Page::Knoten, QSize(300, 300));
        w.grid->SetParentForm(&w.window);
        QVERIFY(w.Show());
        QTRY_COMPARE(w.grid->GetDWidth(), 0);
        QVERIFY(w.window.width() > 300);
    }

    // A parent that cannot take the width ends the adjusting at once.
    void adjustingStopsWhenTheParentCannotFollow() {
        GridWindow w(Page::Knoten, QSize(300, 300));
        w.window.setMaximumWidth(300);
        w.grid->SetParentForm(&w.window);
        QVERIFY(w.Show());
        QTest::qWait(100);
        const int settled = w.grid->AdjustCount();
        QTest::qWait(200);
        w.grid->repaint();
        QTest::qWait(100);
        QCOMPARE(w.grid->AdjustCount(), settled);
        QVERIFY(settled <= 3);
        QVERIFY(w.grid->GetDWidth() > 0);
        w.window.setMaximumWidth(QWIDGETSIZE_MAX);
        w.window.showMaximized();
        QTest::qWait(200);
        const int maximised = w.grid->AdjustCount();
        QTest::qWait(200);
        QCOMPARE(w.grid->AdjustCount(), maximised);
    }

    void columnsStretchToTheWidth() {
        GridWindow w(Page::Querschnitte, QSize(800, 300));
        w.grid->SetAlowStrech(true);
        QVERIFY(w.Show());
        QTRY_COMPARE(w.grid->GetWidth(), w.grid->ClientWidth());
        FakeGrid narrow; // no room beyond the first column: nothing changes
        narrow.clientWidth = 30;
        narrow.SetFirstColumnWidth(40);
        QVERIFY(!narrow.StretchColumns());
        QCOMPARE(narrow.ColWidths(1), GridCore::DefaultColWidth());
        FakeGrid wide;
        wide.SetColCount(4);
        wide.SetFirstColumnWidth(40);
        for (int col = 1; col < 4; ++col)
            wide.SetColWidths(col, 100);
        QVERIFY(wide.StretchColumns());
        QCOMPARE(QList<int>({wide.ColWidths(1), wide.ColWidths(2), wide.ColWidths(3)}),
                 QList<int>({217, 217, 222}));
        QCOMPARE(wide.GetWidth(), 700);
    }

    void captionsFitAboveTheirColumns() {
        GridWindow w(Page::Knoten);
        const QFontMetrics metrics = w.grid->fontMetrics();
        for (const TUserHeader* header : w.parts->findChildren<TUserHeader*>()) {
            if (header->ColB() == 0)
                continue;
            int sum = 0;
            for (int col = header->ColB(); col <= header->ColE(); ++col)
                sum += w.grid->ColWidths(col);
            const int columns = header->ColE() - header->ColB() + 1;
            QVERIFY2(sum >= metrics.horizontalAdvance(header->Text()) + 4 - columns,
                     qPrintable(header->Text()));
        }
    }

    void cellsArePaintedInTheirColours() {
        GridWindow w(Page::Knoten);
        ValidRecord(w.model.nodes, 0).x = 1;
        w.model.nodes.Refresh();
        w.grid->SetSelectRow(true);
        QVERIFY(w.Show());
        QCOMPARE(QColor(w.Pixel(2, 1)), kCellAqua); // current and selected
        QCOMPARE(QColor(w.Pixel(2, 3)), kCellPaleAqua);
        QCOMPARE(QColor(w.Pixel(2, 2)), kCellWhite);
        w.grid->SetBlock(3, 1, 4, 2, true);
        QCOMPARE(QColor(w.Pixel(4, 2)), kCellBlue);
        w.other->setFocus();
        QTRY_VERIFY(!w.grid->hasFocus());
        QCOMPARE(QColor(w.Pixel(2, 0)), kNumberCellRed);
        QCOMPARE(QColor(w.Pixel(2, 1)), kCellWhite);
        // Scrolled to the end and back.
        w.grid->verticalScrollBar()->setValue(w.grid->verticalScrollBar()->maximum());
        QCOMPARE(w.grid->TopRow(), w.grid->RowCount() - w.grid->VisibleDataRows());
        w.grid->verticalScrollBar()->setValue(0);
        QCOMPARE(w.grid->TopRow(), w.grid->FixedRows());
    }
};

BALKOR_REGISTER_TEST(GridWidgetTest);

#include "WidgetTest.moc"
