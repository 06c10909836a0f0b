#include "DenseElimination.h"

#include "analysis/Matrix.h"
#include "model/BalkorError.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

// The first column j in [from, columns) with |row[j]| ≥ ε, else columns.
int LeadingIndex(const double* row, int from, int columns) {
    for (int j = from; j < columns; ++j)
        if (std::fabs(row[j]) >= kConstraintEpsilon)
            return j;
    return columns;
}

// The dense constraint matrix: one line per row, the constant in column D.
void FillConstraintMatrix(const BCContainer& rows, int dofCount, Matrix& m) {
    m.Allocate(rows.Count(), dofCount + 1);
    for (int r = 0; r < rows.Count(); ++r) {
        const OneBCContainer& row = rows.Row(r);
        for (int t = 0; t < row.Count(); ++t) {
            const BCTerm& term = row.Term(t);
            const long column = 3L * term.node + term.component;
            if (term.node < 0 || term.component < 0 || term.component >= kComponents ||
                column >= dofCount)
                throw BalkorError("Randbedingung an unbekanntem Knoten");
            m(r, static_cast<int>(column)) = term.coefficient;
        }
        m(r, dofCount) = row.rowConstant;
    }
}

// Subtracts f × pivot from line from column k on; tiny results become 0.
void EliminateLine(double* line, const double* pivot, int k, int last) {
    const double f = line[k] / pivot[k];
    for (int j = k; j <= last; ++j) {
        const double v = line[j] - f * pivot[j];
        line[j] = std::fabs(v) < kConstraintEpsilon ? 0.0 : v;
    }
}

} // namespace

// Dense Gaussian elimination with pivoting by the smallest leading index.
// Lines are reached through an order list, so swapping and removing a line
// moves indices only; the leading index of every line is kept up to date.
int EliminateConstraintsDense(const BCContainer& rows, FGTabCont& dofs) {
    const int D = dofs.Count();
    if (rows.Count() == 0)
        return kEliminationOk;
    Matrix m;
    FillConstraintMatrix(rows, D, m);
    auto line = [&](int r) { return m.data + static_cast<size_t>(r) * (D + 1); };

    // Lines without any coefficient: contradiction or redundant.
    std::vector<int> order;
    std::vector<int> lead;
    for (int r = 0; r < rows.Count(); ++r) {
        const int k = LeadingIndex(line(r), 0, D);
        if (k == D) {
            if (std::fabs(line(r)[D]) > kConstraintEpsilon)
                return kEliminationContradiction;
            continue;
        }
        order.push_back(r);
        lead.push_back(k);
    }

    for (size_t p = 0; p + 1 < order.size(); ++p) {
        size_t best = p;
        for (size_t r = p + 1; r < order.size(); ++r)
            if (lead[r] < lead[best])
                best = r;
        std::swap(order[p], order[best]);
        std::swap(lead[p], lead[best]);
        const int k = lead[p];
        const double* pivot = line(order[p]);
        for (size_t l = p + 1; l < order.size();) {
            double* current = line(order[l]);
            // ≥ rather than >: a coefficient of exactly ε counts as leading, so
            // it must be eliminated, or two lines would define the same one.
            if (std::fabs(current[k]) >= kConstraintEpsilon) {
                EliminateLine(current, pivot, k, D);
                lead[l] = LeadingIndex(current, k, D);
            }
            if (lead[l] == D) {
                if (std::fabs(current[D]) > kConstraintEpsilon)
                    return kEliminationContradiction;
                order.erase(order.begin() + static_cast<long>(l));
                lead.erase(lead.begin() + static_cast<long>(l));
                continue;
            }
            ++l;
        }
    }

    for (size_t s = 0; s < order.size(); ++s) {
        const double* row = line(order[s]);
        const int i = lead[s];
        BCClass& dof = dofs.Dof(i);
        dof.dependent = 1;
        for (int j = i + 1; j < D; ++j)
            if (std::fabs(row[j]) > kConstraintEpsilon)
                dof.AddDependency(row[j] / row[i], j);
        dof.constant = row[D] / row[i];
    }
    return kEliminationOk;
}
