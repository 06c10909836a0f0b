// Whole runs checked against closed-form results of beam and grillage theory.
// Conventions: z (deflection, loads) positive downward; a beam along x has
// Ry = −dw/dx, along y Rx = dw/dy; bending moments are positive in sagging,
// the shear is dM/dx; a reaction is the force the support exerts.

#include "AnalysisFixture.h"

namespace {

constexpr double L = 6.0;
constexpr double E = 3.0e7;
constexpr double G = 1.2e7;
constexpr double Iy = 2.0e-3;
constexpr double It = 1.5e-3;
constexpr double EI = E * Iy;
constexpr double GIt = G * It;
constexpr double q = 12.0;
constexpr double P = 25.0;

enum Kind { kShear = 1, kMoment = 2, kTorque = 3 };

class ClosedForm : public ::testing::Test {
protected:
    void SetUp() override { s.Section(E, G, Iy, It, 1.2e-5); }

    // A beam along x from node 1 at the origin to node 2 at x = L.
    int XBeam(int fix1[3], int fix2[3], double skew1 = 0.0) {
        s.Node(0, 0, fix1[0], fix1[1], fix1[2], skew1);
        s.Node(L, 0, fix2[0], fix2[1], fix2[2]);
        return s.Beam(1, 2, 1, 0.5);
    }
    int FixedFixed() {
        int all[3] = {1, 1, 1};
        return XBeam(all, all);
    }
    // Simply supported in bending, held against torsion at both ends.
    int SimplySupported() {
        int pin[3] = {1, 1, 0};
        return XBeam(pin, pin);
    }
    int Cantilever() {
        int all[3] = {1, 1, 1};
        int none[3] = {0, 0, 0};
        return XBeam(all, none);
    }

    Structure s;
};

TEST_F(ClosedForm, CantileverUnderTipLoad) {
    Cantilever();
    s.NodeLoad(2, 2, P);
    s.Solve();
    EXPECT_REL(s.Value(2, kWz), P * L * L * L / (3 * EI));
    EXPECT_REL(s.Value(2, kRy), -P * L * L / (2 * EI));
    EXPECT_ZERO(s.Value(2, kRx), P * L * L / EI);
    EXPECT_REL(s.Reaction(1, kWz), -P);
    EXPECT_REL(s.Reaction(1, kRy), P * L);
    EXPECT_ZERO(s.Reaction(1, kRx), P * L);
    EXPECT_REL(s.Force(1, 0.0, kShear), P);
    EXPECT_REL(s.Force(1, 1.0, kShear), P);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -P * L);
    EXPECT_REL(s.Force(1, 0.5, kMoment), -P * L / 2);
    EXPECT_ZERO(s.Force(1, 1.0, kMoment), P * L);
    EXPECT_REL(s.DeflectionAt(1, 0.5), 5 * P * L * L * L / (48 * EI));
    EXPECT_REL(s.solutions.MaxDeflection(), P * L * L * L / (3 * EI));
    EXPECT_REL(s.solutions.MaxSectionForce(kMoment), P * L);
    EXPECT_REL(s.solutions.MaxNodeForce(), P);
    EXPECT_REL(s.solutions.MaxNodeMoment(), P * L);
}

TEST_F(ClosedForm, CantileverUnderTipMomentAndTorque) {
    Cantilever();
    const double M = 40.0, T = 15.0;
    s.NodeLoad(2, 2, 0.0, T, M);
    s.Solve();
    EXPECT_REL(s.Value(2, kRy), M * L / EI);
    EXPECT_REL(s.Value(2, kWz), -M * L * L / (2 * EI));
    EXPECT_REL(s.Value(2, kRx), T * L / GIt);
    EXPECT_REL(s.Reaction(1, kRy), -M);
    EXPECT_REL(s.Reaction(1, kRx), -T);
    EXPECT_ZERO(s.Reaction(1, kWz), M / L);
    EXPECT_REL(s.Force(1, 0.0, kMoment), M);
    EXPECT_REL(s.Force(1, 1.0, kMoment), M);
    EXPECT_ZERO(s.Force(1, 0.5, kShear), M / L);
    EXPECT_REL(s.Force(1, 0.0, kTorque), T);
    EXPECT_REL(s.Force(1, 1.0, kTorque), T);
    EXPECT_REL(s.DeflectionAt(1, 0.5), -M * L * L / (8 * EI));
}

