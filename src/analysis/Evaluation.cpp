// Results of a solved run: displacements of every degree of freedom, section
// forces at the element ends, node forces (support reactions) and the values
// along the elements that the protocols and drawings ask for.

#include "analysis/DriverSteps.h"
#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/BalkorError.h"
#include "model/Tables.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

// The sample positions of the largest values over all elements.
constexpr double kMaxSamples[] = {0.0, 0.25, 0.5, 0.75, 1.0};

} // namespace

void SolutionsCont::StoreDisplacements(const Matrix& q) {
    StoreDisplacements(q.data);
}

void SolutionsCont::StoreDisplacements(const double* q, double* copy) {
    for (int d = 0; d < dofs.Count(); ++d) {
        BCClass& dof = dofs.Dof(d);
        if (!dof.dependent)
            dof.solvedValue = q[dof.equation];
        if (copy)
            copy[d] = dof.solvedValue;
    }
    for (int d = 0; d < dofs.Count(); ++d) {
        BCClass& dof = dofs.Dof(d);
        if (dof.dependent) {
            dof.solvedValue = DofValue(d);
            if (copy)
                copy[d] = dof.solvedValue;
        }
    }
}

void SolutionsCont::Evaluate() {
    scales_ = {};
    if (kept_.empty()) {
        EvaluateElementForces();
        SumHingeForces();
        MeasureResultScales();
        return;
    }
    const int count = dofs.Count();
    dofValues_.resize(static_cast<size_t>(count));
    dofForces_.resize(static_cast<size_t>(count));
    for (int d = 0; d < count; ++d) {
        const BCClass& dof = dofs.Dof(d);
        dofValues_[static_cast<size_t>(d)] = dof.solvedValue;
        dofForces_[static_cast<size_t>(d)] = dof.nodeForce;
    }
    std::vector<KeptCase> one{{dofValues_.data(), dofForces_.data(), &elementLoads_, &caseForces_}};
    caseForces_.clear();
    EvaluateKeptCases(one);
    for (int d = 0; d < count; ++d)
        dofs.Dof(d).nodeForce = dofForces_[static_cast<size_t>(d)];
    ShowKeptForces(caseForces_);
    FinishEvaluation(one.front().scales);
}

void SolutionsCont::FinishEvaluation(ResultScales elementScales) {
    SumHingeForces();
    // The largest of a set does not depend on the order it is taken in.
    MeasureDofScales(elementScales);
    scales_ = elementScales;
}

namespace {

// Both solvers agree to about 1e-13 of the largest value of a model; values
// below this fraction of it are rounding noise.
constexpr double kResultNoise = 1e-10;

} // namespace

namespace {

// std::fmax for a largest so far that is never NaN (a NaN value leaves it),
// without the library call.
double Larger(double largest, double value) {
    return value > largest ? value : largest;
}

// The element's end forces into the scales of their units.
void MeasureElement(const double (&forces)[6], double& force, double& moment, bool& finite) {
    for (int k : {kQs, kQe})
        force = Larger(force, std::fabs(forces[k]));
    for (int k : {kMs, kTs, kMe, kTe})
        moment = Larger(moment, std::fabs(forces[k]));
    for (double value : forces)
        finite &= std::isfinite(value);
}

} // namespace

void SolutionsCont::MeasureDofScales(ResultScales& scales) const {
    for (int d = 0; d < dofs.Count(); ++d) {
        const BCClass& dof = dofs.Dof(d);
        const bool deflection = d % kComponents == kWz;
        double& value = deflection ? scales.deflection : scales.rotation;
        value = Larger(value, std::fabs(dof.solvedValue));
        double& force = deflection ? scales.force : scales.moment;
        force = Larger(force, std::fabs(dof.nodeForce));
        scales.finite &= std::isfinite(dof.solvedValue) & std::isfinite(dof.nodeForce);
    }
}

void SolutionsCont::MeasureResultScales() {
    ResultScales scales;
    MeasureDofScales(scales);
    for (int e = 0; e < elements.Count(); ++e)
        MeasureElement(elements[e].forces, scales.force, scales.moment, scales.finite);
    scales_ = scales;
}

double SolutionsCont::Settled(double value, double scale) const {
    return std::fabs(value) <= kResultNoise * scale ? 0.0 : value;
}

double SolutionsCont::ForceScale(int kind) const {
    return kind == 1 ? scales_.force : scales_.moment;
}

