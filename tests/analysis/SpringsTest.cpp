// Elastic supports against closed-form results, with both solvers. Loads and
// deflections are positive downward; a spring's force on the structure is
// −k·u, in the sign convention of the reactions.

#include "AnalysisFixture.h"
#include "support/ScopedEnvironment.h"

#include <string>

namespace {

constexpr double L = 4.0;
constexpr double E = 2.1e8;
constexpr double G = 8.1e7;
constexpr double Iy = 2.5e-4;
constexpr double It = 1.8e-6;
constexpr double EI = E * Iy;

class Springs : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        environment.Set("BALKOR_SOLVER", GetParam());
        s.Section(E, G, Iy, It);
    }

    void Spring(int from, int to, double kz, double kRx = 0.0, double kRy = 0.0) {
        SpringRec& spring = AppendValid(s.input.springs);
        spring.from = from;
        spring.to = to;
        spring.kz = kz;
        spring.kRx = kRx;
        spring.kRy = kRy;
    }
    double SpringForce(int node, int c) { return s.solutions.SpringForce(s.CalcNode(node), c); }
    double Support(int node, int c) { return s.solutions.SupportReaction(s.CalcNode(node), c); }

    // A beam along x from a clamped node 1 to a free node 2.
    void Cantilever() {
        s.FixedNode(0, 0);
        s.Node(L, 0);
        s.Beam(1, 2);
    }
    // A simply supported beam (torsion held) over two beams, node 3 in the middle.
    void SimpleBeamWithMiddleNode(int middleFixZ) {
        s.Node(0, 0, 1, 1, 0);
        s.Node(L, 0, 1, 1, 0);
        s.Node(L / 2, 0, middleFixZ, 0, 0);
        s.Beam(1, 3);
        s.Beam(3, 2);
    }

    ScopedEnvironment environment;
    Structure s;
};

TEST_P(Springs, CantileverTipOnASpring) {
    Cantilever();
    const double k = 2.0 * 3 * EI / (L * L * L), P = 30.0;
    Spring(2, 2, k);
    s.NodeLoad(2, 2, P);
    s.Solve();
    const double w = P / (k + 3 * EI / (L * L * L));
    EXPECT_REL(s.Value(2, kWz), w);
    EXPECT_REL(SpringForce(2, kWz), -k * w);
    EXPECT_ZERO(SpringForce(2, kRy), P * L);
    // The clamp takes the rest; reactions and spring forces balance the load.
    EXPECT_REL(Support(1, kWz), -(P - k * w));
    EXPECT_REL(Support(1, kRy), (P - k * w) * L);
    EXPECT_REL(Support(1, kWz) + SpringForce(2, kWz), -P);
}

TEST_P(Springs, MiddleSpringOfASimpleBeam) {
    SimpleBeamWithMiddleNode(0);
    const double k = 48 * EI / (L * L * L), q = 12.0;
    Spring(3, 3, k);
    s.BeamLoad(1, 2, q, q);
    s.Solve();
    const double R = (5 * q * L * L * L * L / (384 * EI)) / (1 / k + L * L * L / (48 * EI));
    EXPECT_REL(SpringForce(3, kWz), -R);
    EXPECT_REL(s.Value(3, kWz), R / k);
    EXPECT_REL(Support(1, kWz), -(q * L - R) / 2);
    EXPECT_REL(Support(1, kWz) + Support(2, kWz) + SpringForce(3, kWz), -q * L);
}

TEST_P(Springs, VeryStiffSpringsApproachTheRigidSupport) {
    SimpleBeamWithMiddleNode(1);
    s.BeamLoad(1, 2, 12.0, 12.0);
    s.Solve();
    const double rigidMiddle = s.Reaction(3, kWz), rigidEnd = s.Reaction(1, kWz);
    const double rigidMoment = s.Force(1, 1.0, 2);
    EXPECT_REL(rigidMiddle, -5.0 / 8 * 12.0 * L);

    // The same beam on a spring 1e8 times as stiff as the beam over its span.
    s.input.nodes.RowRecord(2)->fixZ = 0;
    Spring(3, 3, 1e8 * 48 * EI / (L * L * L));
    s.Solve();
    EXPECT_NEAR(SpringForce(3, kWz), rigidMiddle, 1e-6 * std::fabs(rigidMiddle));
    EXPECT_NEAR(Support(1, kWz), rigidEnd, 1e-6 * std::fabs(rigidMiddle));
    EXPECT_NEAR(s.Force(1, 1.0, 2), rigidMoment, 1e-6 * std::fabs(rigidMoment));
}

// A stiff square frame held by nothing but four corner springs: the corner
// forces follow from statics of a rigid body, F = P/4 + P·e·r/Σr² in both
// directions about the centre.
TEST_P(Springs, RigidFrameOnFourSpringsByStatics) {
    constexpr double A = 2.0, P = 100.0, k = 1e3;
    s.Section(1e10, 1e10, 1.0, 1.0); // cross-section 2: k A³ / EI = 8e-7
    const double corners[4][2] = {{0, 0}, {A, 0}, {A, A}, {0, A}};
    for (const auto& c : corners)
        s.Node(c[0], c[1]);
    for (int b = 1; b <= 4; ++b)
        s.Beam(b, b % 4 + 1, 2);
    Spring(1, 4, k);
    s.PointLoad(1, 0.25, P); // at (A/4, 0)
    s.Solve();
    const double ex = A / 4 - A / 2, ey = -A / 2;
    double sum = 0.0;
    for (int n = 1; n <= 4; ++n) {
        const double u = corners[n - 1][0] - A / 2, v = corners[n - 1][1] - A / 2;
        const double F = P / 4 + P * ex * u / (A * A) + P * ey * v / (A * A);
        EXPECT_NEAR(SpringForce(n, kWz), -F, 1e-5 * P) << "corner " << n;
        sum += SpringForce(n, kWz);
    }
    EXPECT_NEAR(sum, -P, 1e-6 * P);
}

// Rotational springs act about the skewed support axes: at 90° the first axis
// is y, so kRx resists the tip moment My; a component a rigid support holds
// gets nothing from the spring.
TEST_P(Springs, RotationalSpringsTurnWithTheSkewAndYieldToSupports) {
    s.FixedNode(0, 0);
    s.Node(L, 0, 1, 0, 0, 90.0);
    s.Beam(1, 2);
    const double k = 3 * EI / L, M = 20.0;
    Spring(2, 2, 5e6, k, 0.0); // kz stands on the rigid support
    s.NodeLoad(2, 2, 0.0, 0.0, M);
    s.Solve();
    // The propped cantilever's tip rotates by M / (4EI/L) without the spring.
    const double Ry = M / (k + 4 * EI / L);
    EXPECT_REL(s.Value(2, kRy), Ry);
    EXPECT_REL(SpringForce(2, kRy), -k * Ry);
    EXPECT_ZERO(SpringForce(2, kRx), M);
    EXPECT_EQ(SpringForce(2, kWz), 0.0);
    EXPECT_REL(Support(2, kWz), s.Reaction(2, kWz));
    EXPECT_ZERO(Support(2, kRy), M);
}

INSTANTIATE_TEST_SUITE_P(BothSolvers, Springs, ::testing::Values("profile", "sparse"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
