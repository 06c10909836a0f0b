// The geometry and load input windows: pages, grids, columns and headers;
// typing into them; the plausibility and clear-line buttons; captions; what a
// changed cell does to the document; help topics, sizes and tabs.
#include "InputWindowFixture.h"
#include "MessageSpy.h"
#include "grid/CellDialog.h"
#include "grid/UserHeader.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/Help.h"
#include "ui/HelpWindow.h"
#include "ui/WindowMessages.h"

#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTextBrowser>
#include <functional>

namespace {

using Field = std::function<double(InputModel&)>;
#define FIELD(table, member) [](InputModel& m) { return double(m.table.At(0)->member); }

struct ColumnCase {
    bool loadWindow;
    int page;
    int col;
    const char* typed; // followed by Tab unless the column moves on by itself
    double stored;
    Field field;
};

// Each column of each page gets its own value, so that two columns that
// edit the same field, or a field of the wrong column, show.
const ColumnCase kColumnCases[] = {
    {false, 0, 1, "1", 1, FIELD(nodes, x)},
    {false, 0, 2, "2", 2, FIELD(nodes, y)},
    {false, 0, 3, "J", 1, FIELD(nodes, fixZ)},
    {false, 0, 4, "1", 1, FIELD(nodes, fixRx)},
    {false, 0, 5, "J", 1, FIELD(nodes, fixRy)},
    {false, 0, 6, "6", 6, FIELD(nodes, skew)},
    {false, 1, 1, "1", 1, FIELD(beams, start)},
    {false, 1, 2, "2", 2, FIELD(beams, end)},
    {false, 1, 3, "3", 3, FIELD(beams, section)},
    {false, 1, 4, "4", 4, FIELD(beams, intervals)},
    {false, 1, 5, "5", 5, FIELD(beams, thickness)},
    {false, 2, 1, "1", 1, FIELD(mats, E)},
    {false, 2, 2, "2", 2, FIELD(mats, G)},
    {false, 2, 3, "3", 3, FIELD(mats, Iy)}, // "Trägheitsmoment Iy"
    {false, 2, 4, "4", 4, FIELD(mats, It)}, // "Trägheitsmoment It"
    {false, 2, 5, "5", 5, FIELD(mats, alphaT)},
    {false, 3, 1, "1", 1, FIELD(hinges, beam)},
    {false, 3, 2, "0,25", 0.25, FIELD(hinges, pos)},
    {false, 3, 3, "T", 2, FIELD(hinges, type)},
    {false, 4, 1, "1", 1, FIELD(springs, from)},
    {false, 4, 2, "2", 2, FIELD(springs, to)},
    {false, 4, 3, "3", 3, FIELD(springs, kz)},
    {false, 4, 4, "4", 4, FIELD(springs, kRx)},
    {false, 4, 5, "5", 5, FIELD(springs, kRy)},
    {true, 0, 1, "1", 1, FIELD(nodeLoads, from)},
    {true, 0, 2, "2", 2, FIELD(nodeLoads, to)},
    {true, 0, 3, "3", 3, FIELD(nodeLoads, Fz)},
    {true, 0, 4, "4", 4, FIELD(nodeLoads, Mx)},
    {true, 0, 5, "5", 5, FIELD(nodeLoads, My)},
    {true, 1, 1, "1", 1, FIELD(zwv, from)},
    {true, 1, 2, "2", 2, FIELD(zwv, to)},
    {true, 1, 3, "3", 3, FIELD(zwv, w)},
    {true, 1, 4, "4", 4, FIELD(zwv, rx)},
    {true, 1, 5, "5", 5, FIELD(zwv, ry)},
    {true, 2, 1, "1", 1, FIELD(beamLoads, from)},
    {true, 2, 2, "2", 2, FIELD(beamLoads, to)},
    {true, 2, 3, "3", 3, FIELD(beamLoads, qStart)},
    {true, 2, 4, "4", 4, FIELD(beamLoads, qEnd)},
    {true, 2, 5, "5", 5, FIELD(beamLoads, mtStart)},
    {true, 2, 6, "6", 6, FIELD(beamLoads, mtEnd)},
    {true, 3, 1, "1", 1, FIELD(pointLoads, beam)},
    {true, 3, 2, "0,5", 0.5, FIELD(pointLoads, pos)},
    {true, 3, 3, "3", 3, FIELD(pointLoads, Q)},
    {true, 3, 4, "4", 4, FIELD(pointLoads, Mb)},
    {true, 3, 5, "5", 5, FIELD(pointLoads, Mt)},
    {true, 4, 1, "1", 1, FIELD(hingeLoads, hinge)},
    {true, 4, 2, "V", 1, FIELD(hingeLoads, kind)},
    {true, 4, 3, "3", 3, FIELD(hingeLoads, value)},
    {true, 5, 1, "1", 1, FIELD(tempLoads, from)},
    {true, 5, 2, "2", 2, FIELD(tempLoads, to)},
    {true, 5, 3, "3", 3, FIELD(tempLoads, dT)},
};

QStringList Captions(TInputForm& window) {
    QStringList captions;
    for (int i = 0; i < window.PageControl1->Count(); ++i)
        captions << window.PageControl1->PageCaption(i);
    return captions;
}

// The header captions of a grid, from the top row down and left to right.
QStringList Headers(TUserGrid* grid) {
    QStringList texts;
    for (int row = 0; row < grid->FixedRows(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            if (TUserHeader* header = grid->Headers(row, col);
                header && header->RowB() == row && header->ColB() == col)
                texts << header->Text();
    return texts;
}

// Writes a stand-in editor that stays open, and makes it the editor.
struct StayingEditor {
    explicit StayingEditor(const MainFormFixture& f) : saved(EditorProgram) {
        const QString path = WriteTextFile(f.TempPath("editor.sh"), "#!/bin/sh\nexec sleep 60\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EditorProgram = path.toStdString();
    }
    ~StayingEditor() { EditorProgram = saved; }
    std::string saved;
};

} // namespace

class InputWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyGeometryWindowShowsFourPagesOfFortyNumberedRows() {
        InputWindowFixture f;
        TSystemInputForm& window = f.Geometry();
        QCOMPARE(window.windowTitle(), QStringLiteral("Geometrie"));
        // The frame shows the window's icon, not the program's.
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.parentWidget()->windowIcon().cacheKey(), window.windowIcon().cacheKey());
        QCOMPARE(Captions(window),
                 QStringList({"Knoten", "Stäbe", "Querschnittstypen", "Gelenke", "Federn"}));
        const struct {
            TUserGrid* grid;
            InputContainer* table;
            int fixedRows;
            QList<int> widths;
        } pages[] = {{window.KnotenGrid, &f.input.nodes, 2, {40, 100, 100, 40, 40, 40, 105}},
                     {window.StabGrid, &f.input.beams, 2, {40, 60, 60, 80, 60, 100, 60}},
                     {window.QuerschnittsGrid, &f.input.mats, 1, {40, 100, 100, 100, 100, 108}},
                     {window.GelenkGrid, &f.input.hinges, 1, {40, 50, 100, 100}},
                     {window.FederGrid, &f.input.springs, 2, {50, 40, 40, 100, 100, 100}}};
        for (const auto& page : pages) {
            QCOMPARE(page.grid->Container(), page.table);
            QCOMPARE(page.grid->FixedRows(), page.fixedRows);
            QCOMPARE(page.grid->RowCount(), 40 + page.fixedRows);
            QCOMPARE(page.grid->ColCount(), int(page.widths.size()));
            QCOMPARE(page.grid->ParentForm(), window.parentWidget());
            // Columns keep their widths unless a caption above needs more.
            for (int col = 0; col < page.grid->ColCount(); ++col)
                QVERIFY(page.grid->ColWidths(col) >= page.widths[col]);
            for (int row = page.fixedRows; row < page.grid->RowCount(); ++row)
                QVERIFY(!page.grid->isValid(row, 1));
        }
        QCOMPARE(Headers(window.KnotenGrid),
                 QStringList({"Nr", "Koordinaten", "Auflager", "Lagerverdrehung in °", "x", "y",
                              "z", "Rx", "Ry"}));
        QCOMPARE(Headers(window.QuerschnittsGrid),
                 QStringList({"Nr", "Elastizitätsmodul", "Schubmodul", "Trägheitsmoment Iy",
                              "Trägheitsmoment It", "Temp.ausd.koeff."}));
        QCOMPARE(Headers(window.FederGrid), QStringList({"Nr", "Knoten", "Federsteifigkeit", "von",
                                                         "bis", "kz", "kRx", "kRy"}));
    }

    void loadWindowShowsItsSixPages() {
        InputWindowFixture f;
        TLoadInputForm& window = f.Loads();
        QCOMPARE(window.windowTitle(), QStringLiteral("Belastung"));
        QCOMPARE(Captions(window),
                 QStringList({"Knotenlasten", "Zwangsverformungen", "Streckenlasten",
                              "Einzellasten", "Gelenklasten", "Temperatur"}));
        const QList<InputContainer*> tables = {&f.input.nodeLoads,  &f.input.zwv,
                                               &f.input.beamLoads,  &f.input.pointLoads,
                                               &f.input.hingeLoads, &f.input.tempLoads};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(window.PageGrid(i)->Container(), tables[i]);
        QCOMPARE(window.StreckenlastenGrid->FixedRows(), 3);
        QCOMPARE(Headers(window.StreckenlastenGrid),
                 QStringList({"Nr", "Stäbe", "Streckenlast", "Querrichtung", "Torsionsmoment",
                              "von", "bis", "Anfang", "Ende", "Anfang", "Ende"}));
        QCOMPARE(Headers(window.ZwangsGrid).at(2), QStringLiteral("Verschiebung in Richtung"));
    }

    void supportColumnsTypeJAndN() {
        InputWindowFixture f;
        TUserGrid* grid = f.ShowPage(f.Geometry(), 0);
        f.Click(grid, 2, 3);
        f.Type(grid, QStringLiteral("1"));
        QCOMPARE(f.Shown(grid, 2, 3), QStringLiteral("J"));
        QCOMPARE(grid->Col(), 4); // on to "Rx"
        f.Type(grid, QStringLiteral("0"));
        QCOMPARE(f.Shown(grid, 2, 4), QStringLiteral("N"));
        QCOMPARE(grid->Col(), 5);
        QCOMPARE(f.input.nodes.At(0)->fixZ, 1);
        QCOMPARE(f.input.nodes.At(0)->fixRx, 0);
    }

    void hingeTypeColumnTakesBTQ() {
        InputWindowFixture f;
        TUserGrid* grid = f.ShowPage(f.Geometry(), 3);
        const struct {
            const char* letter;
            const char* shown;
            int stored;
        } cases[] = {{"B", "Biegemoment", 1}, {"t", "Torsionsmoment", 2}, {"Q", "Querkraft", 0}};
        for (int i = 0; i < 3; ++i) {
            f.Click(grid, 1 + i, 3);
            f.Type(grid, QString::fromUtf8(cases[i].letter));
            QCOMPARE(f.Shown(grid, 1 + i, 3), QString::fromUtf8(cases[i].shown));
            QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(1, 2 + i)); // moved on
            QCOMPARE(f.input.hinges.At(i)->type, cases[i].stored);
        }
    }