namespace {

// The end forces in local components in the beam sign convention (the same
// sign at both ends for a constant internal force).
void SetSectionForces(const double* p, double (&forces)[6]) {
    forces[kQs] = -p[0];
    forces[kMs] = p[1];
    forces[kTs] = p[2];
    forces[kQe] = p[3];
    forces[kMe] = -p[4];
    forces[kTe] = -p[5];
}

} // namespace

// End forces p = Ke u − f in global components go to the nodes; in local
// components they become the section forces in the beam sign convention (the
// same sign at both ends for a constant internal force).
void SolutionsCont::EvaluateElementForces() {
    Matrix Ke(6, 6);
    Matrix u(6, 1);
    Matrix f(6, 1);
    Matrix p(6, 1);
    caseForces_.clear();
    for (int e = 0; e < elements.Count(); ++e) {
        SolElement& element = elements[e];
        const ElementEnds ends = Ends(element);
        for (int i = 0; i < 6; ++i)
            u[i] = DofValue(element.DofIndex(i, ends));
        Stiffness(element, ends, input_, Ke);
        ElementLoadVector(e, f);
        p.CopyFrom(Ke.Multiply(u));
        p.Subtract(f);
        for (int k = 0; k < kComponents; ++k) {
            dofs.Dof(ends.start.firstDof + k).nodeForce += p[k];
            dofs.Dof(ends.end.firstDof + k).nodeForce += p[3 + k];
        }
        const ElementFrame frame = FrameOf(ends);
        TransformVector(p, frame.c, frame.s);
        SetSectionForces(p.data, element.forces);
    }
}

// The end forces of a run of several load cases, the same sums in the same
// order as EvaluateElementForces, without looking up each element's nodes
// and degrees of freedom in their tables, and each element's kept data read
// once for all the load cases: streaming it from memory costs more than the
// arithmetic done with it.
void SolutionsCont::EvaluateKeptCases(std::vector<KeptCase>& cases) {
    const size_t forceCount = static_cast<size_t>(elements.Count()) * 6;
    for (KeptCase& c : cases) {
        c.forces->reserve(c.forces->size() + forceCount);
        MapStorage(*c.forces);
        c.scales = {};
    }
    // The load cases take a run of elements in turn: its kept data stays in
    // the cache for all of them, and so do the load cases' values at its nodes.
    constexpr int kRun = 256;
    Matrix f(6, 1);
    for (int first = 0; first < elements.Count(); first += kRun) {
        const int last = std::min(elements.Count(), first + kRun);
        for (KeptCase& c : cases)
            for (int e = first; e < last; ++e)
                EvaluateKeptElement(e, c, f);
    }
}

void SolutionsCont::EvaluateKeptElement(int e, KeptCase& c, Matrix& f) {
    const KeptElement& kept = kept_[static_cast<size_t>(e)];
    const double* start = c.values + kept.startDof;
    const double* end = c.values + kept.endDof;
    const double u[6] = {start[0], start[1], start[2], end[0], end[1], end[2]};
    // Matrix::Multiply's sums in its order.
    double p[6];
    for (int i = 0; i < 6; ++i) {
        double sum = 0.0;
        for (int k = 0; k < 6; ++k)
            sum += kept.stiffness[6 * i + k] * u[k];
        p[i] = sum;
    }
    // Subtracting +0 changes nothing.
    if (!c.loads->AllZero()) {
        // Not in the table: from the load records of the active load case.
        const ElementLoads* loads = c.loads->Find(e);
        if (!loads)
            ElementLoadVector(e, f);
        const double* vector = loads ? loads->vector : f.data;
        for (int i = 0; i < 6; ++i)
            p[i] = p[i] - vector[i];
    }
    double* startForce = c.nodeForces + kept.startDof;
    double* endForce = c.nodeForces + kept.endDof;
    for (int k = 0; k < kComponents; ++k) {
        startForce[k] += p[k];
        endForce[k] += p[3 + k];
    }
    TransformVector(p, kept.frame.c, kept.frame.s);
    double forces[6];
    SetSectionForces(p, forces);
    MeasureElement(forces, c.scales.force, c.scales.moment, c.scales.finite);
    c.forces->insert(c.forces->end(), std::begin(forces), std::end(forces));
}

