// Analysis nodes, beam division at hinges and point loads, hinge couplings
// and the degree-of-freedom table.

#include "AnalysisFixture.h"

namespace {

class Division : public ::testing::Test {
protected:
    void SetUp() override { s.Section(1.0, 1.0, 1.0, 1.0); }

    // A beam from (0, 0) to (10, 0) between nodes 1 and 2.
    int XBeam() {
        s.Node(0, 0);
        s.Node(10, 0);
        return s.Beam(1, 2);
    }
    void Build() { s.solutions.BuildModel(); }
    const SolElement& Element(int i) { return s.solutions.elements[i]; }
    const AnalysisNode& NodeAt(int i) { return s.solutions.nodes[i]; }
    int Rows() { return s.solutions.bcRows.Count(); }
    const OneBCContainer& Row(int i) { return s.solutions.bcRows.Row(i); }

    Structure s;
};

TEST_F(Division, UnconnectedNodeIsLeftOutEvenWithSupports) {
    s.Node(0, 0);
    s.Node(5, 5, 1, 1, 1);
    s.Node(10, 0);
    s.Beam(1, 3);
    Build();
    EXPECT_EQ(s.CalcNode(1), 0);
    EXPECT_EQ(s.CalcNode(2), -1);
    EXPECT_EQ(s.CalcNode(3), 1);
    EXPECT_EQ(s.solutions.nodes.Count(), 2);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.Count(), 6);
}

TEST_F(Division, PlainBeamIsOneElementAndInputNodesComeFirst) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Node(10, 10);
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.PointLoad(1, 0.5, 1.0);
    Build();
    ASSERT_EQ(s.solutions.nodes.Count(), 4);
    EXPECT_EQ(NodeAt(0).inputRow, 0);
    EXPECT_EQ(NodeAt(2).inputRow, 2);
    EXPECT_EQ(NodeAt(3).inputRow, -1); // inside beam 1
    EXPECT_DOUBLE_EQ(NodeAt(3).x, 5.0);
    ASSERT_EQ(s.solutions.elements.Count(), 3);
    EXPECT_EQ(Element(2).startNode, 1);
    EXPECT_EQ(Element(2).endNode, 2);
    EXPECT_EQ(Element(2).beamNumber, 2);
    EXPECT_EQ(s.input.beams.RowRecord(1)->firstElement, 2);
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(NodeAt(k).firstDof, 3 * k);
    EXPECT_EQ(s.solutions.dofs.freeCount, 12);
    EXPECT_EQ(s.solutions.dofs.Dof(7).equation, 7);
}

