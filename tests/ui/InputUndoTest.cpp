// Undo, redo and the page keys of the input windows, typed as a user types
// (real key events; also run under openbox: InputUndoUnderOpenbox).
#include "InputWindowFixture.h"
#include "support/QtTestRegistry.h"
#include "ui/PageControl.h"

#include <QTest>

class InputUndoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonsHaveTheirHints() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        for (TInputForm* window :
             {static_cast<TInputForm*>(&f.Geometry()), static_cast<TInputForm*>(&f.Loads())}) {
            QCOMPARE(window->UndoButton->toolTip(), QStringLiteral("Rückgängig (Strg+Z)"));
            QCOMPARE(window->RedoButton->toolTip(), QStringLiteral("Wiederherstellen (Strg+Y)"));
            QVERIFY(!window->UndoButton->isEnabled());
        }
    }

    // Typed values go back with Ctrl+Z and the button, the half is modified
    // again, and reading a file ends the steps.
    void undoAndRedoAcrossPages() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        TSystemInputForm& window = f.Geometry();
        TUserGrid* nodes = f.ShowPage(window, 0);
        f.Type(nodes, QStringLiteral("3\t4\t"));
        QCOMPARE(f.input.nodes.At(0)->y, 4.0);
        QTest::keyClick(nodes, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(window.PageControl1->ActivePageIndex(), 1);
        TUserGrid* beams = window.PageGrid(1);
        QTRY_VERIFY(beams->hasFocus());
        f.Type(beams, QStringLiteral("1\t"));
        QVERIFY(window.UndoButton->isEnabled());
        f.form->document.System().SetModified(false);
        QTest::keyClick(beams, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.input.beams.ValidCount(), 0);
        QVERIFY(f.form->document.System().Modified());
        // The next step is the node page's: the window shows that page.
        QTest::mouseClick(window.UndoButton, Qt::LeftButton);
        QCOMPARE(window.PageControl1->ActivePageIndex(), 0);
        QCOMPARE(f.input.nodes.At(0)->y, 0.0);
        QTest::keyClick(nodes, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.input.nodes.At(0)->y, 4.0);
        QTest::keyClick(nodes, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window.PageControl1->ActivePageIndex(), 1);
        QTest::keyClick(window.PageGrid(1), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.PageControl1->ActivePageIndex(), 0);
        QTest::keyClick(nodes, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(window.PageControl1->ActivePageIndex(), 4); // the last page, "Federn"
        // Saving under a name keeps the steps; a new system ends them.
        f.form->SetSystemFile(f.TempPath("named.bsy"));
        QVERIFY(window.History().CanUndo());
        f.dialogs.answers = {Answer::No}; // "Geometrie erst speichern ?"
        f.form->NewSystem();
        QVERIFY(!window.History().CanUndo());
        QVERIFY(!window.UndoButton->isEnabled());
    }

    // The cell the check shows, and a cell that regains the focus after a
    // window switch, are selected: typing replaces them.
    void typingAfterTheCheckReplacesTheCell() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        TLoadInputForm& window = f.Loads();
        TUserGrid* loads = f.ShowPage(window, 0);
        f.Type(loads, QStringLiteral("9\t"));
        window.ShowCheck();
        QCOMPARE(loads->Col(), 1);
        TUserGrid* nodes = f.Geometry().PageGrid(0);
        nodes->setFocus();
        QTRY_VERIFY(nodes->hasFocus());
        window.BringToFront();
        loads->setFocus();
        QTRY_VERIFY(loads->hasFocus());
        f.Type(loads, QStringLiteral("2"));
        QCOMPARE(loads->EditText(), QStringLiteral("2"));
    }
};

BALKOR_REGISTER_TEST(InputUndoTest);
#include "InputUndoTest.moc"
