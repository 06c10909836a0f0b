// The profile matrix: heights, scaling, LDL decomposition and substitution.

#include "analysis/KMatrix.h"
#include "model/BalkorError.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

// A finished profile holding the upper triangle of a dense symmetric matrix;
// the height of every column reaches its highest non-zero entry.
void Fill(KMatrix& K, const Rows& dense) {
    int n = static_cast<int>(dense.size());
    K.Create(n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i <= j; ++i)
            if (dense[i][j] != 0.0 || i == j)
                K.RaiseHeight(j, j - i + 1);
    K.FinishProfile();
    for (int j = 0; j < n; ++j)
        for (int i = 0; i <= j; ++i)
            if (K.InProfile(i, j))
                K.Entry(i, j) = dense[i][j];
}

Vektor VectorOf(std::initializer_list<double> values) {
    Vektor v(static_cast<int>(values.size()));
    int r = 0;
    for (double x : values)
        v[r++] = x;
    return v;
}

TEST(KMatrixProfile, HeightsBecomePositions) {
    KMatrix K;
    K.Create(3);
    EXPECT_EQ(K.ownsDiag, 1);
    EXPECT_EQ(K.values, nullptr);
    K.RaiseHeight(0, 1);
    K.RaiseHeight(1, 2);
    K.RaiseHeight(2, 2);
    K.RaiseHeight(2, 1); // raising only: the larger height stays
    K.FinishProfile();
    EXPECT_EQ(std::vector<int>(K.diag, K.diag + 4), (std::vector<int>{0, 1, 3, 5}));
    EXPECT_EQ(K.bandwidth, 2);
    EXPECT_EQ(K.MemoryBytes(), 40);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(K.values[k], 0.0);
    // (1, 2) lies one above the diagonal of column 2; (0, 2) is outside.
    EXPECT_TRUE(K.InProfile(1, 2));
    EXPECT_FALSE(K.InProfile(0, 2));
    EXPECT_EQ(&K.Entry(1, 2), &K.values[3 + 1]);
}

TEST(KMatrixProfile, ZeroHeightsBecomeOneButTheBandwidthKeepsTheSuppliedHeights) {
    KMatrix none;
    none.Create(3);
    none.FinishProfile();
    EXPECT_EQ(none.bandwidth, 0);
    EXPECT_EQ(std::vector<int>(none.diag, none.diag + 4), (std::vector<int>{0, 1, 2, 3}));

    KMatrix some;
    some.Create(3);
    some.diag[2] = 2; // the height of column 1 written directly
    some.FinishProfile();
    EXPECT_EQ(some.bandwidth, 2);
    EXPECT_EQ(std::vector<int>(some.diag, some.diag + 4), (std::vector<int>{0, 1, 3, 4}));
}

TEST(KMatrixProfile, ReleaseFreesAndCanBeRepeated) {
    KMatrix K;
    K.Create(2);
    K.FinishProfile();
    K.Release();
    EXPECT_EQ(K.diag, nullptr);
    EXPECT_EQ(K.values, nullptr);
    EXPECT_EQ(K.ownsDiag, 0);
    K.Release();
}

TEST(KMatrixProfile, AllocationFailuresRaiseTheirMessages) {
    KMatrix K;
    try {
        K.Create(-1);
        FAIL();
    } catch (const BalkorError& error) {
        EXPECT_STREQ(error.what(), "Nicht genug Speicher");
    }
    // A full triangle of 70,000 columns has more entries than can be counted.
    K.Create(70000);
    for (int c = 0; c < 70000; ++c)
        K.RaiseHeight(c, c + 1);
    try {
        K.FinishProfile();
        FAIL();
    } catch (const BalkorError& error) {
        EXPECT_STREQ(error.what(), "Speicher");
    }
}

TEST(KMatrixSolve, OneEquationIsScaledThenSolved) {
    KMatrix K;
    Fill(K, {{4}});
    Vektor F = VectorOf({2});
    EXPECT_EQ(K.ScaleSystem(F), 0.25);
    EXPECT_EQ(K.values[0], 1.0);
    EXPECT_EQ(F[0], 0.5);

    KMatrix again;
    Fill(again, {{4}});
    Vektor G = VectorOf({2});
    EXPECT_EQ(again.Solve(G), kSolveSolved);
    EXPECT_EQ(G[0], 0.5);
}

