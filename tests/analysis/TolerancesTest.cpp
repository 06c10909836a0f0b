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
class ConstraintEpsilon : public ::testing::Test {
protected:
    // Eliminates the rows over the three degrees of freedom of one node.
    int Eliminate() {
        for (int d = 0; d < 3; ++d)
            dofs.AppendDof();
        return EliminateConstraints(rows, dofs);
    }
    OneBCContainer* Row(double constant) {
        OneBCContainer* row = rows.AddRow();
        row->rowConstant = constant;
        return row;
    }

    BCContainer rows;
    FGTabCont dofs;
};

constexpr double kJustBelow = 0.9e-15;
constexpr double kJustAbove = 1.1e-15;

TEST_F(ConstraintEpsilon, ALeadingCoefficientBelowIsNoTerm) {
    Row(0.0)->AddTerm(0, kWz, kJustBelow);
    ASSERT_EQ(Eliminate(), kEliminationOk);
    EXPECT_EQ(dofs.Dof(0).dependent, 0);
}

TEST_F(ConstraintEpsilon, ALeadingCoefficientAboveMakesADependentDof) {
    Row(0.0)->AddTerm(0, kWz, kJustAbove);
    ASSERT_EQ(Eliminate(), kEliminationOk);
    EXPECT_EQ(dofs.Dof(0).dependent, 1);
}

TEST_F(ConstraintEpsilon, ADependencyTermOnlyAbove) {
    const struct {
        double coefficient;
        int terms;
    } cases[] = {{kJustBelow, 0}, {kJustAbove, 1}};
    for (const auto& c : cases) {
        rows.Release();
        dofs.Release();
        OneBCContainer* row = Row(0.0);
        row->AddTerm(0, kWz, 1.0);
        row->AddTerm(0, kRx, c.coefficient);
        ASSERT_EQ(Eliminate(), kEliminationOk);
        EXPECT_EQ(dofs.Dof(0).Count(), c.terms) << c.coefficient;
    }
}

TEST_F(ConstraintEpsilon, ARowWithoutTermsContradictsOnlyWithAConstantAbove) {
    const struct {
        double constant;
        int result;
    } cases[] = {{kJustBelow, kEliminationOk}, {kJustAbove, kEliminationContradiction}};
    for (const auto& c : cases) {
        rows.Release();
        dofs.Release();
        Row(c.constant);
        EXPECT_EQ(Eliminate(), c.result) << c.constant;
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
