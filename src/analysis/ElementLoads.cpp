#include "analysis/ElementLoads.h"

#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The elements of every beam number, in element order.
class ElementsByBeam {
public:
    ElementsByBeam(const ElementContainer& elements, int beamCount)
        : start_(static_cast<size_t>(beamCount) + 2, 0) {
        for (int e = 0; e < elements.Count(); ++e)
            if (InRange(elements[e].beamNumber))
                ++start_[elements[e].beamNumber + 1];
        for (size_t b = 1; b < start_.size(); ++b)
            start_[b] += start_[b - 1];
        list_.resize(start_.back());
        std::vector<int32_t> next(start_.begin(), start_.end() - 1);
        for (int e = 0; e < elements.Count(); ++e)
            if (InRange(elements[e].beamNumber))
                list_[next[elements[e].beamNumber]++] = e;
    }

    // Calls visit(e) for every element of the beams from ... to, by beam.
    template <class Visit> void ForRange(int from, int to, Visit visit) const {
        const int first = std::max(from, 1);
        const int last = std::min<long>(to, static_cast<long>(start_.size()) - 2);
        for (int b = first; b <= last; ++b)
            for (int32_t i = start_[b]; i < start_[b + 1]; ++i)
                visit(list_[i]);
    }

private:
    bool InRange(int beam) const {
        return beam >= 1 && static_cast<size_t>(beam) + 1 < start_.size();
    }

    std::vector<int32_t> start_; // by beam number; start_[b + 1] ends beam b
    std::vector<int32_t> list_;
};

// A local vector of zeros (of either sign) on a proper frame: its
// FinishLoadVector turns only zeros, which added to F give +0 throughout.
bool NoLoad(const ElementFrame& frame, const double f[6]) {
    return std::all_of(f, f + 6, [](double v) { return v == 0.0; }) && frame.length != 0.0 &&
           !std::isnan(frame.length) && std::isfinite(frame.c) && std::isfinite(frame.s);
}

} // namespace

const ElementLoads ElementLoadTable::kZero{};

// Records outside, elements inside: every element still receives the records
// in row order, as SumBeamLoads and LoadVector add them.
void ElementLoadTable::Build(const SolutionsCont& solutions) {
    const ElementContainer& elements = solutions.elements;
    InputModel& input = solutions.Input();
    const ElementsByBeam byBeam(elements, input.beams.Count());
    zeroCount_ = 0;
    loads_.assign(static_cast<size_t>(elements.Count()), ElementLoads());

    for (int k = 0; k < input.beamLoads.ValidCount(); ++k) {
        const BeamLoadRec& load = *input.beamLoads.ValidRow(k);
        byBeam.ForRange(load.from, load.to,
                        [&](int e) { AddBeamLoad(load, elements[e], loads_[e].sums); });
    }
    std::vector<ElementFrame> frames(loads_.size());
    for (int e = 0; e < elements.Count(); ++e) {
        ElementLoads& loads = loads_[e];
        MarkAnyLoad(loads.sums);
        frames[e] = solutions.Frame(e);
        if (loads.sums.any)
            AddSpanLoads(loads.sums, frames[e].length, loads.vector);
    }
    for (int k = 0; k < input.tempLoads.ValidCount(); ++k) {
        const TempLoadRec& load = *input.tempLoads.ValidRow(k);
        byBeam.ForRange(load.from, load.to, [&](int e) {
            const SolElement& element = elements[e];
            ElementLoads& loads = loads_[e];
            AddTemperatureMoment(
                TemperatureMoment(load, CrossSection(element, input), BeamOf(element, input)),
                loads.vector);
            if (load.dT != 0.0)
                loads.temperatureSum += load.dT;
            if (load.dT != 0.0 && loads.temperatures++ == 0)
                loads.temperatureDT = load.dT;
        });
    }
    Matrix F(6, 1);
    for (int e = 0; e < elements.Count(); ++e) {
        if (NoLoad(frames[e], loads_[e].vector)) {
            std::fill(std::begin(loads_[e].vector), std::end(loads_[e].vector), 0.0);
            continue;
        }
        F.Zero();
        FinishLoadVector(frames[e], loads_[e].vector, F);
        for (int k = 0; k < 6; ++k)
            loads_[e].vector[k] = F[k];
    }
}
