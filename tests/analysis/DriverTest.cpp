// The run: input checks, stages and counters, the failures and their
// messages, results validity and repeatability.

#include "AnalysisFixture.h"
#include "analysis/KMatrix.h"

namespace {

class Driver : public ::testing::Test {
protected:
    void SetUp() override { s.Section(2.0e8, 8.0e7, 3.0e-4, 2.0e-4); }

    // A cantilever: node 1 clamped, node 2 free, tip load.
    void Cantilever() {
        s.Node(0, 0, 1, 1, 1);
        s.Node(4, 0);
        s.Beam(1, 2);
        s.NodeLoad(2, 2, 10.0);
    }

    Structure s;
};

TEST_F(Driver, SoundRunPassesEveryStageAndCountsTheProblem) {
    ForcedSolver profile("profile");
    Cantilever();
    const CalcResult result = s.Run();
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.inputError);
    EXPECT_EQ(s.solutions.resultsValid, 1);
    EXPECT_EQ(s.status.started, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(s.status.finishedStage, kStageEvaluate);
    EXPECT_TRUE(s.status.finishedOk);
    // Two nodes, one element, six dofs of which the clamp holds three; the
    // three equations of node 2 are fully coupled: heights 1, 2, 3.
    EXPECT_EQ(s.status.counters.nodes, 2);
    EXPECT_EQ(s.status.counters.elements, 1);
    EXPECT_EQ(s.status.counters.dofs, 6);
    EXPECT_EQ(s.status.counters.conditions, 3);
    EXPECT_EQ(s.status.counters.memoryBytes, 6 * 8);
    EXPECT_EQ(s.status.counters.bandwidth, 3);
    EXPECT_FALSE(s.status.counters.sparse);
}

// The sparse solver shows its factor instead of a profile: the three coupled
// equations of the tip give a full lower triangle of 6 non-zeros.
TEST_F(Driver, SparseSolverCountsTheNonZerosOfItsFactor) {
    ForcedSolver sparse("sparse");
    Cantilever();
    s.Solve();
    EXPECT_TRUE(s.status.counters.sparse);
    EXPECT_EQ(s.status.counters.factorNonZeros, 6);
    EXPECT_EQ(s.status.counters.bandwidth, 0);
    EXPECT_GE(s.status.counters.memoryBytes, 6 * 8);
}

TEST_F(Driver, ContradictionEndsAfterTheDofStage) {
    Cantilever();
    s.Solve();
    const CalcCounters first = s.solutions.counters;
    s.Zwv(1, 1, 0.01);
    s.status = RecordingStatus();
    const CalcResult result = s.Run();
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.inputError);
    EXPECT_EQ(result.message, "Wiederspruch in der Randbedingungen");
    EXPECT_EQ(result.title, "Berechnungsfehler");
    EXPECT_EQ(s.status.started, (std::vector<int>{1, 2}));
    EXPECT_EQ(s.status.finishedStage, kStageDofs);
    EXPECT_FALSE(s.status.finishedOk);
    EXPECT_EQ(s.solutions.resultsValid, 0);
    // The counters of the later stages keep the previous run's values.
    EXPECT_EQ(s.solutions.counters.dofs, 6);
    EXPECT_EQ(s.solutions.counters.memoryBytes, first.memoryBytes);
    EXPECT_GT(first.memoryBytes, 0);
}

TEST_F(Driver, BeamOnTwoSupportsWithTwoBendingHingesIsSingular) {
    s.Node(0, 0, 1, 1, 0);
    s.Node(8, 0, 1, 1, 0);
    s.Beam(1, 2);
    s.Hinge(1, 0.3, kHingeBending);
    s.Hinge(1, 0.6, kHingeBending);
    s.BeamLoad(1, 1, 5.0, 5.0);
    const CalcResult result = s.Run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              "Singuläre Steifigkeitsmatrix !\nMöglicherweise liegt verschiebliches System vor");
    EXPECT_EQ(result.title, "Berechnungsfehler");
    EXPECT_EQ(s.status.started, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s.status.finishedStage, kStageSolve);
    EXPECT_FALSE(s.status.finishedOk);
    EXPECT_EQ(s.solutions.resultsValid, 0);
    EXPECT_EQ(s.status.counters.nodes, 6);
    EXPECT_GT(s.status.counters.memoryBytes, 0);
    const CalcCounters& c = s.status.counters;
    EXPECT_GT(c.sparse ? c.factorNonZeros : c.bandwidth, 0);
}

TEST_F(Driver, StructureWithoutSupportsIsSingular) {
    s.Node(0, 0);
    s.Node(4, 0);
    s.Beam(1, 2);
    const CalcResult result = s.Run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.title, "Berechnungsfehler");
    EXPECT_EQ(s.status.counters.conditions, 0);
}

TEST_F(Driver, StiffnessesFarApartStillSolve) {
    // An L-shaped cantilever: the first leg 1e8 times stiffer than the second.
    s.Section(2.0e8 * 1e8, 8.0e7 * 1e8, 3.0e-4, 2.0e-4);
    s.Node(0, 0, 1, 1, 1);
    s.Node(3, 0);
    s.Node(3, 2);
    s.Beam(1, 2, 2);
    s.Beam(2, 3, 1);
    s.NodeLoad(3, 3, 10.0);
    s.Solve();
    const double EI = 2.0e8 * 3.0e-4, GIt = 8.0e7 * 2.0e-4, a = 3.0, b = 2.0, P = 10.0;
    EXPECT_REL(s.Value(3, kWz), P * b * b * b / (3 * EI) + P * a * a * a / (3 * EI * 1e8) +
                                    P * b * b * a / (GIt * 1e8));
    EXPECT_REL(s.Reaction(1, kWz), -10.0);
}

