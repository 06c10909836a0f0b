// The commands of the "Fenster" menu, a client area that reaches every child
// window, and what the main window keeps from one run to the next.
#include "ui/WindowArrangement.h"

#include "MainFormFixture.h"
#include "MessageSpy.h"
#include "support/QtTestRegistry.h"
#include "ui/GraphForm.h"
#include "ui/QtProgram.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

ChildWindowSize Window(QSize current, QSize initial, QSize minimum = {100, 60}) {
    return {current, initial, minimum, false};
}

ChildWindowSize OwnWidth(int width) {
    return {QSize(width, 500), QSize(width, 500), QSize(width, 100), true};
}

bool Overlap(const QList<QRect>& rects) {
    for (qsizetype i = 0; i < rects.size(); ++i)
        for (qsizetype j = i + 1; j < rects.size(); ++j)
            if (rects[i].intersects(rects[j]))
                return true;
    return false;
}

QList<QRect> Frames(const QList<QMdiSubWindow*>& windows) {
    QList<QRect> rects;
    for (const QMdiSubWindow* sub : windows)
        rects << sub->geometry();
    return rects;
}

// The test's answers to the program's real file dialogs: each dialog that
// opens gets the next file name, and the folder it opened in is noted.
class FileDialogAnswers : public QObject {
public:
    explicit FileDialogAnswers(QStringList names) : names_(std::move(names)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QFileDialog* dialog = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* file = qobject_cast<QFileDialog*>(window); file && file->isVisible())
                    dialog = file;
            if (!dialog || dialog == answered_ || names_.isEmpty())
                return;
            answered_ = dialog;
            folders << dialog->directory().absolutePath();
            const QString name = names_.takeFirst();
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        timer_.start(20);
    }
    QStringList folders;

private:
    QStringList names_;
    QPointer<QFileDialog> answered_;
    QTimer timer_;
};

} // namespace

class WindowArrangementTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cascadeKeepsTheOpeningSizeWhereItFits() {
        const QList<QRect> rects =
            CascadeRects({Window({300, 40}, {400, 300}), Window({500, 400}, {400, 300}),
                          Window({200, 100}, {790, 590}), Window({1000, 900}, {300, 200})},
                         QSize(800, 600), 24);
        // A collapsed window gets its opening size back, a larger one keeps
        // its size; one whose opening size does not fit one step further on
        // starts again at the corner; none reaches beyond the area.
        QCOMPARE(rects, QList<QRect>({QRect(0, 0, 400, 300), QRect(24, 24, 500, 400),
                                      QRect(0, 0, 790, 590), QRect(24, 24, 776, 576)}));
    }

    void tileLeavesNoOverlapAndKeepsTheInputWindowsWidths() {
        const QList<ChildWindowSize> flexible(3, Window({300, 200}, {300, 200}, {120, 80}));
        const QList<QRect> mixed = TileRects(
            QList<ChildWindowSize>({OwnWidth(520), OwnWidth(460)}) + flexible, QSize(1000, 700));
        // 520 + 460 + 120 does not fit 1000: the graphics windows share the
        // second row.
        QCOMPARE(mixed, QList<QRect>({QRect(0, 0, 520, 350), QRect(520, 0, 460, 350),
                                      QRect(0, 350, 333, 350), QRect(333, 350, 333, 350),
                                      QRect(666, 350, 333, 350)}));
        const QList<QRect> four = TileRects(flexible + flexible.mid(0, 1), QSize(800, 600));
        QCOMPARE(four, QList<QRect>({QRect(0, 0, 400, 300), QRect(400, 0, 400, 300),
                                     QRect(0, 300, 400, 300), QRect(400, 300, 400, 300)}));
        // Input windows wider than the area each take a row of their own.
        const QList<QRect> narrow = TileRects({OwnWidth(520), OwnWidth(460)}, QSize(900, 600));
        QCOMPARE(narrow, QList<QRect>({QRect(0, 0, 520, 300), QRect(0, 300, 460, 300)}));
        for (const QList<QRect>& rects : {mixed, four, narrow})
            QVERIFY(!Overlap(rects));
    }

    void anIconThatDoesNotFitStartsANewRow() {
        const QList<QPoint> places = IconPositions(QList<QSize>(5, QSize(160, 30)), {700, 500});
        QCOMPARE(places, QList<QPoint>({{0, 470}, {160, 470}, {320, 470}, {480, 470}, {0, 440}}));
    }

    void placeInsideMovesByTheLeastDistance() {
        QCOMPARE(PlaceInside(QRect(700, 500, 200, 150), {800, 600}), QPoint(600, 450));
        QCOMPARE(PlaceInside(QRect(-50, -20, 1000, 700), {800, 600}), QPoint(0, 0));
        QCOMPARE(PlaceInside(QRect(10, 20, 100, 100), {800, 600}), QPoint(10, 20));
    }

    // The graphics windows kept their drawing area; restored windows keep it.
    void cascadedGraphicsWindowsKeepTheirDrawingArea() {
        MainFormFixture f;
        InstallGraphicsWindows(*f.form, f.input, f.solutions, f.dialogs);
        f.form->resize(1000, 800);
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        for (int i = 0; i < 3; ++i)
            f.form->Grafik1->trigger();
        const QList<QMdiSubWindow*> windows = f.form->mdiArea->subWindowList();
        const QSize opened = windows[0]->size();
        f.form->WindowCascadeItem->trigger();
        for (QMdiSubWindow* sub : windows)
            QCOMPARE(sub->size(), opened);
        QCOMPARE(windows[1]->pos() - windows[0]->pos(), windows[2]->pos() - windows[1]->pos());
        windows[0]->showMinimized();
        windows[0]->showNormal();
        QCOMPARE(windows[0]->size(), opened);
    }

    // The main window's first size shows both input windows, and a tile
    // puts them side by side.
    void bothInputWindowsShowAndTileSideBySide() {
        MainFormFixture f;
        f.form->resize(f.form->FirstRunSize());
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        f.form->ShowInputWindow(false);
        f.form->ShowInputWindow(true);
        QTest::qWait(50); // the grids fit their windows to the columns
        const QRect area = f.form->mdiArea->viewport()->rect();
        const QList<QMdiSubWindow*> windows = f.form->mdiArea->subWindowList();
        for (const QMdiSubWindow* sub : windows)
            QVERIFY2(area.contains(sub->geometry()), qPrintable(sub->windowTitle()));
        QCOMPARE(windows[1]->pos(), kLoadFormPosition);

        f.form->WindowTileItem->trigger();
        QTest::qWait(50);
        QVERIFY(!Overlap(Frames(windows)));
        QCOMPARE(windows[0]->y(), windows[1]->y());
        for (const QMdiSubWindow* sub : windows)
            QVERIFY2(area.contains(sub->geometry()), qPrintable(sub->windowTitle()));
    }

    void fiveIconsDoNotCoverEachOther() {
        MainFormFixture f;
        f.form->resize(700, 500);
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        f.form->SetGraphicsWindowFactory([](QWidget*, int) { return new MessageSpy; });
        for (int i = 0; i < 5; ++i)
            f.form->Grafik1->trigger();
        f.form->WindowMinimizeItem->trigger();
        f.form->WindowArrangeItem->trigger();
        const QList<QRect> icons = Frames(f.form->mdiArea->subWindowList());
        QVERIFY(!Overlap(icons));
        for (const QRect& icon : icons)
            QVERIFY(f.form->mdiArea->viewport()->rect().contains(icon));
    }

    // In a small main window the load window is moved inside; what does not
    // fit is reached with the client area's scroll bars.
    void childWindowsOpenInsideTheClientArea() {
        MainFormFixture f;
        InstallGraphicsWindows(*f.form, f.input, f.solutions, f.dialogs);
        f.form->resize(800, 560);
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        QCOMPARE(f.form->mdiArea->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(f.form->mdiArea->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        f.form->ShowInputWindow(true);
        for (int i = 0; i < 4; ++i)
            f.form->Grafik1->trigger();
        const QSize area = f.form->mdiArea->viewport()->size();
        for (const QMdiSubWindow* sub : f.form->mdiArea->subWindowList()) {
            const QRect frame = sub->geometry();
            QVERIFY2(frame.x() >= 0 && frame.y() >= 0, qPrintable(sub->windowTitle()));
            if (frame.width() <= area.width())
                QVERIFY(frame.right() < area.width());
            if (frame.height() <= area.height())
                QVERIFY(frame.bottom() < area.height());
        }
    }

    void aFirstRunFitsTheScreen() {
        MainFormFixture f;
        const QSize free = QGuiApplication::primaryScreen()->availableGeometry().size();
        QCOMPARE(f.form->size(), f.form->FirstRunSize().boundedTo(free - kWindowFrameAllowance));
    }

    void placeSizeAndFolderAreKeptBetweenRuns() {
        MainFormFixture f;
        f.form.reset();
        const QString config = f.TempPath(QStringLiteral("balkor.dat"));
        {
            TMainForm form(f.input, f.solutions, f.dialogs, config);
            form.move(40, 50);
            form.resize(700, 500);
            f.dialogs.SetFileFolder(f.tempDir.path());
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QVERIFY(form.close());
        }
        QVERIFY(QFile::exists(f.TempPath(QStringLiteral("balkor-fenster.dat"))));
        FakeDialogs dialogs;
        TMainForm next(f.input, f.solutions, dialogs, config);
        QCOMPARE(next.pos(), QPoint(40, 50));
        QCOMPARE(next.size(), QSize(700, 500));
        QCOMPARE(dialogs.FileFolder(), f.tempDir.path());
    }

    // The file dialogs open where the last file was chosen: after F2 the
    // load case is offered the system's folder.
    void fileDialogsFollowTheLastChosenFolder() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("projekt")));
        const QString project = dir.filePath(QStringLiteral("projekt"));
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        dialogs.SetFileFolder(dir.filePath(QStringLiteral("weg/tiefer")));
        TMainForm form(input, solutions, dialogs, QString());
        FileDialogAnswers answers(
            {project + QStringLiteral("/bruecke.bsy"), project + QStringLiteral("/bruecke.bld")});
        form.Speichern1->trigger();
        // A folder that is gone: its nearest existing parent.
        QCOMPARE(answers.folders, QStringList({dir.path(), project}));
        QCOMPARE(form.LoadFile(), project + QStringLiteral("/bruecke.bld"));
        QCOMPARE(dialogs.FileFolder(), project);

        FileDialogAnswers cancelled({QString()});
        form.SaveSystemAs();
        QCOMPARE(cancelled.folders, QStringList({project}));
        QCOMPARE(dialogs.FileFolder(), project);
    }

    // Files named on the command line count as chosen ones; F2 offers a new
    // load case the folder of the system it has just written.
    void filesOpenedWithoutADialogSetTheFolder() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("system"));
        QDir(dir.path()).mkpath(QStringLiteral("lasten"));
        const QString systemFolder = dir.filePath(QStringLiteral("system"));
        const QString loadFolder = dir.filePath(QStringLiteral("lasten"));
        InputModel input;
        SolutionsCont solutions(input);
        QtUiDialogs dialogs;
        TMainForm form(input, solutions, dialogs, QString());
        form.OpenSystemFile(WriteTextFile(systemFolder + QStringLiteral("/s.bsy"), kTwoSpanSystem));
        QCOMPARE(dialogs.FileFolder(), systemFolder);
        form.OpenLoadCaseFile(WriteTextFile(loadFolder + QStringLiteral("/l.bld"), kTwoSpanLoads));
        QCOMPARE(dialogs.FileFolder(), loadFolder);

        QVERIFY(form.document.LoadCase().New());
        FileDialogAnswers answers({QStringLiteral("neu.bld")});
        form.Speichern1->trigger();
        QCOMPARE(answers.folders, QStringList({systemFolder}));
        QCOMPARE(form.LoadFile(), systemFolder + QStringLiteral("/neu.bld"));
    }
};

BALKOR_REGISTER_TEST(WindowArrangementTest);
#include "WindowArrangementTest.moc"
