// Constraint rows from supports, constrained displacements and hinge
// deformations; their elimination, the expansions and the recovered values.

#include "AnalysisFixture.h"

namespace {

class Constraints : public ::testing::Test {
protected:
    void SetUp() override { s.Section(1.0, 1.0, 1.0, 1.0); }

    int Prepare() {
        s.solutions.BuildModel();
        s.solutions.AddLoadCaseRows();
        return s.solutions.NumberDofs();
    }
    BCClass& Dof(int node, int c) { return s.solutions.dofs.Dof(3 * (node - 1) + c); }

    Structure s;
};

TEST_F(Constraints, ImposedDeflectionOnAZSupportContradicts) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.Zwv(1, 1, 0.02);
    EXPECT_EQ(Prepare(), kEliminationContradiction);
}

TEST_F(Constraints, ZeroImposedDeflectionAddsNoRow) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.Zwv(1, 1, 0.0);
    EXPECT_EQ(Prepare(), kEliminationOk);
    EXPECT_EQ(s.solutions.bcRows.Count(), 1);
}

TEST_F(Constraints, ImposedRxContradictsAnUnskewedRxSupportOnly) {
    s.Node(0, 0, 0, 1, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.Zwv(1, 1, 0.0, 0.01, 0.0);
    EXPECT_EQ(Prepare(), kEliminationContradiction);

    s.input.nodes.RowRecord(0)->skew = 90.0;
    s.solutions.Clear();
    ASSERT_EQ(Prepare(), kEliminationOk);
    // The support holds Ry; its Rx coefficient cos(π/2) is below ε.
    EXPECT_EQ(Dof(1, kRx).dependent, 1);
    EXPECT_EQ(Dof(1, kRx).Count(), 0);
    EXPECT_DOUBLE_EQ(Dof(1, kRx).constant, -0.01);
    EXPECT_EQ(Dof(1, kRy).dependent, 1);
    EXPECT_EQ(Dof(1, kRy).Count(), 0);
}

TEST_F(Constraints, SkewSupportMakesRxDependOnRy) {
    s.Node(0, 0, 0, 1, 0, 30.0);
    s.Node(10, 0);
    s.Beam(1, 2);
    ASSERT_EQ(Prepare(), kEliminationOk);
    const BCClass& rx = Dof(1, kRx);
    EXPECT_EQ(rx.dependent, 1);
    ASSERT_EQ(rx.Count(), 1);
    EXPECT_EQ(rx.Dependency(0).dof, 2);
    EXPECT_NEAR(rx.Dependency(0).coefficient, std::tan(M_PI / 6), 1e-15);
    EXPECT_EQ(rx.constant, 0.0);
    EXPECT_EQ(Dof(1, kRy).dependent, 0);
}

TEST_F(Constraints, RepeatedRowIsRemovedAsRedundant) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.solutions.BuildModel();
    s.solutions.AddTerm(s.solutions.AddRow(), 0, kWz, 1.0);
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.freeCount, 5);
    EXPECT_EQ(Dof(1, kWz).dependent, 1);
}

TEST_F(Constraints, ScaledRepeatedRowIsRedundantAndConflictingOneContradicts) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.solutions.BuildModel();
    OneBCContainer* a = s.solutions.AddRow();
    s.solutions.AddTerm(a, 0, kWz, 1.0);
    s.solutions.AddTerm(a, 1, kWz, -1.0);
    a->rowConstant = -0.5;
    OneBCContainer* b = s.solutions.AddRow();
    s.solutions.AddTerm(b, 1, kWz, 2.0);
    s.solutions.AddTerm(b, 0, kWz, -2.0);
    b->rowConstant = 1.0;
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.freeCount, 5);
    b->rowConstant = 1.5;
    EXPECT_EQ(s.solutions.NumberDofs(), kEliminationContradiction);
}

TEST_F(Constraints, ShearHingeDeformationPrescribesTheDifference) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    const int h = s.Hinge(1, 0.5, kHingeShear);
    s.HingeLoad(h, kHingeLoadDeformation, 0.01);
    ASSERT_EQ(Prepare(), kEliminationOk);
    const HingeRec& hinge = s.HingeAt(h);
    const BCClass& a = s.solutions.dofs.Dof(3 * hinge.sideA);
    ASSERT_EQ(a.dependent, 1);
    ASSERT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Dependency(0).dof, 3 * hinge.sideB);
    EXPECT_DOUBLE_EQ(a.Dependency(0).coefficient, -1.0);
    // u_A − u_B − 0.01 = 0: u_A = u_B + 0.01.
    s.solutions.dofs.Dof(3 * hinge.sideB).solvedValue = 0.25;
    EXPECT_DOUBLE_EQ(s.solutions.DofValue(3 * hinge.sideA), 0.26);
}

TEST_F(Constraints, BendingHingeDeformationOnAnXBeamActsOnRy) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    const int h = s.Hinge(1, 0.5, kHingeBending);
    s.HingeLoad(h, kHingeLoadDeformation, 0.02);
    s.solutions.BuildModel();
    const int before = s.solutions.bcRows.Count();
    s.solutions.AddLoadCaseRows();
    ASSERT_EQ(s.solutions.bcRows.Count(), before + 1);
    const OneBCContainer& row = s.solutions.bcRows.Row(before);
    EXPECT_NEAR(row.Term(0).coefficient, 0.0, 1e-15); // Rx of side A
    EXPECT_DOUBLE_EQ(row.Term(1).coefficient, 1.0);   // Ry of side A
    EXPECT_DOUBLE_EQ(row.Term(3).coefficient, -1.0);  // Ry of side B
    EXPECT_DOUBLE_EQ(row.rowConstant, -0.02);
}

