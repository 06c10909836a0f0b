// Vehicles, lanes and the wheels on the grillage; positions as right-hand
// sides against ordinary load cases; influence surfaces against unit loads;
// closed forms of a simply supported span.

#include "analysis/AnalysisFixture.h"
#include "project/Envelope.h"
#include "protocols/ResultValues.h"
#include "traffic/Lane.h"
#include "traffic/TrafficAnalysis.h"
#include "traffic/TrafficEnvelope.h"
#include "traffic/Vehicle.h"
#include "traffic/WheelDistribution.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace {

void Grid(Structure& s, int nx, int ny, double a, double b, int intervals = 4) {
    s.Section(3e7, 1.2e7, 0.05, 0.02);
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            s.Node(i * a, j * b, i == 0 || j == 0 || i == nx || j == ny);
    auto id = [nx](int i, int j) { return j * (nx + 1) + i + 1; };
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i < nx; ++i)
            s.Beam(id(i, j), id(i + 1, j), 1, 0.0, intervals);
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j < ny; ++j)
            s.Beam(id(i, j), id(i, j + 1), 1, 0.0, intervals);
}

// A simply supported span along x, held against torsion at its start.
void Span(Structure& s, double L, int intervals) {
    s.Section(2.1e8, 8.1e7, 1e-3, 1e-4);
    s.Node(0, 0, 1, 1, 0);
    s.Node(L, 0, 1, 0, 0);
    s.Beam(1, 2, 1, 0.0, intervals);
}

double Largest(const std::vector<double>& v) {
    double m = 0;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

// The values of the shares as an ordinary load case (point and node loads).
std::vector<double> OrdinaryValues(void (*build)(Structure&),
                                   const std::vector<LoadShare>& shares) {
    Structure ref;
    build(ref);
    for (const LoadShare& share : shares)
        if (share.node > 0)
            ref.NodeLoad(share.node, share.node, share.load);
        else
            ref.PointLoad(share.beam, share.xi, share.load);
    EXPECT_TRUE(ref.solutions.Calculate().ok);
    return EnvelopeValues(ref.input, ref.solutions, MakeEnvelopeLayout(ref.input));
}

void SmallGrid(Structure& s) {
    Grid(s, 3, 2, 2.0, 1.5);
}

} // namespace

TEST(Vehicles, BuiltInVehiclesHaveTheirAxleLoadsAndSpacings) {
    struct Row {
        const char* name;
        double total; // kN
        size_t wheels;
        double length; // first to last axle, m
        double width;  // wheel spacing, m
    };
    const Row rows[] = {{"LM1-TS1", 600, 4, 1.2, 2.0},
                        {"LM1-TS2", 400, 4, 1.2, 2.0},
                        {"LM1-TS3", 200, 4, 1.2, 2.0},
                        {"LM2", 400, 2, 0.0, 2.0},
                        {"HL93", 325, 6, 8.6, 1.8}};
    for (const Row& row : rows) {
        Vehicle v;
        std::string error;
        ASSERT_TRUE(ResolveVehicle(row.name, v, error)) << error;
        double total = 0, minA = 1e9, maxA = -1e9, minC = 1e9, maxC = -1e9;
        for (const Wheel& w : v.wheels) {
            total += w.load;
            minA = std::min(minA, w.along);
            maxA = std::max(maxA, w.along);
            minC = std::min(minC, w.across);
            maxC = std::max(maxC, w.across);
        }
        EXPECT_EQ(v.wheels.size(), row.wheels) << row.name;
        EXPECT_DOUBLE_EQ(total, row.total) << row.name;
        EXPECT_NEAR(maxA - minA, row.length, 1e-12) << row.name;
        EXPECT_NEAR(maxC - minC, row.width, 1e-12) << row.name;
        EXPECT_NE(v.name.find("kN"), std::string::npos) << row.name;
        // The shipped file is the built-in vehicle.
        std::string file = row.name;
        for (char& c : file)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        Vehicle shipped;
        ASSERT_TRUE(LoadVehicleFile(std::string(BALKOR_SOURCE_DIR) + "/share/balkor/vehicles/" +
                                        file + ".bfz",
                                    shipped, error))
            << error;
        EXPECT_EQ(VehicleFileText(shipped), VehicleFileText(v));
    }
    Vehicle hl93;
    std::string error;
    ASSERT_TRUE(ResolveVehicle("hl93", hl93, error));
    EXPECT_DOUBLE_EQ(hl93.wheels[0].load * 2, 35.0); // the front axle
}

