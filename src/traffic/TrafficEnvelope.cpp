#include "traffic/TrafficEnvelope.h"

#include <cmath>
#include <cstdio>
#include <map>

namespace {

class Combiner {
public:
    Combiner(const TrafficExtremes& traffic, const std::string& name, double sup, double inf,
             const Envelope& others, const std::vector<const MemberValues*>& values,
             TrafficEnvelopeResults& results)
        : traffic_(traffic), name_(name), sup_(sup), inf_(inf), others_(others), values_(values),
          results_(results) {
        for (const EnvelopeTerm& term : others.terms)
            for (const EnvelopeMember& member : term.members)
                members_.push_back(member);
    }

    void Place(size_t first, int width, int q) {
        int position = -1;
        results_.values.max.push_back(Extreme(first, width, q, true, position));
        results_.maxPosition.push_back(position);
        results_.values.min.push_back(Extreme(first, width, q, false, position));
        results_.minPosition.push_back(position);
    }

private:
    EnvelopeExtreme Extreme(size_t first, int width, int q, bool largest, int& position) {
        EnvelopeExtreme extreme;
        std::vector<std::pair<EnvelopeMember, double>> terms;
        size_t slot = 0;
        const size_t i = first + static_cast<size_t>(q);
        for (const EnvelopeTerm& term : others_.terms) {
            const TermChoice best = ChooseInTerm(term, values_, slot, i, largest);
            if (!best.any)
                continue;
            extreme.value += best.value;
            for (int c = 0; c < width; ++c)
                extreme.concurrent[static_cast<size_t>(c)] +=
                    best.factor * (*values_[best.slot])[first + static_cast<size_t>(c)];
            if (best.factor != 0.0)
                terms.push_back({members_[best.slot], best.factor});
        }
        std::string text = terms.empty() ? "" : ArrangementText(terms);
        position = -1;
        if (traffic_.positions > 0) {
            double best = 0.0, bestFactor = 0.0;
            bool bestMax = true, any = false;
            for (bool side : {true, false}) {
                const double r = side ? traffic_.max[i] : traffic_.min[i];
                for (double factor : {inf_, sup_}) {
                    const double value = factor * r;
                    if (!any || (largest ? value > best : value < best)) {
                        best = value;
                        bestFactor = factor;
                        bestMax = side;
                        any = true;
                    }
                }
            }
            extreme.value += best;
            const std::vector<double>& concurrent =
                bestMax ? traffic_.maxConcurrent : traffic_.minConcurrent;
            for (int c = 0; c < width; ++c)
                extreme.concurrent[static_cast<size_t>(c)] +=
                    bestFactor * concurrent[i * kBeamQuantities + static_cast<size_t>(c)];
            if (bestFactor != 0.0) {
                position = bestMax ? traffic_.maxAt[i] : traffic_.minAt[i];
                char part[64];
                std::snprintf(part, sizeof part, "%.2f·", std::fabs(bestFactor));
                text += (text.empty() ? (bestFactor < 0 ? "-" : "")
                                      : (bestFactor < 0 ? " - " : " + ")) +
                        std::string(part) + name_ + "[" + std::to_string(position + 1) + "]";
            }
        }
        if (text.empty())
            text = "0";
        const auto [it, added] = ids_.try_emplace(text, static_cast<int>(results_.texts.size()));
        if (added)
            results_.texts.push_back(text);
        extreme.arrangement = it->second;
        return extreme;
    }

    const TrafficExtremes& traffic_;
    const std::string& name_;
    double sup_, inf_;
    const Envelope& others_;
    const std::vector<const MemberValues*>& values_;
    TrafficEnvelopeResults& results_;
    std::vector<EnvelopeMember> members_;
    std::map<std::string, int> ids_;
};

} // namespace

TrafficEnvelopeResults CombineTraffic(const TrafficExtremes& traffic, const std::string& name,
                                      double sup, double inf, const Envelope& others,
                                      const std::vector<const MemberValues*>& otherValues) {
    TrafficEnvelopeResults results;
    const EnvelopeLayout& layout = traffic.layout;
    results.values.layout = layout;
    Combiner combiner(traffic, name, sup, inf, others, otherValues, results);
    for (size_t p = 0; p < layout.beamPoints; ++p)
        for (int q = 0; q < kBeamQuantities; ++q)
            combiner.Place(p * kBeamQuantities, kBeamQuantities, q);
    const size_t reactions = layout.beamPoints * kBeamQuantities;
    for (size_t r = 0; r < layout.reactionNodes.size(); ++r)
        for (int q = 0; q < kReactionQuantities; ++q)
            combiner.Place(reactions + r * kReactionQuantities, kReactionQuantities, q);
    return results;
}