TEST_F(ClosedForm, CantileverAlongYUnderTipLoad) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(0, L);
    s.Beam(1, 2);
    s.NodeLoad(2, 2, P);
    s.Solve();
    EXPECT_REL(s.Value(2, kWz), P * L * L * L / (3 * EI));
    EXPECT_REL(s.Value(2, kRx), P * L * L / (2 * EI));
    EXPECT_REL(s.Reaction(1, kRx), -P * L);
    EXPECT_ZERO(s.Reaction(1, kRy), P * L);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -P * L);
}

TEST_F(ClosedForm, SimplySupportedBeamUnderUniformLoad) {
    SimplySupported();
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    EXPECT_ZERO(s.Force(1, 0.0, kMoment), q * L * L);
    EXPECT_ZERO(s.Force(1, 1.0, kMoment), q * L * L);
    EXPECT_REL(s.Force(1, 0.0, kShear), q * L / 2);
    EXPECT_REL(s.Force(1, 1.0, kShear), -q * L / 2);
    EXPECT_ZERO(s.Force(1, 0.5, kShear), q * L);
    EXPECT_REL(s.Force(1, 0.5, kMoment), q * L * L / 8);
    EXPECT_REL(s.Force(1, 0.2, kMoment), q * L * L * 0.2 * 0.8 / 2);
    EXPECT_REL(s.DeflectionAt(1, 0.5), 5 * q * L * L * L * L / (384 * EI));
    const double x = 0.2 * L;
    EXPECT_REL(s.DeflectionAt(1, 0.2), q * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -q * L / 2);
    EXPECT_REL(s.Reaction(2, kWz), -q * L / 2);
    EXPECT_REL(s.Value(1, kRy), -q * L * L * L / (24 * EI));
    EXPECT_REL(s.Value(2, kRy), q * L * L * L / (24 * EI));
    const BeamExtremum m = s.solutions.BeamExtrema(1, kMoment);
    EXPECT_REL(m.max, q * L * L / 8);
    EXPECT_DOUBLE_EQ(m.xiMax, 0.5);
    EXPECT_ZERO(m.min, q * L * L);
}

TEST_F(ClosedForm, SimplySupportedBeamUnderTriangularLoad) {
    SimplySupported();
    s.BeamLoad(1, 1, 0.0, q);
    s.Solve();
    EXPECT_REL(s.Reaction(1, kWz), -q * L / 6);
    EXPECT_REL(s.Reaction(2, kWz), -q * L / 3);
    EXPECT_REL(s.Force(1, 0.0, kShear), q * L / 6);
    EXPECT_REL(s.Force(1, 1.0, kShear), -q * L / 3);
    EXPECT_REL(s.Force(1, 0.5, kShear), q * L / 24);
    EXPECT_REL(s.Force(1, 0.5, kMoment), q * L * L / 16);
    EXPECT_REL(s.Force(1, 1.0 / std::sqrt(3.0), kMoment), q * L * L / (9 * std::sqrt(3.0)));
    EXPECT_REL(s.DeflectionAt(1, 0.5), 5 * q * L * L * L * L / (768 * EI));
}

TEST_F(ClosedForm, BeamSplitByPointLoadsCarriesTheTrapezoidalPieces) {
    SimplySupported();
    s.BeamLoad(1, 1, 0.0, q);
    s.PointLoad(1, 0.5, 0.0);
    s.PointLoad(1, 0.25, P);
    s.Solve();
    ASSERT_EQ(s.solutions.elements.Count(), 3);
    // Triangular load plus P at a = L/4 (b = 3L/4).
    const double a = L / 4, b = 3 * L / 4;
    EXPECT_REL(s.Reaction(1, kWz), -q * L / 6 - P * b / L);
    EXPECT_REL(s.Force(1, 0.5, kMoment), q * L * L / 16 + P * a / 2);
    EXPECT_REL(s.DeflectionAt(1, 0.5),
               5 * q * L * L * L * L / (768 * EI) + P * a * (3 * L * L - 4 * a * a) / (48 * EI));
}