void SolutionsCont::ShowKeptForces(const std::vector<double>& forces) {
    for (int e = 0; e < elements.Count() && 6 * static_cast<size_t>(e) + 5 < forces.size(); ++e)
        std::copy_n(forces.begin() + 6 * e, 6, elements[e].forces);
}

ElementFrame SolutionsCont::Frame(int element) const {
    if (!kept_.empty())
        return kept_[static_cast<size_t>(element)].frame;
    return FrameOf(Ends(elements[element]));
}

void SolutionsCont::KeepElementData() {
    std::vector<KeptElement>().swap(kept_);
    largestFlexibility_ = 0.0;
    framesProper_ = false;
    if (elements.Count() > kMaxKeptElements)
        return;
    bool proper = true;
    std::vector<KeptElement> kept(static_cast<size_t>(elements.Count()));
    Matrix Ke(6, 6);
    double largest = 0.0;
    bool finite = true;
    for (int e = 0; e < elements.Count(); ++e) {
        const SolElement& element = elements[e];
        const ElementEnds ends = Ends(element);
        KeptElement& k = kept[static_cast<size_t>(e)];
        Stiffness(element, ends, input_, Ke);
        std::copy_n(Ke.data, 36, k.stiffness);
        k.frame = FrameOf(ends);
        proper = proper && k.frame.length != 0.0 && !std::isnan(k.frame.length) &&
                 std::isfinite(k.frame.c) && std::isfinite(k.frame.s);
        const MatRec& section = CrossSection(element, input_);
        const double L = LengthOf(ends);
        k.bendingFlexibility = L / (6.0 * (section.Iy * section.E / L));
        finite = finite && std::isfinite(k.bendingFlexibility);
        largest = std::fmax(largest, std::fabs(k.bendingFlexibility));
    }
    // Not finite: the bound of UnloadedSpansFinite never holds.
    largestFlexibility_ = finite ? largest : NAN;
    framesProper_ = proper;
    kept_ = std::move(kept);
    KeepElementDofs();
}

void SolutionsCont::KeepElementDofs() {
    for (size_t e = 0; e < kept_.size(); ++e) {
        const SolElement& element = elements[static_cast<int>(e)];
        kept_[e].startDof = nodes[element.startNode].firstDof;
        kept_[e].endDof = nodes[element.endNode].firstDof;
    }
}

namespace {

// The hinges of the model grouped into chains: the hinges of one beam that
// share analysis nodes (two hinge pairs at ξ = 0 share a middle node).
class HingeChains {
public:
    HingeChains(InputModel& input, int nodeCount) {
        HingesClass& table = input.hinges;
        if (table.ValidCount() > 0)
            hingesAt_.resize(static_cast<size_t>(nodeCount));
        for (int k = 0; k < table.ValidCount(); ++k) {
            const HingeRec* hinge = table.ValidRow(k);
            // Hinges the division did not reach take no part.
            if (hinge->sideA < 0 || hinge->sideB < 0)
                continue;
            const int index = static_cast<int>(hinges_.size());
            hinges_.push_back(hinge);
            hingesAt_[static_cast<size_t>(hinge->sideA)].push_back(index);
            hingesAt_[static_cast<size_t>(hinge->sideB)].push_back(index);
        }
        visited_.assign(hinges_.size(), 0);
    }

    // The nodes of the next chain not yet taken, each once; empty when all
    // chains have been taken.
    std::vector<int> NextChain() {
        std::vector<int> nodes;
        while (next_ < hinges_.size() && visited_[next_])
            ++next_;
        if (next_ == hinges_.size())
            return nodes;
        const int beam = hinges_[next_]->beam;
        Take(static_cast<int>(next_), nodes);
        // Breadth first over the hinges of the same beam at the chain's nodes.
        for (size_t i = 0; i < nodes.size(); ++i)
            for (int h : hingesAt_[static_cast<size_t>(nodes[i])])
                if (!visited_[static_cast<size_t>(h)] &&
                    hinges_[static_cast<size_t>(h)]->beam == beam)
                    Take(h, nodes);
        return nodes;
    }

private:
    void Take(int h, std::vector<int>& nodes) {
        visited_[static_cast<size_t>(h)] = 1;
        for (int node :
             {hinges_[static_cast<size_t>(h)]->sideA, hinges_[static_cast<size_t>(h)]->sideB})
            if (std::find(nodes.begin(), nodes.end(), node) == nodes.end())
                nodes.push_back(node);
    }

