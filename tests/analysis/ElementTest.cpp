// The grillage beam element against closed-form beam results.

#include "ElementTestSupport.h"
#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"
#include "model/BalkorError.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Steel-like section: EI = 16800, GIt = 800.
constexpr double kE = 210e6, kG = 80e6, kIy = 8e-5, kIt = 1e-5;
constexpr double kEI = kE * kIy, kGIt = kG * kIt;

class ElementTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddSection(input, kE, kG, kIy, kIt, 1.2e-5);
        AddBeam(input, 1, 0.5);
    }

    Matrix GlobalStiffness(const ElementEnds& ends) {
        Matrix K;
        Stiffness(ElementOf(1), ends, input, K);
        return K;
    }

    Vektor Loads(const SolElement& element, const ElementEnds& ends) {
        Vektor F(6);
        LoadVector(element, ends, input, F);
        return F;
    }

    InputModel input;
};

void ExpectVector(const Matrix& actual, std::initializer_list<double> expected, double tolerance) {
    int r = 0;
    for (double value : expected) {
        EXPECT_NEAR(actual[r], value, tolerance) << "component " << r;
        ++r;
    }
}

TEST(ElementGeometry, DirectionAngleFollowsTheBeamAngleRule) {
    EXPECT_EQ(DirectionAngle(3, 0), 0.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 2), kPi / 2);
    EXPECT_DOUBLE_EQ(DirectionAngle(3, 4), std::asin(0.8));
    EXPECT_DOUBLE_EQ(DirectionAngle(-3, 4), kPi - std::asin(0.8));
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, 0), kPi);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, -2), -kPi / 2);
    EXPECT_EQ(DirectionAngle(1e-9, 1e-9), 0.0);
}

TEST(ElementGeometry, FrameHoldsLengthAndTheTurnedAxis) {
    ElementFrame alongX = FrameOf(EndsAt(1, 1, 5, 1));
    EXPECT_EQ(alongX.length, 4.0);
    EXPECT_NEAR(alongX.c, 0.0, 1e-16);
    EXPECT_EQ(alongX.s, 1.0);

    ElementFrame alongY = FrameOf(EndsAt(0, 0, 0, 2));
    EXPECT_EQ(alongY.c, -1.0);
    EXPECT_NEAR(alongY.s, 0.0, 1e-15);

    ElementFrame skew = FrameOf(EndsAt(0, 0, 3, 4));
    EXPECT_EQ(skew.length, 5.0);
    EXPECT_NEAR(skew.c, -0.8, 1e-15); // cos(alpha + pi/2) = -sin(alpha)
    EXPECT_NEAR(skew.s, 0.6, 1e-15);  // sin(alpha + pi/2) = cos(alpha)
}

TEST(ElementGeometry, DofIndexCountsFromTheFirstDofOfEachEnd) {
    SolElement element;
    ElementEnds ends = EndsAt(0, 0, 1, 0, 6, 21);
    int expected[6] = {6, 7, 8, 21, 22, 23};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(element.DofIndex(i, ends), expected[i]);
}

TEST_F(ElementTest, CrossSectionIsThatOfTheElementsBeam) {
    AddSection(input, 1, 2, 3, 4);
    AddBeam(input, 2);
    const MatRec& section = CrossSection(ElementOf(2), input);
    EXPECT_EQ(section.E, 1.0);
    EXPECT_EQ(section.It, 4.0);
    EXPECT_THROW(CrossSection(ElementOf(0), input), BalkorError);
}

TEST_F(ElementTest, LocalStiffnessIsTheBernoulliBeamWithTorsion) {
    const double L = 2.0;
    Matrix K;
    LocalStiffness(L, kEI, kGIt, K);
    const double a = 12 * kEI / (L * L * L), b = 6 * kEI / (L * L), c = 4 * kEI / L,
                 d = 2 * kEI / L, t = kGIt / L;
    const double expected[6][6] = {{a, b, 0, -a, b, 0},   {b, c, 0, -b, d, 0}, {0, 0, t, 0, 0, -t},
                                   {-a, -b, 0, a, -b, 0}, {b, d, 0, -b, c, 0}, {0, 0, -t, 0, 0, t}};
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(K(i, j), expected[i][j], 1e-9 * a) << i << "," << j;
}