TEST(Vehicles, FilesRoundTripAndBadOnesAreNamed) {
    const Vehicle v{"Test (kN, m)", {{1.25, -0.5, 10.0 / 3}, {-2, 0.5, 7}}};
    Vehicle back;
    std::string error;
    ASSERT_TRUE(ParseVehicleText("\xEF\xBB\xBF" + VehicleFileText(v), back, error)) << error;
    EXPECT_EQ(VehicleFileText(back), VehicleFileText(v));
    const std::pair<const char*, const char*> bad[] = {
        {"WHEELS\n1\n  1 0 x 5\n", "Zeile 3"}, {"WHEELS\n2\n  1 0 0 5\n", "endet"},
        {"WHEELS\nzwei\n", "Zeile 2"},         {"VEHICLE\n1\n 1 \"a\"\n", "WHEELS"},
        {"WHEELS\n5000\n", "mehr als"},
    };
    for (const auto& [text, what] : bad) {
        EXPECT_FALSE(ParseVehicleText(text, back, error)) << text;
        EXPECT_NE(error.find(what), std::string::npos) << error;
    }
    EXPECT_FALSE(ResolveVehicle("point:abc", back, error));
    EXPECT_FALSE(ResolveVehicle("/nicht/da.bfz", back, error));
    ASSERT_TRUE(ResolveVehicle("point:-12.5", back, error));
    EXPECT_DOUBLE_EQ(back.wheels.at(0).load, -12.5);
}

TEST(Lanes, BadLanesNameThePositionAndVehiclesStepAlong) {
    Lane lane;
    std::string error;
    EXPECT_FALSE(ParseLane("0,0;5", lane, error));
    EXPECT_NE(error.find("Zeichen 5"), std::string::npos) << error;
    EXPECT_FALSE(ParseLane("1,1;1,1", lane, error));
    EXPECT_FALSE(ParseLane("0,0;x,1", lane, error));
    ASSERT_TRUE(ParseLane("0,0; 10,0 ;10,10", lane, error)) << error;
    const Vehicle axle{"", {{0.5, 1, 10}, {-0.5, -1, 20}}};
    std::vector<VehiclePosition> positions;
    ASSERT_TRUE(PlaceVehicle(axle, {lane}, 1.0, true, positions, error));
    // From the front wheel at the start to the rear one at the end: 21 m of travel.
    ASSERT_EQ(positions.size(), 2u * 22);
    EXPECT_EQ(positions.front().wheels.size(), 1u); // only the front wheel on the lane
    const VehiclePosition& p = positions[5];        // origin at station 4.5
    ASSERT_EQ(p.wheels.size(), 2u);
    EXPECT_NEAR(p.wheels[0].x, 5.0, 1e-12);
    EXPECT_NEAR(p.wheels[0].y, 1.0, 1e-12); // left of the direction of travel
    EXPECT_NEAR(p.wheels[1].x, 4.0, 1e-12);
    EXPECT_NEAR(p.wheels[1].y, -1.0, 1e-12);
    EXPECT_TRUE(positions[22].reverse);
    // Reversed, its first leg runs in −y: the left wheel is on the +x side.
    EXPECT_NEAR(positions[22 + 5].wheels[0].x, 11, 1e-12);
    EXPECT_NEAR(positions[22 + 5].wheels[0].y, 5, 1e-12);
    EXPECT_FALSE(PlaceVehicle(axle, {lane}, 0.0, false, positions, error));
    EXPECT_FALSE(PlaceVehicle(axle, {lane}, 1e-6, false, positions, error));
}

