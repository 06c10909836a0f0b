// A grid bound to the node table of the bridge example, as a user sees it:
// while editing, with a block selected, with the block menu open, and the
// number dialog. With BALKOR_GRID_SCREENSHOTS set to a folder, the screen is
// saved there after each step (run under Xvfb with a window manager).
#include "GridWindow.h"
#include "grid/CellDialog.h"
#include "model/InputFiles.h"
#include "support/QtTestRegistry.h"

#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QScreen>

class GridScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editingBlockAndMenu() {
        GridWindow w(Page::Knoten, QSize(500, 420));
        QVERIFY(LoadSystemFile(w.model, BALKOR_SOURCE_DIR "/examples/bruecke.bsy"));
        w.window.setWindowTitle(QStringLiteral(" Geometrie:  bruecke.bsy"));
        w.window.move(40, 40);
        w.grid->SetParentForm(&w.window);
        QVERIFY(w.Show());
        QWidget* viewport = w.grid->viewport();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, w.Centre(4, 2));
        QTest::keyClicks(w.grid, QStringLiteral("12,5"));
        QCOMPARE(w.grid->EditText(), QStringLiteral("12,5"));
        Shot("grid-editing.png");

        QTest::keyClick(w.grid, Qt::Key_Tab);
        QCOMPARE(w.model.nodes.At(2)->y, 12.5);
        QTest::mousePress(viewport, Qt::LeftButton, {}, w.Centre(3, 1));
        QTest::mouseMove(viewport, w.Centre(5, 2));
        QTest::mouseMove(viewport, w.Centre(7, 2));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, w.Centre(7, 2));
        QVERIFY(w.grid->BlockActive());
        Shot("grid-block.png");

        QTest::mouseClick(viewport, Qt::RightButton, {}, w.Centre(6, 2));
        QTRY_VERIFY(w.grid->PopupMenu1()->isVisible());
        Shot("grid-block-menu.png");
        w.grid->PopupMenu1()->close();

        TCellDialog1 dialog(w.grid);
        dialog.setWindowTitle(QStringLiteral("Verschieben zur Zeile"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(dialog.MyEdit1, QStringLiteral("3,5"));
        Shot("grid-cell-dialog.png");
        dialog.close();
    }

private:
    void Shot(const char* name) {
        const QString folder = qEnvironmentVariable("BALKOR_GRID_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(300);
        const QString path = folder + u'/' + QString::fromUtf8(name);
        QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(path), qPrintable(path));
    }
};

BALKOR_REGISTER_TEST(GridScreenshotTest);

#include "ScreenshotTest.moc"
