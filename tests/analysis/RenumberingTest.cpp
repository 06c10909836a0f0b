// The profile-reducing renumbering of the equations: the profile it is
// judged by, the order itself, and whole runs in both orders giving the same
// displacements, forces and reactions.

#include "analysis/Renumbering.h"

#include "AnalysisFixture.h"
#include "SameResults.h"

#include <algorithm>
#include <numeric>

namespace {

EquationSets Sets(int equations, std::vector<std::vector<int32_t>> elements) {
    EquationSets sets(equations);
    for (std::vector<int32_t>& element : elements)
        sets.Add(element);
    return sets;
}

bool IsPermutation(std::vector<int32_t> number) {
    std::sort(number.begin(), number.end());
    for (size_t i = 0; i < number.size(); ++i)
        if (number[i] != static_cast<int32_t>(i))
            return false;
    return true;
}

TEST(ProfileOfANumbering, ColumnsReachUpToTheSmallestCoupledEquation) {
    const EquationSets sets = Sets(4, {{0, 2}, {2, 1, 2}, {3}});
    EXPECT_EQ(ProfileColumnHeights(sets, {}), (std::vector<int32_t>{1, 1, 3, 1}));
    EXPECT_EQ(ProfileEntries(sets, {}), 6);
    // Numbered 2, 1, 0, 3: the coupled pairs become (2, 0) and (1, 0).
    EXPECT_EQ(ProfileColumnHeights(sets, {2, 1, 0, 3}), (std::vector<int32_t>{1, 2, 3, 1}));
    // An equation no element reaches still stores its diagonal.
    EXPECT_EQ(ProfileEntries(Sets(3, {{0, 1}}), {}), 4);
}

// A chain of n equations labelled out of order: the best profile stores the
// diagonal and one neighbour per column, 2n − 1 entries.
EquationSets ScrambledChain(int n) {
    std::vector<int32_t> label(n);
    std::iota(label.begin(), label.end(), 0);
    for (int i = 0; i < n; ++i)
        std::swap(label[i], label[(i * 17 + 5) % n]);
    std::vector<std::vector<int32_t>> links;
    for (int i = 0; i + 1 < n; ++i)
        links.push_back({label[i], label[i + 1]});
    return Sets(n, links);
}

TEST(ReverseCuthillMcKeeOrder, ScrambledChainBecomesBanded) {
    const int n = 40;
    const EquationSets sets = ScrambledChain(n);
    const std::vector<int32_t> number = ReverseCuthillMcKee(sets);
    ASSERT_EQ(number.size(), static_cast<size_t>(n));
    EXPECT_TRUE(IsPermutation(number));
    EXPECT_EQ(ProfileEntries(sets, number), 2 * n - 1);
    EXPECT_GT(ProfileEntries(sets, {}), 2 * n - 1);
}

TEST(ReverseCuthillMcKeeOrder, SeparatePartsAndLonelyEquationsAreAllNumbered) {
    const EquationSets sets = Sets(7, {{0, 5}, {5, 3}, {1, 6}});
    const std::vector<int32_t> number = ReverseCuthillMcKee(sets);
    EXPECT_TRUE(IsPermutation(number));
    EXPECT_EQ(ProfileEntries(sets, number), 7 + 3);
    EXPECT_TRUE(IsPermutation(ReverseCuthillMcKee(Sets(0, {}))));
}

TEST(SloanOrder, ScrambledChainBecomesBanded) {
    const int n = 40;
    const EquationSets sets = ScrambledChain(n);
    for (SloanWeights weights : {SloanWeights{1, 2}, SloanWeights{2, 1}}) {
        const std::vector<int32_t> number = SloanOrdering(sets, weights);
        ASSERT_EQ(number.size(), static_cast<size_t>(n));
        EXPECT_TRUE(IsPermutation(number));
        EXPECT_EQ(ProfileEntries(sets, number), 2 * n - 1);
    }
}

TEST(SloanOrder, SeparatePartsAndLonelyEquationsAreAllNumbered) {
    const EquationSets sets = Sets(7, {{0, 5}, {5, 3}, {1, 6}});
    const std::vector<int32_t> number = SloanOrdering(sets, SloanWeights{});
    EXPECT_TRUE(IsPermutation(number));
    EXPECT_EQ(ProfileEntries(sets, number), 7 + 3);
    EXPECT_TRUE(IsPermutation(SloanOrdering(Sets(0, {}), SloanWeights{})));
}

// A 5 × k strip of equations, each coupled to its lower neighbour, the first
// four rows also to the right: stage 3 takes the smallest profile among
// those that cost no more work.
TEST(SloanOrder, StageThreeTakesTheSmallestOfTheOrderings) {
    const int columns = 30;
    std::vector<std::vector<int32_t>> links;
    auto at = [&](int row, int column) { return column * 5 + row; };
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < 5; ++r) {
            if (r + 1 < 5)
                links.push_back({at(r, c), at(r + 1, c)});
            if (c + 1 < columns && r < 4)
                links.push_back({at(r, c), at(r, c + 1)});
        }
    const EquationSets sets = Sets(5 * columns, links);
    const OrderingChoice choice = SmallestProfile(sets);
    const int64_t nodeOrder = ProfileEntries(sets, {});
    const int64_t rcm = ProfileEntries(sets, ReverseCuthillMcKee(sets));
    const int64_t sloan = ProfileEntries(sets, SloanOrdering(sets, SloanWeights{}));
    ASSERT_LT(rcm, nodeOrder);
    // Sloan replaces reverse Cuthill-McKee only for a clearly smaller profile
    // that costs no more work.
    const bool sloanWins =
        sloan < kSloanGain * rcm && ProfileWork(sets, SloanOrdering(sets, SloanWeights{})) <=
                                        ProfileWork(sets, ReverseCuthillMcKee(sets));
    const int64_t expected = sloanWins ? sloan : rcm;
    EXPECT_EQ(choice.entries, expected)
        << "node order " << nodeOrder << ", reverse Cuthill-McKee " << rcm << ", Sloan " << sloan;
    EXPECT_EQ(ProfileEntries(sets, choice.number), choice.entries);
    EXPECT_NE(choice.ordering, Ordering::kNodeOrder);
    // The node order of a banded chain cannot be beaten: it stays, with no numbers.
    std::vector<std::vector<int32_t>> chain;
    for (int i = 0; i + 1 < 20; ++i)
        chain.push_back({i, i + 1});
    const OrderingChoice kept = SmallestProfile(Sets(20, chain));
    EXPECT_EQ(kept.ordering, Ordering::kNodeOrder);
    EXPECT_TRUE(kept.number.empty());
    EXPECT_EQ(kept.entries, 2 * 20 - 1);
    EXPECT_EQ(kept.work, ProfileWork(Sets(20, chain), {}));
}