TEST(KMatrixSolve, TwoEquationsLeaveTheirFactors) {
    KMatrix K;
    Fill(K, {{2, 1}, {1, 2}});
    Vektor F = VectorOf({3, 3});
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    EXPECT_DOUBLE_EQ(F[0], 1.0);
    EXPECT_DOUBLE_EQ(F[1], 1.0);
    EXPECT_EQ(K.Entry(0, 0), 1.0);  // D0 of the system scaled by 1/2
    EXPECT_EQ(K.Entry(1, 1), 0.75); // D1
    EXPECT_EQ(K.Entry(0, 1), 0.5);  // L10
}

TEST(KMatrixSolve, ThreeEquationsLeaveTheirFactors) {
    // LDL^T by hand: D = (1, 3/4, 3/4), L10 = 1/2, L20 = 1/4, L21 = 1/2.
    KMatrix K;
    Fill(K, {{1, 0.5, 0.25}, {0.5, 1, 0.5}, {0.25, 0.5, 1}});
    EXPECT_EQ(K.DecomposeLDL(), kSolveSolved);
    EXPECT_EQ(K.Entry(0, 0), 1.0);
    EXPECT_EQ(K.Entry(1, 1), 0.75);
    EXPECT_EQ(K.Entry(2, 2), 0.75);
    EXPECT_EQ(K.Entry(0, 1), 0.5);
    EXPECT_EQ(K.Entry(0, 2), 0.25);
    EXPECT_EQ(K.Entry(1, 2), 0.5);
}

TEST(KMatrixSolve, VariableProfileWithGaps) {
    // Column heights 1, 2, 1, 4: the entries (1, 2) and (1, 3) are zero inside
    // or outside the profile. The solution of K u = K * (1, 1, 1, 1) is all ones.
    KMatrix K;
    Fill(K, {{4, 1, 0, 1}, {1, 4, 0, 0}, {0, 0, 4, 1}, {1, 0, 1, 4}});
    EXPECT_EQ(K.Height(2), 1);
    EXPECT_EQ(K.Height(3), 4);
    Vektor F = VectorOf({6, 5, 5, 6});
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    for (int r = 0; r < 4; ++r)
        EXPECT_NEAR(F[r], 1.0, 1e-14);
}

TEST(KMatrixSolve, LongTridiagonalChain) {
    // The second-difference matrix (2 on the diagonal, -1 beside it) with
    // F = (1, 0, ..., 0, 1) has the solution u = 1 everywhere.
    const int n = 200;
    KMatrix K;
    K.Create(n);
    for (int c = 0; c < n; ++c)
        K.RaiseHeight(c, c == 0 ? 1 : 2);
    K.FinishProfile();
    for (int c = 0; c < n; ++c) {
        K.Entry(c, c) = 2.0;
        if (c > 0)
            K.Entry(c - 1, c) = -1.0;
    }
    Vektor F(n);
    F[0] = 1.0;
    F[n - 1] = 1.0;
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    for (int r = 0; r < n; ++r)
        EXPECT_NEAR(F[r], 1.0, 1e-10);
}

