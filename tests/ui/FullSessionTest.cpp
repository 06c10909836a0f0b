// A day with the program, from an empty start to closing it: a small
// grillage typed into the input windows with keys and clicks, a check that
// points to a typing error and its correction, both files saved,
// "Berechnen", both protocols, three graphics windows zoomed, moved and
// turned, a colour changed in the settings dialog, a picture copied, all
// graphics printed into a PDF file, "Neu" and the files opened again (every
// table as typed), and the closing questions. Every step looks at what the
// user sees.
#include "FakeDialogs.h"
#include "SettingsTreeItems.h"
#include "StandInEditor.h"
#include "analysis/SolutionsCont.h"
#include "graphics/SceneRebuild.h"
#include "graphics/SvgCanvas.h"
#include "grid/UserCell.h"
#include "grid/UserGrid.h"
#include "model/Tables.h"
#include "settings/SettingsTree.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "support/ScopedEnvironment.h"
#include "ui/FileNameLabel.h"
#include "ui/GraphForm.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"
#include "ui/SolForm.h"
#include "ui/TreeForm.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <clocale>
#include <memory>
#include <vector>

namespace {

// One row as the user types it ("\t" is Tab; the support and hinge-type
// columns move on after one letter) and the texts its cells show afterwards,
// grid column 1 first.
struct TypedRow {
    const char* keys;
    std::vector<const char*> shown;
};
using TypedPage = std::vector<TypedRow>;

// Two main girders along x (y = 0 and 4, nodes 1-3 and 4-6 at x = 0, 4, 8)
// joined by three cross girders; nodes 1, 4 and 6 held in z, node 3 is moved
// in z by the load case (held about Rx, so that its reaction is listed);
// node 6 held about its first axis, skewed by 30 degrees (typed later, with a
// click into its cell).
const TypedPage kNodes = {
    {"0\t0\t1100\t", {"0.000", "0.000", "J", "J", "N", "0.000"}},
    {"4\t0\t0000\t", {"4.000", "0.000", "N", "N", "N", "0.000"}},
    {"8\t0\t0100\t", {"8.000", "0.000", "N", "J", "N", "0.000"}},
    {"0\t4\t1100\t", {"0.000", "4.000", "J", "J", "N", "0.000"}},
    {"4\t4\t0000\t", {"4.000", "4.000", "N", "N", "N", "0.000"}},
    {"8\t4\t1100\t", {"8.000", "4.000", "J", "J", "N", "30.00"}},
};
// Beam 7 is typed with the end node 9, which does not exist; the check
// points to it and the user corrects it to 6. The length column shows the
// distance of the two nodes.
const TypedPage kBeams = {
    {"1\t2\t1\t4\t0,5\t", {"1", "2", "1", "4", "0.5000", "4.000"}},
    {"2\t3\t1\t4\t0,5\t", {"2", "3", "1", "4", "0.5000", "4.000"}},
    {"4\t5\t1\t4\t0,5\t", {"4", "5", "1", "4", "0.5000", "4.000"}},
    {"5\t6\t1\t4\t0,5\t", {"5", "6", "1", "4", "0.5000", "4.000"}},
    {"1\t4\t2\t2\t0,3\t", {"1", "4", "2", "2", "0.3000", "4.000"}},
    {"2\t5\t2\t2\t0,3\t", {"2", "5", "2", "2", "0.3000", "4.000"}},
    {"3\t9\t2\t2\t0,3\t", {"3", "6", "2", "2", "0.3000", "4.000"}},
};
constexpr int kWrongBeamRow = 6;
constexpr int kWrongBeamColumn = 2;
const TypedPage kSections = {
    {"3E7\t1,2E7\t0,05\t0,02\t1E-5\t",
     {"3.000e+07", "1.200e+07", "0.05000", "0.02000", "1.000e-05"}},
    {"3e7\t1.2e7\t0.01\t0.005\t0.00001\t",
     {"3.000e+07", "1.200e+07", "0.01000", "0.005000", "1.000e-05"}},
};
const TypedPage kHinges = {{"2\t0,5\tb", {"2", "0.5000", "Biegemoment"}}};
// Every kind of load: 10 on node 2 and a moment on node 5, a settlement of
// node 3, 5 on every main girder, 20 in the middle of cross girder 6, a load
// at the hinge and a temperature difference on the cross girders.
const TypedPage kNodeLoads = {
    {"2\t2\t10\t\t\t", {"2", "2", "10.00", "0.000", "0.000"}},
    {"5\t5\t\t\t5\t", {"5", "5", "0.000", "0.000", "5.000"}},
};
const TypedPage kConstraints = {{"3\t3\t0,005\t\t\t", {"3", "3", "0.005000", "0.000", "0.000"}}};
const TypedPage kBeamLoads = {{"1\t4\t5\t5\t\t\t", {"1", "4", "5.000", "5.000", "0.000", "0.000"}}};
const TypedPage kPointLoads = {{"6\t0,5\t20\t\t\t", {"6", "0.5000", "20.00", "0.000", "0.000"}}};
const TypedPage kHingeLoads = {{"1\tL\t3\t", {"1", "Last", "3.000"}}};
const TypedPage kTemperatures = {{"5\t7\t10\t", {"5", "7", "10.00"}}};
// The vertical loads add up to 10 + 4 × 4 × 5 + 20 = 110; the moments, the
// settlement and the temperature add no vertical force.
constexpr double kTotalVerticalLoad = 110;

const std::vector<const TypedPage*> kGeometryPages = {&kNodes, &kBeams, &kSections, &kHinges};
const std::vector<const TypedPage*> kLoadPages = {&kNodeLoads,  &kConstraints, &kBeamLoads,
                                                  &kPointLoads, &kHingeLoads,  &kTemperatures};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Shown(TUserGrid* grid, int row, int col) {
    return grid->Columns(col)->CellText(row, col);
}

// Chooses a page with a click on its tab; its grid takes the focus.
TUserGrid* ShowPage(TInputForm& window, int index) {
    TPageTabs* tabs = window.PageControl1->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(index).center());
    return window.PageGrid(index);
}