TEST(WheelDistribution, SharesSumToTheLoadAndKeepItsMoments) {
    Structure s;
    s.Section(1, 1, 1, 1);
    // A skew quadrilateral cell, a triangle beside it, a beam sticking out.
    for (auto [x, y] :
         {std::pair{0.0, 0.0}, {4.0, 0.5}, {5.0, 3.0}, {0.5, 4.0}, {8.0, 1.0}, {-3.0, 0.0}})
        s.Node(x, y);
    for (auto [a, b] : {std::pair{1, 2}, {2, 3}, {3, 4}, {4, 1}, {2, 5}, {5, 3}, {1, 6}})
        s.Beam(a, b);
    DeckMap deck(s.input);
    EXPECT_EQ(deck.CellCount(), 2);
    EXPECT_EQ(deck.QuadrilateralCount(), 1);
    struct Row {
        double x, y;
        WheelPlace place;
    };
    const double P = 100.0;
    const Row rows[] = {{2.0, 2.0, WheelPlace::kInCell},    {3.9, 2.9, WheelPlace::kInCell},
                        {0.3, 0.3, WheelPlace::kInCell},    {2.0, 0.25, WheelPlace::kOnBeam},
                        {-1.5, 0.001, WheelPlace::kOnBeam}, {6.0, 1.5, WheelPlace::kNearestBeam},
                        {-1.5, 1.0, WheelPlace::kOff},      {9.0, 9.0, WheelPlace::kOff}};
    for (const Row& row : rows) {
        std::vector<LoadShare> shares;
        EXPECT_EQ(deck.Distribute(row.x, row.y, P, shares), row.place) << row.x << "," << row.y;
        if (row.place == WheelPlace::kOff) {
            EXPECT_TRUE(shares.empty());
            continue;
        }
        double sum = 0, mx = 0, my = 0;
        for (const LoadShare& share : shares) {
            double x = 0, y = 0;
            if (share.node > 0) {
                x = s.input.nodes.RowRecord(share.node - 1)->x;
                y = s.input.nodes.RowRecord(share.node - 1)->y;
            } else {
                const BeamRec& b = *s.input.beams.RowRecord(share.beam - 1);
                const NodeRec& n1 = *s.input.nodes.RowRecord(b.start - 1);
                const NodeRec& n2 = *s.input.nodes.RowRecord(b.end - 1);
                x = n1.x + share.xi * (n2.x - n1.x);
                y = n1.y + share.xi * (n2.y - n1.y);
            }
            sum += share.load;
            mx += share.load * y;
            my += share.load * x;
        }
        EXPECT_NEAR(sum, P, 1e-12);
        // The nearest beam moves the load; on a beam it moves by the tolerance at most.
        const double moved =
            row.place == WheelPlace::kOnBeam ? 3 * DeckMap::kOnBeamTolerance : 1e-12;
        if (row.place != WheelPlace::kNearestBeam) {
            EXPECT_NEAR(mx, P * row.y, moved * P);
            EXPECT_NEAR(my, P * row.x, moved * P);
        }
        if (row.place == WheelPlace::kInCell)
            EXPECT_EQ(shares.size(), 4u);
    }
}

TEST(TrafficAnalysis, APositionEqualsTheSameLoadsAsAnOrdinaryLoadCase) {
    Structure s;
    SmallGrid(s);
    TrafficAnalysis traffic(s.input);
    ASSERT_TRUE(traffic.Prepare().ok);
    DeckMap deck(s.input);
    // Wheels on an evaluation point, between evaluation points, in cells.
    std::vector<LoadShare> shares;
    for (auto [x, y, P] : {std::tuple{1.0, 1.5, 120.0},
                           {2.7, 0.0, 80.0},
                           {4.6, 1.5, 60.0},
                           {3.1, 2.2, 90.0},
                           {0.7, 0.4, 40.0}})
        deck.Distribute(x, y, P, shares);
    const std::vector<double> own = traffic.Values(shares);
    const std::vector<double> ordinary = OrdinaryValues(SmallGrid, shares);
    ASSERT_EQ(own.size(), ordinary.size());
    const double scale = Largest(ordinary);
    for (size_t i = 0; i < own.size(); ++i)
        EXPECT_NEAR(own[i], ordinary[i], 1e-10 * scale) << i;
}

