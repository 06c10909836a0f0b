// A user builds a project in the windows: three load cases, a combination
// and an envelope typed into the window "Kombinationen", calculates, looks at
// the envelope in a graphics window, prints it into a PDF file, saves,
// reopens, and finds every cell and result again. Expected values by superposition: two spans of 6
// under q on both carry 1.25·q·L at the middle support.
#include "InputWindowFixture.h"
#include "PdfPrinting.h"
#include "document/ProjectTables.h"
#include "project/ProjectAnalysis.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/BalkorApplication.h"
#include "ui/CombinationsForm.h"
#include "ui/GraphForm.h"
#include "ui/LoadCasesForm.h"
#include "ui/SolForm.h"
#include "ui/WindowMessages.h"

#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

// q = 20 on both beams.
const char* const kDoubleLoads = "NODELOAD\r\n0\r\n\r\n"
                                 "BEAMLOAD\r\n1\r\n"
                                 "    1 1 2 20.0 20.0 0.0 0.0\r\n\r\n"
                                 "POINTLOAD\r\n0\r\n\r\nCONSTRAINTLOAD\r\n0\r\n\r\n"
                                 "TEMPERATURELOAD\r\n0\r\n\r\nHINGELOAD\r\n0\r\n";

const double kReaction = 1.25 * 10.0 * 6.0; // of q = 10

// The middle support's reaction: max and min of envelope 0 (by magnitude,
// whatever the sign convention of the reactions).
std::pair<double, double> MiddleReaction(TMainForm& form) {
    ProjectAnalysis* analysis = form.document.Analysis();
    if (!analysis)
        return {0.0, 0.0};
    const EnvelopeResults r = analysis->EvaluateEnvelope(0);
    const auto& nodes = r.layout.reactionNodes;
    const size_t middle =
        static_cast<size_t>(std::find(nodes.begin(), nodes.end(), 2) - nodes.begin());
    if (middle >= nodes.size())
        return {0.0, 0.0};
    const size_t at = r.layout.beamPoints * kBeamQuantities + middle * kReactionQuantities;
    const double a = std::abs(r.max[at].value), b = std::abs(r.min[at].value);
    return {std::max(a, b), std::min(a, b)};
}

// A protocol without the time lines of its headers.
QByteArray WithoutTimes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLatin1(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("\\d\\d:\\d\\d:\\d\\d  \\d\\d/\\d\\d/\\d\\d")));
    return text.toLatin1();
}

// Every value of envelope 0 with the arrangement that governs it.
QStringList EnvelopeOf(TMainForm& form) {
    ProjectAnalysis* analysis = form.document.Analysis();
    if (!analysis)
        return {};
    const EnvelopeResults r = analysis->EvaluateEnvelope(0);
    QStringList values;
    for (const auto* extremes : {&r.max, &r.min})
        for (const EnvelopeExtreme& extreme : *extremes)
            values << QString::number(extreme.value, 'g', 17) + QLatin1Char(' ') +
                          QString::fromStdString(r.ArrangementOf(extreme));
    return values;
}

// A graphics window on the tab, from the client area's context menu.
TGraphForm& OpenGraphics(TMainForm& form, int tab) {
    form.FillPopupMenu();
    form.PopupMenu1->actions().at(tab)->trigger();
    return *qobject_cast<TGraphForm*>(form.mdiArea->subWindowList().last()->widget());
}

