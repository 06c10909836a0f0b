// "Berechnen": the status window, the messages of failed runs, the refresh of
// the child windows and the results protocol.
#include "MainFormFixture.h"
#include "MessageSpy.h"
#include "StandInEditor.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/SolForm.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <csignal>

namespace {

// Opens one spy window as the graphics window.
MessageSpy* AddSpyWindow(TMainForm& form) {
    form.SetGraphicsWindowFactory([](QWidget*, int) { return new MessageSpy; });
    form.Grafik1Click();
    return static_cast<MessageSpy*>(form.mdiArea->subWindowList().last()->widget());
}

void OpenExample(MainFormFixture& f, const char* system, const char* loads) {
    f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), system));
    f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("l.bld"), loads));
}

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Two spans of 6 on three supported nodes: 3 nodes, 2 elements, 3 × 3
    // degrees of freedom, of which node 1 and 3 fix wz and Rx, node 2 wz: 5.
    void successfulRunShowsCountersAndFertig() {
        MainFormFixture f;
        OpenExample(f, kTwoSpanSystem, kTwoSpanLoads);
        MessageSpy* spy = AddSpyWindow(*f.form);
        QCoreApplication::processEvents();
        spy->received.clear();

        f.form->Berechnen1->trigger();
        TSolForm& status = *f.form->SolForm;
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(status.isVisible());
        QCOMPARE(status.windowTitle(), QStringLiteral("Status der Berechnung"));
        QCOMPARE(status.NodeNb->text(), QStringLiteral("3"));
        QCOMPARE(status.ElNb->text(), QStringLiteral("2"));
        QCOMPARE(status.FGNb->text(), QStringLiteral("9"));
        QCOMPARE(status.BCNb->text(), QStringLiteral("5"));
        QVERIFY(status.Memory->text().toLong() > 0);
        QVERIFY(status.Bandbreite->text().toLong() > 0);
        QCOMPARE(status.HighlightedStage(), 0);
        QVERIFY(!status.BitBtn1->isHidden());
        QCOMPARE(status.BitBtn1->text(), QStringLiteral("Fertig"));
        QVERIFY(status.BitBtn2->isHidden());
        QCOMPARE(f.solutions.resultsValid, 1);

        // The refresh is posted: it arrives after the command.
        QCOMPARE(spy->Count(UM_REFRESH), 0);
        QCoreApplication::processEvents();
        QCOMPARE(spy->Count(UM_REFRESH), 1);
        QCOMPARE(spy->received.last().second, std::intptr_t(0));

        status.BitBtn1->click();
        QVERIFY(!status.isVisible());
    }

    // The sparse solver has no profile: its factor's memory and non-zeros take
    // the place of the profile's memory and bandwidth, until a profile run.
    void sparseSolverShowsTheFactorsFigures() {
        MainFormFixture f;
        OpenExample(f, kTwoSpanSystem, kTwoSpanLoads);
        TSolForm& status = *f.form->SolForm;
        const struct {
            const char* solver;
            const char* memory;
            const char* size;
        } rows[] = {{"sparse", "Speicher des Faktors in Byte", "Nichtnullelemente des Faktors"},
                    {"profile", "Speicherbedarf in Byte", "Bandbreite"}};
        for (const auto& row : rows) {
            f.environment.Set("BALKOR_SOLVER", row.solver);
            f.form->Berechnen1Click();
            QCOMPARE(f.solutions.resultsValid, 1);
            QCOMPARE(status.Label11->text(), QString::fromUtf8(row.memory));
            QCOMPARE(status.Label13->text(), QString::fromUtf8(row.size));
            // The window was laid out before the run: room for either caption.
            for (const QLabel* caption : {status.Label11, status.Label13})
                QVERIFY(caption->width() >=
                        caption->fontMetrics().horizontalAdvance(caption->text()));
            QVERIFY(status.Memory->text().toLong() > 0);
            QVERIFY(status.Bandbreite->text().toLong() > 0);
        }
        // Closed as the user closes it: a status window left open while its
        // main window goes keeps a window manager from giving the next test's
        // main window the focus.
        status.BitBtn1->click();
        QVERIFY(!status.isVisible());
    }

    // The status window takes the keyboard when a run starts, so that Enter
    // presses its default button and Escape "Fertig", its cancel button.
    void statusWindowTakesTheKeyboard() {
        MainFormFixture f;
        f.form->show();
        OpenExample(f, kTwoSpanSystem, kTwoSpanLoads);
        TSolForm& status = *f.form->SolForm;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            f.form->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), f.form.get());
            f.form->Berechnen1Click();
            QTRY_COMPARE(QApplication::activeWindow(), &status);
            QCOMPARE(QApplication::focusWidget(), status.BitBtn1);
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!status.isVisible());
        }

        // A run while the window is still open from the last one, and the
        // user works in the main window, takes the keyboard as well.
        f.form->Berechnen1Click();
        f.form->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), f.form.get());
        f.form->Berechnen1Click();
        QTRY_COMPARE(QApplication::activeWindow(), &status);

        // After a failed run "Fehler" is the default button, and there is no
        // cancel button: Escape leaves the window open.
        OpenExample(f, kUnsupportedSystem, kTwoSpanLoads);
        f.form->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), f.form.get());
        f.form->Berechnen1Click();
        QTRY_COMPARE(QApplication::activeWindow(), &status);
        QCOMPARE(QApplication::focusWidget(), status.BitBtn2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(status.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!status.isVisible());
    }

    void singularSystemEndsWithFehler() {
        MainFormFixture f;
        OpenExample(f, kUnsupportedSystem, kTwoSpanLoads);
        MessageSpy* spy = AddSpyWindow(*f.form);
        f.form->Berechnen1Click();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Singuläre Steifigkeitsmatrix !\n"
                                "Möglicherweise liegt verschiebliches System vor"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Berechnungsfehler"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        TSolForm& status = *f.form->SolForm;
        QVERIFY(status.isVisible());
        QCOMPARE(status.HighlightedStage(), 6);
        QCOMPARE(status.FGNb->text(), QStringLiteral("9"));
        QCOMPARE(status.BCNb->text(), QStringLiteral("0"));
        QVERIFY(status.BitBtn1->isHidden());
        QCOMPARE(status.BitBtn2->text(), QStringLiteral("Fehler"));
        QCOMPARE(f.solutions.resultsValid, 0);
        QCoreApplication::processEvents();
        QVERIFY(spy->Count(UM_REFRESH) >= 1);
        status.BitBtn2->click();
        QVERIFY(!status.isVisible());
    }

    void inputErrorIsShownWithoutStatusWindow() {
        MainFormFixture f;
        OpenExample(f, kBadBeamSystem, kTwoSpanLoads);
        f.form->Berechnen1Click();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Eingabefehler"));
        QVERIFY(!f.dialogs.messages[0].text.isEmpty());
        QVERIFY(!f.form->SolForm->isVisible());
        QCOMPARE(f.solutions.resultsValid, 0);
    }

    // The beam's end node 5 does not exist: the geometry window is created
    // and shows page "Stäbe", beam 1, column "Ende" before the message.
    void inputErrorShowsItsPageAndCell() {
        MainFormFixture f;
        OpenExample(f, kBadBeamSystem, kTwoSpanLoads);
        QVERIFY(!f.form->GeometryWindow());
        f.form->Berechnen1Click();
        TSystemInputForm* window = f.form->GeometryWindow();
        QVERIFY(window);
        QCOMPARE(window->PageControl1->ActivePageIndex(), 1);
        QCOMPARE(QPoint(window->StabGrid->Col(), window->StabGrid->Row()), QPoint(2, 2));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Der zweite Knoten ist nicht definiert !"));
        QVERIFY(!f.form->LoadWindow());
    }

    void calculationEndsTheResultsEditorAndChangesDiscardResults() {
        MainFormFixture f;
        StandInEditor editor(f.tempDir);

        OpenExample(f, kTwoSpanSystem, kTwoSpanLoads);
        f.form->Berechnen1Click();
        f.form->Ergebnisse1Click();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.form->resultsEditor);
        const qint64 pid = f.form->resultsEditor->processId();
        f.form->Berechnen1Click();
        QVERIFY(kill(static_cast<pid_t>(pid), 0) != 0);
        QCOMPARE(f.solutions.resultsValid, 1);

        // Any change of the input throws the results away.
        const double x = 0.5;
        f.input.nodes.SetCellValue(1, 1, &x);
        QCOMPARE(f.solutions.resultsValid, 0);
        f.form->Ergebnisse1Click();
        QCOMPARE(f.dialogs.messages.last().text, QStringLiteral("Keine Ergebnisse sind vorhanden"));
    }
};

BALKOR_REGISTER_TEST(CalculationTest);
#include "CalculationTest.moc"
