#include "analysis/EquationSolver.h"

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