    std::vector<const HingeRec*> hinges_;    // valid hinges in the model, row order
    std::vector<std::vector<int>> hingesAt_; // per analysis node, the hinges there
    std::vector<char> visited_;
    size_t next_ = 0;
};

} // namespace

// The node forces of all nodes of a hinge chain (a single hinge: its two
// sides) are summed and every node of the chain takes the sum, so that a
// beam attached through hinges at its end counts in the reaction of that
// node, and so does a load on a node inside the chain.
void SolutionsCont::SumHingeForces() {
    HingeChains chains(input_, nodes.Count());
    for (std::vector<int> chain = chains.NextChain(); !chain.empty(); chain = chains.NextChain()) {
        for (int c = 0; c < kComponents; ++c) {
            double sum = 0.0;
            for (int node : chain)
                sum += dofs.Dof(nodes[node].firstDof + c).nodeForce;
            for (int node : chain)
                dofs.Dof(nodes[node].firstDof + c).nodeForce = sum;
        }
    }
}

double SolutionsCont::NodeValue(int node, int component) const {
    return Settled(dofs.Dof(nodes[node].firstDof + component).solvedValue,
                   component == kWz ? scales_.deflection : scales_.rotation);
}

double SolutionsCont::NodeForce(int node, int component) const {
    return Settled(dofs.Dof(nodes[node].firstDof + component).nodeForce,
                   component == kWz ? scales_.force : scales_.moment);
}

Point3 SolutionsCont::DeformedNode(int node, double scale) const {
    return Point3{nodes[node].x, nodes[node].y, NodeValue(node, kWz) * scale};
}

namespace {

// One temperature record's share of the deflection of the simply supported span.
double TemperatureShare(const BeamRec& beam, const MatRec& section, double dT, double L, double t) {
    return 0.5 * L * L * section.alphaT * dT / beam.thickness * (t - t * t);
}

} // namespace

// The temperature curvature of the simply supported span between the ends.
double SolutionsCont::TemperatureDeflection(int index, double L, double t) const {
    const SolElement& element = elements[index];
    double w = 0.0;
    const ElementLoads* loads = elementLoads_.Find(index);
    if (loads && loads->temperatures <= 1) {
        if (loads->temperatures == 1)
            w += TemperatureShare(BeamOf(element, input_), CrossSection(element, input_),
                                  loads->temperatureDT, L, t);
        return w;
    }
    TempLoadClass& records = input_.tempLoads;
    for (int k = 0; k < records.ValidCount(); ++k) {
        const TempLoadRec& load = *records.ValidRow(k);
        // A zero difference bends nothing, even on a beam without thickness.
        if (ActsOn(load.from, load.to, element) && load.dT != 0.0)
            w += TemperatureShare(BeamOf(element, input_), CrossSection(element, input_), load.dT,
                                  L, t);
    }
    return w;
}

// The chord between the end deflections plus the simply supported span under
// its end moments and span loads: the exact Bernoulli deflection.
double SolutionsCont::Deflection(int index, double t) const {
    const SolElement& element = elements[index];
    const ElementEnds ends = Ends(element);
    const double L = LengthOf(ends);
    const MatRec& section = CrossSection(element, input_);
    const double EI = section.Iy * section.E;
    const double tb = 1.0 - t;
    const double w1 = NodeValue(element.startNode, kWz);
    const double w2 = NodeValue(element.endNode, kWz);
    const double g = L / (6.0 * (EI / L));
    double w =
        tb * w1 + t * w2 +
        g * ((tb - tb * tb * tb) * element.forces[kMs] + (t - t * t * t) * element.forces[kMe]);
    const BeamLoadSums sums = LoadSums(index);
    if (sums.any) {
        const double h = L * L * L / (section.Iy * (section.E * 360.0) / L);
        w += h * (tb * sums.qa * (7.0 - 10.0 * tb * tb + 3.0 * tb * tb * tb * tb) +
                  t * sums.qb * (7.0 - 10.0 * t * t + 3.0 * t * t * t * t));
    }
    return Settled(w + TemperatureDeflection(index, L, t), scales_.deflection);
}

