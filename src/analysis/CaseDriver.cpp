// A run of several load cases on one analysis model: the beams are divided
// at the point loads of all of them, so that every load case is evaluated at
// the same points, and the stiffness, which does not depend on the loads, is
// factorised once for all load cases that constrain the same components.

#include "analysis/DriverSteps.h"
#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Checks.h"
#include "model/Tables.h"

#include <algorithm>
#include <memory>
#include <utility>

// The constraint rows a load case adds (imposed displacements, hinge
// deformations) without their values: load cases with equal signatures
// eliminate to the same equations.
using RowSignature = std::vector<double>;

class SolutionsCont::CaseRun {
public:
    CaseRun(SolutionsCont& s, LoadCaseSource& source, CalcStatus* status, CalcResult& result)
        : s_(s), source_(source), status_(status), result_(result), cases_(source.CaseCount()) {}

    bool Run(std::vector<CaseResults>& results) {
        if (!CheckInput())
            return false;
        StartStage(status_, kStageElements);
        BuildUnionModel();
        s_.KeepElementData();
        s_.counters.loadCases = cases_;
        s_.counters.factorisations = 0;
        s_.ReportCounters(status_);
        StartStage(status_, kStageDofs);
        systemRows_ = s_.bcRows.Count();
        Signatures();
        results.assign(static_cast<size_t>(cases_), CaseResults());
        std::vector<int> pending(static_cast<size_t>(cases_));
        for (int k = 0; k < cases_; ++k)
            pending[static_cast<size_t>(k)] = k;
        while (!pending.empty())
            if (!SolveGroup(pending, results))
                return false;
        s_.ReportCounters(status_);
        return true;
    }

private:
    // Load cases solved and checked together.
    static constexpr size_t kBlock = 16;

    // What a load case leaves until its results are evaluated.
    struct Loaded {
        int k;
        Matrix loads;
        std::vector<double> nodeForces;
        ElementLoadTable elementLoads;
    };

    bool CheckInput() {
        if (InputFailed(CheckSystem(s_.input_), result_))
            return false;
        for (int k = 0; k < cases_; ++k) {
            source_.ActivateCase(k);
            if (InputFailed(CheckLoads(s_.input_), result_)) {
                result_.failedCase = k;
                return false;
            }
        }
        return true;
    }

    // The point loads of all load cases in one table while the beams are
    // divided; each load case then finds the analysis nodes of its own.
    void BuildUnionModel() {
        std::vector<std::vector<PointLoadRec>> own(static_cast<size_t>(cases_));
        for (int k = 0; k < cases_; ++k) {
            source_.ActivateCase(k);
            PointLoadClass& table = s_.input_.pointLoads;
            for (int j = 0; j < table.ValidCount(); ++j)
                own[static_cast<size_t>(k)].push_back(*table.ValidRow(j));
        }
        PointLoadClass& table = s_.input_.pointLoads;
        table.Reset();
        int row = 0;
        for (const std::vector<PointLoadRec>& loads : own)
            for (const PointLoadRec& load : loads)
                *table.RowRecord(row++) = load;
        table.InvalidateIndex();
        s_.Clear();
        s_.BuildModel();
        s_.counters.nodes = s_.nodes.Count();
        s_.counters.elements = s_.elements.Count();
        row = 0;
        loadNodes_.resize(static_cast<size_t>(cases_));
        for (int k = 0; k < cases_; ++k)
            for (size_t j = 0; j < own[static_cast<size_t>(k)].size(); ++j)
                loadNodes_[static_cast<size_t>(k)].push_back(table.RowRecord(row++)->loadNode);
        table.Reset();
    }

    // Load case k in the tables, its point loads on their nodes and its rows
    // behind the system's.
    void Activate(int k) {
        source_.ActivateCase(k);
        PointLoadClass& table = s_.input_.pointLoads;
        const std::vector<int32_t>& nodes = loadNodes_[static_cast<size_t>(k)];
        for (int j = 0; j < table.ValidCount() && j < static_cast<int>(nodes.size()); ++j)
            table.ValidRow(j)->loadNode = nodes[static_cast<size_t>(j)];
        s_.bcRows.Truncate(systemRows_);
        s_.AddLoadCaseRows();
    }