    void beamLengthFollowsTheNodesAndCannotBeEdited() {
        InputWindowFixture f;
        TSystemInputForm& window = f.Geometry();
        TUserGrid* nodes = f.ShowPage(window, 0);
        f.Type(nodes, QStringLiteral("0\t0\t000\t3\t4\t000\t"));
        TUserGrid* beams = f.ShowPage(window, 1);
        f.Type(beams, QStringLiteral("1\t2\t1\t1\t0,3"));
        QCOMPARE(beams->Col(), 5);
        f.Type(beams, QStringLiteral("\t")); // Tab passes "Stablänge" by
        QCOMPARE(QPoint(beams->Col(), beams->Row()), QPoint(1, 3));
        QCOMPARE(f.Shown(beams, 2, 6), QStringLiteral("5.000"));

        // A click on the length cell, then typing: nothing is stored.
        f.Click(beams, 2, 6);
        const BeamRec before = *f.input.beams.At(0);
        f.form->document.System().SetModified(false);
        f.Type(beams, QStringLiteral("7"));
        f.Click(beams, 2, 1);
        QCOMPARE(std::memcmp(&before, f.input.beams.At(0), sizeof before), 0);
        QVERIFY(!f.form->document.System().Modified());

        // Node 2 moves to (6, 8): the length shown follows.
        f.ShowPage(window, 0);
        f.Click(nodes, 3, 1);
        f.Type(nodes, QStringLiteral("6\t8\t"));
        f.ShowPage(window, 1);
        QCOMPARE(f.Shown(beams, 2, 6), QStringLiteral("10.000"));
    }