TEST_F(ClosedForm, FixedFixedBeamUnderTemperature) {
    FixedFixed();
    const double dT = 30.0, h = 0.5;
    s.Temperature(1, 1, dT);
    s.Solve();
    const double MT = E * Iy * 1.2e-5 * dT / h;
    EXPECT_REL(s.Force(1, 0.0, kMoment), -MT);
    EXPECT_REL(s.Force(1, 1.0, kMoment), -MT);
    EXPECT_ZERO(s.Force(1, 0.3, kShear), MT / L);
    const double scale = MT * L * L / EI;
    EXPECT_ZERO(s.DeflectionAt(1, 0.3), scale);
    EXPECT_ZERO(s.DeflectionAt(1, 0.5), scale);
    EXPECT_ZERO(s.solutions.MaxDeflection(), scale);
    EXPECT_ZERO(s.Reaction(1, kWz), MT / L);
    EXPECT_REL(std::fabs(s.Reaction(1, kRy)), MT);
    EXPECT_REL(s.Reaction(2, kRy), -s.Reaction(1, kRy));
}

TEST_F(ClosedForm, TwoBeamsAtRightAnglesCoupledThroughBendingAndTorsion) {
    // Node 1 clamped at the origin, beam 1 along x to the corner (a, 0),
    // beam 2 along y to the tip (a, b) under P.
    const double a = 4.0, b = 3.0;
    const double EI2 = 2.0 * EI;
    s.Section(E, G, 2.0 * Iy, 3.0 * It);
    s.Node(0, 0, 1, 1, 1);
    s.Node(a, 0);
    s.Node(a, b);
    s.Beam(1, 2, 1);
    s.Beam(2, 3, 2);
    s.NodeLoad(3, 3, P);
    s.Solve();
    EXPECT_REL(s.Value(3, kWz),
               P * b * b * b / (3 * EI2) + P * a * a * a / (3 * EI) + P * b * b * a / GIt);
    EXPECT_REL(s.Value(2, kRx), P * b * a / GIt);
    EXPECT_REL(s.Value(2, kRy), -P * a * a / (2 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -P);
    EXPECT_REL(s.Reaction(1, kRx), -b * P);
    EXPECT_REL(s.Reaction(1, kRy), a * P);
    EXPECT_REL(s.Force(1, 0.0, kTorque), P * b);
    EXPECT_REL(s.Force(1, 1.0, kTorque), P * b);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -P * a);
    EXPECT_ZERO(s.Force(1, 1.0, kMoment), P * a);
    EXPECT_REL(s.Force(2, 0.0, kMoment), -P * b);
    EXPECT_ZERO(s.Force(2, 0.0, kTorque), P * b);
}

TEST_F(ClosedForm, SupportSkewedBy30DegreesCouplesTorsionAndBending) {
    int skewed[3] = {1, 1, 0};
    int pin[3] = {1, 1, 0};
    XBeam(skewed, pin, 30.0);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    // Slope-deflection with φ = dw/dx at the ends and the torsion rotation at
    // node 1 tied to φ1 by the skew axis: φt1 = −tan 30° φ1.
    const double tau = std::tan(M_PI / 6);
    const double k = EI / L, kT = GIt / L;
    const double phi1 = q * L * L / (8 * (3 * k + kT * tau * tau));
    const double phi2 = (-q * L * L / 12 - 2 * k * phi1) / (4 * k);
    EXPECT_REL(s.Value(1, kRy), -phi1);
    EXPECT_REL(s.Value(1, kRx), tau * phi1);
    EXPECT_REL(s.Value(1, kRx), -tau * s.Value(1, kRy));
    EXPECT_REL(s.Value(2, kRy), -phi2);
    // The reaction moment lies along the support axis at 30°.
    const double mx = s.Reaction(1, kRx), my = s.Reaction(1, kRy);
    EXPECT_ZERO(-std::sin(M_PI / 6) * mx + std::cos(M_PI / 6) * my, q * L * L);
    EXPECT_REL(std::cos(M_PI / 6) * mx + std::sin(M_PI / 6) * my,
               kT * tau * phi1 / std::cos(M_PI / 6));
    EXPECT_REL(s.Reaction(1, kWz) + s.Reaction(2, kWz), -q * L);
}