namespace {

// The section force of kind 1 … 3 at t from the end forces and the span loads
// (L is read only when there are span loads).
double SectionForceOf(const SolElement& element, const BeamLoadSums& sums, double L, double t,
                      int kind) {
    const double start = element.forces[kind - 1];
    const double end = element.forces[kind + 2];
    double value = (1.0 - t) * start + t * end;
    if (!sums.any)
        return value;
    const double e = 2.0 * t - 1.0;
    if (kind == 1)
        value -= (e * e - 1.0) * (sums.qb - sums.qa) * L / 8.0;
    else if (kind == 2)
        value -= (sums.qb * (e * e * e + 3 * e * e - e - 3) -
                  sums.qa * (e * e * e - 3 * e * e - e + 3)) *
                 L * L * (1.0 / 48.0);
    else
        value -= (sums.mb - sums.ma) * L / 2.0 * (t * t - t);
    return value;
}

} // namespace

double SolutionsCont::SectionForce(int index, double t, int kind) const {
    const SolElement& element = elements[index];
    if (kind < 1 || kind > 3)
        return 0.0;
    const BeamLoadSums sums = LoadSums(index);
    const double L = sums.any ? LengthOf(Ends(element)) : 0.0;
    return Settled(SectionForceOf(element, sums, L, t, kind), ForceScale(kind));
}

Point3 SolutionsCont::DeformedPoint(int index, double t, double scale) const {
    const SolElement& element = elements[index];
    const AnalysisNode& a = nodes[element.startNode];
    const AnalysisNode& b = nodes[element.endNode];
    return Point3{(1.0 - t) * a.x + t * b.x, (1.0 - t) * a.y + t * b.y,
                  Deflection(index, t) * scale};
}

int SolutionsCont::ElementAt(int beam, double xi) const {
    if (input_.beams.IsRowUsed(beam - 1)) {
        for (int e = input_.beams.RowRecord(beam - 1)->firstElement; e >= 0;
             e = elements[e].nextElement)
            if (elements[e].xiStart <= xi && xi <= elements[e].xiEnd)
                return e;
    }
    throw BalkorError("Stab nicht gefunden");
}

namespace {

constexpr int kExtremaSamples = 101; // t = 0, 0.01, … 1

// SectionForceOf at the samples t = i × 0.01 of one element, term by term as
// it computes them (the same values to the bit), in loops without branches
// that the compiler turns into vector code.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic")))
#endif
void SampleSectionForce(const SolElement& element, const BeamLoadSums& sums, double L, int kind,
                        double* v) {
    const double start = element.forces[kind - 1];
    const double end = element.forces[kind + 2];
    for (int i = 0; i < kExtremaSamples; ++i) {
        const double t = i * 0.01;
        v[i] = (1.0 - t) * start + t * end;
    }
    if (!sums.any)
        return;
    const double qa = sums.qa, qb = sums.qb;
    if (kind == 1) {
        for (int i = 0; i < kExtremaSamples; ++i) {
            const double e = 2.0 * (i * 0.01) - 1.0;
            v[i] -= (e * e - 1.0) * (qb - qa) * L / 8.0;
        }
    } else if (kind == 2) {
        for (int i = 0; i < kExtremaSamples; ++i) {
            const double e = 2.0 * (i * 0.01) - 1.0;
            v[i] -= (qb * (e * e * e + 3 * e * e - e - 3) - qa * (e * e * e - 3 * e * e - e + 3)) *
                    L * L * (1.0 / 48.0);
        }
    } else {
        for (int i = 0; i < kExtremaSamples; ++i) {
            const double t = i * 0.01;
            v[i] -= (sums.mb - sums.ma) * L / 2.0 * (t * t - t);
        }
    }
}

} // namespace

// The elements of one sample run of the extrema search: from first to last
// along the chain, covering ξ from a to b.
struct SampleSegment {
    int first;
    int last;
    double a;
    double b;
};

namespace {

// The elements of a beam's chain grouped as the division that the shown
// results belong to: every element alone, or, for a load case of a run of
// several, the runs between the nodes where that load case alone divides
// the beam (the others' point loads do not split its samples).
std::vector<SampleSegment> SampleSegments(const ElementContainer& elements, int firstElement,
                                          const std::vector<char>& divisionNodes) {
    std::vector<SampleSegment> segments;
    for (int e = firstElement; e >= 0; e = elements[e].nextElement) {
        SampleSegment segment{e, e, elements[e].xiStart, elements[e].xiEnd};
        while (!divisionNodes.empty()) {
            const SolElement& last = elements[segment.last];
            const int next = last.nextElement;
            if (next < 0 || elements[next].startNode != last.endNode ||
                divisionNodes[static_cast<size_t>(last.endNode)])
                break;
            segment.last = next;
            segment.b = elements[next].xiEnd;
        }
        segments.push_back(segment);
        e = segment.last;
    }
    return segments;
}

} // namespace