TEST(TrafficAnalysis, InfluenceSurfacesByReciprocityEqualUnitLoadsOneByOne) {
    Structure s;
    SmallGrid(s);
    TrafficAnalysis traffic(s.input);
    ASSERT_TRUE(traffic.Prepare().ok);
    const char* targets[] = {"M:beam=2:xi=0.25", "Q:beam=2:xi=0.6", "T:beam=11:xi=0.5",
                             "M:beam=11:xi=0",   "w:node=6",        "R:node=2"};
    const EnvelopeLayout& layout = traffic.Layout();
    for (const char* text : targets) {
        InfluenceTarget target;
        std::string error;
        ASSERT_TRUE(ParseInfluenceTarget(text, target, error)) << error;
        InfluenceSurface surface;
        ASSERT_TRUE(traffic.Influence(target, surface, error)) << error;
        double scale = Largest(surface.beamValues);
        ASSERT_GT(scale, 0) << text;
        for (const EnvelopeLayout::Beam& beam : layout.beams)
            for (long m = 0; m <= beam.n; ++m) {
                Structure ref;
                SmallGrid(ref);
                ref.PointLoad(beam.beam, EvaluationPoint(m, beam.n), 1.0);
                ASSERT_TRUE(ref.solutions.Calculate().ok);
                double value = 0;
                const SolutionsCont& r = ref.solutions;
                switch (target.quantity) {
                case 'w':
                    value = r.NodeValue(ref.input.nodes.RowRecord(target.node - 1)->calcNode, kWz);
                    break;
                case 'R':
                    value = r.NodeForce(ref.input.nodes.RowRecord(target.node - 1)->calcNode, kWz);
                    break;
                default:
                    value = SectionForceOnBeam(r, target.beam, target.xi,
                                               target.quantity == 'Q'   ? 1
                                               : target.quantity == 'M' ? 2
                                                                        : 3);
                }
                EXPECT_NEAR(surface.beamValues[beam.first + static_cast<size_t>(m)], value,
                            1e-10 * scale)
                    << text << " beam " << beam.beam << " m " << m;
            }
    }
    InfluenceTarget target;
    std::string error;
    EXPECT_FALSE(ParseInfluenceTarget("M:beam=2", target, error));
    EXPECT_FALSE(ParseInfluenceTarget("X:node=1", target, error));
    EXPECT_FALSE(ParseInfluenceTarget("w:node=1:xi=0.5", target, error));
    EXPECT_NE(error.find("Zeichen 10"), std::string::npos) << error;
    InfluenceSurface surface;
    ASSERT_TRUE(ParseInfluenceTarget("R:node=6", target, error));
    EXPECT_FALSE(traffic.Influence(target, surface, error)); // an inner node, not supported
    ASSERT_TRUE(ParseInfluenceTarget("M:beam=99:xi=0.5", target, error));
    EXPECT_FALSE(traffic.Influence(target, surface, error));
}

TEST(TrafficAnalysis, APointLoadCrossingASimpleSpanGivesTheInfluenceLineMaximum) {
    const double L = 8.0, P = 50.0;
    const int n = 8;
    Structure s;
    Span(s, L, n);
    TrafficAnalysis traffic(s.input);
    ASSERT_TRUE(traffic.Prepare().ok);
    Vehicle point;
    std::string error;
    ASSERT_TRUE(ResolveVehicle("point:50", point, error));
    Lane lane;
    ASSERT_TRUE(ParseLane("0,0;8,0", lane, error));
    std::vector<VehiclePosition> positions;
    ASSERT_TRUE(PlaceVehicle(point, {lane}, L / n, false, positions, error));
    ASSERT_EQ(positions.size(), static_cast<size_t>(n + 1));
    const PositionShares shares = DistributePositions(DeckMap(s.input), positions);
    EXPECT_EQ(shares.onBeam, n + 1);
    const TrafficExtremes x = traffic.Run(shares.positions);
    const TrafficEnvelopeResults e = CombineTraffic(x, "Verkehr", 1.0, 0.0, Envelope{}, {});
    for (long m = 0; m <= n; ++m) {
        const double xi = EvaluationPoint(m, n);
        const size_t at = static_cast<size_t>(m) * kBeamQuantities + 2;
        EXPECT_NEAR(e.values.max[at].value, P * xi * (1 - xi) * L, 1e-9 * P * L) << m;
        EXPECT_NEAR(e.values.min[at].value, 0.0, 1e-9 * P * L);
        if (m > 0 && m < n)
            EXPECT_EQ(e.maxPosition[at], m); // the load above the point
    }
    EXPECT_NEAR(e.values.max[4 * kBeamQuantities + 2].value, P * L / 4, 1e-9 * P * L);
    EXPECT_EQ(e.texts[static_cast<size_t>(e.values.max[4 * kBeamQuantities + 2].arrangement)],
              "1.00·Verkehr[5]");
    // The influence line of the mid-span moment: L·min(ξ, 1 − ξ)/2.
    InfluenceTarget target;
    ASSERT_TRUE(ParseInfluenceTarget("M:beam=1:xi=0.5", target, error));
    InfluenceSurface surface;
    ASSERT_TRUE(traffic.Influence(target, surface, error));
    for (long m = 0; m <= n; ++m) {
        const double xi = EvaluationPoint(m, n);
        EXPECT_NEAR(surface.beamValues[static_cast<size_t>(m)], L * std::min(xi, 1 - xi) / 2,
                    1e-9 * L);
    }
}

