#include "traffic/TrafficAnalysis.h"

#include "analysis/DriverSteps.h"
#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "protocols/ResultValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Below this relative position a point load stands on its element's start
// node: the node takes it, and the element's values there do not see it.
constexpr double kAtStart = 1e-12;

// The values at t of an element clamped at both ends under the load P at
// alpha (relative to its length L): w, Q, M. At t = alpha the values left of
// the load, as the divided beam gives them at its node.
void Clamped(double P, double alpha, double t, double L, double EI, double v[3]) {
    const double beta = 1.0 - alpha;
    if (t <= alpha + 1e-12) {
        v[0] = P * L * L * L * beta * beta * t * t * (3 * alpha - 3 * alpha * t - beta * t) /
               (6.0 * EI);
        v[1] = P * beta * beta * (3 * alpha + beta);
        v[2] = P * L * (-alpha * beta * beta + beta * beta * (3 * alpha + beta) * t);
    } else {
        const double u = 1.0 - t;
        v[0] = P * L * L * L * alpha * alpha * u * u * (3 * beta - 3 * beta * u - alpha * u) /
               (6.0 * EI);
        v[1] = -P * alpha * alpha * (alpha + 3 * beta);
        v[2] = P * L * (-beta * alpha * alpha + alpha * alpha * (3 * beta + alpha) * u);
    }
}

// The equivalent nodal loads in global axes of P at alpha on an element.
void PointLoadVector(const ElementFrame& frame, double P, double alpha, Matrix& F6) {
    const double beta = 1.0 - alpha, L = frame.length;
    double f[6] = {P * beta,  P * L * alpha * beta * beta,   0.0,
                   P * alpha, -P * L * alpha * alpha * beta, 0.0};
    for (int i = 0; i < 6; ++i)
        F6[i] = 0.0;
    FinishLoadVector(frame, f, F6);
}

bool Integer(const std::string& text, int& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool Real(const std::string& text, double& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size() &&
           std::isfinite(value);
}

} // namespace

size_t TrafficExtremes::Bytes() const {
    return sizeof(double) *
               (max.size() + min.size() + maxConcurrent.size() + minConcurrent.size()) +
           sizeof(int) * (maxAt.size() + minAt.size());
}

