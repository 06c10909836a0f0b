// The global stiffness matrix and load vector: what each load contributes to
// which equation, and what is recorded as node force.

#include "AnalysisFixture.h"
#include "analysis/KMatrix.h"

namespace {

class Assembly : public ::testing::Test {
protected:
    void SetUp() override { s.Section(2.0e8, 8.0e7, 3.0e-4, 2.0e-4); }

    // Builds the model and the empty system; F is zeroed, nodeForce 0.
    void Prepare() {
        s.solutions.BuildModel();
        s.solutions.AddLoadCaseRows();
        ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
        n = s.solutions.dofs.freeCount;
        F.Allocate(n, 1);
    }
    void Stiffness() {
        K.Create(n);
        s.solutions.ProfileHeights(K);
        K.FinishProfile();
        s.solutions.AssembleStiffness(K, F);
    }
    int Equation(int dof) { return s.solutions.dofs.Dof(dof).equation; }
    double NodeForce(int dof) { return s.solutions.dofs.Dof(dof).nodeForce; }

    Structure s;
    int n = 0;
    Matrix F;
    KMatrix K;
};

TEST_F(Assembly, LoadOnAFixedDofIsOnlyRecorded) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(5, 0);
    s.Beam(1, 2);
    s.NodeLoad(1, 1, 7.0, 2.0, 3.0);
    Prepare();
    s.solutions.AssembleLoads(F);
    EXPECT_EQ(NodeForce(0), -7.0);
    EXPECT_EQ(NodeForce(1), -2.0);
    EXPECT_EQ(F[Equation(1)], 2.0);
    EXPECT_EQ(F[Equation(2)], 3.0);
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += std::fabs(F[i]);
    EXPECT_EQ(sum, 5.0); // Fz reached no equation
}

TEST_F(Assembly, NodeLoadOnAFreeNodeEntersOneEquation) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Node(5, 0);
    s.Beam(1, 3);
    s.Beam(3, 2);
    s.NodeLoad(3, 3, 4.0);
    Prepare();
    s.solutions.AssembleLoads(F);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(F[i], i == Equation(6) ? 4.0 : 0.0);
    EXPECT_EQ(NodeForce(6), -4.0);
}

TEST_F(Assembly, PrescribedDeflectionMovesToTheRightHandSide) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(5, 0);
    s.Beam(1, 2);
    s.Zwv(2, 2, 0.01);
    Prepare();
    Stiffness();
    Matrix Ke(6, 6);
    const SolElement& element = s.solutions.elements[0];
    ::Stiffness(element, s.solutions.Ends(element), s.input, Ke);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Equation(3), -1);
    for (int i : {4, 5})
        EXPECT_DOUBLE_EQ(F[Equation(i)], -Ke(i, 3) * 0.01);
    // The free part of K is the element's block of the two rotations.
    EXPECT_DOUBLE_EQ(K.Entry(0, 0), Ke(4, 4));
    EXPECT_DOUBLE_EQ(K.Entry(0, 1), Ke(4, 5));
    EXPECT_DOUBLE_EQ(K.Entry(1, 1), Ke(5, 5));
}

TEST_F(Assembly, CoupledDofsAddTheirStiffnessTogether) {
    // Two collinear beams meeting in a bending hinge: the coupled wz of the
    // two sides is one equation that receives both elements' stiffness.
    s.Node(0, 0, 1, 1, 1);
    s.Node(10, 0, 1, 1, 1);
    s.Beam(1, 2);
    const int h = s.Hinge(1, 0.5, kHingeBending);
    Prepare();
    Stiffness();
    const HingeRec& hinge = s.HingeAt(h);
    const int a = 3 * hinge.sideA, b = 3 * hinge.sideB;
    EXPECT_EQ(s.solutions.dofs.Dof(a).dependent, 1);
    const int e = Equation(b);
    const double EI = 2.0e8 * 3.0e-4, l = 5.0;
    EXPECT_DOUBLE_EQ(K.Entry(e, e), 2 * 12 * EI / (l * l * l));
}

TEST_F(Assembly, PointLoadMomentsOnABeamAlongY) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(0, 5);
    s.Beam(1, 2);
    s.PointLoad(1, 1.0, 0.0, 1.0, 0.0);
    Prepare();
    s.solutions.AssembleLoads(F);
    EXPECT_DOUBLE_EQ(NodeForce(4), 1.0); // Rx = −Mb
    EXPECT_NEAR(NodeForce(5), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(F[Equation(4)], -1.0);
}

TEST_F(Assembly, HingeLoadOnAShearHingeActsOnBothSides) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(10, 0, 1, 1, 1);
    s.Beam(1, 2);
    const int h = s.Hinge(1, 0.5, kHingeShear);
    s.HingeLoad(h, kHingeLoadForce, 5.0);
    Prepare();
    s.solutions.AssembleLoads(F);
    const HingeRec& hinge = s.HingeAt(h);
    EXPECT_EQ(F[Equation(3 * hinge.sideA)], 5.0);
    EXPECT_EQ(F[Equation(3 * hinge.sideB)], -5.0);
    EXPECT_EQ(NodeForce(3 * hinge.sideA), 0.0); // hinge loads are not recorded
}

TEST_F(Assembly, UniformLoadGivesHalfTheLoadAtEachEnd) {
    s.Node(0, 0);
    s.Node(4, 0);
    s.Beam(1, 2);
    s.BeamLoad(1, 1, 3.0, 3.0);
    Prepare();
    s.solutions.AssembleLoads(F);
    EXPECT_DOUBLE_EQ(F[Equation(0)], 6.0);
    EXPECT_DOUBLE_EQ(F[Equation(3)], 6.0);
    // Fixed-end moments ±qL²/12 about the axis across the beam (−y).
    EXPECT_DOUBLE_EQ(F[Equation(2)], -3.0 * 16 / 12);
    EXPECT_DOUBLE_EQ(F[Equation(5)], 3.0 * 16 / 12);
    EXPECT_EQ(NodeForce(0), 0.0);
}

TEST_F(Assembly, ProfileFollowsTheExpansions) {
    // Node 1 clamped: the element couples only node 2's three equations.
    s.Node(0, 0, 1, 1, 1);
    s.Node(5, 0);
    s.Beam(1, 2);
    Prepare();
    K.Create(n);
    s.solutions.ProfileHeights(K);
    EXPECT_EQ(K.diag[1], 1);
    EXPECT_EQ(K.diag[2], 2);
    EXPECT_EQ(K.diag[3], 3);
}

} // namespace