TEST_F(Division, EquationsSkipDependentDofs) {
    s.Node(0, 0, 1, 0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    Build();
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_EQ(s.solutions.dofs.Dof(0).equation, -1);
    EXPECT_EQ(s.solutions.dofs.Dof(1).equation, 0);
    EXPECT_EQ(s.solutions.dofs.Dof(5).equation, 4);
    EXPECT_EQ(s.solutions.dofs.freeCount, 5);
}

TEST_F(Division, PointLoadsNearTheEndsActThereAndNearOnesShareAPoint) {
    XBeam();
    const int nearStart = s.PointLoad(1, 0.0004, 1.0);
    const int a = s.PointLoad(1, 0.3, 1.0);
    const int b = s.PointLoad(1, 0.3005, 1.0);
    const int nearEnd = s.PointLoad(1, 0.9995, 1.0);
    Build();
    EXPECT_EQ(s.input.pointLoads.RowRecord(nearStart - 1)->loadNode, 0);
    EXPECT_EQ(s.input.pointLoads.RowRecord(nearEnd - 1)->loadNode, 1);
    ASSERT_EQ(s.solutions.elements.Count(), 2);
    EXPECT_DOUBLE_EQ(Element(0).xiEnd, 0.3);
    EXPECT_EQ(s.input.pointLoads.RowRecord(a - 1)->loadNode, 2);
    EXPECT_EQ(s.input.pointLoads.RowRecord(b - 1)->loadNode, 2);
    EXPECT_DOUBLE_EQ(NodeAt(2).x, 3.0);
}

TEST_F(Division, MoreThanFourAttachmentsShareOnePoint) {
    XBeam();
    for (int k = 0; k < 6; ++k)
        s.PointLoad(1, 0.5 + k * 0.0001, 1.0);
    s.Hinge(1, 0.5002, kHingeShear);
    Build();
    EXPECT_EQ(s.solutions.nodes.Count(), 4);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(s.input.pointLoads.RowRecord(k)->loadNode, 2);
    EXPECT_EQ(s.HingeAt(1).sideA, 2);
    EXPECT_EQ(s.HingeAt(1).sideB, 3);
}

TEST_F(Division, ElementsAreChainedInBeamOrder) {
    XBeam();
    s.PointLoad(1, 0.75, 1.0);
    s.PointLoad(1, 0.25, 1.0);
    Build();
    ASSERT_EQ(s.solutions.elements.Count(), 3);
    EXPECT_EQ(s.input.beams.RowRecord(0)->firstElement, 0);
    EXPECT_EQ(Element(0).nextElement, 1);
    EXPECT_EQ(Element(1).nextElement, 2);
    EXPECT_EQ(Element(2).nextElement, -1);
    EXPECT_DOUBLE_EQ(Element(1).xiStart, 0.25);
    EXPECT_DOUBLE_EQ(Element(1).xiEnd, 0.75);
}

TEST_F(Division, HingeInsideTheBeamMakesTwoCoincidentNodes) {
    XBeam();
    const int h = s.Hinge(1, 0.5, kHingeBending);
    const int load = s.PointLoad(1, 0.5, 1.0);
    Build();
    ASSERT_EQ(s.solutions.nodes.Count(), 4);
    EXPECT_DOUBLE_EQ(NodeAt(2).x, 5.0);
    EXPECT_DOUBLE_EQ(NodeAt(3).x, 5.0);
    ASSERT_EQ(s.solutions.elements.Count(), 2);
    EXPECT_EQ(Element(0).endNode, 2);
    EXPECT_EQ(Element(1).startNode, 3);
    EXPECT_EQ(s.HingeAt(h).sideA, 2);
    EXPECT_EQ(s.HingeAt(h).sideB, 3);
    // The point load at the hinge acts on the side before it.
    EXPECT_EQ(s.input.pointLoads.RowRecord(load - 1)->loadNode, 2);
    // Bending released: wz and the torsion rotation are coupled.
    EXPECT_EQ(Rows(), 2);
}

TEST_F(Division, HingeAtTheStartCouplesTheStartNodeToANewNode) {
    XBeam();
    const int h = s.Hinge(1, 0.0, kHingeTorsion);
    const int load = s.PointLoad(1, 0.0, 1.0);
    Build();
    ASSERT_EQ(s.solutions.nodes.Count(), 3);
    EXPECT_EQ(s.HingeAt(h).sideA, 0);
    EXPECT_EQ(s.HingeAt(h).sideB, 2);
    EXPECT_DOUBLE_EQ(NodeAt(2).x, 0.0);
    ASSERT_EQ(s.solutions.elements.Count(), 1);
    EXPECT_EQ(Element(0).startNode, 2);
    EXPECT_EQ(Element(0).endNode, 1);
    EXPECT_EQ(s.input.pointLoads.RowRecord(load - 1)->loadNode, 2);
}

TEST_F(Division, HingeAtTheEndCouplesANewNodeToTheEndNode) {
    XBeam();
    const int h = s.Hinge(1, 1.0, kHingeShear);
    Build();
    ASSERT_EQ(s.solutions.nodes.Count(), 3);
    EXPECT_EQ(s.HingeAt(h).sideA, 2);
    EXPECT_EQ(s.HingeAt(h).sideB, 1);
    EXPECT_DOUBLE_EQ(NodeAt(2).x, 10.0);
    EXPECT_EQ(Element(0).endNode, 2);
}

TEST_F(Division, HingePositionsFromAFileAreTakenAsClamped) {
    XBeam();
    const int low = s.Hinge(1, -0.2, kHingeShear);
    const int high = s.Hinge(1, 1.5, kHingeShear);
    Build();
    EXPECT_EQ(s.HingeAt(low).sideA, 0);
    EXPECT_EQ(s.HingeAt(high).sideB, 1);
    ASSERT_EQ(s.solutions.elements.Count(), 1);
    EXPECT_DOUBLE_EQ(Element(0).xiStart, 0.0);
    EXPECT_DOUBLE_EQ(Element(0).xiEnd, 1.0);
}

TEST_F(Division, ShearHingeAloneCouplesBothRotations) {
    // A beam along y: β = π/2.
    s.Node(0, 0);
    s.Node(0, 10);
    s.Beam(1, 2);
    s.Hinge(1, 0.5, kHingeShear);
    Build();
    ASSERT_EQ(Rows(), 2);
    // Rotation about the axis across the beam (β + π/2 = π): −Rx.
    const OneBCContainer& bending = Row(0);
    ASSERT_EQ(bending.Count(), 4);
    EXPECT_EQ(bending.Term(0).node, 2);
    EXPECT_EQ(bending.Term(0).component, kRx);
    EXPECT_DOUBLE_EQ(bending.Term(0).coefficient, -1.0);
    EXPECT_EQ(bending.Term(2).node, 3);
    EXPECT_DOUBLE_EQ(bending.Term(2).coefficient, 1.0);
    // Rotation about the beam axis (β = π/2): Ry.
    const OneBCContainer& torsion = Row(1);
    EXPECT_NEAR(torsion.Term(0).coefficient, 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(torsion.Term(1).coefficient, 1.0);
    EXPECT_EQ(torsion.Term(1).component, kRy);
    EXPECT_DOUBLE_EQ(torsion.Term(3).coefficient, -1.0);
    EXPECT_DOUBLE_EQ(torsion.rowConstant, 0.0);
}

TEST_F(Division, BendingAndTorsionHingeTogetherLeaveOnlyTheDeflectionCoupled) {
    XBeam();
    s.Hinge(1, 0.5, kHingeBending);
    s.Hinge(1, 0.5, kHingeTorsion);
    Build();
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0).Term(0).component, kWz);
    EXPECT_DOUBLE_EQ(Row(0).Term(0).coefficient, 1.0);
    EXPECT_DOUBLE_EQ(Row(0).Term(1).coefficient, -1.0);
    EXPECT_EQ(s.solutions.nodes.Count(), 4);
}

