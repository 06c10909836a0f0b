// Elastic supports against closed forms, with both solvers. Loads and
// deflections are positive downward; a spring's force on the structure is
// −k·u, in the sign convention of the reactions.

#include "AnalysisFixture.h"
#include "support/ScopedEnvironment.h"

#include <string>

namespace {

constexpr double L = 4.0, EI = 2.1e8 * 2.5e-4, L3 = L * L * L;
// A cantilever's tip on a spring: w = P / (k + 3EI/L³).
constexpr double P = 30.0, kTip = 6 * EI / L3, wTip = P / (kTip + 3 * EI / L3);
// A simple beam on a middle spring: R = (5qL⁴/384EI) / (1/k + L³/48EI).
constexpr double q = 12.0, qL = q * L, kMid = 48 * EI / L3;
constexpr double R = (5 * qL * L3 / (384 * EI)) / (1 / kMid + L3 / (48 * EI));
// A rigid square frame of side A = 2 on four corner springs, F at (A/4, 0):
// by statics a corner at (u, v) from the centre carries F/4 + F·Σ(e·u)/Σu².
constexpr double A = 2.0, F = 100.0;
constexpr double Corner(double u, double v) {
    return F / 4 + F * (-u / 2 - v) / 4;
}
// A tip skewed by 90°, so kRx acts about y: My turns it by M / (k + 4EI/L).
constexpr double M = 20.0, kRot = 3 * EI / L, ryTip = M / (kRot + 4 * EI / L);

void Spring(Structure& s, int from, int to, double kz, double kRx = 0.0) {
    SpringRec& spring = AppendValid(s.input.springs);
    spring.from = from, spring.to = to, spring.kz = kz, spring.kRx = kRx;
}
// Fork supports at nodes 1 and 2, node 3 in the middle on a spring k, q throughout.
double OnAMiddleSpring(Structure& s, double k) {
    s.Node(0, 0, 1, 1, 0), s.Node(L, 0, 1, 1, 0), s.Node(L / 2, 0);
    s.Beam(1, 3), s.Beam(3, 2);
    Spring(s, 3, 3, k);
    s.BeamLoad(1, 2, q, q);
    return qL;
}

// The structures of the cases; each returns the sum of its z loads.
const auto TipSpring = [](Structure& s) {
    s.FixedNode(0, 0), s.Node(L, 0), s.Beam(1, 2), Spring(s, 2, 2, kTip), s.NodeLoad(2, 2, P);
    return P;
};
const auto MiddleSpring = [](Structure& s) { return OnAMiddleSpring(s, kMid); };
const auto StiffMiddleSpring = [](Structure& s) { return OnAMiddleSpring(s, 1e8 * kMid); };
const auto FrameOnFourSprings = [](Structure& s) {
    MatRec& rigid = *s.input.mats.RowRecord(0); // k A³ / EI = 8e-7
    rigid.E = rigid.G = 1e10, rigid.Iy = rigid.It = 1.0;
    s.Node(0, 0), s.Node(A, 0), s.Node(A, A), s.Node(0, A);
    s.Beam(1, 2), s.Beam(2, 3), s.Beam(3, 4), s.Beam(4, 1);
    Spring(s, 1, 4, 1e3), s.PointLoad(1, 0.25, F);
    return F;
};
// The spring's kz stands on the tip's rigid support and adds nothing.
const auto SkewedRotationalSpring = [](Structure& s) {
    s.FixedNode(0, 0), s.Node(L, 0, 1, 0, 0, 90.0), s.Beam(1, 2);
    Spring(s, 2, 2, 5e6, kRot), s.NodeLoad(2, 2, 0, 0, M);
    return 0.0;
};
// The tip's displacement is imposed: the spring there adds nothing, shows 0,
// and the imposed displacement takes the whole force 3EI/L³·w.
constexpr double wImposed = 0.01, kImposed = 3 * EI / L3 * wImposed;
const auto SpringOnAnImposedTip = [](Structure& s) {
    s.FixedNode(0, 0), s.Node(L, 0), s.Beam(1, 2), Spring(s, 2, 2, kTip), s.Zwv(2, 2, wImposed);
    return 0.0;
};

const auto Deflection = [](Structure& s, int n, int c) { return s.Value(n, c); };
const auto SpringForce = [](Structure& s, int n, int c) {
    return s.solutions.SpringForce(s.CalcNode(n), c);
};
const auto SupportForce = [](Structure& s, int n, int c) {
    return s.solutions.SupportReaction(s.CalcNode(n), c);
};
const auto MomentOverNode3 = [](Structure& s, int, int) { return s.Force(1, 1.0, 2); };

const struct {
    double (*build)(Structure&);
    double (*actual)(Structure&, int node, int component);
    int node, component;
    double expected, tolerance;
} kCases[] = {
    {TipSpring, Deflection, 2, kWz, wTip, 1e-9 * wTip},
    {TipSpring, SpringForce, 2, kWz, -kTip* wTip, 1e-9 * P},
    {MiddleSpring, SpringForce, 3, kWz, -R, 1e-9 * R},
    {MiddleSpring, SupportForce, 1, kWz, -(qL - R) / 2, 1e-9 * qL},
    {StiffMiddleSpring, SpringForce, 3, kWz, -5.0 / 8 * qL, 1e-6 * qL},
    {StiffMiddleSpring, SupportForce, 1, kWz, -3.0 / 16 * qL, 1e-6 * qL},
    {StiffMiddleSpring, MomentOverNode3, 0, 0, -qL* L / 32, 1e-6 * qL* L},
    {FrameOnFourSprings, SpringForce, 1, kWz, -Corner(-1, -1), 1e-5 * F},
    {FrameOnFourSprings, SpringForce, 2, kWz, -Corner(1, -1), 1e-5 * F},
    {FrameOnFourSprings, SpringForce, 3, kWz, -Corner(1, 1), 1e-5 * F},
    {FrameOnFourSprings, SpringForce, 4, kWz, -Corner(-1, 1), 1e-5 * F},
    {SkewedRotationalSpring, Deflection, 2, kRy, ryTip, 1e-9 * ryTip},
    {SkewedRotationalSpring, SpringForce, 2, kRy, -kRot* ryTip, 1e-9 * M},
    {SkewedRotationalSpring, SpringForce, 2, kRx, 0.0, 1e-9 * M},
    {SkewedRotationalSpring, SpringForce, 2, kWz, 0.0, 1e-9 * M},
    {SpringOnAnImposedTip, SpringForce, 2, kWz, 0.0, 1e-9 * kImposed},
    {SpringOnAnImposedTip, SupportForce, 2, kWz, kImposed, 1e-9 * kImposed},
    {SpringOnAnImposedTip, SupportForce, 1, kWz, -kImposed, 1e-9 * kImposed},
};

class Springs : public ::testing::TestWithParam<const char*> {};

// Each case also balances: supports and springs together carry the load
// (to 1e-6 of it).
TEST_P(Springs, MatchTheClosedFormsAndBalanceTheLoad) {
    ScopedEnvironment environment;
    environment.Set("BALKOR_SOLVER", GetParam());
    for (const auto& c : kCases) {
        Structure s;
        s.Section(2.1e8, 8.1e7, 2.5e-4, 1.8e-6);
        const double load = c.build(s);
        s.Solve();
        EXPECT_NEAR(c.actual(s, c.node, c.component), c.expected, c.tolerance) << &c - kCases;
        double sum = 0.0;
        for (int n = 1; n <= s.input.nodes.Count(); ++n)
            sum += SupportForce(s, n, kWz) + SpringForce(s, n, kWz);
        EXPECT_NEAR(sum, -load, 1e-6 * (std::fabs(load) + 1.0)) << &c - kCases;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSolvers, Springs, ::testing::Values("profile", "sparse"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
