#pragma once

#include <memory>

class Matrix;
class SolutionsCont;

// The two ways of solving the global system K q = F: the profile LDLᵀ of
// small systems and the sparse supernodal Cholesky (CHOLMOD) of large ones.
enum class SolverKind { kProfile, kSparse };

// What a solver reports to the status window once the matrix is assembled.
struct SolverFigures {
    long memoryBytes = 0; // profile: stored entries × 8; sparse: the factor's values and indices
    long bandwidth = 0;   // profile only: the largest column height
    long factorNonZeros = 0; // sparse only: the non-zeros of the Cholesky factor
    double factorFlops = 0;  // sparse only: floating-point operations of the factorisation
};

// One system of a run: assembled once, factorised once, then solved for any
// number of right-hand sides without assembling or factorising again.
class EquationSolver {
public:
    virtual ~EquationSolver() = default;
    virtual SolverKind Kind() const = 0;
    // The stiffness of the model's free degrees of freedom; F (n × 1) receives
    // the terms of the prescribed displacements.
    virtual void Assemble(const SolutionsCont& model, Matrix& F) = 0;
    virtual SolverFigures Figures() const = 0;
    // A SolveResult: kSolveSolved, or a zero or non-positive pivot.
    virtual int Factorise() = 0;
    // After kSolveSolved: every column of B (n × k) becomes the solution for
    // that right-hand side.
    virtual void Solve(Matrix& B) = 0;
    // The same for k right-hand sides of n entries stored one after the
    // other (column by column), as Solve would solve them as the columns of B.
    virtual void SolveColumns(double* columns, int n, int k);
};

// Systems of at least this many equations go to the sparse solver. Where
// the two break even depends on the structure (docs/performance.md,
// bench_solvers): grillages with nodes inside their beams (hinges, point
// loads) at about 2,500 equations, plain grids, whose node order is already
// a narrow profile, at about 15,000. The lower figure is taken: from it on
// the sparse factor needs less memory, every further right-hand side costs
// a quarter or less, and a plain grid between the two loses at most some
// 30 ms of factorisation.
inline constexpr int kSparseSolverEquations = 3000;

// BALKOR_SOLVER=profile|sparse when set, otherwise by the number of equations.
SolverKind ChooseSolver(int equations);
std::unique_ptr<EquationSolver> MakeSolver(SolverKind kind, int equations);
