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
#include <array>
#include <future>
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
        if (!SolveBlocks(group, lead, leadLoads, *solver, K, n, results))
            return false;
        pending = std::move(left);
        return true;
    }

    // The load cases of a block: loaded, then solved and checked for
    // equilibrium, then evaluated.
    struct Block {
        std::vector<Loaded> cases;
        std::vector<double> solutions; // column j: load vector, then solution of case j
        size_t count = 0;
    };

    // The group loaded, solved and evaluated a block at a time, in buffers
    // that every block reuses: the load vectors and solutions of all load
    // cases at once would be new memory, which costs more to map than to
    // compute. While a block is evaluated, a thread of its own solves the
    // next one and checks its equilibrium: that work reads only the
    // solver, the stiffness and the block, the evaluation only the model.
    bool SolveBlocks(const std::vector<int>& group, int lead, const Matrix& leadLoads,
                     EquationSolver& solver, const StiffnessEntries& K, int n,
                     std::vector<CaseResults>& results) {
        std::array<Block, 2> blocks;
        for (Block& block : blocks) {
            block.cases.resize(std::min(kBlock, group.size()));
            for (Loaded& loaded : block.cases)
                loaded.loads.Allocate(n, 1);
            block.solutions.resize(static_cast<size_t>(n) * block.cases.size());
        }
        auto solve = [this, &solver, &K, n](Block& block) {
            return std::async(
                std::launch::async | std::launch::deferred, [this, &solver, &K, n, &block] {
                    solver.SolveColumns(block.solutions.data(), n, static_cast<int>(block.count));
                    return Balanced(K, block, n);
                });
        };
        if (!LoadBlock(group, 0, lead, leadLoads, n, blocks[0]))
            return false;
        std::future<std::vector<char>> solved = solve(blocks[0]);
        for (size_t first = 0, b = 0;; ++b) {
            Block& block = blocks[b % 2];
            Block& next = blocks[(b + 1) % 2];
            const size_t nextFirst = first + block.count;
            const bool more = nextFirst < group.size();
            if (more && !LoadBlock(group, nextFirst, lead, leadLoads, n, next))
                return false;
            const std::vector<char> balanced = solved.get();
            if (more)
                solved = solve(next);
            if (!EvaluateBlock(block, balanced, n, results))
                return false;
            if (!more)
                return true;
            first = nextFirst;
        }
    }

    // The load cases group[first …] of one block into it.
    bool LoadBlock(const std::vector<int>& group, size_t first, int lead, const Matrix& leadLoads,
                   int n, Block& block) {
        block.count = std::min(kBlock, group.size() - first);
        for (size_t j = 0; j < block.count; ++j) {
            Loaded& loaded = block.cases[j];
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
            std::copy_n(loaded.loads.data, n, block.solutions.data() + j * static_cast<size_t>(n));
        }
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

    enum class Outcome { kOk, kNotFinite, kFailed /* and reported */ };

    // The block's load cases evaluated and checked, the first that fails
    // reported.
    bool EvaluateBlock(Block& b, const std::vector<char>& balanced, int n,
                       std::vector<CaseResults>& results) {
        size_t evaluated = 0;
        const Outcome outcome = s_.kept_.empty() ? EvaluateEach(b, n, results, evaluated)
                                                 : EvaluateTogether(b, n, results, evaluated);
        if (outcome == Outcome::kFailed)
            return false;
        // A load case fails on its first fault, the earlier load case first.
        for (size_t j = 0; j < evaluated; ++j) {
            if (outcome == Outcome::kNotFinite && j + 1 == evaluated) {
                Fail(kStageEvaluate, kNonFiniteMessage, b.cases[j].k);
                return false;
            }
            if (!balanced[j]) {
                Fail(kStageEvaluate, kUnbalancedMessage, b.cases[j].k);
                return false;
            }
        }
        return true;
    }

    // One load case after the other, up to the first that fails.
    Outcome EvaluateEach(Block& b, int n, std::vector<CaseResults>& results, size_t& evaluated) {
        for (; evaluated < b.count; ++evaluated) {
            Loaded& loaded = b.cases[evaluated];
            if (!Prepare(loaded.k))
                return Outcome::kFailed;
            for (int d = 0; d < s_.dofs.Count(); ++d)
                s_.dofs.Dof(d).nodeForce = loaded.nodeForces[static_cast<size_t>(d)];
            s_.elementLoads_ = std::move(loaded.elementLoads);
            s_.StoreDisplacements(b.solutions.data() + evaluated * static_cast<size_t>(n));
            s_.Evaluate();
            const Outcome outcome = Keep(loaded.k, results);
            if (outcome != Outcome::kOk) {
                ++evaluated;
                return outcome;
            }
        }
        return Outcome::kOk;
    }

    // The end forces of the block's load cases on the kept element data, read
    // once for all of them; then each load case checked and kept.
    Outcome EvaluateTogether(Block& b, int n, std::vector<CaseResults>& results,
                             size_t& evaluated) {
        const size_t count = b.count;
        std::vector<Loaded>& block = b.cases;
        const size_t dofCount = static_cast<size_t>(s_.dofs.Count());
        values_.resize(dofCount * count);
        std::vector<std::vector<double>> forces(count);
        std::vector<SolutionsCont::KeptCase> cases(count);
        for (size_t j = 0; j < count; ++j) {
            if (!Prepare(block[j].k))
                return Outcome::kFailed;
            double* values = values_.data() + j * dofCount;
            s_.StoreDisplacements(b.solutions.data() + j * static_cast<size_t>(n), values);
            cases[j] = {values, block[j].nodeForces.data(), &block[j].elementLoads, &forces[j], {}};
        }
        s_.EvaluateKeptCases(cases);
        for (; evaluated < count; ++evaluated) {
            const size_t j = evaluated;
            Loaded& loaded = block[j];
            if (!Prepare(loaded.k))
                return Outcome::kFailed;
            const double* values = values_.data() + j * dofCount;
            for (size_t d = 0; d < dofCount; ++d) {
                BCClass& dof = s_.dofs.Dof(static_cast<int>(d));
                dof.solvedValue = values[d];
                dof.nodeForce = loaded.nodeForces[d];
            }
            s_.elementLoads_ = std::move(loaded.elementLoads);
            s_.caseForces_ = std::move(forces[j]);
            s_.FinishEvaluation(cases[j].scales);
            // The finiteness check samples the elements with span loads, and
            // every element where the end values do not bound the others; the
            // last load case's forces stay in the elements as after a run of one.
            if (!s_.elementLoads_.AllZero() || !s_.UnloadedSpansFinite() || j + 1 == count)
                s_.ShowKeptForces(s_.caseForces_);
            const Outcome outcome = Keep(loaded.k, results);
            if (outcome != Outcome::kOk) {
                ++evaluated;
                return outcome;
            }
        }
        return Outcome::kOk;
    }

    // Load case k evaluated (active): checked for finite values and kept.
    Outcome Keep(int k, std::vector<CaseResults>& results) {
        if (!s_.ResultsFinite())
            return Outcome::kNotFinite;
        CaseResults& kept = results[static_cast<size_t>(k)];
        // The end forces the evaluation gathered move instead of a copy.
        const bool gathered = s_.caseForces_.size() == static_cast<size_t>(s_.elements.Count()) * 6;
        kept = s_.TakeCase(!gathered);
        if (gathered)
            kept.forces = std::move(s_.caseForces_);
        s_.caseForces_.clear();
        kept.divisionNodes = DivisionNodes(k);
        return Outcome::kOk;
    }

    // Whether K q balances the loads, for the load cases of the block: K q
    // from the entries of the upper triangle in the order of
    // SolutionsCont::MultiplyStiffness, the entries read once for all of them.
    std::vector<char> Balanced(const StiffnessEntries& K, const Block& block, int n) {
        const size_t stride = static_cast<size_t>(n);
        const size_t count = block.count;
        // Row by row, in buffers that every block reuses.
        q_.resize(stride * count);
        kq_.assign(q_.size(), 0.0);
        for (size_t j = 0; j < count; ++j)
            for (size_t r = 0; r < stride; ++r)
                q_[r * count + j] = block.solutions[j * stride + r];
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
            balanced[j] = LoadsBalanced(block.cases[j].loads.data, kq_.data() + j, n, count);
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
    std::vector<double> q_, kq_; // Balanced, on the solving thread
    std::vector<double> values_; // EvaluateTogether: the displacements of a block
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
