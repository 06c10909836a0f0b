#include "analysis/Constraints.h"

#include "analysis/Matrix.h"
#include "model/BalkorError.h"

#include <cmath>
#include <numeric>
#include <utility>

void OneBCContainer::AddTerm(int node, int component, double coefficient) {
    const BCTerm term{node, component, coefficient};
    Append(&term, 1);
}

BCContainer::~BCContainer() {
    Release();
}

OneBCContainer* BCContainer::AddRow() {
    auto* row = new OneBCContainer();
    Append(&row, 1);
    return row;
}

void BCContainer::Release() {
    for (int i = 0; i < Count(); ++i)
        delete &Row(i);
    Clear();
}

void BCClass::AddDependency(double coefficient, int dof) {
    const DependencyTerm term{coefficient, dof};
    Append(&term, 1);
}

void FGFieldCont::Empty() {
    size_ = 0;
    expansionConstant = 0.0;
}

void FGFieldCont::AddTerm(int equation, double coefficient) {
    const ExpansionTerm term{equation, coefficient};
    if (size_ < Count())
        Put(&term, size_, 1);
    else
        Append(&term, 1);
    ++size_;
}

FGTabCont::~FGTabCont() {
    Release();
}

int FGTabCont::AppendDof() {
    auto* dof = new BCClass(Count());
    Append(&dof, 1);
    return Count() - 1;
}

void FGTabCont::Release() {
    for (int i = 0; i < Count(); ++i)
        delete &Dof(i);
    Clear();
    freeCount = 0;
    flat_.clear();
    equationDof_.clear();
}

void FGTabCont::NumberEquations() {
    equationDof_.clear();
    int counter = 0;
    for (int i = 0; i < Count(); ++i) {
        BCClass& dof = Dof(i);
        if (dof.dependent == 0) {
            dof.equation = counter++;
            equationDof_.push_back(i);
        } else {
            dof.equation = -1;
        }
    }
    freeCount = counter;
    FlattenDependents();
}

void FGTabCont::FlattenDependents() {
    flat_.assign(Count(), Flat());
    std::vector<double> sum(freeCount, 0.0);
    std::vector<char> seen(freeCount, 0);
    std::vector<int32_t> touched;
    auto add = [&](int equation, double coefficient) {
        if (!seen[equation]) {
            seen[equation] = 1;
            touched.push_back(equation);
        }
        sum[equation] += coefficient;
    };
    // Dependencies point to higher indices, so those are flat already.
    for (int d = Count() - 1; d >= 0; --d) {
        const BCClass& dof = Dof(d);
        if (!dof.dependent)
            continue;
        Flat& flat = flat_[d];
        flat.constant = dof.constant;
        for (int k = 0; k < dof.Count(); ++k) {
            const DependencyTerm& term = dof.Dependency(k);
            const BCClass& other = Dof(term.dof);
            if (!other.dependent) {
                add(other.equation, -term.coefficient);
                continue;
            }
            const Flat& inner = flat_[term.dof];
            for (const ExpansionTerm& t : inner.terms)
                add(t.equation, -term.coefficient * t.coefficient);
            flat.constant += -term.coefficient * inner.constant;
        }
        flat.terms.reserve(touched.size());
        for (int32_t equation : touched) {
            flat.terms.push_back({equation, sum[equation]});
            sum[equation] = 0.0;
            seen[equation] = 0;
        }
        touched.clear();
    }
}

void FGTabCont::Expand(int d, FGFieldCont& out) const {
    out.Empty();
    const BCClass& dof = Dof(d);
    if (!dof.dependent) {
        out.AddTerm(dof.equation, 1.0);
        return;
    }
    // Not numbered (the elimination found a contradiction): nothing to expand.
    if (static_cast<size_t>(d) >= flat_.size())
        return;
    const Flat& flat = flat_[d];
    for (const ExpansionTerm& term : flat.terms)
        out.AddTerm(term.equation, term.coefficient);
    out.expansionConstant = flat.constant;
}

double FGTabCont::DofValue(int d) const {
    const BCClass& dof = Dof(d);
    if (!dof.dependent || static_cast<size_t>(d) >= flat_.size())
        return dof.solvedValue;
    const Flat& flat = flat_[d];
    double value = -flat.constant;
    for (const ExpansionTerm& term : flat.terms)
        value += term.coefficient * Dof(equationDof_[term.equation]).solvedValue;
    return value;
}

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
int EliminateConstraints(const BCContainer& rows, FGTabCont& dofs) {
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