// A cantilever clamped at the start with a tip load P deflects by
// w(x) = P x^2 (3L - x) / (6 EI); its tip has w = PL^3/3EI and slope PL^2/2EI.
// The element stiffness times this field gives P at the tip, no tip moment,
// and the clamp's reactions -P and the moment PL.
TEST_F(ElementTest, CantileverFieldAlongXGivesTheTipLoad) {
    const double L = 4.0, P = 10.0;
    Matrix K = GlobalStiffness(EndsAt(0, 0, L, 0));
    Vektor u(6);
    u[3] = P * L * L * L / (3 * kEI);
    u[5] = -P * L * L / (2 * kEI); // Ry = -slope for an element along x
    TempMatrix& F = K.Multiply(u);
    ExpectVector(F, {-P, 0, P * L, P, 0, 0}, 1e-9 * P * L);
}

TEST_F(ElementTest, CantileverFieldAlongYGivesTheTipLoad) {
    const double L = 3.0, P = 7.0;
    Matrix K = GlobalStiffness(EndsAt(2, 1, 2, 1 + L));
    Vektor u(6);
    u[3] = P * L * L * L / (3 * kEI);
    u[4] = P * L * L / (2 * kEI); // Rx = slope for an element along y
    TempMatrix& F = K.Multiply(u);
    ExpectVector(F, {-P, -P * L, 0, P, 0, 0}, 1e-9 * P * L);
}

TEST_F(ElementTest, TwistedCantileverGivesTheTipTorque) {
    // A torque T about +x at the tip of a bar along x turns it by TL/GIt.
    const double L = 4.0, T = 5.0;
    Matrix K = GlobalStiffness(EndsAt(0, 0, L, 0));
    Vektor u(6);
    u[4] = T * L / kGIt;
    TempMatrix& F = K.Multiply(u);
    ExpectVector(F, {0, -T, 0, 0, T, 0}, 1e-9 * T);
}

TEST_F(ElementTest, GlobalAxesOfElementsAlongXAndY) {
    const double L = 2.5;
    // Along x: bending about y, torsion about x.
    Matrix X = GlobalStiffness(EndsAt(0, 0, L, 0));
    EXPECT_NEAR(X(2, 2), 4 * kEI / L, 1e-9 * kEI);
    EXPECT_NEAR(X(1, 1), kGIt / L, 1e-9 * kEI);
    EXPECT_NEAR(X(0, 2), -6 * kEI / (L * L), 1e-9 * kEI);
    EXPECT_NEAR(X(2, 5), 2 * kEI / L, 1e-9 * kEI);
    EXPECT_NEAR(X(1, 4), -kGIt / L, 1e-9 * kEI);
    // Along y: bending about x, torsion about y.
    Matrix Y = GlobalStiffness(EndsAt(0, 0, 0, L));
    EXPECT_NEAR(Y(1, 1), 4 * kEI / L, 1e-9 * kEI);
    EXPECT_NEAR(Y(2, 2), kGIt / L, 1e-9 * kEI);
    EXPECT_NEAR(Y(0, 1), 6 * kEI / (L * L), 1e-9 * kEI);
    EXPECT_NEAR(Y(1, 4), 2 * kEI / L, 1e-9 * kEI);
    EXPECT_NEAR(Y(2, 5), -kGIt / L, 1e-9 * kEI);
}

// Translation in z and the rotations about x and y through the origin:
// w = t + wx * y - wy * x, Rx = wx, Ry = wy.
Vektor RigidMotion(const ElementEnds& ends, double t, double wx, double wy) {
    Vektor r(6);
    const ElementNode* nodes[2] = {&ends.start, &ends.end};
    for (int e = 0; e < 2; ++e) {
        r[3 * e] = t + wx * nodes[e]->y - wy * nodes[e]->x;
        r[3 * e + 1] = wx;
        r[3 * e + 2] = wy;
    }
    return r;
}

TEST_F(ElementTest, StiffnessIsSymmetricSemiDefiniteWithTheRigidMotionsAsNullSpace) {
    const ElementEnds cases[] = {EndsAt(1, 2, 4, 6), EndsAt(1, 2, -2, 5), EndsAt(0, 0, -3, -1),
                                 EndsAt(5, 5, 6, 1)};
    for (const ElementEnds& ends : cases) {
        Matrix K = GlobalStiffness(ends);
        double scale = 12 * kEI;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
                EXPECT_NEAR(K(i, j), K(j, i), 1e-12 * scale);

        // Null space: the three rigid motions give no forces.
        const double motions[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (const auto& m : motions) {
            Vektor r = RigidMotion(ends, m[0], m[1], m[2]);
            TempMatrix& F = K.Multiply(r);
            for (int i = 0; i < 6; ++i)
                EXPECT_NEAR(F[i], 0.0, 1e-9 * scale);
        }

        // No more: with the start held, the end block is positive definite.
        // Every motion is a rigid one plus one with the start held, so K is
        // positive semi-definite with exactly those three in its null space.
        KMatrix endBlock;
        endBlock.Create(3);
        for (int c = 0; c < 3; ++c)
            endBlock.RaiseHeight(c, c + 1);
        endBlock.FinishProfile();
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r <= c; ++r)
                endBlock.Entry(r, c) = K(3 + r, 3 + c);
        EXPECT_EQ(endBlock.DecomposeLDL(), kSolveSolved);
    }
}

