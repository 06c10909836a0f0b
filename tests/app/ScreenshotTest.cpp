// The main window with the status window after a calculation of the bridge
// example. With BALKOR_SCREENSHOT set to a file name, the screen is saved
// there (run under Xvfb for a real window system).
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "ui/MainForm.h"
#include "ui/SolForm.h"
#include "ui/UiDialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

class ScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bridgeExampleCalculates() {
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.OpenSystemFile(QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bsy"));
        form.OpenLoadCaseFile(QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bld"));
        QCOMPARE(form.StaticTextSystem->text(), QStringLiteral("System: bruecke.bsy"));
        form.Berechnen1Click();
        QCOMPARE(solutions.resultsValid, 1);
        QVERIFY(!form.SolForm->BitBtn1->isHidden());
        QVERIFY(form.SolForm->NodeNb->text().toInt() > 0);
        QTest::qWait(300);

        const QString file = qEnvironmentVariable("BALKOR_SCREENSHOT");
        if (!file.isEmpty())
            QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(file));
        form.SolForm->BitBtn1->click();
        form.close();
    }
};

BALKOR_REGISTER_TEST(ScreenshotTest);

#include "ScreenshotTest.moc"
