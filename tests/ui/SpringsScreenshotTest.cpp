// The sample on an elastic bearing as a user sees it: the page "Federn" of
// the geometry window and a graphics window with the spring under node 2.
// With BALKOR_UI_SCREENSHOTS set to a folder the screen is saved there (run
// under Xvfb with a window manager).
#include "analysis/SolutionsCont.h"
#include "grid/UserCell.h"
#include "grid/UserGrid.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "ui/GraphForm.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QTest>

namespace {

void Shot(const char* name) {
    const QString folder = qEnvironmentVariable("BALKOR_UI_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(400);
    const QString path = folder + u'/' + QString::fromUtf8(name);
    QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(path), qPrintable(path));
}

} // namespace

class SpringsScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void springPageAndSpringSymbol() {
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        InstallGraphicsWindows(form, input, solutions, dialogs);
        form.resize(1180, 780);
        form.move(0, 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString examples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");
        form.OpenSystemFile(examples + QStringLiteral("federn.bsy"));
        form.OpenLoadCaseFile(examples + QStringLiteral("federn.bld"));
        auto* geometry = static_cast<TSystemInputForm*>(form.ShowInputWindow(false));
        QVERIFY(QTest::qWaitForWindowExposed(geometry));
        TPageTabs* tabs = geometry->PageControl1->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(4).center());
        QCOMPARE(geometry->PageControl1->ActivePageIndex(), 4);
        TUserGrid* grid = geometry->FederGrid;
        QCOMPARE(grid->Container(), &input.springs);
        QCOMPARE(grid->Columns(3)->CellText(2, 3), QStringLiteral("1500."));
        Shot("federn-eingabe.png");

        QVERIFY(solutions.Calculate().ok);
        form.RefreshChildWindows(kRefreshRefit);
        form.FillPopupMenu();
        form.PopupMenu1->actions().at(kTabBiegelinie)->trigger();
        QMdiSubWindow* sub = form.mdiArea->subWindowList().last();
        sub->setGeometry(QRect(520, 0, 620, 420));
        auto* graph = qobject_cast<TGraphForm*>(sub->widget());
        QVERIFY(graph);
        SendWindowMessage(graph, UM_REFRESH, kRefreshRefit);
        QCoreApplication::sendPostedEvents();
        QVERIFY(graph->Flags() & ShowSupports);
        Shot("federn-grafik.png");
        form.document.System().SetModified(false);
        form.document.LoadCase().SetModified(false);
    }
};

BALKOR_REGISTER_TEST(SpringsScreenshotTest);
#include "SpringsScreenshotTest.moc"
