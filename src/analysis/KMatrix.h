#pragma once

#include "analysis/Matrix.h"

#include <cstdint>

// Result codes of KMatrix::Solve and KMatrix::DecomposeLDL.
enum SolveResult : int {
    kSolveZeroPivot = 1,        // an equation lost (nearly) all of its stiffness
    kSolveNonPositivePivot = 2, // the system is not positive definite
    kSolveSolved = 3,
};

// The global stiffness matrix of n symmetric equations in profile (skyline)
// storage: the upper triangle column by column, each column from its diagonal
// upward over its height. Element (i, j), i <= j, lies in the profile when
// j - i < height(j) and is stored at values[diag[j] + (j - i)].
//
// Life of a matrix during one analysis run:
//   Create(n); RaiseHeight(c, h) for every column (or write diag[c + 1]);
//   FinishProfile(); add entries (Entry / values); Solve(F); Release().
class KMatrix {
public:
    double* values = nullptr; // diag[n] entries, owned
    int32_t ownsDiag = 0;
    int32_t bandwidth = 0; // largest supplied column height
    int32_t n = 0;
    // Before FinishProfile: diag[c + 1] is the height of column c, diag[0] = 0.
    // After it: diag[c] is the position of the diagonal of column c in values
    // and diag[n] the number of stored entries.
    int32_t* diag = nullptr;

    // Rows the factorisation eliminates together, column by column: on one
    // thread, and on several (fewer rounds in which the threads meet).
    static constexpr int kBlockRows = 16;
    static constexpr int kParallelBlockRows = 32;

    KMatrix() = default;
    KMatrix(const KMatrix&) = delete;
    KMatrix& operator=(const KMatrix&) = delete;
    ~KMatrix() { Release(); }

    // n equations with all heights 0; throws BalkorError "Nicht genug Speicher".
    void Create(int n);
    // Before FinishProfile: raises the height of column c to at least height.
    void RaiseHeight(int column, int height);
    // Turns the heights into positions (a height 0 becomes 1) and allocates
    // the zeroed entries; throws BalkorError "Speicher" when that fails.
    void FinishProfile();
    void Release();

    // After FinishProfile.
    int32_t Height(int column) const { return diag[column + 1] - diag[column]; }
    bool InProfile(int row, int column) const {
        return row <= column && column - row < Height(column);
    }
    // Element (row, column) with row <= column inside the profile.
    double& Entry(int row, int column) { return values[diag[column] + (column - row)]; }
    double Entry(int row, int column) const { return values[diag[column] + (column - row)]; }
    int64_t EntryCount() const { return diag ? diag[n] : 0; }
    // The memory figure shown to the user: stored entries * 8 bytes.
    int64_t MemoryBytes() const { return EntryCount() * 8; }

    // Solves K u = F in place (F: n x 1, the solution on result kSolveSolved).
    // K and F are left partly transformed after any other result.
    int Solve(Matrix& F);

    // Steps of Solve, public for the tests and the benchmark.
    // Scales K and F so that the largest signed diagonal becomes 1; returns the factor.
    double ScaleSystem(Matrix& F);
    // The same for K alone: the factor that every right-hand side is then
    // multiplied by (Substitute(F, factor)).
    double ScaleMatrix();
    // In-place K = L D L^T, row by row; returns a SolveResult. threads: 0
    // takes one per usable core where the system is large enough to gain
    // from them. The factors are the same to the bit for any thread count.
    int DecomposeLDL(int threads = 0);
    // Threads DecomposeLDL(0) takes for this matrix.
    int AutomaticThreads() const;
    // Forward and backward substitution with the factors; F := factor * F first.
    void Substitute(Matrix& F, double factor);

private:
    void RequireRightHandSide(const Matrix& F) const;
    // largest[k]: the largest value[i] over the rows i of column k's profile.
    void ProfileMaxima(const double* value, double* largest) const;
    struct Workspace;
    // Eliminates the rows first ... last − 1 from the columns from ... to − 1
    // (all of them, column after column); checks the pivots of the block's
    // own columns against their original diagonals.
    int EliminateColumns(int first, int last, int from, int to, Workspace& w);
    // Rows applied together to a column by EliminateFused.
    static constexpr int kFusedRows = 8;
    void EliminateFused(int first, int i, int k, double* column, Workspace& w);
    // The same elimination split for threads, for a column k at or behind
    // last: first the block's own rows of the column (its factors), then,
    // once every column has its factors, the rows at or behind last.
    void ReduceBlockRows(int first, int last, int k, Workspace& w);
    const double* RecordFactor(int first, int i, int offset, int height, const double* column,
                               Workspace& w) const;
    void UpdateRowsBehind(int first, int last, int k, Workspace& w);
    // The end of the columns that the rows first ... last − 1 reach.
    int BlockEnd(int last, const Workspace& w) const;
    int DecomposeParallel(int threads, Workspace& w);
};
