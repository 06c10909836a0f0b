// The fixed tolerances of the analysis, each from both sides: one case just
// inside, one just outside.

#include "AnalysisFixture.h"
#include "analysis/Constraints.h"
#include "analysis/KMatrix.h"
#include "support/ScopedEnvironment.h"

#include <algorithm>

namespace {

// Point loads closer than 0.001 of the beam length share a division point,
// also with a beam end.
TEST(AnalysisTolerances, DivisionPointsMergeCloserThanAThousandthOfTheBeam) {
    const struct {
        double first, second;
        int elements;
    } cases[] = {
        {0.3, 0.3009, 2}, {0.3, 0.3011, 3}, {0.5, 0.0009, 2},
        {0.5, 0.0011, 3}, {0.5, 0.9991, 2}, {0.5, 0.9989, 3},
    };
    for (const auto& c : cases) {
        Structure s;
        s.Section(1.0, 1.0, 1.0, 1.0);
        s.Node(0, 0);
        s.Node(10, 0);
        s.Beam(1, 2);
        s.PointLoad(1, c.first, 1.0);
        s.PointLoad(1, c.second, 1.0);
        s.solutions.BuildModel();
        EXPECT_EQ(s.solutions.elements.Count(), c.elements) << c.first << ", " << c.second;
    }
}

// The elimination counts magnitudes below 1e-15 as zero: as a leading
// coefficient, as a dependency term and as the constant of a row that has no
// term left.
TEST(AnalysisTolerances, ConstraintMagnitudesBelow1e15AreZero) {
    constexpr double kJustBelow = 0.9e-15, kJustAbove = 1.1e-15;
    const struct {
        const char* what;
        double leading, dependency, constant;
        int result, dependent, terms;
    } cases[] = {
        {"leading below", kJustBelow, 0, 0, kEliminationOk, 0, 0},
        {"leading above", kJustAbove, 0, 0, kEliminationOk, 1, 0},
        {"dependency below", 1, kJustBelow, 0, kEliminationOk, 1, 0},
        {"dependency above", 1, kJustAbove, 0, kEliminationOk, 1, 1},
        {"constant below", 0, 0, kJustBelow, kEliminationOk, 0, 0},
        {"constant above", 0, 0, kJustAbove, kEliminationContradiction, 0, 0},
    };
    for (const auto& c : cases) {
        BCContainer rows;
        FGTabCont dofs;
        OneBCContainer* row = rows.AddRow();
        row->rowConstant = c.constant;
        if (c.leading != 0)
            row->AddTerm(0, kWz, c.leading);
        if (c.dependency != 0)
            row->AddTerm(0, kRx, c.dependency);
        for (int d = 0; d < 3; ++d)
            dofs.AppendDof();
        ASSERT_EQ(EliminateConstraints(rows, dofs), c.result) << c.what;
        if (c.result != kEliminationOk)
            continue;
        EXPECT_EQ(dofs.Dof(0).dependent, c.dependent) << c.what;
        EXPECT_EQ(dofs.Dof(0).Count(), c.terms) << c.what;
    }
}

// BALKOR_THREADS fixes the factorisation's threads up to 64; a larger count
// is passed over for the automatic one (never more than the cores).
TEST(AnalysisTolerances, BalkorThreadsAsksForAtMost64Threads) {
    KMatrix K;
    K.Create(8 * KMatrix::kParallelBlockRows);
    for (int c = 0; c < 8 * KMatrix::kParallelBlockRows; ++c)
        K.RaiseHeight(c, std::min(c + 1, 100));
    K.FinishProfile();
    ScopedEnvironment environment;
    environment.Set("BALKOR_THREADS", "64");
    EXPECT_EQ(K.AutomaticThreads(), 64);
    environment.Set("BALKOR_THREADS", "65");
    EXPECT_LT(K.AutomaticThreads(), 65);
}

} // namespace

namespace {

// Two equal cantilevers side by side, the second loaded by a fraction of the
// first one's load: its tip deflection and its reaction are that fraction of
// the largest ones, and below 1e-10 of them they count as rounding noise (0).
TEST(AnalysisTolerances, ResultsBelow1e10OfTheLargestAreZero) {
    constexpr double P = 10.0;
    const struct {
        double fraction;
        bool zero;
    } cases[] = {{0.6e-10, true}, {1.5e-10, false}};
    for (const auto& c : cases) {
        Structure s;
        s.Section(2.1e8, 8.1e7, 2.5e-4, 1.8e-6);
        s.FixedNode(0, 0), s.Node(4, 0), s.Beam(1, 2), s.NodeLoad(2, 2, P);
        s.FixedNode(0, 2), s.Node(4, 2), s.Beam(3, 4), s.NodeLoad(4, 4, c.fraction * P);
        s.Solve();
        const double tip = s.Value(4, kWz);
        const double reaction = s.solutions.SupportReaction(s.CalcNode(3), kWz);
        if (c.zero) {
            EXPECT_EQ(tip, 0.0) << c.fraction;
            EXPECT_EQ(reaction, 0.0) << c.fraction;
        } else {
            EXPECT_NEAR(tip, c.fraction * s.Value(2, kWz), 1e-6 * c.fraction * s.Value(2, kWz));
            EXPECT_NEAR(reaction, -c.fraction * P, 1e-6 * c.fraction * P);
        }
    }
}

} // namespace
