// balkor-batch --import-dxf and --dxf, with drawings written and read by
// ezdxf.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"
#include "exchange/ExchangeTool.h"
#include "graphics/ViewTransform.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using Json = nlohmann::json;

struct Counts {
    int nodes, beams, types;
};

Counts SystemCounts(const std::string& path) {
    auto model = std::make_unique<InputModel>();
    EXPECT_TRUE(LoadSystemFile(*model, path)) << path;
    return {model->nodes.ValidCount(), model->beams.ValidCount(), model->mats.ValidCount()};
}

TEST(DxfBatch, ImportWritesTheSystemOfTheDrawing) {
    const struct {
        const char* kind;
        std::vector<std::string> options;
        Counts counts;
    } cases[] = {
        {"grid", {}, {9, 12, 1}}, // two layers, both the one default type
        {"crossing", {}, {6, 3, 1}},
        {"crossing", {"--dxf-split"}, {7, 6, 1}},
        {"grid", {"--dxf-tolerance", "1e-7"}, {15, 12, 1}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteDrawing(c.kind, dir.Path("d.dxf"));
        std::vector<std::string> args = {"--import-dxf", dir.Path("d.dxf"), "--write-system",
                                         dir.Path("s.bsy")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult r = RunBatchProgram(args);
        ASSERT_EQ(r.exitCode, kExitOk) << c.kind << ": " << r.err;
        const Counts counts = SystemCounts(dir.Path("s.bsy"));
        EXPECT_EQ(counts.nodes, c.counts.nodes) << c.kind;
        EXPECT_EQ(counts.beams, c.counts.beams) << c.kind;
        EXPECT_EQ(counts.types, c.counts.types) << c.kind;
    }
}

TEST(DxfBatch, BadDrawingWritesNoSystem) {
    for (const char* kind : {"three_d", "circles"}) {
        TempDir dir;
        WriteDrawing(kind, dir.Path("d.dxf"));
        const ProcessResult r = RunBatchProgram(
            {"--import-dxf", dir.Path("d.dxf"), "--write-system", dir.Path("s.bsy")});
        EXPECT_EQ(r.exitCode, kExitSystemFile) << kind;
        EXPECT_NE(r.err.find("Die Zeichnung"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("s.bsy"))) << kind;
    }
}

TEST(DxfBatch, OptionsOfTheExchange) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"s.bsy", "--dxf-split"},
         "Die Optionen --dxf-tolerance und --dxf-split gehören zu --import-dxf"},
        {{"--import-dxf", "d.dxf", "--dxf-tolerance", "0"},
         "Option --dxf-tolerance verlangt eine Länge größer als 0 (z. B. 0.01): 0"},
        {{"s.bsy", "--csv", "-"}, "Option --csv schreibt nicht auf die Standardausgabe"},
        {{"--import-dxf", "d.dxf", "--generate", "g.json"},
         "Die Optionen --generate und --import-dxf schließen einander aus"},
        {{"--import-dxf", "d.dxf", "a.bld", "b.bld"},
         "Zu viele Argumente: b.bld (mit --import-dxf nur LASTFALL.bld)"},
    };
    for (const auto& c : cases) {
        BatchOptions options;
        std::string error;
        EXPECT_FALSE(ParseBatchArguments(c.args, options, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    BatchOptions options;
    std::string error;
    ASSERT_TRUE(ParseBatchArguments({"--import-dxf=d.dxf", "l.bld", "--dxf-tolerance=0.5",
                                     "--dxf-split", "--dxf", "p.dxf", "--view", "Querkraft"},
                                    options, error))
        << error;
    EXPECT_EQ(options.dxfImportFile, "d.dxf");
    EXPECT_EQ(options.loadCaseFile, "l.bld");
    EXPECT_EQ(options.dxfTolerance, 0.5);
    EXPECT_TRUE(options.dxfSplit);
    ASSERT_EQ(options.pictures.size(), 1u);
    EXPECT_TRUE(options.pictures[0].dxf);
    EXPECT_EQ(options.pictures[0].tab, kTabQuerkraft);
}

// An output of the exchange that would overwrite an input is refused.
TEST(DxfBatch, ExchangeOutputsDoNotOverwriteInputs) {
    TempDir dir;
    const std::string system = dir.Write("s.bsy", ReadFile(Example("zweifeld.bsy")));
    for (const char* option : {"--xlsx", "--dxf"}) {
        const ProcessResult r = RunBatchProgram({"-q", system, option, system});
        EXPECT_EQ(r.exitCode, kExitUsage) << option;
        EXPECT_NE(r.err.find(std::string("Die Ausgabe von ") + option + " würde die Systemdatei"),
                  std::string::npos)
            << r.err;
    }
}

// The projected model point of the initial view, y up: (R0·p, −R1·p).
std::pair<double, double> Projected(double x, double y) {
    ViewMatrix view;
    InitialView(view);
    return {view.R(0, 0) * x + view.R(0, 1) * y, -(view.R(1, 0) * x + view.R(1, 1) * y)};
}

bool HasEnd(const Json& lines, std::pair<double, double> p) {
    for (const Json& l : lines)
        for (int end = 0; end < 2; ++end)
            if (std::fabs(l[2 * end].get<double>() - p.first) < 1e-9 &&
                std::fabs(l[2 * end + 1].get<double>() - p.second) < 1e-9)
                return true;
    return false;
}

// Two spans of 6 under their loads: the structure's lines end at the
// projected nodes; each kind of content has its layer.
TEST(DxfBatch, DrawingHasALayerPerKindInModelCoordinates) {
    TempDir dir;
    const ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"),
                                             "--dxf", dir.Path("g.dxf"), "--show", "Knotennummern",
                                             "--dxf", dir.Path("m.dxf"), "--view", "Biegemoment"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json geometry = ReadBack("read-dxf", dir.Path("g.dxf"));
    const Json moments = ReadBack("read-dxf", dir.Path("m.dxf"));
    for (const char* layer : {"Struktur", "Belastung", "Auflager", "Diagramm", "Texte"})
        EXPECT_NE(std::find(geometry["layers"].begin(), geometry["layers"].end(), layer),
                  geometry["layers"].end())
            << layer;
    for (double x : {0.0, 6.0, 12.0})
        EXPECT_TRUE(HasEnd(geometry["lines"]["Struktur"], Projected(x, 0.0))) << x;
    const struct {
        const Json& drawing;
        const char* layer;
        bool drawn;
    } cases[] = {
        {geometry, "Belastung", true}, {geometry, "Auflager", true}, {geometry, "Texte", true},
        {geometry, "Diagramm", false}, {moments, "Diagramm", true},  {moments, "Belastung", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.drawing["lines"].contains(c.layer), c.drawn) << c.layer;
}

// Of several load cases --case picks the drawing's case, as it picks an
// SVG's: load case 2 of a run of two draws the lines of that load case alone;
// an envelope draws its diagrams. Without --case the drawing is refused.
TEST(DxfBatch, DrawingOfSeveralLoadCasesShowsTheChosenCase) {
    TempDir dir;
    const std::string system = Example("bruecke.bsy");
    const ProcessResult several = RunBatchProgram(
        {"-q", system, Example("bruecke-g.bld"), Example("bruecke-q1.bld"), "--envelope",
         "U=1:1.35/1+2:1.5/0", "--dxf", dir.Path("2.dxf"), "--view", "Biegemoment", "--case", "2",
         "--dxf", dir.Path("u.dxf"), "--view", "Biegemoment", "--case", "U"});
    ASSERT_EQ(several.exitCode, kExitOk) << several.err;
    const ProcessResult alone = RunBatchProgram({"-q", system, Example("bruecke-q1.bld"), "--dxf",
                                                 dir.Path("1.dxf"), "--view", "Biegemoment"});
    ASSERT_EQ(alone.exitCode, kExitOk) << alone.err;
    // The same lines, up to the rounding of a solution of several right-hand sides.
    const Json chosen = ReadBack("read-dxf", dir.Path("2.dxf"));
    const Json own = ReadBack("read-dxf", dir.Path("1.dxf"));
    ASSERT_EQ(chosen["layers"], own["layers"]);
    for (const auto& [layer, lines] : own["lines"].items()) {
        ASSERT_EQ(chosen["lines"][layer].size(), lines.size()) << layer;
        for (size_t l = 0; l < lines.size(); ++l)
            for (size_t c = 0; c < 4; ++c)
                ASSERT_NEAR(chosen["lines"][layer][l][c].get<double>(), lines[l][c].get<double>(),
                            1e-6)
                    << layer << " line " << l;
    }
    EXPECT_TRUE(ReadBack("read-dxf", dir.Path("u.dxf"))["lines"].contains("Diagramm"));

    const ProcessResult refused =
        RunBatchProgram({"-q", system, Example("bruecke-g.bld"), Example("bruecke-q1.bld"), "--dxf",
                         dir.Path("x.dxf")});
    EXPECT_EQ(refused.exitCode, kExitUsage);
    EXPECT_NE(refused.err.find("Bei mehreren Lastfällen verlangt --dxf"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("x.dxf")));
}

} // namespace