TEST_F(Driver, InputErrorsStopBeforeTheModel) {
    s.Node(0, 0, 1, 1, 1);
    s.Beam(1, 2);
    CalcResult result = s.Run();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.inputError);
    EXPECT_EQ(result.title, "Eingabefehler");
    EXPECT_EQ(result.message, "Der zweite Knoten ist nicht definiert !");
    EXPECT_EQ(result.check.page, "Stäbe");
    EXPECT_EQ(result.check.row, 0);
    EXPECT_FALSE(result.check.loadWindow);
    EXPECT_TRUE(s.status.started.empty());

    s.Node(4, 0);
    s.NodeLoad(3, 1, 1.0);
    result = s.Run();
    EXPECT_TRUE(result.inputError);
    EXPECT_TRUE(result.check.loadWindow);
    EXPECT_EQ(result.check.page, "Knotenlasten");
    EXPECT_TRUE(s.status.started.empty());
}

TEST_F(Driver, EmptyLoadCaseGivesZeroResults) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(4, 0, 1, 1, 0);
    s.Beam(1, 2);
    s.Solve();
    EXPECT_EQ(s.Value(2, kRy), 0.0);
    EXPECT_EQ(s.solutions.MaxDeflection(), 0.0);
    EXPECT_EQ(s.solutions.MaxNodeForce(), 0.0);
    EXPECT_EQ(s.solutions.MaxNodeMoment(), 0.0);
    EXPECT_EQ(s.solutions.MaxSectionForce(2), 0.0);
}

TEST_F(Driver, FullyHeldStructureHasNoEquations) {
    s.Node(0, 0, 1, 1, 1);
    s.Node(4, 0, 0, 1, 1);
    s.Beam(1, 2);
    s.Zwv(2, 2, 0.02);
    s.Solve();
    EXPECT_EQ(s.solutions.dofs.freeCount, 0);
    EXPECT_EQ(s.Value(2, kWz), 0.02);
    const double EI = 2.0e8 * 3.0e-4;
    EXPECT_REL(s.Reaction(2, kWz), 12 * EI * 0.02 / 64);
}

TEST_F(Driver, TwoRunsGiveIdenticalCountersAndResults) {
    Cantilever();
    s.input.nodes.RowRecord(1)->fixRx = 1; // holds the part beyond the hinge
    s.Hinge(1, 0.5, kHingeTorsion);
    s.PointLoad(1, 0.25, 3.0, 1.0, 2.0);
    s.Solve();
    const CalcCounters first = s.status.counters;
    const double w = s.Value(2, kWz);
    const double m = s.Force(1, 0.1, 2);
    s.Solve();
    EXPECT_EQ(s.status.counters.nodes, first.nodes);
    EXPECT_EQ(s.status.counters.elements, first.elements);
    EXPECT_EQ(s.status.counters.dofs, first.dofs);
    EXPECT_EQ(s.status.counters.conditions, first.conditions);
    EXPECT_EQ(s.status.counters.memoryBytes, first.memoryBytes);
    EXPECT_EQ(s.status.counters.bandwidth, first.bandwidth);
    EXPECT_EQ(s.Value(2, kWz), w);
    EXPECT_EQ(s.Force(1, 0.1, 2), m);
    EXPECT_EQ(s.solutions.elements.Count(), 3);
}

TEST_F(Driver, ClearDiscardsTheResults) {
    Cantilever();
    s.Solve();
    s.solutions.Clear();
    EXPECT_EQ(s.solutions.resultsValid, 0);
    EXPECT_EQ(s.solutions.nodes.Count(), 0);
    EXPECT_EQ(s.solutions.elements.Count(), 0);
    EXPECT_EQ(s.solutions.bcRows.Count(), 0);
}

TEST_F(Driver, RunWorksWithoutAStatusReceiver) {
    Cantilever();
    EXPECT_TRUE(s.solutions.Calculate().ok);
}

// Without beams the system check does not look at the hinges; a deformation
// on a hinge of a missing beam then acts on nothing and must not reach
// stale node indices.
TEST_F(Driver, HingeOfAMissingBeamActsOnNothing) {
    Cantilever();
    s.input.nodes.RowRecord(1)->fixZ = 1;
    const int h = s.Hinge(1, 0.5, kHingeShear);
    const int g = s.Hinge(1, 0.7, kHingeBending);
    s.HingeLoad(h, kHingeLoadDeformation, 0.01);
    s.HingeLoad(g, kHingeLoadForce, 1.0);
    s.Solve();
    s.input.beams.RowRecord(0)->flag = 0;
    s.input.beams.InvalidateIndex();
    const CalcResult result = s.Run();
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(s.solutions.nodes.Count(), 0);
    EXPECT_EQ(s.HingeAt(h).sideA, -1);
}

TEST_F(Driver, NodeLoadOnAnUnconnectedNodeIsSkipped) {
    Cantilever();
    s.Node(9, 9);
    s.NodeLoad(3, 3, 50.0);
    s.Solve();
    EXPECT_EQ(s.CalcNode(3), -1);
    EXPECT_REL(s.Reaction(1, kWz), -10.0);
}

TEST_F(Driver, ProgramInstanceWorksOnTheProgramInput) {
    EXPECT_EQ(&Solutions().Input(), &Input());
    EXPECT_EQ(&Solutions(), &Solutions());
}

} // namespace
