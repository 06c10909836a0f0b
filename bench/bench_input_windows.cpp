// The input windows on the 100 × 100 grid of the scale benchmark (10,201
// nodes, 20,200 beams), offscreen. Timed: opening the system and the load
// case while both input windows are open, until the windows have painted the
// data; a key press in a cell of the node page (a digit typed and deleted
// again), which must not touch the whole table.

#include "Grillage.h"
#include "analysis/SolutionsCont.h"
#include "grid/UserGrid.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "ui/BalkorApplication.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Dialogs that answer every question with "Nein", so that opening a file over
// a changed model discards it without a box.
class AnswerNo : public QtUiDialogs {
public:
    Answer AskYesNoCancel(QWidget*, const QString&, const QString&) override { return Answer::No; }
};

// The grillage's two files in a folder of their own.
struct GridFiles {
    GridFiles() {
        InputModel model;
        BuildGrillage(model, {.n = 100, .m = 100});
        system = folder.filePath(QStringLiteral("grid.bsy"));
        load = folder.filePath(QStringLiteral("grid.bld"));
        SaveSystemFile(model, system.toStdString());
        SaveLoadCaseFile(model, load.toStdString());
    }
    QTemporaryDir folder;
    QString system;
    QString load;
};

// The main window with both input windows open on empty tables.
struct ProgramWindows {
    ProgramWindows() : solutions(input) {
        form = std::make_unique<TMainForm>(input, solutions, dialogs, QString());
        form->resize(1200, 900);
        form->show();
        geometry = form->ShowInputWindow(false);
        load = form->ShowInputWindow(true);
        QApplication::processEvents();
    }
    // Opens both files and lets the windows paint what they show.
    void Open(const GridFiles& files) {
        form->OpenSystemFile(files.system);
        form->OpenLoadCaseFile(files.load);
        geometry->repaint();
        load->repaint();
        QApplication::processEvents();
    }

    InputModel input;
    SolutionsCont solutions;
    AnswerNo dialogs;
    std::unique_ptr<TMainForm> form;
    TInputForm* geometry = nullptr;
    TInputForm* load = nullptr;
};

void Key(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

void OpenWithBothWindows(benchmark::State& state) {
    const GridFiles files;
    ProgramWindows windows;
    for (auto _ : state)
        windows.Open(files);
}

void KeyPressInANodeCell(benchmark::State& state) {
    const GridFiles files;
    ProgramWindows windows;
    windows.Open(files);
    windows.geometry->BringToFront();
    TUserGrid* nodes = windows.geometry->PageGrid(0);
    nodes->MoveTo(nodes->RowCount() / 2, 1);
    nodes->setFocus();
    Key(nodes, Qt::Key_End);
    for (auto _ : state) {
        Key(nodes, Qt::Key_7, QStringLiteral("7"));
        Key(nodes, Qt::Key_Backspace);
    }
}

} // namespace

BENCHMARK(OpenWithBothWindows)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(KeyPressInANodeCell)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BalkorApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