// The work of the factorisation grows with the square of the column heights.
TEST(ProfileOfANumbering, WorkIsTheSumOfSquaredHeights) {
    const EquationSets sets = Sets(4, {{0, 2}, {2, 1, 2}, {3}});
    // Heights 1, 1, 3, 1 (the first test above); numbered 2, 1, 0, 3: 1, 2, 3, 1.
    EXPECT_EQ(ProfileWork(sets, {}), 1 + 1 + 9 + 1);
    EXPECT_EQ(ProfileWork(sets, {2, 1, 0, 3}), 1 + 4 + 9 + 1);
}

// A 3 × 2 field grillage on edge supports, skewed at two corners, with point
// loads, hinges of every type, a hinge deformation, an imposed deflection,
// distributed and temperature loads. The nodes made inside beams are
// numbered after all input nodes, so the node order has a poor profile.
void Grillage(Structure& s) {
    s.Section(3.0e7, 1.2e7, 2.0e-3, 1.5e-3, 1.2e-5);
    const int columns = 4, rows = 3;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const bool edge = i == 0 || j == 0 || i == columns - 1 || j == rows - 1;
            const bool corner = (i == 0 || i == columns - 1) && (j == 0 || j == rows - 1);
            s.Node(4.0 * i, 3.0 * j, edge, corner, corner, corner && i == 0 ? 30.0 : 0.0);
        }
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i + 1 < columns; ++i)
            s.Beam(j * columns + i + 1, j * columns + i + 2, 1, 0.4);
    for (int j = 0; j + 1 < rows; ++j)
        for (int i = 0; i < columns; ++i)
            s.Beam(j * columns + i + 1, (j + 1) * columns + i + 1, 1, 0.4);
    const int beams = s.input.beams.Count();
    for (int b = 1; b <= beams; ++b)
        s.PointLoad(b, 0.5, 10.0 + b, 0.5 * b, -0.25 * b);
    s.Hinge(4, 0.3, kHingeBending);
    const int torsion = s.Hinge(5, 0.7, kHingeTorsion);
    const int shear = s.Hinge(13, 0.25, kHingeShear);
    s.Hinge(14, 0.6, kHingeBending);
    s.HingeLoad(torsion, kHingeLoadDeformation, 0.001);
    s.HingeLoad(shear, kHingeLoadForce, 3.0);
    s.Zwv(2, 2, 0.0, 0.002, 0.0);
    s.Zwv(6, 6, 0.004); // an inner node pushed down
    s.BeamLoad(1, beams, 4.0, 6.0, 0.3, 0.1);
    s.Temperature(2, 9, 15.0);
}

// Runs the stages by hand, without the renumbering.
void SolveInNodeOrder(Structure& s) {
    CalcResult result;
    s.solutions.Clear();
    s.solutions.BuildModel();
    s.solutions.AddLoadCaseRows();
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    ASSERT_EQ(s.solutions.SolveModel(nullptr, result), kStageOk) << result.message;
}

