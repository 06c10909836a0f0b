// The graphics window on a generated N x N grillage after its analysis, run
// offscreen: one tilt step (rebuild of the bare structure and paint of the
// window), a full rebuild and paint of the "Biegemoment" tab with the flags
// of a new window, one step of a zoom window's rubber band dragged over that
// tab, and the page with that window printed into a PDF file; besides, thin
// lines drawn by Qt and written by ImageLines.
// Argument: N.

#include "AnalysedGrillage.h"
#include "analysis/SolutionsCont.h"
#include "document/Document.h"
#include "graphics/Render.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/Project.h"
#include "ui/GraphForm.h"
#include "ui/GraphicsPrinting.h"
#include "ui/ImageLines.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// One analysed grillage and a main window on it per size.
struct Session : AnalysedGrillage {
    explicit Session(int n) : AnalysedGrillage(n) {
        form = std::make_unique<TMainForm>(input, solutions, dialogs, QString());
        InstallGraphicsWindows(*form, input, solutions, dialogs);
        form->resize(1300, 900);
        form->show();
    }
    TGraphForm* Open(int tab) {
        form->FillPopupMenu();
        form->PopupMenu1->actions().at(tab)->trigger();
        auto* window = qobject_cast<TGraphForm*>(form->mdiArea->subWindowList().last()->widget());
        window->parentWidget()->resize(1200, 800);
        QCoreApplication::processEvents();
        return window;
    }
    QtUiDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

// Emptied before the application ends.
std::map<int, std::unique_ptr<Session>> sessions;

Session& Grillage(int n) {
    auto& session = sessions[n];
    if (!session)
        session = std::make_unique<Session>(n);
    return *session;
}

// One step of a tilt: the window rebuilds the bare structure and paints it.
void BM_TiltStep(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    TGraphForm* window = session.Open(kTabGeometrie);
    window->ToolButton6->trigger(); // "Rotieren"
    QWidget* box = window->PaintBox1;
    window->PaintBox1MouseDown(QPoint(300, 300), Qt::LeftButton);
    int x = 300;
    for (auto _ : state) {
        x += 2;
        window->PaintBox1MouseMove(QPoint(x, 300));
        box->repaint();
    }
    window->PaintBox1MouseUp(QPoint(x, 300), Qt::LeftButton);
    state.counters["records"] = window->List().RecordCount();
    session.form->mdiArea->closeAllSubWindows();
}

// The "Biegemoment" tab with the flags of a new window: rebuild and paint.
void BM_MomentRebuildAndPaint(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    TGraphForm* window = session.Open(kTabBiegemoment);
    for (auto _ : state) {
        window->Rebuild();
        window->PaintBox1->repaint();
    }
    state.counters["records"] = window->List().RecordCount();
    session.form->mdiArea->closeAllSubWindows();
}

// The paint alone: a replay of the list into the window's picture, shown.
void BM_MomentPaint(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    TGraphForm* window = session.Open(kTabBiegemoment);
    for (auto _ : state)
        window->PaintBox1->Redraw();
    session.form->mdiArea->closeAllSubWindows();
}

// One step of a zoom window dragged over "Biegemoment": the rubber band
// moves and the box shows what it uncovers.
void BM_RubberBandStep(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    TGraphForm* window = session.Open(kTabBiegemoment);
    window->PaintBox1->Redraw();
    int x = 300;
    for (auto _ : state) {
        x = x < 900 ? x + 2 : 300;
        window->ShowRubberBand({200, 200}, {x, 500});
        QCoreApplication::processEvents();
    }
    window->HideRubberBand();
    state.counters["replays"] = window->PaintBox1->Replays();
    session.form->mdiArea->closeAllSubWindows();
}

// The replay alone onto a canvas that draws nothing: what the paint costs
// before Qt draws.
class NullCanvas : public Canvas {
public:
    void MoveTo(DevicePoint) override {}
    void LineTo(DevicePoint) override {}
    void Polygon(std::span<const DevicePoint>) override {}
    void SetPenColour(Colour) override {}
    void SetPenWidth(int) override {}
    void SetBrushColour(Colour) override {}
};

void BM_MomentReplayOnly(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    TGraphForm* window = session.Open(kTabBiegemoment);
    NullCanvas canvas;
    for (auto _ : state)
        RenderFitted(window->List(), canvas, window->View().Window(), window->PaintBoxRect(), 1.0);
    session.form->mdiArea->closeAllSubWindows();
}

// The page with the "Biegemoment" window printed into a PDF file (A4, 1200
// dots per inch).
void BM_MomentPrintPdf(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    session.Open(kTabBiegemoment);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("seite.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        session.form->SendToChildren(UM_PRINTINCLUDE);
        PrintGraphicsPage(*session.form, session.dialogs, printer);
    }
    state.counters["pdf_MB"] = QFileInfo(path).size() / 1e6;
    session.form->mdiArea->closeAllSubWindows();
}

// 1000 lines of one length (argument, pixels) in all directions on a window's
// image, drawn by Qt's raster engine with a one-pixel pen and written by
// ImageLines: what a thin line costs either way.
std::vector<QLine> LinesOfLength(int length) {
    std::vector<QLine> lines;
    for (int i = 0; i < 1000; ++i) {
        const int x = 200 + (i * 37) % 800, y = 200 + (i * 53) % 400;
        const int dx = (i % 3 - 1) * length, dy = (i / 3 % 3 - 1) * length;
        lines.emplace_back(x, y, x + (dx || dy ? dx : length), y + dy);
    }
    return lines;
}

void BM_ThinLinesQt(benchmark::State& state) {
    QImage image(1200, 800, QImage::Format_RGB32);
    const std::vector<QLine> lines = LinesOfLength(static_cast<int>(state.range(0)));
    QPainter painter(&image);
    painter.setPen(QPen(QBrush(Qt::blue), 1, Qt::SolidLine, Qt::SquareCap));
    for (auto _ : state)
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

void BM_ThinLinesImage(benchmark::State& state) {
    QImage image(1200, 800, QImage::Format_RGB32);
    const std::vector<QLine> lines = LinesOfLength(static_cast<int>(state.range(0)));
    const ImageLines pixels(reinterpret_cast<std::uint32_t*>(image.bits()),
                            image.bytesPerLine() / 4, image.width(), image.height());
    for (auto _ : state)
        for (const QLine& line : lines)
            pixels.Draw(line.x1(), line.y1(), line.x2(), line.y2(), 0xFF0000FF);
    benchmark::DoNotOptimize(image.constBits());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

// A project of 20 load cases on the grid (its load case 20 times, as files),
// a combination of all and an envelope with one exclusive group of all.
constexpr int kProjectCases = 20;

struct ProjectSession {
    explicit ProjectSession(Session& session) : session(session) {
        const std::string system = (folder.path() + "/grid.bsy").toStdString();
        const std::string loads = (folder.path() + "/grid.bld").toStdString();
        if (!SaveSystemFile(session.input, system) || !SaveLoadCaseFile(session.input, loads))
            throw std::runtime_error("cannot write the grid's files");
        Document& document = session.form->document;
        document.OpenFiles(system, std::vector<std::string>(kProjectCases, loads));
        Combination all{"K", std::vector<double>(kProjectCases, 1.0)};
        EnvelopeTerm group{{}, true, 1.5, 0.0};
        for (int k = 0; k < kProjectCases; ++k)
            group.members.push_back({false, k});
        document.SetCombinations({all}, {Envelope{"U", {group}, {}}});
    }
    Session& session;
    QTemporaryDir folder;
};

// One project per size: opened once, so that no question about the
// modified project comes up.
ProjectSession& ProjectOf(Session& session) {
    static std::map<Session*, std::unique_ptr<ProjectSession>> projects;
    auto& project = projects[&session];
    if (!project)
        project = std::make_unique<ProjectSession>(session);
    return *project;
}

// "Berechnen" of the project: copies of the tables, checks, analysis and
// evaluation of every load case (no protocol), as the menu command runs it.
void BM_ProjectCalculate(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    ProjectOf(session);
    for (auto _ : state)
        if (!session.form->document.CalculateProject(nullptr).ok)
            state.SkipWithError("the project's analysis failed");
}

// The graphics window's selection switched from one load case to the next,
// to the combination and to the envelope: the results put into the model,
// the scene rebuilt and painted (an envelope is evaluated at its first
// showing and kept, as the window keeps it).
void BM_ProjectSelectionSwitch(benchmark::State& state) {
    Session& session = Grillage(static_cast<int>(state.range(0)));
    ProjectOf(session);
    if (!session.form->document.CalculateProject(nullptr).ok)
        throw std::runtime_error("the project's analysis failed");
    TGraphForm* window = session.Open(kTabBiegemoment);
    int entry = 0;
    for (auto _ : state) {
        entry = (entry + 1) % (kProjectCases + 2);
        window->Select(entry);
        window->PaintBox1->repaint();
    }
    session.form->mdiArea->closeAllSubWindows();
}

} // namespace

BENCHMARK(BM_ProjectCalculate)
    ->Arg(100)
    ->ArgName("N")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ProjectSelectionSwitch)
    ->Arg(100)
    ->ArgName("N")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(44);
BENCHMARK(BM_ThinLinesQt)->Arg(2)->Arg(16)->Arg(150)->ArgName("pixels");
BENCHMARK(BM_ThinLinesImage)->Arg(2)->Arg(16)->Arg(150)->ArgName("pixels");
BENCHMARK(BM_TiltStep)->Arg(100)->ArgName("N")->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_MomentRebuildAndPaint)
    ->Arg(100)
    ->ArgName("N")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);
BENCHMARK(BM_MomentPaint)->Arg(100)->ArgName("N")->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_RubberBandStep)->Arg(100)->ArgName("N")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MomentReplayOnly)
    ->Arg(100)
    ->ArgName("N")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);
BENCHMARK(BM_MomentPrintPdf)->Arg(100)->ArgName("N")->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sessions.clear();
    return 0;
}
