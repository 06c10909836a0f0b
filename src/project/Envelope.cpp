#include "project/Envelope.h"

#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "protocols/ResultValues.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

EnvelopeLayout MakeEnvelopeLayout(InputModel& input) {
    EnvelopeLayout layout;
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        const long n = TableIntervals(beam.intervals);
        layout.beams.push_back({input.beams.IndexOf(&beam) + 1, n, layout.beamPoints});
        layout.beamPoints += static_cast<size_t>(n) + 1;
    }
    for (int k = 0; k < input.nodes.ValidCount(); ++k) {
        const NodeRec& node = *input.nodes.ValidRow(k);
        if ((node.fixZ || node.fixRx || node.fixRy) && node.calcNode >= 0)
            layout.reactionNodes.push_back(input.nodes.IndexOf(&node) + 1);
    }
    return layout;
}

std::vector<double> EnvelopeValues(InputModel& input, const SolutionsCont& s,
                                   const EnvelopeLayout& layout) {
    std::vector<double> values;
    values.reserve(layout.beamPoints * kBeamQuantities +
                   layout.reactionNodes.size() * kReactionQuantities);
    for (const EnvelopeLayout::Beam& beam : layout.beams)
        for (long m = 0; m <= beam.n; ++m) {
            const double xi = EvaluationPoint(m, beam.n);
            values.push_back(DeflectionOnBeam(s, beam.beam, xi));
            for (int kind = 1; kind <= kSectionForceKinds; ++kind)
                values.push_back(SectionForceOnBeam(s, beam.beam, xi, kind));
        }
    for (int number : layout.reactionNodes) {
        const int node = input.nodes.RowRecord(number - 1)->calcNode;
        for (int c = 0; c < kReactionQuantities; ++c)
            values.push_back(s.NodeForce(node, c));
    }
    return values;
}

namespace {

using Arrangement = std::vector<std::pair<EnvelopeMember, double>>;

struct ArrangementKey {
    std::vector<std::pair<int, double>> terms; // member slot, factor
    bool operator==(const ArrangementKey& other) const { return terms == other.terms; }
};

struct ArrangementHash {
    size_t operator()(const ArrangementKey& key) const {
        uint64_t h = 1469598103934665603ull;
        for (const auto& [slot, factor] : key.terms) {
            h = (h ^ static_cast<uint64_t>(slot)) * 1099511628211ull;
            h = (h ^ std::bit_cast<uint64_t>(factor)) * 1099511628211ull;
        }
        return static_cast<size_t>(h);
    }
};

class EnvelopeBuilder {
public:
    EnvelopeBuilder(const Envelope& envelope, const std::vector<const MemberValues*>& values,
                    EnvelopeResults& results)
        : envelope_(envelope), values_(values), results_(results) {
        for (const EnvelopeTerm& term : envelope.terms)
            for (const EnvelopeMember& member : term.members)
                members_.push_back(member);
    }

    // Both extremes of quantity q of the place whose quantities start at first.
    void Place(size_t first, int width, int q) {
        results_.max.push_back(Extreme(first, width, q, true));
        results_.min.push_back(Extreme(first, width, q, false));
    }

private:
    EnvelopeExtreme Extreme(size_t first, int width, int q, bool largest) {
        EnvelopeExtreme extreme;
        // One key for all extremes: a new one for each was an allocation
        // per extreme.
        ArrangementKey& key = key_;
        key.terms.clear();
        size_t slot = 0;
        for (const EnvelopeTerm& term : envelope_.terms) {
            const TermChoice best =
                ChooseInTerm(term, values_, slot, first + static_cast<size_t>(q), largest);
            if (!best.any)
                continue;
            extreme.value += best.value;
            for (int c = 0; c < width; ++c)
                extreme.concurrent[static_cast<size_t>(c)] +=
                    best.factor * (*values_[best.slot])[first + static_cast<size_t>(c)];
            if (best.factor != 0.0)
                key.terms.push_back({static_cast<int>(best.slot), best.factor});
        }
        extreme.arrangement = Intern(key);
        return extreme;
    }

    int Intern(const ArrangementKey& key) {
        // Neighbouring points mostly share their arrangement.
        if (last_ >= 0 && key == lastKey_)
            return last_;
        const auto [it, added] = ids_.try_emplace(key, static_cast<int>(ids_.size()));
        lastKey_ = key;
        last_ = it->second;
        if (added) {
            Arrangement arrangement;
            for (const auto& [slot, factor] : key.terms)
                arrangement.push_back({members_[static_cast<size_t>(slot)], factor});
            results_.arrangements.push_back(arrangement);
        }
        return it->second;
    }

    const Envelope& envelope_;
    const std::vector<const MemberValues*>& values_;
    EnvelopeResults& results_;
    std::vector<EnvelopeMember> members_;                          // by slot
    std::unordered_map<ArrangementKey, int, ArrangementHash> ids_; // numbered as first met
    ArrangementKey key_, lastKey_;
    int last_ = -1; // the id of lastKey_
};

} // namespace

EnvelopeResults ComputeEnvelopeFrom(const Envelope& envelope, const EnvelopeLayout& layout,
                                    const std::vector<const MemberValues*>& memberValues) {
    EnvelopeResults results;
    results.layout = layout;
    EnvelopeBuilder builder(envelope, memberValues, results);
    for (size_t p = 0; p < layout.beamPoints; ++p)
        for (int q = 0; q < kBeamQuantities; ++q)
            builder.Place(p * kBeamQuantities, kBeamQuantities, q);
    const size_t reactions = layout.beamPoints * kBeamQuantities;
    for (size_t r = 0; r < layout.reactionNodes.size(); ++r)
        for (int q = 0; q < kReactionQuantities; ++q)
            builder.Place(reactions + r * kReactionQuantities, kReactionQuantities, q);
    return results;
}

TermChoice ChooseInTerm(const EnvelopeTerm& term, const std::vector<const MemberValues*>& values,
                        size_t& slot, size_t at, bool largest) {
    TermChoice best;
    best.slot = slot;
    for (size_t m = 0; m < term.members.size(); ++m, ++slot) {
        const double r = (*values[slot])[at];
        // The favourable factor first: an equal value keeps it.
        for (double factor : {term.inf, term.sup}) {
            const double value = factor * r;
            if (!best.any || (largest ? value > best.value : value < best.value))
                best = {value, factor, slot, true};
        }
    }
    return best;
}