TEST(KMatrixSolve, TheRightHandSideMayBeAColumnOfAWiderMatrix) {
    KMatrix K;
    Fill(K, {{2, 1}, {1, 2}});
    Matrix F(2, 3);
    F(0, 0) = 3;
    F(1, 0) = 3;
    F(0, 1) = 99; // other columns are not touched
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    EXPECT_DOUBLE_EQ(F(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(F(1, 0), 1.0);
    EXPECT_EQ(F(0, 1), 99.0 / 2); // scaled with the system, as a whole matrix
}

TEST(KMatrixSolve, NoEquationsIsSolved) {
    KMatrix K;
    K.Create(0);
    K.FinishProfile();
    Vektor F;
    F.Allocate(0, 1);
    EXPECT_EQ(K.Solve(F), kSolveSolved);
    EXPECT_EQ(K.MemoryBytes(), 0);
}

TEST(KMatrixPivots, ZeroPivotsAreReported) {
    KMatrix first;
    Fill(first, {{0, 0}, {0, 1}});
    Vektor F = VectorOf({1, 1});
    EXPECT_EQ(first.Solve(F), kSolveZeroPivot);

    // The second pivot is 1 - 1 * 1 = 0 after the first row's elimination.
    KMatrix second;
    Fill(second, {{1, 1}, {1, 1}});
    Vektor G = VectorOf({1, 1});
    EXPECT_EQ(second.Solve(G), kSolveZeroPivot);

    // An equation no element couples keeps height 1 and a zero diagonal.
    KMatrix uncoupled;
    uncoupled.Create(2);
    uncoupled.FinishProfile();
    uncoupled.Entry(0, 0) = 5.0;
    Vektor H = VectorOf({1, 1});
    EXPECT_EQ(uncoupled.Solve(H), kSolveZeroPivot);
}

TEST(KMatrixPivots, NotANumberIsAZeroPivot) {
    KMatrix K;
    Fill(K, {{1, 0}, {0, std::numeric_limits<double>::quiet_NaN()}});
    Vektor F = VectorOf({1, 1});
    EXPECT_EQ(K.Solve(F), kSolveZeroPivot);
}

TEST(KMatrixPivots, AnIndefiniteSystemHasANonPositivePivot) {
    // D1 = 1 - 2 * 2 = -3.
    KMatrix K;
    Fill(K, {{1, 2}, {2, 1}});
    Vektor F = VectorOf({1, 1});
    EXPECT_EQ(K.Solve(F), kSolveNonPositivePivot);
    EXPECT_EQ(K.Entry(1, 1), -3.0);
}

TEST(KMatrixPivots, APivotThatLostAlmostAllOfItsDiagonalIsZero) {
    // Rounding leaves a mechanism a tiny positive pivot, far above 1e-40:
    // here 1e-13 of the equation's own diagonal. It must not pass as solved.
    KMatrix nearlySingular;
    Fill(nearlySingular, {{1, 1}, {1, 1 + 1e-13}});
    Vektor F = VectorOf({1, 2});
    EXPECT_EQ(nearlySingular.Solve(F), kSolveZeroPivot);

    // A pivot that keeps 1e-9 of its diagonal is a stiff but sound system.
    KMatrix illConditioned;
    Fill(illConditioned, {{1, 1}, {1, 1 + 1e-9}});
    Vektor G = VectorOf({2, 2 + 1e-9});
    ASSERT_EQ(illConditioned.Solve(G), kSolveSolved);
    EXPECT_NEAR(G[0], 1.0, 1e-5);
    EXPECT_NEAR(G[1], 1.0, 1e-5);
}

// A soft equation coupled to a stiff one: what remains of it after the
// elimination is measured against the stiff diagonal, whose rounding it
// carries. 1e-15 is that rounding (although 1e-9 of its own diagonal);
// 1e-13 is a sound, if weak, stiffness.
TEST(KMatrixPivots, APivotAtTheRoundingOfACoupledStiffEquationIsZero) {
    KMatrix noise;
    Fill(noise, {{1, 1e-3}, {1e-3, 1e-6 + 1e-15}});
    Vektor F = VectorOf({1, 0});
    EXPECT_EQ(noise.Solve(F), kSolveZeroPivot);

    KMatrix weak;
    Fill(weak, {{1, 1e-3}, {1e-3, 1e-6 + 1e-13}});
    Vektor G = VectorOf({1e-3, 1e-6 + 1e-13});
    ASSERT_EQ(weak.Solve(G), kSolveSolved);
    EXPECT_NEAR(G[1], 1.0, 1e-2);
}

TEST(KMatrixScaling, TheLargestSignedDiagonalBecomesOne) {
    KMatrix K;
    Fill(K, {{8, 2}, {2, 4}});
    Vektor F = VectorOf({10, 6});
    EXPECT_EQ(K.ScaleSystem(F), 0.125);
    EXPECT_EQ(K.Entry(0, 0), 1.0);
    EXPECT_EQ(K.Entry(0, 1), 0.25);
    EXPECT_EQ(K.Entry(1, 1), 0.5);
    EXPECT_EQ(F[0], 1.25);
    EXPECT_EQ(F[1], 0.75);
}

TEST(KMatrixScaling, ScalingDoesNotChangeTheSolution) {
    KMatrix K;
    Fill(K, {{8e6, 2e6}, {2e6, 4e6}});
    Vektor F = VectorOf({10e6, 6e6});
    ASSERT_EQ(K.Solve(F), kSolveSolved);
    EXPECT_NEAR(F[0], 1.0, 1e-14);
    EXPECT_NEAR(F[1], 1.0, 1e-14);
}

TEST(KMatrixScaling, NoPositiveDiagonalLeavesTheSystemUnscaled) {
    KMatrix negative;
    Fill(negative, {{-2, 0}, {0, -4}});
    Vektor F = VectorOf({1, 1});
    EXPECT_EQ(negative.ScaleSystem(F), 1.0);
    EXPECT_EQ(negative.Entry(0, 0), -2.0);
    EXPECT_EQ(negative.Entry(1, 1), -4.0);
    EXPECT_EQ(F[0], 1.0);
    EXPECT_EQ(negative.DecomposeLDL(), kSolveNonPositivePivot);

    KMatrix zero;
    Fill(zero, {{0, 0}, {0, 0}});
    Vektor G = VectorOf({3, 3});
    EXPECT_EQ(zero.ScaleSystem(G), 1.0);
    EXPECT_EQ(G[0], 3.0);
}

TEST(KMatrixSolve, ARightHandSideOfTheWrongSizeIsRefused) {
    KMatrix K;
    Fill(K, {{2, 1}, {1, 2}});
    Vektor F = VectorOf({1});
    EXPECT_THROW(K.Solve(F), BalkorError);
    KMatrix unfinished;
    unfinished.Create(1);
    Vektor G = VectorOf({1});
    EXPECT_THROW(unfinished.Solve(G), BalkorError);
}

} // namespace

namespace {

// The elimination written plainly, row by row and column by column, with the
// profile looked up for every entry: the order the fast version must keep.
int PlainDecompose(std::vector<double>& values, const std::vector<int>& diag, int n,
                   int bandwidth) {
    auto height = [&](int c) { return diag[c + 1] - diag[c]; };
    auto in = [&](int i, int j) { return j - i < height(j); };
    auto at = [&](int i, int j) -> double& { return values[diag[j] + (j - i)]; };
    for (int i = 0; i < n; ++i) {
        double d = at(i, i);
        if (!(std::fabs(d) >= 1e-40))
            return 1;
        for (int j = i + 1; j < n && j < i + bandwidth; ++j) {
            if (!in(i, j))
                continue;
            double f = at(i, j) / d;
            for (int k = j; k < n && k < j + bandwidth; ++k)
                if (in(i, k))
                    at(j, k) -= f * at(i, k);
            at(i, j) = f;
        }
    }
    return 3;
}

// A diagonally dominant system with irregular column heights up to maxHeight,
// factored both ways, with threads threads (0: as many as DecomposeLDL takes).
void ExpectFactorsOfThePlainElimination(int n, int maxHeight, unsigned seed, int threads = 0) {
    KMatrix K;
    K.Create(n);
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % 1000 / 1000.0;
    };
    for (int c = 0; c < n; ++c)
        K.RaiseHeight(c, 1 + static_cast<int>(next() * std::min(c + 1, maxHeight)));
    K.FinishProfile();
    for (int c = 0; c < n; ++c) {
        for (int m = 1; m < K.Height(c); ++m)
            K.Entry(c - m, c) = next() - 0.5;
        K.Entry(c, c) = 20.0 + maxHeight * next();
    }
    std::vector<double> plain(K.values, K.values + K.EntryCount());
    std::vector<int> diag(K.diag, K.diag + n + 1);

    ASSERT_EQ(K.DecomposeLDL(threads), kSolveSolved);
    ASSERT_EQ(PlainDecompose(plain, diag, n, K.bandwidth), 3);
    for (int k = 0; k < K.EntryCount(); ++k)
        ASSERT_EQ(K.values[k], plain[k]) << "entry " << k << ", " << threads << " threads";
}

// Narrow and wide profiles, fewer and more equations than the rows
// eliminated together, a last block cut short.
TEST(KMatrixSolve, TheFactorsEqualThoseOfThePlainRowByRowEliminationExactly) {
    ExpectFactorsOfThePlainElimination(120, 17, 12345);
    ExpectFactorsOfThePlainElimination(7, 7, 99);
    ExpectFactorsOfThePlainElimination(KMatrix::kBlockRows * 5 + 3, 3, 7);
    ExpectFactorsOfThePlainElimination(400, 90, 2024);
}

// The columns behind each block of rows are shared by the threads; every
// entry still receives the same updates in the same order, whatever the
// number of threads, including more threads than columns in a pass.
TEST(KMatrixSolve, TheFactorsAreTheSameForAnyNumberOfThreads) {
    for (int threads : {1, 2, 7}) {
        ExpectFactorsOfThePlainElimination(1500, 120, 77, threads);
        ExpectFactorsOfThePlainElimination(KMatrix::kParallelBlockRows * 5 + 3, 3, 7, threads);
        ExpectFactorsOfThePlainElimination(400, 90, 2024, threads);
        ExpectFactorsOfThePlainElimination(9, 9, 5, threads);
    }
}

// A zero pivot is found at the same equation with threads as without.
TEST(KMatrixPivots, ThreadsReportTheSameZeroPivot) {
    for (int threads : {1, 2, 7}) {
        KMatrix K;
        const int n = 200;
        K.Create(n);
        for (int c = 0; c < n; ++c)
            K.RaiseHeight(c, std::min(c + 1, 60));
        K.FinishProfile();
        for (int c = 0; c < n; ++c)
            K.Entry(c, c) = c == 150 ? 0.0 : 100.0;
        EXPECT_EQ(K.DecomposeLDL(threads), kSolveZeroPivot) << threads << " threads";
    }
}

} // namespace
