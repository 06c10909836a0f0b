// The bridge example as a user sees it with both input windows and three
// graphics windows ("Geometrie" with loads and numbers, "Biegelinie",
// "Biegemoment" with values and extrema), and the page that "Grafik drucken"
// prints of them. With BALKOR_UI_SCREENSHOTS set to a folder, the screen is
// saved there as grafik-hauptfenster.png and the page as grafik-druckseite.pdf
// (run under Xvfb with a window manager: scripts/make-guide-images.sh).
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "ui/GraphForm.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The program's dialogs, with the print dialog answered by a PDF file.
class PdfDialogs : public QtUiDialogs {
public:
    QString pdf;
    bool Exec(QDialog* dialog) override {
        auto* print = qobject_cast<QPrintDialog*>(dialog);
        if (!print)
            return QtUiDialogs::Exec(dialog);
        QPrinter* printer = print->printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(QPageLayout::Portrait);
        return true;
    }
};

TGraphForm* OpenView(TMainForm& form, int tab, QRect place) {
    form.FillPopupMenu();
    form.PopupMenu1->actions().at(tab)->trigger();
    QMdiSubWindow* sub = form.mdiArea->subWindowList().last();
    sub->setGeometry(place);
    return qobject_cast<TGraphForm*>(sub->widget());
}

} // namespace

class GraphScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bridgeWithThreeGraphicsWindows() {
        const QString folder = qEnvironmentVariable("BALKOR_UI_SCREENSHOTS");
        InputModel input;
        SolutionsCont solutions(input);
        // Without a folder the page goes into a folder of its own: runs of
        // this test in parallel must not share the file.
        QTemporaryDir scratch;
        PdfDialogs dialogs;
        dialogs.pdf =
            (folder.isEmpty() ? scratch.path() : folder) + QStringLiteral("/grafik-druckseite.pdf");
        TMainForm form(input, solutions, dialogs, QString());
        InstallGraphicsWindows(form, input, solutions, dialogs);
        form.resize(1380, 960);
        form.move(0, 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString examples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");
        form.OpenSystemFile(examples + QStringLiteral("bruecke.bsy"));
        form.OpenLoadCaseFile(examples + QStringLiteral("bruecke.bld"));
        QVERIFY(solutions.Calculate().ok);
        form.RefreshChildWindows(kRefreshRefit);

        TInputForm* geometry = form.ShowInputWindow(false);
        TInputForm* loads = form.ShowInputWindow(true);
        qobject_cast<QMdiSubWindow*>(geometry->parentWidget())->setGeometry(0, 0, 520, 420);
        qobject_cast<QMdiSubWindow*>(loads->parentWidget())->setGeometry(0, 420, 520, 420);
        TGraphForm* geometrie = OpenView(form, kTabGeometrie, QRect(520, 0, 840, 420));
        geometrie->ToolButton9->trigger();  // "Knotennummern"
        geometrie->ToolButton10->trigger(); // "Stabnummern"
        geometrie->ToolButton4->trigger();  // "Alles zeigen"
        TGraphForm* biegelinie = OpenView(form, kTabBiegelinie, QRect(520, 420, 420, 420));
        TGraphForm* moment = OpenView(form, kTabBiegemoment, QRect(940, 420, 420, 420));
        for (TGraphForm* window : {geometrie, biegelinie, moment}) {
            SendWindowMessage(window, UM_REFRESH, kRefreshRefit);
            QCoreApplication::sendPostedEvents();
        }
        QVERIFY(QTest::qWaitForWindowExposed(moment));
        QVERIFY(moment->Flags() & ShowValues);
        QVERIFY(moment->Flags() & ShowExtrema);
        QVERIFY(geometrie->Flags() & ShowLoads);

        if (!folder.isEmpty()) {
            // The window opened last is the active one, also after the window
            // manager has handed the focus around.
            auto* momentFrame = qobject_cast<QMdiSubWindow*>(moment->parentWidget());
            QTest::qWait(300);
            form.mdiArea->setActiveSubWindow(momentFrame);
            QTRY_COMPARE(form.mdiArea->activeSubWindow(), momentFrame);
            QTest::qWait(500);
            const QString path = folder + QStringLiteral("/grafik-hauptfenster.png");
            QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(path), qPrintable(path));
        }
        QFile::remove(dialogs.pdf);
        form.Grafikdrucken1->trigger();
        QVERIFY(QFile::exists(dialogs.pdf));
        form.document.System().SetModified(false);
        form.document.LoadCase().SetModified(false);
    }
};

BALKOR_REGISTER_TEST(GraphScreenshotTest);
#include "GraphScreenshotTest.moc"