    void Signatures() {
        signatures_.resize(static_cast<size_t>(cases_));
        for (int k = 0; k < cases_; ++k) {
            Activate(k);
            RowSignature& signature = signatures_[static_cast<size_t>(k)];
            for (int r = systemRows_; r < s_.bcRows.Count(); ++r) {
                const OneBCContainer& row = s_.bcRows.Row(r);
                signature.push_back(row.Count());
                for (int t = 0; t < row.Count(); ++t) {
                    const BCTerm& term = row.Term(t);
                    signature.insert(signature.end(),
                                     {static_cast<double>(term.node),
                                      static_cast<double>(term.component), term.coefficient});
                }
            }
        }
    }

    bool Constrained(int k) const { return !signatures_[static_cast<size_t>(k)].empty(); }

    // The degrees of freedom of load case k (activated): its elimination
    // and the equation order of the group.
    bool Eliminate(int k) {
        if (s_.NumberDofs() != kEliminationOk) {
            Fail(kStageDofs, kContradictionMessage, k);
            return false;
        }
        if (renumbered_)
            s_.dofs.RenumberEquations(s_.stageThreeNumber_);
        eliminated_ = k;
        return true;
    }

    // Which equation every degree of freedom is (−1 for a dependent one).
    std::vector<int32_t> Equations() const {
        std::vector<int32_t> equations(static_cast<size_t>(s_.dofs.Count()));
        for (int d = 0; d < s_.dofs.Count(); ++d)
            equations[static_cast<size_t>(d)] =
                s_.dofs.Dof(d).dependent ? -1 : s_.dofs.Dof(d).equation;
        return equations;
    }

    // Load case k active with its own elimination in the table.
    bool Prepare(int k) {
        Activate(k);
        if (eliminated_ != k && Constrained(k))
            return Eliminate(k);
        return true;
    }

    void Fail(int stage, const char* message, int k) {
        FailStage(status_, stage, result_, message);
        result_.failedCase = k;
    }

