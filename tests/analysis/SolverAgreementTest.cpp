// Both solvers on the same models: every mechanism refused, an extreme but
// sound cantilever solved, random grillages solved alike.

#include "AnalysisFixture.h"
#include "SameResults.h"
#include "analysis/CalcStatus.h"
#include "support/TestSeed.h"

#include <random>
#include <string>

namespace {

const char* const kSolvers[] = {"profile", "sparse"};

// The mechanisms of the suite and those of extreme inputs. exact: the
// elimination meets a zero or negative pivot; otherwise rounding leaves the
// mechanism a tiny pivot, and the pivot rule or the equilibrium check has
// to refuse it.
struct Mechanism {
    const char* name;
    void (*build)(Structure&);
    bool exact;
};

void Section(Structure& s) {
    s.Section(2.0e8, 8.0e7, 3.0e-4, 2.0e-4);
}

// A T of beams on two deflection supports along x, the second also holding
// the rotation about the axis skewed by 90° (that is, about y): the T turns
// about x as a rigid body. Torsion 1e6 times stiffer than bending.
void RigidT(Structure& s, int loadedNode, double Fz) {
    const double E = 2.1e8, G = 8.0e7, Iy = 1e-4;
    s.Section(E, G, Iy, 1e6 * E * Iy / G);
    s.Node(0, 0, 1);
    s.Node(4, 0);
    s.Node(8, 0, 1, 1, 0, 90.0);
    s.Node(4, 3);
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.Beam(2, 4);
    s.NodeLoad(loadedNode, loadedNode, Fz);
}

const Mechanism kMechanisms[] = {
    {"beam without supports",
     [](Structure& s) {
         Section(s);
         s.Node(0, 0);
         s.Node(4, 0);
         s.Beam(1, 2);
         s.NodeLoad(2, 2, 10.0);
     },
     true},
    {"simply supported beam with two bending hinges",
     [](Structure& s) {
         Section(s);
         s.Node(0, 0, 1, 1, 0);
         s.Node(8, 0, 1, 1, 0);
         s.Beam(1, 2);
         s.Hinge(1, 0.3, kHingeBending);
         s.Hinge(1, 0.6, kHingeBending);
         s.BeamLoad(1, 1, 5.0, 5.0);
     },
     true},
    {"cantilever with a shear hinge",
     [](Structure& s) {
         Section(s);
         s.Node(0, 0, 1, 1, 1);
         s.Node(5, 0);
         s.Beam(1, 2);
         s.Hinge(1, 0.5, kHingeShear);
         s.NodeLoad(2, 2, 10.0);
     },
     true},
    {"beam on two deflection supports twisting about its axis",
     [](Structure& s) {
         Section(s);
         s.Node(0, 0, 1);
         s.Node(6, 0, 1);
         s.Beam(1, 2);
         s.BeamLoad(1, 1, 0.0, 0.0, 2.0, 2.0);
     },
     true},
    {"rigid T under a load that turns it", [](Structure& s) { RigidT(s, 4, 50.0); }, false},
    {"rigid T under a load on its axis of rotation", [](Structure& s) { RigidT(s, 2, 50.0); },
     false},
};

TEST(BothSolvers, RefuseEveryMechanism) {
    for (const Mechanism& mechanism : kMechanisms) {
        for (const char* solver : kSolvers) {
            SCOPED_TRACE(std::string(mechanism.name) + ", " + solver);
            ForcedSolver forced(solver);
            Structure s;
            mechanism.build(s);
            const CalcResult result = s.Run();
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(s.solutions.resultsValid, 0);
            EXPECT_EQ(result.title, "Berechnungsfehler");
            if (mechanism.exact || result.failedStage == kStageSolve) {
                EXPECT_EQ(result.message, kSingularMessage);
                EXPECT_EQ(result.failedStage, kStageSolve);
            } else {
                EXPECT_EQ(result.message, kUnbalancedMessage);
            }
        }
    }
}

// A cantilever of a root piece a (EI1, GIt1) and a tip piece b 1e11 times
// stiffer, loaded at the tip by P: w = P ((a + b)³ − b³) / (3 EI1) +
// P b³ / (3 EI2). Rounding costs about 1e11 × the machine precision (2e-5)
// times the amplification of the equations: some 1e-4 of the displacements,
// and the reactions, end forces of the root that cancel to P, lose one
// digit more.
TEST(BothSolvers, SolveACantileverWhoseTipIs1e11TimesStifferThanItsRoot) {
    const double E = 2.1e8, G = 8.0e7, Iy = 1e-4, It = 2e-4, ratio = 1e11;
    const double a = 3.0, b = 2.0, P = 10.0;
    const double EI1 = E * Iy, EI2 = ratio * EI1;
    const double w =
        P * ((a + b) * (a + b) * (a + b) - b * b * b) / (3 * EI1) + P * b * b * b / (3 * EI2);
    for (const char* solver : kSolvers) {
        SCOPED_TRACE(solver);
        ForcedSolver forced(solver);
        Structure s;
        s.Section(E, G, Iy, It);
        s.Section(ratio * E, ratio * G, Iy, It);
        s.Node(0, 0, 1, 1, 1);
        s.Node(a, 0);
        s.Node(a + b, 0);
        s.Beam(1, 2, 1);
        s.Beam(2, 3, 2);
        s.NodeLoad(3, 3, P);
        s.Solve();
        EXPECT_NEAR(s.Value(3, kWz), w, 2e-3 * w);
        EXPECT_NEAR(s.Value(3, kRy), -P * (a * a / 2 + a * b) / EI1, 2e-3 * w / a);
        EXPECT_NEAR(s.Reaction(1, kWz), -P, 1e-2 * P);
        EXPECT_NEAR(s.Reaction(1, kRy), P * (a + b), 1e-2 * P * (a + b));
    }
}

// A random grillage: up to 4 × 3 fields with beams of two cross-sections,
// clamped at one node and held in z (some skewed supports in Rx too) along
// the edges, single hinges of every type in some beams, and node, beam,
// point and temperature loads. The beams of the first row and of every
// column have no hinge: clamped, they are a stable tree that holds both ends
// of every hinged beam. A beam has a hinge or a point load, in its middle
// part: short pieces would be stiffness contrasts whose rounding comes near
// the tolerance. The beams run along the axes: the bending coupling of a
// torsion hinge in a beam a little off an axis makes its Rx dependent with
// the factor 1 / sin β, another such contrast.
void RandomGrillage(Structure& s, std::mt19937& random) {
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(random); };
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Sections of steel and concrete beams, within a decade of each other.
    for (int k = 0; k < 2; ++k) {
        const double E = uniform(3e7, 2.1e8), Iy = std::pow(10.0, uniform(-4, -3));
        s.Section(E, E / uniform(2.2, 2.8), Iy, Iy * uniform(0.1, 2.0), 1.2e-5);
    }
    const int columns = pick(2, 5), rows = pick(2, 4);
    const double dx = uniform(3.0, 5.0), dy = uniform(3.0, 5.0);
    const int clamped = pick(0, columns * rows - 1);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const bool edge = i == 0 || j == 0 || i == columns - 1 || j == rows - 1;
            const int node = s.Node(dx * i, dy * j, edge && chance(0.8));
            NodeRec& rec = *s.input.nodes.RowRecord(node - 1);
            if (rec.fixZ && chance(0.3)) {
                rec.fixRx = 1;
                rec.skew = uniform(-60.0, 60.0);
            }
            if (node - 1 == clamped)
                rec.fixZ = rec.fixRx = rec.fixRy = 1;
        }
    }
    auto beam = [&](int start, int end, bool mayHinge) {
        const int b = s.Beam(start, end, pick(1, 2), 0.3, pick(1, 6));
        if (mayHinge && chance(0.4))
            s.Hinge(b, uniform(0.3, 0.7), pick(kHingeShear, kHingeTorsion));
        else if (chance(0.3))
            s.PointLoad(b, uniform(0.3, 0.7), uniform(-20, 20), uniform(-5, 5), uniform(-5, 5));
    };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i + 1 < columns; ++i)
            beam(j * columns + i + 1, j * columns + i + 2, j > 0);
    for (int j = 0; j + 1 < rows; ++j)
        for (int i = 0; i < columns; ++i)
            beam(j * columns + i + 1, (j + 1) * columns + i + 1, false);
    const int nodes = s.input.nodes.Count(), beams = s.input.beams.Count();
    for (int k = pick(1, 3); k > 0; --k)
        s.NodeLoad(pick(1, nodes), nodes, uniform(-30, 30), uniform(-10, 10), uniform(-10, 10));
    s.BeamLoad(1, pick(1, beams), uniform(-10, 10), uniform(-10, 10), uniform(-2, 2),
               uniform(-2, 2));
    if (chance(0.5))
        s.Temperature(pick(1, beams), beams, uniform(-20, 20));
}

TEST(BothSolvers, GiveTheSameResultsOnRandomGrillages) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    for (unsigned model = 0; model < 12; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        Structure profile, sparse;
        {
            ForcedSolver forced("profile");
            std::mt19937 random(seed + model);
            RandomGrillage(profile, random);
            profile.Solve();
        }
        {
            ForcedSolver forced("sparse");
            std::mt19937 random(seed + model);
            RandomGrillage(sparse, random);
            sparse.Solve();
        }
        ExpectSameResults(profile.solutions, sparse.solutions, Scale::kPerUnit);
    }
}

} // namespace
