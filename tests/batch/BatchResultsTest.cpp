// Results of the bundled examples checked against the engineering: closed
// forms and symmetry of the two-span beam, equilibrium of the bridge deck.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "protocols/ProtocolTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

using Json = nlohmann::json;

// The lines of a protocol table: those after the dash line that follows the
// title holding `title` (right after the title when the table has no dash
// line), up to the next empty line.
std::vector<std::string> TableRows(const std::string& protocol, const std::string& title,
                                   bool dashLine = true) {
    std::vector<std::string> lines = SplitLines(protocol), rows;
    size_t i = 0;
    while (i < lines.size() && lines[i].find(title) == std::string::npos)
        ++i;
    if (!dashLine) {
        while (++i < lines.size() && !lines[i].empty())
            rows.push_back(lines[i]);
        return rows;
    }
    // The title line may itself be made of dashes: the table starts after the next dash line.
    while (++i < lines.size() && lines[i].rfind("----------", 0) != 0) {
    }
    while (++i < lines.size() && !lines[i].empty())
        rows.push_back(lines[i]);
    return rows;
}

std::vector<double> Numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

std::string Protocol(const std::string& name) {
    ProcessResult r = RunBatchProgram({"-q", Example(name + ".bsy"), Example(name + ".bld")});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    return r.out;
}

// Two equal spans L = 6 under q = 10, supported at both ends and in the
// middle: reactions −3qL/8, −10qL/8, −3qL/8; support moment −qL²/8;
// end rotations ±qL³/(48 EI) with EI = 2.1e8 × 2.517e-4.
TEST(BatchResults, TwoSpanBeamMatchesTheClosedForm) {
    const std::string protocol = Protocol("zweifeld");
    ExpectSameLinesUpToZeroNoise(
        [&] {
            std::string rows;
            for (const std::string& row : TableRows(protocol, "Auflagerkräfte"))
                rows += row + "\n";
            return rows;
        }(),
        "    1     -22.50      0.000      0.000\n"
        "    2     -75.00      0.000      0.000\n"
        "    3     -22.50      0.000      0.000\n");
    const double rotation = 10 * 216 / (48 * 2.1e8 * 2.517e-4);
    std::vector<std::string> nodes = TableRows(protocol, "Knotenverschiebung");
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_NEAR(Numbers(nodes[0])[3], -rotation, 1e-3 * rotation);
    EXPECT_NEAR(Numbers(nodes[2])[3], rotation, 1e-3 * rotation);
    EXPECT_NE(protocol.find("      M      25.31 "), std::string::npos); // 9qL²/128
    EXPECT_NE(protocol.find("     -45.00      1.000\n"), std::string::npos);
}

