// Grids from drawings written by ezdxf: nodes, beams and types as the
// drawing gives them.
#include "exchange/DxfImport.h"

#include "ExchangeTool.h"
#include "model/Tables.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

struct Imported {
    DxfDrawing drawing;
    ImportedGrid grid;
    std::string error;
    bool ok = false;
};

Imported Import(const std::string& kind, GridOptions options = {}) {
    ScratchDir dir;
    const std::string path = dir.Path(kind + ".dxf");
    WriteDrawing(kind, path);
    Imported r;
    r.ok =
        ReadDxfDrawing(path, r.drawing, r.error) && BuildGrid(r.drawing, options, r.grid, r.error);
    return r;
}

std::set<std::pair<double, double>> NodeSet(const ImportedGrid& grid) {
    std::set<std::pair<double, double>> nodes;
    for (const DxfPoint& p : grid.nodes)
        nodes.insert({std::round(p.x * 1e4) / 1e4, std::round(p.y * 1e4) / 1e4});
    return nodes;
}

TEST(DxfImport, DrawingsGiveTheirNodesAndBeams) {
    const struct {
        const char* kind;
        bool split;
        size_t nodes, beams;
    } cases[] = {
        {"grid", false, 9, 12},    // 3 x 3 nodes, 6 girder and 6 cross beams
        {"crossing", false, 6, 3}, // without division the lines stay whole
        {"crossing", true, 7, 6},  // cut at (5, 0) and where the third ends on the first
        {"closed", false, 4, 4},   // a closed polyline closes its last side
    };
    for (const auto& c : cases) {
        GridOptions options;
        options.splitAtCrossings = c.split;
        const Imported r = Import(c.kind, options);
        ASSERT_TRUE(r.ok) << c.kind << ": " << r.error;
        EXPECT_EQ(r.grid.nodes.size(), c.nodes) << c.kind << " split " << c.split;
        EXPECT_EQ(r.grid.beams.size(), c.beams) << c.kind << " split " << c.split;
    }
}

TEST(DxfImport, GridNodesLieAtTheDrawingsPoints) {
    const Imported r = Import("grid");
    ASSERT_TRUE(r.ok) << r.error;
    std::set<std::pair<double, double>> expected;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            expected.insert({5.0 * i, 4.0 * j});
    EXPECT_EQ(NodeSet(r.grid), expected);
    EXPECT_EQ(r.drawing.layers, (std::vector<std::string>{"Traeger", "Quertraeger"}));
    EXPECT_NEAR(r.grid.tolerance, 0.001 * std::hypot(10.0, 8.0), 1e-8);
    // A girder beam is 5 long and on the first layer, a cross beam 4 long on the second.
    for (const GridBeam& beam : r.grid.beams) {
        const DxfPoint a = r.grid.nodes[beam.start - 1], b = r.grid.nodes[beam.end - 1];
        EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), beam.layer == 0 ? 5.0 : 4.0, 1e-5);
    }
}

// End points 1e-6 apart are one node within the default tolerance, two
// nodes within a tolerance below that distance.
TEST(DxfImport, ToleranceDecidesWhichEndsAreOneNode) {
    GridOptions fine;
    fine.tolerance = 1e-7;
    const Imported r = Import("grid", fine);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.grid.nodes.size(), 9u + 6u); // each cross beam's lower end is a node of its own
}

TEST(DxfImport, BadDrawingsAreRefusedWithAMessage) {
    const struct {
        const char* kind;
        const char* message;
    } cases[] = {
        {"three_d", "Die Zeichnung ist dreidimensional"},
        {"circles", "Die Zeichnung enthält keine Linien"},
    };
    for (const auto& c : cases) {
        const Imported r = Import(c.kind);
        EXPECT_FALSE(r.ok) << c.kind;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
    }
    DxfDrawing drawing;
    std::string error;
    ScratchDir dir;
    EXPECT_FALSE(ReadDxfDrawing(dir.Path("missing.dxf"), drawing, error));
    EXPECT_NE(error.find("Die DXF-Datei kann nicht gelesen werden"), std::string::npos) << error;
}

TEST(DxfImport, PlaneAboveZeroIsTakenWithAWarning) {
    const Imported r = Import("raised");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.grid.warnings.size(), 1u);
    EXPECT_NE(r.grid.warnings[0].find("z = 2"), std::string::npos) << r.grid.warnings[0];
}

// A layer names an existing type or gets a new one; the old types stay.
TEST(DxfImport, LayersBecomeCrossSectionTypes) {
    auto model = std::make_unique<InputModel>();
    model->mats.EnsureRows(1);
    MatRec* old = model->mats.RowRecord(0);
    old->flag = kFlagUser;
    old->E = 1.0;
    GridOptions options;
    options.sections.resize(2);
    options.sections[0].E = 2.1e8;
    options.sections[1].typeNumber = 1;
    const Imported r = Import("grid", options);
    ASSERT_TRUE(r.ok) << r.error;
    const std::vector<MatRec> types = CurrentTypes(*model);
    EXPECT_EQ(CheckLayerSections(r.grid, r.drawing, types), "");
    ApplyGrid(r.grid, types, *model);
    ASSERT_EQ(model->mats.ValidCount(), 2);
    EXPECT_EQ(model->mats.RowRecord(0)->E, 1.0);
    EXPECT_EQ(model->mats.RowRecord(1)->E, 2.1e8);
    ASSERT_EQ(model->beams.ValidCount(), 12);
    for (size_t k = 0; k < r.grid.beams.size(); ++k)
        EXPECT_EQ(model->beams.RowRecord(static_cast<int>(k))->section,
                  r.grid.beams[k].layer == 0 ? 2 : 1);

    ImportedGrid wrong = r.grid;
    wrong.layerSections[1].typeNumber = 3;
    EXPECT_EQ(CheckLayerSections(wrong, r.drawing, types),
              "Ebene \"Quertraeger\": den Querschnittstyp 3 gibt es nicht");
}

} // namespace