// The section force at the samples of a segment of several elements: each
// sample on the element that holds it.
void SolutionsCont::SampleAlongSegment(const SampleSegment& segment, int kind, double* v) const {
    int e = segment.first;
    for (int i = 0; i < kExtremaSamples; ++i) {
        const double xi = segment.a + (i * 0.01) * (segment.b - segment.a);
        while (e != segment.last && elements[e].xiEnd < xi)
            e = elements[e].nextElement;
        const SolElement& element = elements[e];
        const BeamLoadSums sums = LoadSums(e);
        const double L = sums.any ? LengthOf(Ends(element)) : 0.0;
        const double t = (xi - element.xiStart) / (element.xiEnd - element.xiStart);
        v[i] = SectionForceOf(element, sums, L, std::fmin(std::fmax(t, 0.0), 1.0), kind);
    }
}

BeamExtremum SolutionsCont::BeamExtrema(int beam, int kind) const {
    BeamExtremum result{-DBL_MAX, 0.0, DBL_MAX, 0.0};
    if (!input_.beams.IsRowUsed(beam - 1))
        return result;
    const bool known = kind >= 1 && kind <= 3; // other kinds are 0 everywhere
    double v[kExtremaSamples] = {};
    const double scale = known ? ForceScale(kind) : 0.0;
    const double tie = kResultNoise * scale;
    const std::vector<SampleSegment> segments =
        SampleSegments(elements, input_.beams.RowRecord(beam - 1)->firstElement, divisionNodes_);
    // The segment and sample of each extreme; the first occurrence wins.
    int maxSegment = -1, maxSample = 0, minSegment = -1, minSample = 0;
    for (size_t g = 0; g < segments.size(); ++g) {
        const SampleSegment& segment = segments[g];
        if (known && segment.first != segment.last) {
            SampleAlongSegment(segment, kind, v);
        } else if (known) {
            const SolElement& element = elements[segment.first];
            // The loads and the length once per element, not for each of its 101 points.
            const BeamLoadSums sums = LoadSums(segment.first);
            const double L = sums.any ? LengthOf(Ends(element)) : 0.0;
            SampleSectionForce(element, sums, L, kind, v);
        }
        for (int i = 0; i < kExtremaSamples; ++i) {
            v[i] = Settled(v[i], scale);
            // Values equal but for rounding: the first one is the extreme.
            if (v[i] < result.min - tie) {
                result.min = v[i];
                minSegment = static_cast<int>(g);
                minSample = i;
            }
            if (v[i] > result.max + tie) {
                result.max = v[i];
                maxSegment = static_cast<int>(g);
                maxSample = i;
            }
        }
    }
    auto position = [&](int g, int i) {
        const SampleSegment& segment = segments[static_cast<size_t>(g)];
        return segment.a + (i * 0.01) * (segment.b - segment.a);
    };
    result.found = minSegment >= 0 && maxSegment >= 0;
    if (minSegment >= 0)
        result.xiMin = position(minSegment, minSample);
    if (maxSegment >= 0)
        result.xiMax = position(maxSegment, maxSample);
    return result;
}

double SolutionsCont::MaxDeflection() const {
    double result = 0.0;
    for (int e = 0; e < elements.Count(); ++e)
        for (double t : kMaxSamples)
            result = std::fmax(result, std::fabs(Deflection(e, t)));
    return result;
}

double SolutionsCont::MaxSectionForce(int kind) const {
    double result = 0.0;
    for (int e = 0; e < elements.Count(); ++e)
        for (double t : kMaxSamples)
            result = std::fmax(result, std::fabs(SectionForce(e, t, kind)));
    return result;
}

double SolutionsCont::MaxNodeForce() const {
    double result = 0.0;
    for (int k = 0; k < nodes.Count(); ++k)
        result = std::fmax(result, std::fabs(NodeForce(k, kWz)));
    return result;
}

double SolutionsCont::MaxNodeMoment() const {
    double result = 0.0;
    for (int k = 0; k < nodes.Count(); ++k)
        result = std::fmax(result,
                           std::fmax(std::fabs(NodeForce(k, kRx)), std::fabs(NodeForce(k, kRy))));
    return result;
}