    // One factorisation: the first pending load case and every other of the
    // same signature whose elimination gives the same equations.
    bool SolveGroup(std::vector<int>& pending, std::vector<CaseResults>& results) {
        const int lead = pending.front();
        Activate(lead);
        renumbered_ = false;
        if (!Eliminate(lead))
            return false;
        s_.counters.dofs = s_.dofs.Count();
        s_.counters.conditions = s_.dofs.Count() - s_.dofs.freeCount;
        s_.ReportCounters(status_);
        StartStage(status_, kStageOptimize);
        s_.solverKind_ = ChooseSolver(s_.dofs.freeCount);
        if (s_.solverKind_ == SolverKind::kProfile)
            renumbered_ = s_.OptimizeEquations();
        const std::vector<int32_t> equations = Equations();

        StartStage(status_, kStageStiffness);
        const int n = s_.dofs.freeCount;
        std::unique_ptr<EquationSolver> solver = MakeSolver(s_.solverKind_, n);
        Matrix leadLoads(n, 1);
        solver->Assemble(s_, leadLoads);
        s_.ReportSolver(*solver, status_);

        StartStage(status_, kStageLoads);
        std::vector<int> group;
        std::vector<int> left;
        for (int k : pending) {
            if (k != lead &&
                signatures_[static_cast<size_t>(k)] != signatures_[static_cast<size_t>(lead)]) {
                left.push_back(k);
                continue;
            }
            if (k != lead) {
                if (!Prepare(k))
                    return false;
                // Without rows of its own the lead's elimination stays.
                if (Constrained(k) && Equations() != equations) {
                    left.push_back(k);
                    continue;
                }
            }
            group.push_back(k);
        }

        StartStage(status_, kStageSolve);
        if (solver->Factorise() != kSolveSolved) {
            Fail(kStageSolve, kSingularMessage, lead);
            return false;
        }
        ++s_.counters.factorisations;

        StartStage(status_, kStageEvaluate);
        // The stiffness once for the equilibrium check of every load case.
        StiffnessEntries K;
        Matrix prescribed(n, 1);
        s_.AssembleStiffness(K, prescribed);
        // Loaded, solved and evaluated a block at a time, in buffers that
        // every block reuses: the load vectors and solutions of all load
        // cases at once would be new memory, which costs more to map than
        // to compute.
        const size_t stride = static_cast<size_t>(n);
        std::vector<Loaded> block(std::min(kBlock, group.size()));
        for (Loaded& loaded : block)
            loaded.loads.Allocate(n, 1);
        std::vector<double> solutions(stride * block.size());
        for (size_t first = 0; first < group.size(); first += kBlock) {
            const size_t count = std::min(kBlock, group.size() - first);
            for (size_t j = 0; j < count; ++j) {
                Loaded& loaded = block[j];
                const int k = group[first + j];
                if (!Prepare(k))
                    return false;
                if (k == lead) {
                    loaded.loads.CopyFrom(leadLoads);
                } else {
                    loaded.loads.Zero();
                    if (Constrained(k))
                        s_.AssemblePrescribed(loaded.loads);
                }
                LoadVector(k, loaded);
                std::copy_n(loaded.loads.data, n, solutions.data() + j * stride);
            }
            solver->SolveColumns(solutions.data(), n, static_cast<int>(count));
            const std::vector<char> balanced = Balanced(K, block, count, solutions, n);
            for (size_t j = 0; j < count; ++j)
                if (!Evaluate(block[j], solutions.data() + j * stride, balanced[j], results))
                    return false;
        }
        pending = std::move(left);
        return true;
    }

    // The load vector of load case k (prepared) added to loaded.loads, its
    // recorded node forces and its element loads.
    void LoadVector(int k, Loaded& loaded) {
        for (int d = 0; d < s_.dofs.Count(); ++d)
            s_.dofs.Dof(d).nodeForce = 0.0;
        s_.AssembleLoads(loaded.loads);
        loaded.k = k;
        loaded.elementLoads = s_.elementLoads_.Take();
        loaded.nodeForces.resize(static_cast<size_t>(s_.dofs.Count()));
        for (int d = 0; d < s_.dofs.Count(); ++d)
            loaded.nodeForces[static_cast<size_t>(d)] = s_.dofs.Dof(d).nodeForce;
    }

    bool Evaluate(Loaded& loaded, const double* q, bool balanced,
                  std::vector<CaseResults>& results) {
        const int k = loaded.k;
        if (!Prepare(k))
            return false;
        for (int d = 0; d < s_.dofs.Count(); ++d)
            s_.dofs.Dof(d).nodeForce = loaded.nodeForces[static_cast<size_t>(d)];
        s_.elementLoads_ = std::move(loaded.elementLoads);
        s_.StoreDisplacements(q);
        s_.Evaluate();
        if (!s_.ResultsFinite()) {
            Fail(kStageEvaluate, kNonFiniteMessage, k);
            return false;
        }
        if (!balanced) {
            Fail(kStageEvaluate, kUnbalancedMessage, k);
            return false;
        }
        CaseResults& kept = results[static_cast<size_t>(k)];
        // The end forces the evaluation gathered move instead of a copy.
        const bool gathered = s_.caseForces_.size() == static_cast<size_t>(s_.elements.Count()) * 6;
        kept = s_.TakeCase(!gathered);
        if (gathered)
            kept.forces = std::move(s_.caseForces_);
        s_.caseForces_.clear();
        kept.divisionNodes = DivisionNodes(k);
        return true;
    }