TEST_F(ClosedForm, SupportSkewedBy90DegreesClampsBending) {
    int skewed[3] = {1, 1, 0};
    int pin[3] = {1, 1, 0};
    XBeam(skewed, pin, 90.0);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    // Propped cantilever: clamped in bending at node 1, pinned at node 2.
    EXPECT_REL(s.Reaction(1, kWz), -5 * q * L / 8);
    EXPECT_REL(s.Reaction(2, kWz), -3 * q * L / 8);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -q * L * L / 8);
    EXPECT_REL(s.Reaction(1, kRy), q * L * L / 8);
    EXPECT_ZERO(s.Value(1, kRy), q * L * L * L / EI);
    EXPECT_REL(s.Value(2, kRy), q * L * L * L / (48 * EI));
}

TEST_F(ClosedForm, BendingHingeAtMidSpanMakesTwoCantilevers) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeBending);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    const double a = L / 2;
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), q * a * a * a * a / (8 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kWz), q * a * a * a * a / (8 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kRy), -q * a * a * a / (6 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kRy), q * a * a * a / (6 * EI));
    EXPECT_REL(s.Force(1, 0.0, kMoment), -q * a * a / 2);
    EXPECT_ZERO(s.Force(1, 0.5, kMoment), q * a * a);
    EXPECT_ZERO(s.Force(1, 0.5, kShear), q * a);
    EXPECT_REL(s.Reaction(1, kWz), -q * L / 2);
    EXPECT_REL(s.Reaction(1, kRy), q * a * a / 2);
    EXPECT_REL(s.Reaction(2, kRy), -q * a * a / 2);
}

TEST_F(ClosedForm, ShearHingeAtMidSpanPassesMomentButNoShear) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeShear);
    s.PointLoad(1, 0.5, P);
    s.Solve();
    const double a = L / 2;
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), 5 * P * a * a * a / (24 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kWz), -P * a * a * a / (8 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -P);
    EXPECT_ZERO(s.Reaction(2, kWz), P);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -3 * P * a / 4);
    EXPECT_REL(s.Force(1, 0.5, kMoment), P * a / 4);
    EXPECT_REL(s.Force(1, 0.75, kMoment), P * a / 4);
    EXPECT_REL(s.Force(1, 1.0, kMoment), P * a / 4);
    EXPECT_REL(s.Force(1, 0.25, kShear), P);
    EXPECT_ZERO(s.Force(1, 0.75, kShear), P);
}

TEST_F(ClosedForm, TorsionHingeAtMidSpanSendsTheTorqueToOneSide) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeTorsion);
    const double T = 15.0;
    s.PointLoad(1, 0.5, 0.0, 0.0, T);
    s.Solve();
    const double a = L / 2;
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kRx), T * a / GIt);
    EXPECT_ZERO(s.solutions.NodeValue(hinge.sideB, kRx), T * a / GIt);
    EXPECT_REL(s.Reaction(1, kRx), -T);
    EXPECT_ZERO(s.Reaction(2, kRx), T);
    EXPECT_REL(s.Force(1, 0.25, kTorque), T);
    EXPECT_ZERO(s.Force(1, 0.75, kTorque), T);
}

TEST_F(ClosedForm, BendingAndTorsionHingeTogetherPassOnlyShear) {
    FixedFixed();
    const int bending = s.Hinge(1, 0.5, kHingeBending);
    s.Hinge(1, 0.5, kHingeTorsion);
    const double T = 15.0;
    s.PointLoad(1, 0.5, P, 0.0, T);
    s.Solve();
    const double a = L / 2;
    const HingeRec& hinge = s.HingeAt(bending);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), P * a * a * a / (6 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kWz), P * a * a * a / (6 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -P / 2);
    EXPECT_REL(s.Reaction(2, kWz), -P / 2);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -P * a / 2);
    EXPECT_REL(s.Force(1, 1.0, kMoment), -P * a / 2);
    EXPECT_REL(s.Force(1, 0.25, kShear), P / 2);
    EXPECT_REL(s.Force(1, 0.75, kShear), -P / 2);
    EXPECT_REL(s.Reaction(1, kRx), -T);
    EXPECT_ZERO(s.Reaction(2, kRx), T);
}