TEST(TrafficAnalysis, TwoAxlesOnALongSpanGiveTheAbsoluteMaximumMoment) {
    // Equal axles P a apart: the largest moment stands under an axle when
    // the span's centre is halfway between it and the resultant.
    const double L = 20.0, a = 4.0, P = 100.0;
    Structure s;
    Span(s, L, 40);
    TrafficAnalysis traffic(s.input);
    ASSERT_TRUE(traffic.Prepare().ok);
    const Vehicle axles{"", {{a / 2, 0, P}, {-a / 2, 0, P}}};
    Lane lane{{{0, 0}, {L, 0}}};
    std::vector<VehiclePosition> positions;
    std::string error;
    ASSERT_TRUE(PlaceVehicle(axles, {lane}, 0.25, false, positions, error));
    const TrafficExtremes x =
        traffic.Run(DistributePositions(DeckMap(s.input), positions).positions);
    double largest = 0;
    size_t where = 0;
    for (size_t p = 0; p < x.layout.beamPoints; ++p)
        if (x.max[p * kBeamQuantities + 2] > largest) {
            largest = x.max[p * kBeamQuantities + 2];
            where = p;
        }
    EXPECT_NEAR(largest, P * (L - a / 2) * (L - a / 2) / (2 * L), 1e-9 * P * L);
    const double xi = EvaluationPoint(static_cast<long>(where), 40);
    EXPECT_NEAR(std::fabs(xi * L - L / 2), a / 4, 1e-9);
}

TEST(TrafficEnvelope, TrafficCombinesWithAPermanentLoadCase) {
    // max = 1.35·g + 1.5·max traffic, min = 1.0·g + 0 at each place.
    TrafficExtremes x;
    x.layout.beams = {{1, 1, 0}};
    x.layout.beamPoints = 2;
    x.positions = 3;
    x.max = {1, 2, 3, 4, 5, 6, 7, 8};
    x.min = {-1, -2, -3, -4, -5, -6, -7, -8};
    x.maxAt = {0, 1, 2, 0, 1, 2, 0, 1};
    x.minAt = x.maxAt;
    x.maxConcurrent.assign(32, 1.0);
    x.minConcurrent.assign(32, -1.0);
    const MemberValues g = {10, 10, 10, 10, 20, 20, 20, 20};
    Envelope permanent;
    permanent.terms.push_back({{EnvelopeMember{false, 0}}, false, 1.35, 1.0});
    const TrafficEnvelopeResults e = CombineTraffic(x, "V", 1.5, 0.0, permanent, {&g});
    ASSERT_EQ(e.values.max.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(e.values.max[i].value, 1.35 * g[i] + 1.5 * x.max[i]);
        EXPECT_DOUBLE_EQ(e.values.min[i].value, 1.0 * g[i] + 1.5 * x.min[i]);
        EXPECT_EQ(e.minPosition[i], x.minAt[i]);
        EXPECT_EQ(e.maxPosition[i], x.maxAt[i]);
    }
    EXPECT_EQ(e.texts[static_cast<size_t>(e.values.max[1].arrangement)], "1.35·LF1 + 1.50·V[2]");
    EXPECT_DOUBLE_EQ(e.values.max[0].concurrent[3], 1.35 * 10 + 1.5);
}
