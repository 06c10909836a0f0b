// The editor-and-margins dialog, the calculation status window, and how the
// program's dialogs stand above its stay-on-top status window.
#include "MainFormFixture.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/AboutBox.h"
#include "ui/DruckerForm.h"
#include "ui/Help.h"
#include "ui/SolForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

// Keeps the program-wide editor and margin settings of a test to that test.
struct SavedSettings {
    SavedSettings()
        : editor(EditorProgram), left(MarginLeft), right(MarginRight), top(MarginTop),
          bottom(MarginBottom) {}
    ~SavedSettings() {
        EditorProgram = editor;
        MarginLeft = left;
        MarginRight = right;
        MarginTop = top;
        MarginBottom = bottom;
    }
    std::string editor;
    double left, right, top, bottom;
};

// The transient parent of the modal dialog that is open when the timer
// fires, then closes that dialog.
struct ModalDialogProbe {
    QWindow* transientParent = nullptr;
    QString title;
    bool seen = false;

    void Arm(int delayMs = 0) {
        QTimer::singleShot(delayMs, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            seen = true;
            title = dialog->windowTitle();
            transientParent = dialog->windowHandle()->transientParent();
            dialog->close();
        });
    }
};

// Replaces the field's text by typing, as the user does.
void TypeInto(QSpinBox* box, const char* text) {
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dialogShowsTruncatedMarginsAndStoresOnOk() {
        MainFormFixture f;
        SavedSettings saved;
        EditorProgram = "/usr/bin/textor";
        MarginLeft = 7.5;
        MarginRight = 5.0;
        MarginTop = 12.9;
        MarginBottom = 0.0;
        f.dialogs.exec = [](QDialog* dialog) {
            auto* form = static_cast<TDruckerForm*>(dialog);
            if (form->Left->value() != 7 || form->Top->value() != 12 ||
                form->MaskEdit1->text() != QStringLiteral("/usr/bin/textor"))
                return false;
            TypeInto(form->Right, "80");
            form->MaskEdit1->setText(QStringLiteral("kate"));
            return true;
        };
        f.form->DruckerundAusgabeeditor1->trigger();
        QCOMPARE(f.dialogs.executed.size(), 1);
        QCOMPARE(f.dialogs.executed[0]->windowTitle(), QStringLiteral("Editor und Seitenränder"));
        QCOMPARE(MarginLeft, 7.0);
        QCOMPARE(MarginRight, 50.0);
        QCOMPARE(MarginTop, 12.0);
        QCOMPARE(MarginBottom, 0.0);
        QCOMPARE(EditorProgram, std::string("kate"));
    }

    void cancelKeepsEverySetting() {
        MainFormFixture f;
        SavedSettings saved;
        EditorProgram = "textor";
        MarginLeft = 7.5;
        f.dialogs.exec = [](QDialog* dialog) {
            auto* form = static_cast<TDruckerForm*>(dialog);
            form->MaskEdit1->setText(QStringLiteral("anderer"));
            form->Left->setValue(20);
            return false;
        };
        f.form->DruckerundAusgabeeditor1Click();
        QCOMPARE(EditorProgram, std::string("textor"));
        QCOMPARE(MarginLeft, 7.5);
    }

    void spinFieldsKeepToTheirRange() {
        FakeDialogs dialogs;
        TDruckerForm form(dialogs);
        form.Fill({"", 80.0, -3.0, 1e300, 49.99});
        QCOMPARE(form.Left->value(), 50);
        QCOMPARE(form.Right->value(), 0);
        QCOMPARE(form.Top->value(), 50);
        QCOMPARE(form.Bottom->value(), 49);
        TypeInto(form.Bottom, "7");
        QCOMPARE(form.Values().bottom, 7.0);
        QCOMPARE(FindHelpTopic(form.Left), TDruckerForm::kHelpTopic);
        QCOMPARE(form.Button1->text(), QStringLiteral("Ok"));
        QCOMPARE(form.Button2->text(), QStringLiteral("Abbruch"));
    }

    void browseReplacesTheProgramName() {
        FakeDialogs dialogs;
        TDruckerForm form(dialogs);
        form.MaskEdit1->setText(QStringLiteral("alt"));
        dialogs.openNames = {QString()};
        form.SpeedButton1->click();
        QCOMPARE(form.MaskEdit1->text(), QStringLiteral("alt"));
        dialogs.openNames = {QStringLiteral("/opt/viewer")};
        form.SpeedButton1->click();
        QCOMPARE(form.MaskEdit1->text(), QStringLiteral("/opt/viewer"));
    }

    // The real question box speaks German and reports the button pressed.
    void questionBoxHasGermanButtons() {
        QtUiDialogs dialogs;
        QStringList buttons;
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            caption = box->windowTitle();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QStringLiteral("&Nein"))
                    button->click();
        });
        QCOMPARE(dialogs.AskYesNoCancel(nullptr, QStringLiteral("Geometrie erst speichern ?"),
                                        QStringLiteral("System geändert")),
                 Answer::No);
        QCOMPARE(caption, QStringLiteral("System geändert"));
        buttons.sort();
        QCOMPARE(buttons, QStringList({"&Ja", "&Nein", "Abbrechen"}));
    }

    // The status window stays on top; a box opened for the main window while
    // it is open must stand above it, not beneath. Window managers stack a
    // transient above its parent, so the box becomes the status window's
    // transient. Without the status window it stays with its own parent.
    void boxesStandAboveTheOpenStatusWindow() {
        MainFormFixture f;
        f.form->show();
        QtUiDialogs dialogs;
        ModalDialogProbe probe;
        probe.Arm();
        dialogs.ShowMessage(f.form.get(), QStringLiteral("Keine Ergebnisse sind vorhanden"),
                            QStringLiteral("Information"), MessageIcon::Information);
        QVERIFY(probe.seen);
        QCOMPARE(probe.transientParent, f.form->windowHandle());

        f.form->SolForm->BeginRun();
        QVERIFY(f.form->SolForm->isVisible());
        QWindow* status = f.form->SolForm->windowHandle();
        probe = {};
        probe.Arm();
        dialogs.ShowMessage(f.form.get(), QStringLiteral("Wiederspruch in der Randbedingungen"),
                            QStringLiteral("Berechnungsfehler"), MessageIcon::Warning);
        QCOMPARE(probe.title, QStringLiteral("Berechnungsfehler"));
        QCOMPARE(probe.transientParent, status);

        probe = {};
        probe.Arm();
        QCOMPARE(dialogs.AskYesNoCancel(f.form.get(), QStringLiteral("Geometrie erst speichern ?"),
                                        QStringLiteral("System geändert")),
                 Answer::Cancel);
        QCOMPARE(probe.transientParent, status);

        probe = {};
        probe.Arm();
        QVERIFY(dialogs
                    .OpenFileName(f.form.get(), {QStringLiteral("System öffnen"),
                                                 QStringLiteral("Balkor Systemdatei (*.bsy)"),
                                                 QStringLiteral("bsy")})
                    .isEmpty());
        QCOMPARE(probe.title, QStringLiteral("System öffnen"));
        QCOMPARE(probe.transientParent, status);

        // Tool windows (the settings tree) as well.
        QDialog tool(f.form.get(), Qt::Tool);
        tool.show();
        QCOMPARE(tool.windowHandle()->transientParent(), status);
        tool.close();

        // Prepared dialogs of the program as well.
        probe = {};
        probe.Arm();
        dialogs.Exec(f.form->AboutBox);
        QCOMPARE(probe.title, QStringLiteral("Info"));
        QCOMPARE(probe.transientParent, status);
        f.form->SolForm->hide();
    }

    // A box opened by a dialog that already stands above the status window
    // (the file dialog's overwrite question) stays with that dialog.
    void boxOfADialogStaysWithItsDialog() {
        MainFormFixture f;
        f.form->show();
        f.form->SolForm->BeginRun();
        QFileDialog dialog(f.form.get());
        dialog.show();
        QCOMPARE(dialog.windowHandle()->transientParent(), f.form->SolForm->windowHandle());
        ModalDialogProbe probe;
        probe.Arm();
        QMessageBox::question(&dialog, QStringLiteral("Speichern unter"),
                              QStringLiteral("Ersetzen?"));
        QVERIFY(probe.seen);
        QCOMPARE(probe.transientParent, dialog.windowHandle());
        dialog.close();
        f.form->SolForm->hide();
    }

    void statusWindowHighlightsOneStage() {
        TSolForm status;
        const QStringList names = {
            "Elementverteilung",  "Freiheitsgradverteilung", "Freiheitsgradoptimierung",
            "Steifigkeitsmatrix", "Belastungsvektor",        "Gleichungslösung",
            "Auswertung"};
        for (int stage = 1; stage <= TSolForm::kStageCount; ++stage)
            QCOMPARE(status.StageLabel(stage)->text(), names[stage - 1]);
        status.BeginRun();
        QCOMPARE(status.HighlightedStage(), 0);
        QVERIFY(status.BitBtn1->isHidden());
        QCOMPARE(status.BitBtn2->text(), QStringLiteral("Berechnung"));
        status.ShowStage(2);
        status.ShowStage(5);
        QCOMPARE(status.HighlightedStage(), 5);
        QCOMPARE(status.StageBevel(5)->frameShadow(), QFrame::Raised);
        QCOMPARE(status.StageBevel(2)->frameShape(), QFrame::NoFrame);
        status.ShowStage(0);
        QCOMPARE(status.HighlightedStage(), 0);
        QCOMPARE(status.StageBevel(5)->frameShape(), QFrame::NoFrame);
    }

    void statusWindowShowsCountersAndOutcome() {
        TSolForm status;
        QCOMPARE(status.NodeNb->text(), QStringLiteral("0"));
        status.StageStarted(kStageElements);
        status.CountersChanged({12, 20, 36, 7, 2400, 9});
        QCOMPARE(status.NodeNb->text(), QStringLiteral("12"));
        QCOMPARE(status.ElNb->text(), QStringLiteral("20"));
        QCOMPARE(status.FGNb->text(), QStringLiteral("36"));
        QCOMPARE(status.BCNb->text(), QStringLiteral("7"));
        QCOMPARE(status.Memory->text(), QStringLiteral("2400"));
        QCOMPARE(status.Bandbreite->text(), QStringLiteral("9"));
        status.StageStarted(kStageEvaluate);
        status.StageFinished(kStageEvaluate, true);
        QCOMPARE(status.HighlightedStage(), 0);
        QVERIFY(!status.BitBtn1->isHidden());
        QVERIFY(status.BitBtn2->isHidden());

        // A new run starts reset; a failure shows "Fehler" and keeps the stage.
        status.StageStarted(kStageElements);
        QVERIFY(status.BitBtn1->isHidden());
        QCOMPARE(status.BitBtn2->text(), QStringLiteral("Berechnung"));
        status.StageStarted(kStageDofs);
        status.StageFinished(kStageDofs, false);
        QCOMPARE(status.HighlightedStage(), 2);
        QCOMPARE(status.BitBtn2->text(), QStringLiteral("Fehler"));
        QCOMPARE(status.NodeNb->text(), QStringLiteral("12"));
    }
};

BALKOR_REGISTER_TEST(DialogsTest);
#include "DialogsTest.moc"