TEST_F(ClosedForm, BendingHingesAtBothEndsMakeASimpleBeam) {
    FixedFixed();
    s.Hinge(1, 0.0, kHingeBending);
    s.Hinge(1, 1.0, kHingeBending);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    EXPECT_REL(s.Force(1, 0.5, kMoment), q * L * L / 8);
    EXPECT_REL(s.DeflectionAt(1, 0.5), 5 * q * L * L * L * L / (384 * EI));
    // The beam's share reaches the input nodes through the hinge sums.
    EXPECT_REL(s.Reaction(1, kWz), -q * L / 2);
    EXPECT_REL(s.Reaction(2, kWz), -q * L / 2);
    EXPECT_ZERO(s.Reaction(1, kRy), q * L * L);
    EXPECT_ZERO(s.Reaction(2, kRy), q * L * L);
}

TEST_F(ClosedForm, ShearHingeAtTheEndLeavesAGuidedEnd) {
    FixedFixed();
    const int h = s.Hinge(1, 1.0, kHingeShear);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    EXPECT_REL(s.solutions.NodeValue(s.HingeAt(h).sideA, kWz), q * L * L * L * L / (24 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -q * L);
    EXPECT_ZERO(s.Reaction(2, kWz), q * L);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -q * L * L / 3);
    EXPECT_REL(s.Force(1, 1.0, kMoment), q * L * L / 6);
    EXPECT_REL(s.Reaction(1, kRy), q * L * L / 3);
    EXPECT_REL(s.Reaction(2, kRy), q * L * L / 6);
}

TEST_F(ClosedForm, BendingHingeAtStartAndTorsionHingeAtEnd) {
    FixedFixed();
    s.Hinge(1, 0.0, kHingeBending);
    const int torsion = s.Hinge(1, 1.0, kHingeTorsion);
    const double mt = 4.0;
    s.BeamLoad(1, 1, q, q, mt, mt);
    s.Solve();
    // Bending: pinned at node 1, clamped at node 2 (a propped cantilever).
    EXPECT_REL(s.Reaction(1, kWz), -3 * q * L / 8);
    EXPECT_REL(s.Reaction(2, kWz), -5 * q * L / 8);
    EXPECT_REL(s.Force(1, 1.0, kMoment), -q * L * L / 8);
    // Torsion: clamped at node 1, free at node 2.
    EXPECT_REL(s.Reaction(1, kRx), -mt * L);
    EXPECT_ZERO(s.Reaction(2, kRx), mt * L);
    EXPECT_REL(s.solutions.NodeValue(s.HingeAt(torsion).sideA, kRx), mt * L * L / (2 * GIt));
    EXPECT_REL(s.Force(1, 0.0, kTorque), mt * L);
    EXPECT_ZERO(s.Force(1, 1.0, kTorque), mt * L);
}

TEST_F(ClosedForm, ImposedDeflectionOfOneEnd) {
    int all[3] = {1, 1, 1};
    int rotations[3] = {0, 1, 1};
    XBeam(all, rotations);
    const double d = 0.01;
    s.Zwv(2, 2, d);
    s.Solve();
    EXPECT_REL(s.Value(2, kWz), d);
    EXPECT_REL(s.DeflectionAt(1, 0.5), d / 2);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -6 * EI * d / (L * L));
    EXPECT_REL(s.Force(1, 1.0, kMoment), 6 * EI * d / (L * L));
    EXPECT_REL(s.Force(1, 0.5, kShear), 12 * EI * d / (L * L * L));
    EXPECT_REL(s.Reaction(2, kWz), 12 * EI * d / (L * L * L));
    EXPECT_REL(s.Reaction(1, kWz), -12 * EI * d / (L * L * L));
}