void ClickCell(TUserGrid* grid, int row, int col) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(row, col).center());
}

// Types the rows of a page from its first row on.
void TypePage(TInputForm& window, int index, const TypedPage& rows) {
    TUserGrid* grid = ShowPage(window, index);
    QVERIFY(grid->hasFocus());
    ClickCell(grid, grid->FixedRows(), 1);
    for (const TypedRow& row : rows)
        QTest::keyClicks(grid, QString::fromUtf8(row.keys));
}

// Every typed row shows its texts, and no row beyond them is used.
void CompareWithTyped(TInputForm& window, const std::vector<const TypedPage*>& pages) {
    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
        TUserGrid* grid = window.PageGrid(page);
        const TypedPage& rows = *pages[page];
        for (int row = 0; row < static_cast<int>(rows.size()); ++row)
            for (int col = 1; col < grid->ColCount(); ++col)
                QVERIFY2(Shown(grid, grid->FixedRows() + row, col) ==
                             QString::fromUtf8(rows[row].shown[col - 1]),
                         qPrintable(QStringLiteral("page %1, row %2, column %3: %4")
                                        .arg(page)
                                        .arg(row + 1)
                                        .arg(col)
                                        .arg(Shown(grid, grid->FixedRows() + row, col))));
        QCOMPARE(grid->Container()->ValidCount(), static_cast<int>(rows.size()));
    }
}

// The column "Z" of the support reactions in a results protocol, summed.
double SumOfReactions(const QString& protocol) {
    const int start = protocol.indexOf(QStringLiteral("Auflagerkräfte"));
    const int end = protocol.indexOf(QStringLiteral("Gelenkverschiebung"));
    double sum = 0;
    static const QRegularExpression row(QStringLiteral("^ +\\d+ +(\\S+) "),
                                        QRegularExpression::MultilineOption);
    auto rows = row.globalMatch(protocol.mid(start, end - start));
    while (rows.hasNext())
        sum += rows.next().captured(1).toDouble();
    return sum;
}

// Whether the window's drawing list uses the colour ("#rrggbb").
bool DrawsColour(const TGraphForm& graph, const char* colour) {
    return RenderSvg(graph.List(), graph.View().Window(), {0, 0, 800, 600}).find(colour) !=
           std::string::npos;
}

