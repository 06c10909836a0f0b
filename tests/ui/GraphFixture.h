#pragma once

#include "MainFormFixture.h"
#include "ui/GraphForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

// A main window with the graphics windows plugged in, optionally on the
// bridge example after "Berechnen".
struct GraphFixture : MainFormFixture {
    GraphFixture() {
        TGraphForm::SetEvaluationPoints(kDefaultEvaluationPoints);
        InstallGraphicsWindows(*form, input, solutions, dialogs);
        form->resize(1200, 900);
        // Shown and active, as the user has it: a graphics window whose
        // sub-window loses the active state refits at its next rebuild.
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the main window did not become active");
    }

    void OpenBridge(bool calculate = true) {
        const QString examples = QStringLiteral(BALKOR_SOURCE_DIR "/examples/");
        form->OpenSystemFile(examples + QStringLiteral("bruecke.bsy"));
        form->OpenLoadCaseFile(examples + QStringLiteral("bruecke.bld"));
        if (calculate)
            solutions.Calculate();
        // The refresh the opened files asked for has reached every window.
        QCoreApplication::sendPostedEvents();
    }

    // Opens a graphics window on the tab (-1: "Zeigen › Grafik").
    TGraphForm* Open(int tab = -1) {
        if (tab < 0) {
            form->Grafik1->trigger();
        } else {
            form->FillPopupMenu();
            form->PopupMenu1->actions().at(tab)->trigger();
        }
        return qobject_cast<TGraphForm*>(form->mdiArea->subWindowList().last()->widget());
    }
};
