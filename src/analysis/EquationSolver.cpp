#include "analysis/EquationSolver.h"

#include "analysis/Matrix.h"

#include <cstdlib>
#include <cstring>

std::unique_ptr<EquationSolver> MakeProfileSolver(int equations);
std::unique_ptr<EquationSolver> MakeSparseSolver(int equations);

SolverKind ChooseSolver(int equations) {
    if (const char* forced = std::getenv("BALKOR_SOLVER")) {
        if (std::strcmp(forced, "profile") == 0)
            return SolverKind::kProfile;
        if (std::strcmp(forced, "sparse") == 0)
            return SolverKind::kSparse;
    }
    return equations >= kSparseSolverEquations ? SolverKind::kSparse : SolverKind::kProfile;
}

std::unique_ptr<EquationSolver> MakeSolver(SolverKind kind, int equations) {
    return kind == SolverKind::kSparse ? MakeSparseSolver(equations) : MakeProfileSolver(equations);
}

void EquationSolver::SolveColumns(double* columns, int n, int k) {
    Matrix B(n, k);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < k; ++c)
            B(r, c) = columns[static_cast<size_t>(c) * n + r];
    Solve(B);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < k; ++c)
            columns[static_cast<size_t>(c) * n + r] = B(r, c);
}