    // Whether K q balances the loads, for the first count load cases of the
    // block: K q from the entries of the upper triangle in the order of
    // SolutionsCont::MultiplyStiffness, the entries read once for all of them.
    std::vector<char> Balanced(const StiffnessEntries& K, const std::vector<Loaded>& block,
                               size_t count, const std::vector<double>& solutions, int n) {
        const size_t stride = static_cast<size_t>(n);
        // Row by row, in buffers that every block reuses.
        q_.resize(stride * count);
        kq_.assign(q_.size(), 0.0);
        for (size_t j = 0; j < count; ++j)
            for (size_t r = 0; r < stride; ++r)
                q_[r * count + j] = solutions[j * stride + r];
        for (size_t i = 0; i < K.values.size(); ++i) {
            const size_t row = static_cast<size_t>(K.rows[i]);
            const size_t column = static_cast<size_t>(K.columns[i]);
            const double value = K.values[i];
            double* out = &kq_[row * count];
            const double* in = &q_[column * count];
            for (size_t j = 0; j < count; ++j)
                out[j] += value * in[j];
            if (row != column) {
                out = &kq_[column * count];
                in = &q_[row * count];
                for (size_t j = 0; j < count; ++j)
                    out[j] += value * in[j];
            }
        }
        std::vector<char> balanced(count, 0);
        for (size_t j = 0; j < count; ++j)
            balanced[j] = LoadsBalanced(block[j].loads.data, kq_.data() + j, n, count);
        return balanced;
    }

    // The nodes at which load case k alone divides its beams.
    std::vector<char> DivisionNodes(int k) const {
        std::vector<char> marks(static_cast<size_t>(s_.nodes.Count()), 0);
        auto mark = [&marks](int node) {
            if (node >= 0 && node < static_cast<int>(marks.size()))
                marks[static_cast<size_t>(node)] = 1;
        };
        for (int e = 0; e < s_.elements.Count(); ++e)
            if (s_.elements[e].nextElement < 0)
                mark(s_.elements[e].endNode);
        for (int node : loadNodes_[static_cast<size_t>(k)])
            mark(node);
        HingesClass& hinges = s_.input_.hinges;
        for (int j = 0; j < hinges.ValidCount(); ++j) {
            mark(hinges.ValidRow(j)->sideA);
            mark(hinges.ValidRow(j)->sideB);
        }
        return marks;
    }

    SolutionsCont& s_;
    LoadCaseSource& source_;
    CalcStatus* status_;
    CalcResult& result_;
    const int cases_;
    int systemRows_ = 0;
    int eliminated_ = -1; // the load case whose elimination the table holds
    bool renumbered_ = false;
    std::vector<std::vector<int32_t>> loadNodes_; // per load case, per valid point load
    std::vector<RowSignature> signatures_;
    std::vector<double> q_, kq_; // Balanced
};

CalcResult SolutionsCont::CalculateCases(LoadCaseSource& source, std::vector<CaseResults>& results,
                                         CalcStatus* status) {
    CalcResult result;
    results.clear();
    CaseRun run(*this, source, status, result);
    const bool ok = run.Run(results);
    std::vector<KeptElement>().swap(kept_);
    std::vector<double>().swap(caseForces_);
    FinishRun(ok, status, result);
    return result;
}

CaseResults SolutionsCont::TakeCase() const {
    return TakeCase(true);
}