// A drag with the left button, as the paint box's navigation sees it.
void Drag(QWidget* box, QPoint from, QPoint to) {
    QTest::mousePress(box, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step) {
        const QPointF at = from + (to - from) * step / 4.0;
        QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::LeftButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
    }
    QTest::mouseRelease(box, Qt::LeftButton, {}, to);
}

// The program as RunBalkor builds it, on fresh tables, with the test dialogs,
// its settings file and protocol folder in a folder of its own.
struct Session {
    Session() : solutions(input) {
        environment.Set("TMP", dir.path().toStdString());
        form = std::make_unique<TMainForm>(input, solutions, dialogs, settingsPath());
        tree = InstallSettingsDialogs(*form, SettingsTree(), dialogs);
        InstallGraphicsWindows(*form, input, solutions, dialogs);
        form->resize(1180, 860);
        form->show();
        form->activateWindow();
        shown = QTest::qWaitForWindowActive(form.get());
    }
    ~Session() {
        form.reset();
        SettingsTree().ResetAll();
    }
    QString settingsPath() const { return dir.filePath(QStringLiteral("balkor.dat")); }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    ScopedEnvironment environment;
    InputModel input;
    SolutionsCont solutions;
    FakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    TTreeForm* tree = nullptr;
    bool shown = false;
};

} // namespace

class FullSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void aDayWithTheProgram() {
        Session s;
        QVERIFY(s.shown);
        TMainForm& form = *s.form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Balkor"));
        QCOMPARE(form.StaticTextSystem->text(), QStringLiteral("System: "));
        QCOMPARE(form.StaticTextLoad->text(), QStringLiteral("Lastfall: "));
        QVERIFY(!form.Image2->isVisible() && !form.Image1->isVisible());

        // The geometry through "Eingabe › System" (Ctrl+S), the loads through
        // "Eingabe › Belastung" (Ctrl+B).
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        TSystemInputForm* geometry = form.GeometryWindow();
        QVERIFY(geometry && geometry->isVisible());
        QCOMPARE(geometry->windowTitle(), QStringLiteral("Geometrie"));
        for (int page = 0; page < 4; ++page)
            TypePage(*geometry, page, *kGeometryPages[page]);
        // The skew angle of node 6, by a click into its cell.
        TUserGrid* nodes = ShowPage(*geometry, 0);
        ClickCell(nodes, nodes->FixedRows() + 5, 6);
        QTest::keyClicks(nodes, QStringLiteral("30\t"));
        QCOMPARE(Shown(nodes, nodes->FixedRows() + 5, 6), QStringLiteral("30.00"));
        QVERIFY(form.document.System().Modified() && form.Image2->isVisible());
        QVERIFY(!form.document.LoadCase().Modified() && !form.Image1->isVisible());

        QTest::keyClick(&form, Qt::Key_B, Qt::ControlModifier);
        TLoadInputForm* loads = form.LoadWindow();
        QVERIFY(loads && loads->isVisible());
        for (int page = 0; page < 6; ++page)
            TypePage(*loads, page, *kLoadPages[page]);
        QVERIFY(form.document.LoadCase().Modified() && form.Image1->isVisible());

