// The profile LDLᵀ behind the solver interface: the arithmetic of
// KMatrix::Solve, with the scaling factor kept for every right-hand side.

#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/SolutionsCont.h"

namespace {

class ProfileSolver : public EquationSolver {
public:
    explicit ProfileSolver(int equations) { K_.Create(equations); }

    SolverKind Kind() const override { return SolverKind::kProfile; }

    void Assemble(const SolutionsCont& model, Matrix& F) override {
        model.ProfileHeights(K_);
        K_.FinishProfile();
        model.AssembleStiffness(K_, F);
    }

    SolverFigures Figures() const override {
        SolverFigures figures;
        figures.memoryBytes = static_cast<long>(K_.MemoryBytes());
        figures.bandwidth = K_.bandwidth;
        return figures;
    }

    int Factorise() override {
        factor_ = K_.ScaleMatrix();
        return K_.DecomposeLDL();
    }

    void Solve(Matrix& B) override {
        if (B.cols == 1) {
            K_.Substitute(B, factor_);
            return;
        }
        Matrix column(K_.n, 1);
        for (int c = 0; c < B.cols; ++c) {
            for (int r = 0; r < K_.n; ++r)
                column[r] = B(r, c);
            K_.Substitute(column, factor_);
            for (int r = 0; r < K_.n; ++r)
                B(r, c) = column[r];
        }
    }

private:
    KMatrix K_;
    double factor_ = 1.0;
};

} // namespace

std::unique_ptr<EquationSolver> MakeProfileSolver(int equations) {
    return std::make_unique<ProfileSolver>(equations);
}