TEST_F(ElementTest, UniformLoadGivesHalfTheLoadAndFixedEndMoments) {
    const double L = 4.0, q = 3.0;
    AddBeamLoad(input, 1, 1, q, q);
    // Along y the bending moments act about x.
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, 0, L)),
                 {q * L / 2, q * L * L / 12, 0, q * L / 2, -q * L * L / 12, 0}, 1e-12);
    // Along x they act about y, with the opposite sign.
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, L, 0)),
                 {q * L / 2, 0, -q * L * L / 12, q * L / 2, 0, q * L * L / 12}, 1e-12);
}

TEST_F(ElementTest, TriangularLoadGivesItsClosedFormShares) {
    const double L = 5.0, q = 2.0;
    AddBeamLoad(input, 1, 1, 0.0, q);
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, 0, L)),
                 {3 * q * L / 20, q * L * L / 30, 0, 7 * q * L / 20, -q * L * L / 20, 0}, 1e-12);
}

TEST_F(ElementTest, TorsionLoadIsSharedByTheEnds) {
    // About +x for a bar along x: uniform m gives mL/2 at each end; rising
    // from 0 to m it gives mL/6 and mL/3.
    const double L = 3.0, m = 4.0;
    AddBeamLoad(input, 1, 1, 0, 0, m, m);
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, L, 0)), {0, m * L / 2, 0, 0, m * L / 2, 0},
                 1e-12);

    InputModel rising;
    AddSection(rising, kE, kG, kIy, kIt);
    AddBeam(rising, 1);
    AddBeamLoad(rising, 1, 1, 0, 0, 0, m);
    Vektor F(6);
    LoadVector(ElementOf(1), EndsAt(0, 0, L, 0), rising, F);
    ExpectVector(F, {0, m * L / 6, 0, 0, m * L / 3, 0}, 1e-12);
}

TEST_F(ElementTest, SplitElementsCarryTheirPartOfTheLoad) {
    // Rising from 0 to q along the beam: the halves carry 0 ... q/2 and q/2 ... q.
    const double q = 8.0, L = 6.0;
    AddBeamLoad(input, 1, 1, 0.0, q);
    SolElement first = ElementOf(1, 0.0, 0.5), second = ElementOf(1, 0.5, 1.0);
    BeamLoadSums a = SumBeamLoads(first, input), b = SumBeamLoads(second, input);
    EXPECT_TRUE(a.any);
    EXPECT_EQ(a.qa, 0.0);
    EXPECT_EQ(a.qb, q / 2);
    EXPECT_EQ(b.qa, q / 2);
    EXPECT_EQ(b.qb, q);

    // The second half, a trapezoid q/2 ... q over Le = L/2, is a uniform q/2
    // plus a triangle 0 ... q/2: shares 13 q Le / 40 and 17 q Le / 40.
    const double Le = L / 2;
    Vektor F2 = Loads(second, EndsAt(L / 2, 0, L, 0));
    EXPECT_NEAR(F2[0], 13 * q * Le / 40, 1e-12);
    EXPECT_NEAR(F2[3], 17 * q * Le / 40, 1e-12);
    // Both halves together carry the whole load qL/2.
    Vektor F1 = Loads(first, EndsAt(0, 0, L / 2, 0));
    EXPECT_NEAR(F1[0] + F1[3] + F2[0] + F2[3], q * L / 2, 1e-12);
}

