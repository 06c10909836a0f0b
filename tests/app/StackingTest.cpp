// The program's boxes under a real window manager: the box of a failed run,
// a later box and a file dialog while the stay-on-top status window is open
// are what the screen shows where they are, and they take the focus; after
// the run's box the keyboard goes back to the status window. Runs where a
// window system is present; CTest runs it under Xvfb with openbox
// (app.StackingUnderOpenbox). With BALKOR_SCREENSHOT_DIR set, the screen
// is saved there while each box is open.
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "support/SmallExamples.h"
#include "ui/MainForm.h"
#include "ui/SolForm.h"
#include "ui/UiDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// True when the screen shows window's own pixels where it is: nothing
// covers it. A few pixels may differ (a blinking cursor).
bool ScreenShows(QWidget* window) {
    const QImage own = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    const QImage screen = window->screen()
                              ->grabWindow(0, origin.x(), origin.y(), own.width(), own.height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    if (screen.size() != own.size())
        return false;
    qint64 differing = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            differing += own.pixel(x, y) != screen.pixel(x, y);
    return differing * 50 < qint64(own.width()) * own.height();
}

void SaveScreen(const char* name) {
    const QString folder = qEnvironmentVariable("BALKOR_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + '/' + name + ".png");
}

// What the user met while a modal dialog was open.
struct Sighting {
    QString title;
    bool onTop = false;
    bool focused = false;
};

// Looks at the modal dialog that the next command opens: waits until it is
// on the screen, uncovered and focused (at most 5 s), notes what it found,
// then closes it with close (which gets the dialog).
void WatchNextDialog(Sighting& sighting, const char* screenshot,
                     std::function<void(QWidget*)> close) {
    QTimer::singleShot(100, [&sighting, screenshot, close] {
        QWidget* dialog = nullptr;
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            dialog = QApplication::activeModalWidget();
            if (dialog && QTest::qWaitForWindowExposed(dialog, 100)) {
                sighting.focused = QApplication::activeWindow() == dialog;
                sighting.onTop = ScreenShows(dialog);
                if (sighting.focused && sighting.onTop)
                    break;
            }
            QTest::qWait(50);
        }
        if (!dialog)
            return;
        sighting.title = dialog->windowTitle();
        SaveScreen(screenshot);
        close(dialog);
    });
}

void PressOk(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        box->buttons().constFirst()->click();
}

} // namespace

class StackingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window system with a window manager");
    }

    void boxesStandAboveTheStatusWindowAndTakeTheFocus() {
        QTemporaryDir dir;
        QFile file(dir.filePath("kinematisch.bsy"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kUnsupportedSystem);
        file.close();

        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        form.resize(900, 600);
        form.show();
        // A window manager (which may still be starting) puts a frame around
        // the window.
        QTRY_VERIFY_WITH_TIMEOUT(form.frameGeometry() != form.geometry(), 10000);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenSystemFile(file.fileName());

        // The run fails: its box opens while the status window is shown.
        Sighting failure;
        WatchNextDialog(failure, "stacking-1-berechnungsfehler", PressOk);
        form.Berechnen1Click();
        TSolForm* status = form.SolForm;
        QVERIFY(status->isVisible());
        QCOMPARE(failure.title, QStringLiteral("Berechnungsfehler"));
        QVERIFY2(failure.onTop, "the box is covered");
        QVERIFY2(failure.focused, "the box has no focus");
        // The keyboard is back at the status window ("Fehler" by Enter).
        QTRY_COMPARE(QApplication::activeWindow(), status);
        // Where the box stood, the status window repaints once the box is
        // gone, which takes a moment on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(ScreenShows(status), 5000);

        // The user goes on in the main window while the status window stays.
        // (A window manager may refuse the program's own activation; a click
        // would do it. The box must stand above either way.)
        form.activateWindow();
        QTest::qWait(300);
        Sighting noResults;
        WatchNextDialog(noResults, "stacking-2-keine-ergebnisse", PressOk);
        form.Ergebnisse1Click();
        QCOMPARE(noResults.title, QStringLiteral("Information"));
        QVERIFY2(noResults.onTop, "the box is covered");
        QVERIFY2(noResults.focused, "the box has no focus");
        QTRY_VERIFY(QApplication::activeWindow() != nullptr);

        Sighting open;
        WatchNextDialog(open, "stacking-3-system-oeffnen", [](QWidget* dialog) {
            if (auto* fileDialog = qobject_cast<QFileDialog*>(dialog))
                fileDialog->reject();
        });
        form.Systemffnen1Click();
        QCOMPARE(open.title, QStringLiteral("System öffnen"));
        QVERIFY2(open.onTop, "the file dialog is covered");
        QVERIFY2(open.focused, "the file dialog has no focus");

        status->BitBtn2->click();
        QVERIFY(!status->isVisible());
        form.close();
    }
};

BALKOR_REGISTER_TEST(StackingTest);
#include "StackingTest.moc"