TEST_F(ClosedForm, ImposedRotationsOfOneEnd) {
    int all[3] = {1, 1, 1};
    int noRy[3] = {1, 1, 0};
    XBeam(all, noRy);
    const double theta = 0.002;
    s.Zwv(2, 2, 0.0, 0.0, theta);
    s.Solve();
    EXPECT_REL(s.Value(2, kRy), theta);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -2 * EI * theta / L);
    EXPECT_REL(s.Force(1, 1.0, kMoment), 4 * EI * theta / L);
    EXPECT_REL(s.Reaction(2, kRy), 4 * EI * theta / L);

    Structure t;
    t.Section(E, G, Iy, It);
    t.Node(0, 0, 1, 1, 1);
    t.Node(L, 0, 1, 0, 1);
    t.Beam(1, 2);
    t.Zwv(2, 2, 0.0, theta, 0.0);
    t.Solve();
    EXPECT_REL(t.Value(2, kRx), theta);
    EXPECT_REL(t.Reaction(2, kRx), GIt * theta / L);
    EXPECT_REL(t.Reaction(1, kRx), -GIt * theta / L);
}

TEST_F(ClosedForm, ImposedShearHingeDeformation) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeShear);
    const double d = 0.004;
    s.HingeLoad(h, kHingeLoadDeformation, d);
    s.Solve();
    const double a = L / 2;
    const double F = 3 * EI * d / (2 * a * a * a);
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), d / 2);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kWz), -d / 2);
    EXPECT_REL(s.Reaction(1, kWz), -F);
    EXPECT_REL(s.Reaction(2, kWz), F);
    EXPECT_REL(s.Force(1, 0.0, kMoment), -F * a);
    EXPECT_ZERO(s.Force(1, 0.5, kMoment), F * a);
}

TEST_F(ClosedForm, ImposedBendingHingeDeformation) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeBending);
    const double theta = 0.003;
    s.HingeLoad(h, kHingeLoadDeformation, theta);
    s.Solve();
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kRy), theta / 2);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kRy), -theta / 2);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), -theta * L / 8);
    EXPECT_REL(s.Force(1, 0.0, kMoment), EI * theta / L);
    EXPECT_REL(s.Force(1, 1.0, kMoment), EI * theta / L);
    EXPECT_ZERO(s.Reaction(1, kWz), EI * theta / (L * L));
    EXPECT_REL(s.Reaction(1, kRy), -EI * theta / L);
    EXPECT_REL(s.Reaction(2, kRy), EI * theta / L);
}

TEST_F(ClosedForm, HingeLoadOnAShearHingePushesTheSidesApart) {
    FixedFixed();
    const int h = s.Hinge(1, 0.5, kHingeShear);
    s.HingeLoad(h, kHingeLoadForce, P);
    s.Solve();
    // +P on side A and −P on side B: each half a cantilever with a tip load
    // and the common moment of the shear hinge (zero by antisymmetry).
    const double a = L / 2;
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_REL(s.solutions.NodeValue(hinge.sideA, kWz), P * a * a * a / (3 * EI));
    EXPECT_REL(s.solutions.NodeValue(hinge.sideB, kWz), -P * a * a * a / (3 * EI));
    EXPECT_REL(s.Reaction(1, kWz), -P);
    EXPECT_REL(s.Reaction(2, kWz), P);
}

TEST_F(ClosedForm, PointLoadMomentsAreTurnedIntoGlobalAxes) {
    // A cantilever along y with Mb at its tip: bending about the axis across
    // the beam, which is −x for α = π/2.
    s.Node(0, 0, 1, 1, 1);
    s.Node(0, L);
    s.Beam(1, 2);
    const double Mb = 40.0;
    s.PointLoad(1, 1.0, 0.0, Mb, 0.0);
    s.Solve();
    EXPECT_REL(s.Reaction(1, kRx), Mb);
    EXPECT_REL(s.Force(1, 0.5, kMoment), Mb);
    EXPECT_REL(s.Value(2, kRx), -Mb * L / EI);
}

} // namespace