TEST_F(ElementTest, LoadRecordsAddUpAndOnlyValidOnesInRangeCount) {
    AddBeam(input, 1);
    AddBeamLoad(input, 1, 2, 1.0, 1.0);
    AddBeamLoad(input, 2, 2, 2.0, 4.0, 1.0, 3.0);
    AddBeamLoad(input, 5, 3, 100.0, 100.0); // from > to: no beam
    BeamLoadRec& cleared = AddBeamLoad(input, 1, 2, 1000.0, 1000.0);
    cleared.flag = 0;
    input.beamLoads.InvalidateIndex();

    BeamLoadSums one = SumBeamLoads(ElementOf(1), input);
    EXPECT_EQ(one.qa, 1.0);
    EXPECT_EQ(one.qb, 1.0);
    EXPECT_EQ(one.ma, 0.0);
    BeamLoadSums two = SumBeamLoads(ElementOf(2, 0.5, 1.0), input);
    EXPECT_EQ(two.qa, 1.0 + 3.0);
    EXPECT_EQ(two.qb, 1.0 + 4.0);
    EXPECT_EQ(two.ma, 2.0);
    EXPECT_EQ(two.mb, 3.0);
    EXPECT_FALSE(SumBeamLoads(ElementOf(4), input).any);
}

TEST_F(ElementTest, ARangeFromFiveToThreeLoadsNothing) {
    AddBeam(input, 1);
    AddBeam(input, 1);
    AddBeam(input, 1);
    AddBeamLoad(input, 5, 3, 1.0, 1.0);
    AddTempLoad(input, 5, 3, 10.0);
    for (int beam = 1; beam <= 4; ++beam) {
        EXPECT_FALSE(SumBeamLoads(ElementOf(beam), input).any);
        ExpectVector(Loads(ElementOf(beam), EndsAt(0, 0, 1, 1)), {0, 0, 0, 0, 0, 0}, 0.0);
    }
}

TEST_F(ElementTest, TemperatureGivesOpposedEndMomentsWithoutShear) {
    // The fixed-end moment of a temperature difference dT over the depth h:
    // E Iy alphaT dT / h, opposite at the two ends, no end shear.
    const double dT = 20.0, h = 0.5, alphaT = 1.2e-5;
    AddTempLoad(input, 1, 1, dT);
    const double MT = dT * kE * kIy * alphaT / h;
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, 3, 0)), {0, 0, -MT, 0, 0, MT}, 1e-9 * MT);
    ExpectVector(Loads(ElementOf(1), EndsAt(0, 0, 0, 3)), {0, MT, 0, 0, -MT, 0}, 1e-9 * MT);
}

TEST_F(ElementTest, ZeroTemperatureDifferenceOnABeamWithoutThicknessAddsNothing) {
    AddBeam(input, 1, 0.0);
    AddTempLoad(input, 2, 2, 0.0);
    Vektor F = Loads(ElementOf(2), EndsAt(0, 0, 3, 0));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(F[i], 0.0);
}

TEST_F(ElementTest, LoadVectorAddsToWhatTheVectorHolds) {
    AddBeamLoad(input, 1, 1, 2.0, 2.0);
    Vektor F(6);
    F[0] = 1.0;
    LoadVector(ElementOf(1), EndsAt(0, 0, 1, 0), input, F);
    EXPECT_NEAR(F[0], 1.0 + 1.0, 1e-14);
    Vektor tooShort(3);
    EXPECT_THROW(LoadVector(ElementOf(1), EndsAt(0, 0, 1, 0), input, tooShort), BalkorError);
}

TEST(ElementTransform, VectorTransformIsItsOwnInverse) {
    Vektor v(6);
    for (int i = 0; i < 6; ++i)
        v[i] = i + 1.0;
    ElementFrame frame = FrameOf(EndsAt(0, 0, 3, 4));
    TransformVector(v, frame.c, frame.s);
    // Local (w, phiB, phiT) = (1, 2, 3) turned by alpha: Rx = -c phiB - s phiT.
    EXPECT_NEAR(v[1], 0.8 * 2 - 0.6 * 3, 1e-14);
    EXPECT_NEAR(v[2], -0.6 * 2 - 0.8 * 3, 1e-14);
    TransformVector(v, frame.c, frame.s);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(v[i], i + 1.0, 1e-14);
}

TEST(PlotValues, BeamLoadStructInterpolatesItsRecord) {
    BeamLoadRec record{};
    record.qStart = 4;
    record.qEnd = 8;
    record.mtStart = 1;
    record.mtEnd = -3;
    BeamLoadStruct load(record);
    const PlotValueClass& values = load;
    EXPECT_EQ(values.Value(0.25, 0), 5.0);
    EXPECT_EQ(values.Value(0.25, 1), 0.0);
    EXPECT_EQ(values.Value(1.0, 2), -3.0);
    EXPECT_EQ(PlotValueClass().Value(0.5, 0), 0.0);
}

} // namespace
