#include "traffic/ProjectTraffic.h"

#include "model/Tables.h"
#include "project/ProjectAnalysis.h"

#include <cmath>
#include <map>
#include <utility>

namespace {

// The values of the load cases and combinations an envelope names, each
// evaluated once from the results the project analysis shows for it.
class MemberSource {
public:
    explicit MemberSource(ProjectAnalysis* analysis) : analysis_(analysis) {}
    const MemberValues& Values(const EnvelopeMember& member) {
        const auto key = std::pair{member.combination, member.index};
        auto it = cache_.find(key);
        if (it != cache_.end())
            return it->second;
        if (member.combination)
            analysis_->ShowCombination(member.index);
        else
            analysis_->ShowLoadCase(member.index);
        const EnvelopeLayout layout = MakeEnvelopeLayout(analysis_->Input());
        return cache_[key] = EnvelopeValues(analysis_->Input(), analysis_->Solutions(), layout);
    }

private:
    ProjectAnalysis* analysis_;
    std::map<std::pair<bool, int>, MemberValues> cache_;
};

// The traffic alone, then every envelope of the project with its traffic factors.
std::vector<ProjectTrafficEnvelope> EnvelopesOf(const ProjectModel& project) {
    const std::string& name = project.traffic.groupName;
    std::vector<ProjectTrafficEnvelope> envelopes = {{name, 1.0, 0.0, Envelope{name, {}, {}}, {}}};
    for (const Envelope& envelope : project.envelopes) {
        ProjectTrafficEnvelope e{envelope.name, 0.0, 0.0, envelope, {}};
        const TrafficTermFactors term = std::exchange(e.others.traffic, {});
        if (term.found) {
            e.sup = term.sup;
            e.inf = term.inf;
        }
        envelopes.push_back(std::move(e));
    }
    return envelopes;
}

} // namespace

int ProjectTrafficResults::WorstPosition(int quantity) const {
    if (envelopes.empty())
        return -1;
    const TrafficEnvelopeResults& r = envelopes.front().results;
    double worst = -1.0;
    int position = -1;
    for (size_t p = 0; p < r.values.layout.beamPoints; ++p) {
        const size_t at = p * kBeamQuantities + static_cast<size_t>(quantity);
        for (int sense = 0; sense < 2; ++sense) {
            const double v = std::fabs(sense ? r.values.min[at].value : r.values.max[at].value);
            const int pos = sense ? r.minPosition[at] : r.maxPosition[at];
            if (pos >= 0 && v > worst) {
                worst = v;
                position = pos;
            }
        }
    }
    return position;
}

bool PlaceTraffic(const TrafficModel& traffic, ProjectTrafficResults& results, std::string& error) {
    results = ProjectTrafficResults();
    return ResolveVehicle(traffic.vehicle, results.vehicle, error) &&
           PlaceVehicle(results.vehicle, traffic.lanes, traffic.step, traffic.bothDirections,
                        results.positions, error);
}

void EvaluateTraffic(const ProjectModel& project, InputModel& system, TrafficAnalysis& traffic,
                     ProjectAnalysis* analysis, ProjectTrafficResults& results) {
    results.shares = DistributePositions(DeckMap(system), results.positions);
    results.extremes = traffic.Run(results.shares.positions);
    results.envelopes = EnvelopesOf(project);
    MemberSource members(analysis);
    for (ProjectTrafficEnvelope& envelope : results.envelopes) {
        std::vector<const MemberValues*> values;
        for (const EnvelopeTerm& term : envelope.others.terms)
            for (const EnvelopeMember& member : term.members)
                values.push_back(&members.Values(member));
        envelope.results = CombineTraffic(results.extremes, project.traffic.groupName, envelope.sup,
                                          envelope.inf, envelope.others, values);
    }
}

bool RunProjectTraffic(const ProjectModel& project, InputModel& system, ProjectAnalysis* analysis,
                       ProjectTrafficResults& results, std::string& error, CalcStatus* status) {
    if (!PlaceTraffic(project.traffic, results, error))
        return false;
    TrafficAnalysis traffic(system);
    const CalcResult result = traffic.Prepare(status);
    if (!result.ok) {
        error = result.message.empty() ? result.title : result.message;
        return false;
    }
    EvaluateTraffic(project, system, traffic, analysis, results);
    return true;
}

namespace {

template <class Rec> Rec& Append(RecordTable<Rec>& table) {
    Rec& record = *table.RowRecord(table.Count());
    record.flag = kFlagUser;
    table.InvalidateIndex();
    return record;
}

} // namespace

void AppendPositionLoads(const std::vector<LoadShare>& shares, InputModel& input) {
    for (const LoadShare& share : shares) {
        if (share.node > 0) {
            NodeLoadRec& load = Append(input.nodeLoads);
            load.from = load.to = share.node;
            load.Fz = share.load;
        } else {
            PointLoadRec& load = Append(input.pointLoads);
            load.beam = share.beam;
            load.pos = share.xi;
            load.Q = share.load;
        }
    }
}