// Chooses entry index of the window's selector with the keys, as a user
// does: Home, then the down key steps through its entries.
void ChooseInSelector(TGraphForm& graph, int index) {
    graph.CaseSelector->setFocus();
    QTest::keyClick(graph.CaseSelector, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(graph.CaseSelector, Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
}

QStringList Cells(TUserGrid* grid, int rows) {
    QStringList cells;
    for (int row = 1; row <= rows; ++row)
        for (int col = 1; col < grid->ColCount(); ++col)
            cells << InputWindowFixture::Shown(grid, row, col);
    return cells;
}

} // namespace

class ProjectWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void userBuildsCalculatesSavesAndReopensAProject() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        InstallGraphicsWindows(*f.form, f.input, f.solutions, f.dialogs);
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem));
        f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("g.bld"), kTwoSpanLoads));
        QVERIFY(!f.form->StaticTextProject->isVisibleTo(f.form.get()));

        // Two more load cases from files, through the window "Lastfälle".
        f.form->Lastfaelle1->trigger();
        TLoadCasesForm& cases = *f.form->LoadCasesWindow();
        f.dialogs.openNames = {WriteTextFile(f.TempPath("q.bld"), kTwoSpanLoads),
                               WriteTextFile(f.TempPath("w.bld"), kDoubleLoads)};
        QTest::mouseClick(cases.OpenButton, Qt::LeftButton);
        QTest::mouseClick(cases.OpenButton, Qt::LeftButton);
        QCOMPARE(f.form->document.LoadCaseCount(), 3);
        QCOMPARE(f.form->document.CurrentLoadCase(), 2);
        QCOMPARE(InputWindowFixture::Shown(cases.Grid, 3, 1), QStringLiteral("w"));
        QVERIFY(f.form->StaticTextProject->isVisibleTo(f.form.get()));
        QVERIFY(f.Loads().windowTitle().contains(QStringLiteral("Lastfall 3 (w)")));

        // The combination and the envelope by keys.
        f.form->Kombinationen1->trigger();
        TCombinationsForm& tables = *f.form->CombinationsWindow();
        QCOMPARE(tables.CombinationGrid->ColCount(), 5);
        InputWindowFixture::Click(tables.CombinationGrid, 1, 1);
        InputWindowFixture::Type(tables.CombinationGrid, QStringLiteral("K1\t1,35\t1,5\t0\t"));
        QTest::mouseClick(tables.PageControl1->Tabs(), Qt::LeftButton, {},
                          tables.PageControl1->Tabs()->TabRect(1).center());
        const char* const rows[] = {"U1\tLF1\t1,35\t1\t0\t", "U1\tLF2\t1,5\t0\t1\t",
                                    "U1\tLF9\t1,5\t0\t1\t"};
        for (int row = 0; row < 3; ++row) {
            InputWindowFixture::Click(tables.EnvelopeGrid, row + 1, 1);
            InputWindowFixture::Type(tables.EnvelopeGrid, QString::fromUtf8(rows[row]));
        }
        // The check points at the unknown load case.
        QVERIFY(!tables.ShowCheck());
        QCOMPARE(f.dialogs.messages.last().caption, QStringLiteral("Eingabefehler"));
        QVERIFY(f.dialogs.messages.last().text.contains(QStringLiteral("LF9")));
        QCOMPARE(tables.EnvelopeGrid->CurrentCol(), 2);
        const int faulty = tables.EnvelopeGrid->CurrentRow();
        InputWindowFixture::Type(tables.EnvelopeGrid, QStringLiteral("LF3\t"));
        QVERIFY(tables.ShowCheck());
        QCOMPARE(f.form->document.Envelopes().size(), size_t(1));
        QCOMPARE(EnvelopeText(f.form->document.Envelopes()[0]),
                 std::string("U1=1:1.35/1+(2|3):1.5/0"));
        QCOMPARE(faulty, 3);

        f.form->Berechnen1->trigger();
        QCOMPARE(f.form->SolForm->LoadCaseNb->text(), QStringLiteral("3"));
        QCOMPARE(f.form->SolForm->FactorNb->text(), QStringLiteral("1"));
        QVERIFY(f.form->document.ResultsValid());
        const auto [max, min] = MiddleReaction(*f.form);
        QVERIFY(std::abs(max - (1.35 * kReaction + 1.5 * 2 * kReaction)) < 1e-9);
        QVERIFY(std::abs(min - kReaction) < 1e-9);

        // The envelope in a graphics window, chosen in its selector: the
        // caption and the printed cell name it.
        TGraphForm& graph = OpenGraphics(*f.form, kTabBiegemoment);
        QCOMPARE(graph.CaseSelector->count(), 5);
        ChooseInSelector(graph, 4);
        QCOMPARE(graph.SelectionName(), QStringLiteral("Umhüllende 1: U1"));
        QCOMPARE(graph.windowTitle(), QStringLiteral("Biegemoment – Umhüllende 1: U1"));
        QVERIFY(graph.List().RecordCount() > 0);
        const QString pdf = f.TempPath(QStringLiteral("umhuellende.pdf"));
        AnswerPrintDialogWithPdf(f.dialogs, pdf);
        const qsizetype messages = f.dialogs.messages.size();
        f.form->Grafikdrucken1->trigger();
        QCOMPARE(f.dialogs.messages.size(), messages);
        QCOMPARE(PdfPageCount(pdf), 1);
        const QString printed = PdfText(pdf);
        if (!printed.isNull())
            QVERIFY2(printed.contains(QStringLiteral("Biegemoment – Umhüllende 1: U1")),
                     qPrintable(printed));

        const QStringList combinationCells = Cells(tables.CombinationGrid, 1);
        const QStringList envelopeCells = Cells(tables.EnvelopeGrid, 3);
        f.dialogs.saveNames = {f.TempPath("p.bpj")};
        QVERIFY(f.form->SaveProject());
        QVERIFY(!f.form->document.ProjectModified());

        InputWindowFixture g;
        g.form->OpenProjectFile(f.TempPath("p.bpj"));
        QCOMPARE(g.form->document.LoadCaseCount(), 3);
        g.form->Kombinationen1->trigger();
        TCombinationsForm& reopened = *g.form->CombinationsWindow();
        QCOMPARE(Cells(reopened.CombinationGrid, 1), combinationCells);
        QCOMPARE(Cells(reopened.EnvelopeGrid, 3), envelopeCells);
        g.form->Berechnen1->trigger();
        QCOMPARE(MiddleReaction(*g.form), MiddleReaction(*f.form));
        QCOMPARE(EnvelopeOf(*g.form), EnvelopeOf(*f.form));
        QVERIFY(g.dialogs.unexpected.isEmpty());
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }

    // "Zeigen › Ergebnisse" of the example project is the protocol of
    // balkor-batch on the same project file.
    void resultsProtocolOfTheExampleProject() {
        MainFormFixture f;
        const QString project = QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bpj");
        f.form->OpenProjectFile(project);
        QCOMPARE(f.form->document.LoadCaseCount(), 5);
        QVERIFY(f.dialogs.messages.isEmpty());
        f.form->Berechnen1->trigger();
        QVERIFY(f.form->document.ResultsValid());

        const QString shown = f.TempPath("ergebnisse.txt");
        const QString editor = f.TempPath("editor.sh");
        WriteTextFile(editor, qPrintable(QStringLiteral("#!/bin/sh\ncp \"$1\" '%1'\n").arg(shown)));
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const std::string savedEditor = EditorProgram;
        EditorProgram = editor.toStdString();
        f.form->Ergebnisse1->trigger();
        EditorProgram = savedEditor;
        QVERIFY(f.form->resultsEditor);
        QVERIFY(f.form->resultsEditor->waitForFinished(10000));

        QProcess batch;
        const QString expected = f.TempPath("batch.txt");
        batch.start(QStringLiteral(BALKOR_BINARY_DIR "/src/batch/balkor-batch"),
                    {QStringLiteral("--quiet"), project, QStringLiteral("--results"), expected});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        QVERIFY(WithoutTimes(expected).size() > 10000);
        QCOMPARE(WithoutTimes(shown), WithoutTimes(expected));
    }

    // The example project as the user guide shows it: the envelopes' page of
    // "Kombinationen" beside the bending-moment envelope of "Fahrzeug". With
    // BALKOR_UI_SCREENSHOTS set to a folder, the screen is saved there as
    // projekt-umhuellende.png (under Xvfb with a window manager:
    // scripts/make-guide-images.sh).
    void exampleProjectEnvelopeOnScreen() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        InstallGraphicsWindows(*f.form, f.input, f.solutions, f.dialogs);
        f.form->resize(1270, 890);
        f.form->move(0, 0);
        f.form->OpenProjectFile(QStringLiteral(BALKOR_SOURCE_DIR "/examples/bruecke.bpj"));
        f.form->Berechnen1->trigger();
        QVERIFY(f.form->document.ResultsValid());
        f.form->SolForm->hide(); // "Fertig"

        f.form->Kombinationen1->trigger();
        TCombinationsForm& tables = *f.form->CombinationsWindow();
        QTest::mouseClick(tables.PageControl1->Tabs(), Qt::LeftButton, {},
                          tables.PageControl1->Tabs()->TabRect(1).center());
        qobject_cast<QMdiSubWindow*>(tables.parentWidget())->setGeometry(0, 0, 430, 330);
        TGraphForm& graph = OpenGraphics(*f.form, kTabBiegemoment);
        QMdiSubWindow* frame = qobject_cast<QMdiSubWindow*>(graph.parentWidget());
        frame->setGeometry(430, 0, 800, 780);
        // Five load cases and a combination come before the envelope.
        ChooseInSelector(graph, 6);
        QCOMPARE(graph.windowTitle(), QStringLiteral("Biegemoment – Umhüllende 1: Fahrzeug"));
        SendWindowMessage(&graph, UM_REFRESH, kRefreshRefit);
        QCoreApplication::sendPostedEvents();
        QVERIFY(graph.List().RecordCount() > 0);

        const QString folder = qEnvironmentVariable("BALKOR_UI_SCREENSHOTS");
        if (!folder.isEmpty()) {
            f.form->mdiArea->setActiveSubWindow(frame);
            QTRY_COMPARE(f.form->mdiArea->activeSubWindow(), frame);
            QTest::qWait(500);
            const QString path = folder + QStringLiteral("/projekt-umhuellende.png");
            QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(path), qPrintable(path));
        }
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    // Several load cases from the command line make a project; a project
    // file takes the place of any other file.
    void commandLineFilesOfAProject() {
        const FileArguments files = ClassifyFileArguments(
            {QStringLiteral("/x/a.bsy"), QStringLiteral("/x/1.bld"), QStringLiteral("/x/2.bld")});
        QCOMPARE(files.loadFile, QStringLiteral("/x/1.bld"));
        QCOMPARE(files.moreLoadFiles, QStringList({"/x/2.bld"}));
        const FileArguments project =
            ClassifyFileArguments({QStringLiteral("/x/p.bpj"), QStringLiteral("/x/a.bsy")});
        QCOMPARE(project.projectFile, QStringLiteral("/x/p.bpj"));
        QVERIFY(project.systemFile.isEmpty());
        QCOMPARE(project.ignored, QStringList({"/x/a.bsy"}));
    }
};

BALKOR_REGISTER_TEST(ProjectWindowsTest);
#include "ProjectWindowsTest.moc"
