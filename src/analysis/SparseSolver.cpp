// The sparse direct solver: the stiffness of the free degrees of freedom in
// compressed columns (upper triangle), CHOLMOD's fill-reducing ordering (AMD,
// METIS where that fills less) and its supernodal Cholesky factor, kept for
// any number of right-hand sides.

#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/Matrix.h"
#include "analysis/PivotRule.h"
#include "analysis/SolutionsCont.h"
#include "model/BalkorError.h"

#include <algorithm>
#include <cholmod.h>
#include <cstring>
#include <dlfcn.h>
#include <numeric>
#include <vector>

namespace {

const char* const kMemoryMessage = "Nicht genug Speicher";
const char* const kInternalMessage = "Interner Fehler des Gleichungslösers";

// Below this many floating-point operations (a tenth of a second on one
// core) the factor's supernodes are too small for threads of the BLAS: on a
// 100 x 100 grid (0.3e9) OpenBLAS's second thread doubled the CPU time, most
// of it spent waiting in the kernel, and won no wall time.
constexpr double kThreadedFactorFlops = 1e9;

// OpenBLAS's threads for a factorisation of that many operations: one for a
// small factor, otherwise as many as OpenBLAS chose at start. Looked up at
// run time: where the system's BLAS is another, nothing is changed.
void ChooseBlasThreads(double flops) {
    using SetThreads = void (*)(int);
    using GetThreads = int (*)();
    static const auto set =
        reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "openblas_set_num_threads"));
    static const auto get =
        reinterpret_cast<GetThreads>(dlsym(RTLD_DEFAULT, "openblas_get_num_threads"));
    static const int initial = get ? get() : 1;
    if (set)
        set(flops < kThreadedFactorFlops ? 1 : initial);
}

class SparseSolver : public EquationSolver {
public:
    explicit SparseSolver(int equations) : n_(equations) {
        cholmod_start(&common_);
        common_.supernodal = CHOLMOD_SUPERNODAL;
        // Failures are reported through the status, not printed.
        common_.print = 0;
        common_.quick_return_if_not_posdef = 1;
    }

    ~SparseSolver() override {
        cholmod_free_dense(&x_, &common_);
        cholmod_free_dense(&y_, &common_);
        cholmod_free_dense(&e_, &common_);
        cholmod_free_factor(&factor_, &common_);
        cholmod_free_sparse(&matrix_, &common_);
        cholmod_finish(&common_);
    }

    SparseSolver(const SparseSolver&) = delete;
    SparseSolver& operator=(const SparseSolver&) = delete;

    SolverKind Kind() const override { return SolverKind::kSparse; }

    void Assemble(const SolutionsCont& model, Matrix& F) override {
        StiffnessEntries entries;
        model.AssembleStiffness(entries, F);
        Compress(entries);
        factor_ = cholmod_analyze(matrix_, &common_);
        Check();
    }

    SolverFigures Figures() const override {
        SolverFigures figures;
        if (!factor_)
            return figures;
        figures.memoryBytes =
            static_cast<long>(factor_->xsize * sizeof(double) + factor_->ssize * sizeof(int));
        figures.factorNonZeros = static_cast<long>(common_.lnz);
        figures.factorFlops = common_.fl;
        return figures;
    }

    int Factorise() override {
        if (n_ == 0)
            return kSolveSolved;
        ChooseBlasThreads(common_.fl);
        cholmod_factorize(matrix_, factor_, &common_);
        if (common_.status == CHOLMOD_NOT_POSDEF)
            return kSolveNonPositivePivot;
        Check();
        return HasZeroPivot() ? kSolveZeroPivot : kSolveSolved;
    }

    void Solve(Matrix& B) override {
        const int k = B.cols;
        if (n_ == 0 || k == 0)
            return;
        cholmod_dense* b = cholmod_allocate_dense(n_, k, n_, CHOLMOD_REAL, &common_);
        Check();
        double* column = static_cast<double*>(b->x);
        for (int r = 0; r < n_; ++r)
            for (int c = 0; c < k; ++c)
                column[static_cast<size_t>(c) * n_ + r] = B(r, c);
        cholmod_solve2(CHOLMOD_A, factor_, b, nullptr, &x_, nullptr, &y_, &e_, &common_);
        cholmod_free_dense(&b, &common_);
        Check();
        const double* solution = static_cast<const double*>(x_->x);
        for (int r = 0; r < n_; ++r)
            for (int c = 0; c < k; ++c)
                B(r, c) = solution[static_cast<size_t>(c) * n_ + r];
    }