bool ParseInfluenceTarget(const std::string& text, InfluenceTarget& target, std::string& error) {
    target = InfluenceTarget();
    target.text = text;
    auto fail = [&](size_t position) {
        error = "Ungültige Einflussgröße bei Zeichen " + std::to_string(position + 1) + ": \"" +
                text + "\" (w:node=N, R:node=N, Q:beam=B:xi=X, M:… oder T:…)";
        return false;
    };
    if (text.size() < 2 || std::string("wRQMT").find(text[0]) == std::string::npos ||
        text[1] != ':')
        return fail(0);
    target.quantity = text[0];
    const bool atNode = target.quantity == 'w' || target.quantity == 'R';
    bool node = false, beam = false, xi = false;
    size_t start = 2;
    while (start <= text.size()) {
        size_t end = text.find(':', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        const size_t equals = part.find('=');
        const std::string key = part.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : part.substr(equals + 1);
        const size_t at = start + (equals == std::string::npos ? 0 : equals + 1);
        if (atNode && key == "node" && !node) {
            if (!Integer(value, target.node) || target.node < 1)
                return fail(at);
            node = true;
        } else if (!atNode && key == "beam" && !beam) {
            if (!Integer(value, target.beam) || target.beam < 1)
                return fail(at);
            beam = true;
        } else if (!atNode && key == "xi" && !xi) {
            if (!Real(value, target.xi) || target.xi < 0 || target.xi > 1)
                return fail(at);
            xi = true;
        } else {
            return fail(start);
        }
        start = end + 1;
    }
    if (atNode ? !node : !(beam && xi))
        return fail(text.size() - 1);
    return true;
}

TrafficAnalysis::TrafficAnalysis(InputModel& input)
    : input_(input), solutions_(std::make_unique<SolutionsCont>(input)) {}

TrafficAnalysis::~TrafficAnalysis() = default;

CalcResult TrafficAnalysis::Prepare(CalcStatus* status) {
    CalcResult result;
    input_.ResetLoadCase();
    SolutionsCont& s = *solutions_;
    if (s.PrepareModel(status, result) != kStageOk)
        return result;
    s.KeepElementData();
    const int n = s.dofs.freeCount;
    solver_ = MakeSolver(ChooseSolver(n), n);
    Matrix F(n, 1);
    solver_->Assemble(s, F);
    const SolverFigures figures = solver_->Figures();
    s.counters.sparse = solver_->Kind() == SolverKind::kSparse;
    s.counters.memoryBytes = figures.memoryBytes;
    s.counters.bandwidth = figures.bandwidth;
    s.counters.factorNonZeros = figures.factorNonZeros;
    if (status)
        status->CountersChanged(s.counters);
    StartStage(status, kStageSolve);
    if (solver_->Factorise() != kSolveSolved) {
        FailStage(status, kStageSolve, result, kSingularMessage);
        solver_.reset();
        return result;
    }
    // The element load table of the empty load case: the evaluation reads
    // the (zero) span loads from it instead of searching the load records.
    s.AssembleLoads(F);
    layout_ = MakeEnvelopeLayout(input_);
    elementPoints_.assign(static_cast<size_t>(s.elements.Count()), {});
    pointElements_.clear();
    flexibility_.clear();
    for (const EnvelopeLayout::Beam& beam : layout_.beams)
        for (long m = 0; m <= beam.n; ++m) {
            const BeamPoint p = PointOnBeam(s, beam.beam, EvaluationPoint(m, beam.n));
            elementPoints_[static_cast<size_t>(p.element)].push_back(
                {beam.first + static_cast<size_t>(m), p.t});
            pointElements_.push_back({p.element, p.t});
            const SolElement& element = s.elements[p.element];
            const MatRec& section = CrossSection(element, input_);
            const double L = LengthOf(s.Ends(element));
            flexibility_.push_back(L / (6.0 * (section.Iy * section.E / L)));
        }
    reactionNodes_.clear();
    for (int number : layout_.reactionNodes)
        reactionNodes_.push_back(input_.nodes.RowRecord(number - 1)->calcNode);
    s.resultsValid = 1;
    result.ok = true;
    if (status)
        status->StageFinished(kStageEvaluate, true);
    return result;
}

namespace {

bool OnElement(SolutionsCont& s, InputModel& input, const LoadShare& share, int& element,
               double& alpha) {
    if (share.beam < 1 || share.beam > input.beams.Count() ||
        !input.beams.IsRowUsed(share.beam - 1) ||
        input.beams.RowRecord(share.beam - 1)->firstElement < 0)
        return false;
    const double xi = std::clamp(share.xi, 0.0, 1.0);
    element = s.ElementAt(share.beam, xi);
    const SolElement& e = s.elements[element];
    const double span = e.xiEnd - e.xiStart;
    alpha = span > 0 ? std::clamp((xi - e.xiStart) / span, 0.0, 1.0) : 0.0;
    return true;
}

int AnalysisNodeOf(InputModel& input, int number) {
    if (number < 1 || number > input.nodes.Count() || !input.nodes.IsRowUsed(number - 1))
        return -1;
    return input.nodes.RowRecord(number - 1)->calcNode;
}

} // namespace

void TrafficAnalysis::AddShares(const std::vector<LoadShare>& shares, Matrix& F, bool record) {
    SolutionsCont& s = *solutions_;
    Matrix F6(6, 1);
    for (const LoadShare& share : shares) {
        if (share.node > 0) {
            const int node = AnalysisNodeOf(input_, share.node);
            if (node >= 0)
                s.AddLoad(share.load, node, kWz, F, record);
            continue;
        }
        int e = -1;
        double alpha = 0.0;
        if (!OnElement(s, input_, share, e, alpha))
            continue;
        const SolElement& element = s.elements[e];
        PointLoadVector(s.Frame(e), share.load, alpha, F6);
        for (int c = 0; c < kComponents; ++c) {
            s.AddLoad(F6[c], element.startNode, c, F, record);
            s.AddLoad(F6[3 + c], element.endNode, c, F, record);
        }
    }
}

void TrafficAnalysis::Load(const std::vector<LoadShare>& shares, Matrix& F) {
    AddShares(shares, F, false);
}

void TrafficAnalysis::Evaluate(const std::vector<LoadShare>& shares, const Matrix& q,
                               double* values) {
    SolutionsCont& s = *solutions_;
    for (int d = 0; d < s.dofs.Count(); ++d)
        s.dofs.Dof(d).nodeForce = 0.0;
    // Only the recorded node forces are wanted of it.
    if (scratch_.rows != q.rows)
        scratch_.Allocate(q.rows, 1);
    AddShares(shares, scratch_, true);
    s.StoreDisplacements(q);
    s.Evaluate();
    // EnvelopeValues with the elements of the points found once, and the
    // deflection of an element without span loads (all of them here) as
    // Deflection computes it, with its flexibility kept.
    size_t at = 0;
    // The scales of the noise rule, as the evaluation measures them
    // (MeasureResultScales): a value within 1e-10 of its unit's largest is 0.
    double scale = 0.0, force = 0.0, moment = 0.0;
    auto larger = [](double& largest, double value) {
        value = std::fabs(value);
        largest = value > largest ? value : largest;
    };
    for (int d = 0; d < s.dofs.Count(); ++d) {
        const bool deflection = d % kComponents == kWz;
        if (deflection)
            larger(scale, s.dofs.Dof(d).solvedValue);
        larger(deflection ? force : moment, s.dofs.Dof(d).nodeForce);
    }
    for (int e = 0; e < s.elements.Count(); ++e) {
        const double* f = s.elements[e].forces;
        larger(force, f[kQs]);
        larger(force, f[kQe]);
        for (int k : {kMs, kTs, kMe, kTe})
            larger(moment, f[k]);
    }
    for (size_t p = 0; p < pointElements_.size(); ++p) {
        const auto [element, t] = pointElements_[p];
        const SolElement& e = s.elements[element];
        const double tb = 1.0 - t;
        const double w = tb * s.NodeValue(e.startNode, kWz) + t * s.NodeValue(e.endNode, kWz) +
                         flexibility_[p] * ((tb - tb * tb * tb) * e.forces[kMs] +
                                            (t - t * t * t) * e.forces[kMe]);
        values[at++] = std::fabs(w) <= 1e-10 * scale ? 0.0 : w;
        // SectionForce of an element without span loads.
        for (int kind = 1; kind <= 3; ++kind) {
            const double v = (1.0 - t) * e.forces[kind - 1] + t * e.forces[kind + 2];
            values[at++] = std::fabs(v) <= 1e-10 * (kind == 1 ? force : moment) ? 0.0 : v;
        }
    }
    for (int node : reactionNodes_)
        for (int c = 0; c < kReactionQuantities; ++c)
            values[at++] = s.NodeForce(node, c);
    for (const LoadShare& share : shares) {
        int e = -1;
        double alpha = 0.0;
        if (share.node > 0 || !OnElement(s, input_, share, e, alpha) || alpha <= kAtStart)
            continue;
        const SolElement& element = s.elements[e];
        const MatRec& section = CrossSection(element, input_);
        const double L = s.Frame(e).length;
        for (const auto& [point, t] : elementPoints_[static_cast<size_t>(e)]) {
            double v[3];
            Clamped(share.load, alpha, t, L, section.E * section.Iy, v);
            for (int k = 0; k < 3; ++k)
                values[point * kBeamQuantities + static_cast<size_t>(k)] += v[k];
        }
    }
}

std::vector<double> TrafficAnalysis::Values(const std::vector<LoadShare>& shares) {
    Matrix F(solutions_->dofs.freeCount, 1);
    Load(shares, F);
    solver_->Solve(F);
    std::vector<double> values(layout_.beamPoints * kBeamQuantities +
                               layout_.reactionNodes.size() * kReactionQuantities);
    Evaluate(shares, F, values.data());
    return values;
}

TrafficExtremes TrafficAnalysis::Run(const std::vector<std::vector<LoadShare>>& positions) {
    TrafficExtremes x;
    x.layout = layout_;
    x.positions = static_cast<int>(positions.size());
    const size_t beamValues = layout_.beamPoints * kBeamQuantities;
    const size_t count = beamValues + layout_.reactionNodes.size() * kReactionQuantities;
    x.max.assign(count, 0.0);
    x.min.assign(count, 0.0);
    x.maxAt.assign(count, -1);
    x.minAt.assign(count, -1);
    x.maxConcurrent.assign(count * kBeamQuantities, 0.0);
    x.minConcurrent.assign(count * kBeamQuantities, 0.0);
    const int n = solutions_->dofs.freeCount;
    // Right-hand sides solved together in blocks: one pass over the factor
    // serves many positions, and the block stays small beside the factor.
    constexpr size_t kBlock = 32;
    // The values of a few positions side by side: the extremes are read and
    // written once for all of them instead of once per position.
    constexpr size_t kReduce = 8;
    std::vector<double> rows(kReduce * count);
    auto reduce = [&](size_t used, int firstAt) {
        auto update = [&](size_t i, size_t place, int width) {
            double largest = x.max[i], smallest = x.min[i];
            int maxRow = -1, minRow = -1;
            for (size_t r = 0; r < used; ++r) {
                const double value = rows[r * count + i];
                const bool first = firstAt + static_cast<int>(r) == 0;
                if (first || value > largest) {
                    largest = value;
                    maxRow = static_cast<int>(r);
                }
                if (first || value < smallest) {
                    smallest = value;
                    minRow = static_cast<int>(r);
                }
            }
            const long concurrent = static_cast<long>(i * kBeamQuantities);
            if (maxRow >= 0) {
                x.max[i] = largest;
                x.maxAt[i] = firstAt + maxRow;
                std::copy_n(rows.begin() +
                                static_cast<long>(static_cast<size_t>(maxRow) * count + place),
                            width, x.maxConcurrent.begin() + concurrent);
            }
            if (minRow >= 0) {
                x.min[i] = smallest;
                x.minAt[i] = firstAt + minRow;
                std::copy_n(rows.begin() +
                                static_cast<long>(static_cast<size_t>(minRow) * count + place),
                            width, x.minConcurrent.begin() + concurrent);
            }
        };
        for (size_t place = 0; place < beamValues; place += kBeamQuantities)
            for (int q = 0; q < kBeamQuantities; ++q)
                update(place + static_cast<size_t>(q), place, kBeamQuantities);
        for (size_t place = beamValues; place < count; place += kReactionQuantities)
            for (int q = 0; q < kReactionQuantities; ++q)
                update(place + static_cast<size_t>(q), place, kReactionQuantities);
    };
    for (size_t first = 0; first < positions.size(); first += kBlock) {
        const size_t k = std::min(kBlock, positions.size() - first);
        Matrix B(n, static_cast<int>(k));
        Matrix F(n, 1);
        for (size_t j = 0; j < k; ++j) {
            for (int r = 0; r < n; ++r)
                F[r] = 0.0;
            Load(positions[first + j], F);
            for (int r = 0; r < n; ++r)
                B(r, static_cast<int>(j)) = F[r];
        }
        solver_->Solve(B);
        for (size_t j = 0; j < k; ++j) {
            for (int r = 0; r < n; ++r)
                F[r] = B(r, static_cast<int>(j));
            const size_t row = j % kReduce;
            Evaluate(positions[first + j], F, rows.data() + row * count);
            if (row + 1 == kReduce || j + 1 == k)
                reduce(row + 1, static_cast<int>(first + j - row));
        }
    }
    return x;
}

void TrafficAnalysis::AddDual(Matrix& G, int dof, double x) const {
    FGFieldCont expansion;
    solutions_->Expand(dof, expansion);
    for (int t = 0; t < expansion.Size(); ++t)
        G[expansion.Term(t).equation] += expansion.Term(t).coefficient * x;
}

bool TrafficAnalysis::Influence(const InfluenceTarget& target, InfluenceSurface& surface,
                                std::string& error) {
    SolutionsCont& s = *solutions_;
    surface = InfluenceSurface();
    surface.target = target;
    surface.layout = layout_;
    const int n = s.dofs.freeCount;
    Matrix G(n, 1);
    int targetNode = -1, targetElement = -1;
    double targetT = 0.0;
    if (target.quantity == 'w' || target.quantity == 'R') {
        targetNode = AnalysisNodeOf(input_, target.node);
        if (targetNode < 0) {
            error = "Einflussfläche " + target.text + ": Knoten " + std::to_string(target.node) +
                    " gibt es nicht oder kein Stab schließt an";
            return false;
        }
        const NodeRec& rec = *input_.nodes.RowRecord(target.node - 1);
        if (target.quantity == 'w') {
            s.AddLoad(1.0, targetNode, kWz, G, false);
        } else {
            if (!rec.fixZ) {
                error = "Einflussfläche " + target.text + ": Knoten " +
                        std::to_string(target.node) + " ist nicht in z gelagert";
                return false;
            }
            // A node of a hinge chain takes the sum of the chain's forces, which
            // the dual load below does not hold.
            HingesClass& hinges = input_.hinges;
            for (int k = 0; k < hinges.ValidCount(); ++k)
                if (hinges.ValidRow(k)->sideA == targetNode ||
                    hinges.ValidRow(k)->sideB == targetNode) {
                    error = "Einflussfläche " + target.text + ": Knoten " +
                            std::to_string(target.node) + " liegt an einem Gelenk";
                    return false;
                }
            // The reaction is the sum of the end forces of the elements at the
            // node: the dual load is their stiffness rows of wz.
            Matrix Ke(6, 6);
            for (int e = 0; e < s.elements.Count(); ++e) {
                const SolElement& element = s.elements[e];
                for (int end = 0; end < 2; ++end) {
                    if ((end ? element.endNode : element.startNode) != targetNode)
                        continue;
                    Stiffness(element, s.Ends(element), input_, Ke);
                    for (int j = 0; j < 6; ++j)
                        AddDual(G, s.ElementDof(element, j), Ke(3 * end + kWz, j));
                }
            }
        }
    } else {
        if (target.beam > input_.beams.Count() || !input_.beams.IsRowUsed(target.beam - 1) ||
            input_.beams.RowRecord(target.beam - 1)->firstElement < 0) {
            error = "Einflussfläche " + target.text + ": Stab " + std::to_string(target.beam) +
                    " gibt es nicht";
            return false;
        }
        const BeamPoint p = PointOnBeam(s, target.beam, target.xi);
        targetElement = p.element;
        targetT = p.t;
        const SolElement& element = s.elements[targetElement];
        Matrix Ke(6, 6);
        Stiffness(element, s.Ends(element), input_, Ke);
        const ElementFrame frame = s.Frame(targetElement);
        // Section force = (1 − t)·start + t·end of the end forces, which are
        // ± the local components of K u (as the evaluation turns them).
        const int kind = target.quantity == 'Q' ? 1 : target.quantity == 'M' ? 2 : 3;
        const int startRow = kind - 1, endRow = kind + 2;
        const double startSign = kind == 1 ? -1.0 : 1.0, endSign = kind == 1 ? 1.0 : -1.0;
        Matrix column(6, 1);
        for (int j = 0; j < 6; ++j) {
            for (int i = 0; i < 6; ++i)
                column[i] = Ke(i, j);
            TransformVector(column, frame.c, frame.s);
            const double g =
                (1.0 - targetT) * startSign * column[startRow] + targetT * endSign * column[endRow];
            AddDual(G, s.ElementDof(element, j), g);
        }
    }
    solver_->Solve(G);
    s.StoreDisplacements(G);
    auto value = [&s](int node, int c) {
        return s.dofs.Dof(s.nodes[node].firstDof + c).solvedValue;
    };

    // A unit load at every beam point: its nodal loads against the dual
    // solution, and its own local part where the target sees it directly.
    Matrix F6(6, 1);
    surface.beamValues.assign(layout_.beamPoints, 0.0);
    for (const EnvelopeLayout::Beam& beam : layout_.beams)
        for (long m = 0; m <= beam.n; ++m) {
            const LoadShare unit{beam.beam, EvaluationPoint(m, beam.n), 0, 1.0};
            int e = -1;
            double alpha = 0.0;
            OnElement(s, input_, unit, e, alpha);
            const SolElement& element = s.elements[e];
            PointLoadVector(s.Frame(e), 1.0, alpha, F6);
            double eta = 0.0;
            for (int c = 0; c < kComponents; ++c)
                eta += F6[c] * value(element.startNode, c) + F6[3 + c] * value(element.endNode, c);
            if (target.quantity == 'R') {
                if (element.startNode == targetNode)
                    eta -= F6[kWz];
                if (element.endNode == targetNode)
                    eta -= F6[3 + kWz];
            } else if (targetElement == e && alpha > kAtStart && target.quantity != 'T' &&
                       target.quantity != 'w') {
                const MatRec& section = CrossSection(element, input_);
                double v[3];
                Clamped(1.0, alpha, targetT, s.Frame(e).length, section.E * section.Iy, v);
                eta += target.quantity == 'Q' ? v[1] : v[2];
            }
            surface.beamValues[beam.first + static_cast<size_t>(m)] = eta;
        }
    for (int k = 0; k < input_.nodes.ValidCount(); ++k) {
        const NodeRec& rec = *input_.nodes.ValidRow(k);
        if (rec.calcNode < 0)
            continue;
        surface.nodes.push_back(input_.nodes.IndexOf(&rec) + 1);
        surface.nodeValues.push_back(value(rec.calcNode, kWz) -
                                     (target.quantity == 'R' && rec.calcNode == targetNode));
    }
    return true;
}