TEST(RenumberedRun, GivesTheResultsOfTheNodeOrder) {
    ForcedSolver profile("profile");
    Structure plain, renumbered;
    Grillage(plain);
    Grillage(renumbered);
    SolveInNodeOrder(plain);
    renumbered.Solve();
    EXPECT_LT(renumbered.solutions.counters.memoryBytes, plain.solutions.counters.memoryBytes);
    EXPECT_LT(renumbered.solutions.counters.bandwidth, plain.solutions.counters.bandwidth);
    ExpectSameResults(plain.solutions, renumbered.solutions);
}

// Sloan's numbering, whenever stage 3 takes it, gives the same results too.
TEST(RenumberedRun, SloanOrderGivesTheResultsOfTheNodeOrder) {
    Structure plain, sloan;
    Grillage(plain);
    Grillage(sloan);
    SolveInNodeOrder(plain);
    CalcResult result;
    SolutionsCont& s = sloan.solutions;
    s.Clear();
    s.BuildModel();
    s.AddLoadCaseRows();
    ASSERT_EQ(s.NumberDofs(), kEliminationOk);
    const EquationSets sets = s.ElementEquations();
    const std::vector<int32_t> number = SloanOrdering(sets, SloanWeights{});
    ASSERT_LT(ProfileEntries(sets, number), ProfileEntries(sets, {}));
    s.dofs.RenumberEquations(number);
    ASSERT_EQ(s.SolveModel(nullptr, result), kStageOk) << result.message;
    EXPECT_EQ(s.counters.memoryBytes, 8 * ProfileEntries(sets, number));
    ExpectSameResults(plain.solutions, s);
}

TEST(RenumberedRun, StageThreeShowsTheRenumberedProfile) {
    ForcedSolver profile("profile");
    Structure s;
    Grillage(s);
    s.Solve();
    EXPECT_EQ(s.status.started, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    const EquationSets sets = s.solutions.ElementEquations();
    EXPECT_EQ(s.status.counters.memoryBytes, 8 * ProfileEntries(sets, {}));
    const std::vector<int32_t> heights = ProfileColumnHeights(sets, {});
    EXPECT_EQ(s.status.counters.bandwidth, *std::max_element(heights.begin(), heights.end()));
}

// Nodes along a continuous beam in their order: no order has a smaller
// profile, so the equations keep the order of the nodes.
TEST(RenumberedRun, WellNumberedModelKeepsItsEquations) {
    Structure s;
    s.Section(3.0e7, 1.2e7, 2.0e-3, 1.5e-3);
    for (int k = 0; k < 8; ++k)
        s.Node(5.0 * k, 0, 1, k == 0, 0);
    for (int k = 1; k < 8; ++k)
        s.Beam(k, k + 1);
    s.solutions.BuildModel();
    s.solutions.AddLoadCaseRows();
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    EXPECT_FALSE(s.solutions.OptimizeEquations());
    int previous = -1;
    for (int d = 0; d < s.solutions.dofs.Count(); ++d) {
        const BCClass& dof = s.solutions.dofs.Dof(d);
        if (dof.dependent)
            continue;
        EXPECT_EQ(dof.equation, previous + 1);
        previous = dof.equation;
    }
}

TEST(RenumberedRun, ExpansionsFollowTheNewNumbers) {
    Structure s;
    Grillage(s);
    s.solutions.BuildModel();
    s.solutions.AddLoadCaseRows();
    ASSERT_EQ(s.solutions.NumberDofs(), kEliminationOk);
    std::vector<FGFieldCont> before(static_cast<size_t>(s.solutions.dofs.Count()));
    for (int d = 0; d < s.solutions.dofs.Count(); ++d)
        s.solutions.Expand(d, before[d]);
    std::vector<int32_t> oldEquation(s.solutions.dofs.freeCount);
    for (int e = 0; e < s.solutions.dofs.freeCount; ++e)
        oldEquation[e] = e;
    ASSERT_TRUE(s.solutions.OptimizeEquations());
    // Old equation of every new one, through the free dof that carries both.
    for (int e = 0; e < s.solutions.dofs.freeCount; ++e) {
        const int dof = s.solutions.dofs.DofOfEquation(e);
        ASSERT_EQ(s.solutions.dofs.Dof(dof).equation, e);
        ASSERT_EQ(before[dof].Size(), 1);
        oldEquation[e] = before[dof].Term(0).equation;
    }
    std::vector<int32_t> newOf(oldEquation.size());
    for (size_t e = 0; e < oldEquation.size(); ++e)
        newOf[oldEquation[e]] = static_cast<int32_t>(e);
    FGFieldCont after;
    for (int d = 0; d < s.solutions.dofs.Count(); ++d) {
        s.solutions.Expand(d, after);
        ASSERT_EQ(after.Size(), before[d].Size());
        EXPECT_EQ(after.expansionConstant, before[d].expansionConstant);
        for (int t = 0; t < after.Size(); ++t) {
            EXPECT_EQ(after.Term(t).equation, newOf[before[d].Term(t).equation]);
            EXPECT_EQ(after.Term(t).coefficient, before[d].Term(t).coefficient);
        }
    }
}

} // namespace