CaseResults SolutionsCont::TakeCase(bool withForces) const {
    CaseResults r;
    // Reserved and appended: a sized vector would first be zeroed.
    r.solved.reserve(static_cast<size_t>(dofs.Count()));
    r.nodeForces.reserve(static_cast<size_t>(dofs.Count()));
    MapStorage(r.solved);
    MapStorage(r.nodeForces);
    for (int d = 0; d < dofs.Count(); ++d) {
        r.solved.push_back(dofs.Dof(d).solvedValue);
        r.nodeForces.push_back(dofs.Dof(d).nodeForce);
    }
    if (withForces) {
        r.forces.reserve(static_cast<size_t>(elements.Count()) * 6);
        for (int e = 0; e < elements.Count(); ++e)
            r.forces.insert(r.forces.end(), std::begin(elements[e].forces),
                            std::end(elements[e].forces));
    }
    // Most load cases of a run of many load nodes only: the element loads
    // are then kept as none, which the evaluation reads as all zero.
    const std::vector<ElementLoads>& loads = elementLoads_.Entries();
    if (!elementLoads_.AllZero() &&
        std::any_of(loads.begin(), loads.end(), [](const ElementLoads& l) {
            return l.sums.any || l.temperatures > 0 ||
                   std::any_of(std::begin(l.vector), std::end(l.vector),
                               [](double v) { return v != 0.0; });
        }))
        r.loads = loads;
    r.divisionNodes = divisionNodes_;
    return r;
}

void SolutionsCont::ShowCase(const CaseResults& r) {
    std::vector<double>().swap(caseForces_);
    for (int d = 0; d < dofs.Count() && d < static_cast<int>(r.solved.size()); ++d) {
        dofs.Dof(d).solvedValue = r.solved[static_cast<size_t>(d)];
        dofs.Dof(d).nodeForce = r.nodeForces[static_cast<size_t>(d)];
    }
    for (int e = 0; e < elements.Count() && 6 * e + 5 < static_cast<int>(r.forces.size()); ++e)
        std::copy_n(r.forces.begin() + 6 * e, 6, elements[e].forces);
    elementLoads_.Assign(r.loads);
    divisionNodes_ = r.divisionNodes;
    MeasureResultScales();
    resultsValid = 1;
}

CaseResults CaseResults::ZeroLike(const CaseResults& like) {
    CaseResults zero;
    zero.solved.assign(like.solved.size(), 0.0);
    zero.nodeForces.assign(like.nodeForces.size(), 0.0);
    zero.forces.assign(like.forces.size(), 0.0);
    zero.divisionNodes.assign(like.divisionNodes.size(), 0);
    return zero;
}

namespace {

void AddScaledLoads(ElementLoads& sum, const ElementLoads& part, double factor) {
    sum.sums.qa += factor * part.sums.qa;
    sum.sums.qb += factor * part.sums.qb;
    sum.sums.ma += factor * part.sums.ma;
    sum.sums.mb += factor * part.sums.mb;
    sum.sums.any =
        sum.sums.qa != 0.0 || sum.sums.qb != 0.0 || sum.sums.ma != 0.0 || sum.sums.mb != 0.0;
    for (int i = 0; i < 6; ++i)
        sum.vector[i] += factor * part.vector[i];
    // The temperature deflection is linear in dT: one difference, the sum.
    sum.temperatureSum += factor * part.temperatureSum;
    sum.temperatureDT = sum.temperatureSum;
    sum.temperatures = sum.temperatureSum != 0.0 ? 1 : 0;
}

} // namespace

void CaseResults::AddScaled(const CaseResults& other, double factor) {
    for (size_t i = 0; i < solved.size() && i < other.solved.size(); ++i) {
        solved[i] += factor * other.solved[i];
        nodeForces[i] += factor * other.nodeForces[i];
    }
    for (size_t i = 0; i < forces.size() && i < other.forces.size(); ++i)
        forces[i] += factor * other.forces[i];
    if (loads.size() < other.loads.size())
        loads.resize(other.loads.size());
    for (size_t i = 0; i < loads.size() && i < other.loads.size(); ++i)
        AddScaledLoads(loads[i], other.loads[i], factor);
    if (factor != 0.0)
        for (size_t i = 0; i < divisionNodes.size() && i < other.divisionNodes.size(); ++i)
            divisionNodes[i] = static_cast<char>(divisionNodes[i] | other.divisionNodes[i]);
}

size_t CaseResults::Bytes() const {
    return sizeof(double) * (solved.size() + nodeForces.size() + forces.size()) +
           sizeof(ElementLoads) * loads.size() + divisionNodes.size();
}