    void everyColumnEditsItsField() {
        InputWindowFixture f;
        for (const ColumnCase& c : kColumnCases) {
            TInputForm& window = c.loadWindow ? static_cast<TInputForm&>(f.Loads())
                                              : static_cast<TInputForm&>(f.Geometry());
            TUserGrid* grid = f.ShowPage(window, c.page);
            // A click on the current cell would switch to caret editing.
            if (grid->Row() != grid->FixedRows() || grid->Col() != c.col)
                f.Click(grid, grid->FixedRows(), c.col);
            const QString typed = QString::fromUtf8(c.typed);
            f.Type(grid, typed);
            if (grid->Col() == c.col)
                f.Type(grid, QStringLiteral("\t"));
        }
        for (const ColumnCase& c : kColumnCases)
            QVERIFY2(c.field(f.input) == c.stored,
                     qPrintable(QStringLiteral("page %1 of the %2 window, column %3")
                                    .arg(c.page)
                                    .arg(c.loadWindow ? "load" : "geometry")
                                    .arg(c.col)));
        // Stiffnesses show as the other real columns do.
        QCOMPARE(f.Shown(f.Geometry().FederGrid, 2, 3), QStringLiteral("3.000"));
    }

    void failedLoadCheckShowsPageAndCellBeforeTheMessage() {
        InputWindowFixture f;
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        TLoadInputForm& window = f.Loads();
        // Temperature load 2 on beam 1, which has no thickness… no: beam 3
        // does not exist.
        TUserGrid* temperatures = f.ShowPage(window, 5);
        f.Type(temperatures, QStringLiteral("1\t2\t0\t3\t3\t5\t"));
        f.ShowPage(window, 0);
        int page = -1;
        QPoint cell;
        bool focused = false;
        bool selected = false;
        f.dialogs.onMessage = [&] {
            page = window.PageControl1->ActivePageIndex();
            cell = QPoint(temperatures->Col(), temperatures->Row());
            focused = temperatures->hasFocus();
            selected = temperatures->Select();
        };
        QTest::mouseClick(window.SpeedButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Stab 3 ist nicht definiert"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Eingabefehler"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(page, 5);
        QCOMPARE(cell, QPoint(1, 2 + 1));
        QVERIFY(focused);
        QVERIFY(selected);
    }

    void passedCheckSaysInOrdnung() {
        InputWindowFixture f;
        QTest::mouseClick(f.Geometry().SpeedButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("In Ordnung"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Plausibilitätskontrolle"));
    }

    void closingAndReopeningKeepsTheDataAndThePlainCaption() {
        InputWindowFixture f;
        const QString path = WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem);
        f.Geometry();
        f.form->OpenSystemFile(path);
        QCOMPARE(f.form->GeometryWindow()->windowTitle(), QStringLiteral(" Geometrie:  ") + path);
        QPointer<TSystemInputForm> window = f.form->GeometryWindow();
        window->parentWidget()->close();
        QTRY_VERIFY(!window);
        QVERIFY(!f.form->GeometryWindow());
        QCOMPARE(f.input.nodes.Grid(), nullptr);
        QCOMPARE(f.input.nodes.ValidCount(), 3);

        TSystemInputForm& again = f.Geometry();
        QCOMPARE(again.windowTitle(), QStringLiteral("Geometrie"));
        QCOMPARE(f.Shown(again.KnotenGrid, 4, 1), QStringLiteral("12.00"));
        QCOMPARE(f.Shown(again.StabGrid, 3, 6), QStringLiteral("6.000"));
        f.form->SetSystemFile(QString());
        QCOMPARE(again.windowTitle(), QStringLiteral(" Geometrie:  "));
    }

    // A typed cell does what opening a file does: the half is marked, the
    // results and the protocol editors go, the other windows redraw.
    void changedCellMarksDiscardsClosesAndRefreshes() {
        InputWindowFixture f;
        StayingEditor editor(f);
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("l.bld"), kTwoSpanLoads));
        f.form->SetGraphicsWindowFactory([](QWidget*, int) { return new MessageSpy; });
        f.form->Grafik1Click();
        auto* graphics =
            static_cast<MessageSpy*>(f.form->mdiArea->subWindowList().last()->widget());
        for (const bool loadHalf : {false, true}) {
            f.form->Berechnen1Click();
            QCOMPARE(f.solutions.resultsValid, 1);
            f.form->Eingabeprotocoll1Click();
            f.form->Ergebnisse1Click();
            QVERIFY(f.form->inputEditor && f.form->resultsEditor);
            QCoreApplication::processEvents();
            graphics->received.clear();

            TInputForm& window = loadHalf ? static_cast<TInputForm&>(f.Loads())
                                          : static_cast<TInputForm&>(f.Geometry());
            // "x" of node 1, "von" of the first distributed load.
            TUserGrid* grid = f.ShowPage(window, loadHalf ? 2 : 0);
            QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(1, grid->FixedRows()));
            f.Type(grid, QStringLiteral("1\t"));
            QCOMPARE(loadHalf ? f.form->document.LoadCase().Modified()
                              : f.form->document.System().Modified(),
                     true);
            QVERIFY(!(loadHalf ? f.form->Image1 : f.form->Image2)->isHidden());
            QCOMPARE(f.solutions.resultsValid, 0);
            QVERIFY(!f.form->inputEditor && !f.form->resultsEditor);
            QCoreApplication::processEvents();
            QCOMPARE(graphics->Count(UM_REFRESH), 1);
            QCOMPARE(graphics->received.last().second, kRefreshRefit);
        }
    }

    // UM_REFRESH reaches the input windows too, and moves none of their grids
    // (UGM_GOTOCELL has the same number).
    void refreshLeavesTheGridsWhereTheyAre() {
        InputWindowFixture f;
        TSystemInputForm& window = f.Geometry();
        const QPoint before(window.KnotenGrid->Col(), window.KnotenGrid->Row());
        QVERIFY(SendWindowMessage(&window, UM_REFRESH, 5, 3));
        f.form->RefreshChildWindows(kRefreshRefit);
        QCoreApplication::processEvents();
        QCOMPARE(QPoint(window.KnotenGrid->Col(), window.KnotenGrid->Row()), before);
    }

    void toolbarButtonsCallTheDocumentCommands() {
        InputWindowFixture f;
        TSystemInputForm& geometry = f.Geometry();
        TLoadInputForm& loads = f.Loads();
        const QList<QToolButton*> buttons = {geometry.SpeedButton5, geometry.SpeedButton3,
                                             geometry.SpeedButton2, geometry.SpeedButton1,
                                             geometry.SpeedButton4};
        QStringList hints;
        for (QToolButton* button : buttons) {
            hints << button->toolTip();
            QCOMPARE(button->statusTip(), button->toolTip());
            QCOMPARE(button->size(), QSize(25, 23));
            QVERIFY(button->autoRaise());
            QVERIFY(!button->icon().pixmap(16, 16, QIcon::Normal).isNull());
            QVERIFY(button->icon().pixmap(16, 16, QIcon::Normal).toImage() !=
                    button->icon().pixmap(16, 16, QIcon::Disabled).toImage());
        }
        QCOMPARE(hints, QStringList({"Neue Geometrie", "Geometrie öffnen", "Geometrie Speichern",
                                     "Zeile löschen (Strg-Del)", "Plausibilitätkontrolle"}));
        QCOMPARE(QStringList({loads.SpeedButton5->toolTip(), loads.SpeedButton3->toolTip(),
                              loads.SpeedButton2->toolTip()}),
                 QStringList({"Belastung neu", "Belastung öffnen", "Belastung speichern"}));
        QVERIFY(geometry.SpeedButton5->parentWidget()->height() == 29);

        // Open, save and new of each half.
        const QString system = WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem);
        f.dialogs.openNames = {system};
        QTest::mouseClick(geometry.SpeedButton3, Qt::LeftButton);
        QCOMPARE(f.dialogs.fileDialogs.last().title, QStringLiteral("System öffnen"));
        QCOMPARE(f.input.nodes.ValidCount(), 3);
        f.dialogs.saveNames = {f.TempPath("l.bld")};
        QTest::mouseClick(loads.SpeedButton2, Qt::LeftButton);
        QCOMPARE(f.dialogs.fileDialogs.last().title, QStringLiteral("Lastfall speichern"));
        QVERIFY(QFile::exists(f.TempPath("l.bld")));
        f.dialogs.openNames = {f.TempPath("l.bld")};
        QTest::mouseClick(loads.SpeedButton3, Qt::LeftButton);
        QCOMPARE(f.dialogs.fileDialogs.last().title, QStringLiteral("Lastfall öffnen"));
        QTest::mouseClick(geometry.SpeedButton5, Qt::LeftButton);
        QCOMPARE(f.input.nodes.ValidCount(), 0);
        QCOMPARE(f.form->SystemFile(), QString());
        QTest::mouseClick(loads.SpeedButton5, Qt::LeftButton);
        QCOMPARE(f.form->LoadFile(), QString());
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }

    void clearLineEmptiesTheCurrentRowOfThePageShown() {
        InputWindowFixture f;
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        TSystemInputForm& window = f.Geometry();
        TUserGrid* beams = f.ShowPage(window, 1);
        f.Click(beams, 3, 2);
        QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
        QCOMPARE(f.input.beams.At(1)->flag, 0);
        QCOMPARE(f.input.beams.ValidCount(), 1);
        QCOMPARE(f.input.nodes.ValidCount(), 3); // the node page's current row stays
        QVERIFY(beams->hasFocus());
        QVERIFY(!beams->isValid(3, 2));
    }

    // The grids' questions and number dialogs are the program's dialogs.
    void gridDialogsAreThePrograms() {
        InputWindowFixture f;
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        TUserGrid* nodes = f.ShowPage(f.Geometry(), 0);
        f.Click(nodes, 2, 1);
        // The beams refer to the nodes that move up: Nein keeps the numbers.
        f.dialogs.answers = {Answer::Yes, Answer::No};
        QTest::keyClick(nodes, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(f.dialogs.questions,
                 QStringList({"Info | Zeile Löschen ?", "Frage | Verweise anpassen?"}));
        QCOMPARE(f.input.nodes.ValidCount(), 2);
        QString caption;
        f.dialogs.exec = [&caption](QDialog* dialog) {
            auto* number = qobject_cast<TCellDialog1*>(dialog);
            if (!number)
                return false;
            caption = number->windowTitle();
            number->MyEdit1->setText(QStringLiteral("5"));
            return true;
        };
        QTest::keyClick(nodes, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(f.dialogs.executed.size(), 1);
        QCOMPARE(caption, QStringLiteral("Kopieren zur Zeile"));
    }

    void helpTopicsOfWindowsPagesAndGrids() {
        InputWindowFixture f;
        TSystemInputForm& geometry = f.Geometry();
        TLoadInputForm& loads = f.Loads();
        QCOMPARE(FindHelpTopic(&geometry), 10065);
        QCOMPARE(FindHelpTopic(geometry.PageControl1), 10085);
        QCOMPARE(FindHelpTopic(&loads), 0);
        QCOMPARE(FindHelpTopic(loads.PageControl1), 10115);
        const QList<int> topics = {10070, 10075, 10080, 10080, 10082, 10090,
                                   10090, 10095, 10100, 10115, 10105};
        QList<int> found;
        for (TInputForm* window :
             {static_cast<TInputForm*>(&geometry), static_cast<TInputForm*>(&loads)})
            for (int i = 0; i < window->PageCount(); ++i)
                found << FindHelpTopic(window->PageGrid(i));
        QCOMPARE(found, topics);

        // F1 in a grid opens its part of the help pages.
        TUserGrid* grid = f.ShowPage(loads, 3);
        HelpKeyFilter filter(*f.form->HelpForm);
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QVERIFY(filter.eventFilter(grid, &f1));
        QCOMPARE(f.form->HelpForm->Browser->source().toString(),
                 QStringLiteral("qrc:/help/eingabe_belastung.html#einzellasten"));
        // Every anchor the topics name is on its page.
        for (const int topic : topics + QList<int>{10065, 10085}) {
            const QString url = HelpTopicUrl(topic);
            QFile page(url.mid(3).section('#', 0, 0));
            QVERIFY(page.open(QIODevice::ReadOnly));
            const QString anchor = url.section('#', 1);
            QVERIFY2(anchor.isEmpty() || QString::fromUtf8(page.readAll())
                                             .contains(QStringLiteral("name=\"%1\"").arg(anchor)),
                     qPrintable(url));
        }
    }

    void windowsTakeTheirSizesAndPlaces() {
        InputWindowFixture f;
        TLoadInputForm& loads = f.Loads();
        auto* sub = static_cast<QMdiSubWindow*>(loads.parentWidget());
        QCOMPARE(sub->pos(), QPoint(464, 11));
        QCOMPARE(loads.height(), 649);
        TSystemInputForm& geometry = f.Geometry();
        QCOMPARE(geometry.height(), 487);
        // The width follows the columns of the grid shown, page by page.
        for (TInputForm* window :
             {static_cast<TInputForm*>(&geometry), static_cast<TInputForm*>(&loads)})
            for (int i = 0; i < window->PageCount(); ++i) {
                TUserGrid* grid = f.ShowPage(*window, i);
                QTRY_COMPARE(grid->GetDWidth(), 0);
            }
    }

    void tabsWrapOntoSeveralLines() {
        InputWindowFixture f;
        TLoadInputForm& loads = f.Loads();
        TPageTabs* tabs = loads.PageControl1->Tabs();
        const int lines = tabs->LineCount(tabs->width());
        QVERIFY(lines >= 1);
        QCOMPARE(tabs->height(), tabs->heightForWidth(tabs->width()));
        for (int i = 0; i < tabs->Count(); ++i) {
            QVERIFY(tabs->rect().contains(tabs->TabRect(i)));
            f.ShowPage(loads, i);
            QCOMPARE(loads.PageControl1->ActivePageIndex(), i);
            // The chosen tab's line lies next to the pages.
            QCOMPARE(tabs->TabRect(i).top(), 0);
        }
        // Narrow, the six tabs need more lines; wide, one does.
        QCOMPARE(tabs->LineCount(2000), 1);
        QVERIFY(tabs->LineCount(300) >= 2);
        QCOMPARE(tabs->heightForWidth(300), tabs->LineCount(300) * tabs->heightForWidth(2000));
    }
};

BALKOR_REGISTER_TEST(InputWindowsTest);

#include "InputWindowsTest.moc"
