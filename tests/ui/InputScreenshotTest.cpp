// Both input windows with the bridge example, as a user sees them in the main
// window, and a failed plausibility check with its cell and its message box
// (the program's real dialogs). With BALKOR_UI_SCREENSHOTS set to a folder,
// the screen is saved there after each step (run under Xvfb with a window
// manager).
#include "analysis/SolutionsCont.h"
#include "grid/UserGrid.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/UiDialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

const QString kExamples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");

void Shot(const char* name) {
    const QString folder = qEnvironmentVariable("BALKOR_UI_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(400);
    const QString path = folder + u'/' + QString::fromUtf8(name);
    QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(path), qPrintable(path));
}

void ClickTab(TInputForm& window, int index) {
    TPageTabs* tabs = window.PageControl1->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(index).center());
}

} // namespace

class InputScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bridgeExampleAndFailedCheck() {
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        form.resize(1180, 780);
        form.move(0, 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.OpenSystemFile(kExamples + QStringLiteral("bruecke.bsy"));
        form.OpenLoadCaseFile(kExamples + QStringLiteral("bruecke.bld"));
        TInputForm* geometry = form.ShowInputWindow(false);
        TInputForm* loads = form.ShowInputWindow(true);
        QVERIFY(QTest::qWaitForWindowExposed(loads));
        Shot("eingabe-beide.png");

        form.ShowInputWindow(false);
        ClickTab(*geometry, 1);
        Shot("eingabe-geometrie-staebe.png");
        form.ShowInputWindow(true);
        ClickTab(*loads, 2);
        Shot("eingabe-belastung-streckenlasten.png");

        // Point load 2 on beam 25, which does not exist.
        ClickTab(*loads, 3);
        TLoadInputForm* window = form.LoadWindow();
        TUserGrid* grid = window->EinzellastenGrid;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(3, 1).center());
        QTest::keyClicks(grid, QStringLiteral("25"));
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(input.pointLoads.At(1)->beam, 25);
        ClickTab(*loads, 0);

        // What the screen shows while the box is open; the box is closed
        // whatever it shows, so that a failure cannot leave it waiting.
        QString title, text;
        int page = -1;
        QPoint cell;
        bool rowMarked = false;
        QTimer::singleShot(600, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            page = window->PageControl1->ActivePageIndex();
            cell = QPoint(grid->Col(), grid->Row());
            rowMarked = grid->NumberCellMarked(grid->Row());
            Shot("eingabe-pruefung-fehler.png");
            box->accept();
        });
        QTest::mouseClick(window->SpeedButton4, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Eingabefehler"));
        QCOMPARE(text, QStringLiteral("Der Stab ist nicht definiert !"));
        // The page and the cell were shown before the box opened; the row's
        // number stays red while the box has the focus.
        QCOMPARE(page, 3);
        QCOMPARE(cell, QPoint(1, 3));
        QVERIFY(rowMarked);
    }
};

BALKOR_REGISTER_TEST(InputScreenshotTest);

#include "InputScreenshotTest.moc"