TEST_F(Division, TwoHingesAtTheStartMakeSuccessiveHingePairs) {
    XBeam();
    const int h1 = s.Hinge(1, 0.0, kHingeBending);
    const int h2 = s.Hinge(1, 0.0, kHingeTorsion);
    const int load = s.PointLoad(1, 0.0, 1.0);
    Build();
    // Three coincident nodes: the start node and two new ones.
    ASSERT_EQ(s.solutions.nodes.Count(), 4);
    EXPECT_EQ(s.HingeAt(h1).sideA, 0);
    EXPECT_EQ(s.HingeAt(h1).sideB, 2);
    EXPECT_EQ(s.HingeAt(h2).sideA, 2);
    EXPECT_EQ(s.HingeAt(h2).sideB, 3);
    EXPECT_EQ(Element(0).startNode, 3);
    // Between the two zero-length segments: the node its point leads to.
    EXPECT_EQ(s.input.pointLoads.RowRecord(load - 1)->loadNode, 2);
    // First pair: wz and torsion coupled; second: wz and bending coupled.
    EXPECT_EQ(Rows(), 4);
}

TEST_F(Division, SupportRowsFollowTheSkewAngle) {
    s.Node(0, 0, 1, 1, 1, 30.0);
    s.Node(10, 0);
    s.Beam(1, 2);
    Build();
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Row(0).Count(), 1);
    EXPECT_DOUBLE_EQ(Row(1).Term(0).coefficient, std::cos(M_PI / 6));
    EXPECT_DOUBLE_EQ(Row(1).Term(1).coefficient, std::sin(M_PI / 6));
    EXPECT_NEAR(Row(2).Term(0).coefficient, -0.5, 1e-15);
    EXPECT_NEAR(Row(2).Term(1).coefficient, std::cos(M_PI / 6), 1e-15);
}

TEST_F(Division, OnlyARyFlagOfOneHoldsTheSecondAxis) {
    s.Node(0, 0, 0, 0, 2);
    s.Node(10, 0, 0, 0, 1);
    s.Beam(1, 2);
    Build();
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0).Term(0).node, 1);
}

TEST_F(Division, RebuildingGivesTheSameModel) {
    XBeam();
    s.Hinge(1, 0.5, kHingeShear);
    s.PointLoad(1, 0.25, 1.0);
    Build();
    const int nodes = s.solutions.nodes.Count();
    const int elements = s.solutions.elements.Count();
    s.solutions.Clear();
    Build();
    EXPECT_EQ(s.solutions.nodes.Count(), nodes);
    EXPECT_EQ(s.solutions.elements.Count(), elements);
    EXPECT_EQ(s.input.beams.RowRecord(0)->firstElement, 0);
}

} // namespace