    // CHOLMOD keeps dense matrices column by column: the right-hand sides
    // go in as they are, without the two transpositions of Solve.
    void SolveColumns(double* columns, int n, int k) override {
        if (n != n_) {
            EquationSolver::SolveColumns(columns, n, k);
            return;
        }
        if (n_ == 0 || k == 0)
            return;
        cholmod_dense b{};
        b.nrow = static_cast<size_t>(n_);
        b.ncol = static_cast<size_t>(k);
        b.nzmax = b.nrow * b.ncol;
        b.d = b.nrow;
        b.x = columns;
        b.xtype = CHOLMOD_REAL;
        b.dtype = CHOLMOD_DOUBLE;
        cholmod_solve2(CHOLMOD_A, factor_, &b, nullptr, &x_, nullptr, &y_, &e_, &common_);
        Check();
        std::memcpy(columns, x_->x, sizeof(double) * b.nzmax);
    }

private:
    // The entries summed per position into sorted compressed columns.
    void Compress(const StiffnessEntries& entries) {
        const size_t count = entries.values.size();
        std::vector<int> start(static_cast<size_t>(n_) + 1, 0);
        for (int32_t column : entries.columns)
            ++start[static_cast<size_t>(column) + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        std::vector<int> order(count);
        std::vector<int> next(start.begin(), start.end() - 1);
        for (size_t e = 0; e < count; ++e)
            order[static_cast<size_t>(next[static_cast<size_t>(entries.columns[e])]++)] =
                static_cast<int>(e);

        // The diagonal of every column is stored, zero or not, so that the
        // factor has a pivot for every equation.
        matrix_ = cholmod_allocate_sparse(n_, n_, count + static_cast<size_t>(n_), 1, 1, 1,
                                          CHOLMOD_REAL, &common_);
        Check();
        int* p = static_cast<int*>(matrix_->p);
        int* i = static_cast<int*>(matrix_->i);
        double* x = static_cast<double*>(matrix_->x);
        diagonal_.assign(static_cast<size_t>(n_), 0.0);
        int stored = 0;
        for (int c = 0; c < n_; ++c) {
            p[c] = stored;
            auto first = order.begin() + start[static_cast<size_t>(c)];
            auto last = order.begin() + start[static_cast<size_t>(c) + 1];
            std::stable_sort(first, last, [&](int a, int b) {
                return entries.rows[static_cast<size_t>(a)] < entries.rows[static_cast<size_t>(b)];
            });
            for (auto e = first; e != last; ++e) {
                const int row = entries.rows[static_cast<size_t>(*e)];
                if (stored == p[c] || i[stored - 1] != row) {
                    i[stored] = row;
                    x[stored++] = 0.0;
                }
                x[stored - 1] += entries.values[static_cast<size_t>(*e)];
            }
            if (stored == p[c] || i[stored - 1] != c) {
                i[stored] = c;
                x[stored++] = 0.0;
            }
            diagonal_[static_cast<size_t>(c)] = x[stored - 1];
        }
        p[n_] = stored;
    }

    // A pivot of the factor (the square of its diagonal) that the pivot rule
    // takes for zero, against the matrix scaled to a largest diagonal of 1.
    bool HasZeroPivot() const {
        const double largest = *std::max_element(diagonal_.begin(), diagonal_.end());
        const double scale = largest > 0.0 ? 1.0 / largest : 1.0;
        const std::vector<double> coupled = CoupledDiagonals();
        const int* perm = static_cast<const int*>(factor_->Perm);
        const int* super = static_cast<const int*>(factor_->super);
        const int* pi = static_cast<const int*>(factor_->pi);
        const int* px = static_cast<const int*>(factor_->px);
        const double* lx = static_cast<const double*>(factor_->x);
        for (size_t s = 0; s < factor_->nsuper; ++s) {
            const int rows = pi[s + 1] - pi[s];
            for (int k = super[s]; k < super[s + 1]; ++k) {
                const int local = k - super[s];
                const double l = lx[px[s] + static_cast<size_t>(local) * rows + local];
                const double original = diagonal_[static_cast<size_t>(perm[k])];
                if (IsZeroPivot(l * l * scale, original * scale,
                                coupled[static_cast<size_t>(k)] * scale))
                    return true;
            }
        }
        return false;
    }

    // For every column of the factor (in its order) the largest original
    // diagonal among the columns that update it: a supernode's columns update
    // every row of its pattern, its own columns included.
    std::vector<double> CoupledDiagonals() const {
        std::vector<double> coupled(static_cast<size_t>(n_), 0.0);
        const int* perm = static_cast<const int*>(factor_->Perm);
        const int* super = static_cast<const int*>(factor_->super);
        const int* pi = static_cast<const int*>(factor_->pi);
        const int* pattern = static_cast<const int*>(factor_->s);
        for (size_t s = 0; s < factor_->nsuper; ++s) {
            double largest = 0.0;
            for (int k = super[s]; k < super[s + 1]; ++k)
                largest = std::max(largest, diagonal_[static_cast<size_t>(perm[k])]);
            for (int r = pi[s]; r < pi[s + 1]; ++r) {
                double& entry = coupled[static_cast<size_t>(pattern[r])];
                entry = std::max(entry, largest);
            }
        }
        return coupled;
    }

    // Failures other than an indefinite matrix end the run.
    void Check() const {
        if (common_.status == CHOLMOD_OUT_OF_MEMORY || common_.status == CHOLMOD_TOO_LARGE)
            throw BalkorError(kMemoryMessage);
        if (common_.status < CHOLMOD_OK)
            throw BalkorError(kInternalMessage);
    }

    int n_;
    cholmod_common common_;
    cholmod_sparse* matrix_ = nullptr;
    cholmod_factor* factor_ = nullptr;
    std::vector<double> diagonal_;
    cholmod_dense* x_ = nullptr;
    cholmod_dense* y_ = nullptr;
    cholmod_dense* e_ = nullptr;
};

} // namespace

std::unique_ptr<EquationSolver> MakeSparseSolver(int equations) {
    return std::make_unique<SparseSolver>(equations);
}
