#include "analysis/PivotRule.h"

#include "analysis/EquationSolver.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

struct PivotCase {
    double pivot;
    double originalDiagonal;
    double coupledDiagonal;
    bool zero;
};

// Just inside and just outside each limit, written as numbers (not through
// the constants, which would move with them): a limit changed by a factor of
// 2 moves one of these cases to the other side. The limits: 1e-40 absolute,
// 1e-13 of the own diagonal, 64 rounding units of the coupled diagonal.
constexpr double kNoise = 64 * 2.220446049250313e-16;
const PivotCase kPivotCases[] = {
    {0.6e-40, 0.0, 0.0, true},
    {1.5e-40, 0.0, 0.0, false},
    {-0.6e-40, 0.0, 0.0, true},
    {0.6e-13, 1.0, 1.0, true},
    {1.5e-13, 1.0, 1.0, false},
    {0.6e-13 * 1e6, 1e6, 1e6, true},
    {1.5e-13 * 1e6, 1e6, 1e6, false},
    {std::nan(""), 1.0, 1.0, true},
    // A tip 1e11 times stiffer than the root keeps a sound pivot.
    {1e-11, 1.0, 1.0, false},
    // Rounding of a stiff coupled equation, 1e-10 of a soft one's own diagonal.
    {0.6 * kNoise, 1e-6, 1.0, true},
    {1.5 * kNoise, 1e-6, 1.0, false},
};

TEST(PivotRule, BothSidesOfTheAbsoluteAndRelativeLimits) {
    for (const PivotCase& c : kPivotCases)
        EXPECT_EQ(IsZeroPivot(c.pivot, c.originalDiagonal, c.coupledDiagonal), c.zero)
            << "pivot " << c.pivot << " diagonal " << c.originalDiagonal << " coupled "
            << c.coupledDiagonal;
}

TEST(SolverChoice, BySizeUnlessForced) {
    const char* outer = std::getenv("BALKOR_SOLVER");
    const std::string forced = outer ? outer : "";
    unsetenv("BALKOR_SOLVER");
    EXPECT_EQ(ChooseSolver(kSparseSolverEquations - 1), SolverKind::kProfile);
    EXPECT_EQ(ChooseSolver(kSparseSolverEquations), SolverKind::kSparse);
    setenv("BALKOR_SOLVER", "sparse", 1);
    EXPECT_EQ(ChooseSolver(3), SolverKind::kSparse);
    setenv("BALKOR_SOLVER", "profile", 1);
    EXPECT_EQ(ChooseSolver(kSparseSolverEquations), SolverKind::kProfile);
    if (outer)
        setenv("BALKOR_SOLVER", forced.c_str(), 1);
    else
        unsetenv("BALKOR_SOLVER");
}

} // namespace