        // The check points to the end node of beam 7; the user types the
        // right one into the selected cell.
        QTest::mouseClick(geometry->SpeedButton4, Qt::LeftButton);
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(s.dialogs.messages[0].caption, QStringLiteral("Eingabefehler"));
        QCOMPARE(s.dialogs.messages[0].text,
                 QStringLiteral("Der zweite Knoten ist nicht definiert !"));
        QCOMPARE(geometry->PageControl1->ActivePageIndex(), 1);
        TUserGrid* beams = geometry->StabGrid;
        QVERIFY(beams->hasFocus());
        QCOMPARE(beams->Row(), beams->FixedRows() + kWrongBeamRow);
        QCOMPARE(beams->Col(), kWrongBeamColumn);
        QTest::keyClick(beams, Qt::Key_Backspace);
        QTest::keyClicks(beams, QStringLiteral("6\t"));
        QCOMPARE(Shown(beams, beams->FixedRows() + kWrongBeamRow, 6), QStringLiteral("4.000"));
        QTest::mouseClick(geometry->SpeedButton4, Qt::LeftButton);
        QTest::mouseClick(loads->SpeedButton4, Qt::LeftButton);
        QCOMPARE(s.dialogs.messages.size(), 3);
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(s.dialogs.messages[i].text, QStringLiteral("In Ordnung"));
            QCOMPARE(s.dialogs.messages[i].caption, QStringLiteral("Plausibilitätskontrolle"));
        }
        CompareWithTyped(*geometry, kGeometryPages);
        CompareWithTyped(*loads, kLoadPages);

        // "Speichern..." (F2) asks for both names.
        const QString systemPath = s.Path("rost.bsy");
        const QString loadPath = s.Path("rost.bld");
        s.dialogs.saveNames = {systemPath, loadPath};
        QTest::keyClick(&form, Qt::Key_F2);
        QVERIFY(s.dialogs.unexpected.isEmpty());
        QCOMPARE(s.dialogs.fileDialogs.size(), 2);
        QCOMPARE(s.dialogs.fileDialogs[0].title, QStringLiteral("System speichern"));
        QCOMPARE(s.dialogs.fileDialogs[1].title, QStringLiteral("Lastfall speichern"));
        QVERIFY(!form.document.System().Modified() && !form.document.LoadCase().Modified());
        QVERIFY(!form.Image2->isVisible() && !form.Image1->isVisible());
        QCOMPARE(form.StaticTextSystem->text(), QStringLiteral("System: rost.bsy"));
        QCOMPARE(form.StaticTextLoad->text(), QStringLiteral("Lastfall: rost.bld"));
        QCOMPARE(geometry->windowTitle(), QStringLiteral(" Geometrie:  ") + systemPath);
        QCOMPARE(loads->windowTitle(), QStringLiteral(" Belastung:  ") + loadPath);
        const QByteArray savedSystem = ReadAll(systemPath);
        const QByteArray savedLoads = ReadAll(loadPath);
        QVERIFY(savedSystem.startsWith("NODES\r\n6\r\n"));
        QVERIFY(savedLoads.startsWith("NODELOAD\r\n2\r\n"));

        // "Berechnen": the status window ends with "Fertig".
        form.Berechnen1->trigger();
        QCOMPARE(s.solutions.resultsValid, 1);
        QCOMPARE(s.dialogs.messages.size(), 3);
        QVERIFY(form.SolForm->isVisible());
        // Six nodes, two sides of the hinge in beam 2, the point on beam 6.
        QCOMPARE(form.SolForm->NodeNb->text(), QStringLiteral("9"));
        QCOMPARE(form.SolForm->BitBtn1->text(), QStringLiteral("Fertig"));
        QTest::mouseClick(form.SolForm->BitBtn1, Qt::LeftButton);
        QVERIFY(!form.SolForm->isVisible());

        // Both protocols in the editor; the supports carry the whole load.
        StandInEditor editor(s.dir);
        form.Eingabeprotocoll1->trigger();
        form.Ergebnisse1->trigger();
        QVERIFY(form.inputEditor && form.resultsEditor);
        QTRY_COMPARE(editor.Starts().size(), 2);
        const auto files = form.document.tempFiles.Names();
        QCOMPARE(files.size(), size_t(2));
        const QString inputProtocol = QString::fromUtf8(ReadAll(QString::fromStdString(files[0])));
        const QString results = QString::fromUtf8(ReadAll(QString::fromStdString(files[1])));
        QVERIFY(inputProtocol.startsWith(QStringLiteral("Balkor - Ausdruck der Eingabewerte")));
        QVERIFY(inputProtocol.contains(QStringLiteral("System  : ") + systemPath));
        QVERIFY(results.startsWith(QStringLiteral("Balkor - Ausdruck der Ergebnisse")));
        QVERIFY(results.contains(QStringLiteral("Lastfall: ") + loadPath));
        QVERIFY2(qAbs(SumOfReactions(results) + kTotalVerticalLoad) < 0.1,
                 qPrintable(QString::number(SumOfReactions(results))));

        // Three graphics windows: "Zeigen › Grafik" on "Geometrie", the
        // client area's menu on "Biegelinie", and one switched to
        // "Biegemoment" by a click on its tab.
        form.Grafik1->trigger();
        form.FillPopupMenu();
        form.PopupMenu1->actions().at(kTabBiegelinie)->trigger();
        form.Grafik1->trigger();
        const QList<QMdiSubWindow*> subWindows = form.mdiArea->subWindowList();
        QCOMPARE(subWindows.size(), 5);
        std::vector<TGraphForm*> graphs;
        for (QMdiSubWindow* window : subWindows)
            if (auto* graph = qobject_cast<TGraphForm*>(window->widget()))
                graphs.push_back(graph);
        QCOMPARE(graphs.size(), size_t(3));
        TPageTabs* tabs = graphs[2]->TabControl2;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(kTabBiegemoment).center());
        const int expectedTabs[] = {kTabGeometrie, kTabBiegelinie, kTabBiegemoment};
        const char* const captions[] = {"Geometrie", "Biegelinie", "Biegemoment"};
        form.WindowTileItem->trigger();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(graphs[i]->CurrentTab(), expectedTabs[i]);
            QCOMPARE(graphs[i]->windowTitle(), QString::fromUtf8(captions[i]));
            QVERIFY(QTest::qWaitForWindowExposed(graphs[i]->PaintBox1));
            QVERIFY(graphs[i]->List().RecordCount() > 0);
        }

        // The bending moments: zoomed into a window, moved, turned.
        TGraphForm& moments = *graphs[2];
        QWidget* box = moments.PaintBox1;
        const QPoint middle = box->rect().center();
        const SceneBox all = moments.View().Window();
        moments.ToolButton3->trigger();
        Drag(box, middle - QPoint(60, 40), middle + QPoint(60, 40));
        const SceneBox zoomed = moments.View().Window();
        QVERIFY(zoomed.Width() < all.Width() / 2);
        QVERIFY(!moments.ToolButton3->isChecked());
        if (!moments.ToolButton5->isChecked())
            moments.ToolButton5->trigger(); // "Verschieben"
        QVERIFY(moments.ToolButton5->isChecked());
        Drag(box, middle, middle + QPoint(30, 20));
        const SceneBox moved = moments.View().Window();
        QVERIFY(!(moved == zoomed));
        QCOMPARE(moved.Width(), zoomed.Width());
        moments.ToolButton6->trigger();
        const ViewMatrix before = moments.View().Matrix();
        Drag(box, middle, middle + QPoint(40, 0));
        QVERIFY(moments.View().Matrix().m[0][0] != before.m[0][0] ||
                moments.View().Matrix().m[1][0] != before.m[1][0]);
        const ViewMatrix turned = moments.View().Matrix();
        moments.ToolButton6->trigger();
        QVERIFY(moments.ToolButton5->isChecked());

        // "Konfiguration": the beams' colour chosen in the colour dialog.
        form.Konfiguration1->trigger();
        QVERIFY(s.tree->isVisible());
        QTreeWidgetItem* colour = SettingItem(*s.tree, {"Geometrie", "Stäbe", "Farbe"});
        QVERIFY(colour);
        s.tree->TreeView1->scrollToItem(colour);
        const QPoint at = s.tree->TreeView1->visualItemRect(colour).center();
        s.dialogs.colours = {QColor(0x12, 0x34, 0x56)};
        QTest::mouseClick(s.tree->TreeView1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(s.tree->TreeView1->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(s.dialogs.colourDialogs.size(), 1);
        QCOMPARE(GeoBeamColour, Rgb(0x12, 0x34, 0x56));
        QTest::mouseClick(s.tree->Button1, Qt::LeftButton);
        QVERIFY(!s.tree->isVisible());
        // The windows draw in the new colour and keep their views.
        for (TGraphForm* graph : graphs)
            QTRY_VERIFY2(DrawsColour(*graph, "#123456"), qPrintable(graph->windowTitle()));
        QCOMPARE(moments.View().Matrix().m[0][0], turned.m[0][0]);

        // The bending moments copied as a picture: SVG with the new colour,
        // and a bitmap of the window's size.
        moments.ToolButton2->trigger();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && copied->hasFormat(QStringLiteral("image/svg+xml")));
        QVERIFY(copied->data(QStringLiteral("image/svg+xml")).contains("#123456"));
        QVERIFY(copied->hasImage());
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), box->size());

        // "Grafik drucken": every graphics window on one page of a PDF file.
        const QString pdf = s.Path("grafik.pdf");
        s.dialogs.exec = [pdf](QDialog* dialog) {
            auto* print = qobject_cast<QPrintDialog*>(dialog);
            if (!print)
                return false;
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(pdf);
            return true;
        };
        form.Grafikdrucken1->trigger();
        s.dialogs.exec = nullptr;
        const QByteArray printed = ReadAll(pdf);
        QVERIFY(printed.startsWith("%PDF"));
        QCOMPARE(printed.count("/Type /Page\n") + printed.count("/Type /Page "), 1);
        // Settings are no document: the input stays unmodified and calculated.
        QVERIFY(!form.document.System().Modified() && !form.document.LoadCase().Modified());
        QCOMPARE(s.solutions.resultsValid, 1);

        // "Neu" empties everything without a question: nothing is unsaved.
        form.FileNewItem->trigger();
        QVERIFY(s.dialogs.questions.isEmpty());
        QCOMPARE(form.StaticTextSystem->text(), QStringLiteral("System: "));
        QCOMPARE(form.StaticTextLoad->text(), QStringLiteral("Lastfall: "));
        for (InputContainer* table : s.input.systemTables)
            QCOMPARE(table->ValidCount(), 0);
        for (InputContainer* table : s.input.loadTables)
            QCOMPARE(table->ValidCount(), 0);
        QCOMPARE(s.solutions.resultsValid, 0);
        QVERIFY(!form.inputEditor && !form.resultsEditor);

        // Opened again with F3 and F4: every table as typed.
        s.dialogs.openNames = {systemPath, loadPath};
        QTest::keyClick(&form, Qt::Key_F3);
        QTest::keyClick(&form, Qt::Key_F4);
        QVERIFY(s.dialogs.unexpected.isEmpty());
        QCOMPARE(s.dialogs.fileDialogs[2].title, QStringLiteral("System öffnen"));
        QCOMPARE(s.dialogs.fileDialogs[3].title, QStringLiteral("Lastfall öffnen"));
        QCOMPARE(form.StaticTextSystem->text(), QStringLiteral("System: rost.bsy"));
        QVERIFY(!form.document.System().Modified() && !form.document.LoadCase().Modified());
        CompareWithTyped(*geometry, kGeometryPages);
        CompareWithTyped(*loads, kLoadPages);

        // One more change to each half; closing asks for both: the system is
        // not saved, the load case is.
        ClickCell(ShowPage(*geometry, 0), nodes->FixedRows() + 1, 1);
        QTest::keyClicks(nodes, QStringLiteral("4,5\t"));
        TUserGrid* nodeLoads = ShowPage(*loads, 0);
        ClickCell(nodeLoads, nodeLoads->FixedRows() + 0, 3);
        QTest::keyClicks(nodeLoads, QStringLiteral("12\t"));
        QVERIFY(form.document.System().Modified() && form.document.LoadCase().Modified());
        s.dialogs.answers = {Answer::No, Answer::Yes};
        QVERIFY(form.close());
        QCOMPARE(s.dialogs.questions,
                 QStringList({QStringLiteral("System geändert | Geometrie erst speichern ?"),
                              QStringLiteral("Lasfall geändert | Lasteingaben erst speichern ?")}));
        QCOMPARE(ReadAll(systemPath), savedSystem);
        const QByteArray closedLoads = ReadAll(loadPath);
        QVERIFY(closedLoads != savedLoads);
        QVERIFY(closedLoads.contains(" 1.20000000000000e+01 "));
        // The settings file keeps the colour; the protocols are gone.
        QVERIFY(
            ReadAll(s.settingsPath())
                .contains(QStringLiteral("EinstellungGrafikeinstellungGeometrieStäbeFarbe = %1\n")
                              .arg(Rgb(0x12, 0x34, 0x56))
                              .toUtf8()));
        for (const std::string& file : files)
            QVERIFY(!QFile::exists(QString::fromStdString(file)));
        QVERIFY(s.dialogs.unexpected.isEmpty());
    }
};

BALKOR_REGISTER_TEST(FullSessionTest);

#include "FullSessionTest.moc"