TEST_F(Constraints, WithoutRowsEveryDofIsFree) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    ASSERT_EQ(Prepare(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.freeCount, 6);
}

TEST_F(Constraints, ExpansionsOfFreeFixedAndPrescribedDofs) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.Zwv(2, 2, 0.03);
    ASSERT_EQ(Prepare(), kEliminationOk);
    FGFieldCont e;
    s.solutions.Expand(1, e);
    ASSERT_EQ(e.Size(), 1);
    EXPECT_EQ(e.Term(0).equation, 0);
    EXPECT_EQ(e.Term(0).coefficient, 1.0);
    EXPECT_EQ(e.expansionConstant, 0.0);
    s.solutions.Expand(0, e);
    EXPECT_EQ(e.Size(), 0);
    EXPECT_EQ(e.expansionConstant, 0.0);
    s.solutions.Expand(3, e);
    EXPECT_EQ(e.Size(), 0);
    EXPECT_DOUBLE_EQ(e.expansionConstant, -0.03);
    EXPECT_DOUBLE_EQ(s.solutions.DofValue(3), 0.03);
}

TEST_F(Constraints, RowsInAnyOrderPivotOnTheSmallestLeadingIndex) {
    for (int k = 0; k < 3; ++k)
        s.Node(10.0 * k, 0);
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.solutions.BuildModel();
    // u(2) = 4, u(1) − u(2) = 1, u(0) − u(1) = 1, given last first.
    OneBCContainer* r1 = s.solutions.AddRow();
    s.solutions.AddTerm(r1, 2, kWz, 1.0);
    r1->rowConstant = -4.0;
    OneBCContainer* r2 = s.solutions.AddRow();
    s.solutions.AddTerm(r2, 1, kWz, 1.0);
    s.solutions.AddTerm(r2, 2, kWz, -1.0);
    r2->rowConstant = -1.0;
    OneBCContainer* r3 = s.solutions.AddRow();
    s.solutions.AddTerm(r3, 0, kWz, 1.0);
    s.solutions.AddTerm(r3, 1, kWz, -1.0);
    r3->rowConstant = -1.0;
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.freeCount, 6);
    EXPECT_DOUBLE_EQ(s.solutions.DofValue(0), 6.0);
    EXPECT_DOUBLE_EQ(s.solutions.DofValue(3), 5.0);
    EXPECT_DOUBLE_EQ(s.solutions.DofValue(6), 4.0);
}

TEST_F(Constraints, CoefficientOfExactlyEpsilonIsEliminated) {
    // a: u0 + u1 = 0; b: 1e-15 u0 + u2 = 0. Row b leads with u0 as well, so
    // it must be reduced, or both rows would define u0.
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.solutions.BuildModel();
    OneBCContainer* a = s.solutions.AddRow();
    s.solutions.AddTerm(a, 0, kWz, 1.0);
    s.solutions.AddTerm(a, 0, kRx, 1.0);
    OneBCContainer* b = s.solutions.AddRow();
    s.solutions.AddTerm(b, 0, kWz, kConstraintEpsilon);
    s.solutions.AddTerm(b, 0, kRy, 1.0);
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(Dof(1, kWz).dependent, 1);
    EXPECT_EQ(Dof(1, kRx).dependent, 1);
    s.solutions.dofs.Dof(2).solvedValue = 1.0;
    const double u0 = s.solutions.DofValue(0), u1 = s.solutions.DofValue(1);
    EXPECT_NEAR(u0 + u1, 0.0, 1e-3);
    EXPECT_NEAR(kConstraintEpsilon * u0 + 1.0, 0.0, 1e-12);
}

TEST_F(Constraints, RowWithoutTermsIsRedundantOrContradicts) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.solutions.BuildModel();
    OneBCContainer* row = s.solutions.AddRow();
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.freeCount, 6);
    row->rowConstant = 1.0;
    EXPECT_EQ(s.solutions.NumberDofs(), kEliminationContradiction);
}

// u(k) = u(k+1) + u(k+2) for k < 60: the expansion of u(0) holds Fibonacci
// coefficients; expanding term by term would take 2^60 steps.
TEST_F(Constraints, ChainedDependenciesExpandOnce) {
    for (int k = 0; k < 62; ++k)
        s.Node(k, 0);
    s.solutions.BuildModel();
    for (int k = 0; k < 62; ++k)
        s.solutions.nodes.Add(k, 0, -1);
    for (int k = 0; k < 60; ++k) {
        OneBCContainer* row = s.solutions.AddRow();
        s.solutions.AddTerm(row, k, kWz, 1.0);
        s.solutions.AddTerm(row, k + 1, kWz, -1.0);
        s.solutions.AddTerm(row, k + 2, kWz, -1.0);
    }
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    FGFieldCont e;
    s.solutions.Expand(0, e);
    ASSERT_EQ(e.Size(), 2);
    const int eq60 = s.solutions.dofs.Dof(3 * 60).equation;
    const int eq61 = s.solutions.dofs.Dof(3 * 61).equation;
    for (int t = 0; t < 2; ++t) {
        if (e.Term(t).equation == eq60)
            EXPECT_EQ(e.Term(t).coefficient, 2504730781961.0); // F(61)
        else if (e.Term(t).equation == eq61)
            EXPECT_EQ(e.Term(t).coefficient, 1548008755920.0); // F(60)
        else
            ADD_FAILURE() << "unexpected equation " << e.Term(t).equation;
    }
}

} // namespace
