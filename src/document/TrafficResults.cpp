#include "document/TrafficResults.h"

#include "model/Tables.h"

#include <cmath>

TrafficResults::TrafficResults() = default;
TrafficResults::~TrafficResults() = default;

CalcResult RunTraffic(const TrafficModel& model, InputModel& system, TrafficResults& results) {
    CalcResult failed;
    failed.title = kCalcErrorTitle;
    if (!ResolveVehicle(model.vehicle, results.vehicle, failed.message))
        return failed;
    if (!PlaceVehicle(results.vehicle, model.lanes, model.step, model.bothDirections,
                      results.positions, failed.message))
        return failed;
    results.input = std::make_unique<InputModel>();
    results.input->CopySystemFrom(system);
    results.analysis = std::make_unique<TrafficAnalysis>(*results.input);
    // The status window showed the load cases' run on the same system,
    // which already passed every check and stage this one repeats.
    CalcResult prepared = results.analysis->Prepare(nullptr);
    if (!prepared.ok)
        return prepared;
    results.shares = DistributePositions(DeckMap(*results.input), results.positions);
    results.extremes = results.analysis->Run(results.shares.positions);
    results.alone = CombineTraffic(results.extremes, model.groupName, 1.0, 0.0, Envelope{}, {});
    return prepared;
}

namespace {

template <class Rec> Rec& Append(RecordTable<Rec>& table) {
    Rec& record = *table.RowRecord(table.Count());
    record.flag = kFlagUser;
    table.InvalidateIndex();
    return record;
}

} // namespace

void LoadPosition(const std::vector<LoadShare>& shares, InputModel& input) {
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

int WorstPosition(const TrafficEnvelopeResults& traffic, int quantity) {
    double worst = -1.0;
    int position = -1;
    for (size_t p = 0; p < traffic.values.layout.beamPoints; ++p) {
        const size_t at = p * kBeamQuantities + static_cast<size_t>(quantity);
        for (bool largest : {true, false}) {
            const double v =
                std::fabs(largest ? traffic.values.max[at].value : traffic.values.min[at].value);
            const int pos = largest ? traffic.maxPosition[at] : traffic.minPosition[at];
            if (pos >= 0 && v > worst) {
                worst = v;
                position = pos;
            }
        }
    }
    return position;
}
