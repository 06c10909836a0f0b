// The window commands as a user meets them in a main window of its first
// size: both input windows and graphics windows of the bridge example,
// cascaded, tiled and minimised. With BALKOR_UI_SCREENSHOTS set to a folder,
// the screen is saved there after each step (run under Xvfb with a window
// manager).
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "settings/SettingsTree.h"
#include "support/QtTestRegistry.h"
#include "ui/GraphForm.h"
#include "ui/InputForms.h"
#include "ui/HelpWindow.h"
#include "ui/MainForm.h"
#include "ui/TreeForm.h"
#include "ui/UiDialogs.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>

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

void PrintGeometries(const char* step, TMainForm& form) {
    qInfo("%s: main %d,%d %dx%d viewport %dx%d", step, form.geometry().x(), form.geometry().y(),
          form.width(), form.height(), form.mdiArea->viewport()->width(),
          form.mdiArea->viewport()->height());
    for (QMdiSubWindow* sub : form.mdiArea->subWindowList())
        qInfo("  %s: %d,%d %dx%d", qPrintable(sub->widget()->windowTitle()), sub->x(), sub->y(),
              sub->width(), sub->height());
}

} // namespace

class WindowScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowCommandsOnTheBridge() {
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        InstallGraphicsWindows(form, input, solutions, dialogs);
        InstallSettingsDialogs(form, SettingsTree(), dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.OpenSystemFile(kExamples + QStringLiteral("bruecke.bsy"));
        form.OpenLoadCaseFile(kExamples + QStringLiteral("bruecke.bld"));
        form.ShowInputWindow(false);
        QVERIFY(QTest::qWaitForWindowExposed(form.ShowInputWindow(true)));
        QTest::qWait(300);
        PrintGeometries("start", form);
        Shot("fenster-start.png");
        for (int i = 0; i < 3; ++i)
            form.Grafik1->trigger();
        QTest::qWait(300);
        PrintGeometries("graphics", form);
        Shot("fenster-grafik.png");
        form.WindowCascadeItem->trigger();
        QTest::qWait(300);
        PrintGeometries("cascade", form);
        Shot("fenster-ueberlappend.png");
        form.WindowTileItem->trigger();
        QTest::qWait(300);
        PrintGeometries("tile", form);
        Shot("fenster-nebeneinander.png");
        form.WindowMinimizeItem->trigger();
        form.WindowArrangeItem->trigger();
        QTest::qWait(300);
        PrintGeometries("icons", form);
        Shot("fenster-symbole.png");
        for (int i = 0; i < 2; ++i)
            form.Grafik1->trigger();
        form.WindowMinimizeItem->trigger();
        form.WindowArrangeItem->trigger();
        Shot("fenster-symbole-sieben.png");

        TTreeForm* tree = form.findChild<TTreeForm*>();
        QVERIFY(tree);
        form.Konfiguration1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(tree));
        tree->resize(520, 450);
        Shot("fenster-konfiguration.png");
        tree->close();
        form.Inhalt1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(form.HelpForm));
        form.HelpForm->ShowKeywordSearch(QStringLiteral("Rand"));
        QTest::qWait(300);
        qInfo("help: frame %d,%d %dx%d", form.HelpForm->frameGeometry().x(),
              form.HelpForm->frameGeometry().y(), form.HelpForm->frameGeometry().width(),
              form.HelpForm->frameGeometry().height());
        Shot("fenster-hilfe.png");
    }
};

BALKOR_REGISTER_TEST(WindowScreenshotTest);

#include "WindowScreenshotTest.moc"