// The model is symmetric about its middle support: beam 2 at ξ mirrors beam 1
// at 1 − ξ, with equal deflections and moments and opposite shear forces.
TEST(BatchResults, SymmetricModelGivesMirroredResults) {
    const std::string protocol = Protocol("zweifeld");
    auto deflections = [&](int beam) {
        return TableRows(protocol, "Verschiebung des Stabes   " + std::to_string(beam) + " in 1/6");
    };
    auto forces = [&](int beam) {
        std::vector<std::string> rows = TableRows(
            protocol, "Schnittkräfte des Stabes   " + std::to_string(beam) + " in 1/6", false);
        rows.erase(rows.begin()); // the column heading
        return rows;
    };
    std::vector<std::string> w1 = deflections(1), w2 = deflections(2);
    ASSERT_EQ(w1.size(), 5u);
    ASSERT_EQ(w2.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(Numbers(w1[i])[1], Numbers(w2[4 - i])[1]) << i;
    std::vector<std::string> f1 = forces(1), f2 = forces(2);
    ASSERT_EQ(f1.size(), 7u);
    ASSERT_EQ(f2.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        std::vector<double> a = Numbers(f1[i]), b = Numbers(f2[6 - i]);
        EXPECT_NEAR(a[1], -b[1], 1e-3 * std::fabs(a[1]) + 1e-9) << "Q " << i;
        EXPECT_NEAR(a[2], b[2], 1e-3 * std::fabs(a[2]) + 1e-9) << "M " << i;
    }
}

// Σ of the loads of the bridge deck: force and moments about the global axes
// (a force Fz at (x, y) has the moments y Fz about x and −x Fz about y).
// Temperature and hinge loads are self-equilibrated and add nothing.
struct Resultant {
    double fz = 0, mx = 0, my = 0;
    void Force(double f, double x, double y) { fz += f, mx += y * f, my -= x * f; }
};

Resultant LoadResultant(InputModel& in) {
    Resultant r;
    for (int k = 0; k < in.nodeLoads.ValidCount(); ++k) {
        const NodeLoadRec& l = *in.nodeLoads.ValidRow(k);
        for (int n = l.from; n <= l.to; ++n) {
            const NodeRec& node = *in.nodes.RowRecord(n - 1);
            r.Force(l.Fz, node.x, node.y);
            r.mx += l.Mx, r.my += l.My;
        }
    }
    for (int k = 0; k < in.beamLoads.ValidCount(); ++k) {
        const BeamLoadRec& l = *in.beamLoads.ValidRow(k);
        for (int b = l.from; b <= l.to; ++b) {
            const double L = in.beams.BeamLength(b), a = in.beams.BeamAngle(b);
            const Point2 p1 = in.beams.PointAt(b, 0), p2 = in.beams.PointAt(b, 1);
            // ∫ q dx and ∫ q·P dx for q linear from qStart to qEnd.
            r.fz += L * (l.qStart + l.qEnd) / 2;
            const double w1 = L * (l.qStart / 3 + l.qEnd / 6), w2 = L * (l.qStart / 6 + l.qEnd / 3);
            r.mx += w1 * p1.y + w2 * p2.y;
            r.my -= w1 * p1.x + w2 * p2.x;
            const double torsion = L * (l.mtStart + l.mtEnd) / 2;
            r.mx += torsion * std::cos(a), r.my += torsion * std::sin(a);
        }
    }
    for (int k = 0; k < in.pointLoads.ValidCount(); ++k) {
        const PointLoadRec& l = *in.pointLoads.ValidRow(k);
        const double a = in.beams.BeamAngle(l.beam);
        const Point2 p = in.beams.PointAt(l.beam, l.pos);
        r.Force(l.Q, p.x, p.y);
        r.mx += l.Mt * std::cos(a) - l.Mb * std::sin(a);
        r.my += l.Mt * std::sin(a) + l.Mb * std::cos(a);
    }
    return r;
}

Resultant BridgeLoads(InputModel& in) {
    EXPECT_TRUE(LoadSystemFile(in, Example("bruecke.bsy")));
    EXPECT_TRUE(LoadLoadCaseFile(in, Example("bruecke.bld")));
    return LoadResultant(in);
}

TEST(BatchResults, BridgeReactionsOfTheProtocolBalanceTheLoads) {
    InputModel in;
    const Resultant loads = BridgeLoads(in);
    Resultant reactions;
    std::vector<std::string> rows = TableRows(Protocol("bruecke"), "Auflagerkräfte");
    ASSERT_EQ(rows.size(), 4u); // nodes 1, 5, 6 and 10
    for (const std::string& row : rows) {
        std::vector<double> v = Numbers(row);
        const NodeRec& node = *in.nodes.RowRecord(static_cast<int>(v[0]) - 1);
        reactions.Force(v[1], node.x, node.y);
        reactions.mx += v[2], reactions.my += v[3];
    }
    // Four significant digits per printed value.
    EXPECT_NEAR(reactions.fz, -loads.fz, 1e-3 * std::fabs(loads.fz));
    EXPECT_NEAR(reactions.mx, -loads.mx, 2e-3 * std::fabs(loads.fz) * 20);
    EXPECT_NEAR(reactions.my, -loads.my, 2e-3 * std::fabs(loads.fz) * 20);
}

TEST(BatchResults, BridgeJsonBalancesTheLoadsExactly) {
    TempDir dir;
    ProcessResult r = RunBatchProgram(
        {"-q", Example("bruecke.bsy"), Example("bruecke.bld"), "--json", dir.Path("r.json")});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json json = Json::parse(ReadFile(dir.Path("r.json")));
    InputModel in;
    const Resultant loads = BridgeLoads(in);
    Resultant reactions;
    for (const Json& reaction : json["reactions"]) {
        const NodeRec& node = *in.nodes.RowRecord(reaction["node"].get<int>() - 1);
        reactions.Force(reaction["Z"].get<double>(), node.x, node.y);
        reactions.mx += reaction["Mx"].get<double>(), reactions.my += reaction["My"].get<double>();
    }
    const double scale = std::fabs(loads.fz) * 20;
    EXPECT_NEAR(reactions.fz, -loads.fz, 1e-9 * scale);
    EXPECT_NEAR(reactions.mx, -loads.mx, 1e-9 * scale);
    EXPECT_NEAR(reactions.my, -loads.my, 1e-9 * scale);

    // The imposed hinge deformation (hinge 1, a bending hinge: 0.002) is the
    // hinge's kink, and the imposed deflection of node 5 is its wz.
    auto numbered = [](const Json& list, const char* key, int number) {
        for (const Json& entry : list)
            if (entry[key] == number)
                return entry;
        ADD_FAILURE() << key << " " << number << " missing";
        return Json();
    };
    EXPECT_NEAR(numbered(json["hinges"], "hinge", 1).value("difference", 0.0), 0.002, 1e-12);
    EXPECT_NEAR(numbered(json["nodes"], "node", 5).value("wz", 0.0), 0.01, 1e-12);
}

TEST(BatchResults, JsonHoldsEveryPartOfTheResults) {
    TempDir dir;
    ProcessResult r =
        RunBatchProgram({"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--json", "-"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json json = Json::parse(r.out);
    EXPECT_EQ(json["format"], "balkor-results");
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["system"], "zweifeld.bsy");
    EXPECT_EQ(json["counters"]["nodes"], 3);
    EXPECT_EQ(json["counters"]["elements"], 2);
    EXPECT_EQ(json["counters"]["dofs"], 9);
    EXPECT_EQ(json["nodes"].size(), 3u);
    EXPECT_EQ(json["analysisNodes"].size(), 3u);
    EXPECT_EQ(json["elements"].size(), 2u);
    ASSERT_EQ(json["beams"].size(), 2u);
    const Json& beam = json["beams"][0];
    EXPECT_EQ(beam["intervals"], 6);
    EXPECT_EQ(beam["points"].size(), 7u);
    EXPECT_NEAR(beam["extrema"]["M"]["min"].get<double>(), -45.0, 1e-9);
    EXPECT_NEAR(beam["extrema"]["M"]["xiMin"].get<double>(), 1.0, 1e-12);
    EXPECT_NEAR(beam["points"][6]["M"].get<double>(), -45.0, 1e-9);
    EXPECT_NEAR(json["elements"][0]["Qs"].get<double>(), 22.5, 1e-9);
    EXPECT_NEAR(json["elements"][0]["Me"].get<double>(), -45.0, 1e-9);
    EXPECT_TRUE(json["hinges"].empty());
}

TEST(BatchResults, WithoutLoadCaseEverythingIsZero) {
    ProcessResult r = RunBatchProgram({"-q", Example("bruecke.bsy"), "--json", "-"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const Json json = Json::parse(r.out);
    EXPECT_EQ(json["loadCase"], "");
    for (const Json& node : json["nodes"])
        for (const char* c : {"wz", "Rx", "Ry"})
            EXPECT_EQ(node[c].get<double>(), 0.0);
    for (const Json& reaction : json["reactions"])
        for (const char* c : {"Z", "Mx", "My"})
            EXPECT_EQ(reaction[c].get<double>(), 0.0);
}

} // namespace
